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

// The commands the table runs, one each.
Outcome Text(const Arguments& args, Session& session);
Outcome Show(const Arguments& args, Session& session);
Outcome Info(const Arguments& args, Session& session);
Outcome Fill(const Arguments& args, Session& session);
Outcome Validate(const Arguments& args, Session& session);
Outcome Scroll(const Arguments& args, Session& session);
Outcome Export(const Arguments& args, Session& session);
Outcome Pdf(const Arguments& args, Session& session);
// The usage text: every command of the table with its help, then what they share.
void PrintUsage(std::ostream& out);

} // namespace vellumar::cli
