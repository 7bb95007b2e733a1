#include "files/utf8_to_cp1252.h"

#include <array>
#include <cstdint>
#include <utility>

namespace vellumar {
namespace {

// The characters of bytes 0x80 to 0x9F; 0 where the code page has none.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Characters that are not seen (joiners, direction marks, variation selectors):
// dropped, as the windows' encoder drops them, rather than shown as "?".
bool IsDefaultIgnorable(char32_t c) {
    static constexpr std::array<std::pair<char32_t, char32_t>, 16> kRanges = {{
        {0x034F, 0x034F},
        {0x061C, 0x061C},
        {0x115F, 0x1160},
        {0x17B4, 0x17B5},
        {0x180B, 0x180F},
        {0x200B, 0x200F},
        {0x202A, 0x202E},
        {0x2060, 0x206F},
        {0x3164, 0x3164},
        {0xFE00, 0xFE0F},
        {0xFEFF, 0xFEFF},
        {0xFFA0, 0xFFA0},
        {0xFFF0, 0xFFF8},
        {0x1BCA0, 0x1BCA3},
        {0x1D173, 0x1D17A},
        {0xE0000, 0xE0FFF},
    }};
    for (const auto& [first, last] : kRanges)
        if (c >= first && c <= last) return true;
    return false;
}

char ByteFor(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    // The five bytes the code page leaves unassigned stand for their controls.
    if (c < 0xA0 && kHighControls[c - 0x80] == 0) return static_cast<char>(c);
    for (size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == c) return static_cast<char>(0x80 + i);
    return '?';
}

// The length of the sequence a lead byte starts, 0 for a byte that cannot lead.
size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

} // namespace

std::string Utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const size_t length = SequenceLength(lead);
        if (length == 0 || i + length > utf8.size()) {
            out += '?';
            ++i;
            continue;
        }
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        size_t k = 1;
        for (; k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) break;
            c = (c << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not characters.
        const bool wellFormed = k == length && !(length == 3 && c < 0x800) &&
                                !(length == 4 && (c < 0x10000 || c > 0x10FFFF)) &&
                                !(c >= 0xD800 && c <= 0xDFFF);
        if (!wellFormed) {
            out += '?';
            i += k; // what followed the broken sequence is read afresh
            continue;
        }
        if (!IsDefaultIgnorable(c)) out += ByteFor(c);
        i += length;
    }
    return out;
}

} // namespace vellumar
