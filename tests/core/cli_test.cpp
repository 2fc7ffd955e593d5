// The command-line companion's own rules: its arguments, its CSV and the
// check of a journal file.

#include "cli/cliarguments.h"
#include "cli/csv.h"
#include "cli/journalcheck.h"
#include "cli/journalcsv.h"
#include "docsetup.h"
#include "text/entrytext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

CliParse parse(std::vector<std::string> arguments)
{
    return parseCommandLine(arguments);
}

// ---------------------------------------------------------------- arguments

TEST(CliArguments, refusalsNameTheirCause)
{
    const struct {
        std::vector<std::string> arguments;
        const char *messagePart;
    } cases[] = {
        {{}, "コマンドを指定"},
        {{"frobnicate"}, "「frobnicate」というコマンド"},
        {{"show", "--weight", "60"}, "show には「--weight」"},
        {{"add", "--date"}, "--date には値が必要"},
        {{"add", "--date", "2026-02-30"}, "「2026-02-30」は存在しない日"},
        {{"add", "--date", "2026-2-3"}, "YYYY-MM-DD の形ではありません"},
        {{"advice", "--date=0000-01-01"}, "存在しない日"},
        {{"show", "--from", "2026-03-01", "--to", "2026-02-01"}, "--from の日付が --to"},
        {{"graph"}, "書き出すファイルを指定"},
        {{"graph", "out.svg"}, ".pdf か .png"},
        {{"graph", "a.png", "--period", "0"}, "--period「0」"},
        {{"graph", "a.png", "--period", "2m"}, "--period「2m」"},
        {{"graph", "a.png", "--size", "1200"}, "--size「1200」"},
        {{"graph", "a.png", "--size", "99x400"}, "--size「99x400」"},
        {{"graph", "a.png", "--scale", "0.5"}, "--scale「0.5」"},
        {{"graph", "a.png", "--scale", "2x"}, "--scale「2x」"},
        {{"graph", "a.png", "--scale", "+2"}, "--scale「+2」"},
        {{"graph", "a.pdf", "--scale", "2"}, "PNG に書き出すときだけ"},
        {{"graph", "a.png", "--size", "5000x100", "--scale", "2"}, "(10000x200 ピクセル)"},
        {{"import-csv"}, "取り込む CSV"},
        {{"import-csv", "--skip-bad=yes", "a.csv"}, "「--skip-bad=yes」"},
        {{"export-csv", "a.csv", "b.csv"}, "余分な引数「b.csv」"},
    };
    for (const auto &c : cases) {
        const CliParse result = parse(c.arguments);
        EXPECT_FALSE(result.request);
        EXPECT_NE(result.error.find(c.messagePart), std::string::npos) << result.error;
    }
}

TEST(CliArguments, acceptedRequestsCarryTheirValues)
{
    CliParse add = parse({"--file", "j.txt", "add", "--date=2024-02-29", "--weight", "-5", "--memo",
                          "--not-an-option", "--jog-time", ""});
    ASSERT_TRUE(add.request) << add.error;
    EXPECT_EQ(add.request->command, CliCommand::add);
    EXPECT_EQ(add.request->file, "j.txt");
    EXPECT_EQ(add.request->date, makeDate(2024, 2, 29));
    EXPECT_EQ(add.request->weight, "-5");
    EXPECT_EQ(add.request->memo, "--not-an-option");
    EXPECT_EQ(add.request->jogDuration, "");
    EXPECT_FALSE(add.request->fatPercent);

    CliParse graph = parse({"graph", "--period", "12m", "--size", "640x480", "OUT.PDF"});
    ASSERT_TRUE(graph.request) << graph.error;
    EXPECT_EQ(graph.request->graphNDays, -12);
    EXPECT_TRUE(graph.request->pdf);
    EXPECT_EQ(graph.request->width, 640);
    EXPECT_EQ(graph.request->height, 480);
    EXPECT_EQ(graph.request->scale, 1);
    CliParse scaled = parse({"graph", "a.png", "--scale", "1.5"});
    ASSERT_TRUE(scaled.request) << scaled.error;
    EXPECT_EQ(scaled.request->scale, 1.5);

    CliParse dashed = parse({"import-csv", "--skip-bad", "--", "-days.csv"});
    ASSERT_TRUE(dashed.request) << dashed.error;
    EXPECT_TRUE(dashed.request->skipBad);
    EXPECT_EQ(dashed.request->input, "-days.csv");

    CliParse help = parse({"graph", "--help"});
    ASSERT_TRUE(help.request);
    EXPECT_TRUE(help.request->help);
    EXPECT_TRUE(usageText(help.request->command).starts_with("使い方: zeph graph"));
    EXPECT_TRUE(parse({"--version"}).request->version);
}

// ---------------------------------------------------------------- CSV

TEST(Csv, awkwardFieldsSurviveAWriteAndARead)
{
    const std::vector<std::string_view> fields = {
        "plain", "", "a,b", "say \"hi\"", "line\r\nbreak", "lf\nonly", "\ttab\\ back", "日本語"};
    std::string text;
    appendCsvRecord(text, fields);
    appendCsvRecord(text, {"second"});
    EXPECT_TRUE(text.starts_with("plain,,\"a,b\",\"say \"\"hi\"\"\",\"line\r\nbreak\","));

    const std::vector<CsvRecord> records = readCsvRecords(text);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(std::vector<std::string_view>(records[0].fields.begin(), records[0].fields.end()),
              fields);
    EXPECT_EQ(records[0].lineNumber, 1u);
    EXPECT_EQ(records[1].lineNumber, 4u); // the two quoted line breaks count
    EXPECT_TRUE(records[1].error.empty());
}

TEST(Csv, malformedRecordsAreReportedAndReadingGoesOn)
{
    const std::vector<CsvRecord> records =
        readCsvRecords("a,\"b\"x,c\n\nok,1\r\nlast,\"never closed\nmore");
    ASSERT_EQ(records.size(), 3u);
    EXPECT_NE(records[0].error.find("閉じた引用符"), std::string::npos);
    EXPECT_EQ(records[1].lineNumber, 3u);
    EXPECT_EQ(records[1].fields, (std::vector<std::string>{"ok", "1"}));
    EXPECT_EQ(records[2].lineNumber, 4u);
    EXPECT_NE(records[2].error.find("閉じていません"), std::string::npos);
}

// A quote never closed swallows every line after it into one field: the
// whole file is refused, naming the line where the quote opened.
TEST(JournalCsv, anUnclosedQuoteMakesTheWholeFileBad)
{
    const std::string csv = std::string(journalCsvHeader) + "\n2026-02-01,60,,,,,,fine\n"
                                                            "2026-02-02,61,,,,,,\"opened\n"
                                                            "2026-02-03,62,,,,,,swallowed\n";
    const JournalCsvRead read = readJournalCsv(csv);
    EXPECT_NE(read.fatalError.find("3 行目"), std::string::npos) << read.fatalError;
    EXPECT_TRUE(read.days.empty());

    // Values the journal keeps with six digits are imported and named.
    const JournalCsvRead rounded =
        readJournalCsv(std::string(journalCsvHeader) + "\n2026-02-01,60.1234567,,1.5e1,,,,\n");
    ASSERT_EQ(rounded.days.size(), 1u);
    ASSERT_EQ(rounded.rounded.size(), 1u);
    EXPECT_EQ(rounded.rounded[0].lineNumber, 2u);
    EXPECT_NE(rounded.rounded[0].reason.find("weight「60.1234567」"), std::string::npos);
}

TEST(JournalCsv, exportThenImportGivesTheSameDays)
{
    CQuilloxDoc doc;
    // Memos as the entry form stores them: commas, quotes, line breaks, tabs,
    // backslashes, and ソ and 表, whose second byte is a backslash.
    const char *memos[] = {"a, \"quoted\" memo", "two\r\nlines\tand\\back", "\x83\x5c\x95\x5c", ""};
    Date date = makeDate(2026, 2, 1);
    for (const char *memo : memos) {
        putDay(doc, date, toStoredMemo(memo), 65.3, 0, 5.25, 1800, 0, 59.9);
        date += std::chrono::days{1};
    }
    // Values as the journal file holds them: six significant digits.
    putDay(doc, makeDate(1, 1, 1), "", 1e-7, 1.23457e+06, -3, 0, 0, 0);

    const std::string csv = journalCsv(doc.dayList());
    EXPECT_TRUE(csv.starts_with(std::string(journalCsvHeader) + "\r\n0001-01-01,1e-07,"));
    EXPECT_NE(csv.find("\"two\r\nlines\tand\\back\""), std::string::npos);
    EXPECT_NE(csv.find("ソ表"), std::string::npos);

    const JournalCsvRead read = readJournalCsv("\xEF\xBB\xBF" + csv);
    EXPECT_TRUE(read.fatalError.empty());
    EXPECT_TRUE(read.rejected.empty());
    CQuilloxDoc imported;
    mergeDays(imported, read.days);
    EXPECT_EQ(imported.dayList(), doc.dayList());
}

TEST(JournalCsv, badRecordsAreRejectedWithLineAndReason)
{
    const std::string csv = std::string(journalCsvHeader) +
                            "\n"
                            "2026-02-30,60,,,,,,\n"                           // 2
                            "2026/02/01,60,,,,,,\n"                           // 3
                            "2026-02-01,60kg,,,,,,\n"                         // 4
                            "2026-02-01,60,,,-5,,,\n"                         // 5
                            "2026-02-01,60,,,,,,\"emoji \xF0\x9F\x98\x80\"\n" // 6
                            "2026-02-01,60,,,,,\n"                            // 7
                            "2026-02-01,60,,,,,,\xFF\n"                       // 8
                            "2026-02-01,inf,,,,,,\n"                          // 9
                            " 2026-02-02 , +6.5e1 ,,,90,,,〜\n";              // 10: good
    const JournalCsvRead read = readJournalCsv(csv);
    const struct {
        std::size_t line;
        const char *reasonPart;
    } expected[] = {
        {2, "存在しない日"}, {3, "YYYY-MM-DD"}, {4, "weight「60kg」"}, {5, "jog_seconds「-5」"},
        {6, "(U+1F600)"},    {7, "列の数が 7"}, {8, "UTF-8"},          {9, "weight「inf」"},
    };
    ASSERT_EQ(read.rejected.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(read.rejected[i].lineNumber, expected[i].line);
        EXPECT_NE(read.rejected[i].reason.find(expected[i].reasonPart), std::string::npos)
            << read.rejected[i].reason;
    }
    ASSERT_EQ(read.days.size(), 1u);
    EXPECT_EQ(read.days[0].weight, 65);
    EXPECT_EQ(read.days[0].jogDuration, 90);
    EXPECT_EQ(read.days[0].memo, "\x81\x60"); // 〜 folded to ～

    EXPECT_FALSE(readJournalCsv("date,weight\n2026-02-01,60\n").fatalError.empty());
    EXPECT_FALSE(readJournalCsv("").fatalError.empty());
}

// ---------------------------------------------------------------- check

TEST(JournalCheck, everyLineALoadDropsIsNamed)
{
    const std::string journal = "# quillox file ver 2\n"    // 1
                                "[settings]\n"              // 2
                                "graphNDays = 35\n"         // 3
                                "graphColour = 1\n"         // 4: unknown key
                                "graphWeight=1\n"           // 5: not a setting
                                "\n"                        // 6: blank, harmless
                                "[extras]\n"                // 7: unknown section
                                "[data]\n"                  // 8
                                "2026/02/01\t60\n"          // 9: replaced by 12
                                "2026/02/30\t60\n"          // 10: impossible
                                "note to self\n"            // 11: no date
                                "2026/02/01\t61.1234567\n"; // 12: rounded on store
    const std::vector<CheckFinding> findings = checkJournalText(journal);
    const struct {
        std::size_t line;
        const char *messagePart;
    } expected[] = {
        {4, "知らないキー"},
        {5, "「キー = 値」"},
        {7, "知らない見出し"},
        {9, "同じ日付の行が後"},
        {10, "存在しない日付"},
        {11, "日付 (年/月/日) で始まらない"},
        {12, "体重 61.1234567 は、保存すると 61.1235"},
    };
    ASSERT_EQ(findings.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(findings[i].lineNumber, expected[i].line);
        EXPECT_NE(findings[i].message.find(expected[i].messagePart), std::string::npos)
            << findings[i].message;
    }
    EXPECT_NE(checkReport("j.txt", findings).find("j.txt:10: 存在しない日付"), std::string::npos);

    CQuilloxDoc written;
    putDay(written, makeDate(2026, 2, 1), "memo", 60.5, 0, 0, 0, 0, 0);
    EXPECT_TRUE(checkJournalText(written.journalText()).empty());
}

// Words of a day line that load as a day but that a store does not write
// back: the memo after too few numbers, "nan", "64kg", digits beyond six,
// text glued to the date. Written forms that only look different are kept.
TEST(JournalCheck, everyWordAStoreWouldNotWriteBackIsNamed)
{
    const std::string journal = "[data]\n"
                                "2026/12/10\t64.5\tjogging\n"         // 2: memo read as fat
                                "2026/12/11\tnan\t0\t0\t0\t0\t0\tm\n" // 3
                                "2026/12/12\t64kg\n"                  // 4
                                "2026/12/13\t0\t0\t0\t1800.5\t0\t0.0000001234567\n" // 5
                                "2026/12/14x\t60\n"                                 // 6
                                "2026/12/15\t64.50\t+7\t1e1\t.5\t0\t1000000\tok\n"  // 7: kept
                                "2026/12/16\t1e999\n"   // 8: beyond a double
                                "2026/12/17\t1e-999\n"; // 9: below one
    const std::vector<CheckFinding> findings = checkJournalText(journal);
    const struct {
        std::size_t line;
        const char *messagePart;
    } expected[] = {
        {2, "体脂肪率「jogging」は数値ではないため 0 として読み込まれます"},
        {3, "体重「nan」は数値ではない"},
        {4, "体重「64kg」は数値ではないため 64 として"},
        {5, "Walk 時間 (秒) 0.0000001234567 は、保存すると 1.23457e-07 になります"},
        {6, "日付「2026/12/14x」の後に付いた文字"},
        {8, "体重 1e999 は、保存すると 1.79769e+308"},
        {9, "体重 1e-999 は、保存すると 0"},
    };
    ASSERT_EQ(findings.size(), std::size(expected)) << checkReport("j", findings);
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(findings[i].lineNumber, expected[i].line);
        EXPECT_NE(findings[i].message.find(expected[i].messagePart), std::string::npos)
            << findings[i].message;
    }
}

} // namespace
