// The commands that work on one day, through the real executable.

#include "zephrunner.h"

#include "journal/cquilloxdoc.h"

#include <QLockFile>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using testfiles::readFile;
using testfiles::TempDir;
using testfiles::writeFile;
using zephtest::runZeph;

constexpr const char *journalName = "zph0001.txt";

// A journal of a named, 170 cm male user with two days.
std::string smallJournal()
{
    CQuilloxDoc doc;
    doc.userInfo.name = "taro";
    doc.userInfo.height = 170;
    doc.setDay(makeDate(2026, 2, 27), "\x83\x5c\x95\x5c\\n2", 65.3, 22.5, 5, 1800, 0, 0);
    doc.setDay(makeDate(2026, 2, 28), "", 65, 0, 0, 0, 2.5, 3930);
    return doc.journalText();
}

TEST(ZephDay, showPrintsTheListLinesNewestFirst)
{
    TempDir dir;
    writeFile(dir.path() / journalName, smallJournal());
    const zephtest::Run all = runZeph(dir.path(), {"show"});
    ASSERT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(all.out, "2026/02/28  65.00   0.0  0.0            2.5  1:05'30\" \n"
                       "2026/02/27  65.30  22.5  5.0    30'00\"  0.0           ソ表\\n2\n");
    const zephtest::Run one =
        runZeph(dir.path(), {"show", "--from", "2026-02-27", "--to", "2026-02-27"});
    EXPECT_TRUE(one.out.starts_with("2026/02/27 ")) << one.out;
    EXPECT_EQ(std::count(one.out.begin(), one.out.end(), '\n'), 1);
    EXPECT_EQ(readFile(dir.path() / journalName), smallJournal());
}

TEST(ZephDay, advicePrintsTheMessageOfTheDay)
{
    TempDir dir;
    writeFile(dir.path() / journalName, smallJournal());
    const zephtest::Run run = runZeph(dir.path(), {"advice", "--date", "2026-02-27"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.starts_with("体重 65.30kg のBMI値は 22.60、適正体重だよ。\n")) << run.out;
    EXPECT_EQ(run.out.find('\r'), std::string::npos);
    const zephtest::Run empty = runZeph(dir.path(), {"advice", "--date", "2000-01-01"});
    EXPECT_EQ(empty.out, "ダイエットがんばってね（モキュッ）\n");
}

TEST(ZephDay, aJournalInUseIsRefused)
{
    TempDir dir;
    const std::string journal = smallJournal();
    writeFile(dir.path() / journalName, journal);
    // The lock another running copy of the program would hold.
    QLockFile lock(
        QString::fromStdString((dir.path() / (std::string(journalName) + ".lock")).string()));
    ASSERT_TRUE(lock.tryLock());
    const zephtest::Run run = runZeph(dir.path(), {"import-csv", "-"},
                                      "date,weight,fat_percent,jog_km,jog_seconds,walk_km,"
                                      "walk_seconds,memo\r\n2026-03-01,60,,,,,,\r\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("ほかに起動している Zephalonte が使用中です"), std::string::npos)
        << run.err;
    EXPECT_EQ(readFile(dir.path() / journalName), journal);
}

} // namespace
