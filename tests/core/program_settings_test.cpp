// The program's settings by name: the sections and keys the file holds, their
// defaults, and where a bare master file name is found.

#include "library/spell_library.h"
#include "platform/program_settings.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace vellumar;

namespace {

class ProgramSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("vellumar-settings-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        for (const char* folder : {"settings", "work", "program"})
            fs::create_directories(root_ / folder);
        working_ = (root_ / "work").string() + "/";
        program_ = (root_ / "program").string() + "/";
    }
    void TearDown() override { fs::remove_all(root_); }

    std::string SettingsFolder() const { return (root_ / "settings").string() + "/"; }
    std::string Content() const {
        std::ifstream in(SettingsFolder() + "Vellumar.INI", std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void Put(const std::string& content) const {
        std::ofstream(SettingsFolder() + "Vellumar.INI", std::ios::binary) << content;
    }
    static void Touch(const std::string& path) { std::ofstream(path) << "1,\"A\"\r\n"; }

    fs::path root_;
    std::string working_, program_;
};

TEST_F(ProgramSettingsTest, WritesEachSettingUnderItsSectionAndKey) {
    ProgramSettings settings = ProgramSettings::In(SettingsFolder());
    EXPECT_EQ(settings.Path(), SettingsFolder() + "Vellumar.INI");
    ASSERT_TRUE(settings.SetOdds(0, 90));
    ASSERT_TRUE(settings.SetOdds(3, 4));
    ASSERT_TRUE(settings.SetDataDirectory("/books/"));
    ASSERT_TRUE(settings.SetMasterFile("/lists/mine.dat"));
    EXPECT_EQ(Content(), "[SpellFrequencyOdds]\r\nRestricted=90\r\nUncommon=4\r\n\r\n"
                         "[Vellumar]\r\nDataDirectory=/books/\r\nMasterFile=/lists/mine.dat\r\n");
}

TEST_F(ProgramSettingsTest, RecentBooksKeepTheLastEightNewestFirstWithoutRepeats) {
    ProgramSettings settings = ProgramSettings::In(SettingsFolder());
    EXPECT_TRUE(settings.RecentBooks().empty());
    for (int k = 1; k <= 10; ++k)
        ASSERT_TRUE(settings.AddRecentBook("/b/" + std::to_string(k) + ".SPB"));
    ASSERT_TRUE(settings.AddRecentBook("/b/5.SPB"));
    const std::vector<std::string> expected = {"/b/5.SPB", "/b/10.SPB", "/b/9.SPB", "/b/8.SPB",
                                               "/b/7.SPB", "/b/6.SPB",  "/b/4.SPB", "/b/3.SPB"};
    EXPECT_EQ(settings.RecentBooks(), expected);
    // Read back from the file, not from memory.
    EXPECT_EQ(ProgramSettings::In(SettingsFolder()).RecentBooks(), expected);
    EXPECT_NE(Content().find("[Recent]\r\nFile1=/b/5.SPB\r\nFile2=/b/10.SPB\r\n"),
              std::string::npos);

    ASSERT_TRUE(settings.RemoveRecentBook("/b/10.SPB"));
    ASSERT_TRUE(settings.RemoveRecentBook("/b/not-there.SPB"));
    std::vector<std::string> shorter = expected;
    shorter.erase(shorter.begin() + 1);
    EXPECT_EQ(ProgramSettings::In(SettingsFolder()).RecentBooks(), shorter);
}

TEST_F(ProgramSettingsTest, ReadsWhatTheFileHoldsAndDefaultsTheRest) {
    Put("[vellumar]\r\ndatadirectory=/d/\r\nSpellTextShareMaster=700\r\n"
        "[SpellFrequencyOdds]\r\nVery Rare=0x10\r\nCommon=x\r\n");
    const ProgramSettings settings = ProgramSettings::In(SettingsFolder());
    EXPECT_EQ(settings.DataDirectory("/fallback/"), "/d/");
    EXPECT_EQ(settings.Odds(1, 20), 16);
    EXPECT_EQ(settings.Odds(2, 10), 10);
    EXPECT_EQ(settings.Odds(4, 1), 1);
    EXPECT_EQ(settings.MasterFile(), "MASTER.DAT");
    EXPECT_EQ(settings.MasterFileShown(), "Master.dat");
    EXPECT_EQ(settings.SpellTextShare(ListWindowKind::MasterList, 500), 700);
    EXPECT_EQ(settings.SpellTextShare(ListWindowKind::Spellbook, 500), 500);
}

struct Place {
    const char* setting; // empty: no key
    bool inWorking;
    bool inProgram;
    const char* expectFolder; // "work", "program" or "" for the name as stored
    bool fromSetting;
};

class MasterFilePlaces : public ProgramSettingsTest, public ::testing::WithParamInterface<Place> {};

TEST_P(MasterFilePlaces, FindsTheListWhereTheDesktopProgramDoes) {
    const Place& row = GetParam();
    std::string name = row.setting;
    if (!name.empty()) Put("[Vellumar]\r\nMasterFile=" + name + "\r\n");
    if (name.empty()) name = "MASTER.DAT";
    if (row.inWorking) Touch(working_ + name);
    if (row.inProgram) Touch(program_ + name);
    const ProgramSettings settings = ProgramSettings::In(SettingsFolder());
    const MasterFileChoice choice = SpellLibrary(&settings, working_, program_).Locate();
    const std::string folder = row.expectFolder;
    EXPECT_EQ(choice.path, folder == "work"      ? working_ + name
                           : folder == "program" ? program_ + name
                                                 : name);
    EXPECT_EQ(choice.inProgramFolder, folder == "program");
    EXPECT_EQ(choice.fromSetting, row.fromSetting);
    EXPECT_EQ(choice.settingsFile, settings.Path());
}

INSTANTIATE_TEST_SUITE_P(Rows, MasterFilePlaces,
                         ::testing::Values(Place{"", false, false, "work", false},
                                           Place{"", false, true, "program", false},
                                           Place{"", true, true, "work", false},
                                           Place{"Mine.DAT", false, true, "program", true},
                                           Place{"/abs/Mine.DAT", false, false, "", true}));

// A bare name keeps the folder it was first found in, so that a list read
// from the program's folder is saved back there.
TEST_F(ProgramSettingsTest, BareNameKeepsTheFolderFoundFirst) {
    Touch(program_ + "MASTER.DAT");
    ProgramSettings settings = ProgramSettings::In(SettingsFolder());
    const SpellLibrary library(&settings, working_, program_);
    EXPECT_EQ(library.Locate().path, program_ + "MASTER.DAT");
    Touch(working_ + "MASTER.DAT");
    EXPECT_EQ(library.Locate().path, program_ + "MASTER.DAT");
    EXPECT_EQ(SpellLibrary(&settings, working_, program_).Locate().path, working_ + "MASTER.DAT");
}

TEST_F(ProgramSettingsTest, RecoveryFilesAreKeptUntilSwitchedOff) {
    Put("[Vellumar]\r\nKeepRecoveryFiles=x\r\n");
    ProgramSettings settings = ProgramSettings::In(SettingsFolder());
    EXPECT_TRUE(settings.KeepRecoveryFiles());
    ASSERT_TRUE(settings.SetKeepRecoveryFiles(false));
    EXPECT_EQ(Content(), "[Vellumar]\r\nKeepRecoveryFiles=0\r\n");
    EXPECT_FALSE(ProgramSettings::In(SettingsFolder()).KeepRecoveryFiles());
}

TEST_F(ProgramSettingsTest, WriteIntoAMissingFolderFails) {
    ProgramSettings settings = ProgramSettings::In(SettingsFolder() + "gone/");
    EXPECT_FALSE(settings.SetMasterFile("x.dat"));
    EXPECT_FALSE(settings.SetDataDirectory("/x/"));
    EXPECT_FALSE(settings.SetOdds(0, 3));
}

// Each gives its values, or the defaults and a warning; none hangs or fills the memory.
TEST_F(ProgramSettingsTest, HostileFilesGiveTheirValuesOrTheDefaultsAndAWarning) {
    const std::string path = SettingsFolder() + "Vellumar.INI", longPath(2000, 'p'),
                      huge(1 << 20, 'x');
    const struct {
        std::string name, content, link, dataDirectory; // "-": the default
        std::vector<std::string> recent;
    } rows[] = {
        {"pipe", "", SettingsFolder() + "fifo", "-", {}},
        {"device", "", "/dev/zero", "-", {}},
        {"oversized", "[Vellumar]\r\nDataDirectory=/d/\r\n;" + huge, "", "-", {}},
        {"two marks", "\xEF\xBB\xBF\xEF\xBB\xBF[Vellumar]\r\nDataDirectory=/d/\r\n", "", "/d/", {}},
        {"long recent path", "[Recent]\r\nFile1=" + longPath + "\r\n", "", "-", {longPath}},
    };
    ASSERT_EQ(::mkfifo((SettingsFolder() + "fifo").c_str(), 0600), 0);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove(path);
        row.link.empty() ? Put(row.content) : fs::create_symlink(row.link, path);
        auto reading = std::async(std::launch::async, [&] { return ProgramSettings(path); });
        if (reading.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
            ::close(::open(path.c_str(), O_WRONLY | O_NONBLOCK)); // lets a pipe's reader go
            FAIL() << "reading hangs";
        }
        ProgramSettings settings = reading.get();
        const bool read = row.dataDirectory != "-" || !row.recent.empty();
        EXPECT_EQ(settings.NotReadWarning().empty(), read) << settings.NotReadWarning();
        EXPECT_EQ(settings.DataDirectory("-"), row.dataDirectory);
        EXPECT_EQ(settings.RecentBooks(), row.recent);
        // A file not read is not written over; one read keeps its long path.
        EXPECT_EQ(bool(settings.AddRecentBook("/new")), read);
        if (!read) continue;
        EXPECT_EQ(ProgramSettings(path).RecentBooks().back(),
                  row.recent.empty() ? "/new" : longPath);
    }
}

// Eight programs noting a book at once keep all eight; a write reads the file again.
TEST_F(ProgramSettingsTest, ConcurrentProgramsKeepEachOthersRecentBooks) {
    ProgramSettings settings = ProgramSettings::In(SettingsFolder());
    int gate[2];
    ASSERT_EQ(::pipe(gate), 0);
    std::vector<pid_t> children;
    for (int k = 0; k < 8; ++k) {
        if ((children.emplace_back(::fork())) == 0) {
            ::close(gate[1]);
            char byte;
            (void)!::read(gate[0], &byte, 1); // all go when the gate closes
            ::_exit(settings.AddRecentBook("/b/" + std::to_string(k)) ? 0 : 1);
        }
    }
    ::close(gate[0]);
    ::close(gate[1]);
    for (const pid_t child : children) {
        int status = -1;
        for (int tries = 0; tries < 1500 && ::waitpid(child, &status, WNOHANG) == 0; ++tries)
            ::usleep(10000);
        if (status == -1) ::kill(child, SIGKILL), ::waitpid(child, nullptr, 0);
        EXPECT_EQ(status, 0);
    }
    EXPECT_TRUE(settings.RecentBooks().empty());
    ASSERT_TRUE(settings.SetOdds(0, 9));
    EXPECT_EQ(settings.RecentBooks().size(), 8u); // each path is kept once
}

} // namespace
