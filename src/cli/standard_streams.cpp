#include "cli/standard_streams.h"

#include "files/safe_write.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace vellumar::cli {
namespace {

bool NeedsStaging(const std::string& operand) {
    if (IsStandardOutput(operand)) return true;
    struct stat info;
    return stat(operand.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode);
}

// Copies everything; false with the system's reason on a failure.
bool Copy(std::istream& from, std::ostream& to, std::string& reason) {
    errno = 0;
    char buffer[1 << 16];
    while (from.read(buffer, sizeof buffer) || from.gcount() > 0)
        if (!to.write(buffer, from.gcount())) break;
    to.flush();
    if (!from.bad() && to) return true;
    if (errno != 0) reason = std::strerror(errno);
    return false;
}

} // namespace

bool IsStandardOutput(const std::string& operand) {
    if (operand == "-") return true;
    struct stat named;
    struct stat out;
    return stat(operand.c_str(), &named) == 0 && fstat(STDOUT_FILENO, &out) == 0 &&
           named.st_dev == out.st_dev && named.st_ino == out.st_ino;
}

StagedFiles::~StagedFiles() {
    if (folder_.empty()) return;
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
}

Result<std::string> StagedFiles::Stage(const std::string& name) {
    if (folder_.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vellumar-cli-XXXXXX";
        if (!mkdtemp(pattern.data()))
            return Outcome::FileError(std::string("cannot make a temporary folder: ") +
                                      std::strerror(errno));
        folder_ = pattern;
    }
    return folder_ + "/" + name;
}

Result<std::string> StagedFiles::Input(const std::string& operand) {
    if (operand != "-") return operand;
    Result<std::string> path = Stage("input");
    if (!path) return path;
    std::ofstream file(*path, std::ios::binary);
    std::string reason;
    if (!Copy(std::cin, file, reason))
        return Outcome::FileError("cannot read standard input" +
                                  (reason.empty() ? "" : ": " + reason));
    return path;
}

Outcome StagedFiles::Output(const std::string& operand,
                            const std::function<Outcome(const std::string&)>& write) {
    if (!NeedsStaging(operand)) return write(operand);
    const Result<std::string> path = Stage("output");
    if (!path) return path.Failure();
    if (Outcome written = write(*path); !written) return written;
    std::ifstream staged(*path, std::ios::binary);
    const bool toStandardOutput = IsStandardOutput(operand);
    const std::string name = toStandardOutput ? "standard output" : "'" + operand + "'";
    std::string reason;
    if (toStandardOutput) {
        if (Copy(staged, std::cout, reason)) return {};
    } else {
        // Through the careful writer, which writes a pipe or a device in place
        // and never waits at the open for a pipe's reader.
        std::ostringstream content;
        content << staged.rdbuf();
        const FileStatus written = WriteFileAtomically(operand, content.str());
        if (written) return {};
        reason = written.Reason();
    }
    return Outcome::FileError("cannot write " + name + (reason.empty() ? "" : ": " + reason));
}

} // namespace vellumar::cli
