#pragma once
// Byte-string helpers. Text is single-byte Windows-1252. Two case folds: the
// sort order of files folds a to z only (stored files and the uniqueness of
// names in a book rely on it); matching what the user types folds every letter.

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace vellumar {

inline char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

// The capital of any letter Windows-1252 holds: a to z, à to þ but ÷, š, œ, ž
// and ÿ. ß and µ have none and stay. For matching what the user types only.
constexpr char UpperLetter(char c) {
    const auto code = static_cast<unsigned char>(c);
    if ((code >= 'a' && code <= 'z') || (code >= 0xE0 && code <= 0xFE && code != 0xF7))
        return static_cast<char>(code - 0x20);
    switch (code) {
    case 0x9A: // š
    case 0x9C: // œ
    case 0x9E: // ž
        return static_cast<char>(code - 0x10);
    case 0xFF: // ÿ
        return static_cast<char>(0x9F);
    default:
        return c;
    }
}

// Whether two texts are the same but for the case of any letter.
inline bool SameTextForUser(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return UpperLetter(x) == UpperLetter(y); });
}

// Whether the text holds the part, the case of any letter aside.
inline bool ContainsForUser(std::string_view text, std::string_view part) {
    return std::search(text.begin(), text.end(), part.begin(), part.end(), [](char x, char y) {
               return UpperLetter(x) == UpperLetter(y);
           }) != text.end();
}

inline bool IsSpaceOrTab(char c) {
    return c == ' ' || c == '\t';
}

inline std::string UpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = UpperAscii(c);
    return out;
}

// The control characters a text must not carry where it goes.
enum class Controls {
    LineEnds, // CR, LF and NUL, which would end a line of the settings file
    FileEnds, // those and Ctrl-Z, which ends a spell file when it is read back
    All,      // every code below the blank: what the user types or passes on a command line
};

// Whether a character (a byte, or a UTF-16 code unit) is one of `which`.
constexpr bool IsControl(unsigned code, Controls which) {
    switch (which) {
    case Controls::LineEnds:
        return code == '\r' || code == '\n' || code == '\0';
    case Controls::FileEnds:
        return code == '\r' || code == '\n' || code == '\0' || code == 26;
    case Controls::All:
        return code < 32;
    }
    return false;
}

// The text with each control character of `which` replaced by a blank.
inline std::string BlankControls(std::string_view text, Controls which) {
    std::string out(text);
    for (char& c : out)
        if (IsControl(static_cast<unsigned char>(c), which)) c = ' ';
    return out;
}

// A whole number written in decimal, with an optional "+" (but no "+-"), and
// nothing else; nullopt when the text is not one or it is out of T's range.
template <class T> std::optional<T> ParseWholeNumber(std::string_view text) {
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    if (begin != end && *begin == '+') {
        ++begin;
        if (begin != end && *begin == '-') return std::nullopt;
    }
    T value{};
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end || begin == end) return std::nullopt;
    return value;
}

// The order of files: compares byte by byte with a to z folded (and no other
// letter); a prefix sorts first.
int CompareTextNoCase(std::string_view a, std::string_view b);

} // namespace vellumar
