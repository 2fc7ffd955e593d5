// zeph trend, zeph summary and the --trend and --goal switches through the
// real executable.

#include "docsetup.h"
#include "zephrunner.h"

#include "journal/cquilloxdoc.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using testfiles::TempDir;
using testfiles::writeFile;
using zephtest::runZeph;

std::string smallJournal()
{
    CQuilloxDoc doc;
    userInfoOf(doc)->name = "Taro";
    putDay(doc, makeDate(2026, 1, 30), "", 0, 0, 5, 1800, 0, 0); // no weight, no fat
    putDay(doc, makeDate(2026, 1, 31), "", 60, 20, 0, 0, 0, 0);
    putDay(doc, makeDate(2026, 2, 1), "", 61, 0, 0, 0, 0, 0);
    putDay(doc, makeDate(2026, 2, 3), "", 0, 22, 0, 0, 1.5, 1200); // three days on
    return doc.journalText();
}

TEST(ZephProgress, trendAndSummaryWriteTheirCsv)
{
    TempDir dir;
    writeFile(dir.path() / "zph0001.txt", smallJournal());
    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    const std::string trendHeader = "date,weight,weight_trend,fat_percent,fat_trend\r\n";
    const std::string summaryHeader = "month,days,weight_mean,weight_min,weight_max,fat_mean,"
                                      "jog_km,jog_seconds,walk_km,walk_seconds,kcal\r\n";
    const Case cases[] = {
        {{"trend"},
         trendHeader + "2026-01-31,60.00,60.00,20.00,20.00\r\n"
                       "2026-02-01,61.00,60.10,,\r\n"
                       "2026-02-03,,,22.00,20.54\r\n"},
        // The rows are chosen, the trend still comes from the whole journal.
        {{"trend", "--from", "2026-02-01", "--to", "2026-02-02"},
         trendHeader + "2026-02-01,61.00,60.10,,\r\n"},
        {{"summary"},
         summaryHeader + "2026-01,2,60.00,60.00,60.00,20.00,5.00,1800,0.00,0,300.00\r\n"
                         "2026-02,2,61.00,61.00,61.00,22.00,0.00,0,1.50,1200,0.00\r\n"},
        {{"summary", "--from", "2026-02-02"},
         summaryHeader + "2026-02,1,,,,22.00,0.00,0,1.50,1200,\r\n"},
        {{"summary", "--to", "2025-12-31"}, summaryHeader},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.args.back());
        const zephtest::Run run = runZeph(dir.path(), c.args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, c.out);
    }
    // Bounds the wrong way round, and a switch of another command.
    EXPECT_EQ(runZeph(dir.path(), {"trend", "--from", "2026-02-02", "--to", "2026-02-01"}).status,
              2);
    EXPECT_EQ(runZeph(dir.path(), {"summary", "--goal"}).status, 2);
}

TEST(ZephProgress, adviceAndGraphTakeTheTrendOnlyWhenAsked)
{
    TempDir dir;
    CQuilloxDoc doc;
    userInfoOf(doc)->name = "Taro";
    objectiveOf(doc)->weight = 50;
    for (int i = 0; i < 14; ++i)
        putDay(doc, makeDate(2026, 3, 1) + std::chrono::days{i}, "", 70 - 0.2 * i, 25, 0, 0, 0, 0);
    writeFile(dir.path() / "zph0001.txt", doc.journalText());

    const zephtest::Run plain = runZeph(dir.path(), {"advice", "--date", "2026-03-14"});
    const zephtest::Run trend = runZeph(dir.path(), {"advice", "--date", "2026-03-14", "--trend"});
    ASSERT_EQ(trend.status, 0) << trend.err;
    EXPECT_EQ(plain.out.find("トレンド"), std::string::npos);
    EXPECT_NE(trend.out.find("この4週間は週 -0.69kg のペースだよ。\n"), std::string::npos)
        << trend.out;
    EXPECT_NE(trend.out.find("ごろだよ。\n"), std::string::npos);

    const std::vector<std::string> graph = {"graph", "--date", "2026-03-14", "--period", "14"};
    auto plainArgs = graph;
    plainArgs.push_back("plain.png");
    auto lineArgs = graph;
    lineArgs.insert(lineArgs.end(), {"--trend", "--goal", "lines.png"});
    ASSERT_EQ(runZeph(dir.path(), plainArgs).status, 0);
    ASSERT_EQ(runZeph(dir.path(), lineArgs).status, 0);
    EXPECT_NE(testfiles::readFile(dir.path() / "plain.png"),
              testfiles::readFile(dir.path() / "lines.png"));
}

} // namespace
