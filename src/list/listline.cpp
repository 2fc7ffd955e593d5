#include "list/listline.h"

#include "journal/numbertext.h"
#include "text/entrytext.h"

namespace {

// Appends text right-aligned in a field of `width` bytes, as printf does: a
// longer text is not cut.
void appendPadded(std::string &line, std::string_view text, std::size_t width)
{
    if (text.size() < width)
        line.append(width - text.size(), ' ');
    line.append(text);
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
    appendPaddedInteger(line, yearOf(entry.date), 4);
    line += '/';
    appendPaddedInteger(line, monthOf(entry.date), 2);
    line += '/';
    appendPaddedInteger(line, dayOf(entry.date), 2);
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
