#include "cli/journalcsv.h"

#include "cli/cliarguments.h"
#include "cli/clitexts.h"
#include "cli/csv.h"
#include "entry/dayentry.h"
#include "journal/cquilloxdoc.h"
#include "journal/edit.h"
#include "journal/numbertext.h"
#include "text/cp932.h"
#include "text/entrytext.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <system_error>

const char *const journalCsvHeader =
    "date,weight,fat_percent,jog_km,jog_seconds,walk_km,walk_seconds,memo";

namespace {

using clitext::fillText;

constexpr std::size_t csvColumnCount = 8;
constexpr std::string_view utf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view replacementCharacterUtf8 = "\xEF\xBF\xBD";

struct ValueColumn {
    const char *name;
    double DayRecord::*field;
    bool seconds; // a duration: a number of seconds, never negative
};

// Columns 1 to 6, in the order of the header.
constexpr std::array<ValueColumn, 6> valueColumns{{
    {clitext::columnWeight, &DayRecord::weight, false},
    {clitext::columnFatPercent, &DayRecord::fatPercent, false},
    {clitext::columnJogKm, &DayRecord::jogDistance, false},
    {clitext::columnJogSeconds, &DayRecord::jogDuration, true},
    {clitext::columnWalkKm, &DayRecord::walkDistance, false},
    {clitext::columnWalkSeconds, &DayRecord::walkDuration, true},
}};

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// A whole field that is one decimal number, blanks around it allowed; empty
// is 0. The value is read as the journal file reads its numbers, so a value
// exported and imported again is the same double.
std::optional<double> strictNumber(std::string_view field)
{
    std::string_view text = trimBlanks(field);
    if (text.empty()) {
        return 0.0;
    }
    std::string_view unsigned_ = text;
    if (unsigned_.front() == '+' || unsigned_.front() == '-') {
        unsigned_.remove_prefix(1);
    }
    // from_chars alone would also take "inf" and "nan".
    if (unsigned_.empty() || !(isDigit(unsigned_.front()) || unsigned_.front() == '.')) {
        return std::nullopt;
    }
    double ignored = 0;
    const auto [end, error] = std::from_chars(unsigned_.data(), unsigned_.data() + unsigned_.size(),
                                              ignored, std::chars_format::general);
    if (error != std::errc{} || end != unsigned_.data() + unsigned_.size()) {
        return std::nullopt;
    }
    return leadingDecimalNumber(text);
}

// The record as a day, or the reason it is rejected. Values the journal will
// round are noted in `rounded`.
std::optional<DayRecord> dayFromRecord(const CsvRecord &record, std::string &reason,
                                       std::vector<CsvRejectedLine> &rounded)
{
    if (!record.error.empty()) {
        reason = record.error;
        return std::nullopt;
    }
    if (record.fields.size() != csvColumnCount) {
        reason = fillText(clitext::csvFieldCount, {std::to_string(record.fields.size())});
        return std::nullopt;
    }
    DayRecord day;
    const std::string_view dateText = trimBlanks(record.fields[0]);
    bool impossible = false;
    const std::optional<Date> date = parseIsoDate(dateText, impossible);
    if (!date) {
        reason =
            fillText(impossible ? clitext::csvImpossibleDate : clitext::csvBadDate, {dateText});
        return std::nullopt;
    }
    day.date = *date;
    for (std::size_t i = 0; i < valueColumns.size(); ++i) {
        const ValueColumn &column = valueColumns[i];
        const std::string &field = record.fields[i + 1];
        const std::optional<double> value = strictNumber(field);
        if (!value || (column.seconds && *value < 0)) {
            reason = fillText(column.seconds ? clitext::csvBadSeconds : clitext::csvBadNumber,
                              {column.name, field});
            return std::nullopt;
        }
        day.*column.field = *value;
        if (!storedExactly(trimBlanks(field), *value)) {
            rounded.push_back(
                {record.lineNumber, fillText(clitext::csvRounded, {column.name, trimBlanks(field),
                                                                   generalNumberText(*value)})});
        }
    }
    // The memo as the entry form takes a typed one: the same folding, the
    // same refusals, the same stored form.
    DayTexts typed;
    typed.memo = record.fields[csvColumnCount - 1];
    const DayReading reading = readDayTexts(day.date, typed, TypedEncoding::utf8);
    if (!reading.day) {
        const Cp932Encoded encoded = encodeCp932(typed.memo);
        const bool notUtf8 = encoded.unencodable && *encoded.unencodable == 0xFFFD &&
                             std::string_view(typed.memo).substr(encoded.unencodableOffset, 3) !=
                                 replacementCharacterUtf8;
        reason = notUtf8 ? std::string(clitext::csvNotUtf8)
                         : fillText(clitext::csvMemo, {reading.message});
        return std::nullopt;
    }
    day.memo = reading.day->memo;
    return day;
}

} // namespace

std::string isoDate(Date date)
{
    std::string text = formatDate(date); // "%Y/%m/%d"
    text[4] = '-';
    text[7] = '-';
    return text;
}

std::string journalCsv(const CQuilloxDoc::DayList &days)
{
    std::string csv;
    csv.reserve(64 + days.size() * 48);
    csv += journalCsvHeader;
    csv += "\r\n";
    std::array<std::string, csvColumnCount> texts;
    std::vector<std::string_view> fields(csvColumnCount);
    for (const auto &[date, day] : days) {
        texts[0] = isoDate(date);
        for (std::size_t i = 0; i < valueColumns.size(); ++i) {
            const double value = day.*valueColumns[i].field;
            texts[i + 1] = value == 0 ? std::string() : generalNumberText(value);
        }
        texts[csvColumnCount - 1] = decodeCp932(fromStoredMemo(day.memo)).utf8;
        std::copy(texts.begin(), texts.end(), fields.begin());
        appendCsvRecord(csv, fields);
    }
    return csv;
}

JournalCsvRead readJournalCsv(std::string_view csv)
{
    JournalCsvRead read;
    if (csv.starts_with(utf8ByteOrderMark)) {
        csv.remove_prefix(utf8ByteOrderMark.size());
    }
    const std::vector<CsvRecord> records = readCsvRecords(csv);
    if (!records.empty() && records.back().unclosedQuoteLine != 0) {
        read.fatalError = fillText(clitext::csvUnclosedQuoteFatal,
                                   {std::to_string(records.back().unclosedQuoteLine)});
        return read;
    }
    std::string header;
    if (!records.empty() && records.front().error.empty()) {
        std::vector<std::string_view> fields(records.front().fields.begin(),
                                             records.front().fields.end());
        appendCsvRecord(header, fields);
    }
    if (records.empty() || records.front().lineNumber != 1 ||
        header != std::string(journalCsvHeader) + "\r\n") {
        read.fatalError = fillText(clitext::csvBadHeader, {journalCsvHeader});
        return read;
    }
    for (std::size_t i = 1; i < records.size(); ++i) {
        std::string reason;
        std::vector<CsvRejectedLine> rounded;
        if (std::optional<DayRecord> day = dayFromRecord(records[i], reason, rounded)) {
            read.days.push_back(std::move(*day));
            read.rounded.insert(read.rounded.end(), rounded.begin(), rounded.end());
        } else {
            read.rejected.push_back({records[i].lineNumber, std::move(reason)});
        }
    }
    return read;
}

void mergeDays(CQuilloxDoc &document, const std::vector<DayRecord> &days)
{
    // A later row of the same day wins, as it would typed in one after another.
    EditBuilder edit(document);
    for (const DayRecord &day : days)
        edit.changeDay(day);
    document.applyEdit(edit.take());
}
