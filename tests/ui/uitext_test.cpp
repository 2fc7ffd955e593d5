#include "qttext/uitext.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

struct RoundTrip {
    const char *bytes;
    QString text;
};

} // namespace

TEST(UiText, japaneseJournalTextRoundTrips)
{
    const RoundTrip cases[] = {
        {"", QString()},
        {"abc 123", QStringLiteral("abc 123")},
        {"\x8e\x52\x93\x63", QStringLiteral("\u5C71\u7530")}, // 山田
        {"\x83\x5c\x95\x5c", QStringLiteral("\u30BD\u8868")}, // trail byte 0x5C
        {"\xb6\xc5", QStringLiteral("\uFF76\uFF85")},         // half-width katakana
        {"\x81\x60", QStringLiteral("\uFF5E")},               // the wave dash of ranges
        {"\x87\x40\x87\x55", QStringLiteral("\u2460\u2161")}, // NEC row-13 symbols
    };
    for (const auto &c : cases) {
        EXPECT_EQ(fromJournalText(c.bytes), c.text) << c.bytes;
        QString error;
        EXPECT_EQ(toJournalText(c.text, &error), std::string(c.bytes)) << c.bytes;
        EXPECT_TRUE(error.isEmpty());
    }
}

TEST(UiText, bytesThatAreNoCharacterSurviveTheUserInterface)
{
    for (const char *bytes : {"ab\x81", "\x80", "\xa0\xfd", "x\xff\x40y"}) {
        const QString shown = fromJournalText(bytes);
        EXPECT_EQ(toJournalText(shown), std::string(bytes));
    }
}

TEST(UiText, inputMethodFormsAreStoredAsCodePage932Characters)
{
    // 〜 and − as Linux input methods type them.
    EXPECT_EQ(toJournalText(QStringLiteral("\u301C\u2212")), std::string("\x81\x60\x81\x7c"));
}

TEST(UiText, aCharacterCodePage932CannotHoldIsNamed)
{
    const QString refused[] = {QStringLiteral("caf\u00E9"), QStringLiteral("ok \U0001F600"),
                               QStringLiteral("\u00E9\U0001F600")};
    const QString named[] = {QStringLiteral("\u00E9"), QStringLiteral("\U0001F600"),
                             QStringLiteral("\u00E9")};
    const QString codes[] = {QStringLiteral("U+00E9"), QStringLiteral("U+1F600"),
                             QStringLiteral("U+00E9")};
    for (std::size_t i = 0; i < std::size(refused); ++i) {
        QString error;
        EXPECT_EQ(toJournalText(refused[i], &error), std::nullopt);
        // Quoted as it is (é, not É) and by its code point.
        EXPECT_TRUE(error.contains(QStringLiteral("\u300C") + named[i] + QStringLiteral("\u300D")))
            << error.toStdString();
        EXPECT_TRUE(error.contains(codes[i])) << error.toStdString();
    }
    // Without a place for the message the answer is the same.
    EXPECT_EQ(toJournalText(QStringLiteral("\U0001F600")), std::nullopt);
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
