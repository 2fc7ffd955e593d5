// zeph recover and zeph merge through the real executable: the window's edit
// log replayed by day, and another version of the journal merged by day.
#include "docsetup.h"
#include "zephrunner.h"

#include "journal/cquilloxdoc.h"
#include "journal/editlog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>

namespace {

using testfiles::readFile;
using testfiles::TempDir;
using testfiles::writeFile;
using zephtest::runZeph;

constexpr const char *journalName = "zph0001.txt";
const Date feb27 = makeDate(2026, 2, 27);
const Date feb28 = makeDate(2026, 2, 28);
const Date mar1 = makeDate(2026, 3, 1);

DayRecord weighing(Date date, double weight)
{
    return DayRecord{date, weight, 0, 0, 0, 0, 0, ""};
}

CQuilloxDoc journalOf(std::initializer_list<DayRecord> days)
{
    CQuilloxDoc doc(makeDate(2026, 3, 2));
    userInfoOf(doc)->name = "taro";
    for (const DayRecord &day : days)
        doc.applyEdit(dayEdit(doc, day));
    return doc;
}

// The log a killed window leaves for the journal in `folder`.
void writeLog(const std::filesystem::path &folder, const std::vector<Edit> &edits,
              const std::string &name = journalName)
{
    struct stat status {};
    ASSERT_EQ(::stat(folder.c_str(), &status), 0);
    std::string bytes = encodeLogHeader({name,
                                         static_cast<std::uint64_t>(status.st_dev),
                                         static_cast<std::uint64_t>(status.st_ino),
                                         {}});
    for (const Edit &edit : edits)
        bytes += encodeLogRecord(edit);
    writeFile(folder / ".zph0001.txt.recovery", bytes);
}

} // namespace

// The window changed 2/28 and added 3/1; meanwhile another program changed
// 2/28 its own way and 2/27. Writing commands refuse until `zeph recover`,
// which keeps both sides' days, the log's 2/28, and the journal's version in
// a conflict copy (status 3).
TEST(ZephRecover, replaysTheLogOntoTheJournalAsItIsNow)
{
    TempDir dir;
    CQuilloxDoc window = journalOf({weighing(feb27, 65), weighing(feb28, 64)});
    std::vector<Edit> edits;
    edits.push_back(window.applyEdit(dayEdit(window, weighing(feb28, 63.5))).inverse());
    edits.push_back(window.applyEdit(dayEdit(window, weighing(mar1, 63))).inverse());
    writeLog(dir.path(), edits);
    const std::string theirs =
        journalOf({weighing(feb27, 66), weighing(feb28, 64.2)}).journalText();
    writeFile(dir.path() / journalName, theirs);

    const zephtest::Run add = runZeph(dir.path(), {"add", "--weight", "60"});
    EXPECT_EQ(add.status, 1);
    EXPECT_NE(add.err.find("zeph recover"), std::string::npos) << add.err;
    EXPECT_EQ(runZeph(dir.path(), {"merge", journalName}).status, 1);
    EXPECT_EQ(readFile(dir.path() / journalName), theirs);

    const zephtest::Run recover = runZeph(dir.path(), {"recover"});
    EXPECT_EQ(recover.status, 3) << recover.err;
    EXPECT_NE(recover.out.find("2026/02/28\t衝突"), std::string::npos) << recover.out;
    EXPECT_NE(recover.out.find("2026/03/01\t取り込み"), std::string::npos) << recover.out;
    EXPECT_EQ(recover.out.find("2026/02/27"), std::string::npos) << recover.out;
    const std::string stored = readFile(dir.path() / journalName);
    for (const char *line : {"2026/02/27\t66\t", "2026/02/28\t63.5\t", "2026/03/01\t63\t"})
        EXPECT_NE(stored.find(line), std::string::npos) << line;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / ".zph0001.txt.recovery"));
    int copies = 0;
    for (const auto &entry : std::filesystem::directory_iterator(dir.path()))
        if (entry.path().filename().string().starts_with("zph0001.txt.conflict-")) {
            ++copies;
            EXPECT_EQ(readFile(entry.path()), theirs);
        }
    EXPECT_EQ(copies, 1);
    const zephtest::Run again = runZeph(dir.path(), {"recover"});
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(runZeph(dir.path(), {"add", "--weight", "60"}).status, 0);
}

// A log of another journal is never applied by itself: set aside, it can be
// replayed on purpose with --from.
TEST(ZephRecover, aLogOfAnotherJournalIsSetAsideAndReplayedOnlyWhenNamed)
{
    TempDir dir;
    const CQuilloxDoc journal = journalOf({weighing(feb27, 65)});
    writeFile(dir.path() / journalName, journal.journalText());
    writeLog(dir.path(), {dayEdit(journal, weighing(mar1, 63))}, "zph0002.txt");

    const zephtest::Run refused = runZeph(dir.path(), {"recover"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find(".zph0001.txt.recovery"), std::string::npos) << refused.err;
    EXPECT_EQ(readFile(dir.path() / journalName), journal.journalText());

    const zephtest::Run aside = runZeph(dir.path(), {"recover", "--set-aside"});
    ASSERT_EQ(aside.status, 0) << aside.err;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / ".zph0001.txt.recovery"));
    std::string kept;
    for (const auto &entry : std::filesystem::directory_iterator(dir.path()))
        if (entry.path().filename().string().starts_with("zph0001.txt.recovered-"))
            kept = entry.path().filename().string();
    ASSERT_FALSE(kept.empty());
    EXPECT_NE(aside.out.find(kept), std::string::npos) << aside.out;

    const zephtest::Run from = runZeph(dir.path(), {"recover", "--from", kept});
    EXPECT_EQ(from.status, 0) << from.err;
    EXPECT_NE(readFile(dir.path() / journalName).find("2026/03/01\t63\t"), std::string::npos);
    EXPECT_EQ(runZeph(dir.path(), {"recover", "--from", journalName, "--set-aside"}).status, 2);
}

// Another version merged by day: without a base only the days the journal
// lacks are taken; with one, the other side's changes are taken and a day
// both changed keeps the journal's value. Status 3 when stored with conflicts.
TEST(ZephMerge, takesTheOtherVersionsDaysAndKeepsTheJournalsInAConflict)
{
    TempDir dir;
    const std::string base = journalOf({weighing(feb27, 65), weighing(feb28, 64)}).journalText();
    const std::string mine = journalOf({weighing(feb27, 65), weighing(feb28, 63)}).journalText();
    const std::string other =
        journalOf({weighing(feb27, 64.5), weighing(feb28, 62), weighing(mar1, 61)}).journalText();
    writeFile(dir.path() / "base.txt", base);
    writeFile(dir.path() / "other.txt", other);
    writeFile(dir.path() / journalName, mine);

    const zephtest::Run dry = runZeph(dir.path(), {"merge", "other.txt", "--dry-run"});
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_EQ(dry.out, "2026/02/27\t衝突: 日誌の値のまま\n"
                       "2026/02/28\t衝突: 日誌の値のまま\n"
                       "2026/03/01\t取り込み\n");
    EXPECT_EQ(readFile(dir.path() / journalName), mine);

    const zephtest::Run threeWay =
        runZeph(dir.path(), {"merge", "other.txt", "--base", "base.txt"});
    EXPECT_EQ(threeWay.status, 3) << threeWay.err;
    EXPECT_EQ(threeWay.out, "2026/02/27\t取り込み\n"
                            "2026/02/28\t衝突: 日誌の値のまま\n"
                            "2026/03/01\t取り込み\n");
    const std::string stored = readFile(dir.path() / journalName);
    for (const char *line : {"2026/02/27\t64.5\t", "2026/02/28\t63\t", "2026/03/01\t61\t"})
        EXPECT_NE(stored.find(line), std::string::npos) << line;

    // A version that does not load cleanly is not merged.
    writeFile(dir.path() / "cut.txt", other.substr(0, other.size() - 5));
    const zephtest::Run cut = runZeph(dir.path(), {"merge", "cut.txt"});
    EXPECT_EQ(cut.status, 2);
    EXPECT_EQ(readFile(dir.path() / journalName), stored);
}

// `: > zph0001.txt` (or another program's headerless file) is no journal to
// store over: check reports it, and a writing command leaves it and the good
// .bak alone.
TEST(ZephGuard, anEmptiedOrHeaderlessJournalIsReportedAndNeverStoredOver)
{
    const std::string good = journalOf({weighing(feb27, 65)}).journalText();
    for (const std::string &bad : {std::string(), good.substr(good.find("[data]"))}) {
        TempDir dir;
        writeFile(dir.path() / journalName, bad);
        writeFile(dir.path() / "zph0001.txt.bak", good);
        const zephtest::Run check = runZeph(dir.path(), {"check"});
        EXPECT_EQ(check.status, 1);
        EXPECT_NE(check.out.find("# quillox file ver 2"), std::string::npos) << check.out;
        const zephtest::Run add = runZeph(dir.path(), {"add", "--weight", "60"});
        EXPECT_EQ(add.status, 1);
        EXPECT_NE(add.err.find(journalName), std::string::npos) << add.err;
        EXPECT_EQ(readFile(dir.path() / journalName), bad);
        EXPECT_EQ(readFile(dir.path() / "zph0001.txt.bak"), good);
    }
}

// A recovery path that is a folder: nothing can replay it, so the refusal
// says it cannot be read and to move it, instead of sending the user to a
// `zeph recover` that cannot read it either.
TEST(ZephGuard, anUnreadableRecoveryPathIsNamedAsSuch)
{
    TempDir dir;
    writeFile(dir.path() / journalName, journalOf({weighing(feb27, 65)}).journalText());
    std::filesystem::create_directory(dir.path() / ".zph0001.txt.recovery");
    const zephtest::Run add = runZeph(dir.path(), {"add", "--weight", "60"});
    EXPECT_EQ(add.status, 1);
    EXPECT_NE(add.err.find("を読み取れません"), std::string::npos) << add.err;
    EXPECT_EQ(add.err.find("zeph recover"), std::string::npos) << add.err;
}
