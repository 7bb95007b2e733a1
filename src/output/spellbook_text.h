#pragma once
// The plain text of a whole spellbook, as the clipboard receives it.

#include "model/spell_book.h"
#include "model/spell_text.h"
#include "output/output_format.h"

#include <string>
#include <vector>

namespace vellumar {

// The caption and caster lines, then a heading and the spell lines of every
// level that holds spells: one comma-separated line, or 1 to 4 TAB-separated
// columns filled top to bottom. With `format.IncludeSpellTexts`, one spell a
// line instead, each followed by its card from `texts` (found by the spell's
// level and name; none for a spell without an entry, or without `texts`) and a
// blank line, in the book's single-byte text.
std::vector<std::string> BuildSpellbookText(TSpellBook& book, const std::string& caption,
                                            const OutputFormat& format,
                                            const SpellTexts* texts = nullptr);

// Every line, the last included, followed by CR LF.
std::string JoinWithCrLf(const std::vector<std::string>& lines);

} // namespace vellumar
