#include "text/entrytext.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <string_view>

using namespace std::string_view_literals;

namespace {

// Code-page-932 characters whose trail byte is the backslash.
constexpr std::string_view so = "\x83\x5c";             // ソ
constexpr std::string_view hyou = "\x95\x5c";           // 表
constexpr std::string_view fullWidthBlank = "\x81\x40"; // U+3000

std::string cat(std::initializer_list<std::string_view> parts)
{
    std::string joined;
    for (std::string_view part : parts) {
        joined += part;
    }
    return joined;
}

// Shows control and non-ASCII bytes when a memo comparison fails.
std::string visible(std::string_view bytes)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string shown;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f) {
            shown += c;
        } else {
            shown += "<";
            shown += hex[byte >> 4];
            shown += hex[byte & 0xf];
            shown += ">";
        }
    }
    return shown;
}

} // namespace

// --- durations ---------------------------------------------------------------

TEST(FormatDuration, showsMinutesBelowAnHourAndHoursFromOneHourOn)
{
    const struct {
        double seconds;
        const char *shown;
    } cases[] = {
        {0, ""},
        {45, "0'45\""},
        {330, "5'30\""},
        {3599, "59'59\""},
        {3600, "1:00'00\""},
        {3930, "1:05'30\""},
        {360000, "100:00'00\""},
        {59.9, "0'59\""},
        {0.5, "0'00\""},
        {86399.99, "23:59'59\""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(formatDuration(c.seconds), c.shown) << "seconds " << c.seconds;
    }
}

TEST(FormatDuration, valuesBeyondTheIntRangeAreClampedNotUndefined)
{
    EXPECT_EQ(formatDuration(2147483647.0), "596523:14'07\"");
    EXPECT_EQ(formatDuration(2147483648.0), "596523:14'07\"");
    EXPECT_EQ(formatDuration(1e300), "596523:14'07\"");
    EXPECT_EQ(formatDuration(std::numeric_limits<double>::infinity()), "596523:14'07\"");
    // The most negative int: minutes and seconds carry the sign, hours are not shown.
    EXPECT_EQ(formatDuration(-1e300), formatDuration(-2147483648.0));
    EXPECT_EQ(formatDuration(-std::numeric_limits<double>::infinity()),
              formatDuration(-2147483648.0));
    // As printf's %02d writes them: the sign counts towards the width.
    EXPECT_EQ(formatDuration(-2147483648.0), "-14'-8\"");
    EXPECT_EQ(formatDuration(-330), "-5'-30\"");
    EXPECT_EQ(formatDuration(-5), "0'-5\"");
    EXPECT_EQ(formatDuration(std::nan("")), "");
    EXPECT_EQ(formatDuration(-0.0), "");
}

TEST(ParseDuration, readsTheTypedForms)
{
    const struct {
        const char *typed;
        double seconds;
    } cases[] = {
        {"", 0},         {"0", 0},         {"45", 2700},        {"90", 5400},      {"1:30", 5400},
        {"1:", 3600},    {"5'30", 330},    {"5'30\"", 330},     {"5'", 300},       {"1'75", 135},
        {"30\"", 30},    {"1:30\"", 3630}, {"1:05'30\"", 3930}, {"1:05'30", 3930}, {"1:30'", 5400},
        {"1:'\"", 3600}, {"007", 420},     {"0:0'0\"", 0},
    };
    for (const auto &c : cases) {
        const std::optional<double> parsed = parseDuration(c.typed);
        ASSERT_TRUE(parsed.has_value()) << "typed '" << c.typed << "'";
        EXPECT_EQ(*parsed, c.seconds) << "typed '" << c.typed << "'";
    }
}

TEST(ParseDuration, rejectsTextOutsideTheGrammar)
{
    // The last three: a full-width 5 in UTF-8 and in code page 932, and a trailing NUL.
    const std::string_view rejected[] = {
        ":30", "'30", "\"", "1:2:3", "1'2'3", "1'2:3",    "30\"5",        "1.5",      "5 ",
        " 5",  "1h",  "-5", "+5",    "5\"\"", "1:30'\"x", "\xef\xbc\x95", "\x82\x54", "5\0"sv,
    };
    for (std::string_view typed : rejected) {
        EXPECT_FALSE(parseDuration(typed).has_value()) << "typed '" << visible(typed) << "'";
    }
}

// Nothing bounds the numbers in the grammar itself; a total beyond what the journal's
// 32-bit seconds can hold is refused rather than wrapped round to a wrong duration.
TEST(ParseDuration, rejectsNumbersAndTotalsBeyondThe32BitRange)
{
    const struct {
        const char *typed;
        std::optional<double> seconds;
    } cases[] = {
        {"2147483647\"", 2147483647.0},
        {"2147483648\"", std::nullopt},
        {"0'2147483647", 2147483647.0},
        {"0'2147483648", std::nullopt},
        {"35791394", 2147483640.0}, // bare minutes
        {"35791395", std::nullopt},
        {"2147483648", std::nullopt},
        {"99999999999999999999999999", std::nullopt},
        {"0:35791394'07\"", 2147483647.0},
        {"0:35791394'08\"", std::nullopt},
        {"596523:14'07\"", 2147483647.0},
        {"596523:14'08\"", std::nullopt},
        {"596523:14", 2147483640.0},
        {"596523:15", std::nullopt},
        {"596524:00'00\"", std::nullopt},
        {"35791395:00", std::nullopt},
        {"1:0'2147483647", std::nullopt},
        {"0000000000002147483647\"", 2147483647.0},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(parseDuration(c.typed), c.seconds) << "typed '" << c.typed << "'";
    }
}

TEST(ParseDuration, everyShownDurationReadsBackToTheSameSeconds)
{
    for (int seconds = 1; seconds <= 200000; ++seconds) {
        const std::string shown = formatDuration(seconds);
        const std::optional<double> parsed = parseDuration(shown);
        ASSERT_EQ(parsed, std::optional<double>(seconds)) << "shown " << shown;
    }
    std::mt19937 random(20020630);
    std::uniform_int_distribution<int> anySeconds(1, std::numeric_limits<int>::max());
    for (int i = 0; i < 20000; ++i) {
        const int seconds = anySeconds(random);
        const std::string shown = formatDuration(seconds);
        ASSERT_EQ(parseDuration(shown), std::optional<double>(seconds)) << "shown " << shown;
    }
    const std::string largest = formatDuration(std::numeric_limits<int>::max());
    EXPECT_EQ(parseDuration(largest), std::optional<double>(std::numeric_limits<int>::max()));
}

TEST(ParseDuration, minutesAndSecondsBeyond59AddUpAndShowNormalised)
{
    const std::optional<double> parsed = parseDuration("1'75");
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(formatDuration(*parsed), "2'15\"");
    EXPECT_EQ(formatDuration(*parseDuration("0:90'00\"")), "1:30'00\"");
}

// --- entry numbers ----------------------------------------------------------

TEST(FormatEntryNumber, writesSixSignificantDigitsLikePercentG)
{
    const struct {
        double value;
        const char *shown;
    } cases[] = {
        {0, ""},
        {-0.0, ""},
        {65.5, "65.5"},
        {65.25, "65.25"},
        {70.0, "70"},
        {0.1, "0.1"},
        {42.195, "42.195"},
        {123.4567, "123.457"},
        {-3.5, "-3.5"},
        {999999, "999999"},
        {1e6, "1e+06"},
        {0.0001, "0.0001"},
        {0.00001, "1e-05"},
        {DBL_MAX, "1.79769e+308"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(formatEntryNumber(c.value), c.shown) << "value " << c.value;
    }
}

TEST(ParseEntryNumber, readsTheLeadingDecimalNumberLikeAtof)
{
    const struct {
        std::string_view typed;
        double value;
    } cases[] = {
        {"", 0},
        {"65", 65},
        {"65.5", 65.5},
        {"65kg", 65},
        {"abc", 0},
        {".5", 0.5},
        {"5.", 5},
        {"5.e1", 50},
        {".", 0},
        {"-", 0},
        {"+", 0},
        {"+5", 5},
        {"-2.5", -2.5},
        {"+-5", 0},
        {"--5", 0},
        {" \t\n\v\f\r 42.195", 42.195},
        {"\x81\x40"
         "5",
         0},                 // a full-width blank is not white space
        {"\xef\xbc\x95", 0}, // a full-width digit is not a digit
        {"1e", 1},
        {"1e+", 1},
        {"1e-x", 1},
        {"1e3", 1000},
        {"1E2", 100},
        {"2.5e-1", 0.25},
        {"1,5", 1},
        {"0x10", 0},
        {"inf", 0},
        {"nan", 0},
        {"-infinity", 0},
        {"12 34", 12},
        {"0e999999999999999999999", 0},
        {"00000000000000000000000000000065.5", 65.5},
        {"65\0"
         "5"sv,
         65},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(parseEntryNumber(c.typed), c.value) << "typed '" << visible(c.typed) << "'";
    }
}

TEST(ParseEntryNumber, outOfRangeMagnitudesGiveTheLargestFiniteValueOrZero)
{
    const struct {
        std::string_view typed;
        double value;
    } cases[] = {
        {"1e400", DBL_MAX},
        {"-1e400", -DBL_MAX},
        {"1e999999999999999999999999", DBL_MAX},
        {"1.7976931348623159e308", DBL_MAX},
        {"0.000000001e318", DBL_MAX},
        {"1e-400", 0},
        {"-1e-400", 0},
        {"1e-999999999999999999999999", 0},
        {"100000e-405", 0},
        {"1.7976931348623157e308", DBL_MAX},
    };
    for (const auto &c : cases) {
        const double value = parseEntryNumber(c.typed);
        EXPECT_EQ(value, c.value) << "typed '" << c.typed << "'";
        EXPECT_TRUE(std::isfinite(value)) << "typed '" << c.typed << "'";
        EXPECT_FALSE(std::signbit(value) && value == 0) << "typed '" << c.typed << "'";
    }
    std::string manyDigits(400, '9');
    EXPECT_EQ(parseEntryNumber(manyDigits), DBL_MAX);
    EXPECT_EQ(parseEntryNumber("0." + std::string(400, '0') + "1"), 0);
}

TEST(EntryNumber, shownValuesReadBackAsTheSameNumber)
{
    for (double value : {65.5, 65.25, 70.0, 0.1, 42.195, -3.5, 1e6, 0.0001, 1e-05}) {
        EXPECT_EQ(parseEntryNumber(formatEntryNumber(value)), value) << "value " << value;
    }
}

// The application sets the user's locale; in German the C library would write and read
// "65,5". The journal and the fields always use the point.
TEST(EntryNumber, ignoresALocaleWithADecimalComma)
{
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    bool found = false;
    for (const char *name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            found = true;
            break;
        }
    }
    if (!found) {
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    const std::string shown = formatEntryNumber(65.5);
    const double read = parseEntryNumber("65.5");
    const double readComma = parseEntryNumber("65,5");
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_EQ(shown, "65.5");
    EXPECT_EQ(read, 65.5);
    EXPECT_EQ(readComma, 65);
}

// --- memos ------------------------------------------------------------------

TEST(ToStoredMemo, escapesAndKeepsDoubleByteCharactersWhole)
{
    const struct {
        std::string display;
        std::string stored;
    } cases[] = {
        {"", ""},
        {"abc", "abc"},
        {"a\tb", "a\\tb"},
        {"a\r\nb", "a\\nb"},
        {"a\nb", "a\\nb"},
        {"a\rb", "a\\rb"},
        {"a\r\rb", "a\\r\\rb"},
        {"a\r\r\nb", "a\\r\\nb"},
        {"a\n\rb", "a\\n\\rb"},
        {"a\\b", "a\\\\b"},
        {"\\n", "\\\\n"},
        {std::string(so), std::string(so)},
        {std::string(hyou), std::string(hyou)},
        {cat({so, "n", hyou, "\\"}), cat({so, "n", hyou, "\\\\"})},
        {cat({so, "\r\n", hyou}), cat({so, "\\n", hyou})},
        // A lone lead byte at the end is copied as it is.
        {"a\x83", "a\x83"},
        // A NUL after a lead byte does not form a character.
        {std::string("\x83\0x"sv), std::string("\x83\0x"sv)},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(visible(toStoredMemo(c.display)), visible(c.stored))
            << "display " << visible(c.display);
    }
}

TEST(ToStoredMemo, trimsTrailingBlanksLineEndsAndNulsOnly)
{
    const struct {
        std::string display;
        std::string stored;
    } cases[] = {
        {"abc \r\n\r\n  ", "abc"},
        {"abc\n\n", "abc"},
        {"abc\r", "abc"},
        {std::string("abc\0\0"sv), "abc"},
        {std::string("abc \0\r\n"sv), "abc"},
        {" \r\n \r\n", ""},
        {"   ", ""},
        {"abc\t", "abc\\t"},
        {"abc\t \r\n", "abc\\t"},
        {cat({"abc", fullWidthBlank}), cat({"abc", fullWidthBlank})},
        {"  abc", "  abc"},
        {"a\r\n\r\nb \r\n", "a\\n\\nb"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(visible(toStoredMemo(c.display)), visible(c.stored))
            << "display " << visible(c.display);
    }
}

TEST(FromStoredMemo, unescapesAndKeepsDoubleByteCharactersWhole)
{
    const struct {
        std::string stored;
        std::string display;
    } cases[] = {
        {"", ""},
        {"a\\nb", "a\r\nb"},
        {"a\\tb", "a\tb"},
        {"a\\rb", "a\rb"},
        {"a\\\\b", "a\\b"},
        {"a\\\\nb", "a\\nb"},
        {"\\x\\y", "xy"},
        {"abc\\", "abc"},
        {"\\", ""},
        {"\\\\\\", "\\"},
        {cat({so, "n"}), cat({so, "n"})},
        {cat({hyou, "\\\\", so}), cat({hyou, "\\", so})},
        {cat({so, "\\n"}), cat({so, "\r\n"})},
        {"a\x83", "a\x83"},
        {std::string("\x83\0\\n"sv), std::string("\x83\0\r\n"sv)},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(visible(fromStoredMemo(c.stored)), visible(c.display))
            << "stored " << visible(c.stored);
    }
}

// The stored memo is the last tab-separated column of a day's row: a TAB, CR or LF in it
// would cut the row. A stray lead byte from a damaged file must not smuggle one through.
TEST(ToStoredMemo, storedFormNeverHoldsTabOrLineBreakWhateverTheBytes)
{
    EXPECT_EQ(visible(toStoredMemo("\x83\r\nb")), visible("\x83\\nb"));
    EXPECT_EQ(visible(toStoredMemo("\x83\tb")), visible("\x83\\tb"));
    EXPECT_EQ(visible(toStoredMemo("\xe0\nb")), visible("\xe0\\nb"));

    std::mt19937 random(1234);
    std::uniform_int_distribution<int> anyByte(0, 255);
    std::uniform_int_distribution<int> anyLength(0, 40);
    for (int i = 0; i < 20000; ++i) {
        std::string display(static_cast<std::size_t>(anyLength(random)), '\0');
        for (char &c : display) {
            c = static_cast<char>(anyByte(random));
        }
        const std::string stored = toStoredMemo(display);
        ASSERT_EQ(stored.find_first_of("\t\r\n"), std::string::npos)
            << "display " << visible(display);
        ASSERT_LE(stored.size(), 2 * display.size());
    }
}

// Round trip over text made of whole characters: the display text comes back less its
// trailing blanks, line ends and NULs, with every lone LF turned into CR LF.
TEST(StoredMemo, roundTripKeepsTheTextOfWholeCharacters)
{
    const std::string_view pieces[] = {
        "a",  "Z", " ",  "\t",           "\r\n",     "\n",   "\r",       "\\",       "\\n",
        "\"", so,  hyou, fullWidthBlank, "\x88\x9f", "\xb1", "\xfb\xfc", "\x87\x40", "\\\\",
    };
    // What the display text should come back as: trimmed, then each lone LF made CR LF.
    const auto expectedBack = [](std::string text) {
        while (!text.empty() &&
               (text.back() == ' ' || text.back() == '\r' || text.back() == '\n')) {
            text.pop_back();
        }
        std::string normalised;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
                normalised += '\r';
            }
            normalised += text[i];
        }
        return normalised;
    };
    std::mt19937 random(42);
    std::uniform_int_distribution<std::size_t> anyPiece(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> anyCount(0, 12);
    for (int i = 0; i < 20000; ++i) {
        std::string display;
        const int count = anyCount(random);
        for (int n = 0; n < count; ++n) {
            display += pieces[anyPiece(random)];
        }
        const std::string expected = expectedBack(display);
        const std::string back = fromStoredMemo(toStoredMemo(display));
        ASSERT_EQ(visible(back), visible(expected)) << "display " << visible(display);
    }
}
