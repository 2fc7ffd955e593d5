// The one routine through which the program writes files: what it leaves on
// disk when it succeeds and when it fails.

#include "journal/safesave.h"

#include "journal/folder.h"

#include "testfiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using testfiles::readFile;
using testfiles::TempDir;
using testfiles::writeFile;

mode_t permissionBits(const fs::path &path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        throw std::runtime_error("cannot stat " + path.string());
    }
    return status.st_mode & 07777;
}

class SafeSave : public ::testing::Test {
  protected:
    // Every name in the directory: a failed or finished save must not leave
    // a temporary file behind.
    std::vector<std::string> entries() const { return tempDir.entries(); }

    SaveResult save(std::string_view bytes, bool keepBackup = true) const
    {
        return saveFileAtomically(target.string(), bytes, keepBackup);
    }

    TempDir tempDir;
    fs::path dir = tempDir.path();
    fs::path target = dir / "journal.txt";
};

TEST_F(SafeSave, newFileHoldsTheBytesWithUmaskPermissions)
{
    const mode_t previous = ::umask(027);
    const std::string bytes("with\0nul\r\n", 10);
    const SaveResult result = save(bytes);
    ::umask(previous);
    ASSERT_TRUE(result.saved) << result.error;
    EXPECT_EQ(readFile(target), bytes);
    EXPECT_EQ(permissionBits(target), 0640u);
    EXPECT_EQ(entries(), std::vector<std::string>{"journal.txt"});
}

TEST_F(SafeSave, replacementKeepsThePermissionBitsOfTheOldFile)
{
    writeFile(target, "old");
    ::chmod(target.c_str(), 0604);
    ASSERT_TRUE(save("new").saved);
    EXPECT_EQ(readFile(target), "new");
    EXPECT_EQ(permissionBits(target), 0604u);
    EXPECT_EQ(permissionBits(dir / "journal.txt.bak"), 0604u);
}

TEST_F(SafeSave, backupHoldsTheVersionBeforeEachSave)
{
    ASSERT_TRUE(save("first").saved);
    EXPECT_EQ(entries(), std::vector<std::string>{"journal.txt"});
    ASSERT_TRUE(save("second").saved);
    EXPECT_EQ(readFile(dir / "journal.txt.bak"), "first");
    const SaveResult third = save("third");
    ASSERT_TRUE(third.saved);
    EXPECT_TRUE(third.backupWarning.empty()) << third.backupWarning;
    EXPECT_EQ(readFile(target), "third");
    EXPECT_EQ(readFile(dir / "journal.txt.bak"), "second");
    EXPECT_EQ(entries(), (std::vector<std::string>{"journal.txt", "journal.txt.bak"}));
}

// rename() between two hard links of one file does nothing and succeeds: a
// user's "ln journal.txt journal.txt.bak" must not leave the temporary link
// of every save behind.
TEST_F(SafeSave, backupThatIsAHardLinkOfTheTargetLeavesNoTemporaryFile)
{
    writeFile(target, "first");
    fs::create_hard_link(target, dir / "journal.txt.bak");
    ASSERT_TRUE(save("second").saved);
    EXPECT_EQ(readFile(target), "second");
    EXPECT_EQ(readFile(dir / "journal.txt.bak"), "first");
    EXPECT_EQ(entries(), (std::vector<std::string>{"journal.txt", "journal.txt.bak"}));
}

TEST_F(SafeSave, noBackupUnlessAskedFor)
{
    writeFile(target, "old");
    ASSERT_TRUE(save("new", false).saved);
    EXPECT_EQ(entries(), std::vector<std::string>{"journal.txt"});
}

TEST_F(SafeSave, backupThatCannotBeMadeDoesNotStopTheSave)
{
    writeFile(target, "old");
    fs::create_directory(dir / "journal.txt.bak");
    const SaveResult result = save("new");
    EXPECT_TRUE(result.saved) << result.error;
    EXPECT_FALSE(result.backupWarning.empty());
    EXPECT_EQ(readFile(target), "new");
    EXPECT_EQ(entries(), (std::vector<std::string>{"journal.txt", "journal.txt.bak"}));
}

TEST_F(SafeSave, failureLeavesTheTargetAndNoTemporaryFile)
{
    writeFile(target, "old");
    const SaveResult intoDirectory = saveFileAtomically(dir.string(), "new", true);
    EXPECT_FALSE(intoDirectory.saved);
    EXPECT_NE(intoDirectory.error.find(std::strerror(EISDIR)), std::string::npos)
        << intoDirectory.error;

    const SaveResult noParent = saveFileAtomically((dir / "absent/file.txt").string(), "new", true);
    EXPECT_FALSE(noParent.saved);
    EXPECT_NE(noParent.error.find(std::strerror(ENOENT)), std::string::npos) << noParent.error;

    EXPECT_EQ(readFile(target), "old");
    EXPECT_EQ(entries(), std::vector<std::string>{"journal.txt"});
}

TEST_F(SafeSave, unwritableDirectoryFailsWithTheReason)
{
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes into a read-only directory all the same";
    }
    writeFile(target, "old");
    ::chmod(dir.c_str(), 0555);
    const SaveResult result = save("new");
    ::chmod(dir.c_str(), 0755);
    EXPECT_FALSE(result.saved);
    EXPECT_NE(result.error.find(std::strerror(EACCES)), std::string::npos) << result.error;
    EXPECT_EQ(readFile(target), "old");
    EXPECT_EQ(entries(), std::vector<std::string>{"journal.txt"});
}

TEST_F(SafeSave, symbolicLinkIsFollowedAndStaysALink)
{
    fs::create_directory(dir / "real");
    writeFile(dir / "real/journal.txt", "old");
    fs::create_symlink("real/journal.txt", target);
    ASSERT_TRUE(save("new").saved);
    EXPECT_TRUE(fs::is_symlink(target));
    EXPECT_EQ(readFile(dir / "real/journal.txt"), "new");
    EXPECT_EQ(readFile(dir / "real/journal.txt.bak"), "old");
}

TEST_F(SafeSave, danglingLinkCreatesItsTargetAndStaysALink)
{
    fs::create_directory(dir / "real");
    fs::create_symlink("real/journal.txt", target);
    ASSERT_TRUE(save("new").saved);
    EXPECT_TRUE(fs::is_symlink(target));
    EXPECT_EQ(readFile(dir / "real/journal.txt"), "new");
    // A chain of links ends at the same file.
    fs::create_symlink("journal.txt", dir / "second-link.txt");
    ASSERT_TRUE(saveFileAtomically((dir / "second-link.txt").string(), "newer", true).saved);
    EXPECT_TRUE(fs::is_symlink(dir / "second-link.txt"));
    EXPECT_EQ(readFile(dir / "real/journal.txt"), "newer");
}

// Renaming over a file needs only the folder's permission: without this
// check a journal the user made read-only would be replaced all the same.
// The missing write bits hold root back too.
TEST_F(SafeSave, readOnlyFileIsNeverReplaced)
{
    writeFile(target, "kept");
    writeFile(dir / "journal.txt.bak", "older");
    ::chmod(target.c_str(), 0444);
    const SaveResult result = save("new");
    EXPECT_FALSE(result.saved);
    EXPECT_EQ(result.problem, FileProblem::readOnlyFile);
    EXPECT_EQ(readFile(target), "kept");
    EXPECT_EQ(readFile(dir / "journal.txt.bak"), "older");
    EXPECT_EQ(permissionBits(target), 0444u);
    EXPECT_EQ(entries(), (std::vector<std::string>{"journal.txt", "journal.txt.bak"}));
}

TEST_F(SafeSave, leftoversOfInterruptedSavesAreRemovedAndNothingElse)
{
    writeFile(target, "journal");
    // Six random characters and the two that check them.
    const std::vector<std::string> leftovers = {".journal.txt.a1B2c3D8",
                                                ".journal.txt.bak.zzzzzzFH"};
    const std::vector<std::string> others = {
        ".journal.txt.a1B2c3D4",  // the check does not match: the user's own
        ".journal.txt.20261208",  // a user's dated copy
        ".journal.txt.original",  // and another
        ".journal.txt.a1B2c3D",   // one character short
        ".journal.txt.a1B2c3D4x", // one too many
        ".journal.txt.a1B2-3D4",  // not the save's alphabet
        ".other.txt.a1B2c3D8",    // another file's
        "journal.txt.a1B2c3D8",   // not hidden
    };
    for (const auto &name : leftovers) {
        writeFile(dir / name, "stale");
    }
    for (const auto &name : others) {
        writeFile(dir / name, "someone else's");
    }
    fs::create_directory(dir / ".journal.txt.dirDIRLZ");

    EXPECT_EQ(removeSaveLeftovers(target.string()), 2);
    std::vector<std::string> expected = others;
    expected.push_back(".journal.txt.dirDIRLZ");
    expected.push_back("journal.txt");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(entries(), expected);
}

TEST_F(SafeSave, newFileIsNeverWrittenOverAnExistingOne)
{
    ASSERT_TRUE(saveNewFile(target.string(), "first").saved);
    const SaveResult second = saveNewFile(target.string(), "second");
    EXPECT_FALSE(second.saved);
    EXPECT_EQ(readFile(target), "first");
    EXPECT_EQ(entries(), std::vector<std::string>{"journal.txt"});
}

TEST_F(SafeSave, newFileTakesTheGivenPermissionBitsWhateverTheUmask)
{
    const mode_t previous = ::umask(0);
    const SaveResult saved = saveNewFile(target.string(), "private", 0600);
    ::umask(previous);
    ASSERT_TRUE(saved.saved) << saved.error;
    EXPECT_EQ(permissionBits(target), 0600u);
    EXPECT_EQ(entries(), std::vector<std::string>{"journal.txt"});
}

TEST_F(SafeSave, readFileBytesReadsEverythingOrReportsWhy)
{
    std::string big(300 * 1024, 'x');
    big[1000] = '\0';
    writeFile(target, big);
    std::string bytes = "untouched";
    std::string error;
    ASSERT_TRUE(readFileBytes(target.string(), bytes, error)) << error;
    EXPECT_EQ(bytes, big);

    bytes = "untouched";
    FileProblem problem = FileProblem::none;
    EXPECT_FALSE(readFileBytes((dir / "absent").string(), bytes, error, &problem));
    EXPECT_EQ(error, std::strerror(ENOENT));
    EXPECT_EQ(problem, FileProblem::notFound);
    EXPECT_EQ(bytes, "untouched");
}

// None of these may be read until memory runs out, nor wait for a writer.
TEST_F(SafeSave, readFileBytesRefusesWhatIsNoJournal)
{
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    // Sparse: no disk space, just a size beyond the limit.
    fs::path huge = dir / "huge.txt";
    writeFile(huge, "");
    fs::resize_file(huge, maxReadableFileBytes + 1);
    const std::pair<fs::path, FileProblem> cases[] = {
        {dir, FileProblem::notRegularFile},
        {dir / "fifo", FileProblem::notRegularFile},
        {"/dev/null", FileProblem::notRegularFile},
        {huge, FileProblem::tooLarge},
    };
    for (const auto &[path, expected] : cases) {
        std::string bytes = "untouched";
        std::string error;
        FileProblem problem = FileProblem::none;
        EXPECT_FALSE(readFileBytes(path.string(), bytes, error, &problem)) << path;
        EXPECT_EQ(problem, expected) << path;
        EXPECT_EQ(bytes, "untouched");
    }
}

// Relative to a held folder, every kind of write follows the folder when it
// is renamed, and a deleted folder is told as such: nothing is made again
// under its old name.
TEST_F(SafeSave, aHeldFolderIsFollowedWhenRenamedAndReportedWhenDeleted)
{
    fs::create_directory(dir / "journals");
    writeFile(dir / "journals/journal.txt", "old");
    const Folder folder = Folder::open((dir / "journals").string());
    ASSERT_TRUE(folder.isOpen());
    fs::rename(dir / "journals", dir / "moved");

    ASSERT_TRUE(saveFileAtomically(folder.fd(), "journal.txt", "new", true).saved);
    ASSERT_TRUE(saveNewFile(folder.fd(), "journal.txt.copy", "copy").saved);
    std::string bytes;
    std::string error;
    ASSERT_TRUE(readFileBytes(folder.fd(), "journal.txt", bytes, error)) << error;
    EXPECT_EQ(bytes, "new");
    EXPECT_EQ(readFile(dir / "moved/journal.txt.bak"), "old");
    EXPECT_EQ(readFile(dir / "moved/journal.txt.copy"), "copy");
    EXPECT_EQ(folder.currentPath(), fs::canonical(dir / "moved").string());
    EXPECT_FALSE(folder.deleted());

    fs::remove_all(dir / "moved");
    EXPECT_TRUE(folder.deleted());
    const SaveResult stored = saveFileAtomically(folder.fd(), "journal.txt", "newer", true);
    EXPECT_FALSE(stored.saved);
    EXPECT_EQ(stored.problem, FileProblem::notFound);
    EXPECT_EQ(saveNewFile(folder.fd(), "journal.txt.copy", "copy").problem, FileProblem::notFound);
    EXPECT_EQ(entries(), std::vector<std::string>{});
}

} // namespace
