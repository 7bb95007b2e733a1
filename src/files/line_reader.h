#pragma once
// Reads a text file line by line from its bytes, in chunks.

#include "files/file_result.h"

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vellumar {

// The longest line a reader takes. A spell or specialty line holds a few
// hundred bytes; a longer one ends the read, so that a file without line ends
// cannot take all memory.
inline constexpr size_t MaxLineBytes = size_t{64} * 1024;

// Opens a regular file for reading, or gives none and says why in `status`
// (a missing file, a folder, a pipe, a device).
std::FILE* OpenRegularFile(const std::string& fileName, FileStatus& status);

// A line ends at CR LF, CR alone or LF alone; Ctrl-Z ends the file; a NUL byte
// ends the text of its line. Reading past the end gives empty lines. A read
// error ends the file too and is kept in Failed(). A file that starts with the
// UTF-8 byte-order mark is read as UTF-8: the mark is skipped and each line is
// given in Windows-1252.
//
// A line longer than MaxLineBytes ends the file with a failure naming its
// number. What a line loses on reading (characters Windows-1252 lacks, the
// text after a NUL byte, the words after a Ctrl-Z) is noted as a warning of
// that line.
//
// As stored (LineText::AsStored), lines are the file's bytes: Ctrl-Z and NUL
// are kept and a UTF-8 file is not converted (the mark is still skipped), for
// a file whose every line must survive being written back.
enum class LineText { Cp1252, AsStored };

class LineReader {
public:
    explicit LineReader(const std::string& fileName, LineText text = LineText::Cp1252);
    // False when the file cannot be opened or is not a regular file (a missing
    // file, a folder, a pipe, a device).
    bool IsOpen() const { return file_ != nullptr; }
    // The next line, valid until the next call on this reader.
    std::string_view ReadLine();
    // The number of the line ReadLine gave last, from 1.
    long long LineNumber() const { return line_; }
    // Notes what a line lost; the warnings are given in line order.
    void Warn(long long line, std::string what);
    // The value with the warnings of its lines ("line N: what"), in line order.
    template <class T> FileResult<T> WithWarnings(std::unique_ptr<T> value) const {
        FileResult<T> result(std::move(value));
        for (std::string& warning : Warnings()) result.Warn(std::move(warning));
        return result;
    }
    std::vector<std::string> Warnings() const;
    // True when no byte is left before the end of the file or a Ctrl-Z.
    bool AtEnd();
    // Lets go of the file and the buffer; the reader is then at its end.
    void Close();
    bool Failed() const { return !status_ && IsOpen(); }
    // True when the UTF-8 byte-order mark stood before the first line.
    bool HadByteOrderMark() const { return utf8_; }
    // Why the file could not be opened or read to its end; success otherwise.
    const FileStatus& Status() const { return status_; }

private:
    struct FileCloser {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    bool Fill(); // makes more bytes available after pos_; false at the end
    void SkipPendingLineFeed();
    void SkipByteOrderMark();
    void FailRead(int error);
    std::string_view Delivered(std::string_view line, bool hasNul);
    void NoteTextAfterCtrlZ();

    std::unique_ptr<std::FILE, FileCloser> file_;
    std::vector<char> buffer_;
    size_t pos_ = 0;
    size_t end_ = 0;
    long long delivered_ = 0;
    bool eof_ = false;
    bool stopped_ = false; // Ctrl-Z seen
    FileStatus status_;
    bool utf8_ = false;
    bool asStored_ = false;
    std::string converted_;        // the current line in Windows-1252, for a UTF-8 file
    bool lineFeedPending_ = false; // a CR ended the last line; a following LF belongs to it
    long long line_ = 0;
    long long ctrlZLine_ = 0; // the line of a Ctrl-Z whose following bytes are not yet checked
    std::vector<std::pair<long long, std::string>> warnings_;
};

// Makes every reader fail after this many bytes of a file (-1: off), to test
// read failures part-way through a file.
void SetReadFailureAfterBytesForTesting(long long bytes);
// Makes every new reader start with a buffer of this many bytes (0: the usual
// size), so that tests reach the refill and growth paths with short files.
void SetReadChunkBytesForTesting(size_t bytes);

} // namespace vellumar
