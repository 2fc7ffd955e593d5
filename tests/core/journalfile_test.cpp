// The journal file: the exact bytes written, every rule of the reader, the
// promises kept on damaged input, and what a failed store leaves on disk.

#include "docsetup.h"
#include "journal/cquilloxdoc.h"

#include "testfiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using testfiles::readFile;
using testfiles::TempDir;
using testfiles::writeFile;

const Date fixedEventDate = makeDate(2002, 6, 30);

// Test inputs are written with LF; the file itself ends lines with CR LF.
std::string crlf(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\n') {
            out.push_back('\r');
        }
        out.push_back(c);
    }
    return out;
}

CQuilloxDoc loadedFrom(std::string_view text)
{
    CQuilloxDoc doc;
    doc.loadJournalText(text, fixedEventDate);
    return doc;
}

// The settings section of a journal holding only the given lines.
CQuilloxDoc withSettings(const std::string &lines)
{
    return loadedFrom("[settings]\n" + lines);
}

const DayRecord &dayAt(const CQuilloxDoc &doc, int year, int month, int day)
{
    const DayRecord *entry = doc.findDay(makeDate(year, month, day));
    if (entry == nullptr) {
        throw std::runtime_error("no entry for the day");
    }
    return *entry;
}

void expectSameDocument(const CQuilloxDoc &a, const CQuilloxDoc &b)
{
    EXPECT_EQ(a.graphSettings(), b.graphSettings());
    EXPECT_EQ(a.userInfo(), b.userInfo());
    EXPECT_EQ(a.objective(), b.objective());
    EXPECT_EQ(a.dayList(), b.dayList());
}

// ---------------------------------------------------------------- writing

TEST(JournalWriter, allDefaultsJournalMatchesGoldenFile)
{
    CQuilloxDoc doc;
    objectiveOf(doc)->eventDate = fixedEventDate;
    EXPECT_EQ(doc.journalText(), readFile(ZPH_TEST_DATA_DIR "/journal_defaults.txt"));
}

TEST(JournalWriter, exampleDayMatchesGoldenFile)
{
    CQuilloxDoc doc;
    objectiveOf(doc)->eventDate = fixedEventDate;
    putDay(doc, makeDate(2002, 5, 12), "", 65.3, 22.5, 5, 1800, 0, 0);
    const std::string text = doc.journalText();
    EXPECT_EQ(text, readFile(ZPH_TEST_DATA_DIR "/journal_20020512.txt"));
    EXPECT_TRUE(text.ends_with("[data]\r\n2002/05/12\t65.3\t22.5\t5\t1800\t0\t0\t\r\n"));
}

TEST(JournalWriter, goldenFilesReadBackToTheSameBytes)
{
    for (const char *name : {"/journal_defaults.txt", "/journal_20020512.txt"}) {
        const std::string golden = readFile(std::string(ZPH_TEST_DATA_DIR) + name);
        CQuilloxDoc doc;
        EXPECT_TRUE(doc.loadJournalText(golden, fixedEventDate).empty());
        EXPECT_EQ(doc.journalText(), golden) << name;
    }
}

TEST(JournalWriter, numbersAreWrittenLikePercentG)
{
    const std::pair<double, const char *> cases[] = {
        {0, "0"},
        {65.5, "65.5"},
        {70.0, "70"},
        {0.1, "0.1"},
        {42.195, "42.195"},
        {123.4567, "123.457"},
        {1e6, "1e+06"},
        {999999, "999999"},
        {0.0001, "0.0001"},
        {0.00001, "1e-05"},
        {-2.5, "-2.5"},
        {DBL_MAX, "1.79769e+308"},
        {-0.0, "-0"},
        {std::numeric_limits<double>::infinity(), "1.79769e+308"},
        {std::nan(""), "0"},
    };
    for (const auto &[value, written] : cases) {
        CQuilloxDoc doc;
        // From a height of 1: an edit from 0 to -0 would change nothing.
        userInfoOf(doc)->height = 1;
        userInfoOf(doc)->height = value;
        EXPECT_NE(doc.journalText().find(crlf("height = " + std::string(written) + "\n")),
                  std::string::npos)
            << written;
    }
}

// The writer formats the common numbers by hand; whatever the value, the
// text must be the one printf gives in the C locale.
TEST(JournalWriter, numbersMatchPrintfOverManyValues)
{
    std::mt19937_64 random(65);
    std::vector<double> values = {1.0000005,  2.5000005, 9.9999995, 99999.95, 999999.5,
                                  0.99999995, 123456.5,  65.25,     1e-5,     5e-324};
    for (int i = 0; i < 20000; ++i) {
        const int decimals = static_cast<int>(random() % 9);
        const double whole = static_cast<double>(random() % 2'000'000);
        double value = whole / std::pow(10.0, decimals);
        if (i % 4 == 0) {
            // Halfway cases of the seventh digit.
            value = (std::floor(value * 1e6) + 0.5) / 1e6;
        }
        values.push_back(i % 3 == 0 ? -value : value);
    }
    for (const double value : values) {
        CQuilloxDoc doc;
        userInfoOf(doc)->height = value;
        char expected[64];
        std::snprintf(expected, sizeof expected, "\r\nheight = %g\r\n", value);
        ASSERT_NE(doc.journalText().find(expected), std::string::npos) << expected;
    }
}

TEST(JournalWriter, valuesOfEveryKindAreWrittenInTheirFormats)
{
    CQuilloxDoc doc;
    graphSettingsOf(doc)->colorWeight = 0xff;
    graphSettingsOf(doc)->colorBackGround = 0x12abcdef;
    graphSettingsOf(doc)->paperOri = -3;
    doc.setGraphPeriod(-12);
    userInfoOf(doc)->birthYear = 980;
    userInfoOf(doc)->birthMonth = 5;
    userInfoOf(doc)->birthDay = 3;
    userInfoOf(doc)->sex = false;
    // An LF must not open a line of its own.
    userInfoOf(doc)->name = "two\nlines";
    putDay(doc, makeDate(2002, 5, 12), "memo\nwith [data] inside", 1, 2, 3, 4, 5, 6);
    const std::string text = doc.journalText();
    for (const char *line :
         {"colorWeight = 0x0000ff\n", "colorBackGround = 0x12abcdef\n", "paperOri = -3\n",
          "graphNDays = -12\n", "birthday =  980/05/03\n", "sex = female\n", "name = two lines\n",
          "2002/05/12\t1\t2\t3\t4\t5\t6\tmemo with [data] inside\n"}) {
        EXPECT_NE(text.find(crlf(line)), std::string::npos) << line;
    }
}

TEST(JournalWriter, numbersDoNotFollowTheUsersLocale)
{
    const char *commaLocales[] = {"de_DE.UTF-8", "fr_FR.UTF-8", "ja_JP.UTF-8", "de_DE", "fr_FR"};
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    const char *chosen = nullptr;
    for (const char *name : commaLocales) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            chosen = name;
            break;
        }
    }
    if (chosen == nullptr) {
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    CQuilloxDoc doc;
    putDay(doc, makeDate(2002, 5, 12), "", 65.3, 22.5, 0, 0, 0, 0);
    const std::string text = doc.journalText();
    const CQuilloxDoc reread = loadedFrom(text);
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_NE(text.find("\t65.3\t22.5\t"), std::string::npos) << chosen;
    EXPECT_EQ(dayAt(reread, 2002, 5, 12).weight, 65.3);
}

TEST(JournalWriter, journalFileNameIsZeroPaddedToFourDigits)
{
    EXPECT_EQ(CQuilloxDoc::journalFileName(1), "zph0001.txt");
    EXPECT_EQ(CQuilloxDoc::journalFileName(0), "zph0000.txt");
    EXPECT_EQ(CQuilloxDoc::journalFileName(12345), "zph12345.txt");
    EXPECT_EQ(CQuilloxDoc::journalFileName(-1), "zph-001.txt");
}

// ---------------------------------------------------------------- reading

TEST(JournalReader, headerLineIsOptionalAndItsVersionIsIgnored)
{
    const std::string day = "2002/05/12\t65\t0\t0\t0\t0\t0\t\n";
    EXPECT_NE(loadedFrom(day).findDay(makeDate(2002, 5, 12)), nullptr);
    EXPECT_NE(loadedFrom("# quillox file ver 7\n" + day).findDay(makeDate(2002, 5, 12)), nullptr);
    // Only the first line can be the header.
    EXPECT_EQ(loadedFrom(day + "# quillox file ver 2\n").dayList().size(), 1u);
}

TEST(JournalReader, linesBeforeTheFirstSectionAreDayLines)
{
    const CQuilloxDoc doc = loadedFrom("# quillox file ver 2\n"
                                       "2002/05/12\t65\t0\t0\t0\t0\t0\t\n"
                                       "[settings]\n"
                                       "graphNDays = 14\n");
    EXPECT_EQ(dayAt(doc, 2002, 5, 12).weight, 65);
    EXPECT_EQ(doc.graphSettings().graphNDays, 14);
}

TEST(JournalReader, sectionsMayComeInAnyOrderAndRepeat)
{
    const CQuilloxDoc doc = loadedFrom("[data]\n"
                                       "2002/05/13\t1\t0\t0\t0\t0\t0\t\n"
                                       "[objective]\n"
                                       "weight = 60\n"
                                       "[settings]\n"
                                       "graphNDays = 7\n"
                                       "[data]\n"
                                       "2002/05/12\t2\t0\t0\t0\t0\t0\t\n"
                                       "[userInfo]\n"
                                       "restBpm = 50\n"
                                       "[settings]\n"
                                       "yAxisMain = 3\n");
    EXPECT_EQ(doc.dayList().size(), 2u);
    EXPECT_EQ(doc.objective().weight, 60);
    EXPECT_EQ(doc.graphSettings().graphNDays, 7);
    EXPECT_EQ(doc.graphSettings().yAxisMain, 3);
    EXPECT_EQ(doc.userInfo().restBpm, 50);
}

TEST(JournalReader, sectionLineIsRecognisedByItsPrefixOnly)
{
    const CQuilloxDoc doc = loadedFrom("[settings]junk after the name\n"
                                       "graphNDays = 14\n"
                                       "[other]\n"
                                       "yAxisMain = 2\n"
                                       "[Data]\n"
                                       "jogDistType = 2\n");
    EXPECT_EQ(doc.graphSettings().graphNDays, 14);
    EXPECT_EQ(doc.graphSettings().yAxisMain, 2);
    EXPECT_EQ(doc.graphSettings().jogDistType, 2);
    EXPECT_TRUE(doc.dayList().empty());
}

TEST(JournalReader, settingNeedsExactlyOneSpaceAfterTheEqualsSign)
{
    EXPECT_TRUE(withSettings("graphWeight=0\n").graphSettings().graphWeight);
    EXPECT_TRUE(withSettings("graphWeight =0\n").graphSettings().graphWeight);
    EXPECT_TRUE(withSettings("graphWeight =\t0\n").graphSettings().graphWeight);
    EXPECT_TRUE(withSettings("graphWeight = 0\ngraphWeight =   1\n").graphSettings().graphWeight);
    EXPECT_TRUE(withSettings("  graphFat \t= \t1\n").graphSettings().graphFat);
    EXPECT_FALSE(withSettings("\tgraphFat = 1\n").graphSettings().graphFat);
    EXPECT_FALSE(withSettings("GraphFat = 1\n").graphSettings().graphFat);
    EXPECT_FALSE(withSettings("# graphFat = 1\n").graphSettings().graphFat);
}

TEST(JournalReader, booleanIsTrueOnlyForASingleOne)
{
    EXPECT_TRUE(withSettings("graphFat = 1\n").graphSettings().graphFat);
    EXPECT_TRUE(withSettings("graphFat = 1 trailing words\n").graphSettings().graphFat);
    for (const char *value : {"2", "01", "true", "1x", ""}) {
        EXPECT_FALSE(
            withSettings(std::string("graphWeight = ") + value + "\n").graphSettings().graphWeight)
            << value;
    }
}

TEST(JournalReader, coloursReadAsHexOrDecimal)
{
    const std::pair<const char *, Colour> cases[] = {
        {"0XFF", 255},
        {"0xff", 255},
        {"255", 255},
        {"0x00ABcd", 0xabcd},
        {"0xzz", 0},
        {"0x12g4", 0x12},
        {"junk", 0},
        {"-1", 0xffffffff},
        {"0x123456789", 0xffffffff},
        {"99999999999", 0xffffffff},
    };
    for (const auto &[value, colour] : cases) {
        EXPECT_EQ(
            withSettings(std::string("colorWeight = ") + value + "\n").graphSettings().colorWeight,
            colour)
            << value;
    }
}

TEST(JournalReader, integersReadTheLeadingNumberAndSaturate)
{
    const std::pair<const char *, std::int32_t> cases[] = {
        {"14", 14},
        {"+7", 7},
        {"-3", -3},
        {"12days", 12},
        {"days", 0},
        {"", 0},
        {"99999999999", std::numeric_limits<std::int32_t>::max()},
        {"-99999999999", std::numeric_limits<std::int32_t>::min()},
    };
    for (const auto &[value, number] : cases) {
        EXPECT_EQ(
            withSettings(std::string("graphNDays = ") + value + "\n").graphSettings().graphNDays,
            number)
            << value;
    }
}

TEST(JournalReader, paperOriKeepsTheLow16BitsAsASignedValue)
{
    const std::pair<const char *, std::int16_t> cases[] = {
        {"1", 1}, {"65537", 1}, {"32768", -32768}, {"-1", -1}, {"65535", -1},
    };
    for (const auto &[value, orientation] : cases) {
        EXPECT_EQ(withSettings(std::string("paperOri = ") + value + "\n").graphSettings().paperOri,
                  orientation)
            << value;
    }
}

TEST(JournalReader, decimalNumbersReadTheLeadingNumberWithoutInfinityOrNan)
{
    const std::pair<const char *, double> cases[] = {
        {"172.5", 172.5},
        {"172.5cm", 172.5},
        {".5", 0.5},
        {"5.", 5},
        {"+2.5", 2.5},
        {"-0.25", -0.25},
        {"1e3", 1000},
        {"1.5E-2", 0.015},
        {"1e", 1},
        {"1e+", 1},
        {"inf", 0},
        {"nan", 0},
        {"0x10", 0},
        {".", 0},
        {"-", 0},
        {"1e999", DBL_MAX},
        {"-1e999", -DBL_MAX},
        {"1e-999", 0},
        {"123456789e305", DBL_MAX},
        {"0.000000001e-320", 0},
    };
    for (const auto &[value, number] : cases) {
        const double height =
            loadedFrom(std::string("[userInfo]\nheight = ") + value + "\n").userInfo().height;
        EXPECT_EQ(height, number) << value;
        EXPECT_TRUE(std::isfinite(height)) << value;
    }
}

// The reader converts short numbers itself; every result must be the
// correctly rounded double that strtod gives in the C locale.
TEST(JournalReader, numbersMatchStrtodOverManyTexts)
{
    std::mt19937_64 random(12);
    const auto digits = [&](int count) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            text.push_back(static_cast<char>('0' + random() % 10));
        }
        return text;
    };
    for (int i = 0; i < 20000; ++i) {
        std::string text = digits(1 + static_cast<int>(random() % 12));
        if (random() % 2 == 0) {
            text += "." + digits(static_cast<int>(random() % 12));
        }
        if (random() % 4 == 0) {
            text += "e" + std::to_string(static_cast<int>(random() % 60) - 30);
        }
        if (random() % 3 == 0) {
            text = "-" + text;
        }
        const double height = loadedFrom("[userInfo]\nheight = " + text + "\n").userInfo().height;
        ASSERT_EQ(height, std::strtod(text.c_str(), nullptr)) << text;
    }
}

TEST(JournalReader, birthdayPartsThatDoNotParseKeepTheirValue)
{
    struct Case {
        const char *value;
        int year, month, day;
    };
    const Case cases[] = {
        {"1975/06/07", 1975, 6, 7},  {" 980/01/02", 980, 1, 2},
        {"1975/6/7", 1975, 6, 7},    {"1975/13", 1975, 13, 1},
        {"1975-06-07", 1975, 1, 1},  {"12345/06/07", 1234, 1, 1},
        {"1975/123/4", 1975, 12, 1}, {"-5/+1/-2", -5, 1, -2},
        {"abc", 1980, 1, 1},         {"", 1980, 1, 1},
    };
    for (const Case &c : cases) {
        const UserInfo info =
            loadedFrom(std::string("[userInfo]\nbirthday = ") + c.value + "\n").userInfo();
        EXPECT_EQ(info.birthYear, c.year) << c.value;
        EXPECT_EQ(info.birthMonth, c.month) << c.value;
        EXPECT_EQ(info.birthDay, c.day) << c.value;
    }
}

TEST(JournalReader, sexIsMaleOnlyForTheExactWord)
{
    EXPECT_TRUE(loadedFrom("[userInfo]\nsex = male\n").userInfo().sex);
    EXPECT_FALSE(loadedFrom("[userInfo]\nsex = female\n").userInfo().sex);
    EXPECT_FALSE(loadedFrom("[userInfo]\nsex = Male\n").userInfo().sex);
    EXPECT_FALSE(loadedFrom("[userInfo]\nsex = \n").userInfo().sex);
}

TEST(JournalReader, keysBelongToTheirOwnSectionAndTheLastOneWins)
{
    const CQuilloxDoc doc = loadedFrom("[settings]\n"
                                       "restBpm = 45\n"
                                       "graphNDays = 14\n"
                                       "graphNDays = 21\n"
                                       "[userInfo]\n"
                                       "weight = 50\n"
                                       "restBpm = 55\n"
                                       "[objective]\n"
                                       "intention = 2\n"
                                       "[userInfo]\n"
                                       "restBpm = 58\n");
    EXPECT_EQ(doc.graphSettings().graphNDays, 21);
    EXPECT_EQ(doc.userInfo().restBpm, 58);
    EXPECT_EQ(doc.objective().weight, 0);
    EXPECT_EQ(doc.objective().intention, 2);
}

TEST(JournalReader, dayLineWordsAreSeparatedByRunsOfBlanksAndTabs)
{
    const CQuilloxDoc doc =
        loadedFrom("2002/05/12\t\t65.3  22.5\t \t5\t1800\t0\t0\tmemo\tand  more \n"
                   "  2002/05/13 70\n"
                   "2002/05/14\t65\t\t22\n"
                   "2002/05/15\t1\t2\t3\t4\t5\t6\t\t  \x83\\\n");
    const DayRecord &full = dayAt(doc, 2002, 5, 12);
    EXPECT_EQ(full.weight, 65.3);
    EXPECT_EQ(full.fatPercent, 22.5);
    EXPECT_EQ(full.jogDistance, 5);
    EXPECT_EQ(full.jogDuration, 1800);
    EXPECT_EQ(full.memo, "memo\tand  more ");

    const DayRecord &short_ = dayAt(doc, 2002, 5, 13);
    EXPECT_EQ(short_.weight, 70);
    EXPECT_EQ(short_.fatPercent, 0);
    EXPECT_EQ(short_.walkDuration, 0);
    EXPECT_EQ(short_.memo, "");

    // An empty field between two TABs shifts the following value left.
    EXPECT_EQ(dayAt(doc, 2002, 5, 14).fatPercent, 22);
    EXPECT_EQ(dayAt(doc, 2002, 5, 15).memo, "\x83\\"); // ソ
}

TEST(JournalReader, laterLineForTheSameDateWinsCompletely)
{
    const CQuilloxDoc doc = loadedFrom("2002/05/12\t65\t20\t5\t1800\t0\t0\tfirst\n"
                                       "2002/05/11\t64\t0\t0\t0\t0\t0\t\n"
                                       "2002/05/12\t66\t0\t0\t0\t0\t0\t\n");
    const DayRecord &day = dayAt(doc, 2002, 5, 12);
    EXPECT_EQ(day.weight, 66);
    EXPECT_EQ(day.fatPercent, 0);
    EXPECT_EQ(day.jogDuration, 0);
    EXPECT_EQ(day.memo, "");
    EXPECT_EQ(doc.dayList().size(), 2u);
}

TEST(JournalReader, readingInAnyOrderEqualsSetDayLineByLine)
{
    std::mt19937 random(7);
    std::vector<std::string> lines;
    CQuilloxDoc expected;
    for (int i = 0; i < 400; ++i) {
        const Date date = makeDate(2002, 1, 1) + std::chrono::days(random() % 150);
        const double weight = 50 + random() % 30;
        const std::string memo = "m" + std::to_string(i);
        lines.push_back(formatDate(date) + "\t" + std::to_string(static_cast<int>(weight)) +
                        "\t0\t0\t0\t0\t0\t" + memo + "\n");
        putDay(expected, date, memo, weight, 0, 0, 0, 0, 0);
    }
    std::string text;
    for (const auto &line : lines) {
        text += line;
    }
    EXPECT_EQ(loadedFrom(text).dayList(), expected.dayList());

    std::string reversed;
    for (auto it = expected.dayList().rbegin(); it != expected.dayList().rend(); ++it) {
        reversed += formatDate(it->first) + "\t" +
                    std::to_string(static_cast<int>(it->second.weight)) + "\t0\t0\t0\t0\t0\t" +
                    it->second.memo + "\n";
    }
    EXPECT_EQ(loadedFrom(reversed).dayList(), expected.dayList());
}

TEST(JournalReader, crBeforeLfIsDroppedButOtherCrsAreKept)
{
    const CQuilloxDoc doc = loadedFrom("[userInfo]\r\n"
                                       "restBpm = 50\r\n"
                                       "name = a\rb\r\n"
                                       "[data]\r\n"
                                       "2002/05/12\t1\t0\t0\t0\t0\t0\tmemo\rtail\r\r\n");
    EXPECT_EQ(doc.userInfo().restBpm, 50);
    EXPECT_EQ(doc.userInfo().name, "a\rb");
    EXPECT_EQ(dayAt(doc, 2002, 5, 12).memo, "memo\rtail\r");
}

TEST(JournalReader, everyPartStartsFromItsDefaultsOnEachLoad)
{
    CQuilloxDoc doc;
    graphSettingsOf(doc)->colorFat = 0x123456;
    graphSettingsOf(doc)->colorNotFat = 0x654321;
    doc.loadJournalText("[settings]\ngraphNDays = 14\n[userInfo]\nname = Taro\n"
                        "[data]\n2002/05/12\t1\t0\t0\t0\t0\t0\t\n",
                        fixedEventDate);
    EXPECT_EQ(doc.graphSettings().colorFat, 0x00e600u);
    EXPECT_EQ(doc.graphSettings().colorNotFat, 0x000000u);
    EXPECT_EQ(doc.userInfo().name, "Taro");

    doc.setModified(true);
    EXPECT_TRUE(doc.loadJournalText("", fixedEventDate).empty());
    const CQuilloxDoc fresh(fixedEventDate);
    expectSameDocument(doc, fresh);
    EXPECT_FALSE(doc.isModified());
}

// ---------------------------------------------- damaged and hostile input

TEST(JournalDamagedInput, nameAndEventNameWithBlanksSurviveStoreAndReload)
{
    CQuilloxDoc doc;
    userInfoOf(doc)->name = "\x8e\x52\x93\x63 \x91\xbe\x98\x59"; // 山田 太郎
    objectiveOf(doc)->eventName = "Tokyo  Marathon\t2003";
    const CQuilloxDoc reread = loadedFrom(doc.journalText());
    EXPECT_EQ(reread.userInfo().name, doc.userInfo().name);
    EXPECT_EQ(reread.objective().eventName, doc.objective().eventName);
    // Blanks around the value are not part of it.
    EXPECT_EQ(loadedFrom("[userInfo]\nname =   Taro Yamada \t \n").userInfo().name, "Taro Yamada");
}

TEST(JournalDamagedInput, damagedDayLinesAreSkippedAndReportedWhileOtherDaysLoad)
{
    CQuilloxDoc doc;
    const std::vector<SkippedLine> skipped =
        doc.loadJournalText("# quillox file ver 2\n"            // 1
                            "[data]\n"                          // 2
                            "2002/05/11\t64\t0\t0\t0\t0\t0\t\n" // 3
                            "2002/02/30\t99\t0\t0\t0\t0\t0\t\n" // 4: no such day
                            " \t \r\n"                          // 5: blank
                            "2002/13/01\t99\t0\t0\t0\t0\t0\t\n" // 6: month 13
                            "0000/01/01\t99\t0\t0\t0\t0\t0\t\n" // 7: year 0
                            "-5/01/01\t99\t0\t0\t0\t0\t0\t\n"   // 8: negative year
                            "a comment\n"                       // 9
                            "\n"                                // 10: empty
                            "2002/05/12\t65\t0\t0\t0\t0\t0\t\n",
                            fixedEventDate); // 11
    EXPECT_EQ(doc.dayList().size(), 2u);
    EXPECT_EQ(dayAt(doc, 2002, 5, 11).weight, 64);
    EXPECT_EQ(dayAt(doc, 2002, 5, 12).weight, 65);
    std::vector<std::size_t> lineNumbers;
    for (const SkippedLine &line : skipped) {
        lineNumbers.push_back(line.lineNumber);
        EXPECT_FALSE(line.reason.empty());
    }
    EXPECT_EQ(lineNumbers, (std::vector<std::size_t>{4, 6, 7, 8, 9}));
}

// A memo typed after too few numbers loads as the number 0 and a store then
// drops it: the load names such lines, so that the file can be kept first.
TEST(JournalDamagedInput, dayLinesWithTextAStoreWouldDropAreNamed)
{
    CQuilloxDoc doc;
    std::vector<std::size_t> altered;
    const std::vector<SkippedLine> skipped =
        doc.loadJournalText("[data]\n"                          // 1
                            "2002/05/11\t64\t0\t0\t0\t0\t0\t\n" // 2
                            "2002/05/12\t64.5\tjogging\n"       // 3
                            "2002/05/13\t64.123456789\n"        // 4
                            "2002/05/14\t64.50\t1e1\n"          // 5: kept
                            "2002/05/15\tnan\tnan\n",           // 6: once
                            fixedEventDate, &altered);
    EXPECT_TRUE(skipped.empty());
    EXPECT_EQ(altered, (std::vector<std::size_t>{3, 4, 6}));
    EXPECT_EQ(dayAt(doc, 2002, 5, 12).weight, 64.5);
    EXPECT_EQ(dayAt(doc, 2002, 5, 12).fatPercent, 0);
    EXPECT_EQ(dayAt(doc, 2002, 5, 14).fatPercent, 10);
}

TEST(JournalDamagedInput, eventDateThatIsNotARealDayKeepsTheDefault)
{
    const Date today = fixedEventDate;
    EXPECT_EQ(loadedFrom("[objective]\neventDate = 2003/01/19\n").objective().eventDate,
              makeDate(2003, 1, 19));
    for (const char *value : {"2002/02/30", "2002/13/01", "0000/01/01", "soon", "2002/05", ""}) {
        const std::string text = std::string("[objective]\neventDate = ") + value + "\n";
        EXPECT_EQ(loadedFrom(text).objective().eventDate, today) << value;
    }
    // The last line counts, even when an earlier one was a real day.
    EXPECT_EQ(loadedFrom("[objective]\neventDate = 2003/01/19\neventDate = 2003/02/30\n")
                  .objective()
                  .eventDate,
              today);
}

// For any bytes, one store brings the journal to a fixed point: storing
// what was read back reads the same and writes the same bytes.
void expectFixedPointAfterOneStore(std::string_view input)
{
    const CQuilloxDoc first = loadedFrom(input);
    const std::string firstText = first.journalText();
    const CQuilloxDoc second = loadedFrom(firstText);
    const std::string secondText = second.journalText();
    EXPECT_EQ(firstText, secondText);
    expectSameDocument(second, loadedFrom(secondText));
}

TEST(JournalDamagedInput, hostileInputsReachAFixedPointAfterOneStore)
{
    using namespace std::string_literals;
    const std::string inputs[] = {
        "2002/05/12\t1\t2\t3\t4\t5\t6\tmemo\twith\ttabs\rand\rcrs\r\r\n",
        "2002/05/12\t1e999\t-1e999\t1e-999\t-0\t+.5e+3\t4.94066e-324\t  lead\n",
        "[userInfo]\nname = \t a\rb\r\r\nbirthday = 12345/123/-45\nheight = 1e400\n",
        "[userInfo]\nbirthday =   -5/-1/+3\n[objective]\neventName = x\r \t\r\n",
        "[settings]\ncolorWeight = 0x1ffffffff\npaperOri = 99999999999\ngraphNDays = -0\n",
        "99999/01/01\t1\n2002/5/3/4\t1\t2\n\r\n\r\r\n#\n[data\n",
        "\x83\\ \x95\\\t1\t2\n2002/05/12\t1\t2\t3\t4\t5\t6\t\x83\\\x95\\\\n\n",
        "nul\0inside\n2002/05/12\t1\t2\t3\t4\t5\t6\tm\0m\n[userInfo]\nname = a\0b\n"s,
        "2002/05/12 1 2 3 4 5 6\r",
        "[objective]\nweight = 1.797693134862315e308\nfatPercent = 2.2250738585072014e-308\n",
    };
    for (const std::string &input : inputs) {
        SCOPED_TRACE(input);
        expectFixedPointAfterOneStore(input);
    }
}

TEST(JournalDamagedInput, randomTextFromJournalPiecesReachesAFixedPoint)
{
    // Pieces of real lines, numbers at the edges of the double range,
    // separators and stray bytes, joined at random.
    const std::string_view pieces[] = {
        "[settings]",  "[userInfo]", "[objective]", "[data]", "[x]",        "# quillox file ver 2",
        "name",        "eventName",  "birthday",    "height", "eventDate",  "graphNDays",
        "colorWeight", "paperOri",   "graphFat",    " = ",    "=",          " ",
        "\t",          "\r",         "\n",          "\r\n",   "2002/05/12", "2002/02/29",
        "9999/12/31",  "0001/01/01", "1e308",       "1e309",  "-1e-320",    "1e-330",
        "0x7fffffff",  "-0",         ".",           "+",      "65.3",       "\x83\\",
        "\\n",         "\x81",       "\xff",
    };
    std::mt19937 random(20020512);
    for (int round = 0; round < 300; ++round) {
        std::string input;
        const int count = 1 + static_cast<int>(random() % 60);
        for (int i = 0; i < count; ++i) {
            input += pieces[random() % std::size(pieces)];
        }
        SCOPED_TRACE(input);
        expectFixedPointAfterOneStore(input);
    }
}

// ---------------------------------------------------------------- files

class JournalFile : public ::testing::Test {
  protected:
    fs::path journalPath() const { return dir.path() / "zph0001.txt"; }

    // A journal of a few days, as written by this program.
    static CQuilloxDoc smallJournal()
    {
        CQuilloxDoc doc;
        userInfoOf(doc)->name = "Taro";
        objectiveOf(doc)->eventDate = fixedEventDate;
        putDay(doc, makeDate(2002, 5, 12), "", 65.3, 22.5, 5, 1800, 0, 0);
        return doc;
    }

    // A journal far bigger than 64 KiB.
    static CQuilloxDoc bigJournal()
    {
        CQuilloxDoc doc = smallJournal();
        for (int i = 0; i < 3000; ++i) {
            putDay(doc, makeDate(2003, 1, 1) + std::chrono::days(i), "a memo of a few words",
                   60 + i % 10, 20, 5, 1800, 2, 1200);
        }
        return doc;
    }

    TempDir dir;
};

TEST_F(JournalFile, storeAndReloadGivesTheSameJournalAndClearsTheModifiedFlag)
{
    CQuilloxDoc doc = smallJournal();
    doc.setModified(true);
    const JournalStoreResult stored = doc.writeJournal(journalPath().string());
    ASSERT_TRUE(stored.written) << stored.error;
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(readFile(journalPath()), doc.journalText());

    CQuilloxDoc reread;
    reread.setModified(true);
    const JournalLoadResult loaded = reread.readJournal(journalPath().string(), fixedEventDate);
    EXPECT_TRUE(loaded.opened);
    EXPECT_TRUE(loaded.error.empty());
    EXPECT_TRUE(loaded.skippedLines.empty());
    EXPECT_FALSE(reread.isModified());
    expectSameDocument(reread, doc);
}

TEST_F(JournalFile, fileThatCannotBeReadChangesNothing)
{
    CQuilloxDoc doc = smallJournal();
    graphSettingsOf(doc)->colorFat = 0x123456;
    doc.setModified(true);
    const CQuilloxDoc before = doc;

    const JournalLoadResult missing =
        doc.readJournal((dir.path() / "absent.txt").string(), fixedEventDate);
    EXPECT_FALSE(missing.opened);
    EXPECT_EQ(missing.error, std::strerror(ENOENT));

    const JournalLoadResult directory = doc.readJournal(dir.path().string(), fixedEventDate);
    EXPECT_FALSE(directory.opened);
    EXPECT_EQ(directory.error, std::strerror(EISDIR));

    expectSameDocument(doc, before);
    EXPECT_EQ(doc.graphSettings().colorFat, 0x123456u);
    EXPECT_TRUE(doc.isModified());
}

TEST_F(JournalFile, failedStoreLeavesThePreviousJournalAndTheModifiedFlag)
{
    writeFile(journalPath(), "previous journal\r\n");
    CQuilloxDoc doc = smallJournal();
    doc.setModified(true);

    // The path is a directory.
    const JournalStoreResult intoDirectory = doc.writeJournal(dir.path().string());
    EXPECT_FALSE(intoDirectory.written);
    EXPECT_FALSE(intoDirectory.error.empty());
    // The directory does not exist.
    const JournalStoreResult nowhere = doc.writeJournal((dir.path() / "no/zph0001.txt").string());
    EXPECT_FALSE(nowhere.written);
    EXPECT_NE(nowhere.error.find(std::strerror(ENOENT)), std::string::npos) << nowhere.error;

    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(readFile(journalPath()), "previous journal\r\n");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"zph0001.txt"});
}

TEST_F(JournalFile, storeIntoAnUnwritableDirectoryFails)
{
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes into a read-only directory all the same";
    }
    writeFile(journalPath(), "previous journal\r\n");
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    CQuilloxDoc doc = smallJournal();
    const JournalStoreResult stored = doc.writeJournal(journalPath().string());
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_FALSE(stored.written);
    EXPECT_NE(stored.error.find(std::strerror(EACCES)), std::string::npos) << stored.error;
    EXPECT_EQ(readFile(journalPath()), "previous journal\r\n");
}

TEST_F(JournalFile, previousVersionIsKeptAsBak)
{
    CQuilloxDoc doc = smallJournal();
    ASSERT_TRUE(doc.writeJournal(journalPath().string()).written);
    EXPECT_FALSE(fs::exists(dir.path() / "zph0001.txt.bak"));
    const std::string firstVersion = readFile(journalPath());

    userInfoOf(doc)->name = "Hanako";
    const JournalStoreResult second = doc.writeJournal(journalPath().string());
    ASSERT_TRUE(second.written);
    EXPECT_TRUE(second.backupWarning.empty()) << second.backupWarning;
    EXPECT_EQ(readFile(dir.path() / "zph0001.txt.bak"), firstVersion);

    const std::string secondVersion = readFile(journalPath());
    userInfoOf(doc)->name = "Jiro";
    ASSERT_TRUE(doc.writeJournal(journalPath().string()).written);
    EXPECT_EQ(readFile(dir.path() / "zph0001.txt.bak"), secondVersion);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"zph0001.txt", "zph0001.txt.bak"}));
}

// A 64 KiB tmpfs of its own: it stands in for a full disk, and remounted
// read-only for a file system that refuses every write.
class JournalOnSmallTmpfs : public JournalFile {
  protected:
    void SetUp() override
    {
        mountPoint = dir.path() / "disk";
        fs::create_directory(mountPoint);
        if (::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0) {
            GTEST_SKIP() << "cannot mount a small tmpfs here (" << std::strerror(errno)
                         << "); run as root to test a full disk";
        }
        mounted = true;
    }
    void TearDown() override
    {
        if (mounted) {
            ::umount(mountPoint.c_str());
        }
    }

    fs::path mountPoint;
    bool mounted = false;
};

TEST_F(JournalOnSmallTmpfs, storeBiggerThanTheFreeSpaceLeavesThePreviousJournal)
{
    const std::string path = (mountPoint / "zph0001.txt").string();
    CQuilloxDoc small = smallJournal();
    ASSERT_TRUE(small.writeJournal(path).written);
    userInfoOf(small)->name = "Hanako";
    ASSERT_TRUE(small.writeJournal(path).written);
    const std::string previous = readFile(path);
    const std::string previousBackup = readFile(path + ".bak");

    CQuilloxDoc big = bigJournal();
    big.setModified(true);
    ASSERT_GT(big.journalText().size(), 64u * 1024u);
    const JournalStoreResult stored = big.writeJournal(path);
    EXPECT_FALSE(stored.written);
    EXPECT_NE(stored.error.find(std::strerror(ENOSPC)), std::string::npos) << stored.error;
    EXPECT_TRUE(big.isModified());

    EXPECT_EQ(readFile(path), previous);
    EXPECT_EQ(readFile(path + ".bak"), previousBackup);
    std::vector<std::string> left;
    for (const auto &entry : fs::directory_iterator(mountPoint)) {
        left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"zph0001.txt", "zph0001.txt.bak"}));
}

// Root may write into any directory, so the unwritable place it meets in
// practice is a read-only file system.
TEST_F(JournalOnSmallTmpfs, storeOnAReadOnlyFileSystemFailsAndKeepsTheJournal)
{
    const std::string path = (mountPoint / "zph0001.txt").string();
    CQuilloxDoc doc = smallJournal();
    ASSERT_TRUE(doc.writeJournal(path).written);
    const std::string previous = readFile(path);
    ASSERT_EQ(::mount("tmpfs", mountPoint.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k"), 0)
        << std::strerror(errno);

    userInfoOf(doc)->name = "Hanako";
    doc.setModified(true);
    const JournalStoreResult stored = doc.writeJournal(path);
    EXPECT_FALSE(stored.written);
    EXPECT_NE(stored.error.find(std::strerror(EROFS)), std::string::npos) << stored.error;
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(readFile(path), previous);
}

} // namespace
