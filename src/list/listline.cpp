#include "list/listline.h"

#include "entry/entrytext.h"
#include "journal/numbertext.h"

#include <charconv>

namespace {

// Appends text right-aligned in a field of `width` bytes, as printf does: a
// longer text is not cut.
void appendPadded(std::string &line, std::string_view text, std::size_t width)
{
    if (text.size() < width)
        line.append(width - text.size(), ' ');
    line.append(text);
}

void appendZeroPadded(std::string &line, int value, std::size_t width)
{
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string_view digits(buffer, static_cast<std::size_t>(result.ptr - buffer));
    if (digits.size() < width)
        line.append(width - digits.size(), '0');
    line.append(digits);
}

} // namespace

std::string listLine(const DayRecord &entry)
{
    constexpr std::size_t weightWidth = 6;
    constexpr std::size_t fatWidth = 5;
    constexpr std::size_t distanceWidth = 4;
    constexpr std::size_t durationWidth = 9;

    std::string line;
    line.reserve(64 + entry.memo.size());
    appendZeroPadded(line, yearOf(entry.date), 4);
    line += '/';
    appendZeroPadded(line, monthOf(entry.date), 2);
    line += '/';
    appendZeroPadded(line, dayOf(entry.date), 2);
    line += ' ';
    appendFixedNumber(line, entry.weight, 2, weightWidth);
    line += ' ';
    appendFixedNumber(line, entry.fatPercent, 1, fatWidth);
    line += ' ';
    appendFixedNumber(line, entry.jogDistance, 1, distanceWidth);
    line += ' ';
    appendPadded(line, formatDuration(entry.jogDuration), durationWidth);
    line += ' ';
    appendFixedNumber(line, entry.walkDistance, 1, distanceWidth);
    line += ' ';
    appendPadded(line, formatDuration(entry.walkDuration), durationWidth);
    line += ' ';
    line += entry.memo;
    return line;
}
