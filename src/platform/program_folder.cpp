#include "platform/program_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

// The data folder relative to the executable's folder in the installed layout;
// the build passes the one its install rules use.
#ifndef VELLUMAR_BIN_TO_DATA
#define VELLUMAR_BIN_TO_DATA "../share/vellumar"
#endif

namespace vellumar {

namespace fs = std::filesystem;

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

// The installed data folder beside the executable, or empty when there is none.
std::string InstalledDataFolder(const FolderEnvironment& environment) {
    if (environment.executableFolder.empty()) return {};
    const fs::path data =
        (fs::path(environment.executableFolder) / VELLUMAR_BIN_TO_DATA).lexically_normal();
    std::error_code ec;
    return fs::is_directory(data, ec) ? WithSlash(data.string()) : std::string();
}

// Our folder in one of the user's base folders: the variable's, or the default
// under the home folder. A relative variable is invalid and is ignored, as the
// base directory rules ask.
std::string UserFolder(const FolderEnvironment& environment, const std::string& variable,
                       const char* underHome) {
    if (!variable.empty() && variable.front() == '/') return WithSlash(variable) + "vellumar/";
    if (!environment.userHome.empty())
        return WithSlash(environment.userHome) + underHome + "/vellumar/";
    return {};
}

std::string UserConfigFolder(const FolderEnvironment& environment) {
    return UserFolder(environment, environment.xdgConfigHome, ".config");
}

} // namespace

FolderEnvironment CurrentFolderEnvironment() {
    FolderEnvironment environment;
    environment.vellumarHome = Environment("VELLUMAR_HOME");
    environment.xdgConfigHome = Environment("XDG_CONFIG_HOME");
    environment.xdgStateHome = Environment("XDG_STATE_HOME");
    environment.userHome = Environment("HOME");
    const std::string exe = ExecutablePath();
    environment.executableFolder =
        exe.empty() ? std::string(".") : fs::path(exe).parent_path().string();
    environment.isWritable = [](const std::string& folder) {
        return ::access(folder.c_str(), W_OK | X_OK) == 0;
    };
    return environment;
}

std::string ExecutablePath() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
}

std::string ProgramFolder(const FolderEnvironment& environment) {
    if (!environment.vellumarHome.empty()) return WithSlash(environment.vellumarHome);
    const std::string installed = InstalledDataFolder(environment);
    return installed.empty() ? WithSlash(environment.executableFolder) : installed;
}

std::string ProgramFolder() {
    return ProgramFolder(CurrentFolderEnvironment());
}

std::string SettingsFolder(const FolderEnvironment& environment) {
    if (!environment.vellumarHome.empty()) return WithSlash(environment.vellumarHome);
    const std::string beside = WithSlash(environment.executableFolder);
    if (InstalledDataFolder(environment).empty() && environment.isWritable &&
        environment.isWritable(beside))
        return beside;
    const std::string user = UserConfigFolder(environment);
    // Without any home folder there is nowhere better than the program's own.
    return user.empty() ? beside : user;
}

std::string SettingsFolder() {
    const std::string folder = SettingsFolder(CurrentFolderEnvironment());
    std::error_code ec;
    if (!fs::exists(folder, ec) && fs::create_directories(folder, ec))
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, ec);
    return folder;
}

std::string StateFolder(const FolderEnvironment& environment) {
    return UserFolder(environment, environment.xdgStateHome, ".local/state");
}

std::string DefaultDataDirectory(const std::string& programFolder,
                                 const std::string& documentsFolder,
                                 const FolderEnvironment& environment) {
    const std::string program = WithSlash(programFolder);
    // An installed copy's folder is the system's: a book saved there would fail at once.
    if (environment.isWritable && environment.isWritable(program)) return program;
    std::error_code ec;
    if (!documentsFolder.empty() && fs::is_directory(documentsFolder, ec))
        return WithSlash(documentsFolder);
    if (!environment.userHome.empty()) return WithSlash(environment.userHome);
    return program;
}

} // namespace vellumar
