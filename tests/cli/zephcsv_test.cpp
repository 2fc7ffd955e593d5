// export-csv and import-csv through the real executable.

#include "docsetup.h"
#include "zephrunner.h"

#include "journal/cquilloxdoc.h"
#include "text/entrytext.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using testfiles::readFile;
using testfiles::TempDir;
using testfiles::writeFile;
using zephtest::runZeph;

const char *const header =
    "date,weight,fat_percent,jog_km,jog_seconds,walk_km,walk_seconds,memo\r\n";

// A journal holding memos that every layer must carry exactly: commas,
// quotes, line breaks, tabs, backslashes, and ソ and 表 (second byte 0x5C).
std::string awkwardJournal()
{
    CQuilloxDoc doc;
    userInfoOf(doc)->name = "\x8d\xb2\x93\xa1"; // 佐藤
    const char *memos[] = {"a, \"quoted\" memo", "two\r\nlines\tand\\back\\n",
                           "\x83\x5c\x95\x5c \x93\xfa\x96\x7b\x8c\xea", ""};
    Date date = makeDate(2026, 2, 1);
    for (const char *memo : memos) {
        putDay(doc, date, toStoredMemo(memo), 65.3, 22.5, 5, 1800, 0, 59.9);
        date += std::chrono::days{1};
    }
    return doc.journalText();
}

std::string dataSection(const std::string &journal)
{
    return journal.substr(journal.find("[data]"));
}

TEST(ZephCsv, importOfAnExportGivesTheSameDays)
{
    TempDir dir;
    writeFile(dir.path() / "zph0001.txt", awkwardJournal());
    const zephtest::Run exported = runZeph(dir.path(), {"export-csv", "days.csv"});
    ASSERT_EQ(exported.status, 0) << exported.err;
    const std::string csv = readFile(dir.path() / "days.csv");
    EXPECT_TRUE(csv.starts_with(header));
    EXPECT_NE(csv.find("\"two\r\nlines\tand\\back\\n\""), std::string::npos) << csv;
    EXPECT_NE(csv.find("ソ表 日本語"), std::string::npos);
    EXPECT_EQ(runZeph(dir.path(), {"export-csv"}).out, csv); // standard output by default
    EXPECT_EQ(readFile(dir.path() / "zph0001.txt"), awkwardJournal());

    // Into another journal, which does not exist yet.
    const zephtest::Run imported =
        runZeph(dir.path(), {"--file", "other.txt", "import-csv", "days.csv"});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(dataSection(readFile(dir.path() / "other.txt")),
              dataSection(readFile(dir.path() / "zph0001.txt")));
    EXPECT_EQ(runZeph(dir.path(), {"--file", "other.txt", "export-csv"}).out, csv);

    // From standard input, over the same days: nothing changes.
    const std::string before = readFile(dir.path() / "zph0001.txt");
    const zephtest::Run again = runZeph(dir.path(), {"import-csv", "-"}, csv);
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(dataSection(readFile(dir.path() / "zph0001.txt")), dataSection(before));
}

TEST(ZephCsv, aBadLineStoresNothingUnlessSkipped)
{
    TempDir dir;
    const std::string journal = awkwardJournal();
    writeFile(dir.path() / "zph0001.txt", journal);
    writeFile(dir.path() / "in.csv", std::string(header) + "2026-03-01,60,,,,,,good\r\n"
                                                           "2026-02-30,60,,,,,,bad date\r\n"
                                                           "2026-03-02,60,,,abc,,,bad seconds\r\n");
    const zephtest::Run refused = runZeph(dir.path(), {"import-csv", "in.csv"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("3 行目: 日付「2026-02-30」は存在しない日です。"), std::string::npos)
        << refused.err;
    EXPECT_NE(refused.err.find("4 行目: jog_seconds「abc」"), std::string::npos);
    EXPECT_EQ(readFile(dir.path() / "zph0001.txt"), journal);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{".io", "in.csv", "zph0001.txt"}));

    const zephtest::Run skipped = runZeph(dir.path(), {"import-csv", "--skip-bad", "in.csv"});
    EXPECT_EQ(skipped.status, 0) << skipped.err;
    const std::string stored = readFile(dir.path() / "zph0001.txt");
    EXPECT_NE(stored.find("2026/03/01\t60\t0\t0\t0\t0\t0\tgood\r\n"), std::string::npos);
    EXPECT_EQ(stored.find("2026/03/02"), std::string::npos);
}

} // namespace
