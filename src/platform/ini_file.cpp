#include "platform/ini_file.h"

#include "files/line_reader.h"
#include "files/safe_write.h"
#include "model/code_page.h"
#include "model/text.h"

#include <charconv>
#include <optional>
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
// cannot be read gives its failure. `marked` tells whether a byte-order mark
// stood before the first line: an editor's mark would otherwise hide the first
// section. The values stay as they are, not converted: they are mostly file
// names, which are the file system's bytes.
FileStatus ReadLines(const std::string& path, std::vector<std::string>& lines,
                     bool* marked = nullptr) {
    LineReader reader(path, LineText::AsStored);
    if (!reader.IsOpen()) return reader.Status().Missing() ? FileStatus() : reader.Status();
    while (!reader.AtEnd()) lines.emplace_back(reader.ReadLine());
    if (marked) *marked = reader.HadByteOrderMark();
    return reader.Status();
}

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

std::optional<std::string> Lookup(const std::string& path, std::string_view section,
                                  std::string_view key) {
    std::vector<std::string> lines;
    (void)ReadLines(path, lines); // what cannot be read gives the defaults
    return LookupIn(lines, section, key);
}

std::string Shortened(std::string value) {
    if (value.size() > IniFile::MaxValueLength) value.resize(IniFile::MaxValueLength);
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

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    return Shortened(Lookup(path_, section, key).value_or(std::string(defaultValue)));
}

std::vector<std::string> IniFile::ReadStrings(std::string_view section,
                                              const std::vector<std::string>& keys,
                                              std::string_view defaultValue) const {
    std::vector<std::string> lines;
    (void)ReadLines(path_, lines); // what cannot be read gives the defaults
    std::vector<std::string> values;
    values.reserve(keys.size());
    for (const std::string& key : keys)
        values.push_back(
            Shortened(LookupIn(lines, section, key).value_or(std::string(defaultValue))));
    return values;
}

int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                             int32_t defaultValue) const {
    const auto text = Lookup(path_, section, key);
    int32_t value = 0;
    if (!text || !ParseIniInteger(*text, value)) return defaultValue;
    return value;
}

FileStatus IniFile::WriteString(std::string_view section, std::string_view key,
                                std::string_view value) {
    return WriteStrings(section, {{std::string(key), std::string(value)}});
}

FileStatus IniFile::WriteStrings(std::string_view section,
                                 const std::vector<std::pair<std::string, std::string>>& entries) {
    // Writing over a file that could not be read would lose every other line.
    std::vector<std::string> lines;
    bool marked = false;
    if (FileStatus read = ReadLines(path_, lines, &marked); !read) return read;
    for (const auto& [key, value] : entries) SetEntry(lines, section, key, value);
    return WriteLines(path_, lines, marked);
}

FileStatus IniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
    return WriteString(section, key, std::to_string(value));
}

} // namespace vellumar
