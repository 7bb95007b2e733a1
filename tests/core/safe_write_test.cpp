#include "files/safe_write.h"

#include "file_test_support.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace vellumar;
using namespace vellumar::test;

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
    umask(077); // the umask of the moment counts
    ASSERT_TRUE(WriteFileAtomically(folder.File("private.spb"), "mine"));
    EXPECT_EQ(ModeOf(folder.File("private.spb")), 0600u);
    std::filesystem::remove(folder.File("private.spb"));
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

// A private book is never readable by others while it is being saved: the
// temporary file has the mode the file will have before any content is in it.
TEST(SafeWrite, TheTemporaryFileHasTheTargetsModeBeforeItsContent) {
    static std::vector<std::pair<mode_t, off_t>> seen;
    seen.clear();
    SetBeforeContentHookForTesting([](const std::string& temporary) {
        struct stat info {};
        stat(temporary.c_str(), &info);
        seen.emplace_back(info.st_mode & 07777, info.st_size);
    });
    TempFolder folder;
    const std::string path = folder.File("private.spb");
    WriteBytes(path, "secret");
    ASSERT_EQ(chmod(path.c_str(), 0600), 0);
    const mode_t mask = umask(022);
    const FileStatus replaced = WriteFileAtomically(path, "still secret");
    const FileStatus created = WriteFileAtomically(folder.File("new.spb"), "open");
    umask(mask);
    SetBeforeContentHookForTesting(nullptr);
    ASSERT_TRUE(replaced && created);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], std::make_pair(mode_t(0600), off_t(0)));
    EXPECT_EQ(seen[1], std::make_pair(mode_t(0644), off_t(0))) << "a new file: 0666 less the umask";
}

// Runs the check as an ordinary user, for whom permission bits count: as root,
// in a child process that has become "nobody" and owns the folder. Returns the
// check's exit code, or -1 when the child could not become that user.
int AsOrdinaryUser(const TempFolder& folder, const std::function<int()>& check) {
    if (geteuid() != 0) return check();
    constexpr uid_t kNobody = 65534;
    if (chown(folder.Path().c_str(), kNobody, kNobody) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(100);
        _exit(check());
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status) == 100 ? -1 : WEXITSTATUS(status);
}

// A rename needs only the folder's permission: a protected file must be refused
// by the writer itself, and the reason given.
TEST(SafeWrite, RefusesAFileTheUserMayNotWrite) {
    TempFolder folder;
    const std::string path = folder.File("kept.spb");
    const std::string bytes("old\r\n\x1A\0bytes", 13);
    WriteBytes(path, bytes);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    const int result = AsOrdinaryUser(folder, [&] {
        const FileStatus written = WriteFileAtomically(path, "new bytes");
        if (written) return 1;
        if (written.Failure() != FileFailure::CannotWrite) return 2;
        return written.Reason() == std::strerror(EACCES) ? 0 : 3;
    });
    if (result < 0) GTEST_SKIP() << "no ordinary user to run as";
    EXPECT_EQ(result, 0) << "1: replaced, 2: wrong failure, 3: wrong reason";
    EXPECT_EQ(ReadBytes(path), bytes);
    EXPECT_EQ(ModeOf(path), 0444u);
    EXPECT_EQ(EntriesIn(folder.Path()), 1u) << "no temporary file is left behind";
}

// A user who may write a shared file through its access control list saves
// it: the new file cannot have the old group, so neither that group nor those
// the list names may use it, and the warnings say so.
TEST(SafeWrite, AGroupNotKeptGetsNoAccessThroughTheAccessControlList) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can make a file of a group the user lacks";
    TempFolder folder;
    const std::string path = folder.File("shared.spb");
    WriteBytes(path, "old");
    if (std::system(("setfacl -m u:65534:rw,g:50:r,o::- " + path + " 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "no setfacl (package acl), or no access control lists here";
    const int result = AsOrdinaryUser(folder, [&] {
        const FileStatus written = WriteFileAtomically(path, "new");
        if (!written) return 1;
        if ((ModeOf(path) & S_IRWXG) != 0) return 2;
        const std::vector<std::string>& said = written.Warnings();
        const bool told = said.size() == 3 && said[2].find("user 65534, group 50") != said[2].npos;
        return told ? 0 : 3;
    });
    if (result < 0) GTEST_SKIP() << "no ordinary user to run as";
    EXPECT_EQ(result, 0) << "1: not written, 2: the group may use it, 3: not said";
    EXPECT_EQ(ReadBytes(path), "new");
}

TEST(SafeWrite, FailuresCarryTheSystemsReason) {
    TempFolder folder;
    const FileStatus missingFolder = WriteFileAtomically(folder.File("none/new.spb"), "x");
    EXPECT_EQ(missingFolder.Failure(), FileFailure::CannotWrite);
    EXPECT_EQ(missingFolder.Reason(), std::strerror(ENOENT));
    SetWriteFailureAfterBytesForTesting(3);
    const FileStatus full = WriteFileAtomically(folder.File("new.spb"), "more than three");
    SetWriteFailureAfterBytesForTesting(-1);
    EXPECT_EQ(full.Reason(), std::strerror(ENOSPC));
    std::filesystem::create_directory(folder.File("dir.spb"));
    EXPECT_EQ(WriteFileAtomically(folder.File("dir.spb"), "x").Reason(), "not a regular file");
}

// Every kind of target a save may meet: where the content goes, or why it is
// refused, and that no target is ever replaced by a file of another kind.
struct HostileTarget {
    const char* name;
    std::string make;   // made in the folder, beside old.spb: see MakeAll
    std::string target; // in the folder, unless it starts with '/'
    int error;          // 0: written; -1: "not a regular file"; NoReader; else the system's reason
    std::string newAt;  // the file that then holds the new content
    bool warns;
    std::string oldAt; // a file that keeps the old content
};

const std::string OldBytes("old\r\n\0bytes", 10);
constexpr int NoReader = -2;

// A reader of the pipe that is there before the save starts and copies what
// it gets to the file, waiting at most 5 s for it.
void ReadPipeInto(const std::string& pipe, const std::string& file) {
    const int reader = open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    if (fork() == 0) {
        pollfd content{reader, POLLIN, 0}; // until then, no writer reads as the end
        poll(&content, 1, 5000);
        fcntl(reader, F_SETFL, 0);
        dup2(reader, STDIN_FILENO);
        execlp("sh", "sh", "-c", ("exec cat >" + file).c_str(), nullptr);
        _exit(1);
    }
    close(reader);
}

// "@a:b" a link a to b, "=a:b" a hard link a to b, "/a" a folder, "+a" a file,
// "~a" given to nobody (false unless root), "|a" a pipe whose reader copies
// to read.spb, "^a" a pipe nobody reads.
bool MakeAll(const TempFolder& f, const std::string& make) {
    std::istringstream words(make);
    for (std::string word; words >> word;) {
        const size_t colon = word.find(':');
        const std::string a = f.File(word.substr(1, colon - 1));
        const std::string b = colon == std::string::npos ? "" : word.substr(colon + 1);
        if (word[0] == '@') symlink(b.c_str(), a.c_str());
        if (word[0] == '=') link(f.File(b).c_str(), a.c_str());
        if (word[0] == '/') std::filesystem::create_directory(a);
        if (word[0] == '+') WriteBytes(a, OldBytes);
        if (word[0] == '~' && (geteuid() != 0 || chown(a.c_str(), 65534, 65534) != 0)) return false;
        if ((word[0] == '|' || word[0] == '^') && mkfifo(a.c_str(), 0600) != 0) return false;
        if (word[0] == '|') ReadPipeInto(a, f.File("read.spb"));
    }
    return true;
}

class SafeWriteHostileTest : public ::testing::TestWithParam<HostileTarget> {};

TEST_P(SafeWriteHostileTest, WritesWhereItShouldOrRefusesWithAReason) {
    const HostileTarget& row = GetParam();
    TempFolder folder;
    WriteBytes(folder.File("old.spb"), OldBytes);
    const bool tagged =
        setxattr(folder.File("old.spb").c_str(), "user.vellumar", "kept", 4, 0) == 0;
    if (!MakeAll(folder, row.make)) GTEST_SKIP() << "needs root";
    const std::string target = row.target[0] == '/' ? row.target : folder.File(row.target);
    struct stat before {};
    ASSERT_EQ(lstat(target.c_str(), &before), 0);
    const FileStatus written = WriteFileAtomically(target, "new content");
    while (waitpid(-1, nullptr, 0) > 0) continue; // a pipe's reader
    ASSERT_EQ(bool(written), row.error == 0) << written.Reason();
    const char* reason = row.error == NoReader ? "no program is reading from the pipe"
                         : row.error < 0       ? "not a regular file"
                                               : std::strerror(row.error);
    EXPECT_EQ(written.Reason(), row.error == 0 ? "" : reason);
    EXPECT_EQ(written.Warnings().size(), row.warns ? 1u : 0u);
    EXPECT_TRUE(row.newAt.empty() || ReadBytes(folder.File(row.newAt)) == "new content");
    EXPECT_TRUE(row.oldAt.empty() || ReadBytes(folder.File(row.oldAt)) == OldBytes);
    struct stat after {};
    ASSERT_EQ(lstat(target.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode & S_IFMT, before.st_mode & S_IFMT) << "replaced by another kind";
    EXPECT_EQ(std::make_pair(after.st_uid, after.st_gid),
              std::make_pair(before.st_uid, before.st_gid));
    char attribute[8] = {};
    if (tagged) getxattr(folder.File("old.spb").c_str(), "user.vellumar", attribute, 8);
    EXPECT_STREQ(attribute, tagged ? "kept" : "") << "extended attributes are carried over";
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        EXPECT_EQ(entry.path().filename().string().find("vellumar-"), std::string::npos);
}

const std::string LongName(255, 'n');

INSTANTIATE_TEST_SUITE_P(
    Targets, SafeWriteHostileTest,
    ::testing::Values(
        HostileTarget{"RegularFile", "", "old.spb", 0, "old.spb", false, ""},
        HostileTarget{"SymlinkToFile", "@link:old.spb", "link", 0, "old.spb", false, ""},
        HostileTarget{"DanglingSymlink", "@link:second @second:made", "link", 0, "made", false, ""},
        HostileTarget{"SymlinkLoop", "@link:loop @loop:link", "link", ELOOP, "", false, ""},
        HostileTarget{"FifoThroughASymlink", "|pipe @link:pipe", "link", 0, "read.spb", false, ""},
        HostileTarget{"FifoWithoutReader", "^pipe", "pipe", NoReader, "", false, "old.spb"},
        HostileTarget{"DevNull", "", "/dev/null", 0, "", false, ""},
        HostileTarget{"DevFull", "", "/dev/full", ENOSPC, "", false, ""},
        HostileTarget{"Directory", "/dir", "dir", -1, "", false, "old.spb"},
        HostileTarget{"HardLinkedFile", "=twin:old.spb", "old.spb", 0, "old.spb", true, "twin"},
        HostileTarget{"OtherUsersFile", "~old.spb", "old.spb", 0, "old.spb", false, ""},
        HostileTarget{"LongestName", "+" + LongName, LongName, 0, LongName, false, "old.spb"}),
    [](const auto& info) { return std::string(info.param.name); });

// Runs a save in a child process that the hook ends before the content is
// written; returns the signal that ended it.
int SignalEndingASave(const std::string& path, void (*hook)(const std::string&)) {
    const pid_t child = fork();
    if (child == 0) {
        SetBeforeContentHookForTesting(hook);
        alarm(5);
        (void)WriteFileAtomically(path, "lost");
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

// SIGTERM removes the temporary file; kill -9 cannot, so the next save does.
TEST(SafeWrite, NoTemporaryFileOutlivesAKilledSave) {
    TempFolder folder;
    const std::string path = folder.File("book.spb");
    WriteBytes(path, "old");
    ASSERT_EQ(SignalEndingASave(path, [](const std::string&) { raise(SIGTERM); }), SIGTERM);
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);
    ASSERT_EQ(SignalEndingASave(path, [](const std::string&) { raise(SIGKILL); }), SIGKILL);
    ASSERT_EQ(EntriesIn(folder.Path()), 2u) << "kill -9 leaves the temporary file";
    EXPECT_EQ(ReadBytes(path), "old");
    ASSERT_TRUE(WriteFileAtomically(path, "new"));
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);
}

} // namespace
