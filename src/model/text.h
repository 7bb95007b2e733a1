#pragma once
// Byte-string helpers. Text is single-byte Windows-1252; case folding touches a to z only.

#include <string>
#include <string_view>

namespace vellumar {

inline char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

inline bool IsSpaceOrTab(char c) {
    return c == ' ' || c == '\t';
}

inline std::string UpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = UpperAscii(c);
    return out;
}

// Compares byte by byte with a to z folded; a prefix sorts first.
int CompareTextNoCase(std::string_view a, std::string_view b);

} // namespace vellumar
