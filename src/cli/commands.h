#pragma once
// The commands of vellumar-cli. Each throws UsageError or FileError.

#include "cli/arguments.h"
#include "cli/session.h"

#include <iosfwd>
#include <vector>

namespace vellumar::cli {

struct Command {
    CommandSpec request;
    // Writes its result to the session's output; returns the exit code.
    int (*run)(const Arguments& args, Session& session);
};

const std::vector<Command>& Commands();
void PrintUsage(std::ostream& out);

} // namespace vellumar::cli
