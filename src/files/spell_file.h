#pragma once
// Spell list files: the master list and exported spells (no header) and
// spellbook files (a five-line header with the caster's parameters).

#include "files/file_result.h"
#include "model/spell.h"
#include "model/spell_book.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>

namespace vellumar {

// The specialties of version-3 spellbooks, by their number in the file.
extern const std::array<const char*, 9> LegacySpecialtyNames;

// A spell from one line, or nullptr when the line names no spell of level 1 to 9.
std::unique_ptr<tSpell> ParseSpellLine(std::string_view line);
// The bytes of one spell line, without its CR LF.
std::string SpellLine(const tSpell& spell);

// Fails for an empty name, a file that cannot be opened, or a read failure
// part-way (the partly read book is dropped).
FileResult<TSpellBook> ReadSpellList(const std::string& fileName);
// Fails when the file cannot be opened or read, or its version is not 0, 3 or 4.
FileResult<TSpellBook> ReadSpellbookFile(const std::string& fileName);

// Both writers walk the book with its cursor and leave it empty; when they
// fail, the old file is kept.
FileStatus WriteSpellList(TSpellBook& book, const std::string& fileName);
FileStatus WriteSpellbookFile(TSpellBook& book, const std::string& fileName);

} // namespace vellumar
