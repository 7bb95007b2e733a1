#pragma once
// The program's settings by name: every section and key of the settings file
// lives here, so that no window spells them out.

#include "platform/ini_file.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vellumar {

inline constexpr char DefaultMasterFileName[] = "MASTER.DAT";

// The two kinds of window that show a spell list above a spell's card.
enum class ListWindowKind : int { Spellbook, MasterList };

class ProgramSettings {
public:
    static constexpr char FileName[] = "Vellumar.INI";
    // Named in messages; the other keys stay inside.
    static constexpr char MasterFileKey[] = "MasterFile";

    explicit ProgramSettings(std::string path) : file_(std::move(path)) {}
    // The settings file in a folder that ends in '/'.
    static ProgramSettings In(const std::string& folder) {
        return ProgramSettings(folder + FileName);
    }

    const std::string& Path() const { return file_.Path(); }
    // How the one reading of the file went (IniFile::ReadStatus), and the
    // warning to give when the file was not read; empty when it was.
    const FileStatus& ReadStatus() const { return file_.ReadStatus(); }
    std::string NotReadWarning() const;
    // The file itself, for what is not a setting of the program.
    IniFile& File() { return file_; }
    const IniFile& File() const { return file_; }

    // Every setter returns whether the settings file was written, and if not why.

    // The folder the Open Spellbook dialog starts in.
    std::string DataDirectory(const std::string& fallback) const;
    FileStatus SetDataDirectory(const std::string& folder);

    // The master file as stored, DefaultMasterFileName when the key is missing.
    std::string MasterFile() const;
    // The same for the Current Master File box, whose default is spelt
    // "Master.dat" (intended: the box has always shown it so).
    std::string MasterFileShown() const;
    FileStatus SetMasterFile(const std::string& path);
    // The master file as stored; none when the key is missing. Where it is,
    // the spell library finds out (library/spell_library.h).
    std::optional<std::string> StoredMasterFile() const;

    // The books last opened or saved, newest first, at most RecentBookCount.
    static constexpr size_t RecentBookCount = 8;
    std::vector<std::string> RecentBooks() const;
    // Puts a book at the head of the list, once. Both merge with the list
    // as the file holds it at the time of the write.
    FileStatus AddRecentBook(const std::string& path);
    FileStatus RemoveRecentBook(const std::string& path);

    // One chance in N for a frequency, by table entry (FrequencyEntry); the key is
    // the frequency's name.
    int32_t Odds(size_t entry, int32_t fallback) const;
    FileStatus SetOdds(size_t entry, int32_t value);

    // Whether the books open at a clean exit open again at the next start: a
    // switch, stored as 0 or 1.
    bool ReopenBooks(bool fallback) const;
    FileStatus SetReopenBooks(bool on);

    // A book open at a clean exit: its file, whole, and the spell level its
    // window showed (as stored: 0 when missing or not a number).
    struct OpenBook {
        std::string path;
        int32_t level = 0;
        bool operator==(const OpenBook&) const = default;
    };
    // The books of the last clean exit, in window order.
    std::vector<OpenBook> LastOpenBooks() const;
    // Replaces them all; nothing is written when the file holds these already.
    FileStatus SetLastOpenBooks(const std::vector<OpenBook>& books);
    // Whether the list windows show the current spell's text; shown unless
    // the user hid it.
    bool SpellTextShown() const;
    FileStatus SetSpellTextShown(bool shown);
    // Where the divider between the spell list and the card stands in each
    // kind of list window: the card's share of their room, in thousandths, as
    // stored (`fallback` when missing); whoever reads it holds it to its range.
    int32_t SpellTextShare(ListWindowKind window, int32_t fallback) const;
    FileStatus SetSpellTextShare(ListWindowKind window, int32_t share);
    // Whether unsaved work is kept in recovery files (on unless switched off).
    bool KeepRecoveryFiles() const;
    FileStatus SetKeepRecoveryFiles(bool keep);

private:
    static std::vector<std::string> RecentBooksIn(const IniFile& file);
    static std::vector<OpenBook> LastOpenBooksIn(const IniFile& file);
    static IniFile::Entries RecentEntries(const std::vector<std::string>& paths);

    IniFile file_;
};

} // namespace vellumar
