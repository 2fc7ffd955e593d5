#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The text forms the settings dialogs accept in their edit fields. They are
// deliberately stricter than the journal reader: a field either holds a whole
// number text or it is refused with a message, never read as "the leading
// digits".

// An optional sign and decimal digits, with optional blanks (space, TAB) on
// either side. nullopt for anything else, the empty text included, and for a
// value that does not fit 32 bits.
std::optional<std::int32_t> parseFieldInteger(std::string_view text);

// A decimal floating-point text (sign, digits, optional point and fraction,
// optional exponent) with optional blanks on either side. Independent of the
// process locale: the point is always ".". A value too large for a double
// reads as an infinity, so that range checks refuse it; one too small reads
// as zero.
std::optional<double> parseFieldNumber(std::string_view text);

// The shortest text that reads back as the same value with 15 significant
// digits ("170.5", "0", "1e+20"); always with ".".
std::string formatFieldNumber(double value);
