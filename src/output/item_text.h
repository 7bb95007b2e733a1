#pragma once
// The text of one spell in listings and output, the head lines of a book and
// the heading of a level.

#include "model/spell_book.h"
#include "output/output_format.h"

#include <array>
#include <string>

namespace vellumar {

// Whether a spell has a book reference: the column layout of the clipboard text
// wants its Book greater than one blank; everything else wants it non-empty.
enum class BookReferenceTest { NotEmpty, GreaterThanBlank };

std::string OutputItemText(const tSpell& spell, const OutputFormat& format,
                           BookReferenceTest test = BookReferenceTest::NotEmpty);

// Who reads a book's head lines: "Spell Book: " in printouts, "Spell Book:"
// without the blank in the clipboard text. Both are intended, and "Spell Book"
// in two words too.
enum class HeadFor { Printout, Clipboard };

// The head of a book's output: its caption, then the caster's level,
// Intelligence and specialty.
std::array<std::string, 4> BookHeadLines(const TSpellBook& book, const std::string& caption,
                                         HeadFor reader);

// The heading of a level: "level: N     number per day: M".
std::string LevelHeading(const TSpellBook& book, int32_t level);

// The row of a spell in the spell lists: Name  (Category) [Book Page] - F
std::string SpellItemRow(const tSpell& spell);

} // namespace vellumar
