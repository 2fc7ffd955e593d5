#include "text/entrytext.h"

#include "journal/numbertext.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace {

constexpr std::int64_t int32Max = std::numeric_limits<std::int32_t>::max();

constexpr char backslash = '\\';
constexpr char tab = '\t';
constexpr char cr = '\r';
constexpr char lf = '\n';

// Whether text[pos] starts a double-byte character that a scan must copy whole.
bool startsDoubleByte(std::string_view text, std::size_t pos)
{
    return isCp932LeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() &&
           text[pos + 1] != '\0';
}

} // namespace

std::string formatDuration(double seconds)
{
    // NaN only comes from a damaged file; like 0 it stands for nothing entered.
    if (seconds == 0 || std::isnan(seconds)) {
        return {};
    }
    // Clamp before converting: a double outside the int range would make the cast undefined.
    std::int32_t s = 0;
    if (seconds >= 2147483648.0) {
        s = std::numeric_limits<std::int32_t>::max();
    } else if (seconds <= -2147483649.0) {
        s = std::numeric_limits<std::int32_t>::min();
    } else {
        s = static_cast<std::int32_t>(seconds);
    }
    const std::int32_t totalMinutes = s / 60;
    const std::int32_t hours = totalMinutes / 60;
    const std::int32_t minutes = totalMinutes % 60;
    const std::int32_t secs = s % 60;

    // "%d:%02d'%02d\"" or "%d'%02d\"", without printf: a long journal list
    // formats two durations a line.
    std::string text;
    if (hours > 0) {
        appendPaddedInteger(text, hours);
        text.push_back(':');
        appendPaddedInteger(text, minutes, 2);
    } else {
        appendPaddedInteger(text, minutes);
    }
    text.push_back('\'');
    appendPaddedInteger(text, secs, 2);
    text.push_back('"');
    return text;
}

std::optional<double> parseDuration(std::string_view text)
{
    if (text.empty()) {
        return 0.0;
    }
    if (!isDigit(text.front())) {
        return std::nullopt;
    }

    enum class Mark { none, colon, apostrophe };
    Mark lastMark = Mark::none;
    std::int64_t hours = 0;
    std::int64_t minutes = 0;
    std::int64_t seconds = 0;
    std::size_t pos = 0;

    // Reads a (possibly empty) run of digits; false when it leaves the 32-bit range, so
    // that no digit string, however long, can overflow.
    auto readNumber = [&](std::int64_t &number) {
        number = 0;
        while (pos < text.size() && isDigit(text[pos])) {
            number = number * 10 + (text[pos] - '0');
            if (number > int32Max) {
                return false;
            }
            ++pos;
        }
        return true;
    };

    std::int64_t number = 0;
    if (!readNumber(number)) {
        return std::nullopt;
    }
    if (pos == text.size()) {
        minutes = number; // a bare number counts minutes
    } else {
        for (;;) {
            const char mark = text[pos++];
            if (mark == ':') {
                if (lastMark != Mark::none) {
                    return std::nullopt;
                }
                hours = number;
                lastMark = Mark::colon;
            } else if (mark == '\'') {
                if (lastMark == Mark::apostrophe) {
                    return std::nullopt;
                }
                minutes = number;
                lastMark = Mark::apostrophe;
            } else if (mark == '"') {
                if (pos != text.size()) {
                    return std::nullopt;
                }
                seconds = number;
                break;
            } else {
                return std::nullopt;
            }

            if (!readNumber(number)) {
                return std::nullopt;
            }
            if (pos == text.size()) {
                if (lastMark == Mark::colon) {
                    minutes = number;
                } else {
                    seconds = number;
                }
                break;
            }
        }
    }

    // Each part is below 2^31, so the sum fits comfortably in 64 bits.
    const std::int64_t total = (hours * 60 + minutes) * 60 + seconds;
    if (total > int32Max) {
        return std::nullopt;
    }
    return static_cast<double>(total);
}

std::string formatEntryNumber(double value)
{
    return value == 0 ? std::string{} : generalNumberText(value);
}

double parseEntryNumber(std::string_view text)
{
    return leadingDecimalNumber(text);
}

std::string toStoredMemo(std::string_view text)
{
    while (!text.empty()) {
        const char last = text.back();
        if (last != cr && last != lf && last != ' ' && last != '\0') {
            break;
        }
        text.remove_suffix(1);
    }

    std::string stored;
    stored.reserve(text.size() * 2);
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        const char c = text[pos];
        // A stray lead byte (from a damaged file) must not carry a TAB, CR or LF into the
        // stored form: that would split the memo's row in the journal file. Such a byte is
        // never a real trail byte, so the pair was not a character anyway.
        if (startsDoubleByte(text, pos) && text[pos + 1] != tab && text[pos + 1] != cr &&
            text[pos + 1] != lf) {
            stored += c;
            stored += text[++pos];
        } else if (c == tab) {
            stored += "\\t";
        } else if (c == lf) {
            stored += "\\n";
        } else if (c == cr) {
            if (pos + 1 < text.size() && text[pos + 1] == lf) {
                ++pos;
                stored += "\\n";
            } else {
                stored += "\\r";
            }
        } else if (c == backslash) {
            stored += "\\\\";
        } else {
            stored += c;
        }
    }
    return stored;
}

std::string fromStoredMemo(std::string_view text)
{
    std::string display;
    display.reserve(text.size() + text.size() / 2);
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (startsDoubleByte(text, pos)) {
            display += c;
            display += text[++pos];
        } else if (c == backslash) {
            if (pos + 1 == text.size()) {
                break; // a backslash at the very end escapes nothing
            }
            const char escaped = text[++pos];
            if (escaped == 'n') {
                display += "\r\n";
            } else if (escaped == 't') {
                display += tab;
            } else if (escaped == 'r') {
                display += cr;
            } else {
                display += escaped;
            }
        } else {
            display += c;
        }
    }
    return display;
}
