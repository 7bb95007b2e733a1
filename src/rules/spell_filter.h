#pragma once
// Narrowing a spell list by what the user types: words of the name, and terms
// for the category ("school:" or "cat:"), the frequency ("freq:", a name or a
// letter), the book ("book:") and the rules text ("text:", any of the spell's
// texts beside the master list). Every word and term must hold; the case of
// every letter of the code page is folded (UpperLetter). A value with blanks is written in double
// quotes.

#include "model/spell_book.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellumar {

class SpellTexts;

struct SpellFilter {
    std::vector<std::string> nameWords;  // each must occur in the name
    std::vector<std::string> categories; // each must occur in the category
    std::vector<std::string> books;      // each must occur in the book
    // Frequency codes the spell must have; a term that names no frequency
    // lets no spell through.
    std::vector<int32_t> frequencies;
    bool unknownFrequency = false;
    // Each must occur in the spell's rules text (casting time, range,
    // components, material, duration or a paragraph), found in `texts` by
    // level and name; a spell without a text, or no texts at all, fails them.
    std::vector<std::string> textWords;
    const SpellTexts* texts = nullptr;

    bool Empty() const;
    bool Matches(const tSpell& spell) const;
};

// `texts` are where "text:" looks; they must outlive the filter.
SpellFilter ParseSpellFilter(std::string_view text, const SpellTexts* texts = nullptr);

// The spells of one level (or of every level for level 0) that the filter
// lets through, in book order.
std::vector<tSpell*> MatchingSpells(TSpellBook& book, int32_t level, const SpellFilter& filter);

} // namespace vellumar
