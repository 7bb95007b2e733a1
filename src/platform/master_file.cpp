#include "platform/master_file.h"

#include "platform/ini_file.h"
#include "platform/program_folder.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace vellumar {

std::string MasterFileFolder(const std::string& bareName, const std::string& workingFolder,
                             const std::string& programFolder) {
    std::error_code ec;
    return !fs::exists(workingFolder + bareName, ec) && fs::exists(programFolder + bareName, ec)
               ? programFolder
               : workingFolder;
}

MasterFileChoice CurrentMasterFile() {
    MasterFileChoice choice;
    // Without creating the settings folder: reading needs none.
    const FolderEnvironment environment = CurrentFolderEnvironment();
    choice.settingsFile = SettingsFolder(environment) + "Vellumar.INI";
    const IniFile settings(choice.settingsFile);
    const std::string name = settings.ReadString("Vellumar", "MasterFile", DefaultMasterFileName);
    choice.fromSetting = settings.ReadString("Vellumar", "MasterFile", "") == name;
    if (name.empty() || fs::path(name).is_absolute()) {
        choice.path = name;
        return choice;
    }
    std::error_code ec;
    std::string working = fs::current_path(ec).string();
    if (working.empty() || working.back() != '/') working += '/';
    const std::string program = ProgramFolder(environment);
    const std::string folder = MasterFileFolder(name, working, program);
    choice.inProgramFolder = folder == program && folder != working;
    choice.path = folder + name;
    return choice;
}

} // namespace vellumar
