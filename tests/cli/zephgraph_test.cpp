// zeph graph through the real executable: the files it writes.

#include "docsetup.h"
#include "zephrunner.h"

#include "journal/cquilloxdoc.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

using testfiles::readFile;
using testfiles::TempDir;
using testfiles::writeFile;
using zephtest::runZeph;

std::uint32_t bigEndian(const std::string &bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

std::size_t occurrences(const std::string &text, const std::string &part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST(ZephGraph, aPngHasTheSizeAskedForAndAPdfOnePage)
{
    TempDir dir;
    CQuilloxDoc doc;
    userInfoOf(doc)->name = "taro";
    for (int day = 1; day <= 28; ++day) {
        putDay(doc, makeDate(2026, 2, day), "", 60 + day * 0.1, 20, day % 3, 600, 0, 0);
    }
    const std::string journal = doc.journalText();
    writeFile(dir.path() / "zph0001.txt", journal);

    const zephtest::Run png = runZeph(dir.path(), {"graph", "week.png", "--date", "2026-02-20",
                                                   "--size", "640x240", "--period", "7"});
    ASSERT_EQ(png.status, 0) << png.err;
    EXPECT_TRUE(png.err.empty()) << png.err;
    const std::string image = readFile(dir.path() / "week.png");
    ASSERT_GT(image.size(), 24u);
    EXPECT_EQ(image.substr(1, 3), "PNG");
    EXPECT_EQ(bigEndian(image, 16), 640u); // IHDR width
    EXPECT_EQ(bigEndian(image, 20), 240u); // IHDR height

    // At ratio 2 the same picture has twice the pixels each way.
    const zephtest::Run sharp =
        runZeph(dir.path(), {"graph", "sharp.png", "--date", "2026-02-20", "--size", "640x240",
                             "--period", "7", "--scale", "2"});
    ASSERT_EQ(sharp.status, 0) << sharp.err;
    const std::string scaled = readFile(dir.path() / "sharp.png");
    ASSERT_GT(scaled.size(), 24u);
    EXPECT_EQ(bigEndian(scaled, 16), 1280u);
    EXPECT_EQ(bigEndian(scaled, 20), 480u);

    const zephtest::Run pdf = runZeph(dir.path(), {"graph", "page.pdf", "--period", "1m"});
    ASSERT_EQ(pdf.status, 0) << pdf.err;
    const std::string page = readFile(dir.path() / "page.pdf");
    EXPECT_TRUE(page.starts_with("%PDF-"));
    EXPECT_EQ(occurrences(page, "/Type /Page\n"), 1u);
    // The period asked for is not stored.
    EXPECT_EQ(readFile(dir.path() / "zph0001.txt"), journal);

    const zephtest::Run unwritable = runZeph(dir.path(), {"graph", "missing/dir/out.png"});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("に保存できませんでした"), std::string::npos) << unwritable.err;
}

} // namespace
