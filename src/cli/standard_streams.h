#pragma once
// "-" for standard input or output, and outputs that are no regular file
// (/dev/stdout, a pipe, a terminal). The file readers take only regular files
// and the writers replace a file by renaming, so such a file is staged in a
// private temporary folder and copied from or to the stream.

#include "cli/outcome.h"

#include <functional>
#include <string>

namespace vellumar::cli {

// Whether writing the operand writes standard output: "-", or a name of the
// file standard output is (/dev/stdout, or the file it was redirected to).
bool IsStandardOutput(const std::string& operand);

class StagedFiles {
public:
    StagedFiles() = default;
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;
    ~StagedFiles();

    // The path to read: the operand itself, or for "-" a copy of standard
    // input. A file error when standard input cannot be read.
    Result<std::string> Input(const std::string& operand);

    // Writes through `write` (which writes the path it is given) to the
    // operand: standard output (see IsStandardOutput) through this tool's
    // stream, and an existing file that is not a regular one in place. A file
    // error when that fails.
    Outcome Output(const std::string& operand,
                   const std::function<Outcome(const std::string&)>& write);

private:
    Result<std::string> Stage(const std::string& name);
    std::string folder_;
};

} // namespace vellumar::cli
