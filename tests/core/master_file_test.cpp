// Where a bare master file name is looked for: the working folder first, the
// program's folder (the sample list) when only it holds the file.

#include "library/master_file.h"
#include "platform/program_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace vellumar;

namespace {

struct Row {
    const char* name;
    bool inWorking;
    bool inProgram;
    bool expectProgram;
};

class MasterFileFolderRows : public testing::TestWithParam<Row> {};

TEST_P(MasterFileFolderRows, PrefersTheWorkingFolder) {
    const fs::path root = fs::temp_directory_path() /
                          ("vellumar-master-file-" + std::to_string(::getpid()) + "-" +
                           std::to_string(testing::UnitTest::GetInstance()->random_seed()));
    fs::remove_all(root);
    const std::string working = (root / "work").string() + "/";
    const std::string program = (root / "program").string() + "/";
    fs::create_directories(working);
    fs::create_directories(program);
    if (GetParam().inWorking) std::ofstream(working + GetParam().name) << "1,\"A\"\r\n";
    if (GetParam().inProgram) std::ofstream(program + GetParam().name) << "1,\"A\"\r\n";
    EXPECT_EQ(MasterFileFolder(GetParam().name, working, program),
              GetParam().expectProgram ? program : working);
    fs::remove_all(root);
}

INSTANTIATE_TEST_SUITE_P(Places, MasterFileFolderRows,
                         testing::Values(Row{DefaultMasterFileName, true, true, false},
                                         Row{DefaultMasterFileName, false, true, true},
                                         Row{DefaultMasterFileName, true, false, false},
                                         Row{"Mine.DAT", false, false, false}));

} // namespace
