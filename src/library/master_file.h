#pragma once
// Which file is the master list: the setting, where a bare name (the default
// among them) means the working folder, or the program's folder when the
// working folder holds no such file, so that the sample list that comes with
// the program is found from anywhere.

#include <string>

namespace vellumar {

// The folder, ending in '/', in which a bare master file name is looked for.
// Both folders end in '/'.
std::string MasterFileFolder(const std::string& bareName, const std::string& workingFolder,
                             const std::string& programFolder);

struct MasterFileChoice {
    std::string path;
    std::string settingsFile; // the settings file that was read
    bool fromSetting = false; // the settings file names the master file
    bool inProgramFolder = false;
};

} // namespace vellumar
