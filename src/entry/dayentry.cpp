#include "entry/dayentry.h"

#include "entry/entryformtexts.h"
#include "journal/cquilloxdoc.h"
#include "journal/edit.h"
#include "text/cp932.h"
#include "text/entrytext.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

constexpr char brokenMemoMessage[] = "メモに文字として読めないバイトがあります。";

// The memo as code-page-932 bytes, or the message that says why it cannot be.
struct MemoBytes {
    std::optional<std::string> bytes;
    std::string message;
};

MemoBytes memoBytes(const std::string &memo, TypedEncoding encoding)
{
    std::string bytes;
    if (encoding == TypedEncoding::utf8) {
        Cp932Encoded encoded = encodeCp932(memo);
        if (encoded.unencodable) {
            return {std::nullopt, unencodableCharacterMessage(*encoded.unencodable)};
        }
        bytes = std::move(encoded.bytes);
    } else {
        bytes = memo;
    }
    if (hasBrokenDoubleByte(bytes)) {
        return {std::nullopt, brokenMemoMessage};
    }
    return {std::move(bytes), {}};
}

DayReading failure(DayTextField field, std::string message)
{
    DayReading reading;
    reading.failedField = field;
    reading.message = std::move(message);
    return reading;
}

bool hasNumber(const DayRecord &day)
{
    return day.weight != 0 || day.fatPercent != 0 || day.jogDistance != 0 || day.jogDuration != 0 ||
           day.walkDistance != 0 || day.walkDuration != 0;
}

} // namespace

DayTexts textsForDay(const DayRecord *entry)
{
    if (!entry) {
        return {};
    }
    // Numbers and durations are ASCII, the same in either encoding.
    return {
        .weight = formatEntryNumber(entry->weight),
        .fatPercent = formatEntryNumber(entry->fatPercent),
        .jogDistance = formatEntryNumber(entry->jogDistance),
        .jogDuration = formatDuration(entry->jogDuration),
        .walkDistance = formatEntryNumber(entry->walkDistance),
        .walkDuration = formatDuration(entry->walkDuration),
        .memo = decodeCp932(fromStoredMemo(entry->memo)).utf8,
    };
}

DayReading readDayTexts(Date date, const DayTexts &texts, TypedEncoding encoding)
{
    // Only ASCII takes part in a number or a duration, so those texts are read
    // as they are in either encoding.
    DayRecord day;
    day.date = date;
    day.weight = parseEntryNumber(texts.weight);
    day.fatPercent = parseEntryNumber(texts.fatPercent);
    day.jogDistance = parseEntryNumber(texts.jogDistance);
    const std::optional<double> jogDuration = parseDuration(texts.jogDuration);
    if (!jogDuration) {
        return failure(DayTextField::jogDuration, entrytext::jogDurationInvalid);
    }
    day.jogDuration = *jogDuration;
    day.walkDistance = parseEntryNumber(texts.walkDistance);
    const std::optional<double> walkDuration = parseDuration(texts.walkDuration);
    if (!walkDuration) {
        return failure(DayTextField::walkDuration, entrytext::walkDurationInvalid);
    }
    day.walkDuration = *walkDuration;

    MemoBytes memo = memoBytes(texts.memo, encoding);
    if (!memo.bytes) {
        return failure(DayTextField::memo, std::move(memo.message));
    }
    day.memo = toStoredMemo(*memo.bytes);

    DayReading reading;
    reading.day = std::move(day);
    return reading;
}

DayReading registerDay(CQuilloxDoc &document, Date date, const DayTexts &texts,
                       TypedEncoding encoding)
{
    DayReading reading = readDayTexts(date, texts, encoding);
    if (reading.day)
        document.applyEdit(dayEdit(document, *reading.day));
    return reading;
}

Date dayAfterRegistering(Date date, Date today)
{
    return date == today ? date : dayOffset(date, 1);
}

DayStep stepDay(const CQuilloxDoc &document, Date date, int days, const DayTexts &texts,
                TypedEncoding encoding)
{
    DayStep step;
    step.next = date;
    // A memo alone is not stored by a step, so it cannot stop one either.
    DayTexts numbers = texts;
    numbers.memo.clear();
    step.reading = readDayTexts(date, numbers, encoding);
    if (!step.reading.day) {
        return step;
    }
    if (hasNumber(*step.reading.day)) {
        step.reading = readDayTexts(date, texts, encoding);
        if (!step.reading.day) {
            return step;
        }
        step.stored = true;
        step.edit = dayEdit(document, *step.reading.day);
    }
    step.next = dayOffset(date, days);
    return step;
}

Date dayOffset(Date date, int days)
{
    static const Date first = makeDate(minJournalYear, 1, 1);
    static const Date last = makeDate(maxJournalYear, 12, 31);
    return std::clamp(date + std::chrono::days{days}, first, last);
}

std::string deleteQuestion(Date date)
{
    const std::string day = formatDate(date);
    std::array<char, sizeof entrytext::deleteQuestion + 16> text{};
    std::snprintf(text.data(), text.size(), entrytext::deleteQuestion, day.c_str());
    return text.data();
}
