#pragma once
// The commands of vellumar-cli. Each throws UsageError or FileError.

#include "cli/arguments.h"

#include <iosfwd>
#include <vector>

namespace vellumar::cli {

extern const char* const Version;

struct Command {
    CommandSpec request;
    // Writes its result to out; returns the exit code.
    int (*run)(const Arguments& args, std::ostream& out);
};

const std::vector<Command>& Commands();
void PrintUsage(std::ostream& out);

} // namespace vellumar::cli
