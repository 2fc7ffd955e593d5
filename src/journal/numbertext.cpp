// Numbers as text, independent of the C locale: the application sets the
// locale from the environment, and printf and strtod would then write and read
// "65,3" in some of them. The journal file and the entry form share these, so
// a number typed, stored and read back follows one rule.

#include "journal/numbertext.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace {

// 1e0 to 1e22: every one of them is exactly a double.
constexpr std::array<double, 23> exactPowersOfTen{
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22,
};

} // namespace

// The leading decimal number (optional sign, digits, optional point and
// fraction, optional exponent), as atof reads it but independent of the C
// locale and without atof's "inf", "nan" and hex forms; 0 when there is none.
// A magnitude beyond the double range reads as the largest finite double and
// one below it as 0, so that no infinity enters the journal: written back,
// an infinity would be text that reads as 0, and a store and reload would
// change the value twice.
double leadingDecimalNumber(std::string_view text)
{
    std::size_t ignored = 0;
    return leadingDecimalNumber(text, ignored);
}

double leadingDecimalNumber(std::string_view text, std::size_t &end)
{
    end = 0;
    std::size_t pos = skipCSpace(text, 0);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }

    // The journal's own numbers ("65.3", "1800", "0") take one pass: digits,
    // an optional fraction, no exponent, at most 15 digits. Mantissa and
    // power of ten are then exact doubles and one division rounds correctly.
    {
        std::uint64_t mantissa = 0;
        int digits = 0;
        int fractionDigits = 0;
        std::size_t i = pos;
        for (; i < text.size() && isDigit(text[i]); ++i, ++digits) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(text[i] - '0');
        }
        if (i < text.size() && text[i] == '.') {
            for (++i; i < text.size() && isDigit(text[i]); ++i, ++digits, ++fractionDigits) {
                mantissa = mantissa * 10 + static_cast<std::uint64_t>(text[i] - '0');
            }
        }
        const bool exponentFollows = i < text.size() && (text[i] == 'e' || text[i] == 'E');
        if (digits > 0 && digits <= 15 && !exponentFollows) {
            end = i;
            const double magnitude = static_cast<double>(mantissa) /
                                     exactPowersOfTen[static_cast<std::size_t>(fractionDigits)];
            return negative && magnitude != 0 ? -magnitude : magnitude;
        }
    }
    const std::size_t start = pos;
    while (pos < text.size() && isDigit(text[pos])) {
        ++pos;
    }
    const std::size_t integerEnd = pos;
    std::size_t fractionEnd = pos;
    if (pos < text.size() && text[pos] == '.') {
        fractionEnd = pos + 1;
        while (fractionEnd < text.size() && isDigit(text[fractionEnd])) {
            ++fractionEnd;
        }
    }
    const std::size_t fractionDigits = fractionEnd > integerEnd ? fractionEnd - integerEnd - 1 : 0;
    if (integerEnd == start && fractionDigits == 0) {
        return 0;
    }
    pos = fractionEnd;
    end = pos;
    // The exponent counts only when at least one digit follows the 'e'.
    std::int64_t exponent = 0;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t e = pos + 1;
        bool negativeExponent = false;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) {
            negativeExponent = text[e] == '-';
            ++e;
        }
        if (e < text.size() && isDigit(text[e])) {
            for (; e < text.size() && isDigit(text[e]); ++e) {
                exponent = std::min<std::int64_t>(exponent * 10 + (text[e] - '0'), 1'000'000'000);
            }
            exponent = negativeExponent ? -exponent : exponent;
            pos = e;
            end = pos;
        }
    }

    // Nearly every number of a journal ("65.3", "1800", "0") has few digits:
    // the mantissa and the power of ten are then exact doubles and one
    // multiplication or division rounds correctly, as from_chars would.
    const std::size_t mantissaDigits = (integerEnd - start) + fractionDigits;
    if (mantissaDigits <= 15) {
        std::uint64_t mantissa = 0;
        for (std::size_t i = start; i < fractionEnd; ++i) {
            if (text[i] != '.') {
                mantissa = mantissa * 10 + static_cast<std::uint64_t>(text[i] - '0');
            }
        }
        const std::int64_t power = exponent - static_cast<std::int64_t>(fractionDigits);
        if (power >= -22 && power <= 22) {
            const auto value = static_cast<double>(mantissa);
            const double magnitude =
                power < 0 ? value / exactPowersOfTen[static_cast<std::size_t>(-power)]
                          : value * exactPowersOfTen[static_cast<std::size_t>(power)];
            return negative && magnitude != 0 ? -magnitude : magnitude;
        }
    }

    double magnitude = 0;
    const auto [parsedEnd, error] = std::from_chars(text.data() + start, text.data() + pos,
                                                    magnitude, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        // Out of range means far beyond 1e308 or below 1e-323, so where the
        // first significant digit sits tells overflow from underflow.
        std::int64_t scale = exponent;
        std::size_t first = start;
        while (first < fractionEnd && (text[first] == '0' || text[first] == '.')) {
            ++first;
        }
        if (first < integerEnd) {
            scale += static_cast<std::int64_t>(integerEnd - first);
        } else {
            scale -= static_cast<std::int64_t>(first - integerEnd);
        }
        magnitude = scale > 0 ? DBL_MAX : 0.0;
    } else if (error != std::errc{}) {
        magnitude = 0;
    }
    // No negative zero: written back it would be "-0".
    return negative && magnitude != 0 ? -magnitude : magnitude;
}

bool storedExactly(std::string_view word, double value)
{
    std::size_t end = 0;
    leadingDecimalNumber(word, end);
    return storedExactly(word, value, end);
}

bool storedExactly(std::string_view word, double value, std::size_t numberEnd)
{
    if (word.empty()) {
        return true; // a missing word reads as 0 and 0 is written
    }
    if (numberEnd != word.size()) {
        return false;
    }
    // Significant digits: from the first non-zero digit to the last one.
    int significant = 0;
    int pendingZeros = 0;
    bool started = false;
    bool exponent = false;
    for (const char c : word) {
        if (c == 'e' || c == 'E') {
            exponent = true;
            break;
        }
        if (!isDigit(c)) {
            continue;
        }
        if (c == '0') {
            pendingZeros += started ? 1 : 0;
            continue;
        }
        significant += pendingZeros + 1;
        pendingZeros = 0;
        started = true;
    }
    if (significant > 6) {
        return false;
    }
    // Without an exponent a short word can neither overflow nor underflow,
    // and six digits or fewer survive "%g" and the way back.
    constexpr std::size_t shortWord = 24;
    if (!exponent && word.size() <= shortWord) {
        return true;
    }
    if (value == 0) {
        return !started; // a non-zero digit read as 0 is an underflow
    }
    return leadingDecimalNumber(generalNumberText(value)) == value;
}

// "%g": six significant digits, as printf writes them in the C locale. No
// infinity or NaN is written: they would read back as 0. An infinity is
// written as the largest finite value, which is what the reader makes of an
// overflowing number; a NaN as 0.
char *writeGeneralNumber(char *at, double value)
{
    if (std::isnan(value)) {
        value = 0;
    } else if (std::isinf(value)) {
        value = std::signbit(value) ? -DBL_MAX : DBL_MAX;
    }
    if (value == 0) {
        if (std::signbit(value)) {
            *at++ = '-';
        }
        *at++ = '0';
        return at;
    }
    // The usual journal value, 1 <= |value| < 1e6, is written by hand: %g
    // then means fixed notation with 6 - k decimals for k integer digits,
    // trailing zeros dropped. to_chars with a precision is several times
    // slower, and a long journal holds hundreds of thousands of numbers.
    const double magnitude = std::fabs(value);
    if (magnitude >= 1 && magnitude < 1e6) {
        int integerDigits = 1;
        double power = 10;
        while (magnitude >= power) {
            ++integerDigits;
            power *= 10;
        }
        static constexpr double scales[] = {1e5, 1e4, 1e3, 1e2, 1e1, 1e0};
        const double scaled = magnitude * scales[integerDigits - 1];
        const double whole = std::floor(scaled);
        const double fraction = scaled - whole;
        // The product is within 1e-10 of the exact one, so it rounds the same
        // way unless the exact value is almost halfway between two integers;
        // to_chars sees the exact binary value and settles those. A carry to
        // seven digits changes the exponent and is left to it too.
        const bool nearHalf = std::fabs(fraction - 0.5) < 1e-7;
        const auto digits = static_cast<std::uint32_t>(whole) + (fraction > 0.5 ? 1u : 0u);
        if (!nearHalf && digits < 1'000'000u) {
            char text[6];
            std::uint32_t rest = digits;
            for (int i = 5; i >= 0; --i) {
                text[i] = static_cast<char>('0' + rest % 10);
                rest /= 10;
            }
            int last = 5;
            while (last >= integerDigits && text[last] == '0') {
                --last;
            }
            if (value < 0) {
                *at++ = '-';
            }
            at = std::copy(text, text + integerDigits, at);
            if (last >= integerDigits) {
                *at++ = '.';
                at = std::copy(text + integerDigits, text + last + 1, at);
            }
            return at;
        }
    }
    return std::to_chars(at, at + generalNumberRoom, value, std::chars_format::general, 6).ptr;
}

std::string generalNumberText(double value)
{
    char buffer[generalNumberRoom];
    return std::string(buffer, writeGeneralNumber(buffer, value));
}

void appendPaddedInteger(std::string &out, std::int64_t value, std::size_t width, char padding)
{
    char buffer[24];
    char *end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    const auto length = static_cast<std::size_t>(end - buffer);
    if (length < width) {
        if (padding == '0' && value < 0) {
            out.push_back('-');
            out.append(width - length, '0');
            out.append(buffer + 1, end);
            return;
        }
        out.append(width - length, padding);
    }
    out.append(buffer, end);
}

void appendFixedNumber(std::string &out, double value, int precision, std::size_t width)
{
    // Room for the largest double in fixed notation (309 digits), a sign, the
    // point and the decimals the program asks for.
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    const auto length = static_cast<std::size_t>(result.ptr - buffer);
    if (length < width)
        out.append(width - length, ' ');
    out.append(buffer, length);
}
