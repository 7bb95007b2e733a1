#include "files/safe_write.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <endian.h>
#include <fcntl.h>
#include <linux/posix_acl.h>
#include <linux/posix_acl_xattr.h>
#include <memory>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace vellumar {

struct PreparedWriteAccess {
    static std::unique_ptr<PreparedWrite> Make(std::string target, std::string temporary, int slot,
                                               FileStatus kept, unsigned long links) {
        std::unique_ptr<PreparedWrite> prepared(new PreparedWrite());
        prepared->target_ = std::move(target);
        prepared->temporary_ = std::move(temporary);
        prepared->slot_ = slot;
        prepared->kept_ = std::move(kept);
        prepared->links_ = links;
        return prepared;
    }
};

namespace {

long long writeFailureAfter = -1;
void (*beforeContent)(const std::string&) = nullptr;

// The links of /proc (/dev/stdout leads there) name open files, often no path
// at all ("pipe:[1234]"): only the kernel can follow them.
constexpr long ProcFilesystem = 0x9fa0;
// As many links as the kernel follows before it gives up with ELOOP.
constexpr int MostLinks = 40;
// The part of the target's name a temporary file's name repeats; with the
// rest of it (".vellumar-", process id, counter, ".tmp") the name stays far
// below NAME_MAX, also on file systems with shorter limits.
constexpr size_t NameShownInTemporary = 100;

// ---- The temporary files of the moment, for the signal handler ------------
//
// A fixed table, so that the handler neither allocates nor locks. A slot is
// free (0), being filled (1), holds a path (2) or is being used by the
// handler (3).
struct TemporarySlot {
    std::atomic<int> state{0};
    char path[PATH_MAX];
};
static_assert(std::atomic<int>::is_always_lock_free);
std::array<TemporarySlot, 32> temporaries;

constexpr std::array<int, 3> EndingSignals = {SIGINT, SIGTERM, SIGHUP};
std::array<struct sigaction, EndingSignals.size()> previousActions;

void RemoveTemporariesNow() {
    for (TemporarySlot& slot : temporaries) {
        int held = 2;
        if (!slot.state.compare_exchange_strong(held, 3)) continue;
        unlink(slot.path);
        slot.state.store(2);
    }
}

// A process ending by the signal's default action removes its temporary
// files first, then ends by that signal. When the program had a handler of
// its own, that handler decides: the process may live on and finish the save,
// and a process that ends leaves files the next save of the target removes.
void OnEndingSignal(int signal, siginfo_t* info, void* context) {
    const int savedErrno = errno;
    for (size_t i = 0; i < EndingSignals.size(); ++i) {
        if (EndingSignals[i] != signal) continue;
        const struct sigaction& previous = previousActions[i];
        if ((previous.sa_flags & SA_SIGINFO) != 0) {
            previous.sa_sigaction(signal, info, context);
        } else if (previous.sa_handler == SIG_DFL) {
            RemoveTemporariesNow();
            sigaction(signal, &previous, nullptr);
            raise(signal); // blocked until this handler returns, then ends the process
        } else if (previous.sa_handler != SIG_IGN) {
            previous.sa_handler(signal);
        }
    }
    errno = savedErrno;
}

// Once, at the first save. A signal the program ignores stays ignored; a
// handler installed later replaces this one, as the program wishes.
void InstallSignalHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (size_t i = 0; i < EndingSignals.size(); ++i) {
            struct sigaction action {};
            if (sigaction(EndingSignals[i], nullptr, &previousActions[i]) != 0 ||
                ((previousActions[i].sa_flags & SA_SIGINFO) == 0 &&
                 previousActions[i].sa_handler == SIG_IGN))
                continue;
            action.sa_sigaction = OnEndingSignal;
            action.sa_flags = SA_SIGINFO | SA_RESTART;
            sigfillset(&action.sa_mask);
            sigaction(EndingSignals[i], &action, nullptr);
        }
    });
}

// Returns the slot that now holds the path, or -1 when none is free (the
// file is then left to the next save of the target).
int RememberTemporary(const std::string& path) {
    std::string absolute = path;
    if (absolute.front() != '/') {
        char folder[PATH_MAX];
        if (!getcwd(folder, sizeof folder)) return -1;
        absolute = std::string(folder) + "/" + path;
    }
    if (absolute.size() >= PATH_MAX) return -1;
    for (size_t i = 0; i < temporaries.size(); ++i) {
        int free = 0;
        if (!temporaries[i].state.compare_exchange_strong(free, 1)) continue;
        std::memcpy(temporaries[i].path, absolute.c_str(), absolute.size() + 1);
        temporaries[i].state.store(2);
        return static_cast<int>(i);
    }
    return -1;
}

void ForgetTemporary(int slot) {
    if (slot < 0) return;
    // Waits while a handler in another thread is using the path.
    int held = 2;
    while (!temporaries[static_cast<size_t>(slot)].state.compare_exchange_weak(held, 0)) held = 2;
}

// ---- Names -----------------------------------------------------------------

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// ".<name>.vellumar-": what the temporary files of one target start with.
std::string TemporaryPrefix(const std::string& target) {
    std::string name = NameOf(target);
    if (name.size() > NameShownInTemporary) {
        size_t cut = NameShownInTemporary;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
        name.resize(cut); // not inside a UTF-8 character
    }
    return "." + name + ".vellumar-";
}

// The process id in "<pid>-<counter>.tmp" after the prefix, or 0.
pid_t WriterOf(std::string_view name, std::string_view prefix) {
    constexpr std::string_view Suffix = ".tmp";
    if (name.size() <= prefix.size() + Suffix.size() || !name.starts_with(prefix) ||
        !name.ends_with(Suffix))
        return 0;
    const std::string_view rest = name.substr(prefix.size(), name.size() - prefix.size() - 4);
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
    if (error != std::errc() || end == rest.data() + rest.size() || *end != '-') return 0;
    unsigned long counter = 0;
    const auto [last, counterError] = std::from_chars(end + 1, rest.data() + rest.size(), counter);
    return counterError == std::errc() && last == rest.data() + rest.size() ? pid : 0;
}

// Removes the temporary files a process that is gone left beside the target
// (killed, or ended by a signal it handled), also those of older versions,
// which were named ".vellumar-<pid>-<counter>.tmp".
// A journal of a set of files put in place together names temporary files
// that its next reading renames: while one is there, the folder's are left.
void RemoveLeftTemporaries(const std::string& folder, const std::string& prefix) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    std::vector<std::string> left;
    bool journal = false;
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name = entry->d_name;
        journal = journal || (name.starts_with('.') && name.ends_with(".vellumar-journal"));
        pid_t pid = WriterOf(name, prefix);
        if (pid == 0) pid = WriterOf(name, ".vellumar-");
        if (pid <= 0 || pid == getpid() || kill(pid, 0) == 0 || errno != ESRCH) continue;
        left.emplace_back(name);
    }
    if (!journal)
        for (const std::string& name : left) unlinkat(dirfd(dir), name.c_str(), 0);
    closedir(dir);
}

// Opens a new file beside the target; the kernel takes the umask off `mode`.
int CreateTemporary(const std::string& target, mode_t mode, std::string& tempPath, int& slot) {
    static std::atomic<unsigned> counter = 0;
    const std::string start =
        FolderOf(target) + "/" + TemporaryPrefix(target) + std::to_string(getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = start + std::to_string(++counter) + ".tmp";
        // Known to the signal handler before the file exists, so never missed.
        slot = RememberTemporary(tempPath);
        const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) return fd;
        const int error = errno;
        ForgetTemporary(slot);
        slot = -1;
        if (error != EEXIST) {
            errno = error;
            return -1;
        }
    }
    return -1;
}

// ---- Where the content goes ------------------------------------------------

struct Target {
    std::string path; // not a symbolic link, except one of /proc
    bool exists = false;
    bool namesOpenFile = false; // reached through /proc: write it in place
    struct stat info {};
    int error = 0; // the link chain cannot be followed
};

bool InProcFilesystem(const std::string& path) {
    struct statfs info {};
    return statfs(FolderOf(path).c_str(), &info) == 0 && info.f_type == ProcFilesystem;
}

// Follows the chain of links to the file the last one points to, whether it
// exists or not: saving writes that file and leaves the links as they are.
Target FinalTarget(const std::string& path) {
    Target target{path};
    for (int links = 0; links <= MostLinks; ++links) {
        if (lstat(target.path.c_str(), &target.info) != 0) {
            if (errno != ENOENT) target.error = errno;
            return target;
        }
        target.exists = true;
        if (!S_ISLNK(target.info.st_mode)) return target;
        if (InProcFilesystem(target.path)) {
            target.namesOpenFile = true;
            if (stat(target.path.c_str(), &target.info) != 0) target.error = errno;
            return target;
        }
        std::vector<char> link(static_cast<size_t>(target.info.st_size) + PATH_MAX);
        const ssize_t size = readlink(target.path.c_str(), link.data(), link.size());
        if (size < 0 || static_cast<size_t>(size) >= link.size()) {
            target.error = size < 0 ? errno : ENAMETOOLONG;
            return target;
        }
        const std::string to(link.data(), static_cast<size_t>(size));
        if (to.empty()) {
            target.error = ENOENT;
            return target;
        }
        target.path = to.front() == '/' ? to : FolderOf(target.path) + "/" + to;
        target.exists = false;
    }
    target.error = ELOOP;
    return target;
}

bool WriteAll(int fd, std::string_view content) {
    size_t allowed = content.size();
    if (writeFailureAfter >= 0 && static_cast<unsigned long long>(writeFailureAfter) < allowed)
        allowed = static_cast<size_t>(writeFailureAfter);
    size_t done = 0;
    while (done < allowed) {
        const ssize_t n = write(fd, content.data() + done, allowed - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    if (done < content.size()) {
        errno = ENOSPC;
        return false;
    }
    return true;
}

FileStatus Failed(int error) {
    // Never "Unknown error" / "Success": a failure always has a reason.
    return FileStatus::FromErrno(FileFailure::CannotWrite, error != 0 ? error : EIO);
}

constexpr int NoReader = INT_MIN;

// The descriptor to write the target in place, -1 with errno set, or NoReader.
// Opening a pipe for writing waits for a reader, which may never come: it is
// opened without waiting, and a pipe nobody reads is a failure, then the
// writes wait as usual, so that a slow reader still gets everything.
int OpenInPlace(const Target& target) {
    const bool fifo = S_ISFIFO(target.info.st_mode);
    const int flags =
        O_WRONLY | O_NOCTTY | O_CLOEXEC | (S_ISREG(target.info.st_mode) ? O_APPEND : 0);
    const int fd = open(target.path.c_str(), flags | (fifo ? O_NONBLOCK : 0));
    if (fd < 0) return fifo && errno == ENXIO ? NoReader : -1;
    if (!fifo) return fd;
    const int now = fcntl(fd, F_GETFL);
    if (now >= 0 && fcntl(fd, F_SETFL, now & ~O_NONBLOCK) == 0) return fd;
    const int error = errno;
    close(fd);
    errno = error;
    return -1;
}

// A device, a pipe or a file open in a process (/dev/stdout) cannot be
// replaced: the content goes into it. Such a file is appended to, as the
// process's own writes would be: it may hold what was written before (>>).
// A reader that went away is EPIPE, not the end of the program: SIGPIPE is
// held back in this thread meanwhile.
FileStatus WriteInPlace(const Target& target, std::string_view content) {
    const bool regular = S_ISREG(target.info.st_mode);
    const int fd = OpenInPlace(target);
    if (fd == NoReader)
        return FileStatus(FileFailure::CannotWrite, "no program is reading from the pipe");
    if (fd < 0) return Failed(errno);
    sigset_t pipeSignal;
    sigset_t before;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &before);
    sigset_t pending;
    sigpending(&pending);
    const bool pipeWasPending = sigismember(&pending, SIGPIPE) == 1;
    bool ok = WriteAll(fd, content) && (!regular || fsync(fd) == 0);
    int error = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    const timespec now{};
    if (!ok && error == EPIPE && !pipeWasPending) sigtimedwait(&pipeSignal, nullptr, &now);
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    return ok ? FileStatus() : Failed(error);
}

// ---- What the replaced file had ---------------------------------------------

// Gives the new file the old one's owner and group where the system allows
// (root can; another user can set only a group of their own) and says what
// it could not keep. A group that is not kept loses the group's permissions:
// the content must not reach a group the old file did not admit.
mode_t KeepOwner(int fd, const struct stat& old, FileStatus& status, bool& groupKept) {
    mode_t mode = old.st_mode & 07777;
    struct stat now {};
    groupKept = false;
    if (fstat(fd, &now) != 0) return mode & ~(S_IRWXG | S_ISGID);
    groupKept = true;
    if (now.st_uid == old.st_uid && now.st_gid == old.st_gid) return mode;
    if (fchown(fd, old.st_uid, old.st_gid) == 0) return mode;
    const int error = errno;
    if (now.st_gid != old.st_gid && fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0)
        now.st_gid = old.st_gid;
    const std::string why = std::string(" (") + std::strerror(error) + ")";
    if (now.st_uid != old.st_uid)
        status.Warn("owner not kept: the file now belongs to user " + std::to_string(now.st_uid) +
                    ", not " + std::to_string(old.st_uid) + why);
    if (now.st_gid != old.st_gid) {
        status.Warn("group not kept: the file now has group " + std::to_string(now.st_gid) +
                    ", not " + std::to_string(old.st_gid) + ", and no group permissions" + why);
        mode &= ~(S_IRWXG | S_ISGID);
        groupKept = false;
    }
    return mode;
}

// An access control list's group class: the owning group, the named users and
// groups, and the mask that limits them all (and is the mode's group bits).
// For a file whose group was not kept, the list keeps its entries but grants
// nothing through them, as its mode does; returns the named users and groups
// that so lose their access ("user 1001, group 50").
std::string WithoutGroupClass(char* acl, size_t size) {
    constexpr size_t EntrySize = sizeof(posix_acl_xattr_entry);
    std::vector<posix_acl_xattr_entry> entries;
    for (size_t at = sizeof(posix_acl_xattr_header); at + EntrySize <= size; at += EntrySize)
        std::memcpy(&entries.emplace_back(), acl + at, EntrySize);
    unsigned mask = ACL_READ | ACL_WRITE | ACL_EXECUTE;
    for (const posix_acl_xattr_entry& entry : entries)
        if (le16toh(entry.e_tag) == ACL_MASK) mask = le16toh(entry.e_perm);
    std::string lost;
    for (size_t i = 0; i < entries.size(); ++i) {
        posix_acl_xattr_entry& entry = entries[i];
        const unsigned tag = le16toh(entry.e_tag);
        if ((tag == ACL_USER || tag == ACL_GROUP) && (le16toh(entry.e_perm) & mask) != 0)
            lost += (lost.empty() ? "" : ", ") + std::string(tag == ACL_USER ? "user " : "group ") +
                    std::to_string(le32toh(entry.e_id));
        if (tag != ACL_GROUP_OBJ && tag != ACL_MASK) continue;
        entry.e_perm = 0;
        std::memcpy(acl + sizeof(posix_acl_xattr_header) + i * EntrySize, &entry, EntrySize);
    }
    return lost;
}

constexpr const char* AclName = "system.posix_acl_access";

bool CarriedAttribute(std::string_view name) {
    return name.starts_with("user.") || name.starts_with("security.") ||
           name.starts_with("trusted.") || name == AclName;
}

bool Unsupported(int error) {
    return error == ENOTSUP || error == EOPNOTSUPP;
}

// Copies the extended attributes (labels, tags, the access control list) of
// the old file to the new one; a file system without them is no loss. The
// access control list of a file whose group was not kept admits no group.
void KeepAttributes(const std::string& oldPath, int fd, bool groupKept, FileStatus& status) {
    const ssize_t listSize = llistxattr(oldPath.c_str(), nullptr, 0);
    if (listSize <= 0) {
        if (listSize < 0 && !Unsupported(errno))
            status.Warn(std::string("extended attributes not kept: ") + std::strerror(errno));
        return;
    }
    std::vector<char> names(static_cast<size_t>(listSize));
    const ssize_t got = llistxattr(oldPath.c_str(), names.data(), names.size());
    if (got < 0) {
        status.Warn(std::string("extended attributes not kept: ") + std::strerror(errno));
        return;
    }
    std::vector<char> value(XATTR_SIZE_MAX);
    std::vector<char> present(XATTR_SIZE_MAX);
    for (const char* name = names.data(); name < names.data() + got;
         name += std::strlen(name) + 1) {
        if (!CarriedAttribute(name)) continue;
        const ssize_t size = lgetxattr(oldPath.c_str(), name, value.data(), value.size());
        if (size < 0) continue; // gone meanwhile, or not ours to read
        std::string lost;
        if (!groupKept && std::strcmp(name, AclName) == 0)
            lost = WithoutGroupClass(value.data(), static_cast<size_t>(size));
        const ssize_t has = fgetxattr(fd, name, present.data(), present.size());
        const bool same = has == size &&
                          std::memcmp(present.data(), value.data(), static_cast<size_t>(size)) == 0;
        if (!same && fsetxattr(fd, name, value.data(), static_cast<size_t>(size), 0) != 0) {
            if (!Unsupported(errno))
                status.Warn(std::string("extended attribute ") + name +
                            " not kept: " + std::strerror(errno));
            continue;
        }
        if (!lost.empty())
            status.Warn("access control list kept without group permissions: " + lost +
                        (lost.find(',') == std::string::npos ? " has" : " have") +
                        " no access any more");
    }
}

void SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd); // the rename is done; failing to persist the folder entry is not a lost file
    close(fd);
}

// Writes the content into a temporary file beside the target, with the old
// file's mode, owner and attributes; the target is not touched.
FileResult<PreparedWrite> Prepare(const Target& target, std::string_view content) {
    const bool replacing = target.exists;
    const struct stat& old = target.info;
    // A rename needs only the folder's permission; the file's own is the user's word.
    if (replacing && access(target.path.c_str(), W_OK) != 0) return Failed(errno);
    RemoveLeftTemporaries(FolderOf(target.path), TemporaryPrefix(target.path));

    FileStatus kept;
    std::string tempPath;
    int slot = -1;
    // A replacement stays owner-only until it carries the old file's mode.
    const int fd = CreateTemporary(target.path, replacing ? 0600 : 0666, tempPath, slot);
    if (fd < 0) return Failed(errno);
    bool ok = true;
    if (replacing) {
        // The owner first: a change of owner clears the set-user-ID bit.
        bool groupKept = true;
        const mode_t mode = KeepOwner(fd, old, kept, groupKept);
        ok = fchmod(fd, mode) == 0;
        if (ok) KeepAttributes(target.path, fd, groupKept, kept);
    }
    if (ok && beforeContent) beforeContent(tempPath);
    ok = ok && WriteAll(fd, content) && fsync(fd) == 0;
    int error = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        unlink(tempPath.c_str());
        ForgetTemporary(slot);
        return Failed(error);
    }
    return PreparedWriteAccess::Make(target.path, std::move(tempPath), slot, std::move(kept),
                                     replacing ? static_cast<unsigned long>(old.st_nlink) : 0);
}

// Writes a regular file, or a new one, by renaming a complete temporary copy
// over it, so that every failure leaves the old file as it was.
FileStatus Replace(const Target& target, std::string_view content) {
    FileResult<PreparedWrite> written = Prepare(target, content);
    return written ? written->Commit() : written.Status();
}

} // namespace

void SetWriteFailureAfterBytesForTesting(long long bytes) {
    writeFailureAfter = bytes;
}

void SetBeforeContentHookForTesting(void (*hook)(const std::string& temporaryPath)) {
    beforeContent = hook;
}

std::string WrittenFile(const std::string& path, FileStatus& status) {
    if (path.empty()) {
        status = Failed(ENOENT);
        return {};
    }
    Target target = FinalTarget(path);
    if (target.error == 0) return std::move(target.path);
    status = Failed(target.error);
    return {};
}

PreparedWrite::~PreparedWrite() {
    if (!done_) unlink(temporary_.c_str());
    ForgetTemporary(slot_);
}

void PreparedWrite::KeepOnSignal() {
    ForgetTemporary(std::exchange(slot_, -1));
}

void PreparedWrite::Abandon() {
    done_ = true;
    ForgetTemporary(std::exchange(slot_, -1));
}

FileStatus PreparedWrite::Commit() {
    if (rename(temporary_.c_str(), target_.c_str()) != 0) return Failed(errno);
    done_ = true;
    ForgetTemporary(std::exchange(slot_, -1));
    SyncFolder(FolderOf(target_));
    FileStatus status = kept_;
    // Other names of the file keep the old content. Writing through them
    // instead would put the old content at risk: a failure or a kill part-way
    // would leave a truncated book, and a save must never lose the old file.
    if (links_ > 1)
        status.Warn("hard link split: the file's " + std::to_string(links_ - 1) +
                    " other name(s) keep the old content");
    return status;
}

FileResult<PreparedWrite> PrepareFileWrite(const std::string& path, std::string_view content) {
    if (path.empty()) return Failed(ENOENT);
    InstallSignalHandlers();
    const Target target = FinalTarget(path);
    if (target.error != 0) return Failed(target.error);
    if (target.exists && (!S_ISREG(target.info.st_mode) || target.namesOpenFile))
        return FileStatus(FileFailure::CannotWrite, "not a regular file");
    return Prepare(target, content);
}

std::string ReplacedFile(const std::string& path) {
    FileStatus unused;
    std::string file = WrittenFile(path, unused);
    return file.empty() ? path : file;
}

std::string WriterFileBeside(const std::string& target, std::string_view what) {
    const std::string folder = FolderOf(target);
    return (folder == "/" ? folder : folder + "/") + TemporaryPrefix(target) + std::string(what);
}

bool IsTemporaryNameOf(std::string_view name, const std::string& target) {
    return WriterOf(name, TemporaryPrefix(target)) > 0;
}

FileStatus WriteFileAtomically(const std::string& path, std::string_view content) {
    if (path.empty()) return Failed(ENOENT);
    InstallSignalHandlers();
    const Target target = FinalTarget(path);
    if (target.error != 0) return Failed(target.error);
    if (!target.exists || (S_ISREG(target.info.st_mode) && !target.namesOpenFile))
        return Replace(target, content);
    if (S_ISREG(target.info.st_mode) || S_ISCHR(target.info.st_mode) ||
        S_ISFIFO(target.info.st_mode))
        return WriteInPlace(target, content);
    return FileStatus(FileFailure::CannotWrite, "not a regular file");
}

} // namespace vellumar
