#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// Small scanning helpers the readers of run and weight files share.

// The text without leading and trailing blanks (space, tab, CR, LF).
std::string_view trimmed(std::string_view text);

// Reads exactly `count` ASCII digits at pos into value and moves pos past
// them; false, with pos unmoved, when they are not all digits.
bool readDigits(std::string_view text, std::size_t &pos, std::size_t count, int &value);

// A local date and time as seconds counted as Unix time counts; nullopt for
// a day that does not exist or a time past 23:59:59.
std::optional<double> clockSecondsOf(int year, int month, int day, int hour, int minute,
                                     int second);
