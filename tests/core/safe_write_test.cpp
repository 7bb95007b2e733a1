#include "files/safe_write.h"

#include "file_test_support.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace vellumar;
using namespace vellumar::testing;

namespace {

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

TEST(SafeWrite, ReplacesTheFileAndKeepsItsMode) {
    TempFolder folder;
    const std::string path = folder.File("book.spb");
    const mode_t mask = umask(022);
    ASSERT_TRUE(WriteFileAtomically(path, "first"));
    EXPECT_EQ(ModeOf(path), 0644u) << "a new file gets 0666 less the umask";
    chmod(path.c_str(), 0640);
    ASSERT_TRUE(WriteFileAtomically(path, "second"));
    umask(mask);
    EXPECT_EQ(ReadBytes(path), "second");
    EXPECT_EQ(ModeOf(path), 0640u);
    // Saving through a link replaces the file it points to, not the link.
    const std::string link = folder.File("link.spb");
    ASSERT_EQ(symlink(path.c_str(), link.c_str()), 0);
    ASSERT_TRUE(WriteFileAtomically(link, "third"));
    EXPECT_EQ(ReadBytes(path), "third");
    struct stat info {};
    lstat(link.c_str(), &info);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(EntriesIn(folder.Path()), 2u);
}

struct FailureRow {
    const char* name;
    long long failAfter;                                 // -1: no simulated full disk
    std::function<std::string(const TempFolder&)> setUp; // returns the target
};

class SafeWriteFailureTest : public ::testing::TestWithParam<FailureRow> {};

TEST_P(SafeWriteFailureTest, KeepsTheOldFileByteForByte) {
    TempFolder folder;
    const std::string old = folder.File("old.spb");
    WriteBytes(old, std::string("old\r\n\x1A\0bytes", 13));
    const std::string target = GetParam().setUp(folder);
    if (target.empty()) GTEST_SKIP() << "permission bits do not stop this user";
    const size_t entries = EntriesIn(folder.Path());
    SetWriteFailureAfterBytesForTesting(GetParam().failAfter);
    EXPECT_FALSE(WriteFileAtomically(target, std::string(200000, 'n')));
    SetWriteFailureAfterBytesForTesting(-1);
    EXPECT_EQ(ReadBytes(old), std::string("old\r\n\x1A\0bytes", 13));
    std::filesystem::permissions(folder.Path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add);
    EXPECT_EQ(EntriesIn(folder.Path()), entries) << "no temporary file is left behind";
}

INSTANTIATE_TEST_SUITE_P(
    Paths, SafeWriteFailureTest,
    ::testing::Values(
        FailureRow{"FullDiskAtOnce", 0, [](const TempFolder& f) { return f.File("old.spb"); }},
        FailureRow{"FullDiskPartWay", 65536, [](const TempFolder& f) { return f.File("old.spb"); }},
        FailureRow{"TargetIsAFolder", -1,
                   [](const TempFolder& f) {
                       std::filesystem::create_directory(f.File("dir.spb"));
                       return f.File("dir.spb");
                   }},
        FailureRow{"FolderIsAFile", -1,
                   [](const TempFolder& f) { return f.File("old.spb/new.spb"); }},
        FailureRow{"MissingFolder", -1, [](const TempFolder& f) { return f.File("none/new.spb"); }},
        FailureRow{"FolderNotWritable", -1,
                   [](const TempFolder& f) {
                       if (geteuid() == 0) return std::string();
                       std::filesystem::permissions(f.Path(),
                                                    std::filesystem::perms::owner_read |
                                                        std::filesystem::perms::owner_exec);
                       return f.File("old.spb");
                   }}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
