// The guards around the journal, through the real executable, each as a user
// or a script ran into its absence: a lock left behind by a kill, the copy of
// a damaged journal, text a load would drop, output written onto the
// journal, names that are not UTF-8, an unclosed quote in a CSV file, and a
// .bak that is a hard link of the journal.

#include "zephrunner.h"

#include <QLockFile>
#include <QString>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using testfiles::readFile;
using testfiles::TempDir;
using testfiles::writeFile;
using zephtest::runZeph;

constexpr const char *journalName = "zph0001.txt";

const std::string journalHead = "# quillox file ver 2\r\n[userInfo]\r\nname = taro\r\n[data]\r\n";
const std::string smallJournal = journalHead + "2026/02/27\t65\t0\t0\t0\t0\t0\t\r\n";
// Line 6 cannot be read: the next store would drop it.
const std::string damagedJournal = smallJournal + "a note typed by hand\r\n";

const std::string csvHeader =
    "date,weight,fat_percent,jog_km,jog_seconds,walk_km,walk_seconds,memo\r\n";

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

// A file last modified `age` ago.
void age(const fs::path &path, std::chrono::seconds age)
{
    fs::last_write_time(path, fs::file_time_type::clock::now() - age);
}

mode_t permissionBits(const fs::path &path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

std::vector<std::string> namesStartingWith(const TempDir &dir, const std::string &prefix)
{
    std::vector<std::string> names = dir.entries();
    std::erase_if(names, [&](const std::string &name) { return !name.starts_with(prefix); });
    return names;
}

// 1. A kill between creating the lock file and writing into it left an empty
// lock that refused every command for ever.
TEST(ZephGuards, aLockLeftBehindIsTakenOverAndAHeldOneNamesItsHolder)
{
    TempDir dir;
    const fs::path journal = dir.path() / journalName;
    const fs::path lock = dir.path() / (std::string(journalName) + ".lock");
    writeFile(journal, smallJournal);

    writeFile(lock, ""); // empty, as a kill or a power cut leaves it
    age(lock, std::chrono::seconds(10));
    const zephtest::Run takenOver =
        runZeph(dir.path(), {"add", "--date", "2026-03-01", "--weight", "64"});
    EXPECT_EQ(takenOver.status, 0) << takenOver.err;
    EXPECT_TRUE(contains(readFile(journal), "2026/03/01\t64\t")) << readFile(journal);
    EXPECT_FALSE(fs::exists(lock));

    // Just created: perhaps another copy is writing into it this moment.
    writeFile(lock, "");
    const zephtest::Run young = runZeph(dir.path(), {"add", "--weight", "63"});
    EXPECT_EQ(young.status, 1);
    EXPECT_TRUE(contains(young.err, lock.string())) << young.err;
    EXPECT_TRUE(contains(young.err, "数秒待って")) << young.err;
    fs::remove(lock);

    // A copy killed while it held the lock, with QLockFile's own ".rmlock"
    // left empty by another kill: neither blocks.
    const pid_t killed = fork();
    ASSERT_GE(killed, 0);
    if (killed == 0) {
        QLockFile held(QString::fromStdString(lock.string()));
        _exit(held.tryLock(0) ? 0 : 1); // no destructor: the lock file stays
    }
    int status = 0;
    ASSERT_EQ(waitpid(killed, &status, 0), killed);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(fs::exists(lock));
    const fs::path rmlock = lock.string() + ".rmlock";
    writeFile(rmlock, "");
    age(rmlock, std::chrono::seconds(10));
    const zephtest::Run afterKill =
        runZeph(dir.path(), {"add", "--date", "2026-03-02", "--weight", "62"});
    EXPECT_EQ(afterKill.status, 0) << afterKill.err;
    EXPECT_FALSE(fs::exists(lock));

    // Really held: the message names the lock file and the holding process.
    QLockFile running(QString::fromStdString(lock.string()));
    ASSERT_TRUE(running.tryLock(0));
    const std::string before = readFile(journal);
    const zephtest::Run held = runZeph(dir.path(), {"add", "--weight", "61"});
    EXPECT_EQ(held.status, 1);
    EXPECT_TRUE(contains(held.err, "プロセス番号 " + std::to_string(::getpid()))) << held.err;
    EXPECT_TRUE(contains(held.err, lock.string())) << held.err;
    EXPECT_EQ(readFile(journal), before);
}

// 2. The copy of a damaged journal was world-readable and made again, in
// full, by every command that read the journal.
TEST(ZephGuards, aDamagedJournalsCopyIsAsPrivateAsItAndMadeOnce)
{
    TempDir dir;
    const fs::path journal = dir.path() / journalName;
    const mode_t umaskBefore = ::umask(022);
    writeFile(journal, damagedJournal);
    fs::permissions(journal, fs::perms::owner_read | fs::perms::owner_write);

    const zephtest::Run first =
        runZeph(dir.path(), {"add", "--date", "2026-03-01", "--weight", "64"});
    EXPECT_EQ(first.status, 0) << first.err;
    std::vector<std::string> copies =
        namesStartingWith(dir, std::string(journalName) + ".damaged-");
    ASSERT_EQ(copies.size(), 1u) << first.err;
    const fs::path copy = dir.path() / copies[0];
    EXPECT_EQ(readFile(copy), damagedJournal);
    EXPECT_EQ(permissionBits(copy), 0600u);
    EXPECT_TRUE(contains(first.err, copies[0])) << first.err;

    // The same damaged bytes again (the user put the file back): the copy
    // made before is named, no second one is made.
    writeFile(journal, damagedJournal);
    const zephtest::Run again =
        runZeph(dir.path(), {"add", "--date", "2026-03-02", "--weight", "63"});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(namesStartingWith(dir, std::string(journalName) + ".damaged-"), copies);
    EXPECT_TRUE(contains(again.err, "同じ内容のコピーが " + copy.string())) << again.err;
    ::umask(umaskBefore);
}

// 2. Reading commands report the lines but write nothing into the folder.
TEST(ZephGuards, readingCommandsLeaveTheFoldersListingAsItWas)
{
    TempDir dir;
    TempDir elsewhere; // where the graph goes
    writeFile(dir.path() / journalName, damagedJournal);
    fs::create_directories(dir.path() / ".io");
    const std::vector<std::string> listing = dir.entries();
    const std::string graph = (elsewhere.path() / "week.png").string();
    for (const std::vector<std::string> &args : std::vector<std::vector<std::string>>{
             {"show"},
             {"advice", "--trend"},
             {"export-csv"},
             {"graph", graph, "--size", "200x100", "--trend", "--goal"},
             {"trend"},
             {"summary"}}) {
        const zephtest::Run run = runZeph(dir.path(), args);
        EXPECT_EQ(run.status, 0) << args[0] << ": " << run.err;
        EXPECT_TRUE(contains(run.err, "6 行目")) << run.err;
        EXPECT_TRUE(contains(run.err, "ウィンドウでこの日誌を開くと")) << run.err;
        EXPECT_EQ(dir.entries(), listing) << args[0];
    }
    EXPECT_EQ(readFile(dir.path() / journalName), damagedJournal);
}

// 3. A memo typed after too few numbers was read as the number 0, check said
// nothing was lost, and the next store dropped it without a copy.
TEST(ZephGuards, aMemoReadAsANumberIsReportedByCheckAndKeptInACopyAtLoad)
{
    TempDir dir;
    const std::string memo = "\x83W\x83\x87\x83M\x83\x93\x83O\x82\xb5\x82\xbd"; // ジョギングした
    const std::string journal = smallJournal +                                  // lines 1 to 5
                                "2026/12/10\t64.5\t" + memo + "\r\n" +          // 6
                                "2026/12/11\tnan\r\n"                           // 7
                                "2026/12/12\t64kg\r\n"                          // 8
                                "2026/12/13\t64.1234567\t0\t0\t0\t0\t0\t\r\n"; // 9
    writeFile(dir.path() / journalName, journal);

    const zephtest::Run check = runZeph(dir.path(), {"check"});
    EXPECT_EQ(check.status, 1);
    EXPECT_TRUE(contains(check.out, "zph0001.txt:6: 体脂肪率「ジョギングした」は数値ではない"))
        << check.out;
    EXPECT_TRUE(contains(check.out, "zph0001.txt:7: 体重「nan」は数値ではない")) << check.out;
    EXPECT_TRUE(contains(check.out, "zph0001.txt:8: 体重「64kg」は数値ではないため 64 として"))
        << check.out;
    EXPECT_TRUE(contains(check.out, "zph0001.txt:9: 体重 64.1234567 は、保存すると 64.1235"))
        << check.out;
    EXPECT_TRUE(contains(check.out, "4 件")) << check.out;

    const zephtest::Run add =
        runZeph(dir.path(), {"add", "--date", "2026-12-14", "--weight", "63"});
    EXPECT_EQ(add.status, 0) << add.err;
    EXPECT_TRUE(contains(add.err, "6, 7, 8, 9 行目")) << add.err;
    const std::vector<std::string> copies =
        namesStartingWith(dir, std::string(journalName) + ".damaged-");
    ASSERT_EQ(copies.size(), 1u) << add.err;
    EXPECT_EQ(readFile(dir.path() / copies[0]), journal);
    // The day itself as the reader reads it.
    EXPECT_TRUE(
        contains(readFile(dir.path() / journalName), "2026/12/10\t64.5\t0\t0\t0\t0\t0\t\r\n"));
}

// 4. export-csv wrote its CSV over the journal, and over its .bak.
TEST(ZephGuards, exportOntoTheJournalOrItsCompanionsIsRefused)
{
    TempDir dir;
    const fs::path journal = dir.path() / journalName;
    writeFile(journal, smallJournal);
    writeFile(dir.path() / "zph0001.txt.bak", "older");
    fs::create_hard_link(journal, dir.path() / "alias.txt");
    fs::create_symlink(journalName, dir.path() / "link.csv");
    fs::create_directories(dir.path() / "sub");
    fs::create_directories(dir.path() / ".io");
    const std::vector<std::string> listing = dir.entries();

    for (const std::string &name : std::vector<std::string>{
             "zph0001.txt", "./sub/../zph0001.txt", (dir.path() / journalName).string(),
             "zph0001.txt.bak", "alias.txt", "link.csv", "zph0001.txt.lock",
             "zph0001.txt.damaged-20261208", ".zph0001.txt.recovery",
             "zph0001.txt.recovered-20261208", "zph0001.txt.conflict-20261208-101010"}) {
        const zephtest::Run run = runZeph(dir.path(), {"export-csv", name});
        EXPECT_EQ(run.status, 2) << name;
        EXPECT_TRUE(contains(run.err, "書き出しません")) << name << ": " << run.err;
    }
    const zephtest::Run graph = runZeph(dir.path(), {"graph", "zph0001.txt.damaged-1.png"});
    EXPECT_EQ(graph.status, 2) << graph.err;
    EXPECT_EQ(readFile(journal), smallJournal);
    EXPECT_EQ(readFile(dir.path() / "zph0001.txt.bak"), "older");
    EXPECT_EQ(dir.entries(), listing);

    // A device and a FIFO take the CSV as a stream.
    EXPECT_EQ(runZeph(dir.path(), {"export-csv", "/dev/null"}).status, 0);
    ASSERT_EQ(::mkfifo((dir.path() / "pipe").c_str(), 0600), 0);
    std::string piped;
    std::thread reader([&] { piped = readFile(dir.path() / "pipe"); });
    const zephtest::Run toPipe = runZeph(dir.path(), {"export-csv", "pipe"});
    // A zeph that never opened the FIFO leaves the reader waiting: a writer
    // that comes and goes lets it finish with nothing.
    if (const int fd = ::open((dir.path() / "pipe").c_str(), O_WRONLY | O_NONBLOCK); fd >= 0) {
        ::close(fd);
    }
    reader.join();
    EXPECT_EQ(toPipe.status, 0) << toPipe.err;
    EXPECT_EQ(piped, csvHeader + "2026-02-27,65,,,,,,\r\n");
}

// 5. A name that is not UTF-8 became another name (U+FFFD) on its way
// through Qt: "not found" for a file that exists, a new journal under
// another name, and an empty listing with status 0 in such a folder.
TEST(ZephGuards, aNameThatIsNotUtf8IsRefusedAndNoOtherNameIsUsed)
{
    TempDir dir;
    const std::string name = "diary\xff.txt";
    writeFile(dir.path() / name, smallJournal);
    fs::create_directories(dir.path() / ".io");
    const std::vector<std::string> listing = dir.entries();
    for (const std::string command : {"show", "add"}) {
        const zephtest::Run run = runZeph(dir.path(), {"--file", name, command});
        EXPECT_EQ(run.status, 2) << command;
        EXPECT_TRUE(contains(run.err, "diary\\xFF.txt")) << run.err;
        EXPECT_TRUE(contains(run.err, "UTF-8")) << run.err;
    }
    EXPECT_EQ(dir.entries(), listing);
    EXPECT_EQ(readFile(dir.path() / name), smallJournal);
    // check reads the file by its bytes and needs no text name.
    EXPECT_EQ(runZeph(dir.path(), {"--file", name, "check"}).status, 0);

    // A working folder named in code page 932 (日記).
    const fs::path folder = dir.path() / "\x93\xfa\x8b\x4c";
    fs::create_directories(folder / ".io");
    writeFile(folder / journalName, smallJournal);
    for (const std::vector<std::string> &args :
         std::vector<std::vector<std::string>>{{"show"}, {"add", "--weight", "60"}}) {
        const zephtest::Run run = runZeph(folder, args);
        EXPECT_EQ(run.status, 2) << args[0];
        EXPECT_TRUE(contains(run.err, "作業フォルダ")) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
    EXPECT_EQ(readFile(folder / journalName), smallJournal);
    EXPECT_EQ(runZeph(folder, {"check"}).status, 0);
}

// 6. An unclosed quote swallowed the rest of the file as one bad line, and
// --skip-bad imported what came before it as a success.
TEST(ZephGuards, anUnclosedQuoteImportsNothingWithOrWithoutSkipBad)
{
    TempDir dir;
    std::string csv = csvHeader;
    for (int row = 2; row <= 1001; ++row) {
        csv += row == 501 ? "2026-01-01,60,,,,,,\"an unclosed memo\r\n"
                          : "2026-01-02,60,,,,,,row " + std::to_string(row) + "\r\n";
    }
    writeFile(dir.path() / "days.csv", csv);
    for (const bool skipBad : {false, true}) {
        std::vector<std::string> args{"import-csv"};
        if (skipBad) {
            args.push_back("--skip-bad");
        }
        args.push_back("days.csv");
        const zephtest::Run run = runZeph(dir.path(), args);
        EXPECT_EQ(run.status, 2) << skipBad;
        EXPECT_TRUE(contains(run.err, "501 行目")) << run.err;
        EXPECT_FALSE(fs::exists(dir.path() / journalName));
    }
}

// 7. A .bak that is a hard link of the journal: rename() between two links
// of one file does nothing, and every store left a temporary file.
TEST(ZephGuards, aHardLinkedBakLeavesNoTemporaryFile)
{
    TempDir dir;
    const fs::path journal = dir.path() / journalName;
    writeFile(journal, smallJournal);
    fs::create_hard_link(journal, dir.path() / "zph0001.txt.bak");
    for (const std::string date : {"2026-03-01", "2026-03-02"}) {
        const zephtest::Run run = runZeph(dir.path(), {"add", "--date", date, "--weight", "64"});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(dir.entries(),
                  (std::vector<std::string>{".io", "zph0001.txt", "zph0001.txt.bak"}));
    }
    EXPECT_TRUE(contains(readFile(dir.path() / "zph0001.txt.bak"), "2026/03/01"));
    EXPECT_FALSE(contains(readFile(dir.path() / "zph0001.txt.bak"), "2026/03/02"));
}

// 7. The smaller ones: a closed standard input, a loop of links, numbers
// that are not finite, values import-csv rounds.
TEST(ZephGuards, closedInputLinkLoopsInfinitiesAndRoundingAreReported)
{
    TempDir dir;
    const zephtest::Run closed =
        runZeph(dir.path(), {"import-csv", "-"}, {}, {.closedInput = true});
    EXPECT_EQ(closed.status, 2);
    EXPECT_TRUE(contains(closed.err, "標準入力を読めませんでした")) << closed.err;

    fs::create_symlink("loop-b", dir.path() / journalName);
    fs::create_symlink(journalName, dir.path() / "loop-b");
    const zephtest::Run loop = runZeph(dir.path(), {"show"});
    EXPECT_EQ(loop.status, 1);
    EXPECT_TRUE(loop.out.empty());
    EXPECT_TRUE(contains(loop.err, "zph0001.txt を開けませんでした")) << loop.err;
    EXPECT_TRUE(contains(loop.err, "symbolic links")) << loop.err;
    fs::remove(dir.path() / journalName);

    writeFile(dir.path() / journalName, smallJournal);
    for (const std::string value : {"inf", "-Infinity", "nan", "1e309"}) {
        const zephtest::Run run = runZeph(dir.path(), {"add", "--weight", value});
        EXPECT_EQ(run.status, 2) << value;
        EXPECT_TRUE(contains(run.err, "--weight「" + value + "」は有限の数値ではありません"))
            << run.err;
    }
    // Text the form would read as 0 or 12 is no number for a script either.
    for (const auto &[option, value] : std::vector<std::pair<std::string, std::string>>{
             {"--weight", "abc"}, {"--weight", "12abc"}, {"--fat", "12abc"}, {"--jog-km", "5km"}}) {
        const zephtest::Run run = runZeph(dir.path(), {"add", option, value});
        EXPECT_EQ(run.status, 2) << value;
        EXPECT_TRUE(contains(run.err, option + "「" + value + "」は数値ではありません")) << run.err;
    }
    EXPECT_EQ(readFile(dir.path() / journalName), smallJournal);
    EXPECT_EQ(runZeph(dir.path(), {"add", "--date", "2026-03-03", "--weight", "1.5e2"}).status, 0);
    // An empty value still clears the field.
    EXPECT_EQ(
        runZeph(dir.path(), {"add", "--date", "2026-03-03", "--weight", "", "--fat", "20"}).status,
        0);
    EXPECT_TRUE(contains(readFile(dir.path() / journalName), "2026/03/03\t0\t20\t"));

    const zephtest::Run rounded =
        runZeph(dir.path(), {"import-csv", "-"}, csvHeader + "2026-03-04,60.123456789,,,,,,\r\n");
    EXPECT_EQ(rounded.status, 0) << rounded.err;
    EXPECT_TRUE(
        contains(rounded.err, "2 行目: weight「60.123456789」は、日誌には 6 桁に丸めて 60.1235"))
        << rounded.err;
    EXPECT_TRUE(contains(readFile(dir.path() / journalName), "2026/03/04\t60.1235\t"));
}

// 7. check held the whole journal as a document (and each line number in a
// map): 2.2 GB for a 255 MB file. It is to stay under three times the file.
TEST(ZephGuards, checkOfALongJournalStaysWithinThreeTimesItsSize)
{
    TempDir dir;
    std::string journal = journalHead;
    journal.reserve(40u << 20);
    // 700,000 days (28 a month from 1900 to 3983) with a memo each: about 40 MB.
    const std::string memo = "a memo of some length to fill the line";
    for (int i = 0; i < 700'000; ++i) {
        char line[128];
        const int length =
            std::snprintf(line, sizeof line, "%04d/%02d/%02d\t65.3\t22\t5\t1800\t0\t0\t%s\r\n",
                          1900 + i / 336, i / 28 % 12 + 1, i % 28 + 1, memo.c_str());
        journal.append(line, static_cast<std::size_t>(length));
    }
    writeFile(dir.path() / journalName, journal);
    const zephtest::Run run = runZeph(dir.path(), {"check"});
    EXPECT_EQ(run.status, 0) << run.err;
    const long limitKiB = static_cast<long>(3 * journal.size() / 1024);
    EXPECT_LT(run.peakMemoryKiB, limitKiB) << "journal " << journal.size() / 1024 << " KiB";
}

} // namespace
