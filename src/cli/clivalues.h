#pragma once

#include "cli/cliarguments.h"

#include <string>
#include <string_view>

// The values of zeph's options that take more than a copy. Each apply* sets
// its field of the request from the value; false with the message otherwise.

// The longest side of a graph's image, in device pixels.
inline constexpr int maxGraphSide = 8000;

// Whether the number text begins with is a finite one: "inf", "nan" and a
// magnitude beyond the largest double are refused, although the entry form
// reads them (as 0, 0 and the largest double) as the design has it. Any
// other text is read as the form reads it ("64.5kg" as 64.5).
bool startsWithFiniteNumber(std::string_view text);

// --period: a number of days or 1m, 3m, 6m, 12m.
bool applyPeriod(CliRequest &request, std::string_view value, std::string &error);
// --size: WxH.
bool applySize(CliRequest &request, std::string_view value, std::string &error);
// --scale: a plain decimal.
bool applyScale(CliRequest &request, std::string_view value, std::string &error);
