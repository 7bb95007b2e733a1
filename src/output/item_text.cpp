#include "output/item_text.h"

#include "rules/caster_tables.h"

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

std::array<std::string, 4> BookHeadLines(const TSpellBook& book, const std::string& caption,
                                         HeadFor reader) {
    return {
        // Intended: the clipboard text has no blank after the colon, the printout has.
        (reader == HeadFor::Printout ? "Spell Book: " : "Spell Book:") + caption,
        "Caster Level: " + std::to_string(book.CasterLevel),
        "Caster Intelligence: " + std::to_string(book.Intelligence),
        "Caster Specialty: " + book.Specialty,
    };
}

std::string LevelHeading(const TSpellBook& book, int32_t level) {
    return "level: " + std::to_string(level) +
           "     number per day: " + std::to_string(NumberPerDay(book, level));
}

std::string SpellItemRow(const tSpell& spell) {
    return spell.Name + "  (" + spell.Category + ") [" + spell.Book + " " +
           std::to_string(spell.Page) + "] - " + FrequencyLetter(spell.Frequency);
}

} // namespace vellumar
