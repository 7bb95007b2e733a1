#include "files/line_reader.h"

#include "model/code_page.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vellumar {
namespace {

constexpr size_t ChunkSize = 1 << 16;
constexpr char CtrlZ = 26;
long long readFailureAfter = -1;
size_t chunkBytes = ChunkSize;

// The first CR, LF or `stop` byte from `i`, or `end`; `nul` is set when a NUL
// byte comes first. All four lie below 27, so a word of eight bytes without
// such a low byte is passed at once.
size_t LineEnd(const char* data, size_t i, size_t end, char stop, bool& nul) {
    constexpr uint64_t Ones = 0x0101010101010101;
    constexpr uint64_t HighBits = Ones * 0x80;
    for (;;) {
        for (; i + 8 <= end; i += 8) {
            uint64_t word = 0;
            std::memcpy(&word, data + i, 8);
            if (((word - Ones * 27) & ~word & HighBits) != 0) break; // a byte below 27
        }
        // Byte by byte through that word (a tab is low too) or the rest of the data.
        const size_t last = std::min(i + 8, end);
        for (; i < last; ++i) {
            if (data[i] == '\r' || data[i] == '\n' || data[i] == stop) return i;
            nul = nul || data[i] == '\0';
        }
        if (i == end) return end;
    }
}

} // namespace

void SetReadFailureAfterBytesForTesting(long long bytes) {
    readFailureAfter = bytes;
}

void SetReadChunkBytesForTesting(size_t bytes) {
    chunkBytes = bytes > 0 ? bytes : ChunkSize;
}

std::FILE* OpenRegularFile(const std::string& fileName, FileStatus& status) {
    if (fileName.empty()) {
        status = FileStatus::FromErrno(FileFailure::NotFound, ENOENT);
        return nullptr;
    }
    // Not blocking, so that a named pipe cannot hold the program at the open;
    // a regular file reads the same either way.
    const int fd = open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        status = FileStatus::FromErrno(
            error == ENOENT ? FileFailure::NotFound : FileFailure::CannotOpen, error);
        return nullptr;
    }
    // Only regular files: a folder cannot be read, and a pipe or a device such
    // as /dev/zero may never end.
    struct stat info;
    if (fstat(fd, &info) != 0) {
        status = FileStatus::FromErrno(FileFailure::CannotOpen, errno);
        close(fd);
        return nullptr;
    }
    if (!S_ISREG(info.st_mode)) {
        status = S_ISDIR(info.st_mode) ? FileStatus::FromErrno(FileFailure::CannotOpen, EISDIR)
                                       : FileStatus(FileFailure::CannotOpen, "not a regular file");
        close(fd);
        return nullptr;
    }
    std::FILE* file = fdopen(fd, "rb");
    if (!file) {
        status = FileStatus::FromErrno(FileFailure::CannotOpen, errno);
        close(fd);
    }
    return file;
}

LineReader::LineReader(const std::string& fileName, LineText text)
    : asStored_(text == LineText::AsStored) {
    file_.reset(OpenRegularFile(fileName, status_));
    if (!file_) return;
    buffer_.resize(chunkBytes);
    SkipByteOrderMark();
}

void LineReader::FailRead(int error) {
    status_ = FileStatus::FromErrno(FileFailure::CannotRead, error);
    eof_ = true;
}

// The mark is three bytes; a shorter file, or one without them, is read as it is.
void LineReader::SkipByteOrderMark() {
    const size_t size = Utf8ByteOrderMark.size();
    while (end_ < size && Fill()) {
    }
    if (end_ >= size && std::memcmp(buffer_.data(), Utf8ByteOrderMark.data(), size) == 0) {
        utf8_ = true;
        pos_ = size;
    }
}

void LineReader::Close() {
    file_.reset();
    std::vector<char>().swap(buffer_);
    pos_ = end_ = 0;
}

bool LineReader::Fill() {
    if (eof_ || !file_) return false;
    if (pos_ > 0) { // keep the unread bytes at the front
        std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
        end_ -= pos_;
        pos_ = 0;
    }
    if (end_ == buffer_.size())
        buffer_.resize(buffer_.size() * 2); // one line longer than the buffer
    size_t want = buffer_.size() - end_;
    if (readFailureAfter >= 0) {
        const long long left = readFailureAfter - delivered_;
        if (left <= 0) {
            FailRead(EIO);
            return false;
        }
        if (static_cast<long long>(want) > left) want = static_cast<size_t>(left);
    }
    const size_t got = std::fread(buffer_.data() + end_, 1, want, file_.get());
    if (got == 0) {
        const int error = errno;
        eof_ = true;
        if (std::ferror(file_.get())) FailRead(error);
        return false;
    }
    end_ += got;
    delivered_ += static_cast<long long>(got);
    return true;
}

void LineReader::SkipPendingLineFeed() {
    if (!lineFeedPending_) return;
    if (pos_ == end_) Fill();
    if (pos_ < end_ && buffer_[pos_] == '\n') ++pos_;
    lineFeedPending_ = false;
}

bool LineReader::AtEnd() {
    if (stopped_ || !file_) {
        if (ctrlZLine_ > 0) NoteTextAfterCtrlZ();
        return true;
    }
    SkipPendingLineFeed();
    if (pos_ == end_ && !Fill()) return true;
    if (buffer_[pos_] == CtrlZ && !asStored_) {
        stopped_ = true;
        ctrlZLine_ = line_ + 1;
        NoteTextAfterCtrlZ();
    }
    return stopped_;
}

// Ctrl-Z ends the file; a word after it is left out, and named. Called once,
// after the last line was given: the scan may move the buffer.
void LineReader::NoteTextAfterCtrlZ() {
    const long long line = ctrlZLine_;
    ctrlZLine_ = 0;
    ++pos_; // the Ctrl-Z
    do {
        for (; pos_ < end_; ++pos_)
            if (static_cast<unsigned char>(buffer_[pos_]) > 32) {
                Warn(line, "Ctrl-Z ends the file; what follows it is left out");
                pos_ = end_;
                return;
            }
    } while (Fill());
}

std::string_view LineReader::ReadLine() {
    if (AtEnd()) return {};
    size_t scanned = 0; // bytes after pos_ known to hold no line end
    bool nul = false;   // whether those bytes hold a NUL
    bool more = true;
    // As stored, Ctrl-Z is text: CR stands in for it in the scan below.
    const char stop = asStored_ ? '\r' : CtrlZ;
    for (;;) {
        const char* data = buffer_.data();
        const size_t i = LineEnd(data, pos_ + scanned, end_, stop, nul);
        scanned = i - pos_;
        if (scanned > MaxLineBytes) { // the buffer grows no further
            ++line_;
            status_ = FileStatus(FileFailure::CannotRead,
                                 "line " + std::to_string(line_) + " is longer than " +
                                     std::to_string(MaxLineBytes) + " bytes");
            eof_ = stopped_ = true;
            std::vector<char>().swap(buffer_);
            pos_ = end_ = 0;
            return {};
        }
        if (i == end_ && more) {
            more = Fill(); // may move the unread bytes to the front
            continue;
        }
        std::string_view line(buffer_.data() + pos_, scanned);
        if (i == end_) {
            pos_ = end_;
        } else if (data[i] == CtrlZ && !asStored_) {
            stopped_ = true;
            ctrlZLine_ = line_ + 1;
            pos_ = i;
        } else {
            lineFeedPending_ = data[i] == '\r';
            pos_ = i + 1;
        }
        ++line_;
        return asStored_ ? line : Delivered(line, nul);
    }
}

// The line as Windows-1252 text, noting what it lost on the way.
std::string_view LineReader::Delivered(std::string_view line, bool hasNul) {
    if (hasNul) {
        const size_t nul = line.find('\0');
        if (line.find_first_not_of('\0', nul) != std::string_view::npos)
            Warn(line_, "the text after a NUL byte is left out");
        line = line.substr(0, nul);
    }
    if (!utf8_) return line;
    Cp1252Text converted = Utf8ToCp1252(line);
    if (!converted.lossless) Warn(line_, "characters Windows-1252 lacks became \"?\"");
    converted_ = std::move(converted.text);
    return converted_;
}

void LineReader::Warn(long long line, std::string what) {
    warnings_.emplace_back(line, std::move(what));
}

std::vector<std::string> LineReader::Warnings() const {
    auto notes = warnings_;
    std::stable_sort(notes.begin(), notes.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> lines;
    lines.reserve(notes.size());
    for (const auto& [line, what] : notes)
        lines.push_back("line " + std::to_string(line) + ": " + what);
    return lines;
}

} // namespace vellumar
