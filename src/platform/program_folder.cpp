#include "platform/program_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace vellumar {

std::string ProgramFolder() {
    std::string folder;
    if (const char* home = std::getenv("VELLUMAR_HOME"); home && *home) {
        folder = home;
    } else {
        std::error_code ec;
        const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
        folder = ec ? std::string(".") : exe.parent_path().string();
    }
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

} // namespace vellumar
