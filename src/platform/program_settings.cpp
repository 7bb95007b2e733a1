#include "platform/program_settings.h"

#include "model/spell.h"

#include <algorithm>

namespace vellumar {
namespace {

constexpr char ProgramSection[] = "Vellumar";
constexpr char DataDirectoryKey[] = "DataDirectory";
constexpr char RecoveryFilesKey[] = "KeepRecoveryFiles";
constexpr char OddsSection[] = "SpellFrequencyOdds";
constexpr char SpellTextKey[] = "SpellText";
constexpr char BookSpellTextShareKey[] = "SpellTextShareBook";
constexpr char MasterSpellTextShareKey[] = "SpellTextShareMaster";
constexpr char RecentSection[] = "Recent";
constexpr char ReopenBooksKey[] = "ReopenBooks";
constexpr char LastSessionSection[] = "LastSession";

std::string RecentKey(size_t index) {
    return "File" + std::to_string(index + 1);
}

// The last session's books are File1, Level1, File2, ... up to the first
// empty or missing file.
std::string LevelKey(size_t index) {
    return "Level" + std::to_string(index + 1);
}

} // namespace

std::string ProgramSettings::DataDirectory(const std::string& fallback) const {
    return file_.ReadString(ProgramSection, DataDirectoryKey, fallback);
}

FileStatus ProgramSettings::SetDataDirectory(const std::string& folder) {
    return file_.WriteString(ProgramSection, DataDirectoryKey, folder);
}

std::string ProgramSettings::MasterFile() const {
    return file_.ReadString(ProgramSection, MasterFileKey, DefaultMasterFileName);
}

std::string ProgramSettings::MasterFileShown() const {
    return file_.ReadString(ProgramSection, MasterFileKey, "Master.dat");
}

FileStatus ProgramSettings::SetMasterFile(const std::string& path) {
    return file_.WriteString(ProgramSection, MasterFileKey, path);
}

std::optional<std::string> ProgramSettings::StoredMasterFile() const {
    // No stored value holds a line end, so this default tells a missing key apart.
    constexpr char Unset[] = "\n";
    std::string name = file_.ReadString(ProgramSection, MasterFileKey, Unset);
    if (name == Unset) return std::nullopt;
    return name;
}

int32_t ProgramSettings::Odds(size_t entry, int32_t fallback) const {
    return file_.ReadInteger(OddsSection, FrequencyNames[entry], fallback);
}

FileStatus ProgramSettings::SetOdds(size_t entry, int32_t value) {
    return file_.WriteInteger(OddsSection, FrequencyNames[entry], value);
}

bool ProgramSettings::ReopenBooks(bool fallback) const {
    return file_.ReadInteger(ProgramSection, ReopenBooksKey, fallback ? 1 : 0) != 0;
}

FileStatus ProgramSettings::SetReopenBooks(bool on) {
    return file_.WriteInteger(ProgramSection, ReopenBooksKey, on ? 1 : 0);
}

// Paths are read whole, as the recent books are.
std::vector<ProgramSettings::OpenBook> ProgramSettings::LastOpenBooksIn(const IniFile& file) {
    std::vector<OpenBook> books;
    for (size_t k = 0;; ++k) {
        std::string path =
            file.ReadString(LastSessionSection, RecentKey(k), "", IniFile::Length::Whole);
        if (path.empty()) return books;
        books.push_back({std::move(path), file.ReadInteger(LastSessionSection, LevelKey(k), 0)});
    }
}

std::vector<ProgramSettings::OpenBook> ProgramSettings::LastOpenBooks() const {
    return LastOpenBooksIn(file_);
}

// The keys past the new list are emptied, so that no old book comes back.
FileStatus ProgramSettings::SetLastOpenBooks(const std::vector<OpenBook>& books) {
    return file_.Update(LastSessionSection, [&books](const IniFile& now) {
        const std::vector<OpenBook> old = LastOpenBooksIn(now);
        IniFile::Entries entries;
        if (old == books) return entries;
        for (size_t k = 0; k < std::max(books.size(), old.size()); ++k) {
            const bool kept = k < books.size();
            entries.emplace_back(RecentKey(k), kept ? books[k].path : "");
            entries.emplace_back(LevelKey(k), kept ? std::to_string(books[k].level) : "");
        }
        return entries;
    });
}

bool ProgramSettings::SpellTextShown() const {
    return file_.ReadInteger(ProgramSection, SpellTextKey, 1) != 0;
}

FileStatus ProgramSettings::SetSpellTextShown(bool shown) {
    return file_.WriteInteger(ProgramSection, SpellTextKey, shown ? 1 : 0);
}

namespace {

const char* SpellTextShareKey(ListWindowKind window) {
    return window == ListWindowKind::MasterList ? MasterSpellTextShareKey : BookSpellTextShareKey;
}

} // namespace

int32_t ProgramSettings::SpellTextShare(ListWindowKind window, int32_t fallback) const {
    return file_.ReadInteger(ProgramSection, SpellTextShareKey(window), fallback);
}

FileStatus ProgramSettings::SetSpellTextShare(ListWindowKind window, int32_t share) {
    return file_.WriteInteger(ProgramSection, SpellTextShareKey(window), share);
}

bool ProgramSettings::KeepRecoveryFiles() const {
    return file_.ReadInteger(ProgramSection, RecoveryFilesKey, 1) != 0;
}

FileStatus ProgramSettings::SetKeepRecoveryFiles(bool keep) {
    return file_.WriteInteger(ProgramSection, RecoveryFilesKey, keep ? 1 : 0);
}

std::string ProgramSettings::NotReadWarning() const {
    const FileStatus& read = file_.ReadStatus();
    if (read) return {};
    return "settings file '" + Path() + "' not read (" + read.Reason() + "); the defaults are used";
}

// The paths are kept whole: they are our own keys, and a path cut at 1023
// characters would name another file.
std::vector<std::string> ProgramSettings::RecentBooksIn(const IniFile& file) {
    std::vector<std::string> keys;
    for (size_t k = 0; k < RecentBookCount; ++k) keys.push_back(RecentKey(k));
    std::vector<std::string> paths;
    for (std::string& path : file.ReadStrings(RecentSection, keys, "", IniFile::Length::Whole))
        if (!path.empty() && std::find(paths.begin(), paths.end(), path) == paths.end())
            paths.push_back(std::move(path));
    return paths;
}

std::vector<std::string> ProgramSettings::RecentBooks() const {
    return RecentBooksIn(file_);
}

// Both edit the list as the file holds it now, so that the books another
// running program added meanwhile stay in it.
FileStatus ProgramSettings::AddRecentBook(const std::string& path) {
    return file_.Update(RecentSection, [&path](const IniFile& now) {
        std::vector<std::string> paths = RecentBooksIn(now);
        if (!paths.empty() && paths.front() == path) return IniFile::Entries();
        std::erase(paths, path);
        paths.insert(paths.begin(), path);
        if (paths.size() > RecentBookCount) paths.resize(RecentBookCount);
        return RecentEntries(paths);
    });
}

FileStatus ProgramSettings::RemoveRecentBook(const std::string& path) {
    return file_.Update(RecentSection, [&path](const IniFile& now) {
        std::vector<std::string> paths = RecentBooksIn(now);
        if (std::erase(paths, path) == 0) return IniFile::Entries();
        return RecentEntries(paths);
    });
}

// Every key is written, empty past the list's end, so that no old entry survives.
IniFile::Entries ProgramSettings::RecentEntries(const std::vector<std::string>& paths) {
    IniFile::Entries entries;
    for (size_t k = 0; k < RecentBookCount; ++k)
        entries.emplace_back(RecentKey(k), k < paths.size() ? paths[k] : "");
    return entries;
}

} // namespace vellumar
