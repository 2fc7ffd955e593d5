#include "text/cp932.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>

using namespace std::string_view_literals;

namespace {

std::string hexOf(std::string_view bytes)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string shown;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (!shown.empty()) {
            shown += ' ';
        }
        shown += hex[byte >> 4];
        shown += hex[byte & 0xf];
    }
    return shown;
}

// UTF-8 of one of the escape characters that stand for an undecodable byte.
std::string escapeFor(unsigned char byte)
{
    const char32_t c = cp932ByteEscapeBase + byte;
    std::string utf8;
    utf8 += static_cast<char>(0xf0 | (c >> 18));
    utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3f));
    utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
    utf8 += static_cast<char>(0x80 | (c & 0x3f));
    return utf8;
}

void expectRoundTrip(std::string_view bytes)
{
    const Cp932Decoded decoded = decodeCp932(bytes);
    const Cp932Encoded encoded = encodeCp932(decoded.utf8);
    ASSERT_FALSE(encoded.unencodable.has_value())
        << "bytes " << hexOf(bytes) << " decoded to U+" << std::hex
        << static_cast<unsigned>(*encoded.unencodable);
    ASSERT_EQ(hexOf(encoded.bytes), hexOf(bytes));
}

} // namespace

TEST(Cp932, charactersTheJournalRelyOnConvertBothWays)
{
    const struct {
        const char *name;
        std::string_view utf8;
        std::string_view cp932;
    } cases[] = {
        {"ASCII", "Jog 5km", "Jog 5km"},
        {"backslash", "\\", "\x5c"},
        {"tilde", "~", "\x7e"},
        {"control bytes", "\t\r\n\0"sv, "\t\r\n\0"sv},
        {"so", "ソ", "\x83\x5c"},
        {"hyou", "表", "\x95\x5c"},
        {"roman two", "Ⅱ", "\x87\x55"},
        {"circled one", "①", "\x87\x40"},
        {"full-width tilde", "～", "\x81\x60"},
        {"half-width katakana", "ﾊﾝｶｸ ｰﾟ", "\xca\xdd\xb6\xb8 \xb0\xdf"},
        {"taka (IBM extension)", "髙", "\xfb\xfc"},
        {"IBM extension with trail 0x5C", "纊", "\xfa\x5c"},
        {"full-width blank", "　", "\x81\x40"},
        {"horizontal bar", "―", "\x81\x5c"},
        {"user-defined area", "\xee\x80\x80", "\xf0\x40"},
        {"mixed", "体重65.5kg、表ソ\\",
         "\x91\xcc\x8f\x64"
         "65.5kg\x81\x41\x95\x5c\x83\x5c\x5c"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Cp932Decoded decoded = decodeCp932(c.cp932);
        EXPECT_EQ(decoded.utf8, c.utf8);
        EXPECT_EQ(decoded.undecodableBytes, 0u);
        const Cp932Encoded encoded = encodeCp932(c.utf8);
        EXPECT_FALSE(encoded.unencodable.has_value());
        EXPECT_EQ(hexOf(encoded.bytes), hexOf(c.cp932));
    }
}

TEST(Cp932, jisFormsTypedOnLinuxAreFoldedToTheirCodePage932Characters)
{
    const struct {
        std::string_view typed;
        std::string_view cp932;
    } cases[] = {
        {"〜", "\x81\x60"}, // U+301C
        {"−", "\x81\x7c"},  // U+2212
        {"‖", "\x81\x61"},  // U+2016
        {"¢", "\x81\x91"},
        {"£", "\x81\x92"},
        {"¬", "\x81\xca"},
        {"—", "\x81\x5c"}, // U+2014
        {"5〜10km", "5\x81\x60"
                    "10km"},
    };
    for (const auto &c : cases) {
        const Cp932Encoded encoded = encodeCp932(c.typed);
        EXPECT_FALSE(encoded.unencodable.has_value()) << c.typed;
        EXPECT_EQ(hexOf(encoded.bytes), hexOf(c.cp932)) << c.typed;
    }
}

TEST(Cp932, encodingReportsTheFirstCharacterItCannotHoldAndWhere)
{
    const struct {
        const char *name;
        std::string_view utf8;
        char32_t unencodable;
        std::size_t offset;
        std::string_view bytesBefore;
    } cases[] = {
        {"emoji", "ab😀cd", U'\U0001F600', 2, "ab"},
        {"e acute after kanji", "日本é", U'é', 6, "\x93\xfa\x96\x7b"},
        {"first of two", "éü", U'é', 0, ""},
        {"invalid byte",
         "a\xff"
         "b",
         0xFFFD, 1, "a"},
        {"lone continuation byte", "a\x80", 0xFFFD, 1, "a"},
        {"truncated at end", "a\xe3\x81", 0xFFFD, 1, "a"},
        {"overlong slash", "\xc0\xaf", 0xFFFD, 0, ""},
        {"overlong three bytes", "x\xe0\x80\xaf", 0xFFFD, 1, "x"},
        {"surrogate", "\xed\xa0\x80", 0xFFFD, 0, ""},
        {"beyond U+10FFFF", "\xf4\x90\x80\x80", 0xFFFD, 0, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Cp932Encoded encoded = encodeCp932(c.utf8);
        ASSERT_TRUE(encoded.unencodable.has_value());
        EXPECT_EQ(static_cast<unsigned>(*encoded.unencodable),
                  static_cast<unsigned>(c.unencodable));
        EXPECT_EQ(encoded.unencodableOffset, c.offset);
        EXPECT_EQ(hexOf(encoded.bytes), hexOf(c.bytesBefore));
    }
}

TEST(Cp932, undecodableBytesBecomeEscapesInsteadOfBeingDropped)
{
    const struct {
        const char *name;
        std::string_view cp932;
        std::string utf8;
        std::size_t undecodable;
    } cases[] = {
        {"lone lead byte at the end", "ab\x83", "ab" + escapeFor(0x83), 1},
        {"lead byte before a blank", "\x83 x", escapeFor(0x83) + " x", 1},
        {"lead byte before CR LF", "\x95\r\n", escapeFor(0x95) + "\r\n", 1},
        {"unassigned single bytes", "\x80\xa0\xfd\xfe\xff",
         escapeFor(0x80) + escapeFor(0xa0) + escapeFor(0xfd) + escapeFor(0xfe) + escapeFor(0xff),
         5},
        // A well-formed but unassigned pair stays a pair: its trail byte is neither shown
        // as a backslash nor taken as the start of the next character.
        {"unassigned pair with trail 0x5C",
         "\x85\x5c"
         "n",
         escapeFor(0x85) + escapeFor(0x5c) + "n", 2},
        {"unassigned pair before a lead byte", "\x85\x95\x5c",
         escapeFor(0x85) + escapeFor(0x95) + "\\", 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Cp932Decoded decoded = decodeCp932(c.cp932);
        EXPECT_EQ(hexOf(decoded.utf8), hexOf(c.utf8));
        EXPECT_EQ(decoded.undecodableBytes, c.undecodable);
        expectRoundTrip(c.cp932);
    }
}

// Code page 932 has two codes for some characters (Ⅰ at 0x8754 and 0xFA4A, ≒ at 0x81E0
// and 0x8790). Windows writes the first; the second must still come back as written.
TEST(Cp932, duplicateCodesKeepTheirBytes)
{
    for (std::string_view bytes : {"\xfa\x4a"sv, "\x87\x90"sv, "\xed\x40"sv, "\xee\xef"sv}) {
        SCOPED_TRACE(hexOf(bytes));
        const Cp932Decoded decoded = decodeCp932(bytes);
        EXPECT_EQ(decoded.undecodableBytes, 2u);
        expectRoundTrip(bytes);
    }
    EXPECT_EQ(hexOf(encodeCp932("Ⅰ").bytes), "87 54");
    EXPECT_EQ(hexOf(encodeCp932("≒").bytes), "81 E0");
    EXPECT_EQ(hexOf(encodeCp932("纊").bytes), "FA 5C");
}

TEST(Cp932, everyByteAndBytePairSurvivesDecodingAndEncoding)
{
    for (int first = 0; first < 256; ++first) {
        const char single = static_cast<char>(first);
        expectRoundTrip(std::string_view(&single, 1));
        for (int second = 0; second < 256; ++second) {
            const char pair[2] = {static_cast<char>(first), static_cast<char>(second)};
            expectRoundTrip(std::string_view(pair, 2));
        }
    }
}

TEST(Cp932, randomByteStringsSurviveDecodingAndEncoding)
{
    std::mt19937 random(932);
    std::uniform_int_distribution<int> anyByte(0, 255);
    std::uniform_int_distribution<int> anyLength(0, 64);
    for (int i = 0; i < 2000; ++i) {
        std::string bytes(static_cast<std::size_t>(anyLength(random)), '\0');
        for (char &c : bytes) {
            c = static_cast<char>(anyByte(random));
        }
        expectRoundTrip(bytes);
    }
}

TEST(Cp932, escapeCharactersEncodeToTheirByte)
{
    const Cp932Encoded encoded =
        encodeCp932("a" + escapeFor(0x00) + escapeFor(0x83) + escapeFor(0xff));
    EXPECT_FALSE(encoded.unencodable.has_value());
    EXPECT_EQ(hexOf(encoded.bytes), "61 00 83 FF");
}
