#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The one place where the journal's code-page-932 bytes meet Unicode (UTF-8),
// for the user interface.

struct Cp932Decoded {
    std::string utf8;
    // Bytes that are not code-page-932 characters are not dropped: each
    // becomes the private-use character U+10FF00 + byte, which encodeCp932
    // turns back into that byte, so a journal round-trips through the UI.
    std::size_t undecodableBytes = 0;
};
Cp932Decoded decodeCp932(std::string_view bytes);

struct Cp932Encoded {
    std::string bytes;
    // The first character code page 932 cannot hold (an emoji, é), if any;
    // bytes then holds only what came before it.
    std::optional<char32_t> unencodable;
    std::size_t unencodableOffset = 0; // in the UTF-8 input
};
// Folds the JIS forms that Linux input methods type (〜 − ‖ ¢ £ ¬ —) to
// their code-page-932 characters first.
Cp932Encoded encodeCp932(std::string_view utf8);

// A message box's words (UTF-8) for a character that code page 932 cannot
// hold: the character itself, and its code point for when no font has it.
std::string unencodableCharacterMessage(char32_t character);

// True when a lead byte is not followed by a trail byte. Such bytes would
// swallow the TAB, CR or LF after them where a memo's stored form is made,
// and break the journal line they are written to.
bool hasBrokenDoubleByte(std::string_view bytes);

// The escape range used by decodeCp932 for undecodable bytes.
inline constexpr char32_t cp932ByteEscapeBase = 0x10FF00;
