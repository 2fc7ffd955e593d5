#pragma once

#include <optional>
#include <string>
#include <string_view>

// Text forms of the values a day holds. All texts are code-page-932 bytes;
// every scan keeps a double-byte character whole (ソ and 表 have the trail
// byte 0x5C, which must never be taken for a backslash).

// "%d:%02d'%02d\"" from one hour on, "%d'%02d\"" below, empty for 0.
std::string formatDuration(double seconds);
// Hours ':', minutes '\'', seconds '"'; a bare number is minutes. nullopt
// for text that does not follow that grammar or exceeds the 32-bit range.
std::optional<double> parseDuration(std::string_view text);

// "%g", empty for 0.
std::string formatEntryNumber(double value);
// Leading decimal number as atof reads it, 0 when there is none. Never fails.
double parseEntryNumber(std::string_view text);

// Display form (lines separated by CR LF) to the one-line stored form.
std::string toStoredMemo(std::string_view text);
// Stored form back to the display form.
std::string fromStoredMemo(std::string_view text);

// True for a byte that starts a double-byte character in code page 932.
constexpr bool isCp932LeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9f) || (byte >= 0xe0 && byte <= 0xfc);
}

// True for a byte that may follow a lead byte.
constexpr bool isCp932TrailByte(unsigned char byte)
{
    return (byte >= 0x40 && byte <= 0x7e) || (byte >= 0x80 && byte <= 0xfc);
}
