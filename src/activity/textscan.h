#pragma once

#include <cstddef>
#include <string_view>

// Small scanning helpers the readers of run and weight files share.

// The text without leading and trailing blanks (space, tab, CR, LF).
std::string_view trimmed(std::string_view text);

// Reads exactly `count` ASCII digits at pos into value and moves pos past
// them; false, with pos unmoved, when they are not all digits.
bool readDigits(std::string_view text, std::size_t &pos, std::size_t count, int &value);
