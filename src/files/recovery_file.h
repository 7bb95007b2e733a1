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
// lock is free is an orphan (its process number may belong to another process
// after a reboot), and its entries are offered at the next start.
//
// The files hold the user's work and name the files it is saved to, so the
// folder is trusted only when it is a real folder of the user's that no one
// else may open; its entries are read only when they are the user's regular
// files of a sensible size, never through a link.

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
    // An empty folder (the user has no home folder) is never trusted.
    explicit RecoverySession(std::string folder);
    // Lets go of the locks; removes nothing (a crash would not either).
    ~RecoverySession();
    RecoverySession(const RecoverySession&) = delete;
    RecoverySession& operator=(const RecoverySession&) = delete;

    const std::string& Folder() const { return folder_; }
    // Whether the folder may keep the user's work: missing (it is made on the
    // first write), or a folder, not a link, of the user's, with no access for
    // others. Once it is not, also when the first write finds so, it stays
    // refused for the run: nothing is written, and no orphan is offered.
    FileStatus Trusted();
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
    FileStatus Open();
    FileStatus Refuse(FileStatus why);
    std::string SlotPath(int slot, const char* suffix) const;

    std::string folder_;
    std::string session_;
    int lock_ = -1;
    int lastSlot_ = 0;
    FileStatus refused_;
    struct HeldSession {
        std::string folder;
        int lock;
    };
    std::vector<HeldSession> orphans_;
};

// The user the folder and its files must belong to, instead of the process's
// own (-1): tests, which may run as root, stand for files of another user.
void SetRecoveryOwnerForTesting(long long uid);

} // namespace vellumar
