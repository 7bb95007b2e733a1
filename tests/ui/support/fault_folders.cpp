#include "support/fault_folders.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace vellumar::test {
namespace {

bool privateMounts = false;

bool WriteProcFile(const char* path, const std::string& text) {
    const int fd = open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = write(fd, text.data(), text.size()) == ssize_t(text.size());
    close(fd);
    return ok;
}

QByteArray Native(const QString& path) {
    return QFile::encodeName(path);
}

// Whether a new file can be made in the folder: the one test that counts,
// whatever the user's rights.
bool CanCreateIn(const QString& folder) {
    const QByteArray probe = Native(QDir(folder).filePath(QStringLiteral(".write-probe")));
    const int fd = open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    close(fd);
    unlink(probe.constData());
    return true;
}

// The flags a remount must keep: a user namespace may not drop the locked ones.
unsigned long KeptMountFlags(const QByteArray& path) {
    struct statvfs info {};
    if (statvfs(path.constData(), &info) != 0) return 0;
    unsigned long flags = 0;
    if (info.f_flag & ST_NOSUID) flags |= MS_NOSUID;
    if (info.f_flag & ST_NODEV) flags |= MS_NODEV;
    if (info.f_flag & ST_NOEXEC) flags |= MS_NOEXEC;
    if (info.f_flag & ST_NOATIME) flags |= MS_NOATIME;
    if (info.f_flag & ST_NODIRATIME) flags |= MS_NODIRATIME;
    if (info.f_flag & ST_RELATIME) flags |= MS_RELATIME;
    return flags;
}

QString Errno(const char* what) {
    return QStringLiteral("%1: %2").arg(QString::fromLatin1(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

bool EnterPrivateMountNamespace() {
    if (privateMounts) return true;
    const uid_t uid = geteuid();
    const gid_t gid = getegid();
    if (uid == 0) {
        if (unshare(CLONE_NEWNS) != 0) return false;
    } else {
        if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
        // The same ids inside, so that every file keeps its owner.
        WriteProcFile("/proc/self/setgroups", "deny");
        const std::string user = std::to_string(uid) + ' ' + std::to_string(uid) + " 1";
        const std::string group = std::to_string(gid) + ' ' + std::to_string(gid) + " 1";
        if (!WriteProcFile("/proc/self/uid_map", user) ||
            !WriteProcFile("/proc/self/gid_map", group))
            return false;
    }
    // Mounts made from here on must not reach the machine's other processes.
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
    privateMounts = true;
    return true;
}

bool HasPrivateMounts() {
    return privateMounts;
}

ReadOnlyFolder::ReadOnlyFolder(const QString& folder) : folder_(folder) {
    const QByteArray path = Native(folder);
    if (privateMounts &&
        mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) == 0) {
        mounted_ = true;
        const unsigned long flags = MS_BIND | MS_REMOUNT | MS_RDONLY | KeptMountFlags(path);
        if (mount(nullptr, path.constData(), nullptr, flags, nullptr) != 0) {
            whyNot_ = Errno("read-only remount");
            umount2(path.constData(), MNT_DETACH);
            mounted_ = false;
        }
    }
    if (!mounted_ && chmod(path.constData(), 0555) == 0) chmodded_ = true;
    if (CanCreateIn(folder))
        whyNot_ = QStringLiteral("this user (uid %1) writes into folders without write "
                                 "permission, and no private mount namespace allows a "
                                 "read-only mount (%2)")
                      .arg(geteuid())
                      .arg(whyNot_.isEmpty() ? QStringLiteral("none") : whyNot_);
    else
        whyNot_.clear();
}

ReadOnlyFolder::~ReadOnlyFolder() {
    const QByteArray path = Native(folder_);
    if (mounted_) umount2(path.constData(), MNT_DETACH);
    if (chmodded_) chmod(path.constData(), 0755);
}

SmallDisk::SmallDisk(const QString& folder, qint64 bytes) : folder_(folder) {
    if (!privateMounts) {
        whyNot_ = QStringLiteral("no private mount namespace to mount a small disk in");
        return;
    }
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
    if (mount("tmpfs", Native(folder).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
              options.c_str()) != 0)
        whyNot_ = Errno("mounting a tmpfs");
}

SmallDisk::~SmallDisk() {
    if (Mounted()) umount2(Native(folder_).constData(), MNT_DETACH);
}

bool SmallDisk::Fill() {
    const QByteArray path = Native(QDir(folder_).filePath(QStringLiteral(".filler")));
    const int fd = open(path.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    const std::string chunk(4096, 'f');
    while (write(fd, chunk.data(), chunk.size()) > 0) {
    }
    // Then byte by byte: the last page may still have room for part of a chunk.
    while (write(fd, chunk.data(), 1) > 0) {
    }
    const bool full = errno == ENOSPC;
    close(fd);
    return full;
}

void SmallDisk::Unfill() {
    unlink(Native(QDir(folder_).filePath(QStringLiteral(".filler"))).constData());
}

} // namespace vellumar::test
