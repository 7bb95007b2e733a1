#include "model/spell.h"

#include "model/text.h"

#include <bit>
#include <cstring>

namespace vellumar {

const std::array<const char*, FrequencyCount> FrequencyNames = {"Restricted", "Very Rare", "Rare",
                                                                "Uncommon", "Common"};
const char FrequencyLetters[FrequencyCount + 1] = "SVRUC";

char FrequencyLetter(int32_t code) {
    if (code < FrequencyRestricted || code > FrequencyCommon) code = FrequencyCommon;
    return FrequencyLetters[FrequencyEntry(code)];
}

int32_t FrequencyFromLetter(char letter) {
    const char up = UpperAscii(letter);
    for (size_t i = 0; i < FrequencyCount; ++i)
        if (FrequencyLetters[i] == up) return FrequencyOfEntry(i);
    return FrequencyCommon;
}

std::optional<int32_t> FrequencyNamed(std::string_view text) {
    std::string squeezed;
    for (char c : text)
        if (!IsSpaceOrTab(c)) squeezed += c;
    if (squeezed.size() == 1) {
        for (size_t entry = 0; entry < FrequencyCount; ++entry)
            if (UpperLetter(squeezed[0]) == FrequencyLetters[entry]) return FrequencyOfEntry(entry);
        return std::nullopt;
    }
    for (size_t entry = 0; entry < FrequencyCount; ++entry) {
        std::string name;
        for (const char* c = FrequencyNames[entry]; *c; ++c)
            if (!IsSpaceOrTab(*c)) name += *c;
        if (SameTextForUser(name, squeezed)) return FrequencyOfEntry(entry);
    }
    return std::nullopt;
}

int CompareTextNoCase(std::string_view a, std::string_view b) {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    // Bytes that are equal stay equal when folded: the shared start of two
    // names (often long in a big list) is passed eight bytes at a time.
    size_t i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 8 <= n; i += 8) {
            uint64_t x = 0;
            uint64_t y = 0;
            std::memcpy(&x, a.data() + i, 8);
            std::memcpy(&y, b.data() + i, 8);
            if (x != y) {
                i += static_cast<size_t>(std::countr_zero(x ^ y)) / 8;
                break;
            }
        }
    }
    for (; i < n; ++i) {
        if (a[i] == b[i]) continue;
        const auto ca = static_cast<unsigned char>(UpperAscii(a[i]));
        const auto cb = static_cast<unsigned char>(UpperAscii(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

int32_t CompareSpells(const tSpell& a, const tSpell& b) {
    if (b.Level > a.Level) return -1;
    if (b.Level < a.Level) return 1;
    return CompareTextNoCase(a.Name, b.Name);
}

} // namespace vellumar
