#include "dialogs/formfield.h"

#include "journal/numbertext.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace {

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlankOrTab(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlankOrTab(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::optional<std::int32_t> parseFieldInteger(std::string_view text)
{
    text = trimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    // Accumulate as a magnitude that may reach 2^31 so that INT32_MIN fits.
    std::int64_t magnitude = 0;
    for (const char c : text) {
        if (!isDigit(c))
            return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1)
            return std::nullopt;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<double> parseFieldNumber(std::string_view text)
{
    text = trimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Check the grammar ourselves: from_chars would also take "inf", "nan"
    // and hexadecimal forms, which are not numbers to a user.
    std::size_t pos = 0;
    std::size_t mantissaDigits = 0;
    while (pos < text.size() && isDigit(text[pos])) {
        ++pos;
        ++mantissaDigits;
    }
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        while (pos < text.size() && isDigit(text[pos])) {
            ++pos;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
            ++pos;
        const std::size_t exponentStart = pos;
        while (pos < text.size() && isDigit(text[pos]))
            ++pos;
        if (pos == exponentStart)
            return std::nullopt;
    }
    if (pos != text.size())
        return std::nullopt;

    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Tell overflow from underflow by the decimal magnitude: position of
        // the first significant digit plus the exponent.
        long long magnitude = 0;
        bool seenPoint = false;
        bool seenSignificant = false;
        std::size_t i = 0;
        for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {
            if (text[i] == '.') {
                seenPoint = true;
            } else if (!seenSignificant && text[i] == '0') {
                if (seenPoint)
                    --magnitude;
            } else {
                seenSignificant = true;
                if (!seenPoint)
                    ++magnitude;
            }
        }
        if (i < text.size()) {
            long long exponent = 0;
            std::from_chars(text.data() + i + 1 + (text[i + 1] == '+' ? 1 : 0),
                            text.data() + text.size(), exponent);
            magnitude += exponent;
        }
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::string formatFieldNumber(double value)
{
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}
