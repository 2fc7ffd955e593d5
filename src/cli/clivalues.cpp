#include "cli/clivalues.h"

#include "cli/clitexts.h"
#include "journal/numbertext.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <system_error>

namespace {

using clitext::fillText;

constexpr int maxPeriodDays = 3660; // ten years: beyond that a day is no longer a pixel
constexpr int minGraphWidth = 100;
constexpr int minGraphHeight = 50;
// A PNG's device pixel ratio: from an ordinary screen to beyond the densest.
constexpr double minGraphScale = 1;
constexpr double maxGraphScale = 4;

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

} // namespace

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

bool isWholeNumberOrEmpty(std::string_view text)
{
    if (skipCSpace(text, 0) == text.size()) {
        return true;
    }
    std::size_t end = 0;
    leadingDecimalNumber(text, end);
    return end != 0 && skipCSpace(text, end) == text.size();
}

std::optional<std::int32_t> parsePeriod(std::string_view value, std::string &error)
{
    static constexpr std::array<std::pair<std::string_view, std::int32_t>, 4> months{{
        {"1m", -1},
        {"3m", -3},
        {"6m", -6},
        {"12m", -12},
    }};
    for (const auto &[name, nDays] : months) {
        if (value == name) {
            return nDays;
        }
    }
    const std::optional<int> days = smallNumber(value);
    if (!days || *days < 1 || *days > maxPeriodDays) {
        error = fillText(clitext::badPeriod, {value});
        return std::nullopt;
    }
    return *days;
}

std::optional<GraphSize> parseGraphSize(std::string_view value, std::string &error)
{
    const std::size_t x = value.find('x');
    const std::optional<int> width =
        x == std::string_view::npos ? std::nullopt : smallNumber(value.substr(0, x));
    const std::optional<int> height =
        x == std::string_view::npos ? std::nullopt : smallNumber(value.substr(x + 1));
    if (!width || !height || *width < minGraphWidth || *width > maxGraphSide ||
        *height < minGraphHeight || *height > maxGraphSide) {
        error = fillText(clitext::badSize, {value});
        return std::nullopt;
    }
    return GraphSize{*width, *height};
}

std::optional<double> parseGraphScale(std::string_view value, std::string &error)
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
        return std::nullopt;
    }
    return scale;
}

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
