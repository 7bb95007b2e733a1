#include "files/recovery_file.h"

#include "files/safe_write.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace vellumar {
namespace {

constexpr char SessionPrefix[] = "session-";
constexpr char LockName[] = "lock";
constexpr char InfoSuffix[] = ".info";
constexpr char BodySuffix[] = ".body";
constexpr char TextsSuffix[] = ".texts";
constexpr char NewSessionPattern[] = ".new-session-XXXXXX";
// An info file is a few lines; anything larger is not one of ours.
constexpr off_t MaxInfoBytes = off_t{64} << 10;
// A body or texts larger than the largest companion texts file its reader takes.
constexpr off_t MaxBodyBytes = off_t{64} << 20;

long long ownerForTesting = -1;

uid_t Owner() {
    return ownerForTesting >= 0 ? static_cast<uid_t>(ownerForTesting) : ::geteuid();
}

std::string Escaped(std::string_view value) {
    std::string out;
    for (const char c : value) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

std::string Unescaped(std::string_view value) {
    std::string out;
    for (size_t k = 0; k < value.size(); ++k) {
        if (value[k] != '\\' || k + 1 == value.size()) {
            out += value[k];
            continue;
        }
        const char next = value[++k];
        out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

long long Number(std::string_view text) {
    long long value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// Why a folder may not keep the user's work (its lstat), or none when it may.
const char* FolderProblem(const struct stat& info) {
    if (S_ISLNK(info.st_mode)) return "The folder is a symbolic link";
    if (!S_ISDIR(info.st_mode)) return "It is not a folder";
    if (info.st_uid != Owner()) return "The folder belongs to another user";
    if ((info.st_mode & 077) != 0) return "Other users may open the folder";
    return nullptr;
}

FileStatus CheckFolder(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return FileStatus::FromErrno(
            errno == ENOENT ? FileFailure::NotFound : FileFailure::CannotOpen, errno);
    const char* problem = FolderProblem(info);
    return problem ? FileStatus(FileFailure::CannotOpen, problem) : FileStatus();
}

bool OwnRegularFile(const struct stat& info) {
    return S_ISREG(info.st_mode) && info.st_uid == Owner();
}

// Opens an entry's file without following a link and without waiting on a
// FIFO; -1 unless it is a regular file of the user's.
int OpenOwnFile(const std::string& path, int flags, struct stat& info) {
    const int fd = ::open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !OwnRegularFile(info))) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::optional<std::string> ReadInfoFile(const std::string& path) {
    struct stat info {};
    const int fd = OpenOwnFile(path, O_RDONLY, info);
    if (fd < 0 || info.st_size > MaxInfoBytes) {
        if (fd >= 0) ::close(fd);
        return std::nullopt;
    }
    // One byte more than allowed tells a file that grew since.
    std::string text(size_t(MaxInfoBytes) + 1, '\0');
    size_t size = 0;
    bool failed = false;
    while (size < text.size() && !failed) {
        const ssize_t got = ::read(fd, text.data() + size, text.size() - size);
        if (got == 0) break;
        if (got > 0)
            size += size_t(got);
        else
            failed = errno != EINTR;
    }
    ::close(fd);
    if (failed || size > size_t(MaxInfoBytes)) return std::nullopt;
    text.resize(size);
    return text;
}

// 1 for a regular file of the user's of a size an entry has, 0 for none
// there, -1 for anything else.
int OwnFileThere(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return errno == ENOENT ? 0 : -1;
    return OwnRegularFile(info) && info.st_size <= MaxBodyBytes ? 1 : -1;
}

// The entry of an info file; none when a file of it is missing or not fit to read.
std::optional<RecoveryEntry> ReadEntry(const std::string& infoPath) {
    std::optional<std::string> text = ReadInfoFile(infoPath);
    std::optional<RecoveryInfo> info = text ? ParseRecoveryInfo(*text) : std::nullopt;
    if (!info) return std::nullopt;
    const std::string stem = infoPath.substr(0, infoPath.size() - (sizeof InfoSuffix - 1));
    std::string body = stem + BodySuffix;
    std::string texts = stem + TextsSuffix;
    const int textsThere = OwnFileThere(texts);
    if (OwnFileThere(body) != 1 || textsThere < 0) return std::nullopt;
    if (textsThere == 0) texts.clear();
    return RecoveryEntry{std::move(*info), infoPath, std::move(body), std::move(texts)};
}

// The lock of an orphaned session, taken; -1 while its program runs or when
// the folder is not one to trust.
int TakeOrphanLock(const std::string& folder) {
    if (!CheckFolder(folder)) return -1;
    struct stat info {};
    const int lock = OpenOwnFile(folder + "/" + LockName, O_RDWR, info);
    if (lock >= 0 && ::flock(lock, LOCK_EX | LOCK_NB) != 0) {
        ::close(lock);
        return -1;
    }
    return lock;
}

// Owner-only, set on the file itself: a link put in its place is not followed.
void MakePrivate(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return;
    static_cast<void>(::fchmod(fd, 0600));
    ::close(fd);
}

// Renames a folder unless the new name is taken.
bool RenameNew(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    // A file system without the flag: rename replaces no folder that holds anything.
    if (errno == EINVAL && ::access(to.c_str(), F_OK) != 0)
        return ::rename(from.c_str(), to.c_str()) == 0;
    return false;
}

bool EndsWith(const std::string& text, std::string_view end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

} // namespace

std::string RecoveryInfoText(const RecoveryInfo& info) {
    std::ostringstream out;
    out << "kind=" << (info.kind == RecoveryKind::List ? "list" : "book") << '\n'
        << "path=" << Escaped(info.path) << '\n'
        << "caption=" << Escaped(info.caption) << '\n'
        << "pid=" << info.pid << '\n'
        << "time=" << info.time << '\n'
        << "spells=" << info.spells << '\n';
    if (!info.choices.empty()) out << "choices=" << Escaped(info.choices) << '\n';
    return out.str();
}

std::optional<RecoveryInfo> ParseRecoveryInfo(std::string_view text) {
    RecoveryInfo info;
    bool kindSeen = false;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view key = line.substr(0, equals);
        const std::string_view value = line.substr(equals + 1);
        if (key == "kind") {
            kindSeen = value == "book" || value == "list";
            info.kind = value == "list" ? RecoveryKind::List : RecoveryKind::Book;
        } else if (key == "path")
            info.path = Unescaped(value);
        else if (key == "caption")
            info.caption = Unescaped(value);
        else if (key == "pid")
            info.pid = Number(value);
        else if (key == "time")
            info.time = Number(value);
        else if (key == "spells")
            info.spells = Number(value);
        else if (key == "choices")
            info.choices = Unescaped(value);
    }
    if (!kindSeen) return std::nullopt;
    return info;
}

RecoverySession::RecoverySession(std::string folder) : folder_(std::move(folder)) {}

RecoverySession::~RecoverySession() {
    ReleaseOrphans();
    if (lock_ >= 0) ::close(lock_);
}

FileStatus RecoverySession::Refuse(FileStatus why) {
    if (refused_) refused_ = std::move(why);
    return refused_;
}

FileStatus RecoverySession::Trusted() {
    if (!refused_) return refused_;
    if (lock_ >= 0) return {}; // checked when the session was made
    if (folder_.empty())
        return Refuse(FileStatus(FileFailure::NotFound, "There is no home folder"));
    FileStatus checked = CheckFolder(folder_);
    return checked.Missing() ? FileStatus() : Refuse(std::move(checked));
}

FileStatus RecoverySession::Open() {
    if (lock_ >= 0) return {};
    if (FileStatus trusted = Trusted(); !trusted) return trusted;
    std::error_code ec;
    fs::create_directories(fs::path(folder_).parent_path(), ec);
    if (::mkdir(folder_.c_str(), 0700) != 0 && errno != EEXIST)
        return FileStatus::FromErrno(FileFailure::CannotWrite, errno);
    // Made now, or there already: a link or another user's folder put there
    // since the start is refused as well.
    if (FileStatus checked = CheckFolder(folder_); !checked) return Refuse(std::move(checked));
    // The new session's folder gets its locked lock before it takes its name,
    // so that a program starting beside this one never sees it unlocked.
    std::string made = folder_ + "/" + NewSessionPattern;
    if (!::mkdtemp(made.data())) return FileStatus::FromErrno(FileFailure::CannotWrite, errno);
    const int lock = ::open((made + "/" + LockName).c_str(),
                            O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    const int error = errno;
    if (lock < 0 || ::flock(lock, LOCK_EX | LOCK_NB) != 0) {
        if (lock >= 0) ::close(lock);
        fs::remove_all(made, ec);
        return FileStatus::FromErrno(FileFailure::CannotWrite, lock < 0 ? error : errno);
    }
    const std::string base = folder_ + "/" + SessionPrefix + std::to_string(::getpid());
    // A folder of an earlier process of the same pid stays that one's.
    for (int n = 0; n < 100 && session_.empty(); ++n) {
        const std::string path = n == 0 ? base : base + "-" + std::to_string(n);
        if (RenameNew(made, path)) session_ = path;
    }
    if (session_.empty()) {
        ::close(lock);
        fs::remove_all(made, ec);
        return FileStatus(FileFailure::CannotWrite, "No free name for a session folder");
    }
    lock_ = lock;
    return {};
}

std::string RecoverySession::SlotPath(int slot, const char* suffix) const {
    return session_ + "/" + std::to_string(slot) + suffix;
}

FileStatus RecoverySession::Write(int slot, const RecoveryInfo& info, std::string_view body,
                                  std::optional<std::string_view> texts) {
    if (FileStatus opened = Open(); !opened) return opened;
    const auto writePrivate = [](const std::string& path, std::string_view content) {
        FileStatus written = WriteFileAtomically(path, content);
        if (written) MakePrivate(path);
        return written;
    };
    if (FileStatus written = writePrivate(SlotPath(slot, BodySuffix), body); !written)
        return written;
    const std::string textsPath = SlotPath(slot, TextsSuffix);
    if (texts) {
        if (FileStatus written = writePrivate(textsPath, *texts); !written) return written;
    } else {
        ::unlink(textsPath.c_str());
    }
    return writePrivate(SlotPath(slot, InfoSuffix), RecoveryInfoText(info));
}

void RecoverySession::Remove(int slot) {
    if (session_.empty()) return;
    // The info first: without it the body is no entry.
    ::unlink(SlotPath(slot, InfoSuffix).c_str());
    ::unlink(SlotPath(slot, BodySuffix).c_str());
    ::unlink(SlotPath(slot, TextsSuffix).c_str());
}

void RecoverySession::RemoveAll() {
    if (session_.empty()) return;
    std::error_code ec;
    fs::remove_all(session_, ec);
    ::close(lock_);
    lock_ = -1;
    session_.clear();
}

std::vector<RecoveryEntry> RecoverySession::Orphans() {
    std::vector<RecoveryEntry> entries;
    if (!Trusted()) return entries;
    std::error_code ec;
    for (const fs::directory_entry& folder : fs::directory_iterator(folder_, ec)) {
        const std::string path = folder.path().string();
        if (folder.path().filename().string().rfind(SessionPrefix, 0) != 0 || path == session_)
            continue;
        const int lock = TakeOrphanLock(path);
        if (lock < 0) continue;
        orphans_.push_back({path, lock});
        for (const fs::directory_entry& file : fs::directory_iterator(folder.path(), ec))
            if (EndsWith(file.path().string(), InfoSuffix))
                if (std::optional<RecoveryEntry> entry = ReadEntry(file.path().string()))
                    entries.push_back(std::move(*entry));
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return a.info.time < b.info.time; });
    return entries;
}

void RecoverySession::Discard(const RecoveryEntry& entry) {
    ::unlink(entry.infoPath.c_str());
    ::unlink(entry.bodyPath.c_str());
    if (!entry.textsPath.empty()) ::unlink(entry.textsPath.c_str());
}

void RecoverySession::ReleaseOrphans() {
    for (const HeldSession& held : orphans_) {
        std::error_code ec;
        bool left = false;
        for (const fs::directory_entry& file : fs::directory_iterator(held.folder, ec))
            left |= EndsWith(file.path().string(), InfoSuffix);
        if (!left) fs::remove_all(held.folder, ec);
        ::close(held.lock);
    }
    orphans_.clear();
}

void SetRecoveryOwnerForTesting(long long uid) {
    ownerForTesting = uid;
}

} // namespace vellumar
