// Reading the journal file. The whole file is in memory before parsing starts,
// and parsing is one pass over it with no allocation per line beyond the
// entries themselves: a long journal (a hundred thousand days) loads in a few
// tens of milliseconds.

#include "journal/cquilloxdoc.h"
#include "journal/numbertext.h"
#include "journal/safesave.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <new>
#include <optional>
#include <system_error>
#include <utility>

namespace {

// Where a word of a key line ends.
constexpr bool endsKeyWord(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::size_t skipBlanksAndTabs(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && isBlankOrTab(text[pos])) {
        ++pos;
    }
    return pos;
}

// ---- numbers ----

// The leading decimal integer, as atoi reads it; 0 when there is none. A
// value beyond 32 bits saturates at the nearest end of the range rather than
// wrapping, so a wildly wrong number stays recognisably extreme.
std::int32_t leadingInteger(std::string_view text)
{
    std::size_t pos = skipCSpace(text, 0);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    constexpr std::int64_t limit = std::int64_t{1} << 31;
    std::int64_t magnitude = 0;
    for (; pos < text.size() && isDigit(text[pos]); ++pos) {
        magnitude = std::min(limit, magnitude * 10 + (text[pos] - '0'));
    }
    const std::int64_t value = negative ? -magnitude : std::min(magnitude, limit - 1);
    return static_cast<std::int32_t>(value);
}

// A colour: hex after "0x" or "0X", otherwise a decimal integer read as an
// unsigned 32-bit value (a negative one wraps, as strtoul does). Either way a
// value beyond 32 bits saturates at 0xffffffff.
Colour colourValue(std::string_view text)
{
    constexpr std::uint64_t limit = std::numeric_limits<std::uint32_t>::max();
    std::uint64_t value = 0;
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        for (std::size_t pos = 2; pos < text.size(); ++pos) {
            const char c = text[pos];
            int digit = 0;
            if (isDigit(c)) {
                digit = c - '0';
            } else if (c >= 'a' && c <= 'f') {
                digit = c - 'a' + 10;
            } else if (c >= 'A' && c <= 'F') {
                digit = c - 'A' + 10;
            } else {
                break;
            }
            value = std::min(limit, value * 16 + static_cast<std::uint64_t>(digit));
        }
        return static_cast<Colour>(value);
    }
    std::size_t pos = skipCSpace(text, 0);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    for (; pos < text.size() && isDigit(text[pos]); ++pos) {
        value = std::min(limit, value * 10 + static_cast<std::uint64_t>(text[pos] - '0'));
    }
    const auto colour = static_cast<Colour>(value);
    return negative ? static_cast<Colour>(0u - colour) : colour;
}

// ---- "%4d/%02d/%02d" ----

// One "%<width>d" of sscanf: white space before the number is skipped and
// not counted, the sign counts towards the width.
bool scanInteger(std::string_view text, std::size_t &pos, std::size_t width, int &value)
{
    std::size_t i = skipCSpace(text, pos);
    const std::size_t limit = std::min(text.size(), i + width);
    bool negative = false;
    if (i < limit && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= limit || !isDigit(text[i])) {
        return false;
    }
    int magnitude = 0;
    for (; i < limit && isDigit(text[i]); ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
    }
    value = negative ? -magnitude : magnitude;
    pos = i;
    return true;
}

// Reads year, month and day as sscanf(text, "%4d/%02d/%02d") does: parts are
// stored in order until one fails, the others are left as they were. Returns
// the number of parts read.
int scanYearMonthDay(std::string_view text, int &year, int &month, int &day,
                     std::size_t *end = nullptr)
{
    std::size_t pos = 0;
    if (!scanInteger(text, pos, 4, year)) {
        return 0;
    }
    if (end) {
        *end = pos;
    }
    // The '/' must follow at once: sscanf skips white space only before a
    // number, not before a literal character.
    const auto slashThenNumber = [&](int &value) {
        if (pos >= text.size() || text[pos] != '/') {
            return false;
        }
        ++pos;
        return scanInteger(text, pos, 2, value);
    };
    if (!slashThenNumber(month)) {
        return 1;
    }
    const bool all = slashThenNumber(day);
    if (end) {
        *end = pos;
    }
    return all ? 3 : 2;
}

// ---- the key sections ----

struct KeyLine {
    std::string_view key;
    std::string_view value; // the value word
    std::string_view rest;  // from the value word to the end of the line
};

// "optional blanks, key word, optional blanks or tabs, '=', exactly one
// space, optional blanks or tabs, value word". Anything else is not a
// setting (a comment, "key=value", "key =value").
bool parseKeyLine(std::string_view line, KeyLine &parsed)
{
    std::size_t pos = 0;
    while (pos < line.size() && line[pos] == ' ') {
        ++pos;
    }
    const std::size_t keyStart = pos;
    while (pos < line.size() && !endsKeyWord(line[pos])) {
        ++pos;
    }
    if (pos == keyStart) {
        return false;
    }
    parsed.key = line.substr(keyStart, pos - keyStart);
    pos = skipBlanksAndTabs(line, pos);
    if (pos + 1 >= line.size() || line[pos] != '=' || line[pos + 1] != ' ') {
        return false;
    }
    pos = skipBlanksAndTabs(line, pos + 2);
    parsed.rest = line.substr(pos);
    std::size_t valueEnd = pos;
    while (valueEnd < line.size() && !endsKeyWord(line[valueEnd])) {
        ++valueEnd;
    }
    parsed.value = line.substr(pos, valueEnd - pos);
    return true;
}

// A name may hold blanks: it runs to the end of the line, less trailing
// blanks and tabs (which can never be the trail byte of a double-byte
// character, so nothing is split).
std::string textValue(std::string_view rest)
{
    std::size_t end = rest.size();
    while (end > 0 && isBlankOrTab(rest[end - 1])) {
        --end;
    }
    return std::string(rest.substr(0, end));
}

template <typename Field> struct KeyField {
    std::string_view key;
    Field GraphSettings::*field;
};

constexpr std::array<KeyField<std::int32_t>, 10> settingsIntegerKeys{{
    {"graphNDays", &GraphSettings::graphNDays},
    {"yAxisMain", &GraphSettings::yAxisMain},
    {"weightLineType", &GraphSettings::weightLineType},
    {"fatPcntLineType", &GraphSettings::fatPcntLineType},
    {"fatLineType", &GraphSettings::fatLineType},
    {"notFatLineType", &GraphSettings::notFatLineType},
    {"jogDistType", &GraphSettings::jogDistType},
    {"jogDurType", &GraphSettings::jogDurType},
    {"walkDistType", &GraphSettings::walkDistType},
    {"walkDurType", &GraphSettings::walkDurType},
}};

constexpr std::array<KeyField<bool>, 8> settingsBooleanKeys{{
    {"graphWeight", &GraphSettings::graphWeight},
    {"graphFatPercent", &GraphSettings::graphFatPercent},
    {"graphFat", &GraphSettings::graphFat},
    {"graphNotFat", &GraphSettings::graphNotFat},
    {"graphJogDistance", &GraphSettings::graphJogDistance},
    {"graphJogDuration", &GraphSettings::graphJogDuration},
    {"graphWalkDistance", &GraphSettings::graphWalkDistance},
    {"graphWalkDuration", &GraphSettings::graphWalkDuration},
}};

// colorFat and colorNotFat have no key: they are back at their defaults
// after every load.
constexpr std::array<KeyField<Colour>, 9> settingsColourKeys{{
    {"colorWeight", &GraphSettings::colorWeight},
    {"colorFatPercent", &GraphSettings::colorFatPercent},
    {"colorJogDistance", &GraphSettings::colorJogDistance},
    {"colorJogDuration", &GraphSettings::colorJogDuration},
    {"colorWalkDistance", &GraphSettings::colorWalkDistance},
    {"colorWalkDuration", &GraphSettings::colorWalkDuration},
    {"colorCrntDate", &GraphSettings::colorCrntDate},
    {"colorDivision", &GraphSettings::colorDivision},
    {"colorBackGround", &GraphSettings::colorBackGround},
}};

// False for a key the section does not have.
bool applySetting(GraphSettings &settings, const KeyLine &line)
{
    for (const auto &[key, field] : settingsIntegerKeys) {
        if (line.key == key) {
            settings.*field = leadingInteger(line.value);
            return true;
        }
    }
    for (const auto &[key, field] : settingsBooleanKeys) {
        if (line.key == key) {
            settings.*field = line.value == "1";
            return true;
        }
    }
    for (const auto &[key, field] : settingsColourKeys) {
        if (line.key == key) {
            settings.*field = colourValue(line.value);
            return true;
        }
    }
    if (line.key == "paperOri") {
        // The low 16 bits, as a signed value.
        const auto bits = static_cast<std::uint16_t>(
            static_cast<std::uint32_t>(leadingInteger(line.value)) & 0xffffu);
        settings.paperOri = static_cast<std::int16_t>(bits);
        return true;
    }
    return false;
}

bool applyUserInfo(UserInfo &userInfo, const KeyLine &line)
{
    if (line.key == "name") {
        userInfo.name = textValue(line.rest);
    } else if (line.key == "birthday") {
        // A part that does not parse keeps the value it had.
        scanYearMonthDay(line.value, userInfo.birthYear, userInfo.birthMonth, userInfo.birthDay);
    } else if (line.key == "sex") {
        userInfo.sex = line.value == "male";
    } else if (line.key == "height") {
        userInfo.height = leadingDecimalNumber(line.value);
    } else if (line.key == "restBpm") {
        userInfo.restBpm = leadingInteger(line.value);
    } else {
        return false;
    }
    return true;
}

bool applyObjective(Objective &objective, const KeyLine &line, Date defaultEventDate)
{
    if (line.key == "intention") {
        objective.intention = leadingInteger(line.value);
    } else if (line.key == "weight") {
        objective.weight = leadingDecimalNumber(line.value);
    } else if (line.key == "fatPercent") {
        objective.fatPercent = leadingDecimalNumber(line.value);
    } else if (line.key == "jogDistanceMonth") {
        objective.jogDistanceMonth = leadingDecimalNumber(line.value);
    } else if (line.key == "eventName") {
        objective.eventName = textValue(line.rest);
    } else if (line.key == "eventDate") {
        // The last eventDate line wins; one that is not a real day counts as
        // no date at all, never as part of another line's date.
        int year = 0;
        int month = 0;
        int day = 0;
        std::optional<Date> date;
        if (scanYearMonthDay(line.value, year, month, day) == 3) {
            date = dateFromYmd(year, month, day);
        }
        objective.eventDate = date.value_or(defaultEventDate);
    } else {
        return false;
    }
    return true;
}

// ---- the day lines ----

struct DayLine {
    Date date;
    std::array<double, storedSeriesCount> values{};
    std::string_view memo;
    // Which words of the line (bit 0 the date's, bits 1 to 6 the values')
    // a store would not write back; dayLineWords names them.
    unsigned alteredWords = 0;
};

using DropKind = DroppedLine::Kind;

const char *skippedReason(DropKind kind)
{
    return kind == DropKind::noDate ? "no date of the form year/month/day at the start of the line"
                                    : "the date is not a calendar day between the years 1 and 9999";
}

// storedExactly, with the journal's own words ("65.3", "1800", "0") decided
// here without another look at their characters: they are nearly every word
// of a long journal. A number of six characters at most has at most six
// digits, so only a magnitude beyond the range of a double (read as the
// largest one or as 0) can change it.
inline bool writtenBackAsIs(std::string_view word, double value, std::size_t numberEnd)
{
    if (numberEnd == word.size() && word.size() <= 6) {
        if (value != 0) {
            return std::fabs(value) != DBL_MAX;
        }
        return word.find_first_of("123456789") == std::string_view::npos;
    }
    return storedExactly(word, value, numberEnd);
}

// Words are separated by runs of blanks and tabs, so two tabs in a row do
// not make an empty field. Returns why, when the line is no entry.
std::optional<DropKind> parseDayLine(std::string_view line, DayLine &parsed)
{
    int year = 0;
    int month = 0;
    int day = 0;
    std::size_t dateEnd = 10;
    // Written dates are "dddd/dd/dd": read those without the general scan.
    const auto digitAt = [&line](std::size_t i) { return isDigit(line[i]); };
    const bool written = line.size() >= 10 && digitAt(0) && digitAt(1) && digitAt(2) &&
                         digitAt(3) && line[4] == '/' && digitAt(5) && digitAt(6) &&
                         line[7] == '/' && digitAt(8) && digitAt(9);
    if (written) {
        const auto twoDigits = [&line](std::size_t i) {
            return (line[i] - '0') * 10 + (line[i + 1] - '0');
        };
        year = twoDigits(0) * 100 + twoDigits(2);
        month = twoDigits(5);
        day = twoDigits(8);
    } else if (scanYearMonthDay(line, year, month, day, &dateEnd) != 3) {
        return DropKind::noDate;
    }
    const std::optional<Date> date = dateFromYmd(year, month, day);
    if (!date) {
        return DropKind::impossibleDate;
    }
    parsed.date = *date;
    parsed.alteredWords = 0;

    const auto wordEnd = [&](std::size_t pos) {
        while (pos < line.size() && !isBlankOrTab(line[pos])) {
            ++pos;
        }
        return pos;
    };
    const std::size_t dateStart = skipBlanksAndTabs(line, 0);
    std::size_t pos = wordEnd(dateStart); // past the date word
    if (pos > dateEnd) {
        parsed.alteredWords |= 1u;
    }
    for (std::size_t i = 0; i < parsed.values.size(); ++i) {
        pos = skipBlanksAndTabs(line, pos);
        const std::size_t end = wordEnd(pos);
        // A missing word leaves an empty view, which reads as 0.
        const std::string_view word = line.substr(pos, end - pos);
        std::size_t numberEnd = 0;
        parsed.values[i] = leadingDecimalNumber(word, numberEnd);
        if (!writtenBackAsIs(word, parsed.values[i], numberEnd)) {
            parsed.alteredWords |= 1u << (i + 1);
        }
        pos = end;
    }
    parsed.memo = line.substr(skipBlanksAndTabs(line, pos));
    return std::nullopt;
}

// The date's word and the six value words of a day line, as parseDayLine
// splits it (a missing word is empty).
std::array<std::string_view, storedSeriesCount + 1> dayLineWords(std::string_view line)
{
    std::array<std::string_view, storedSeriesCount + 1> words{};
    std::size_t pos = 0;
    for (std::string_view &word : words) {
        pos = skipBlanksAndTabs(line, pos);
        std::size_t end = pos;
        while (end < line.size() && !isBlankOrTab(line[end])) {
            ++end;
        }
        word = line.substr(pos, end - pos);
        pos = end;
    }
    return words;
}

bool isBlankLine(std::string_view line)
{
    for (const char c : line) {
        if (c != ' ' && c != '\t' && c != '\r') {
            return false;
        }
    }
    return true;
}

enum class Section { settings, userInfo, objective, data };

// The section a line beginning with '[' opens; only the length of the known
// name is compared, so anything may follow it. nullopt for any other
// bracketed word, which leaves the current section as it is.
std::optional<Section> sectionOf(std::string_view line)
{
    static constexpr std::array<std::pair<std::string_view, Section>, 4> names{{
        {"[userInfo]", Section::userInfo},
        {"[data]", Section::data},
        {"[settings]", Section::settings},
        {"[objective]", Section::objective},
    }};
    for (const auto &[name, section] : names) {
        if (line.starts_with(name)) {
            return section;
        }
    }
    return std::nullopt;
}

// The parts of the document a journal's key sections set.
struct KeySections {
    GraphSettings &graphSettings;
    UserInfo &userInfo;
    Objective &objective;
    Date defaultEventDate;
};

// One pass over the journal's lines. The key sections are applied to
// `keys`; every day line goes to sink.day(parsed, line, number), every line whose
// content a load does not keep to sink.dropped(kind, number). Shared by the
// load and by the scan of a check, so that both read a file alike.
template <typename Sink> void readJournalLines(std::string_view bytes, KeySections keys, Sink &sink)
{
    Section section = Section::data;
    std::size_t lineNumber = 0;
    std::size_t pos = 0;
    DayLine dayLine;
    while (pos < bytes.size()) {
        const void *found = std::memchr(bytes.data() + pos, '\n', bytes.size() - pos);
        const std::size_t lineEnd =
            found ? static_cast<std::size_t>(static_cast<const char *>(found) - bytes.data())
                  : bytes.size();
        std::string_view line = bytes.substr(pos, lineEnd - pos);
        if (found && !line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        pos = found ? lineEnd + 1 : lineEnd;
        ++lineNumber;

        // A header line ("# quillox file ver 2", whatever the version) is
        // only ever the first line; without one the first line is content.
        if (lineNumber == 1 && line.starts_with('#')) {
            continue;
        }
        if (line.starts_with('[')) {
            if (const std::optional<Section> named = sectionOf(line)) {
                section = *named;
            } else {
                sink.dropped(DropKind::unknownSection, lineNumber);
            }
            continue;
        }
        if (section != Section::data) {
            KeyLine keyLine;
            if (!parseKeyLine(line, keyLine)) {
                if (!isBlankLine(line)) {
                    sink.dropped(DropKind::notASetting, lineNumber);
                }
                continue;
            }
            bool known = false;
            switch (section) {
            case Section::settings:
                known = applySetting(keys.graphSettings, keyLine);
                break;
            case Section::userInfo:
                known = applyUserInfo(keys.userInfo, keyLine);
                break;
            case Section::objective:
                known = applyObjective(keys.objective, keyLine, keys.defaultEventDate);
                break;
            case Section::data:
                break;
            }
            if (!known) {
                sink.dropped(DropKind::unknownKey, lineNumber);
            }
            continue;
        }

        if (const std::optional<DropKind> kind = parseDayLine(line, dayLine)) {
            if (!isBlankLine(line)) {
                sink.dropped(*kind, lineNumber);
            }
            continue;
        }
        sink.day(dayLine, line, lineNumber);
    }
}

// Days by their number from 0001-01-01: a flat table covers every day a
// journal can hold (3,652,059 of them).
constexpr Date firstJournalDay =
    std::chrono::sys_days{std::chrono::year{minJournalYear} / std::chrono::January / 1};
constexpr std::size_t journalDayCount =
    static_cast<std::size_t>(
        (std::chrono::sys_days{std::chrono::year{maxJournalYear} / std::chrono::December / 31} -
         firstJournalDay)
            .count()) +
    1;

std::size_t dayIndex(Date date)
{
    return static_cast<std::size_t>((date - firstJournalDay).count());
}

} // namespace

std::vector<SkippedLine> CQuilloxDoc::loadJournalText(std::string_view bytes, Date today,
                                                      std::vector<std::size_t> *alteredLines)
{
    resetToDefaults(today);
    struct LoadSink {
        DayList &days;
        std::vector<SkippedLine> skipped;
        std::vector<std::size_t> *alteredLines;

        void dropped(DropKind kind, std::size_t lineNumber)
        {
            // Only the day lines of the data section count as skipped.
            if (kind == DropKind::noDate || kind == DropKind::impossibleDate) {
                skipped.push_back({lineNumber, skippedReason(kind)});
            }
        }
        void day(const DayLine &dayLine, std::string_view, std::size_t lineNumber)
        {
            if (alteredLines && dayLine.alteredWords != 0) {
                alteredLines->push_back(lineNumber);
            }
            // The same result as setDay line by line, without a search in the
            // common cases: lines in ascending order (as written) or descending.
            const auto &values = dayLine.values;
            DayRecord record{dayLine.date, values[0], values[1], values[2],
                             values[3],    values[4], values[5], std::string(dayLine.memo)};
            if (days.empty() || days.rbegin()->first < dayLine.date) {
                days.emplace_hint(days.end(), dayLine.date, std::move(record));
            } else if (dayLine.date < days.begin()->first) {
                days.emplace_hint(days.begin(), dayLine.date, std::move(record));
            } else {
                days.insert_or_assign(dayLine.date, std::move(record));
            }
        }
    } sink{days_, {}, alteredLines};
    readJournalLines(
        bytes, KeySections{graphSettings_, userInfo_, objective_, objective_.eventDate}, sink);
    modified_ = false;
    return std::move(sink.skipped);
}

void CQuilloxDoc::scanJournalText(std::string_view bytes, JournalScanReport &report)
{
    // The default event date is no part of what a store loses.
    resetToDefaults(Date{});
    const KeySections keys{graphSettings_, userInfo_, objective_, objective_.eventDate};

    // First pass: the last line of each date, which is the one a load keeps.
    // calloc: the pages of days no line names are never touched.
    struct LastLines {
        std::uint32_t *lines =
            static_cast<std::uint32_t *>(std::calloc(journalDayCount, sizeof(std::uint32_t)));
        ~LastLines() { std::free(lines); }
        void dropped(DropKind, std::size_t) {}
        void day(const DayLine &dayLine, std::string_view, std::size_t lineNumber)
        {
            lines[dayIndex(dayLine.date)] = static_cast<std::uint32_t>(lineNumber);
        }
    } last;
    if (last.lines == nullptr) {
        throw std::bad_alloc();
    }
    // A file within maxReadableFileBytes has fewer lines than 2^32.
    readJournalLines(bytes, keys, last);

    struct ReportSink {
        JournalScanReport &report;
        const std::uint32_t *lastLines;
        void dropped(DropKind kind, std::size_t lineNumber) { report.dropped({lineNumber, kind}); }
        void day(const DayLine &dayLine, std::string_view line, std::size_t lineNumber)
        {
            if (lastLines[dayIndex(dayLine.date)] != lineNumber) {
                report.dropped({lineNumber, DropKind::replacedDay});
            }
            if (dayLine.alteredWords == 0) {
                return;
            }
            const auto words = dayLineWords(line);
            if (dayLine.alteredWords & 1u) {
                report.altered({lineNumber, AlteredValue::Kind::dateText, 0, words[0], 0});
            }
            for (std::size_t i = 0; i < dayLine.values.size(); ++i) {
                if ((dayLine.alteredWords & (1u << (i + 1))) == 0) {
                    continue;
                }
                const std::string_view word = words[i + 1];
                std::size_t end = 0;
                leadingDecimalNumber(word, end);
                const AlteredValue::Kind kind = end == word.size() ? AlteredValue::Kind::rounded
                                                                   : AlteredValue::Kind::notANumber;
                report.altered(
                    {lineNumber, kind, static_cast<int>(i + 1), word, dayLine.values[i]});
            }
        }
    } reporter{report, last.lines};
    resetToDefaults(Date{});
    readJournalLines(bytes, keys, reporter);
    modified_ = false;
}

JournalLoadResult CQuilloxDoc::readJournal(const std::string &path, Date today)
{
    JournalLoadResult result;
    std::string bytes;
    if (!readFileBytes(path, bytes, result.error, &result.problem)) {
        return result;
    }
    result.opened = true;
    result.skippedLines = loadJournalText(bytes, today, &result.alteredLines);
    return result;
}
