#pragma once
// The specialty file: three lines per specialty (name, preferred, prohibited).

#include "files/file_result.h"
#include "model/specialty.h"

#include <memory>
#include <string>

namespace vellumar {

// Fails when the file cannot be opened or read to its end (a line longer than
// MaxLineBytes, a read error, a lack of memory): a part of a table is never given.
FileResult<tSpecialtyList> ReadSpecialtyFile(const std::string& fileName);
// The old file is kept when the write fails; the list's cursor is back where it was.
FileStatus WriteSpecialtyFile(tSpecialtyList& list, const std::string& fileName);

// The comma list line of a specialty's entries, as written.
std::string CommaListLine(const tStringList& entries);

} // namespace vellumar
