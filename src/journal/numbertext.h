#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Room for any text writeGeneralNumber writes, e.g. "-1.79769e+308".
inline constexpr std::size_t generalNumberRoom = 24;

// The C library's white space, fixed here so that no locale can widen it.
constexpr bool isCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The blanks that separate words on a line of the journal and around the
// text of a form field.
constexpr bool isBlankOrTab(char c)
{
    return c == ' ' || c == '\t';
}

// Only ASCII digits count: a full-width digit is a double-byte character.
constexpr bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

inline std::size_t skipCSpace(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && isCSpace(text[pos])) {
        ++pos;
    }
    return pos;
}

// The leading decimal number of text as atof reads it in the C locale
// (white space, optional sign, digits, optional point and fraction, optional
// exponent), but without atof's hex, "inf" and "nan" forms; 0 when there is
// none. A magnitude beyond the double range reads as the largest finite
// double, one below it as 0, and "-0" as 0: no infinity, NaN or negative zero
// comes out.
double leadingDecimalNumber(std::string_view text);

// "%g" in the C locale: six significant digits, trailing zeros dropped. An
// infinity is written as the largest finite double and a NaN as 0, which is
// what leadingDecimalNumber makes of the texts printf would write for them.
// Writes at most generalNumberRoom characters and returns the end.
char *writeGeneralNumber(char *at, double value);
std::string generalNumberText(double value);

// "%0<width>d" (padding '0') or "%<width>d" (padding ' ') in the C locale,
// appended to out: zeros go after a minus sign, as printf puts them, and a
// longer number is not cut. The one padding of the journal, the list, the
// dates, the durations and the advisor.
void appendPaddedInteger(std::string &out, std::int64_t value, std::size_t width = 0,
                         char padding = '0');

// "%<width>.<precision>f" in the C locale, appended to out: right-aligned in
// a field of width characters, a longer text not cut. The process locale
// (which Qt sets from the environment) never turns the point into a comma.
void appendFixedNumber(std::string &out, double value, int precision, std::size_t width);
