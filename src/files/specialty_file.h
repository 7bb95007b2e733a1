#pragma once
// The specialty file: three lines per specialty (name, preferred, prohibited).

#include "model/specialty.h"

#include <memory>
#include <string>

namespace vellumar {

// nullptr when the file cannot be opened; a read failure part-way keeps what was read.
std::unique_ptr<tSpecialtyList> ReadSpecialtyFile(const std::string& fileName);
// Returns whether the file was written (the old one is kept when not); the
// list's cursor is back where it was.
bool WriteSpecialtyFile(tSpecialtyList& list, const std::string& fileName);

// The comma list line of a specialty's entries, as written.
std::string CommaListLine(const tStringList& entries);

} // namespace vellumar
