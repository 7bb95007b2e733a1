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
//
// A chain of symbolic links is followed to the file the last one names, which
// is created when missing; a loop is refused. A character device, a FIFO or a
// file open in a process (/dev/stdout) is written in place, never replaced;
// a FIFO no program reads fails at once instead of waiting for a reader; any
// other target that is not a regular file is refused. A replaced file's
// owner, group and extended attributes go to the new file; what the system
// does not allow, and a hard link split by the rename, come back as warnings.
// A group that cannot be kept gets no permissions, neither by the mode nor by
// the access control list.
// The temporary files are removed when the process ends by SIGINT, SIGTERM or
// SIGHUP, and a later save of the same target removes those a process that is
// gone left behind.
FileStatus WriteFileAtomically(const std::string& path, std::string_view content);

// The file WriteFileAtomically(path, ...) writes: the end of the path's chain
// of symbolic links, which need not exist yet. A chain that cannot be followed
// (a loop) gives an empty path and the failure the write would give.
std::string WrittenFile(const std::string& path, FileStatus& status);

// Makes writes fail after this many bytes of a file (-1: off), as a full disk does.
void SetWriteFailureAfterBytesForTesting(long long bytes);
// Calls the function with the temporary file's path just before the content is
// written (nullptr: off), so that tests can see what others could see then.
void SetBeforeContentHookForTesting(void (*hook)(const std::string& temporaryPath));

} // namespace vellumar
