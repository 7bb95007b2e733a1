#pragma once
// Recovery files: the unsaved work of a running program, kept so that a crash,
// a power cut or a killed session loses at most the last second of it.
//
// Each running program owns one session folder, "session-PID" (or
// "session-PID-N") in the recovery folder, holding a lock file that it locks
// (flock) for its whole run. An entry is a pair of files in it: "N.info", the
// key=value lines of RecoveryInfo, and "N.body", the exact bytes the book's or
// list's own writer puts into its file; a master list with texts adds
// "N.texts", the bytes its companion texts file would hold. A session whose
// lock is free and whose process is gone is an orphan, and its entries are
// offered at the next start.

#include "files/file_result.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellumar {

enum class RecoveryKind { Book, List };

struct RecoveryInfo {
    RecoveryKind kind = RecoveryKind::Book;
    std::string path;    // the file it belongs to; empty for an untitled book
    std::string caption; // the window's caption
    long long pid = 0;
    long long time = 0; // of the last change written, seconds since the epoch
    long long spells = 0;
    std::string choices; // a new book's: the choices it was made with
};

// The info file's text, one "key=value" line a field (a backslash, CR or LF in
// a value is escaped), and back; none for a text that names no kind.
std::string RecoveryInfoText(const RecoveryInfo& info);
std::optional<RecoveryInfo> ParseRecoveryInfo(std::string_view text);

// An entry found in the folder of a session that ended without cleaning up.
struct RecoveryEntry {
    RecoveryInfo info;
    std::string infoPath;
    std::string bodyPath;  // read it with ReadSpellbookFile or ReadSpellList
    std::string textsPath; // read it with ReadSpellTexts; empty when it has none
};

class RecoverySession {
public:
    // `folder` is the recovery folder; nothing is made until the first write.
    explicit RecoverySession(std::string folder);
    // Lets go of the locks; removes nothing (a crash would not either).
    ~RecoverySession();
    RecoverySession(const RecoverySession&) = delete;
    RecoverySession& operator=(const RecoverySession&) = delete;

    const std::string& Folder() const { return folder_; }
    // The session's own folder, empty until the first write.
    const std::string& SessionFolder() const { return session_; }

    // A number for the entry of one window, unique in the run.
    int NewSlot() { return ++lastSlot_; }
    // Writes the entry of a slot through WriteFileAtomically, owner-only: the
    // body first, then the texts (without them, the slot's earlier texts go),
    // then the info that makes it an entry.
    FileStatus Write(int slot, const RecoveryInfo& info, std::string_view body,
                     std::optional<std::string_view> texts = std::nullopt);
    // Removes the entry of a slot (saved, or closed without saving).
    void Remove(int slot);
    // Removes every entry, the lock and the session folder: a clean exit.
    void RemoveAll();

    // The entries of orphaned sessions, oldest change first. Their locks are
    // held from now until ReleaseOrphans, so that a program starting beside
    // this one does not offer them too.
    std::vector<RecoveryEntry> Orphans();
    // Removes an entry that was recovered or discarded.
    static void Discard(const RecoveryEntry& entry);
    // Lets go of the orphans' locks; a session folder left with no entry goes.
    void ReleaseOrphans();

private:
    bool Open();
    std::string SlotPath(int slot, const char* suffix) const;

    std::string folder_;
    std::string session_;
    int lock_ = -1;
    int lastSlot_ = 0;
    struct HeldSession {
        std::string folder;
        int lock;
    };
    std::vector<HeldSession> orphans_;
};

} // namespace vellumar
