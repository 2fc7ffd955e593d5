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
// The same, and where the number ends in text: 0 when there is no number, so
// that a word is a number and nothing else exactly when end == its size.
double leadingDecimalNumber(std::string_view text, std::size_t &end);

// Whether a store keeps what word says: word is one decimal number and
// nothing else (value is what leadingDecimalNumber read from it), with at most
// the six significant digits "%g" writes and within the range of a double.
// "64.50", "+7" and "1e2" are kept; "64kg", "nan", "64.1234567" and "1e999"
// are not.
bool storedExactly(std::string_view word, double value);
// The same, with where leadingDecimalNumber found the number to end, so that
// the word is not read twice.
bool storedExactly(std::string_view word, double value, std::size_t numberEnd);

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
