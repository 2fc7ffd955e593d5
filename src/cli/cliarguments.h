#pragma once

#include "cli/clivalues.h"
#include "journal/calendardate.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class CliCommand {
    none,
    add,
    show,
    advice,
    graph,
    exportCsv,
    importCsv,
    check,
    importRun,
    // The trends and the monthly summary.
    trend,
    summary,
    // The window's edit log, and another version of the journal.
    recover,
    merge,
};

// What the command line asks for, with every value already checked: a date
// is a real day, a period and a size are in range. The texts of `zeph add`
// stay as typed; the entry form's rules convert them.
struct CliRequest {
    CliCommand command = CliCommand::none;
    bool help = false; // the usage of command (of the program when none)
    bool version = false;
    std::string file; // --file; empty: the current user's journal

    std::optional<Date> date; // add, advice, graph
    std::optional<Date> from; // show, trend, summary
    std::optional<Date> to;   // show, trend, summary

    // add: an option not given leaves that field as the day holds it.
    std::optional<std::string> weight;
    std::optional<std::string> fatPercent;
    std::optional<std::string> jogDistance;
    std::optional<std::string> jogDuration;
    std::optional<std::string> walkDistance;
    std::optional<std::string> walkDuration;
    std::optional<std::string> memo; // UTF-8, display form

    // graph
    std::string output;                     // also export-csv; empty there: standard output
    std::optional<std::int32_t> graphNDays; // --period, as graphNDays holds it
    bool pdf = false;                       // else PNG
    int width = 1200;
    int height = 400;
    double scale = 1; // --scale: device pixels per pixel of the PNG's size

    // advice and graph: the trend line switched on; graph: the goal line.
    bool trend = false;
    bool goal = false;

    // import-csv ("-" is standard input), check
    std::string input;
    bool skipBad = false;

    // import (and its old name import-run): the files, "-" for standard
    // input; the field chosen with --as ("jog", "walk"; empty: each
    // activity's sport decides); --add; which weighing of a day counts
    // (--pick "first", "last", "mean"; empty: the first); --keep-existing;
    // the unit of a Fitbit export (--unit "kg", "lb"; empty: none given).
    std::vector<std::string> inputs;
    std::string runField;
    bool addToDay = false;
    std::string pick;
    bool keepExisting = false;
    std::string weightUnit;

    // recover: --set-aside, --from (a log set aside earlier).
    bool setAside = false;
    std::string logFile;
    // merge: the other version is `input`; --base, --dry-run.
    std::string base;
    bool dryRun = false;
};

struct CliParse {
    std::optional<CliRequest> request;
    std::string error; // UTF-8, when there is no request
};

// The arguments after the program name.
CliParse parseCommandLine(const std::vector<std::string> &arguments);

// Sets an option's field of the request from its value; false with the
// message otherwise.
using CliOptionHandler =
    std::function<bool(CliRequest &, std::string_view value, std::string &error)>;

// One option of zeph: the parser reads it and --help shows it from here, so
// the two cannot differ.
struct CliOption {
    std::string_view name;            // "--date"
    std::string_view value;           // as --help names it ("YYYY-MM-DD"); empty: takes none
    std::vector<CliCommand> commands; // that take it; empty: every command, and zeph without one
    CliOptionHandler apply;
    std::string_view purpose = {}; // zeph --help lists it on a line of its own, with this
    std::string_view alias = {};   // another name for it ("-h")
};
const std::vector<CliOption> &cliOptions();

// One command of zeph, as the parser knows it and --help shows it.
struct CliCommandInfo {
    std::string_view name;
    CliCommand command;
    std::string_view operandsBefore; // what its synopsis names before the options
    std::string_view operandsAfter;  // and after them
    std::string_view purpose;        // its line in zeph --help
    std::string_view help;           // its --help, under the synopsis
};
// In the order zeph --help lists them.
const std::vector<CliCommandInfo> &cliCommands();

// The usage text of a command, or of the whole program for none: the
// synopsis from the tables above, then the command's own text.
std::string usageText(CliCommand command);
