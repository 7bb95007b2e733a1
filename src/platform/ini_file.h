#pragma once
// A settings file with the behaviour of the classic profile functions: section
// and key names match without regard to case, keys are written as given, and
// every line the program does not touch survives a write.
//
// The file is read once, when the object is made, and every read is answered
// from memory. A write is a locked read-modify-write: it waits for any other
// program's write to the same file, reads the file again, applies the change
// and replaces the file, so that programs running side by side keep each
// other's settings.

#include "files/file_result.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vellumar {

class IniFile {
public:
    // The file is not read past this size: a settings file is a few hundred
    // bytes, and anything far larger is not one.
    static constexpr size_t MaxFileBytes = 1 << 20;
    // How long a write waits for another program's write to the same file.
    // A write takes milliseconds, so a program that holds the file this long
    // is stuck, and the write fails with that reason rather than risk losing
    // that program's change.
    static constexpr std::chrono::milliseconds LockWait{5000};
    static constexpr size_t MaxValueLength = 1023;

    // Reads the file.
    explicit IniFile(std::string path);

    // How that reading went: success for a missing file (it holds nothing
    // yet); otherwise why the file was not read (not a regular file, larger
    // than MaxFileBytes, unreadable), and the reads give the defaults.
    const FileStatus& ReadStatus() const { return readStatus_; }

    // How much of a text value is read: up to MaxValueLength characters, as
    // the classic functions read it, or the whole value, for keys of our own.
    enum class Length { Classic, Whole };

    // The reads give the default for what a file that cannot be read would
    // have held, as the classic profile functions do.
    // The value; the default when the key is missing.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue, Length length = Length::Classic) const;
    // Decimal, or hexadecimal after "0x"/"0X"; the default when the key is
    // missing, is not a number or does not fit.
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;
    // ReadString of each key.
    std::vector<std::string> ReadStrings(std::string_view section,
                                         const std::vector<std::string>& keys,
                                         std::string_view defaultValue,
                                         Length length = Length::Classic) const;

    // A missing file is created. A file that is there but cannot be read is
    // not written over (every other line would be lost): its read failure is
    // returned.
    FileStatus WriteString(std::string_view section, std::string_view key, std::string_view value);
    FileStatus WriteInteger(std::string_view section, std::string_view key, int32_t value);
    // The file WriteString of each (key, value) in turn would leave, written at
    // once: all of them or none.
    using Entries = std::vector<std::pair<std::string, std::string>>;
    FileStatus WriteStrings(std::string_view section, const Entries& entries);
    // WriteStrings of the entries that `change` makes from the file as it is
    // now: it is called under the lock, with this object just read again, so
    // that a change built on earlier values (a list) merges with what another
    // program wrote meanwhile. No entries: nothing is written.
    using Change = std::function<Entries(const IniFile& now)>;
    FileStatus Update(std::string_view section, const Change& change);

    const std::string& Path() const { return path_; }

private:
    std::string path_;
    std::vector<std::string> lines_; // without their line ends
    bool marked_ = false;            // a byte-order mark stood before the first line
    FileStatus readStatus_;
};

// The integer rule of ReadInteger, for a value already read.
bool ParseIniInteger(std::string_view text, int32_t& value);

} // namespace vellumar
