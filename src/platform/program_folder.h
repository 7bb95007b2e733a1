#pragma once

#include <string>

namespace vellumar {

// The folder of the settings, the specialty file, the help file and the sample
// master list: the executable's folder, or the one named by VELLUMAR_HOME.
// Always ends in '/'.
std::string ProgramFolder();

} // namespace vellumar
