#include "output/item_text.h"

namespace vellumar {
namespace {

bool HasBookReference(const tSpell& spell, BookReferenceTest test) {
    // std::string compares bytes as unsigned, as the column layout wants.
    return test == BookReferenceTest::NotEmpty ? !spell.Book.empty() : spell.Book.compare(" ") > 0;
}

} // namespace

std::string OutputItemText(const tSpell& spell, const OutputFormat& format,
                           BookReferenceTest test) {
    std::string text = spell.Name;
    if (!HasBookReference(spell, test)) return text;
    if (format.IncludeCategory) text += " (" + spell.Category + ")";
    if (format.IncludeBookPage) text += " [" + spell.Book + " " + std::to_string(spell.Page) + "]";
    if (format.IncludeFrequency) {
        text += '-';
        text += FrequencyLetter(spell.Frequency);
    }
    return text;
}

std::string SpellItemRow(const tSpell& spell) {
    return spell.Name + "  (" + spell.Category + ") [" + spell.Book + " " +
           std::to_string(spell.Page) + "] - " + FrequencyLetter(spell.Frequency);
}

} // namespace vellumar
