// zeph through the real executable: what a script sees on its output, its
// exit status, and what is left in the journal afterwards.

#include "zephrunner.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using testfiles::readFile;
using testfiles::TempDir;
using testfiles::writeFile;
using zephtest::runZeph;

constexpr const char *journalName = "zph0001.txt";

TEST(Zeph, argumentErrorsExitWithTwoAndWriteNothing)
{
    TempDir dir;
    for (const std::vector<std::string> &args : std::vector<std::vector<std::string>>{
             {}, {"add", "--date", "2026-02-30"}, {"show", "--bogus"}, {"graph", "x.svg"}}) {
        const zephtest::Run run = runZeph(dir.path(), args);
        EXPECT_EQ(run.status, 2) << args.size();
        EXPECT_TRUE(run.out.empty());
        EXPECT_TRUE(run.err.starts_with("zeph: ")) << run.err;
    }
    const zephtest::Run impossible = runZeph(dir.path(), {"advice", "--date", "2026-02-30"});
    EXPECT_NE(impossible.err.find("「2026-02-30」は存在しない日です"), std::string::npos);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{".io"});

    const zephtest::Run help = runZeph(dir.path(), {"check", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("使い方: zeph check")) << help.out;
    const zephtest::Run version = runZeph(dir.path(), {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.starts_with("zeph (Zephalonte) ")) << version.out;
}

TEST(Zeph, checkReportsWhatALoadWouldLoseAndLeavesTheFile)
{
    TempDir dir;
    const std::string damaged = "# quillox file ver 2\r\n[data]\r\n2026/02/28\t60\t\r\n"
                                "2026/02/30\t61\t\r\n";
    writeFile(dir.path() / "damaged.txt", damaged);
    const zephtest::Run run = runZeph(dir.path(), {"check", "damaged.txt"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("damaged.txt:4: 存在しない日付"), std::string::npos) << run.out;
    EXPECT_EQ(readFile(dir.path() / "damaged.txt"), damaged);

    writeFile(dir.path() / journalName, "# quillox file ver 2\r\n[data]\r\n2026/02/28\t60\t\r\n");
    const zephtest::Run clean = runZeph(dir.path(), {"--file", journalName, "check"});
    EXPECT_EQ(clean.status, 0) << clean.err;
    EXPECT_NE(clean.out.find("失われるものはありません"), std::string::npos) << clean.out;

    // Without a name: the current user's journal, as the profile numbers it.
    std::filesystem::create_directories(dir.path() / ".config/Ornavel");
    writeFile(dir.path() / ".config/Ornavel/Zephalonte.ini", "[Settings]\ncrntUserNum=7\n");
    writeFile(dir.path() / "zph0007.txt", damaged);
    const zephtest::Run current = runZeph(dir.path(), {"check"});
    EXPECT_EQ(current.status, 1);
    EXPECT_NE(current.out.find("zph0007.txt:4: "), std::string::npos) << current.out;

    const zephtest::Run missing = runZeph(dir.path(), {"check", "absent.txt"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("absent.txt を開けませんでした"), std::string::npos) << missing.err;
}

} // namespace
