#include "text/cp932.h"

#include "text/entrytext.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <iconv.h>
#include <mutex>

namespace {

// glibc's "CP932" is the Microsoft table (0x5C is the backslash, ～ is U+FF5E). Its
// "SHIFT_JIS" is the strict JIS table, which would turn every backslash into a yen sign.
constexpr const char *cp932Name = "CP932";
constexpr const char *utf8Name = "UTF-8";

constexpr char32_t noCharacter = 0xFFFFFFFF;
constexpr char32_t replacementCharacter = 0xFFFD;
constexpr int leadByteCount = (0x9f - 0x81 + 1) + (0xfc - 0xe0 + 1);

constexpr int leadIndex(unsigned char lead)
{
    return lead <= 0x9f ? lead - 0x81 : lead - 0xe0 + (0x9f - 0x81 + 1);
}

// One iconv conversion descriptor, closed with its owner. Whoever converts opens its own
// (about half a microsecond), so no descriptor is ever shared between callers.
class IconvHandle {
  public:
    IconvHandle(const char *to, const char *from) : handle_(iconv_open(to, from)) {}
    ~IconvHandle()
    {
        if (isOpen()) {
            iconv_close(handle_);
        }
    }
    IconvHandle(const IconvHandle &) = delete;
    IconvHandle &operator=(const IconvHandle &) = delete;

    bool isOpen() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Converts the whole of a short input; nullopt when any of it is refused.
    std::optional<std::string> convert(std::string_view input)
    {
        if (!isOpen()) {
            return std::nullopt;
        }
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        std::array<char, 32> output{};
        // iconv's interface takes a non-const input pointer but does not write through it.
        char *in = const_cast<char *>(input.data());
        std::size_t inLeft = input.size();
        char *out = output.data();
        std::size_t outLeft = output.size();
        if (iconv(handle_, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1) ||
            inLeft != 0) {
            return std::nullopt;
        }
        // Flush any pending shift state; code page 932 has none, but be exact.
        if (iconv(handle_, nullptr, nullptr, &out, &outLeft) == static_cast<std::size_t>(-1)) {
            return std::nullopt;
        }
        return std::string(output.data(), out);
    }

  private:
    iconv_t handle_;
};

void appendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xc0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3f));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xe0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (c & 0x3f));
    } else {
        out += static_cast<char>(0xf0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3f));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (c & 0x3f));
    }
}

struct Utf8Char {
    char32_t codePoint = 0;
    std::size_t length = 0; // 0: not well-formed UTF-8
};

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
Utf8Char nextUtf8(std::string_view text, std::size_t pos)
{
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char first = byteAt(pos);
    if (first < 0x80) {
        return {first, 1};
    }
    std::size_t length = 0;
    char32_t codePoint = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xbf;
    if (first >= 0xc2 && first <= 0xdf) {
        length = 2;
        codePoint = first & 0x1f;
    } else if (first >= 0xe0 && first <= 0xef) {
        length = 3;
        codePoint = first & 0x0f;
        if (first == 0xe0) {
            low = 0xa0;
        } else if (first == 0xed) {
            high = 0x9f;
        }
    } else if (first >= 0xf0 && first <= 0xf4) {
        length = 4;
        codePoint = first & 0x07;
        if (first == 0xf0) {
            low = 0x90;
        } else if (first == 0xf4) {
            high = 0x8f;
        }
    } else {
        return {};
    }
    if (pos + length > text.size()) {
        return {};
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = byteAt(pos + i);
        const unsigned char min = i == 1 ? low : 0x80;
        const unsigned char max = i == 1 ? high : 0xbf;
        if (next < min || next > max) {
            return {};
        }
        codePoint = (codePoint << 6) | (next & 0x3f);
    }
    return {codePoint, length};
}

// The one code point a short UTF-8 text holds, or noCharacter.
char32_t singleCodePoint(std::string_view utf8)
{
    if (utf8.empty()) {
        return noCharacter;
    }
    const Utf8Char c = nextUtf8(utf8, 0);
    return c.length == utf8.size() ? c.codePoint : noCharacter;
}

// A byte sequence's character, from iconv, kept only where encoding the character gives
// the same bytes back: the duplicate codes (NEC-selected IBM kanji, NEC row 13 symbols
// that JIS also has) are left out, so that their bytes survive a trip through the user
// interface unchanged.
char32_t roundTripCharacter(IconvHandle &toUtf8, IconvHandle &toCp932, std::string_view bytes)
{
    const std::optional<std::string> utf8 = toUtf8.convert(bytes);
    if (!utf8) {
        return noCharacter;
    }
    const char32_t c = singleCodePoint(*utf8);
    if (c == noCharacter || toCp932.convert(*utf8) != std::string(bytes)) {
        return noCharacter;
    }
    return c;
}

// Which character each code-page-932 byte or byte pair stands for, taken from iconv.
// The pairs are asked for one lead byte's row at a time, at the first pair of that row
// a text holds: the whole table costs some 30,000 conversions, which a start-up showing
// a few memos would otherwise wait for.
class DecodeTable {
  public:
    DecodeTable()
    {
        single_.fill(noCharacter);
        pair_.fill(noCharacter);
        // ASCII is code page 932's own single-byte range; it stays readable even on a
        // system that lacks the conversion module.
        for (char32_t c = 0; c < 0x80; ++c) {
            single_[c] = c;
        }
        IconvHandle toUtf8(utf8Name, cp932Name);
        IconvHandle toCp932(cp932Name, utf8Name);
        for (int byte = 0x80; byte <= 0xff; ++byte) {
            const char single = static_cast<char>(byte);
            single_[static_cast<std::size_t>(byte)] =
                roundTripCharacter(toUtf8, toCp932, std::string_view(&single, 1));
        }
    }

    char32_t singleFor(unsigned char byte) const { return single_[byte]; }

    // Thread-safe: each row is filled once, under its own flag.
    char32_t pairFor(unsigned char lead, unsigned char trail)
    {
        const auto row = static_cast<std::size_t>(leadIndex(lead));
        std::call_once(rowsFilled_[row], [this, lead, row] { fillRow(lead, row); });
        return pair_[row * 256 + trail];
    }

  private:
    void fillRow(unsigned char lead, std::size_t row)
    {
        IconvHandle toUtf8(utf8Name, cp932Name);
        IconvHandle toCp932(cp932Name, utf8Name);
        for (int trail = 0; trail <= 0xff; ++trail) {
            if (!isCp932TrailByte(static_cast<unsigned char>(trail))) {
                continue;
            }
            const std::array<char, 2> bytes{static_cast<char>(lead), static_cast<char>(trail)};
            pair_[row * 256 + static_cast<std::size_t>(trail)] =
                roundTripCharacter(toUtf8, toCp932, std::string_view(bytes.data(), bytes.size()));
        }
    }

    std::array<char32_t, 256> single_{};
    std::array<char32_t, leadByteCount * 256> pair_{};
    std::array<std::once_flag, leadByteCount> rowsFilled_;
};

DecodeTable &decodeTable()
{
    // Made on first use; the language makes this initialisation thread-safe.
    static DecodeTable table;
    return table;
}

// Linux input methods type the JIS forms of these characters; code page 932 holds
// them only in their Microsoft forms, which look the same to the user.
char32_t foldJisForm(char32_t c)
{
    switch (c) {
    case 0x301C: // WAVE DASH
        return 0xFF5E;
    case 0x2212: // MINUS SIGN
        return 0xFF0D;
    case 0x2016: // DOUBLE VERTICAL LINE
        return 0x2225;
    case 0x00A2: // CENT SIGN
        return 0xFFE0;
    case 0x00A3: // POUND SIGN
        return 0xFFE1;
    case 0x00AC: // NOT SIGN
        return 0xFFE2;
    case 0x2014: // EM DASH
        return 0x2015;
    default:
        return c;
    }
}

} // namespace

Cp932Decoded decodeCp932(std::string_view bytes)
{
    Cp932Decoded decoded;
    decoded.utf8.reserve(bytes.size() * 2);
    const auto escape = [&](unsigned char byte) {
        appendUtf8(decoded.utf8, cp932ByteEscapeBase + byte);
        ++decoded.undecodableBytes;
    };

    for (std::size_t pos = 0; pos < bytes.size();) {
        // ASCII is the same in both encodings: a run of it is copied at once
        // (a long list of days is mostly digits and blanks).
        std::size_t asciiEnd = pos;
        while (asciiEnd < bytes.size() && static_cast<unsigned char>(bytes[asciiEnd]) < 0x80) {
            ++asciiEnd;
        }
        if (asciiEnd > pos) {
            decoded.utf8.append(bytes.substr(pos, asciiEnd - pos));
            pos = asciiEnd;
            continue;
        }
        // Only a text beyond ASCII needs the table.
        DecodeTable &table = decodeTable();
        const auto byte = static_cast<unsigned char>(bytes[pos]);
        if (isCp932LeadByte(byte) && pos + 1 < bytes.size()) {
            const auto trail = static_cast<unsigned char>(bytes[pos + 1]);
            if (isCp932TrailByte(trail)) {
                const char32_t c = table.pairFor(byte, trail);
                if (c != noCharacter) {
                    appendUtf8(decoded.utf8, c);
                } else {
                    // A well-formed pair without a character of its own: keep both bytes
                    // as they are, so that the trail byte is not read as a character
                    // (0x5C as a backslash, or as the lead of the next pair).
                    escape(byte);
                    escape(trail);
                }
                pos += 2;
                continue;
            }
        }
        const char32_t c = table.singleFor(byte);
        if (c != noCharacter) {
            appendUtf8(decoded.utf8, c);
        } else {
            escape(byte);
        }
        ++pos;
    }
    return decoded;
}

Cp932Encoded encodeCp932(std::string_view utf8)
{
    Cp932Encoded encoded;
    encoded.bytes.reserve(utf8.size());
    std::optional<IconvHandle> toCp932; // opened for the first character beyond ASCII

    for (std::size_t pos = 0; pos < utf8.size();) {
        const Utf8Char next = nextUtf8(utf8, pos);
        if (next.length == 0) {
            encoded.unencodable = replacementCharacter;
            encoded.unencodableOffset = pos;
            return encoded;
        }
        const char32_t c = foldJisForm(next.codePoint);
        if (c < 0x80) {
            encoded.bytes += static_cast<char>(c);
        } else if (c >= cp932ByteEscapeBase) {
            encoded.bytes += static_cast<char>(c - cp932ByteEscapeBase);
        } else {
            if (!toCp932) {
                toCp932.emplace(cp932Name, utf8Name);
            }
            std::string character;
            appendUtf8(character, c);
            const std::optional<std::string> bytes = toCp932->convert(character);
            if (!bytes) {
                encoded.unencodable = next.codePoint;
                encoded.unencodableOffset = pos;
                return encoded;
            }
            encoded.bytes += *bytes;
        }
        pos += next.length;
    }
    return encoded;
}

std::string unencodableCharacterMessage(char32_t character)
{
    // The code point as well as the character: an emoji or a combining mark
    // may have no glyph in the message box font.
    std::array<char, 16> codePoint{};
    std::snprintf(codePoint.data(), codePoint.size(), "U+%04X", static_cast<unsigned>(character));
    std::string message = "\u300C";
    appendUtf8(message, character);
    message += "\u300D(";
    message += codePoint.data();
    message += ") は保存できない文字です。ほかの文字に置き換えてください。";
    return message;
}

bool hasBrokenDoubleByte(std::string_view bytes)
{
    for (std::size_t pos = 0; pos < bytes.size(); ++pos) {
        if (isCp932LeadByte(static_cast<unsigned char>(bytes[pos]))) {
            if (pos + 1 == bytes.size() ||
                !isCp932TrailByte(static_cast<unsigned char>(bytes[pos + 1]))) {
                return true;
            }
            ++pos;
        }
    }
    return false;
}
