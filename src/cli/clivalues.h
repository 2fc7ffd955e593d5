#pragma once

#include "journal/calendardate.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The values of zeph's options that take more than a copy. Each parse*
// gives the value, or nullopt with the message (naming the option) in error.

// The longest side of a graph's image, in device pixels.
inline constexpr int maxGraphSide = 8000;

// Strictly YYYY-MM-DD: four, two and two ASCII digits. nullopt for another
// form; a date that is no calendar day sets `impossible` instead.
std::optional<Date> parseIsoDate(std::string_view text, bool &impossible);

// parseIsoDate with the message (naming `option`) on failure.
std::optional<Date> parseCommandLineDate(std::string_view text, std::string_view option,
                                         std::string &error);

// Whether the number text begins with is a finite one: "inf", "nan" and a
// magnitude beyond the largest double are refused, although the entry form
// reads them (as 0, 0 and the largest double).
bool startsWithFiniteNumber(std::string_view text);

// Whether the text is one number and nothing else, spaces around it aside,
// or is empty or blank (an empty value clears the field). "12abc" and
// "abc" are not: the entry form would read them as 12 and 0, which a
// script's typo should not store silently.
bool isWholeNumberOrEmpty(std::string_view text);

// --period: a number of days, or 1m, 3m, 6m, 12m as graphNDays holds months
// (negative).
std::optional<std::int32_t> parsePeriod(std::string_view value, std::string &error);

// --size: WxH, in pixels of the PNG (the PDF's page ignores it).
struct GraphSize {
    int width = 0;
    int height = 0;
};
std::optional<GraphSize> parseGraphSize(std::string_view value, std::string &error);

// --scale: a plain decimal from 1 to 4.
std::optional<double> parseGraphScale(std::string_view value, std::string &error);
