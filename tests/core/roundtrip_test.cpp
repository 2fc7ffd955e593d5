// Store-and-reload on many generated journals: whatever a user can put into
// the journal must come back from the file, apart from what the format is
// known not to keep (digits beyond six significant ones).

#include "docsetup.h"
#include "journal/cquilloxdoc.h"
#include "text/entrytext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const Date testToday = makeDate(2002, 6, 30);

// Fragments of typed memos, code page 932: ソ and 表 end in the byte of a
// backslash, ｿﾌﾄ is half-width katakana.
const std::array<std::string, 10> memoFragments = {
    "\x83\x5c",                 // ソ
    "\x95\x5c\x8e\x51\x93\xb9", // 表参道
    "\xbf\xcc\xc4",             // ｿﾌﾄ
    "\x89\x4a",                 // 雨
    "\r\n",
    "\n",
    "\t",
    "\\",
    "C:\\shoes",
    "5km jog",
};

// Names and event names are single words in the file.
const std::array<std::string, 4> names = {
    "\x83\x5c\x95\x5c\x91\xbe\x98\x59", // ソ表太郎
    "Taro",
    "\x83\x7a\x83\x6d\x83\x8b\x83\x8b", // ホノルル
    "\xbf\xcc\xc4\x5c",                 // ｿﾌﾄ\ (a real backslash after single bytes)
};

// The value a number has after one trip through the file: "%g" keeps six
// significant digits.
double asStored(double value)
{
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), "%g", value);
    return std::strtod(text.data(), nullptr);
}

class JournalGenerator {
  public:
    explicit JournalGenerator(unsigned seed) : random_(seed) {}

    CQuilloxDoc journal()
    {
        CQuilloxDoc doc;
        GraphSettings settings = doc.graphSettings();
        const std::array<std::int32_t, 6> periods = {7, 35, 70, -1, -12, 30};
        settings.graphNDays = periods[below(periods.size())];
        settings.graphWeight = coin();
        settings.graphFatPercent = coin();
        settings.graphFat = coin();
        settings.graphNotFat = coin();
        settings.graphJogDistance = coin();
        settings.graphJogDuration = coin();
        settings.graphWalkDistance = coin();
        settings.graphWalkDuration = coin();
        settings.yAxisMain = static_cast<std::int32_t>(below(2));
        settings.colorWeight = colour();
        settings.colorFatPercent = colour();
        settings.colorJogDistance = colour();
        settings.colorJogDuration = colour();
        settings.colorWalkDistance = colour();
        settings.colorWalkDuration = colour();
        settings.colorCrntDate = colour();
        settings.colorDivision = colour();
        settings.colorBackGround = colour();
        settings.weightLineType = static_cast<std::int32_t>(below(5));
        settings.fatPcntLineType = static_cast<std::int32_t>(below(5));
        settings.fatLineType = static_cast<std::int32_t>(below(5));
        settings.notFatLineType = static_cast<std::int32_t>(below(5));
        settings.jogDistType = static_cast<std::int32_t>(below(3));
        settings.jogDurType = static_cast<std::int32_t>(below(3));
        settings.walkDistType = static_cast<std::int32_t>(below(3));
        settings.walkDurType = static_cast<std::int32_t>(below(3));
        settings.paperOri = static_cast<std::int16_t>(1 + below(2));

        *graphSettingsOf(doc) = settings;
        doc.setGraphPeriod(settings.graphNDays);

        UserInfo user = doc.userInfo();
        user.name = names[below(names.size())];
        user.birthYear = 1930 + static_cast<int>(below(80));
        user.birthMonth = 1 + static_cast<int>(below(12));
        user.birthDay = 1 + static_cast<int>(below(31)); // 31 February is allowed here
        user.sex = coin();
        user.height = number(1500, 1950);
        user.restBpm = 40 + static_cast<std::int32_t>(below(50));

        *userInfoOf(doc) = user;

        Objective objective = doc.objective();
        objective.intention = static_cast<std::int32_t>(below(7)) - 1;
        objective.weight = number(450, 900);
        objective.fatPercent = number(100, 350);
        objective.jogDistanceMonth = number(0, 3000);
        objective.eventName = coin() ? names[below(names.size())] : std::string();
        objective.eventDate = makeDate(2002, 1, 1) + std::chrono::days{below(3000)};
        *objectiveOf(doc) = objective;

        Date date = makeDate(1970 + static_cast<int>(below(60)), 1, 1);
        const std::size_t dayCount = below(60);
        for (std::size_t i = 0; i < dayCount; ++i) {
            date += std::chrono::days{1 + below(4)};
            putDay(doc, date, memo(), maybe(number(450, 900)), maybe(number(100, 350)),
                   maybe(number(10, 420)), maybe(static_cast<double>(below(20000))),
                   maybe(number(5, 100)), maybe(static_cast<double>(below(20000))));
        }
        return doc;
    }

    // Values with more digits than the file keeps, to check the rounding.
    double longNumber() { return 10.0 + static_cast<double>(random_() % 100000000) / 1e6; }

  private:
    std::size_t below(std::size_t bound) { return random_() % bound; }
    bool coin() { return random_() % 2 == 0; }
    Colour colour() { return random_() % 0x1000000; }
    // Tenths, as typed into the entry form.
    double number(unsigned lowTenths, unsigned highTenths)
    {
        return (lowTenths + random_() % (highTenths - lowTenths + 1)) / 10.0;
    }
    double maybe(double value) { return random_() % 3 == 0 ? 0.0 : value; }

    // A typed memo that does not begin with a blank (the file does not keep
    // leading blanks), in its stored form.
    std::string memo()
    {
        if (random_() % 3 == 0) {
            return {};
        }
        std::string typed = memoFragments[below(memoFragments.size())];
        const std::size_t extra = below(6);
        for (std::size_t i = 0; i < extra; ++i) {
            typed += coin() ? " " : "";
            typed += memoFragments[below(memoFragments.size())];
        }
        return toStoredMemo(typed);
    }

    std::mt19937 random_;
};

void expectSameJournal(const CQuilloxDoc &expected, const CQuilloxDoc &actual)
{
    EXPECT_EQ(expected.graphSettings(), actual.graphSettings());
    EXPECT_EQ(expected.userInfo(), actual.userInfo());
    EXPECT_EQ(expected.objective(), actual.objective());
    ASSERT_EQ(expected.dayList().size(), actual.dayList().size());
    EXPECT_TRUE(
        std::equal(expected.dayList().begin(), expected.dayList().end(), actual.dayList().begin()));
}

std::vector<std::string> splitLines(const std::string &text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::size_t next = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(start, next - start));
        start = next;
    }
    return lines;
}

TEST(JournalRoundTrip, generatedJournalsSurviveStoreAndReload)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const CQuilloxDoc original = JournalGenerator(seed).journal();
        const std::string text = original.journalText();

        CQuilloxDoc reloaded;
        EXPECT_TRUE(reloaded.loadJournalText(text, testToday).empty());
        expectSameJournal(original, reloaded);
        EXPECT_EQ(text, reloaded.journalText());
    }
}

TEST(JournalRoundTrip, memosShowAgainAsTypedAfterReload)
{
    CQuilloxDoc doc;
    const std::string typed = "\x83\x5c\x95\x5c\r\n\tC:\\shoes\r\n\\n is not a line break";
    putDay(doc, makeDate(2002, 5, 12), toStoredMemo(typed + "  \r\n\r\n"), 65.3, 0, 0, 0, 0, 0);

    CQuilloxDoc reloaded;
    reloaded.loadJournalText(doc.journalText(), testToday);
    const DayRecord *day = reloaded.findDay(makeDate(2002, 5, 12));
    ASSERT_NE(day, nullptr);
    EXPECT_EQ(typed, fromStoredMemo(day->memo));
}

TEST(JournalRoundTrip, numbersKeepSixSignificantDigitsAndThenStay)
{
    JournalGenerator generator(7);
    CQuilloxDoc doc;
    std::vector<double> weights;
    for (int i = 0; i < 200; ++i) {
        weights.push_back(generator.longNumber());
        putDay(doc, makeDate(2002, 1, 1) + std::chrono::days{i}, "", weights.back(), 0, 0, 0, 0, 0);
    }

    CQuilloxDoc once;
    once.loadJournalText(doc.journalText(), testToday);
    CQuilloxDoc twice;
    twice.loadJournalText(once.journalText(), testToday);
    for (int i = 0; i < 200; ++i) {
        const Date date = makeDate(2002, 1, 1) + std::chrono::days{i};
        ASSERT_NE(once.findDay(date), nullptr);
        ASSERT_NE(twice.findDay(date), nullptr);
        EXPECT_EQ(asStored(weights[static_cast<std::size_t>(i)]), once.findDay(date)->weight);
        EXPECT_EQ(once.findDay(date)->weight, twice.findDay(date)->weight);
    }
}

TEST(JournalRoundTrip, dayLinesInAnyOrderLoadTheSameJournal)
{
    const CQuilloxDoc original = JournalGenerator(11).journal();
    ASSERT_FALSE(original.dayList().empty());
    std::vector<std::string> lines = splitLines(original.journalText());
    const auto dataHeader = std::find(lines.begin(), lines.end(), "[data]\r\n");
    ASSERT_NE(dataHeader, lines.end());

    std::mt19937 random(3);
    std::shuffle(std::next(dataHeader), lines.end(), random);
    std::string shuffled;
    for (const std::string &line : lines) {
        shuffled += line;
    }
    CQuilloxDoc reloaded;
    reloaded.loadJournalText(shuffled, testToday);
    expectSameJournal(original, reloaded);
    EXPECT_EQ(original.journalText(), reloaded.journalText());
}

TEST(JournalRoundTrip, fileOnDiskHoldsExactlyTheJournalText)
{
    std::string directory =
        (std::filesystem::temp_directory_path() / "zph-roundtrip-XXXXXX").string();
    ASSERT_NE(mkdtemp(directory.data()), nullptr);
    const std::string path = (std::filesystem::path(directory) / "zph0001.txt").string();

    CQuilloxDoc original = JournalGenerator(23).journal();
    const JournalStoreResult stored = original.writeJournal(path);
    ASSERT_TRUE(stored.written) << stored.error;

    std::ifstream file(path, std::ios::binary);
    const std::string onDisk{std::istreambuf_iterator<char>(file), {}};
    EXPECT_EQ(original.journalText(), onDisk);

    CQuilloxDoc reloaded;
    const JournalLoadResult loaded = reloaded.readJournal(path, testToday);
    EXPECT_TRUE(loaded.opened) << loaded.error;
    expectSameJournal(original, reloaded);

    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
}

} // namespace
