#include "platform/program_settings.h"

#include "model/spell.h"
#include "platform/program_folder.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace vellumar {
namespace {

constexpr char ProgramSection[] = "Vellumar";
constexpr char DataDirectoryKey[] = "DataDirectory";
constexpr char OddsSection[] = "SpellFrequencyOdds";

std::string WorkingFolder() {
    std::error_code ec;
    std::string working = fs::current_path(ec).string();
    if (working.empty() || working.back() != '/') working += '/';
    return working;
}

} // namespace

std::string ProgramSettings::DataDirectory(const std::string& fallback) const {
    return file_.ReadString(ProgramSection, DataDirectoryKey, fallback);
}

bool ProgramSettings::SetDataDirectory(const std::string& folder) {
    return file_.WriteString(ProgramSection, DataDirectoryKey, folder);
}

std::string ProgramSettings::MasterFile() const {
    return file_.ReadString(ProgramSection, MasterFileKey, DefaultMasterFileName);
}

std::string ProgramSettings::MasterFileShown() const {
    return file_.ReadString(ProgramSection, MasterFileKey, "Master.dat");
}

bool ProgramSettings::SetMasterFile(const std::string& path) {
    return file_.WriteString(ProgramSection, MasterFileKey, path);
}

MasterFileChoice ProgramSettings::LocateMasterFile(const std::string& workingFolder,
                                                   const std::string& programFolder) const {
    MasterFileChoice choice;
    choice.settingsFile = Path();
    const std::string name = MasterFile();
    choice.fromSetting = file_.ReadString(ProgramSection, MasterFileKey, "") == name;
    if (name.empty() || fs::path(name).is_absolute()) {
        choice.path = name;
        return choice;
    }
    if (bareFolder_.empty()) {
        bareFolder_ = MasterFileFolder(name, workingFolder, programFolder);
        bareInProgramFolder_ = bareFolder_ == programFolder && bareFolder_ != workingFolder;
    }
    choice.inProgramFolder = bareInProgramFolder_;
    choice.path = bareFolder_ + name;
    return choice;
}

MasterFileChoice ProgramSettings::LocateMasterFile() const {
    return LocateMasterFile(WorkingFolder(), ProgramFolder());
}

int32_t ProgramSettings::Odds(size_t entry, int32_t fallback) const {
    return file_.ReadInteger(OddsSection, FrequencyNames[entry], fallback);
}

bool ProgramSettings::SetOdds(size_t entry, int32_t value) {
    return file_.WriteInteger(OddsSection, FrequencyNames[entry], value);
}

} // namespace vellumar
