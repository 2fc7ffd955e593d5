#include "docsetup.h"
#include "entry/dayentry.h"
#include "journal/cquilloxdoc.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The messages as the user must see them.
const std::string jogMessage = "Jog 時間指定が不正です。\r\n書式：<時間>:<分>'<秒>\"";
const std::string walkMessage = "Walk 時間指定が不正です。\r\n書式：<時間>:<分>'<秒>\"";

const Date may17 = makeDate(2002, 5, 17);
constexpr TypedEncoding utf8 = TypedEncoding::utf8;

// The texts in the form's order: weight, fat, jog distance and time, walk
// distance and time, memo.
DayTexts typed(std::string weight, std::string jogDuration, std::string walkDuration = {},
               std::string memo = {})
{
    return {std::move(weight), "", "", std::move(jogDuration), "", std::move(walkDuration),
            std::move(memo)};
}

} // namespace

TEST(DayEntry, aDayShowsItsValuesNormalisedAndNothingForZeroOrNoEntry)
{
    EXPECT_EQ(textsForDay(nullptr), DayTexts{});
    // ソ and 表 end in 0x5C; \n is a stored line break, \\ a backslash.
    const DayRecord entry{.date = may17,
                          .weight = 65.25,
                          .jogDistance = 10,
                          .jogDuration = 3900,
                          .walkDuration = 59.9,
                          .memo = "\x83\x5c\x95\x5c\\n\\\\"};
    EXPECT_EQ(textsForDay(&entry),
              (DayTexts{"65.25", "", "10", "1:05'00\"", "", "0'59\"", "ソ表\r\n\\"}));
}

TEST(DayEntry, readingStopsAtTheFirstInvalidDurationWithItsMessage)
{
    const struct {
        const char *jog;
        const char *walk;
        DayTextField failed;
        const std::string *message;
    } cases[] = {
        {"1:2:3", "30", DayTextField::jogDuration, &jogMessage},
        {"45", "5 ", DayTextField::walkDuration, &walkMessage},
        // Both wrong: only the jog message.
        {"1.5", "x", DayTextField::jogDuration, &jogMessage},
        {"", "", DayTextField::none, nullptr},
    };
    for (const auto &c : cases) {
        const DayReading reading = readDayTexts(may17, typed("65", c.jog, c.walk), utf8);
        EXPECT_EQ(reading.failedField, c.failed) << c.jog << " / " << c.walk;
        EXPECT_EQ(reading.day.has_value(), c.message == nullptr);
        EXPECT_EQ(reading.message, c.message ? *c.message : std::string());
    }
}

TEST(DayEntry, registeringReplacesEveryFieldAndStoresNothingOnFailure)
{
    CQuilloxDoc doc;
    registerDay(doc, may17, {" 65.5kg", "abc", "10", "65", "3.2", "1'75", "ok\r\n\r\n  \r\n"},
                utf8);
    const DayRecord stored{.date = may17,
                           .weight = 65.5,
                           .jogDistance = 10,
                           .jogDuration = 3900,
                           .walkDistance = 3.2,
                           .walkDuration = 135,
                           .memo = "ok"};
    ASSERT_NE(doc.findDay(may17), nullptr);
    EXPECT_EQ(*doc.findDay(may17), stored);

    // A valid jog time does not get through beside an invalid walk time.
    EXPECT_FALSE(registerDay(doc, may17, typed("70", "30", "1h"), utf8).day);
    EXPECT_EQ(*doc.findDay(may17), stored);

    // All fields empty: an entry of zeros replaces the day.
    EXPECT_TRUE(registerDay(doc, may17, DayTexts{}, utf8).day);
    EXPECT_EQ(*doc.findDay(may17), (DayRecord{.date = may17, .memo = ""}));
}

TEST(DayEntry, memoKeepsJapaneseAndRefusesWhatCodePage932CannotHold)
{
    const struct {
        TypedEncoding encoding;
        std::string memo;
        const char *stored; // nullptr: refused
        const char *shown;  // when shown again; or a text the refusal must contain
    } cases[] = {
        // 〜 as input methods type it (U+301C) is stored as code page 932's 0x81 0x60.
        {utf8, "ソ表\u301C\n\t1", "\x83\x5c\x95\x5c\x81\x60\\n\\t1", "ソ表\uFF5E\r\n\t1"},
        {utf8, "caf\u00E9", nullptr, "\u300C\u00E9\u300D(U+00E9)"},
        {utf8, "run \U0001F3C3", nullptr, "U+1F3C3"},
        {TypedEncoding::cp932, "\x83\x5c\r\nx", "\x83\x5c\\nx", "ソ\r\nx"},
        // A lead byte before a TAB would take the TAB into the journal line.
        {TypedEncoding::cp932, "\x83\t", nullptr, "メモ"},
        {TypedEncoding::cp932, "ab\x95", nullptr, "メモ"},
    };
    for (const auto &c : cases) {
        CQuilloxDoc doc;
        const DayReading reading = registerDay(doc, may17, typed("65", "", "", c.memo), c.encoding);
        if (c.stored) {
            ASSERT_TRUE(reading.day) << reading.message;
            EXPECT_EQ(doc.findDay(may17)->memo, c.stored);
            EXPECT_EQ(textsForDay(doc.findDay(may17)).memo, c.shown);
        } else {
            EXPECT_EQ(reading.failedField, DayTextField::memo) << c.memo;
            EXPECT_NE(reading.message.find(c.shown), std::string::npos) << reading.message;
            EXPECT_EQ(doc.findDay(may17), nullptr);
        }
    }
}

TEST(DayEntry, registeringMovesOnUnlessTheDayIsTodayWithinTheJournalsYears)
{
    const Date today = makeDate(2026, 12, 8);
    EXPECT_EQ(dayAfterRegistering(today, today), today);
    EXPECT_EQ(dayAfterRegistering(makeDate(2026, 12, 7), today), today);
    EXPECT_EQ(dayAfterRegistering(makeDate(2026, 12, 31), today), makeDate(2027, 1, 1));
    EXPECT_EQ(dayAfterRegistering(makeDate(9999, 12, 31), today), makeDate(9999, 12, 31));
    EXPECT_EQ(dayOffset(makeDate(1, 1, 1), -1), makeDate(1, 1, 1));
}

TEST(DayEntry, stepStoresOnlyADayWithANumberAndStaysOnFailure)
{
    CQuilloxDoc doc;
    putDay(doc, may17, "kept", 64, 20, 0, 0, 0, 0);
    const Date may18 = makeDate(2002, 5, 18);

    // Only a memo (one code page 932 cannot hold, even): moves on, stores nothing.
    DayStep step = stepDay(doc, may18, 1, typed("", "", "", "memo \U0001F600"), utf8);
    EXPECT_EQ(step.next, makeDate(2002, 5, 19));
    EXPECT_TRUE(!step.stored && !doc.findDay(may18));

    // Every field of an existing entry emptied: the entry stays as it was.
    step = stepDay(doc, may17, -1, DayTexts{}, utf8);
    EXPECT_EQ(step.next, makeDate(2002, 5, 16));
    EXPECT_TRUE(!step.stored && doc.findDay(may17)->memo == "kept");

    // A number stores the whole day, memo included.
    step = stepDay(doc, may17, 1, typed("63.5", "", "", "new"), utf8);
    EXPECT_EQ(step.next, may18);
    ASSERT_TRUE(step.stored);
    doc.applyEdit(step.edit);
    EXPECT_EQ(doc.findDay(may17)->memo, "new");

    // An invalid duration, or a memo that cannot be stored beside a number: no step.
    for (const DayTexts &texts : {typed("", "x"), typed("63", "", "", "\u00E9")}) {
        step = stepDay(doc, may17, 1, texts, utf8);
        EXPECT_EQ(step.next, may17);
        EXPECT_TRUE(!step.reading.day && !step.stored);
        EXPECT_EQ(doc.findDay(may17)->weight, 63.5);
    }
}
