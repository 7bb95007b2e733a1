#pragma once
// A settings file with the behaviour of the classic profile functions: section
// and key names match without regard to case, keys are written as given, and
// every line the program does not touch survives a write.

#include "files/file_result.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vellumar {

class IniFile {
public:
    explicit IniFile(std::string path) : path_(std::move(path)) {}

    // The reads give the default for what a file that cannot be read would
    // have held, as the classic profile functions do.
    // Up to 1023 characters of the value; the default when the key is missing.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // Decimal, or hexadecimal after "0x"/"0X"; the default when the key is
    // missing, is not a number or does not fit.
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;
    // ReadString of each key, from one reading of the file.
    std::vector<std::string> ReadStrings(std::string_view section,
                                         const std::vector<std::string>& keys,
                                         std::string_view defaultValue) const;

    // A missing file is created. A file that is there but cannot be read is
    // not written over (every other line would be lost): its read failure is
    // returned.
    FileStatus WriteString(std::string_view section, std::string_view key, std::string_view value);
    FileStatus WriteInteger(std::string_view section, std::string_view key, int32_t value);
    // The file WriteString of each (key, value) in turn would leave, written at
    // once: all of them or none.
    FileStatus WriteStrings(std::string_view section,
                            const std::vector<std::pair<std::string, std::string>>& entries);

    const std::string& Path() const { return path_; }

    static constexpr size_t MaxValueLength = 1023;

private:
    std::string path_;
};

// The integer rule of ReadInteger, for a value already read.
bool ParseIniInteger(std::string_view text, int32_t& value);

} // namespace vellumar
