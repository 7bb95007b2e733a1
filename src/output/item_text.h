#pragma once
// The text of one spell in listings and output, and the per-day figure of a level heading.

#include "model/spell_book.h"
#include "output/output_format.h"

#include <string>

namespace vellumar {

// Whether a spell has a book reference: the column layout of the clipboard text
// wants its Book greater than one blank; everything else wants it non-empty.
enum class BookReferenceTest { NotEmpty, GreaterThanBlank };

std::string OutputItemText(const tSpell& spell, const OutputFormat& format,
                           BookReferenceTest test = BookReferenceTest::NotEmpty);

// SpellsPerDay for the book's caster level and the spell level, plus one for
// any specialty but the generalist (see IsGeneralist).
int32_t NumberPerDay(const TSpellBook& book, int32_t spellLevel);

// The row of a spell in the spell lists: Name  (Category) [Book Page] - F
std::string SpellItemRow(const tSpell& spell);

} // namespace vellumar
