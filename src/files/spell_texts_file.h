#pragma once
// The companion file of a master list: the rules texts of its spells, as a
// JSON array of one object a spell (name, level, school, casting_time, range,
// components, material, ritual, concentration, duration, description,
// higher_levels), beside the master file and named after it. A master list
// has no companion until texts are saved for it; fields this program does not
// know are written back as they were read.

#include "files/file_result.h"
#include "model/spell_text.h"

#include <string>
#include <string_view>

namespace vellumar {

// "MASTER.DAT" gives "MASTER.DAT.texts.json", in the same folder.
std::string CompanionTextsPath(std::string_view masterPath);

// The texts of the file. A missing file gives an empty set and no failure
// (`Missing()` still tells), so that a master list without texts works as
// before; a broken file fails with a reason that names its line and column.
FileResult<SpellTexts> ReadSpellTexts(const std::string& fileName);

// The bytes WriteSpellTexts puts into the file; fails only when memory runs
// out or a spell's unknown fields are no JSON object.
FileResult<std::string> SpellTextsFileText(const SpellTexts& texts);

// Writes every entry, in store order, through the careful writer.
FileStatus WriteSpellTexts(const SpellTexts& texts, const std::string& fileName);

} // namespace vellumar
