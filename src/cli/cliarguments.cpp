#include "cli/cliarguments.h"

#include "cli/clitexts.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

using clitext::fillText;

CliOptionHandler dateInto(std::optional<Date> CliRequest::*field, std::string_view option)
{
    return [field, option](CliRequest &request, std::string_view value, std::string &error) {
        request.*field = parseCommandLineDate(value, option, error);
        return (request.*field).has_value();
    };
}

CliOptionHandler flagInto(bool CliRequest::*field)
{
    return [field](CliRequest &request, std::string_view, std::string &) {
        request.*field = true;
        return true;
    };
}

CliOptionHandler textInto(std::optional<std::string> CliRequest::*field)
{
    return [field](CliRequest &request, std::string_view value, std::string &) {
        request.*field = std::string(value);
        return true;
    };
}

CliOptionHandler numberInto(std::optional<std::string> CliRequest::*field, std::string_view option)
{
    return [field, option](CliRequest &request, std::string_view value, std::string &error) {
        if (!startsWithFiniteNumber(value)) {
            error = fillText(clitext::notFiniteNumber, {option, value});
            return false;
        }
        if (!isWholeNumberOrEmpty(value)) {
            error = fillText(clitext::notANumber, {option, value});
            return false;
        }
        request.*field = std::string(value);
        return true;
    };
}

// One of a few words, or the message (the value as %1).
CliOptionHandler oneOf(std::string CliRequest::*field, std::vector<std::string_view> words,
                       std::string_view message)
{
    return
        [field, words, message](CliRequest &request, std::string_view value, std::string &error) {
            if (std::find(words.begin(), words.end(), value) == words.end()) {
                error = fillText(message, {value});
                return false;
            }
            request.*field = std::string(value);
            return true;
        };
}

// The value as `parse` reads it, or its message.
template <typename Value, typename Field>
CliOptionHandler parsedInto(Field CliRequest::*field,
                            std::optional<Value> (*parse)(std::string_view, std::string &))
{
    return [field, parse](CliRequest &request, std::string_view value, std::string &error) {
        const std::optional<Value> parsed = parse(value, error);
        if (parsed) {
            request.*field = *parsed;
        }
        return parsed.has_value();
    };
}

} // namespace

const std::vector<CliCommandInfo> &cliCommands()
{
    using enum CliCommand;
    static const std::vector<CliCommandInfo> commands{
        {"add", add, {}, {}, clitext::addPurpose, clitext::addHelp},
        {"show", show, {}, {}, clitext::showPurpose, clitext::showHelp},
        {"advice", advice, {}, {}, clitext::advicePurpose, clitext::adviceHelp},
        {"graph", graph, "OUT.pdf|OUT.png", {}, clitext::graphPurpose, clitext::graphHelp},
        {"export-csv", exportCsv, {}, "[OUT]", clitext::exportPurpose, clitext::exportHelp},
        {"import-csv", importCsv, {}, "IN", clitext::importPurpose, clitext::importHelp},
        {"import", importRun, "FILE...", {}, clitext::importRunPurpose, clitext::importRunHelp},
        {"import-run", importRun, "FILE...", {}, clitext::importRunSynonym, clitext::importRunHelp},
        {"check", check, {}, "[FILE]", clitext::checkPurpose, clitext::checkHelp},
        {"trend", trend, {}, {}, clitext::trendPurpose, clitext::trendHelp},
        {"summary", summary, {}, {}, clitext::summaryPurpose, clitext::summaryHelp},
        {"recover", recover, {}, {}, clitext::recoverPurpose, clitext::recoverHelp},
        {"merge", merge, "OTHER", {}, clitext::mergePurpose, clitext::mergeHelp},
    };
    return commands;
}

const std::vector<CliOption> &cliOptions()
{
    using enum CliCommand;
    static const std::vector<CliOption> options{
        {"--file",
         "PATH",
         {},
         [](CliRequest &request, std::string_view value, std::string &) {
             request.file = std::string(value);
             return true;
         }},
        {"--help", {}, {}, flagInto(&CliRequest::help), clitext::helpPurpose, "-h"},
        {"--version", {}, {none}, flagInto(&CliRequest::version), clitext::versionPurpose},
        {"--date", "YYYY-MM-DD", {add, advice, graph}, dateInto(&CliRequest::date, "--date")},
        {"--from", "YYYY-MM-DD", {show, trend, summary}, dateInto(&CliRequest::from, "--from")},
        {"--to", "YYYY-MM-DD", {show, trend, summary}, dateInto(&CliRequest::to, "--to")},
        {"--weight", "N", {add}, numberInto(&CliRequest::weight, "--weight")},
        {"--fat", "N", {add}, numberInto(&CliRequest::fatPercent, "--fat")},
        {"--jog-km", "N", {add}, numberInto(&CliRequest::jogDistance, "--jog-km")},
        {"--jog-time", "T", {add}, textInto(&CliRequest::jogDuration)},
        {"--walk-km", "N", {add}, numberInto(&CliRequest::walkDistance, "--walk-km")},
        {"--walk-time", "T", {add}, textInto(&CliRequest::walkDuration)},
        {"--memo", "TEXT", {add}, textInto(&CliRequest::memo)},
        {"--period", "N|1m|3m|6m|12m", {graph}, parsedInto(&CliRequest::graphNDays, parsePeriod)},
        {"--size",
         "WxH",
         {graph},
         [](CliRequest &request, std::string_view value, std::string &error) {
             const std::optional<GraphSize> size = parseGraphSize(value, error);
             if (size) {
                 request.width = size->width;
                 request.height = size->height;
             }
             return size.has_value();
         }},
        {"--scale", "R", {graph}, parsedInto(&CliRequest::scale, parseGraphScale)},
        {"--trend", {}, {advice, graph}, flagInto(&CliRequest::trend)},
        {"--goal", {}, {graph}, flagInto(&CliRequest::goal)},
        {"--skip-bad",
         {},
         {importCsv},
         [](CliRequest &request, std::string_view, std::string &) {
             request.skipBad = true;
             return true;
         }},
        // import, import-run
        {"--pick",
         "first|last|mean",
         {importRun},
         oneOf(&CliRequest::pick, {"first", "last", "mean"}, clitext::badPick)},
        {"--keep-existing", {}, {importRun}, flagInto(&CliRequest::keepExisting)},
        {"--unit",
         "lb|kg",
         {importRun},
         oneOf(&CliRequest::weightUnit, {"lb", "kg"}, clitext::badUnit)},
        {"--as",
         "jog|walk",
         {importRun},
         [](CliRequest &request, std::string_view value, std::string &error) {
             if (value != "jog" && value != "walk") {
                 error = fillText(clitext::badRunField, {value});
                 return false;
             }
             request.runField = std::string(value);
             return true;
         }},
        {"--add",
         {},
         {importRun},
         [](CliRequest &request, std::string_view, std::string &) {
             request.addToDay = true;
             return true;
         }},
        // recover and merge
        {"--set-aside", {}, {recover}, flagInto(&CliRequest::setAside)},
        {"--from",
         "FILE",
         {recover},
         [](CliRequest &request, std::string_view value, std::string &) {
             request.logFile = std::string(value);
             return true;
         }},
        {"--base",
         "BASE",
         {merge},
         [](CliRequest &request, std::string_view value, std::string &) {
             request.base = std::string(value);
             return true;
         }},
        {"--dry-run", {}, {merge}, flagInto(&CliRequest::dryRun)},
    };
    return options;
}

namespace {

std::string_view commandName(CliCommand command)
{
    for (const CliCommandInfo &info : cliCommands()) {
        if (info.command == command) {
            return info.name;
        }
    }
    return "zeph";
}

// Places the positional arguments of the command; false with the message
// when there are too many or a required one is missing.
bool placePositionals(CliRequest &request, const std::vector<std::string> &positionals,
                      std::string &error)
{
    std::size_t allowed = 0;
    switch (request.command) {
    case CliCommand::graph:
    case CliCommand::exportCsv:
        allowed = 1;
        if (!positionals.empty()) {
            request.output = positionals.front();
        }
        break;
    case CliCommand::importCsv:
    case CliCommand::check:
    case CliCommand::merge:
        allowed = 1;
        if (!positionals.empty()) {
            request.input = positionals.front();
        }
        break;
    case CliCommand::importRun:
        request.inputs = positionals;
        if (request.inputs.empty()) {
            error = clitext::missingImportFiles;
            return false;
        }
        return true;
    default:
        break;
    }
    if (positionals.size() > allowed) {
        error = fillText(clitext::extraArgument, {positionals[allowed]});
        return false;
    }
    if (request.command == CliCommand::graph) {
        if (request.output.empty()) {
            error = clitext::missingOutput;
            return false;
        }
        const auto endsWith = [&](std::string_view suffix) {
            std::string tail = request.output.size() >= suffix.size()
                                   ? request.output.substr(request.output.size() - suffix.size())
                                   : std::string();
            std::transform(tail.begin(), tail.end(), tail.begin(),
                           [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
            return tail == suffix;
        };
        if (endsWith(".pdf")) {
            request.pdf = true;
        } else if (!endsWith(".png")) {
            error = fillText(clitext::badGraphFile, {request.output});
            return false;
        }
        if (request.scale != 1 && request.pdf) {
            error = clitext::scaleOnlyPng;
            return false;
        }
        const long long deviceWidth = std::lround(request.width * request.scale);
        const long long deviceHeight = std::lround(request.height * request.scale);
        if (deviceWidth > maxGraphSide || deviceHeight > maxGraphSide) {
            error = fillText(clitext::scaledTooLarge,
                             {std::to_string(deviceWidth), std::to_string(deviceHeight)});
            return false;
        }
    }
    if (request.command == CliCommand::merge && request.input.empty()) {
        error = clitext::missingOther;
        return false;
    }
    if (request.setAside && !request.logFile.empty()) {
        error = clitext::setAsideWithFrom;
        return false;
    }
    if (request.command == CliCommand::importCsv && request.input.empty()) {
        error = clitext::missingInput;
        return false;
    }
    if (request.from && request.to && *request.to < *request.from) {
        error = clitext::fromAfterTo;
        return false;
    }
    return true;
}

} // namespace

CliParse parseCommandLine(const std::vector<std::string> &arguments)
{
    CliParse parse;
    CliRequest request;
    std::vector<std::string> positionals;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string &argument = arguments[i];
        if (optionsEnded || argument == "-" || !argument.starts_with('-')) {
            if (request.command == CliCommand::none) {
                const auto &commands = cliCommands();
                const auto known =
                    std::find_if(commands.begin(), commands.end(),
                                 [&](const CliCommandInfo &info) { return info.name == argument; });
                if (known == commands.end()) {
                    parse.error = fillText(clitext::unknownCommand, {argument});
                    return parse;
                }
                request.command = known->command;
            } else {
                positionals.push_back(argument);
            }
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        // "--name value" or "--name=value".
        const std::size_t equals = argument.find('=');
        const std::string_view name = std::string_view(argument).substr(0, equals);
        const auto &options = cliOptions();
        const auto rule = std::find_if(options.begin(), options.end(), [&](const CliOption &s) {
            return (s.name == name || (!s.alias.empty() && s.alias == name)) &&
                   (s.commands.empty() || std::find(s.commands.begin(), s.commands.end(),
                                                    request.command) != s.commands.end());
        });
        if (rule == options.end()) {
            parse.error =
                fillText(clitext::unknownOption, {commandName(request.command), argument});
            return parse;
        }
        std::string_view value;
        if (equals != std::string::npos) {
            if (!!rule->value.empty()) {
                parse.error =
                    fillText(clitext::unknownOption, {commandName(request.command), argument});
                return parse;
            }
            value = std::string_view(argument).substr(equals + 1);
        } else if (!rule->value.empty()) {
            if (i + 1 >= arguments.size()) {
                parse.error = fillText(clitext::missingValue, {name});
                return parse;
            }
            value = arguments[++i];
        }
        if (!rule->apply(request, value, parse.error)) {
            return parse;
        }
    }

    if (request.help || request.version) {
        parse.request = std::move(request);
        return parse;
    }
    if (request.command == CliCommand::none) {
        parse.error = clitext::noCommand;
        return parse;
    }
    if (!placePositionals(request, positionals, parse.error)) {
        return parse;
    }
    parse.request = std::move(request);
    return parse;
}
