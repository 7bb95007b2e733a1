#pragma once
// The specialty file: three lines per specialty (name, preferred, prohibited).

#include "files/file_result.h"
#include "model/specialty.h"

#include <memory>
#include <string>

namespace vellumar {

// Fails when the file cannot be opened; a read failure part-way keeps what was read.
FileResult<tSpecialtyList> ReadSpecialtyFile(const std::string& fileName);
// The old file is kept when the write fails; the list's cursor is back where it was.
FileStatus WriteSpecialtyFile(tSpecialtyList& list, const std::string& fileName);

// The comma list line of a specialty's entries, as written.
std::string CommaListLine(const tStringList& entries);

} // namespace vellumar
