#include "library/master_file.h"

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

} // namespace vellumar
