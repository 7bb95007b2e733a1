#pragma once
// A spell's rules text laid out as a card, once for every place that shows it
// (the list windows' pane, the printout, the clipboard and the command line):
// the name, level and school, the four short fields, the paragraphs with their
// tables, and the "At Higher Levels" paragraphs. Texts stay UTF-8. Emphasis
// is read here, once: each text comes plain (its markers dropped), for the
// plain outputs, and in styled runs, for those that draw it.

#include "model/spell_text.h"
#include "output/emphasis.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vellumar {

// A paragraph, or a table whose first row is its heading.
struct CardBlock {
    std::string Text; // a paragraph, plain; empty for a table
    StyledText Runs;  // the same paragraph in runs
    std::vector<std::vector<std::string>>
        Rows; // a table's cells, trimmed, plain; empty for a paragraph
    std::vector<std::vector<StyledText>> Cells; // the same cells in runs

    bool IsTable() const { return !Rows.empty(); }
    bool operator==(const CardBlock&) const = default;
};

struct CardField {
    std::string Label; // "Casting Time", "Range", "Components", "Duration"
    std::string Value;
    bool operator==(const CardField&) const = default;
};

struct SpellCard {
    std::string Title;    // the spell's name, UTF-8
    std::string Subtitle; // "Level 3 Evocation", with " (ritual)" for a ritual
    std::vector<CardField> Fields;
    std::vector<CardBlock> Body;
    std::vector<CardBlock> HigherLevels; // shown after the label HigherLevelsLabel

    bool operator==(const SpellCard&) const = default;
};

inline constexpr std::string_view HigherLevelsLabel = "At Higher Levels.";

// `name` is the spell's name in the program's single-byte text.
SpellCard MakeSpellCard(int32_t level, std::string_view name, const SpellText& text);

// The blocks of paragraphs: a run of paragraphs that start with "|" becomes
// one table (its "|---|" rule dropped), every other paragraph a block of its own.
std::vector<CardBlock> CardBlocks(const std::vector<std::string>& paragraphs);

} // namespace vellumar
