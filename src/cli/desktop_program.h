#pragma once
// The desktop program, run by vellumar-cli for what needs Qt's painting.

#include "cli/outcome.h"

#include <string>
#include <vector>

namespace vellumar::cli {

// Runs the desktop program "vellumar", found beside this tool's own
// executable, with `words` as its arguments, its streams those of this tool,
// and ends with its exit code (1 when it ended on a signal). A file error
// when it cannot be started.
Outcome RunDesktopProgram(const std::vector<std::string>& words);

} // namespace vellumar::cli
