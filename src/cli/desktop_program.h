#pragma once
// The desktop program, run by vellumar-cli for what needs Qt's painting.

#include "cli/outcome.h"

#include <string>
#include <vector>

namespace vellumar::cli {

// How long the desktop program may take; VELLUMAR_CHILD_SECONDS (a whole
// number of seconds) sets another limit.
inline constexpr unsigned DesktopProgramSeconds = 120;

// Runs the desktop program "vellumar", found beside this tool's own
// executable, with `words` as its arguments (their bytes unchanged) and its
// streams those of this tool. SIGINT and SIGTERM sent to this tool are passed
// on to it; past the time limit it is stopped. Ends with its exit code when
// that is 0, 1 or 2; otherwise a file error naming the code, the signal that
// ended it or the time limit, as for a program that cannot be found or started.
Outcome RunDesktopProgram(const std::vector<std::string>& words);

} // namespace vellumar::cli
