#include "platform/ini_file.h"

#include "files/line_reader.h"
#include "files/safe_write.h"
#include "model/code_page.h"
#include "model/text.h"

#include <cerrno>
#include <charconv>
#include <chrono>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace vellumar {
namespace {

constexpr std::string_view Blanks = " \t";

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(Blanks);
    return text.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    return CompareTextNoCase(a, b) == 0;
}

// Lines of the file without their ends, as the line reader splits them (CR LF,
// CR and LF all end a line). A missing file has none; one that is there but
// cannot be read, is not a regular file or is too large to be a settings file
// gives its failure. `marked` tells whether a byte-order mark stood before the
// first line: an editor's mark would otherwise hide the first section. The
// values stay as they are, not converted: they are mostly file names, which
// are the file system's bytes.
FileStatus ReadLines(const std::string& path, std::vector<std::string>& lines, bool& marked) {
    const FileStatus tooLarge(FileFailure::CannotOpen,
                              "larger than " + std::to_string(IniFile::MaxFileBytes >> 20) +
                                  " MiB, more than a settings file holds");
    // Before the reader: one line of a huge file would be read whole.
    struct stat info;
    if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<unsigned long long>(info.st_size) > IniFile::MaxFileBytes)
        return tooLarge;
    LineReader reader(path, LineText::AsStored);
    if (!reader.IsOpen()) return reader.Status().Missing() ? FileStatus() : reader.Status();
    size_t bytes = 0; // the file may have grown since
    while (!reader.AtEnd()) {
        lines.emplace_back(reader.ReadLine());
        bytes += lines.back().size() + 1;
        if (bytes > IniFile::MaxFileBytes) return tooLarge;
    }
    marked = reader.HadByteOrderMark();
    // The reader skips one mark; a file saved twice by such an editor has more.
    if (marked && !lines.empty())
        while (lines.front().starts_with(Utf8ByteOrderMark))
            lines.front().erase(0, Utf8ByteOrderMark.size());
    return reader.Status();
}

// Holds the settings file against other programs' writes, from the read to
// the replacement. The file itself is locked rather than a lock file beside
// it, so that no other file appears in the user's folder: since a write
// replaces the file by a new one, the lock counts only while the name still
// leads to the locked file, and is taken again otherwise. Where the name is a
// symbolic link, the file locked is the one the write replaces, at the end of
// the links: made there when missing, as the write would make it.
class WriteLock {
public:
    // Success with the lock held; success without a lock where none can be
    // had (a folder the user may not write, a target that is not a regular
    // file, a file system without locks): the write itself then reports what
    // stands in its way. Fails at once for links that lead nowhere (a loop),
    // and when another program holds the lock longer than IniFile::LockWait.
    FileStatus Take(const std::string& name) {
        FileStatus followed;
        const std::string path = WrittenFile(name, followed);
        if (!followed) return followed;
        const auto deadline = std::chrono::steady_clock::now() + IniFile::LockWait;
        for (;;) {
            struct stat named;
            const bool there = stat(path.c_str(), &named) == 0;
            if (there && !S_ISREG(named.st_mode)) return {};
            // The empty file stands for the missing one until the write replaces it.
            fd_ = open(path.c_str(),
                       O_RDONLY | O_CLOEXEC | O_NONBLOCK | (there ? 0 : O_CREAT | O_EXCL), 0666);
            if (fd_ < 0) {
                // Made or gone since the look: try again; anything else has no lock.
                if (errno != EEXIST && (errno != ENOENT || !there)) return {};
            } else {
                created_ = !there;
                if (flock(fd_, LOCK_EX | LOCK_NB) == 0) {
                    struct stat locked;
                    if (fstat(fd_, &locked) == 0 && stat(path.c_str(), &named) == 0 &&
                        named.st_dev == locked.st_dev && named.st_ino == locked.st_ino) {
                        file_ = locked;
                        path_ = path;
                        return {};
                    }
                } else if (errno != EWOULDBLOCK) {
                    Release();
                    return {};
                }
            }
            Release();
            if (std::chrono::steady_clock::now() >= deadline)
                return FileStatus(FileFailure::CannotWrite,
                                  "another program is still writing the file");
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    // The empty file made for the lock goes when the write failed.
    void RemoveIfUnwritten() {
        struct stat named;
        if (fd_ >= 0 && created_ && stat(path_.c_str(), &named) == 0 &&
            named.st_dev == file_.st_dev && named.st_ino == file_.st_ino && named.st_size == 0)
            unlink(path_.c_str());
    }
    void Release() {
        if (fd_ >= 0) close(fd_); // lets go of the lock
        fd_ = -1;
        created_ = false;
    }
    ~WriteLock() { Release(); }

private:
    int fd_ = -1;
    bool created_ = false;
    struct stat file_ = {};
    std::string path_; // of the locked file
};

// The section name of a "[name]" line.
std::optional<std::string_view> SectionOf(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    const size_t close = line.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

// The key of a "key=value" line; comments and other lines have none.
std::optional<std::string_view> KeyOf(std::string_view line) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';') return std::nullopt;
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return Trim(line.substr(0, eq));
}

std::string_view ValueOf(std::string_view line) {
    std::string_view value = Trim(line.substr(line.find('=') + 1));
    // A value in matching quotes is read without them.
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

std::optional<std::string> LookupIn(const std::vector<std::string>& lines, std::string_view section,
                                    std::string_view key) {
    bool inSection = false;
    for (const std::string& line : lines) {
        if (auto name = SectionOf(line)) {
            if (inSection) return std::nullopt; // the first section of the name counts
            inSection = SameName(*name, section);
            continue;
        }
        if (!inSection) continue;
        if (auto k = KeyOf(line); k && SameName(*k, key)) return std::string(ValueOf(line));
    }
    return std::nullopt;
}

std::string Shortened(std::string value, IniFile::Length length) {
    if (length == IniFile::Length::Classic && value.size() > IniFile::MaxValueLength)
        value.resize(IniFile::MaxValueLength);
    return value;
}

// Line breaks inside a key or value would break the file apart.
std::string OneLine(std::string_view text) {
    return BlankControls(text, Controls::LineEnds);
}

// Puts the key into the lines of a file: over its old value, after the last
// key of its section, or in a new section at the end.
void SetEntry(std::vector<std::string>& lines, std::string_view section, std::string_view key,
              std::string_view value) {
    const std::string entry = OneLine(key) + "=" + OneLine(value);

    // Find the section, the key in it, and the last key line of it.
    size_t sectionLine = lines.size();
    size_t keyLine = lines.size();
    size_t lastEntry = lines.size();
    for (size_t i = 0; i < lines.size(); ++i) {
        if (auto name = SectionOf(lines[i])) {
            if (sectionLine < lines.size()) break;
            if (SameName(*name, section)) sectionLine = lastEntry = i;
            continue;
        }
        if (sectionLine == lines.size()) continue;
        if (auto k = KeyOf(lines[i])) {
            lastEntry = i;
            if (SameName(*k, key)) {
                keyLine = i;
                break;
            }
        }
    }

    if (keyLine < lines.size()) {
        lines[keyLine] = entry;
    } else if (sectionLine < lines.size()) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastEntry + 1), entry);
    } else {
        if (!lines.empty() && !Trim(lines.back()).empty()) lines.emplace_back();
        lines.push_back("[" + OneLine(section) + "]");
        lines.push_back(entry);
    }
}

// The mark goes back too: without it, what follows (even a second mark)
// would read differently next time.
FileStatus WriteLines(const std::string& path, const std::vector<std::string>& lines, bool marked) {
    std::string content(marked ? Utf8ByteOrderMark : "");
    for (const std::string& line : lines) content += line + "\r\n";
    return WriteFileAtomically(path, content);
}

} // namespace

bool ParseIniInteger(std::string_view text, int32_t& value) {
    text = Trim(text);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const std::string_view digits = text.substr(2);
        if (digits.front() == '-') return false;
        const auto [end, ec] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
        return ec == std::errc() && end == digits.data() + digits.size();
    }
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty() || text.front() == '+' || text.front() == ' ') return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    return ec == std::errc() && end == text.data() + text.size();
}

IniFile::IniFile(std::string path) : path_(std::move(path)) {
    readStatus_ = ReadLines(path_, lines_, marked_);
    if (!readStatus_) lines_.clear(); // what cannot be read gives the defaults
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue, Length length) const {
    return Shortened(LookupIn(lines_, section, key).value_or(std::string(defaultValue)), length);
}

std::vector<std::string> IniFile::ReadStrings(std::string_view section,
                                              const std::vector<std::string>& keys,
                                              std::string_view defaultValue, Length length) const {
    std::vector<std::string> values;
    values.reserve(keys.size());
    for (const std::string& key : keys)
        values.push_back(ReadString(section, key, defaultValue, length));
    return values;
}

int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                             int32_t defaultValue) const {
    const auto text = LookupIn(lines_, section, key);
    int32_t value = 0;
    if (!text || !ParseIniInteger(*text, value)) return defaultValue;
    return value;
}

FileStatus IniFile::WriteString(std::string_view section, std::string_view key,
                                std::string_view value) {
    return WriteStrings(section, {{std::string(key), std::string(value)}});
}

FileStatus IniFile::WriteStrings(std::string_view section, const Entries& entries) {
    return Update(section, [&entries](const IniFile&) { return entries; });
}

FileStatus IniFile::Update(std::string_view section, const Change& change) {
    WriteLock lock;
    if (FileStatus locked = lock.Take(path_); !locked) return locked;
    // Writing over a file that could not be read would lose every other line.
    std::vector<std::string> lines;
    bool marked = false;
    if (FileStatus read = ReadLines(path_, lines, marked); !read) return read;
    lines_ = lines;
    marked_ = marked;
    const Entries entries = change(*this);
    if (entries.empty()) return {};
    for (const auto& [key, value] : entries) SetEntry(lines, section, key, value);
    FileStatus written = WriteLines(path_, lines, marked);
    if (written)
        lines_ = std::move(lines);
    else
        lock.RemoveIfUnwritten();
    return written;
}

FileStatus IniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
    return WriteString(section, key, std::to_string(value));
}

} // namespace vellumar
