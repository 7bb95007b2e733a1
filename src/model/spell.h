#pragma once

#include "model/frequency.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vellumar {

// The letter of a frequency code; codes outside -4..0 give "C" (Common).
char FrequencyLetter(int32_t code);
// Code for a letter (case-folded a..z), or 0 (Common) for an unknown letter.
int32_t FrequencyFromLetter(char letter);
// The frequency code named by a frequency's name (blanks and case ignored) or
// letter (C, U, R, V, S); none for anything else.
std::optional<int32_t> FrequencyNamed(std::string_view text);

class tSpell {
public:
    tSpell() = default;
    tSpell(int32_t level, std::string name, std::string book, int32_t page, int32_t frequency,
           std::string category)
        : Level(level), Name(std::move(name)), Book(std::move(book)), Page(page),
          Frequency(frequency), Category(std::move(category)) {}

    std::unique_ptr<tSpell> Clone() const { return std::make_unique<tSpell>(*this); }

    // All six fields alike.
    bool operator==(const tSpell&) const = default;

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
