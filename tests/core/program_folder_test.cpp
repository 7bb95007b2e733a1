#include "platform/program_folder.h"

#include "file_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <vector>

using namespace vellumar;
using vellumar::test::TempFolder;
namespace fs = std::filesystem;

namespace {

enum class Layout { BesideExecutable, Installed };

struct FolderCase {
    const char* name;
    Layout layout;
    bool writable;
    const char* vellumarHome;  // "" for unset
    const char* xdgConfigHome; // "" for unset; "@" for <root>/xdg
    bool hasHome;
    // Expected, with <root> standing for the temporary root.
    const char* program;
    const char* settings;
};

const FolderCase Cases[] = {
    {"home variable wins over a build tree", Layout::BesideExecutable, true, "/srv/v", "@", true,
     "/srv/v/", "/srv/v/"},
    {"home variable wins over an installation", Layout::Installed, false, "/srv/v/", "", true,
     "/srv/v/", "/srv/v/"},
    {"writable build tree keeps everything together", Layout::BesideExecutable, true, "", "@", true,
     "<root>/bin/", "<root>/bin/"},
    {"read-only folder sends settings to XDG_CONFIG_HOME", Layout::BesideExecutable, false, "", "@",
     true, "<root>/bin/", "<root>/xdg/vellumar/"},
    {"read-only folder without XDG_CONFIG_HOME uses ~/.config", Layout::BesideExecutable, false, "",
     "", true, "<root>/bin/", "<root>/home/.config/vellumar/"},
    {"relative XDG_CONFIG_HOME is ignored", Layout::BesideExecutable, false, "", "rel/cfg", true,
     "<root>/bin/", "<root>/home/.config/vellumar/"},
    {"installed layout reads share/vellumar, settings in XDG_CONFIG_HOME", Layout::Installed, true,
     "", "@", true, "<root>/share/vellumar/", "<root>/xdg/vellumar/"},
    {"installed layout without XDG_CONFIG_HOME", Layout::Installed, true, "", "", true,
     "<root>/share/vellumar/", "<root>/home/.config/vellumar/"},
    {"no home at all falls back to the program's folder", Layout::BesideExecutable, false, "", "",
     false, "<root>/bin/", "<root>/bin/"},
};

std::string Expand(const std::string& pattern, const std::string& root) {
    const std::string marker = "<root>";
    return pattern.compare(0, marker.size(), marker) == 0 ? root + pattern.substr(marker.size())
                                                          : pattern;
}

TEST(ProgramFolder, FoldersFollowLayoutEnvironmentAndWritability) {
    for (const FolderCase& c : Cases) {
        SCOPED_TRACE(c.name);
        TempFolder temp;
        const std::string root = temp.Path().string();
        fs::create_directories(temp.Path() / "bin");
        if (c.layout == Layout::Installed) fs::create_directories(temp.Path() / "share/vellumar");

        FolderEnvironment environment;
        environment.vellumarHome = c.vellumarHome;
        environment.xdgConfigHome =
            std::string(c.xdgConfigHome) == "@" ? root + "/xdg" : c.xdgConfigHome;
        environment.userHome = c.hasHome ? root + "/home" : "";
        environment.executableFolder = root + "/bin";
        std::vector<std::string> asked;
        environment.isWritable = [&](const std::string& folder) {
            asked.push_back(folder);
            return c.writable;
        };

        EXPECT_EQ(ProgramFolder(environment), Expand(c.program, root));
        EXPECT_EQ(SettingsFolder(environment), Expand(c.settings, root));
        // The rules only decide; nothing is created on the way.
        EXPECT_FALSE(fs::exists(temp.Path() / "xdg"));
        EXPECT_FALSE(fs::exists(temp.Path() / "home"));
        for (const std::string& folder : asked) EXPECT_EQ(folder, root + "/bin/");
    }
}

TEST(ProgramFolder, StateFolderIsXdgStateHomesOrUnderHome) {
    FolderEnvironment environment{.xdgStateHome = "/st", .userHome = "/h"};
    EXPECT_EQ(StateFolder(environment), "/st/vellumar/");
    environment.xdgStateHome = "relative";
    EXPECT_EQ(StateFolder(environment), "/h/.local/state/vellumar/");
}

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    ~ScopedVariable() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(ProgramFolder, ThisProcessFindsItsBuildFolder) {
    ScopedVariable home("VELLUMAR_HOME", std::nullopt);
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(fs::exists(folder + "program_folder_test"));
}

TEST(ProgramFolder, SettingsFolderIsCreatedForTheUserOnly) {
    TempFolder temp;
    const std::string wanted = temp.File("a/b");
    ScopedVariable home("VELLUMAR_HOME", wanted);
    EXPECT_EQ(SettingsFolder(), wanted + "/");
    ASSERT_TRUE(fs::is_directory(wanted));
    EXPECT_EQ(fs::status(wanted).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(ProgramFolder(), wanted + "/");
}

} // namespace

struct DataDirectoryCase {
    const char* name;
    bool programWritable;
    bool documentsExists;
    bool hasHome;
    const char* expected; // <root> stands for the temporary root
};

class DefaultDataDirectoryTest : public ::testing::TestWithParam<DataDirectoryCase> {};

TEST_P(DefaultDataDirectoryTest, PicksAFolderTheUserCanWrite) {
    const DataDirectoryCase& c = GetParam();
    TempFolder temp;
    const std::string root = temp.Path().string();
    fs::create_directories(temp.Path() / "share/vellumar");
    if (c.documentsExists) fs::create_directories(temp.Path() / "home/Documents");
    FolderEnvironment environment;
    environment.userHome = c.hasHome ? root + "/home" : "";
    environment.isWritable = [&](const std::string& folder) {
        return c.programWritable && folder == root + "/share/vellumar/";
    };
    const std::string expected = std::string(c.expected).replace(0, 6, root);
    EXPECT_EQ(DefaultDataDirectory(root + "/share/vellumar", root + "/home/Documents", environment),
              expected);
}

INSTANTIATE_TEST_SUITE_P(Folders, DefaultDataDirectoryTest,
                         ::testing::Values(DataDirectoryCase{"writable program folder", true, true,
                                                             true, "<root>/share/vellumar/"},
                                           DataDirectoryCase{"read-only goes to documents", false,
                                                             true, true, "<root>/home/Documents/"},
                                           DataDirectoryCase{"no documents folder goes home", false,
                                                             false, true, "<root>/home/"},
                                           DataDirectoryCase{
                                               "nowhere else keeps the program folder", false,
                                               false, false, "<root>/share/vellumar/"}));
