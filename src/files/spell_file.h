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

// Fails for an empty name, a file that cannot be opened, a line longer than
// MaxLineBytes, a read failure part-way (the partly read book is dropped) or
// a lack of memory. Each line left out (no spell level of 1 to 9, no name, a
// repeat of a level and name) is a warning of the result, but for the header
// lines of a spellbook read as a list.
FileResult<TSpellBook> ReadSpellList(const std::string& fileName);
// Fails as ReadSpellList does, and when the version is not 0, 3 or 4. A
// header's caster level or Intelligence that is missing or not a number reads
// as 0; that, or one outside the caster tables, is a warning of its line.
FileResult<TSpellBook> ReadSpellbookFile(const std::string& fileName);

// Both writers walk the book with its cursor and leave it empty; when they
// fail, the old file is kept.
FileStatus WriteSpellList(TSpellBook& book, const std::string& fileName);
FileStatus WriteSpellbookFile(TSpellBook& book, const std::string& fileName);
// The bytes the writers above put into the file (walking the book the same way).
std::string SpellListText(TSpellBook& book);
std::string SpellbookFileText(TSpellBook& book);
// Fails when a line of those bytes is longer than the readers take: the
// writers never write a file that could not be opened again.
FileStatus LinesReadBack(std::string_view content);

} // namespace vellumar
