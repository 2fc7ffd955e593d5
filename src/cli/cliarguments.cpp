#include "cli/cliarguments.h"

#include "cli/clitexts.h"
#include "cli/clivalues.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

namespace {

using clitext::fillText;

struct CommandName {
    std::string_view name;
    CliCommand command;
};

constexpr std::array<CommandName, 10> commandNames{{
    {"add", CliCommand::add},
    {"show", CliCommand::show},
    {"advice", CliCommand::advice},
    {"graph", CliCommand::graph},
    {"export-csv", CliCommand::exportCsv},
    {"import-csv", CliCommand::importCsv},
    {"check", CliCommand::check},
    {"import-run", CliCommand::importRun},
    {"trend", CliCommand::trend},
    {"summary", CliCommand::summary},
}};

// Sets the option's field from its value; false with the message otherwise.
using OptionHandler = std::function<bool(CliRequest &, std::string_view value, std::string &error)>;

struct OptionRule {
    std::string_view name;
    std::vector<CliCommand> commands; // empty: every command
    bool takesValue;
    OptionHandler apply;
};

OptionHandler dateInto(std::optional<Date> CliRequest::*field, std::string_view option)
{
    return [field, option](CliRequest &request, std::string_view value, std::string &error) {
        request.*field = parseCommandLineDate(value, option, error);
        return (request.*field).has_value();
    };
}

OptionHandler flagInto(bool CliRequest::*field)
{
    return [field](CliRequest &request, std::string_view, std::string &) {
        request.*field = true;
        return true;
    };
}

OptionHandler textInto(std::optional<std::string> CliRequest::*field)
{
    return [field](CliRequest &request, std::string_view value, std::string &) {
        request.*field = std::string(value);
        return true;
    };
}

OptionHandler numberInto(std::optional<std::string> CliRequest::*field, std::string_view option)
{
    return [field, option](CliRequest &request, std::string_view value, std::string &error) {
        if (!startsWithFiniteNumber(value)) {
            error = fillText(clitext::notFiniteNumber, {option, value});
            return false;
        }
        request.*field = std::string(value);
        return true;
    };
}

const std::vector<OptionRule> &optionRules()
{
    using enum CliCommand;
    static const std::vector<OptionRule> rules{
        {"--file",
         {},
         true,
         [](CliRequest &request, std::string_view value, std::string &) {
             request.file = std::string(value);
             return true;
         }},
        {"--date", {add, advice, graph}, true, dateInto(&CliRequest::date, "--date")},
        {"--from", {show, trend, summary}, true, dateInto(&CliRequest::from, "--from")},
        {"--to", {show, trend, summary}, true, dateInto(&CliRequest::to, "--to")},
        {"--weight", {add}, true, numberInto(&CliRequest::weight, "--weight")},
        {"--fat", {add}, true, numberInto(&CliRequest::fatPercent, "--fat")},
        {"--jog-km", {add}, true, numberInto(&CliRequest::jogDistance, "--jog-km")},
        {"--jog-time", {add}, true, textInto(&CliRequest::jogDuration)},
        {"--walk-km", {add}, true, numberInto(&CliRequest::walkDistance, "--walk-km")},
        {"--walk-time", {add}, true, textInto(&CliRequest::walkDuration)},
        {"--memo", {add}, true, textInto(&CliRequest::memo)},
        {"--period", {graph}, true, applyPeriod},
        {"--size", {graph}, true, applySize},
        {"--scale", {graph}, true, applyScale},
        {"--trend", {advice, graph}, false, flagInto(&CliRequest::trend)},
        {"--goal", {graph}, false, flagInto(&CliRequest::goal)},
        {"--skip-bad",
         {importCsv},
         false,
         [](CliRequest &request, std::string_view, std::string &) {
             request.skipBad = true;
             return true;
         }},
        // import-run
        {"--as",
         {importRun},
         true,
         [](CliRequest &request, std::string_view value, std::string &error) {
             if (value != "jog" && value != "walk") {
                 error = fillText(clitext::badRunField, {value});
                 return false;
             }
             request.runField = std::string(value);
             return true;
         }},
        {"--add",
         {importRun},
         false,
         [](CliRequest &request, std::string_view, std::string &) {
             request.addToDay = true;
             return true;
         }},
    };
    return rules;
}

std::string_view commandName(CliCommand command)
{
    for (const auto &[name, value] : commandNames) {
        if (value == command) {
            return name;
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
        allowed = 1;
        if (!positionals.empty()) {
            request.input = positionals.front();
        }
        break;
    case CliCommand::importRun:
        request.inputs = positionals;
        if (request.inputs.empty()) {
            error = clitext::missingRunFiles;
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
                const auto known =
                    std::find_if(commandNames.begin(), commandNames.end(),
                                 [&](const CommandName &name) { return name.name == argument; });
                if (known == commandNames.end()) {
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
        if (argument == "--help" || argument == "-h") {
            request.help = true;
            continue;
        }
        if (argument == "--version" && request.command == CliCommand::none) {
            request.version = true;
            continue;
        }

        // "--name value" or "--name=value".
        const std::size_t equals = argument.find('=');
        const std::string_view name = std::string_view(argument).substr(0, equals);
        const auto &rules = optionRules();
        const auto rule = std::find_if(rules.begin(), rules.end(), [&](const OptionRule &s) {
            return s.name == name &&
                   (s.commands.empty() || std::find(s.commands.begin(), s.commands.end(),
                                                    request.command) != s.commands.end());
        });
        if (rule == rules.end()) {
            parse.error =
                fillText(clitext::unknownOption, {commandName(request.command), argument});
            return parse;
        }
        std::string_view value;
        if (equals != std::string::npos) {
            if (!rule->takesValue) {
                parse.error =
                    fillText(clitext::unknownOption, {commandName(request.command), argument});
                return parse;
            }
            value = std::string_view(argument).substr(equals + 1);
        } else if (rule->takesValue) {
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

std::string usageText(CliCommand command)
{
    switch (command) {
    case CliCommand::add:
        return clitext::addUsage;
    case CliCommand::show:
        return clitext::showUsage;
    case CliCommand::advice:
        return clitext::adviceUsage;
    case CliCommand::graph:
        return clitext::graphUsage;
    case CliCommand::exportCsv:
        return clitext::exportUsage;
    case CliCommand::importCsv:
        return clitext::importUsage;
    case CliCommand::check:
        return clitext::checkUsage;
    case CliCommand::importRun:
        return clitext::importRunUsage;
    case CliCommand::trend:
        return clitext::trendUsage;
    case CliCommand::summary:
        return clitext::summaryUsage;
    case CliCommand::none:
        break;
    }
    return clitext::generalUsage;
}
