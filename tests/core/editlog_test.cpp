#include "journal/cquilloxdoc.h"
#include "journal/editlog.h"

#include "docsetup.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const Date today = makeDate(2026, 12, 9);

EditLogHeader header()
{
    return {"zph0001.txt", 2049, 1234567, hashContent("# quillox file ver 2\r\n")};
}

// Every kind of image a record holds: a day added, changed and removed (a
// memo with CP932 bytes and a NUL, numbers no text keeps exactly), and each
// section with values away from their defaults.
std::vector<Edit> sampleEdits()
{
    CQuilloxDoc doc(today);
    std::vector<Edit> edits;
    const auto record = [&](const Edit &edit) { edits.push_back(doc.applyEdit(edit).inverse()); };
    const std::string memo("\x83\x5c\\n\0end", 7);
    record(
        dayEdit(doc, DayRecord{makeDate(2026, 12, 4), 61.0 / 3, 23.9, 5, 1800, 2.5, -0.0, memo}));
    record(dayEdit(doc, DayRecord{makeDate(2026, 12, 4), 60, 0, 0, 0, 0, 0, ""}));
    record(removeDayEdit(doc, makeDate(2026, 12, 4)));
    EditBuilder sections(doc);
    UserInfo user{"Hanako", 1975, 4, 30, false, 158.5, 52};
    Objective objective{3, 52, 22.5, 100, "\x83\x7a\x83\x6d", makeDate(2027, 3, 1)};
    GraphSettings settings;
    settings.graphFat = true;
    settings.paperOri = paperPortrait;
    settings.yAxisMain = 2;
    settings.colorBackGround = 0x123456;
    settings.colorNotFat = 0xabcdef;
    sections.changeUserInfo(user);
    sections.changeObjective(objective);
    sections.changeGraphSettings(settings);
    record(sections.take());
    return edits;
}

std::string logOf(const std::vector<Edit> &edits)
{
    std::string bytes = encodeLogHeader(header());
    for (const Edit &edit : edits)
        bytes += encodeLogRecord(edit);
    return bytes;
}

} // namespace

TEST(EditLog, recordsReadBackExactly)
{
    const std::vector<Edit> edits = sampleEdits();
    const EditLogContents log = readEditLog(logOf(edits));
    ASSERT_TRUE(log.headerRead);
    EXPECT_EQ(log.header, header());
    EXPECT_EQ(log.records, edits);
    EXPECT_EQ(log.ignoredBytes, 0u);
}

// A log cut anywhere (a write killed half-way) gives back exactly the whole
// records before the cut; one byte changed in the last record drops it alone.
TEST(EditLog, tornOrDamagedLastRecordIsLeftOut)
{
    const std::vector<Edit> edits = sampleEdits();
    const std::string whole = logOf(edits);
    const std::size_t headerSize = encodeLogHeader(header()).size();
    std::vector<std::size_t> ends{headerSize};
    for (const Edit &edit : edits)
        ends.push_back(ends.back() + encodeLogRecord(edit).size());
    for (std::size_t cut = headerSize; cut < whole.size(); ++cut) {
        const EditLogContents log = readEditLog(std::string_view(whole).substr(0, cut));
        const std::size_t complete =
            std::upper_bound(ends.begin(), ends.end(), cut) - ends.begin() - 1;
        ASSERT_TRUE(log.headerRead);
        ASSERT_EQ(log.records.size(), complete) << "cut at " << cut;
        EXPECT_EQ(log.ignoredBytes, cut - ends[complete]);
    }
    std::string damaged = whole;
    damaged[whole.size() - 3] ^= 0x20;
    const EditLogContents log = readEditLog(damaged);
    EXPECT_EQ(log.records.size(), edits.size() - 1);
    EXPECT_GT(log.ignoredBytes, 0u);
}

// Anything that is not our header is no log of ours: a journal text (the
// recovery file of earlier releases), an empty file, a header cut short or
// with a byte changed.
TEST(EditLog, headerMustBeWhole)
{
    const std::string head = encodeLogHeader(header());
    std::string changed = head;
    changed[head.size() - 9] ^= 1;
    for (const std::string &bytes :
         {std::string("# quillox file ver 2\r\n[data]\r\n"), std::string(), head.substr(0, 30),
          head.substr(0, head.size() - 1), changed}) {
        EXPECT_FALSE(readEditLog(bytes).headerRead);
    }
    EXPECT_TRUE(looksLikeEditLog(head.substr(0, 5)));
    EXPECT_FALSE(looksLikeEditLog("# quillox file ver 2\r\n"));
    EXPECT_NE(hashContent("a"), hashContent("b"));
}
