#include "cli/cliarguments.h"

#include "cli/clitexts.h"
#include "journal/numbertext.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <functional>
#include <system_error>

namespace {

using clitext::fillText;

constexpr int maxPeriodDays = 3660; // ten years: beyond that a day is no longer a pixel
constexpr int minGraphWidth = 100;
constexpr int minGraphHeight = 50;
constexpr int maxGraphSide = 8000;
// A PNG's device pixel ratio: from an ordinary screen to beyond the densest.
constexpr double minGraphScale = 1;
constexpr double maxGraphScale = 4;

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

bool allDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), isDigit);
}

std::optional<int> smallNumber(std::string_view text)
{
    int value = 0;
    if (!allDigits(text) || text.size() > 6) {
        return std::nullopt;
    }
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

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

// Whether the number text begins with is a finite one: "inf", "nan" and a
// magnitude beyond the largest double are refused, although the entry form
// reads them (as 0, 0 and the largest double) as the design has it. Any
// other text is read as the form reads it ("64.5kg" as 64.5).
bool startsWithFiniteNumber(std::string_view text)
{
    std::size_t pos = skipCSpace(text, 0);
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        ++pos;
    }
    std::string word(text.substr(pos, 3));
    std::transform(word.begin(), word.end(), word.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    if (word == "inf" || word == "nan") {
        return false;
    }
    std::size_t end = 0;
    const double value = leadingDecimalNumber(text, end);
    if (std::fabs(value) != DBL_MAX) {
        return true;
    }
    // The largest double itself, written out, is finite; a number beyond it
    // is out of range.
    double exact = 0;
    const char *first = text.data() + skipCSpace(text, 0);
    if (*first == '+' || *first == '-') {
        ++first;
    }
    return std::from_chars(first, text.data() + end, exact).ec != std::errc::result_out_of_range;
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

bool applyPeriod(CliRequest &request, std::string_view value, std::string &error)
{
    static constexpr std::array<std::pair<std::string_view, std::int32_t>, 4> months{{
        {"1m", -1},
        {"3m", -3},
        {"6m", -6},
        {"12m", -12},
    }};
    for (const auto &[name, nDays] : months) {
        if (value == name) {
            request.graphNDays = nDays;
            return true;
        }
    }
    const std::optional<int> days = smallNumber(value);
    if (!days || *days < 1 || *days > maxPeriodDays) {
        error = fillText(clitext::badPeriod, {value});
        return false;
    }
    request.graphNDays = *days;
    return true;
}

bool applySize(CliRequest &request, std::string_view value, std::string &error)
{
    const std::size_t x = value.find('x');
    const std::optional<int> width =
        x == std::string_view::npos ? std::nullopt : smallNumber(value.substr(0, x));
    const std::optional<int> height =
        x == std::string_view::npos ? std::nullopt : smallNumber(value.substr(x + 1));
    if (!width || !height || *width < minGraphWidth || *width > maxGraphSide ||
        *height < minGraphHeight || *height > maxGraphSide) {
        error = fillText(clitext::badSize, {value});
        return false;
    }
    request.width = *width;
    request.height = *height;
    return true;
}

bool applyScale(CliRequest &request, std::string_view value, std::string &error)
{
    // Plain decimals only ("1.5"): from_chars takes no sign, blank or exponent
    // here, and nothing may follow the number.
    double scale = 0;
    const char *end = value.data() + value.size();
    const auto [stop, failure] =
        std::from_chars(value.data(), end, scale, std::chars_format::fixed);
    if (value.empty() || !isDigit(value.front()) || failure != std::errc() || stop != end ||
        !(scale >= minGraphScale && scale <= maxGraphScale)) {
        error = fillText(clitext::badScale, {value});
        return false;
    }
    request.scale = scale;
    return true;
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

std::optional<Date> parseIsoDate(std::string_view text, bool &impossible)
{
    impossible = false;
    const bool shaped = text.size() == 10 && allDigits(text.substr(0, 4)) && text[4] == '-' &&
                        allDigits(text.substr(5, 2)) && text[7] == '-' &&
                        allDigits(text.substr(8, 2));
    if (!shaped) {
        return std::nullopt;
    }
    const auto number = [&](std::size_t pos, std::size_t length) {
        int value = 0;
        std::from_chars(text.data() + pos, text.data() + pos + length, value);
        return value;
    };
    const std::optional<Date> date = dateFromYmd(number(0, 4), number(5, 2), number(8, 2));
    impossible = !date;
    return date;
}

std::optional<Date> parseCommandLineDate(std::string_view text, std::string_view option,
                                         std::string &error)
{
    bool impossible = false;
    const std::optional<Date> date = parseIsoDate(text, impossible);
    if (!date) {
        error =
            fillText(impossible ? clitext::impossibleDate : clitext::badDateForm, {option, text});
    }
    return date;
}

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
