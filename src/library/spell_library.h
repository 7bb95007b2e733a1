#pragma once
// A master list's home: the list (a TSpellBook read as a spell list) and the
// rules texts of its spells (SpellTexts, in the companion file beside it), and
// where both live. It finds the file (the master file setting, the working
// folder, the program's folder), loads the two (finishing first a save of the
// pair that was cut short), saves both or neither, and keeps what decides
// whether a save may write over a file unasked: which file could not be read,
// which companion could not be read, which one was read. It asks nothing: it
// answers with plain results, and the caller asks the user and passes the
// answers back. Each program holds its own libraries; a second list (another
// kind of caster) is a second library.

#include "files/file_result.h"
#include "library/master_file.h"
#include "model/book_change.h"
#include "model/spell_book.h"
#include "model/spell_text.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vellumar {

class ProgramSettings;

// When the texts beside a list are read: with it, or when first needed.
enum class TextsRead { Now, Later };

// How a load went.
struct LibraryLoad {
    std::string path;    // the list file
    FileStatus finished; // a save of the pair cut short, finished first
    FileStatus list;     // the list's reading: its failure, or what it left out
    FileStatus texts;    // the texts' reading, when they were read now
    // The file is there but was not read: it is the user's, and a save asks
    // first. A missing file is a list not yet made.
    bool Unread() const { return !list && !list.Missing(); }
};

// A reading of the texts the user has not yet heard of: a failure, or what
// the reader left out.
struct TextsReading {
    std::string companion;
    FileStatus status;
};

// What saving to a file does with the texts beside it.
enum class CompanionSave {
    None,    // the list goes alone: there are no texts and no companion
    Ours,    // written unasked: it holds the texts read, or is not there
    Unread,  // it is there but could not be read: the user decides
    NotRead, // it was not read with the list (put back since, or beside
             // another file): the user decides
};

struct SavePlan {
    FileStatus finished; // an earlier save of the pair, finished first; failed: write nothing
    CompanionSave companion = CompanionSave::None;
    std::string companionPath;
};

struct LibrarySaved {
    FileStatus list; // failed: the list file is as it was
    // The texts' write, when they went with the list.
    std::optional<FileStatus> texts;
    // The texts could not be written, so the list file was left as it was.
    bool TextsFailed() const { return list && texts && !*texts; }
};

// A list and its texts as a recovery entry kept them.
struct RecoveredList {
    FileResult<TSpellBook> list;
    FileResult<SpellTexts> texts; // none when the entry kept none
};

struct LibraryRecovery {
    // The list is another file's than the master file's: the texts beside
    // that file were read now.
    bool ownFile = false;
    FileStatus finished; // a save of that pair cut short, finished first
};

class SpellLibrary {
public:
    // The master file is the one the settings name (without settings, or
    // without the key, the default name); a bare name is looked for in this
    // process's working folder, then in the program's folder.
    explicit SpellLibrary(const ProgramSettings* settings = nullptr);
    // The same in the folders given (each ending in '/').
    SpellLibrary(const ProgramSettings* settings, std::string workingFolder,
                 std::string programFolder);
    SpellLibrary(const SpellLibrary&) = delete;
    SpellLibrary& operator=(const SpellLibrary&) = delete;

    void UseSettings(const ProgramSettings* settings) { settings_ = settings; }

    // Where the master list is, the setting read anew. The folder a bare name
    // is first found in serves this library from then on, so that the list is
    // saved where it was read.
    MasterFileChoice Locate() const;
    std::string FilePath() const { return Locate().path; }
    // The file a save goes to: the master file, or a recovered list's own.
    std::string SavePath() const;
    // Where the texts of the list in that file live.
    static std::string TextsPathOf(const std::string& listPath);
    // Completes a save of the list in that file and its texts that a process
    // ended part-way, so that the two match; a failure leaves its journal.
    static FileStatus FinishSave(const std::string& listPath);

    // Reads the master file anew (or the file given), and its texts now or
    // when first needed.
    LibraryLoad Load(TextsRead when);
    LibraryLoad LoadFrom(const std::string& path, TextsRead when);
    // Reads only the texts beside the file, now; no list is held.
    LibraryLoad LoadTexts(const std::string& path);

    // The list, or none when no file could be read.
    TSpellBook* List() const { return list_.get(); }
    // Takes the place of the list; the old one is released.
    void SetList(std::unique_ptr<TSpellBook> list) { list_ = std::move(list); }
    // The texts, found by level and name; those put off are read first.
    SpellTexts& Texts();
    // Reads the texts whose reading was put off; their status when it did.
    std::optional<FileStatus> ReadPutOffTexts();
    // The last reading of texts, once, when it failed or left something out.
    std::optional<TextsReading> TakeTextsReading() { return std::exchange(reading_, std::nullopt); }

    // Before these spells of the list are deleted: the change for Undo, their
    // copies with their texts, which leave the texts now.
    BookChange PrepareDeletion(const std::vector<tSpell*>& spells);

    // The file at the path is there and is the one that could not be read.
    bool Unread(const std::string& path) const;
    // What a save to the path would do with the texts beside it.
    CompanionSave Companion(const std::string& path);
    // Finishes an earlier save of the pair cut short, then says what to ask.
    SavePlan PrepareSave(const std::string& path);
    // Writes the list to the path and, with texts, the texts beside it: both
    // or neither, also when the program is killed part-way.
    LibrarySaved Save(const std::string& path, bool withTexts);

    // The texts a recovery entry keeps of the list saved to the path: those a
    // save would write unasked (none: `texts` stays empty).
    FileStatus RecoveryTexts(const std::string& path, std::optional<std::string>& texts);
    static RecoveredList ReadRecovered(const std::string& bodyPath, const std::string& textsPath);
    // A recovered list of the file at the path takes the place of the list,
    // and its texts, if any, the place of the texts beside that file. Saved,
    // it goes to that file; the master file setting stays as it is.
    LibraryRecovery PutRecovered(std::unique_ptr<TSpellBook> list,
                                 std::unique_ptr<SpellTexts> texts, const std::string& path);
    // A recovered list of another file than the master file.
    bool RecoveredElsewhere() const { return recoveredPath_.has_value(); }
    void MoveRecoveredTo(const std::string& path) { recoveredPath_ = path; }

private:
    void ForgetTexts();
    // The texts are those beside the file at the path: read now.
    void ReadTextsBeside(const std::string& path, LibraryLoad& loaded);

    const ProgramSettings* settings_ = nullptr;
    std::optional<std::pair<std::string, std::string>> folders_; // working, program
    mutable std::string bareFolder_;
    mutable bool bareInProgramFolder_ = false;

    std::unique_ptr<TSpellBook> list_;
    SpellTexts texts_;
    // A list file that is there but could not be read; empty when none.
    std::string unreadPath_;
    // A recovered list's own file, when it is not the master file.
    std::optional<std::string> recoveredPath_;
    // The companion whose reading was put off; empty when none.
    std::string textsPath_;
    // The companion whose texts are held (read or saved); empty when none.
    std::string readTextsPath_;
    // A companion that is there but could not be read.
    std::string unreadTextsPath_;
    std::optional<TextsReading> reading_;
};

} // namespace vellumar
