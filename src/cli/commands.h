#pragma once
// The commands of vellumar-cli: one table, from which both the dispatch and
// the usage text come. Each command knows its own help.

#include "cli/arguments.h"
#include "cli/outcome.h"
#include "cli/session.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace vellumar::cli {

struct Command {
    CommandSpec request; // the name, the operand and the options
    // Its lines of the usage text: the synopsis (a line break continues it on
    // the next line, under the operands), and what it does (one or more lines).
    std::string synopsis;
    std::string summary;
    // Writes its result to the session's output; the outcome carries the exit
    // code and what went wrong.
    Outcome (*run)(const Arguments& args, Session& session);
};

const std::vector<Command>& Commands();
// The usage text: every command of the table with its help, then what they share.
void PrintUsage(std::ostream& out);

} // namespace vellumar::cli
