#pragma once
// Spell list files: the master list and exported spells (no header) and
// spellbook files (a five-line header with the caster's parameters).

#include "model/spell.h"
#include "model/spell_book.h"

#include <array>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vellumar {

// A read failure part-way through a header-less list.
struct FileReadError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The specialties of version-3 spellbooks, by their number in the file.
extern const std::array<const char*, 9> LegacySpecialtyNames;

// A spell from one line, or nullptr when the line names no spell of level 1 to 9.
std::unique_ptr<tSpell> ParseSpellLine(std::string_view line);
// The bytes of one spell line, without its CR LF.
std::string SpellLine(const tSpell& spell);

// nullptr for an empty name or a file that cannot be opened; throws
// FileReadError on a read failure part-way.
std::unique_ptr<TSpellBook> ReadSpellList(const std::string& fileName);
// nullptr when the file cannot be opened or read, or its version is not 0, 3 or 4.
std::unique_ptr<TSpellBook> ReadSpellbookFile(const std::string& fileName);

// Both writers walk the book with its cursor and leave it empty; they return
// whether the file was written, and keep the old file when it was not.
bool WriteSpellList(TSpellBook& book, const std::string& fileName);
bool WriteSpellbookFile(TSpellBook& book, const std::string& fileName);

} // namespace vellumar
