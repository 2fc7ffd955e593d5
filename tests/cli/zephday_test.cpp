// zeph add, show and advice through the real executable.

#include "docsetup.h"
#include "zephrunner.h"

#include "journal/cquilloxdoc.h"

#include <QLockFile>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
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
    userInfoOf(doc)->name = "taro";
    userInfoOf(doc)->height = 170;
    putDay(doc, makeDate(2026, 2, 27), "\x83\x5c\x95\x5c\\n2", 65.3, 22.5, 5, 1800, 0, 0);
    putDay(doc, makeDate(2026, 2, 28), "", 65, 0, 0, 0, 2.5, 3930);
    return doc.journalText();
}

TEST(ZephDay, addStoresAsTheFormRegistersAndKeepsWhatIsNotGiven)
{
    TempDir dir;
    writeFile(dir.path() / journalName, smallJournal());
    const zephtest::Run run =
        runZeph(dir.path(), {"add", "--date", "2026-02-27", "--weight", " 64.5 ", "--jog-time",
                             "35'10", "--memo", "〜 line\nnext"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string journal = readFile(dir.path() / journalName);
    // Fat kept, weight read as the form reads it, 〜 folded to ～ (0x81 0x60).
    EXPECT_NE(journal.find("2026/02/27\t64.5\t22.5\t5\t2110\t0\t0\t\x81\x60 line\\nnext\r\n"),
              std::string::npos)
        << journal;

    // A new day in a journal that does not exist yet.
    const zephtest::Run created =
        runZeph(dir.path(), {"--file", "new.txt", "add", "--date", "2026-03-01", "--walk-km", "3"});
    ASSERT_EQ(created.status, 0) << created.err;
    EXPECT_NE(readFile(dir.path() / "new.txt").find("[data]\r\n2026/03/01\t0\t0\t0\t0\t3\t0\t\r\n"),
              std::string::npos);
}

// The window's recovery file holds days the journal lacks: storing now would
// lose them when the user restores it.
TEST(ZephDay, aWritingCommandIsRefusedWhileTheWindowsRecoveryFileDiffers)
{
    TempDir dir;
    const std::string journal = smallJournal();
    writeFile(dir.path() / journalName, journal);
    writeFile(dir.path() / ".zph0001.txt.recovery",
              journal + "2026/03/01\t64\t0\t0\t0\t0\t0\t\r\n");

    const zephtest::Run add = runZeph(dir.path(), {"add", "--weight", "64"});
    EXPECT_EQ(add.status, 1);
    EXPECT_NE(add.err.find(".zph0001.txt.recovery"), std::string::npos) << add.err;
    EXPECT_EQ(readFile(dir.path() / journalName), journal);
    const zephtest::Run check = runZeph(dir.path(), {"check"});
    EXPECT_EQ(check.status, 1);
    EXPECT_NE(check.out.find(".zph0001.txt.recovery"), std::string::npos) << check.out;

    // One with the journal's own text is no obstacle, and goes.
    writeFile(dir.path() / ".zph0001.txt.recovery", journal);
    EXPECT_EQ(runZeph(dir.path(), {"check"}).status, 0);
    EXPECT_EQ(runZeph(dir.path(), {"add", "--weight", "64"}).status, 0);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / ".zph0001.txt.recovery"));
}

TEST(ZephDay, addWithAnInvalidTimeOrCharacterStoresNothing)
{
    TempDir dir;
    const std::string journal = smallJournal();
    writeFile(dir.path() / journalName, journal);
    const zephtest::Run badTime = runZeph(
        dir.path(), {"add", "--date", "2026-02-27", "--weight", "70", "--walk-time", "1.5"});
    EXPECT_EQ(badTime.status, 2);
    EXPECT_EQ(badTime.err, "zeph: Walk 時間指定が不正です。\n書式：<時間>:<分>'<秒>\"\n");
    const zephtest::Run badMemo = runZeph(dir.path(), {"add", "--memo", "smile \xF0\x9F\x98\x80"});
    EXPECT_EQ(badMemo.status, 2);
    EXPECT_NE(badMemo.err.find("(U+1F600) は保存できない文字です"), std::string::npos);
    EXPECT_EQ(readFile(dir.path() / journalName), journal);
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
    EXPECT_EQ(readFile(dir.path() / journalName), smallJournal());
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
    EXPECT_NE(run.err.find("ほかに起動している Zephalonte (プロセス番号 " +
                           std::to_string(::getpid()) + ") が使用中です"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(readFile(dir.path() / journalName), journal);
}

} // namespace
