#pragma once
// The plain text of a whole spellbook, as the clipboard receives it.

#include "model/spell_book.h"
#include "output/output_format.h"

#include <string>
#include <vector>

namespace vellumar {

// The caption and caster lines, then a heading and the spell lines of every
// level that holds spells: one comma-separated line, or 1 to 4 TAB-separated
// columns filled top to bottom.
std::vector<std::string> BuildSpellbookText(TSpellBook& book, const std::string& caption,
                                            const OutputFormat& format);

// Every line, the last included, followed by CR LF.
std::string JoinWithCrLf(const std::vector<std::string>& lines);

} // namespace vellumar
