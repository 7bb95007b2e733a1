#pragma once
// The text of one spell in listings and output.

#include "model/spell_book.h"
#include "output/output_format.h"

#include <string>

namespace vellumar {

// Whether a spell has a book reference: the column layout of the clipboard text
// wants its Book greater than one blank; everything else wants it non-empty.
enum class BookReferenceTest { NotEmpty, GreaterThanBlank };

std::string OutputItemText(const tSpell& spell, const OutputFormat& format,
                           BookReferenceTest test = BookReferenceTest::NotEmpty);

// The row of a spell in the spell lists: Name  (Category) [Book Page] - F
std::string SpellItemRow(const tSpell& spell);

} // namespace vellumar
