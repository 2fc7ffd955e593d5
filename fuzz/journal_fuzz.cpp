// Feeds arbitrary bytes to the journal reader and to the text conversions, and
// traps when a property that must hold for every input is broken. The first
// byte picks what is exercised ('0' to '3' in the seed corpus), the rest is
// the input.

#include "docsetup.h"
#include "journal/cquilloxdoc.h"
#include "text/entrytext.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace {

void require(bool holds, const char *property)
{
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        __builtin_trap();
    }
}

// A fixed "today", so that a finding reproduces on any day.
const Date fuzzToday = makeDate(2002, 6, 30);

void checkStatistics(const CQuilloxDoc &doc)
{
    constexpr std::array<int, 8> allSeries = {0, 1, 2, 3, 4, 5, -1, -2};
    constexpr std::array<int, 6> periods = {7, 35, 70, 400, 0, -3};
    for (const int nDays : periods) {
        const auto window = doc.graphWindowForDays(nDays, fuzzToday);
        if (nDays <= 0) {
            require(!window.has_value(), "no day window for a month period");
            require(doc.sumOverDays(0, fuzzToday, nDays) == 0 &&
                        doc.averageOverDays(0, fuzzToday, nDays) == 0,
                    "a run of no days sums to 0");
            continue;
        }
        require(window.has_value(), "a day window for a positive period");
        require(window->last - window->first == std::chrono::days{nDays - 1},
                "the graph window spans exactly its number of days");

        for (const int series : allSeries) {
            for (const double divisor : {1.0, 60.0}) {
                const auto range = doc.seriesRange(series, window->first, window->last, divisor);
                const bool empty =
                    range.smallest == std::numeric_limits<double>::max() && range.largest == 0;
                require(range.largest >= 0, "the largest value of a range is never below 0");
                require(empty || range.smallest <= range.largest,
                        "a range with values has smallest <= largest");
            }
        }
        for (int series = 0; series < storedSeriesCount; ++series) {
            (void)doc.sumOverDays(series, window->first, nDays);
            (void)doc.averageOverDays(series, window->first, nDays);
        }
        const int active = doc.countExerciseDays(window->first, window->last);
        require(active >= 0 && active <= nDays &&
                    static_cast<std::size_t>(active) <= doc.dayList().size(),
                "active days are bounded by the days in the window");
        if (nDays > 1) {
            require(doc.countExerciseDays(window->last, window->first) == 0,
                    "a reversed range holds no active day");
        }
    }
    if (const DayRecord *first = doc.firstDay()) {
        const DayRecord *last = doc.lastDay();
        require(last != nullptr && first->date <= last->date, "first day is not after last day");
        for (const int series : allSeries) {
            (void)doc.seriesRange(series, first->date, last->date, 1.0);
        }
        const int active = doc.countExerciseDays(first->date, last->date);
        require(active >= 0 && static_cast<std::size_t>(active) <= doc.dayList().size(),
                "active days are bounded by the entries");
    }
}

// Arbitrary bytes as a journal file. The first read may lose what the format
// cannot hold (digits beyond six, blanks in front of a memo, the words after
// a name); from then on, storing and reading again must change nothing.
void fuzzJournal(std::string_view input)
{
    CQuilloxDoc first;
    first.loadJournalText(input, fuzzToday);
    const std::string text1 = first.journalText();

    CQuilloxDoc second;
    std::vector<std::size_t> altered;
    const auto skipped = second.loadJournalText(text1, fuzzToday, &altered);
    require(skipped.empty(), "every line the writer produces can be read");
    // Else every open of a journal the program wrote would keep a damaged copy.
    require(altered.empty(), "every word the writer produces is written back as it is");
    const std::string text2 = second.journalText();

    CQuilloxDoc third;
    third.loadJournalText(text2, fuzzToday);
    require(third.journalText() == text2, "a written journal reads back to the same text");
    require(text1 == text2, "one read reaches what later reads keep");

    // Loading over a loaded document starts from the defaults again: nothing
    // of the previous journal survives.
    second.loadJournalText(input, fuzzToday);
    require(second.journalText() == text1, "a reload keeps nothing of the previous journal");

    checkStatistics(first);
}

void fuzzDuration(std::string_view input)
{
    const auto parsed = parseDuration(input);
    if (!parsed) {
        return;
    }
    const double seconds = *parsed;
    require(seconds >= 0 && seconds <= std::numeric_limits<std::int32_t>::max() &&
                seconds == std::floor(seconds),
            "a typed duration is a whole number of seconds within 32 bits");
    const auto again = parseDuration(formatDuration(seconds));
    require(again.has_value() && *again == seconds, "a shown duration reads back to its seconds");
}

// What showing a stored memo must give back for typed text (valid code page
// 932): the text less its trailing CR, LF, blanks and NULs, with each lone LF
// turned into CR LF. Double-byte characters are copied whole, so a trail byte
// 0x5C is never taken for a backslash.
std::string expectedDisplayText(std::string_view text)
{
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ' ||
                             text.back() == '\0')) {
        text.remove_suffix(1);
    }
    std::string display;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char byte = text[i];
        const bool hasNext = i + 1 < text.size();
        if (isCp932LeadByte(static_cast<unsigned char>(byte)) && hasNext) {
            display += byte;
            display += text[++i];
        } else if (byte == '\n') {
            display += "\r\n";
        } else if (byte == '\r' && hasNext && text[i + 1] == '\n') {
            display += "\r\n";
            ++i;
        } else {
            display += byte;
        }
    }
    return display;
}

bool isValidCp932(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isCp932LeadByte(static_cast<unsigned char>(text[i]))) {
            continue;
        }
        if (i + 1 == text.size()) {
            return false;
        }
        const auto trail = static_cast<unsigned char>(text[++i]);
        if (trail < 0x40 || trail == 0x7f || trail > 0xfc) {
            return false;
        }
    }
    return true;
}

void fuzzMemo(std::string_view input)
{
    // Typed text to the stored form and back, as the entry form stores a
    // day and shows it again. Text typed in the entry form is always valid
    // code page 932; other bytes only come from a damaged file, where a stray
    // lead byte may swallow the byte after it, and only stability is asked.
    const std::string stored = toStoredMemo(input);
    require(stored.size() <= 2 * input.size(), "a stored memo is at most twice as long");
    const std::string shown = fromStoredMemo(stored);
    if (isValidCp932(input)) {
        require(stored.find_first_of("\t\r\n") == std::string::npos,
                "a stored memo of real characters is one line without tabs");
        require(shown == expectedDisplayText(input),
                "a memo shows again as typed, less trailing line ends and blanks");
    }
    require(toStoredMemo(shown) == stored, "storing a shown memo again changes nothing");

    // Any bytes as a stored memo read from a file: showing it and storing it
    // may normalise it once, then it must stay.
    const std::string restored = toStoredMemo(fromStoredMemo(input));
    require(toStoredMemo(fromStoredMemo(restored)) == restored,
            "a memo from a file is stable after one show and store");
}

// The writer formats numbers itself, independent of the C locale; for every
// finite value the day line must hold what "%g" writes in the C locale.
void checkDayLine(const std::array<double, storedSeriesCount> &values)
{
    for (const double value : values) {
        if (!std::isfinite(value)) {
            return;
        }
    }
    CQuilloxDoc doc;
    putDay(doc, makeDate(2002, 5, 12), "", values[0], values[1], values[2], values[3], values[4],
           values[5]);
    std::array<char, 256> expected{};
    std::snprintf(expected.data(), expected.size(), "2002/05/12\t%g\t%g\t%g\t%g\t%g\t%g\t\r\n",
                  values[0], values[1], values[2], values[3], values[4], values[5]);
    require(doc.journalText().ends_with(expected.data()),
            "a day line writes its numbers as %g does");

    std::array<char, 64> shown{};
    std::snprintf(shown.data(), shown.size(), "%g", values[0]);
    require(formatEntryNumber(values[0]) == (values[0] == 0 ? "" : shown.data()),
            "an entry number shows as %g does");
}

void fuzzNumbers(std::string_view input)
{
    const double typed = parseEntryNumber(input);
    if (std::isfinite(typed) && (typed == 0 || std::fabs(typed) >= 1e-300)) {
        const std::string shown = formatEntryNumber(typed);
        require(typed != 0 || shown.empty(), "0 shows as an empty field");
        require(formatEntryNumber(parseEntryNumber(shown)) == shown,
                "a shown number reads back to the same text");
    }
    checkDayLine({typed, 0, 0, 0, 0, 0});

    // The raw bytes as held values, as a journal file may carry any number.
    if (input.size() < sizeof(double)) {
        return;
    }
    std::array<double, storedSeriesCount> values{};
    for (std::size_t i = 0; i < values.size() && (i + 1) * sizeof(double) <= input.size(); ++i) {
        std::memcpy(&values[i], input.data() + i * sizeof(double), sizeof(double));
    }
    checkDayLine(values);
    // Raw doubles are mostly huge or tiny; folded below a million they give
    // the everyday range with every low-order bit pattern.
    std::array<double, storedSeriesCount> everyday{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        everyday[i] = std::isfinite(values[i]) ? std::fmod(values[i], 1e6) : 0.0;
    }
    checkDayLine(everyday);
    const double held = values[0];
    (void)formatEntryNumber(held);
    const std::string duration = formatDuration(held);
    if (held > -1 && held < 2147483648.0) {
        const auto seconds = parseDuration(duration);
        require(seconds.has_value() && *seconds == std::trunc(held),
                "a held duration shows as its whole seconds");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const std::string_view input(reinterpret_cast<const char *>(data) + 1, size - 1);
    switch (data[0] % 4) {
    case 0:
        fuzzJournal(input);
        break;
    case 1:
        fuzzDuration(input);
        break;
    case 2:
        fuzzMemo(input);
        break;
    default:
        fuzzNumbers(input);
        break;
    }
    return 0;
}
