// zeph import-run through the real executable: what it prints, its status,
// and the journal's days afterwards.

#include "docsetup.h"
#include "zephrunner.h"

#include "../activity/activityfixtures.h"
#include "journal/cquilloxdoc.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

using namespace activityfixtures;
using testfiles::readFile;
using testfiles::TempDir;
using testfiles::writeFile;
using zephtest::runZeph;

std::int64_t at(int day, int hour, int minute = 0)
{
    const auto days = std::chrono::sys_days{std::chrono::year{2026} / 12 / day};
    return days.time_since_epoch().count() * 86400 + hour * 3600 + minute * 60;
}

std::string tcxWalk(const std::string &startIso, double metres, double seconds)
{
    return "<?xml version=\"1.0\"?><TrainingCenterDatabase><Activities>"
           "<Activity Sport=\"Other\"><Id>" +
           startIso + "</Id><Lap><TotalTimeSeconds>" + std::to_string(seconds) +
           "</TotalTimeSeconds><DistanceMeters>" + std::to_string(metres) +
           "</DistanceMeters></Lap></Activity></Activities></TrainingCenterDatabase>";
}

CQuilloxDoc journalIn(const TempDir &dir)
{
    CQuilloxDoc doc(makeDate(2026, 12, 8));
    doc.loadJournalText(readFile(dir.path() / "zph0001.txt"), makeDate(2026, 12, 8));
    return doc;
}

TEST(ZephImportRun, fillsTheDaysOfGoodFilesAndReportsTheRest)
{
    TempDir dir;
    CQuilloxDoc start(makeDate(2026, 12, 8));
    userInfoOf(start)->name = "test";
    putDay(start, makeDate(2026, 12, 2), "", 64.8, 0, 0, 0, 0, 0);
    writeFile(dir.path() / "zph0001.txt", start.journalText());

    // A run at one point a second, 3 m apart: 600 points, 1797 m, 599 s.
    writeFile(dir.path() / "morning.gpx", gpxTrack(at(2, 6), 600, 3.0));
    writeFile(dir.path() / "walk.tcx", tcxWalk("2026-12-03T12:00:00Z", 2500, 1800));
    writeFile(dir.path() / "evening.fit",
              fitRun(static_cast<std::uint32_t>(at(4, 19)), 10012.6, 3100.4));
    writeFile(dir.path() / "notes.gpx", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));

    const zephtest::Run run =
        runZeph(dir.path(), {"import-run", "morning.gpx", "walk.tcx", "evening.fit", "notes.gpx"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "2026/12/02 Jog 1.8 km 9'59\"\n"
                       "2026/12/04 Jog 10.01 km 51'40\"\n");
    EXPECT_NE(run.err.find("walk.tcx: 種目「Other」はジョグでもウォークでもない"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("--as jog"), std::string::npos);
    EXPECT_NE(run.err.find("notes.gpx: 取り込める形式のファイルではありません"), std::string::npos)
        << run.err;
    CQuilloxDoc doc = journalIn(dir);
    EXPECT_EQ(*doc.findDay(makeDate(2026, 12, 2)),
              (DayRecord{makeDate(2026, 12, 2), 64.8, 0, 1.8, 599, 0, 0, ""}));
    EXPECT_EQ(doc.findDay(makeDate(2026, 12, 3)), nullptr);

    // The same file again changes nothing; --add adds; --as takes the walk.
    const std::string once = readFile(dir.path() / "zph0001.txt");
    EXPECT_EQ(runZeph(dir.path(), {"import-run", "evening.fit"}).status, 0);
    EXPECT_EQ(readFile(dir.path() / "zph0001.txt"), once);
    // --add skips a run the day already holds exactly, and says so; another adds.
    const zephtest::Run again = runZeph(dir.path(), {"import-run", "--add", "evening.fit"});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.out, "");
    EXPECT_NE(
        again.err.find("evening.fit: 2026/12/04 Jog 10.01 km 51'40\" (同じ記録がすでにあります)"),
        std::string::npos)
        << again.err;
    EXPECT_EQ(readFile(dir.path() / "zph0001.txt"), once);
    writeFile(dir.path() / "second.fit", fitRun(static_cast<std::uint32_t>(at(4, 21)), 5000, 1500));
    const zephtest::Run added = runZeph(dir.path(), {"import", "--add", "second.fit"});
    EXPECT_EQ(added.status, 0) << added.err;
    EXPECT_EQ(added.out, "2026/12/04 Jog 5 km 25'00\" (加算)\n");
    const zephtest::Run walked = runZeph(dir.path(), {"import-run", "walk.tcx", "--as", "walk"});
    EXPECT_EQ(walked.status, 0) << walked.err;
    doc = journalIn(dir);
    EXPECT_EQ(doc.findDay(makeDate(2026, 12, 4))->jogDistance, 15.01);
    EXPECT_EQ(doc.findDay(makeDate(2026, 12, 3))->walkDuration, 1800);

    // A film dropped by mistake is not read into memory; a folder is no file.
    writeFile(dir.path() / "film.gpx", "<?xml version=\"1.0\"?><gpx>");
    std::filesystem::resize_file(dir.path() / "film.gpx", 300ull << 20);
    std::filesystem::create_directory(dir.path() / "runs.gpx");
    const zephtest::Run odd = runZeph(dir.path(), {"import-run", "film.gpx", "runs.gpx"});
    EXPECT_EQ(odd.status, 2);
    EXPECT_NE(odd.err.find("film.gpx: 大きすぎます (300 MB)"), std::string::npos) << odd.err;
    EXPECT_NE(odd.err.find("runs.gpx: ファイルではありません。"), std::string::npos) << odd.err;
    EXPECT_EQ(runZeph(dir.path(), {"import-run", "--as", "swim", "walk.tcx"}).status, 2);
    EXPECT_EQ(runZeph(dir.path(), {"import-run"}).status, 2);
}

TEST(ZephImportRun, storesNothingOverTheWindowsUnsavedDays)
{
    TempDir dir;
    CQuilloxDoc start(makeDate(2026, 12, 8));
    userInfoOf(start)->name = "test";
    const std::string journal = start.journalText();
    writeFile(dir.path() / "zph0001.txt", journal);
    putDay(start, makeDate(2026, 12, 1), "", 64, 0, 0, 0, 0, 0);
    writeFile(dir.path() / ".zph0001.txt.recovery", start.journalText());
    writeFile(dir.path() / "run.fit", fitRun(static_cast<std::uint32_t>(at(4, 7)), 5000, 1500));

    const zephtest::Run run = runZeph(dir.path(), {"import-run", "run.fit"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(".zph0001.txt.recovery"), std::string::npos) << run.err;
    EXPECT_EQ(readFile(dir.path() / "zph0001.txt"), journal);
}

} // namespace
