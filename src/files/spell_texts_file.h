#pragma once
// The companion file of a master list: the rules texts of its spells, as a
// JSON array of one object a spell (name, level, school, casting_time, range,
// components, material, ritual, concentration, duration, description,
// higher_levels), beside the master file and named after it. A master list
// has no companion until texts are saved for it.
//
// Nothing read is lost on a write, and what is written reads back the same:
// - fields this program does not know are kept as written (key and value as
//   JSON text), and written back unchanged after the known ones;
// - of a field an entry repeats, the first is used (a warning says so) and
//   each later one is kept with the unknown fields, so that it is written
//   after the first again;
// - of a level and name the file repeats, the first entry is used (a
//   warning) and each later one is kept as written, and written after it;
// - a name Windows-1252 cannot hold is read with "?" for what it lacks (a
//   warning), and written as the file spelled it while the spell keeps it.
//
// A file is read only within bounds, checked before and while it is parsed,
// in time linear in it and in memory proportional to it: its size, how deep
// arrays and objects nest, how many keys an object holds, how many entries. The writer refuses
// what its reader would refuse, and the old file stays.

#include "files/file_result.h"
#include "model/spell_text.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace vellumar {

// The largest companion file read or written: about seven times the texts of
// 200,000 spells.
inline constexpr size_t MaxTextsBytes = size_t{256} << 20;
// Arrays and objects inside one another, the outermost array included.
inline constexpr size_t MaxTextsDepth = 32;
// Keys of one object, repeats included.
inline constexpr size_t MaxTextsKeys = 1024;
// Entries, repeats included: each costs a few hundred bytes once read, however
// short it is in the file; more would not fit the largest file written.
inline constexpr size_t MaxTextsEntries = 1000000;

// "MASTER.DAT" gives "MASTER.DAT.texts.json", in the same folder.
std::string CompanionTextsPath(std::string_view masterPath);

// The texts of the file. A missing file gives an empty set and no failure
// (`Missing()` still tells), so that a master list without texts works as
// before; a broken file fails with a reason that names its line and column,
// and each entry or field read but not used is a warning that does.
FileResult<SpellTexts> ReadSpellTexts(const std::string& fileName);

// The bytes WriteSpellTexts puts into the file; fails (CannotWrite) when they
// would be more than the reader takes, or when memory runs out.
FileResult<std::string> SpellTextsFileText(const SpellTexts& texts);

// Writes every entry, in store order, through the careful writer.
FileStatus WriteSpellTexts(const SpellTexts& texts, const std::string& fileName);

} // namespace vellumar
