#include "output/spellbook_text.h"

#include "model/code_page.h"
#include "output/item_text.h"
#include "output/spell_card_text.h"
#include "rules/caster_tables.h"

namespace vellumar {
namespace {

// The level's spells from its first onward, as many as its count says.
std::vector<const tSpell*> SpellsOfLevel(TSpellBook& book, int32_t level) {
    std::vector<const tSpell*> spells;
    const int32_t count = book.CountOfLevel(level);
    spells.reserve(static_cast<size_t>(count));
    book.GoToLevel(level);
    for (int32_t i = 0; i < count && book.CurrentSpell(); ++i, book.Next())
        spells.push_back(book.CurrentSpell());
    return spells;
}

std::string SingleLine(const std::vector<const tSpell*>& spells, const OutputFormat& format) {
    std::string line;
    for (size_t k = 0; k < spells.size(); ++k) {
        if (k > 0) line += ",  ";
        line += OutputItemText(*spells[k], format, BookReferenceTest::NotEmpty);
    }
    return line;
}

// Columns fill top to bottom, then left to right; a TAB follows every item
// but one in the last column, and an empty position adds nothing.
void AppendColumns(std::vector<std::string>& lines, const std::vector<const tSpell*>& spells,
                   const OutputFormat& format) {
    const size_t columns = static_cast<size_t>(format.Columns);
    const size_t rows = (spells.size() + columns - 1) / columns;
    for (size_t j = 0; j < rows; ++j) {
        std::string line;
        for (size_t i = 0; i < columns; ++i) {
            const size_t k = i * rows + j;
            if (k >= spells.size()) continue;
            line += OutputItemText(*spells[k], format, BookReferenceTest::GreaterThanBlank);
            if (i + 1 < columns) line += '\t';
        }
        lines.push_back(std::move(line));
    }
}

// One spell a line, each followed by its card and a blank line: a card cannot
// follow a line of many spells or a row of columns.
void AppendSpellsWithCards(std::vector<std::string>& lines,
                           const std::vector<const tSpell*>& spells, const OutputFormat& format,
                           const SpellTexts* texts) {
    for (const tSpell* spell : spells) {
        lines.push_back(OutputItemText(*spell, format, BookReferenceTest::NotEmpty));
        const SpellText* text = texts ? texts->Find(spell->Level, spell->Name) : nullptr;
        if (!text) continue;
        for (const std::string& line :
             CardTextLines(MakeSpellCard(spell->Level, spell->Name, *text)))
            lines.push_back(Utf8ToCp1252(line).text);
        lines.emplace_back();
    }
}

} // namespace

std::vector<std::string> BuildSpellbookText(TSpellBook& book, const std::string& caption,
                                            const OutputFormat& format, const SpellTexts* texts) {
    const auto head = BookHeadLines(book, caption, HeadFor::Clipboard);
    std::vector<std::string> lines(head.begin(), head.end());
    lines.push_back(" ");
    for (int32_t level = MinSpellLevel; level <= MaxSpellLevel; ++level) {
        if (book.CountOfLevel(level) <= 0) continue;
        lines.push_back(" ");
        lines.push_back(" ");
        lines.push_back(LevelHeading(book, level));
        const auto spells = SpellsOfLevel(book, level);
        if (format.IncludeSpellTexts)
            AppendSpellsWithCards(lines, spells, format, texts);
        else if (format.Columns <= 0)
            lines.push_back(SingleLine(spells, format));
        else
            AppendColumns(lines, spells, format);
    }
    return lines;
}

std::string JoinWithCrLf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

} // namespace vellumar
