#include "advisor/advisormessage.h"

#include "journal/cquilloxdoc.h"

#include <gtest/gtest.h>

#include <clocale>
#include <ostream>
#include <string>
#include <vector>

namespace {

using std::chrono::days;

const std::string encouragement = "ダイエットがんばってね（モキュッ）";

struct Day {
    Date date{};
    double weight = 0;
    double fatPercent = 0;
    double jogDistance = 0;
    double jogDuration = 0;
    double walkDuration = 0;
};

void add(CQuilloxDoc &doc, const Day &d)
{
    doc.setDay(d.date, "memo", d.weight, d.fatPercent, d.jogDistance, d.jogDuration, 0,
               d.walkDuration);
}

// Failures name the table row instead of dumping its bytes.
template <typename Case>
requires requires(const Case &c)
{
    c.name;
}
void PrintTo(const Case &c, std::ostream *os)
{
    *os << c.name;
}

RandomSource always(int value)
{
    return [value] { return value; };
}

// The lines about the selected day itself: everything before the seven-day
// heading, none when the message is the bare encouragement.
std::string dayLines(const std::string &message)
{
    if (message == encouragement)
        return {};
    const std::size_t heading = message.find("日から");
    if (heading == std::string::npos)
        return message;
    return message.substr(0, message.rfind("\r\n", heading));
}

TEST(AdvisorMessage, emptyJournalAndProfileGiveOnlyTheEncouragement)
{
    CQuilloxDoc doc;
    const Date today = makeDate(2002, 6, 30);
    for (const Date selected : {today, today - days{1}, today + days{3}})
        EXPECT_EQ(composeAdvisorMessage(doc, selected, today, always(0)), encouragement);
}

struct DayCase {
    const char *name;
    bool male;
    double height;
    Day entry;
    double targetWeight;
    double targetFat;
    std::string expected;
};

class AdvisorDayLines : public ::testing::TestWithParam<DayCase> {};

TEST_P(AdvisorDayLines, followTheSelectedDaysEntry)
{
    const DayCase &c = GetParam();
    CQuilloxDoc doc;
    doc.userInfo.sex = c.male;
    doc.userInfo.height = c.height;
    doc.objective.weight = c.targetWeight;
    doc.objective.fatPercent = c.targetFat;
    const Date selected = makeDate(2002, 6, 30);
    Day entry = c.entry;
    entry.date = selected;
    add(doc, entry);
    const std::string message =
        composeAdvisorMessage(doc, selected, selected + days{30}, always(0));
    EXPECT_EQ(dayLines(message), c.expected) << c.name;
}

// At a height of 100 cm the body-mass index equals the weight exactly.
INSTANTIATE_TEST_SUITE_P(
    Table, AdvisorDayLines,
    ::testing::Values(
        DayCase{"male 20 is too thin",
                true,
                100,
                {.weight = 20},
                0,
                0,
                "体重 20.00kg のBMI値は 20.00、やせすぎだよ。\r\n"},
        DayCase{"male above 20",
                true,
                100,
                {.weight = 20.01},
                0,
                0,
                "体重 20.01kg のBMI値は 20.01、適正体重だよ。\r\n"},
        DayCase{"male below 26",
                true,
                100,
                {.weight = 25.99},
                0,
                0,
                "体重 25.99kg のBMI値は 25.99、適正体重だよ。\r\n"},
        DayCase{"male 26",
                true,
                100,
                {.weight = 26},
                0,
                0,
                "体重 26.00kg のBMI値は 26.00、すこし肥満だよ。\r\n"},
        DayCase{"male 30",
                true,
                100,
                {.weight = 30},
                0,
                0,
                "体重 30.00kg のBMI値は 30.00、肥満度Ⅱだよ。\r\n"},
        DayCase{"35",
                true,
                100,
                {.weight = 35},
                0,
                0,
                "体重 35.00kg のBMI値は 35.00、肥満度Ⅲだよ。\r\n"},
        DayCase{"below 40",
                true,
                100,
                {.weight = 39.99},
                0,
                0,
                "体重 39.99kg のBMI値は 39.99、肥満度Ⅲだよ。\r\n"},
        DayCase{"male 40",
                true,
                100,
                {.weight = 40},
                0,
                0,
                "体重 40.00kg のBMI値は 40.00、肥満度Ⅳだよ。\r\n"},
        DayCase{"female 19",
                false,
                100,
                {.weight = 19},
                0,
                0,
                "体重 19.00kg のBMI値は 19.00、やせすぎだよ。\r\n"},
        DayCase{"female above 19",
                false,
                100,
                {.weight = 19.01},
                0,
                0,
                "体重 19.01kg のBMI値は 19.01、適正体重だよ。\r\n"},
        DayCase{"female 20 is a male's too thin",
                false,
                100,
                {.weight = 20},
                0,
                0,
                "体重 20.00kg のBMI値は 20.00、適正体重だよ。\r\n"},
        DayCase{"female 25",
                false,
                100,
                {.weight = 25},
                0,
                0,
                "体重 25.00kg のBMI値は 25.00、すこし肥満だよ。\r\n"},
        DayCase{"narrow numbers are padded to five",
                true,
                100,
                {.weight = 9.5},
                0,
                0,
                "体重  9.50kg のBMI値は  9.50、やせすぎだよ。\r\n"},
        DayCase{"every line, targets above",
                true,
                170,
                {.weight = 65.5, .fatPercent = 22},
                63,
                20.5,
                "体重 65.50kg のBMI値は 22.66、適正体重だよ。\r\n"
                "脂肪量は 14.41kg、除脂肪量は 51.09kg だよ。\r\n"
                "目標体重まで、あと  2.50kg だよ。\r\n"
                "目標体脂肪率まで、あと  1.50% だよ。\r\n"},
        DayCase{"height 0 keeps the mass line",
                true,
                0,
                {.weight = 60, .fatPercent = 25},
                0,
                0,
                "脂肪量は 15.00kg、除脂肪量は 45.00kg だよ。\r\n"},
        DayCase{"targets reached exactly",
                true,
                0,
                {.weight = 60, .fatPercent = 25},
                60,
                25,
                "脂肪量は 15.00kg、除脂肪量は 45.00kg だよ。\r\n"},
        DayCase{"targets passed",
                true,
                0,
                {.weight = 59, .fatPercent = 24},
                60,
                25,
                "脂肪量は 14.16kg、除脂肪量は 44.84kg だよ。\r\n"},
        DayCase{"body fat without weight",
                true,
                170,
                {.fatPercent = 25},
                60,
                20,
                "目標体脂肪率まで、あと  5.00% だよ。\r\n"},
        DayCase{"an entry of walking only", true, 170, {.walkDuration = 600}, 60, 20, ""}));

struct WeekCase {
    const char *name;
    Date selected;
    std::vector<Day> entries;
    std::string expected;
};

class AdvisorWeekSummary : public ::testing::TestWithParam<WeekCase> {};

TEST_P(AdvisorWeekSummary, coversTheSevenDaysUpToTheSelectedDay)
{
    const WeekCase &c = GetParam();
    CQuilloxDoc doc;
    for (const Day &entry : c.entries)
        add(doc, entry);
    EXPECT_EQ(composeAdvisorMessage(doc, c.selected, makeDate(2002, 8, 31), always(0)), c.expected)
        << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, AdvisorWeekSummary,
    ::testing::Values(WeekCase{"energy, fat grams and the hours form",
                               makeDate(2002, 6, 30),
                               {{makeDate(2002, 6, 23), 80, 0, 100, 9000},
                                {makeDate(2002, 6, 24), 60, 0, 4, 1800},
                                {makeDate(2002, 6, 30), 60, 0, 6, 1925},
                                {makeDate(2002, 7, 1), 80, 0, 100, 9000}},
                               "\r\n24日から30日までの\r\n"
                               "　　平均体重は 60.00kg だよ。\r\n"
                               "　　走距離は 10.00km だよ。\r\n"
                               "　　（消費カロリーは約 600.00kcal、脂肪 83g 分だよ。）\r\n"
                               "　　走時間は 1:02'05\" だよ。\r\n"},
                      WeekCase{"distance without weight, selected day without entry",
                               makeDate(2002, 6, 30),
                               {{makeDate(2002, 6, 28), 0, 0, 2.5, 725}},
                               "\r\n24日から30日までの\r\n"
                               "　　走距離は  2.50km だよ。\r\n"
                               "　　走時間は 12'05\" だよ。\r\n"},
                      WeekCase{"window across the end of February",
                               makeDate(2001, 3, 3),
                               {{makeDate(2001, 2, 24), 90, 30}, {makeDate(2001, 2, 25), 70, 20}},
                               "\r\n25日から3日までの\r\n"
                               "　　平均体重は 70.00kg だよ。\r\n"
                               "　　平均体脂肪率は 20.00% だよ。\r\n"},
                      WeekCase{"means over the days with a value",
                               makeDate(2002, 6, 30),
                               {{makeDate(2002, 6, 25), 60},
                                {makeDate(2002, 6, 26)},
                                {makeDate(2002, 6, 27), 62}},
                               "\r\n24日から30日までの\r\n"
                               "　　平均体重は 61.00kg だよ。\r\n"},
                      WeekCase{"walking only says nothing",
                               makeDate(2002, 6, 30),
                               {{.date = makeDate(2002, 6, 29), .walkDuration = 1200}},
                               encouragement}));

TEST(AdvisorMessage, absurdFiguresGiveClampedNumbersInsteadOfUndefinedOnes)
{
    CQuilloxDoc doc;
    const Date day = makeDate(2002, 6, 30);
    add(doc, {day, 60, 0, 1e308, 0});
    add(doc, {day - days{1}, 60, 0, 1e308, 0});
    const std::string message = composeAdvisorMessage(doc, day, day + days{1}, always(0));
    EXPECT_NE(message.find("約   infkcal、脂肪 2147483647g 分"), std::string::npos) << message;
}

TEST(AdvisorMessage, numbersKeepTheirPointInACommaLocale)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.utf8"))
        GTEST_SKIP() << "no German locale";
    CQuilloxDoc doc;
    const Date day = makeDate(2002, 6, 30);
    add(doc, {day, 62.5});
    const std::string message = composeAdvisorMessage(doc, day, day, always(0));
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_NE(message.find("平均体重は 62.50kg"), std::string::npos) << message;
}

struct TodayCase {
    const char *name;
    Date today;
    int firstEntryDaysAgo; // -1 for an empty journal
    int newestActiveDaysAgo;
    int activeDays;
    int randomValue;
    std::string expected;
};

class AdvisorActivity : public ::testing::TestWithParam<TodayCase> {};

// Walking alone never shows in the seven-day summary, so these messages hold
// only the activity remark.
TEST_P(AdvisorActivity, judgesTheLastFourteenDaysOnceTheJournalIsThatOld)
{
    const TodayCase &c = GetParam();
    CQuilloxDoc doc;
    if (c.firstEntryDaysAgo >= 0)
        add(doc, {c.today - days{c.firstEntryDaysAgo}});
    for (int i = 0; i < c.activeDays; ++i)
        add(doc, {.date = c.today - days{c.newestActiveDaysAgo + i}, .walkDuration = 900});
    EXPECT_EQ(composeAdvisorMessage(doc, c.today, c.today, always(c.randomValue)), c.expected)
        << c.name;
    // On another day than today nothing is said about recent activity.
    EXPECT_EQ(composeAdvisorMessage(doc, c.today - days{1}, c.today, always(c.randomValue)),
              encouragement)
        << c.name;
}

const std::string praise = "\r\n最近は Jog/Walking よく頑張ってるね～\r\n"
                           "この調子でがんばってね（モキュッ）\r\n";
const std::string absence = "\r\n最近は Jog/Walking ごぶさたしてるね～\r\n";

INSTANTIATE_TEST_SUITE_P(
    Table, AdvisorActivity,
    ::testing::Values(
        TodayCase{"13 days of history", makeDate(2002, 6, 30), 13, 0, 10, 0, encouragement},
        TodayCase{"14 days, 10 active", makeDate(2002, 6, 30), 14, 0, 10, 0, praise},
        TodayCase{"14 days, 9 active", makeDate(2002, 6, 30), 14, 0, 9, 0, encouragement},
        TodayCase{"oldest active day 13 days ago counts", makeDate(2002, 6, 30), 40, 4, 10, 0,
                  praise},
        TodayCase{"14 days ago is outside", makeDate(2002, 6, 30), 40, 5, 10, 0, encouragement},
        TodayCase{"no activity, draw 0", makeDate(2002, 3, 1), 14, 0, 0, 0, absence},
        TodayCase{"no activity, draw 3", makeDate(2002, 3, 1), 30, 0, 0, 3, absence},
        TodayCase{"no activity, draw 1", makeDate(2002, 3, 1), 14, 0, 0, 1, encouragement},
        TodayCase{"no activity, draw 2", makeDate(2002, 3, 1), 14, 0, 0, 2, encouragement},
        TodayCase{"empty journal", makeDate(2002, 3, 1), -1, 0, 0, 0, encouragement}));

// "ホノルル表参道" in code page 932; 表 ends in a backslash byte.
const char *const eventNameCp932 = "\x83\x7a\x83\x6d\x83\x8b\x83\x8b\x95\x5c\x8e\x51\x93\xb9";

TEST(AdvisorMessage, countdownNamesTheEventUntilItsDay)
{
    const struct {
        const char *eventName;
        int daysAhead;
        std::string expected;
    } cases[] = {
        {eventNameCp932, 1, "\r\n「ホノルル表参道」まで、あと1日だよ。\r\n"},
        {eventNameCp932, 365, "\r\n「ホノルル表参道」まで、あと365日だよ。\r\n"},
        {eventNameCp932, 0, encouragement},
        {eventNameCp932, -5, encouragement},
        {"", 10, encouragement},
    };
    const Date today = makeDate(2002, 6, 30);
    for (const auto &c : cases) {
        CQuilloxDoc doc;
        doc.objective.eventName = c.eventName;
        doc.objective.eventDate = today + days{c.daysAhead};
        EXPECT_EQ(composeAdvisorMessage(doc, today, today, always(0)), c.expected) << c.daysAhead;
        EXPECT_EQ(composeAdvisorMessage(doc, today + days{1}, today, always(0)), encouragement);
    }
}

TEST(AdvisorMessage, birthdayIsGreetedOnItsDayOnly)
{
    const struct {
        int birthMonth;
        int birthDay;
        Date today;
        std::string expected;
    } cases[] = {
        {2, 29, makeDate(2004, 2, 29), "今日は24歳のお誕生日だね。\r\nおめでとう（モキュッ）\r\n"},
        {2, 29, makeDate(2003, 2, 28), encouragement},
        {2, 29, makeDate(2003, 3, 1), encouragement},
        {6, 30, makeDate(2002, 6, 30), "今日は22歳のお誕生日だね。\r\nおめでとう（モキュッ）\r\n"},
    };
    for (const auto &c : cases) {
        CQuilloxDoc doc;
        doc.userInfo.birthYear = 1980;
        doc.userInfo.birthMonth = c.birthMonth;
        doc.userInfo.birthDay = c.birthDay;
        EXPECT_EQ(composeAdvisorMessage(doc, c.today, c.today, always(1)), c.expected);
        EXPECT_EQ(composeAdvisorMessage(doc, c.today - days{1}, c.today, always(1)), encouragement);
    }
}

TEST(AdvisorMessage, everyPartInItsOrder)
{
    const Date today = makeDate(2002, 6, 30);
    CQuilloxDoc doc;
    doc.userInfo.birthYear = 1972;
    doc.userInfo.birthMonth = 6;
    doc.userInfo.birthDay = 30;
    doc.userInfo.height = 100;
    doc.objective.eventName = eventNameCp932;
    doc.objective.eventDate = today + days{2};
    for (int i = 0; i <= 14; ++i)
        add(doc, {.date = today - days{i}, .walkDuration = 600});
    add(doc, {today, 22});
    EXPECT_EQ(composeAdvisorMessage(doc, today, today, always(0)),
              "今日は30歳のお誕生日だね。\r\nおめでとう（モキュッ）\r\n"
              "体重 22.00kg のBMI値は 22.00、適正体重だよ。\r\n"
              "\r\n24日から30日までの\r\n"
              "　　平均体重は 22.00kg だよ。\r\n" +
                  praise + "\r\n「ホノルル表参道」まで、あと2日だよ。\r\n");
}

} // namespace
