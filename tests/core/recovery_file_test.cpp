// Recovery files: a folder not the user's alone is refused; any session whose lock
// is free is an orphan; a damaged entry is skipped, never followed or waited on.

#include "files/recovery_file.h"

#include "file_test_support.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace vellumar;
namespace fs = std::filesystem;

enum class Harm { None, OtherOwner, Open, Link, Fifo, ZeroLink, Holes };

static void Spoil(const fs::path& file, Harm harm) {
    const fs::path real = file.parent_path() / ("real-" + file.filename().string());
    if (harm == Harm::OtherOwner) SetRecoveryOwnerForTesting(::geteuid() + 1);
    if (harm == Harm::Open) ::chmod(file.c_str(), file.filename() == "recovery" ? 01777 : 0750);
    if (harm == Harm::Link) fs::rename(file, real);
    if (harm == Harm::Link) ::chmod(real.c_str(), 0755);
    if (harm == Harm::Link) fs::create_directory_symlink(real, file);
    if (harm == Harm::Fifo || harm == Harm::ZeroLink) fs::remove(file);
    if (harm == Harm::Fifo) ::mkfifo(file.c_str(), 0600);
    if (harm == Harm::ZeroLink) fs::create_symlink("/dev/zero", file);
    if (harm == Harm::Holes) fs::resize_file(file, 3ULL << 30);
}

class HostileRecoveryTest : public ::testing::TestWithParam<std::tuple<const char*, Harm>> {
    void TearDown() override { SetRecoveryOwnerForTesting(-1); }
};

// The recovery folder holds one orphan, "session-1" (pid 1 always runs), with one entry;
// the parameters are what under it is harmed, and how.
TEST_P(HostileRecoveryTest, IsRefusedOrSkippedAtOnce) {
    const auto [what, harm] = GetParam();
    const test::TempFolder temp;
    const fs::path recovery = temp.Path() / "recovery";
    ASSERT_TRUE(RecoverySession(recovery).Write(1, RecoveryInfo(), "4\r\n"));
    fs::rename(recovery / ("session-" + std::to_string(::getpid())), recovery / "session-1");
    Spoil(*what ? recovery / what : recovery, harm);
    const fs::perms mode = fs::status(recovery).permissions();
    RecoverySession session(recovery);
    EXPECT_EQ(session.Orphans().size(), harm == Harm::None ? 1U : 0U);
    EXPECT_EQ(bool(session.Trusted()), *what || harm == Harm::None);
    if (session.Trusted()) return; // else nothing is made, nor changed through a link:
    EXPECT_FALSE(session.Write(1, RecoveryInfo(), "4\r\n"));
    EXPECT_EQ(fs::status(recovery).permissions(), mode);
    EXPECT_EQ(test::EntriesIn(recovery), 1U);
}

using ::testing::Combine, ::testing::Values;
INSTANTIATE_TEST_SUITE_P(Folder, HostileRecoveryTest,
                         Combine(Values(""), Values(Harm::None, Harm::OtherOwner)));
INSTANTIATE_TEST_SUITE_P(Folders, HostileRecoveryTest,
                         Combine(Values("", "session-1"), Values(Harm::Open, Harm::Link)));
INSTANTIATE_TEST_SUITE_P(Entry, HostileRecoveryTest,
                         Combine(Values("session-1/1.info", "session-1/1.body"),
                                 Values(Harm::Fifo, Harm::ZeroLink, Harm::Holes)));
