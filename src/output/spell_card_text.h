#pragma once
// A spell card as plain lines of text, for the clipboard and the command line:
// the title, the subtitle, "Casting Time: ..." and the other fields, a line
// each paragraph, a table as TAB-separated cells a row a line, and "At Higher
// Levels. " before the first higher-levels paragraph. The lines stay UTF-8.

#include "output/spell_card.h"

#include <string>
#include <vector>

namespace vellumar {

std::vector<std::string> CardTextLines(const SpellCard& card);

// "Casting Time: 1 action".
std::string CardFieldText(const CardField& field);

} // namespace vellumar
