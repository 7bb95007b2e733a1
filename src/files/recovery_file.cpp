#include "files/recovery_file.h"

#include "files/safe_write.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
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

// The pid in a session folder's name ("session-PID" or "session-PID-N").
long long SessionPid(const std::string& name) {
    return Number(std::string_view(name).substr(sizeof SessionPrefix - 1));
}

bool ProcessGone(long long pid) {
    return pid <= 0 || (::kill(pid_t(pid), 0) != 0 && errno == ESRCH);
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool EndsWith(const std::string& text, std::string_view end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Owner-only: the files hold the user's unsaved work.
bool MakePrivateFolder(const std::string& path) {
    std::error_code ec;
    fs::create_directories(path, ec);
    return ::chmod(path.c_str(), 0700) == 0;
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

bool RecoverySession::Open() {
    if (lock_ >= 0) return true;
    if (!MakePrivateFolder(folder_)) return false;
    const std::string base = folder_ + "/" + SessionPrefix + std::to_string(::getpid());
    // A folder of an earlier process of the same pid stays that one's.
    for (int n = 0; n < 100; ++n) {
        const std::string path = n == 0 ? base : base + "-" + std::to_string(n);
        if (::mkdir(path.c_str(), 0700) != 0) {
            if (errno == EEXIST) continue;
            return false;
        }
        // Blocking: a program starting beside this one may hold it a moment to
        // see whether it is free, and lets go since this process is alive.
        const int lock =
            ::open((path + "/" + LockName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (lock < 0 || ::flock(lock, LOCK_EX) != 0) {
            if (lock >= 0) ::close(lock);
            return false;
        }
        lock_ = lock;
        session_ = path;
        return true;
    }
    return false;
}

std::string RecoverySession::SlotPath(int slot, const char* suffix) const {
    return session_ + "/" + std::to_string(slot) + suffix;
}

FileStatus RecoverySession::Write(int slot, const RecoveryInfo& info, std::string_view body,
                                  std::optional<std::string_view> texts) {
    if (!Open()) return FileStatus::FromErrno(FileFailure::CannotWrite, errno ? errno : EACCES);
    const auto writePrivate = [](const std::string& path, std::string_view content) {
        FileStatus written = WriteFileAtomically(path, content);
        if (written) ::chmod(path.c_str(), 0600);
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
    std::error_code ec;
    for (const fs::directory_entry& folder : fs::directory_iterator(folder_, ec)) {
        const std::string name = folder.path().filename().string();
        if (name.rfind(SessionPrefix, 0) != 0 || folder.path() == session_ ||
            !folder.is_directory(ec))
            continue;
        const int lock =
            ::open((folder.path() / LockName).c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
        if (lock < 0) continue;
        if (::flock(lock, LOCK_EX | LOCK_NB) != 0 || !ProcessGone(SessionPid(name))) {
            ::close(lock);
            continue;
        }
        orphans_.push_back({folder.path().string(), lock});
        for (const fs::directory_entry& file : fs::directory_iterator(folder.path(), ec)) {
            const std::string path = file.path().string();
            if (!EndsWith(path, InfoSuffix)) continue;
            std::optional<RecoveryInfo> info = ParseRecoveryInfo(ReadAll(path));
            const std::string stem = path.substr(0, path.size() - (sizeof InfoSuffix - 1));
            std::string body = stem + BodySuffix;
            std::string texts = stem + TextsSuffix;
            if (!fs::is_regular_file(texts, ec)) texts.clear();
            if (info && fs::is_regular_file(body, ec))
                entries.push_back({std::move(*info), path, std::move(body), std::move(texts)});
        }
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

} // namespace vellumar
