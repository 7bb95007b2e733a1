#include "model/code_page.h"

#include <array>
#include <cstdint>

namespace vellumar {
namespace {

// The code points of 0x80 to 0x9F; a hole keeps the C1 control of its value.
constexpr std::array<char32_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CodePoint(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? HighControls[byte - 0x80] : char32_t{byte};
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The byte of a code point, or -1 when the code page lacks it.
int ByteOf(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (size_t i = 0; i < HighControls.size(); ++i)
        if (HighControls[i] == c) return static_cast<int>(0x80 + i);
    return -1;
}

// Invisible characters that converters drop rather than mark, Qt's among them.
bool IsDefaultIgnorable(char32_t c) {
    return c == 0x034F || c == 0x061C || c == 0x115F || c == 0x1160 ||
           (c >= 0x17B4 && c <= 0x17B5) || (c >= 0x180B && c <= 0x180F) ||
           (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2060 && c <= 0x206F) || c == 0x3164 || (c >= 0xFE00 && c <= 0xFE0F) ||
           c == 0xFEFF || c == 0xFFA0 || (c >= 0xFFF0 && c <= 0xFFF8) ||
           (c >= 0x1BCA0 && c <= 0x1BCA3) || (c >= 0x1D173 && c <= 0x1D17A) ||
           (c >= 0xE0000 && c <= 0xE0FFF);
}

// Decodes one UTF-8 sequence at text[i] and advances i past it. Returns -1,
// having passed one byte only, when no well-formed shortest sequence of a
// valid code point starts there.
int32_t NextCodePoint(std::string_view text, size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) return lead;
    int length = 0;
    int32_t c = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 1;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 2;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 3;
        c = lead & 0x07;
    } else {
        return -1;
    }
    const size_t start = i;
    for (int k = 0; k < length; ++k) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            i = start; // the next byte gets its own chance
            return -1;
        }
        c = (c << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    }
    const bool overlong = (length == 2 && c < 0x800) || (length == 3 && c < 0x10000);
    if (overlong || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        i = start;
        return -1;
    }
    return c;
}

} // namespace

std::string Cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char byte : text) AppendUtf8(out, CodePoint(static_cast<unsigned char>(byte)));
    return out;
}

Cp1252Text Utf8ToCp1252(std::string_view text) {
    Cp1252Text result;
    result.text.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const int32_t c = NextCodePoint(text, i);
        const int byte = c < 0 ? -1 : ByteOf(static_cast<char32_t>(c));
        if (byte < 0 && c >= 0 && IsDefaultIgnorable(static_cast<char32_t>(c))) continue;
        if (byte < 0) {
            result.text += '?';
            result.lossless = false;
        } else {
            result.text += static_cast<char>(byte);
        }
    }
    return result;
}

std::string EscapedUtf8(std::string_view text) {
    constexpr std::string_view Hex = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const size_t start = i;
        const int32_t c = NextCodePoint(text, i);
        const bool control = c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F);
        if (!control || c == '\t' || c == '\n') {
            out.append(text.substr(start, i - start));
            continue;
        }
        for (size_t k = start; k < i; ++k) {
            const auto byte = static_cast<unsigned char>(text[k]);
            out += "\\x";
            out += Hex[byte >> 4];
            out += Hex[byte & 0xF];
        }
    }
    return out;
}

} // namespace vellumar
