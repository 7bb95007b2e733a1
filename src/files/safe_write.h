#pragma once
// Saving without ever destroying the old file.

#include "files/file_result.h"

#include <string>
#include <string_view>

namespace vellumar {

// Writes the content to a temporary file in the target's folder, flushes it to
// the disk and renames it over the target. On any failure the old file is left
// untouched. An existing file the user may not write is refused, although the
// folder would allow the rename. A new file gets the usual permissions (0666
// less the umask); a replaced one keeps its mode. The temporary file is created
// owner-only and takes that mode before any content is written.
FileStatus WriteFileAtomically(const std::string& path, std::string_view content);

// Makes writes fail after this many bytes of a file (-1: off), as a full disk does.
void SetWriteFailureAfterBytesForTesting(long long bytes);
// Calls the function with the temporary file's path just before the content is
// written (nullptr: off), so that tests can see what others could see then.
void SetBeforeContentHookForTesting(void (*hook)(const std::string& temporaryPath));

} // namespace vellumar
