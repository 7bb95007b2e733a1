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

// The first half of WriteFileAtomically, for a caller that puts several files
// in place together: the content is in a temporary file beside the target,
// flushed to the disk, with the old file's mode, owner and attributes; nothing
// has replaced the target yet. Dropped uncommitted, it removes its temporary file.
class PreparedWrite {
public:
    ~PreparedWrite();
    PreparedWrite(const PreparedWrite&) = delete;
    PreparedWrite& operator=(const PreparedWrite&) = delete;

    // The file the rename replaces (the end of a chain of links) and the temporary file.
    const std::string& Target() const { return target_; }
    const std::string& Temporary() const { return temporary_; }
    // From now on a signal leaves the temporary file where it is: a journal
    // names it, and removing it in the middle of a commit would break the set.
    void KeepOnSignal();
    // Renames the temporary file over the target. The result carries the
    // warnings of what the new file could not keep; after a failure the
    // temporary file is still there (the destructor removes it).
    FileStatus Commit();
    // Leaves the temporary file where it is, as a process killed now would.
    void Abandon();

private:
    friend struct PreparedWriteAccess;
    PreparedWrite() = default;

    std::string target_;
    std::string temporary_;
    int slot_ = -1;
    FileStatus kept_;         // what the new file could not keep of the old one
    unsigned long links_ = 0; // the old file's names, when it had any
    bool done_ = false;       // committed or abandoned
};

// Prepares the replacement of a regular file, or the making of a new one, as
// WriteFileAtomically would; a target that is not a regular file is refused.
FileResult<PreparedWrite> PrepareFileWrite(const std::string& path, std::string_view content);

// The file a write of the path replaces: the end of its chain of symbolic
// links, whether it exists or not (the path itself when the chain is broken).
std::string ReplacedFile(const std::string& path);
// A name beside the target for the writer's own use, as its temporary files
// are named (".<name>.vellumar-<what>"); the next save of any file of that
// folder leaves the temporary files there alone while a "journal" is present.
std::string WriterFileBeside(const std::string& target, std::string_view what);
// Whether the name (without a folder) is one the writer gives a temporary
// file of the target.
bool IsTemporaryNameOf(std::string_view name, const std::string& target);

// Makes writes fail after this many bytes of a file (-1: off), as a full disk does.
void SetWriteFailureAfterBytesForTesting(long long bytes);
// Calls the function with the temporary file's path just before the content is
// written (nullptr: off), so that tests can see what others could see then.
void SetBeforeContentHookForTesting(void (*hook)(const std::string& temporaryPath));

} // namespace vellumar
