#include "files/safe_write.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace vellumar {
namespace {

long long writeFailureAfter = -1;
void (*beforeContent)(const std::string&) = nullptr;

// Follows a symbolic link so that saving replaces the file it points to, not the link.
std::string ResolvedTarget(const std::string& path) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Opens a new file beside the target; the kernel takes the umask off `mode`.
int CreateTemporary(const std::string& target, mode_t mode, std::string& tempPath) {
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        // A short name, so that a target name near the length limit still gets one.
        tempPath = FolderOf(target) + "/.vellumar-" + std::to_string(getpid()) + "-" +
                   std::to_string(++counter) + ".tmp";
        const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
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

void SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd); // the rename is done; failing to persist the folder entry is not a lost file
    close(fd);
}

} // namespace

void SetWriteFailureAfterBytesForTesting(long long bytes) {
    writeFailureAfter = bytes;
}

void SetBeforeContentHookForTesting(void (*hook)(const std::string& temporaryPath)) {
    beforeContent = hook;
}

FileStatus WriteFileAtomically(const std::string& path, std::string_view content) {
    const auto failed = [](int error) {
        return FileStatus::FromErrno(FileFailure::CannotWrite, error);
    };
    if (path.empty()) return failed(ENOENT);
    const std::string target = ResolvedTarget(path);
    struct stat old;
    const bool replacing = stat(target.c_str(), &old) == 0;
    if (replacing && !S_ISREG(old.st_mode))
        return FileStatus(FileFailure::CannotWrite, "not a regular file");
    // A rename needs only the folder's permission; the file's own is the user's word.
    if (replacing && access(target.c_str(), W_OK) != 0) return failed(errno);

    std::string tempPath;
    // A replacement stays owner-only until it carries the old file's mode.
    const int fd = CreateTemporary(target, replacing ? 0600 : 0666, tempPath);
    if (fd < 0) return failed(errno);
    bool ok = !replacing || fchmod(fd, old.st_mode & 07777) == 0;
    if (ok && beforeContent) beforeContent(tempPath);
    ok = ok && WriteAll(fd, content) && fsync(fd) == 0;
    int error = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && rename(tempPath.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        unlink(tempPath.c_str());
        return failed(error);
    }
    SyncFolder(FolderOf(target));
    return {};
}

} // namespace vellumar
