#pragma once
// The command-line tool's crossing between the files' single-byte Windows-1252
// text and UTF-8, without Qt. The windows cross with Qt's own codec
// (platform/qt/text_conversion.h); the two give the same characters.

#include <string>
#include <string_view>

namespace vellumar {

// The mark an editor may put before UTF-8 text.
inline constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";

// Every byte has a character, except the five holes of the code page
// (0x81, 0x8D, 0x8F, 0x90, 0x9D), which pass as the C1 control of that value.
std::string Cp1252ToUtf8(std::string_view text);

struct Cp1252Text {
    std::string text;
    bool lossless = true; // false when a character had no byte and became "?"
};

// A character the code page lacks, and a byte that is not UTF-8, becomes "?";
// an invisible one (a joiner, a byte-order mark, a variation selector) is dropped.
// Control characters pass unchanged: the caller decides what a field may hold.
Cp1252Text Utf8ToCp1252(std::string_view text);

// UTF-8 text safe to print on a terminal: each byte of what is not a
// well-formed character, and of a control character other than a tab or a
// line feed, is written as "\xHH".
std::string EscapedUtf8(std::string_view text);

} // namespace vellumar
