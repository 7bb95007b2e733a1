#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace vellumar {

// Frequency codes run from 0 (Common) down to -4 (Restricted); every table
// keyed by frequency is indexed by code + 4.
constexpr int32_t FrequencyCommon = 0;
constexpr int32_t FrequencyRestricted = -4;
constexpr int FrequencyCount = 5;

extern const std::array<const char*, FrequencyCount> FrequencyNames;
extern const char FrequencyLetters[FrequencyCount + 1];

// The letter of a frequency code; codes outside -4..0 give "C" (Common).
char FrequencyLetter(int32_t code);
// Code for a letter (case-folded a..z), or 0 (Common) for an unknown letter.
int32_t FrequencyFromLetter(char letter);

class tSpell {
public:
    tSpell() = default;
    tSpell(int32_t level, std::string name, std::string book, int32_t page, int32_t frequency,
           std::string category)
        : Level(level), Name(std::move(name)), Book(std::move(book)), Page(page),
          Frequency(frequency), Category(std::move(category)) {}

    std::unique_ptr<tSpell> Clone() const { return std::make_unique<tSpell>(*this); }

    int32_t Level = 0;
    std::string Name;
    std::string Book;
    int32_t Page = 0;
    int32_t Frequency = 0;
    std::string Category;
};

// Order of every spellbook: by level, then by name with a to z folded.
int32_t CompareSpells(const tSpell& a, const tSpell& b);

} // namespace vellumar
