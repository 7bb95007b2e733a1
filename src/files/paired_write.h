#pragma once
// Two files replaced as one, such as a master list and its spell texts: a
// process killed at any point leaves both old or, after the next
// FinishPairedWrite of the same two paths, both new.
//
// Both contents first go to temporary files beside their targets, complete and
// flushed (the careful writer's first half, safe_write.h). Then a journal
// beside the first target names the pair; the second file and then the first
// are renamed over their targets, and the journal goes. A journal found later
// is rolled forward: each temporary file it names that is still there is
// renamed over its target (those gone were renamed already). The ending
// signals are held back meanwhile, and the signal handler no longer removes
// temporary files a journal names.

#include "files/file_result.h"

#include <string>
#include <string_view>

namespace vellumar {

// Each status says whether its file was written. The write stops at the first
// failure, so a failed file's partner is either unwritten or (when only the
// first file's rename failed) left to the journal.
struct PairWritten {
    FileStatus first;
    FileStatus second;
    explicit operator bool() const { return first && second; }
};

// Finishes an earlier write of the same pair first, then writes both.
PairWritten WriteFilePair(const std::string& firstPath, std::string_view first,
                          const std::string& secondPath, std::string_view second);

// Completes a write of these two files that a process ended part-way; does
// nothing (cheaply) when there is none. Fails when a rename fails, or the
// journal or a temporary file it names is not this user's own file: the
// journal then stays.
FileStatus FinishPairedWrite(const std::string& firstPath, const std::string& secondPath);

// Stops WriteFilePair after this step as a killed process would, leaving its
// files (0: off): 1 first file prepared, 2 second file prepared, 3 journal
// written, 4 second file renamed, 5 first file renamed.
void SetPairedWriteStopForTesting(int step);

} // namespace vellumar
