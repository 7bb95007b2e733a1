#pragma once
// The master spell list window: loads the master list the program holds for
// the run, shows it one spell level at a time, edits and saves it, switches to
// another file, and sends its spells to the active spellbook window. Created
// hidden at start-up; closing it only hides it.

#include "files/file_result.h"
#include "library/spell_library.h"
#include "ui/spell_list.h"
#include "ui/spell_list_pane.h"

#include <QMainWindow>
#include <memory>
#include <string>

class QAction;
class QButtonGroup;
class QMenu;
class QToolButton;

namespace vellumar {

class BookUndo;
class MasterListWindowContext;
class SpellCardView;
class SpellLibraryModel;
struct SpellText;
class SpellTexts;
class RecoveryKeeper;
class SpellFilterBar;
class TSpellBook;

class TfrmMasterList : public QMainWindow {
    Q_OBJECT
public:
    // Loads the master list while the working box shows.
    TfrmMasterList(MasterListWindowContext& context, QWidget* parent = nullptr);
    ~TfrmMasterList() override;

    // The master list, or none when no file could be read.
    TSpellBook* MasterList() const;

    // The file the master file setting names now (SpellLibrary::Locate).
    std::string MasterFilePath() const;

    int SpellLevel() const { return pane_->SpellLevel(); } // 1 to 9
    void SetSpellLevel(int level) { pane_->SetSpellLevel(level); }
    // Rebuilds the rows of the level shown; no row stays selected.
    void grpSpellLevelClick() { pane_->Redraw(); }
    // Shown, raised and active, at this spell level.
    void ShowAtLevel(int level);

    // Commands.
    void mnuAddToBookClick();
    void mnuEditSpellClick();
    void mnuAddNewSpellClick();
    void mnuDeleteSpellClick();
    // False when the file could not be written (after the error box).
    bool mnuSaveMasterFileClick();
    void mnuCurrentMasterFileClick();
    void mnuSetMasterFileClick();
    void mnuExitClick() { close(); }
    void mnuUndoClick();
    void mnuRedoClick();
    // Shows or hides the current spell's card, and remembers it.
    void mnuSpellTextClick();
    // The list's changes, for Undo and Redo.
    BookUndo& History() const { return *undo_; }
    // Keeps the unsaved list in a recovery file.
    RecoveryKeeper& Recovery() const { return *recovery_; }
    // Puts a recovered list of the file at `path` in the place of the loaded
    // one, marked modified, and its recovered texts, if any, in the place of
    // the texts beside that file. Saved, it goes to that file.
    void PutRecoveredList(std::unique_ptr<TSpellBook> list, std::unique_ptr<SpellTexts> texts,
                          const std::string& path);
    // The save question; true when the window (or the program) may close.
    bool FormCloseQuery();

    QButtonGroup* grpSpellLevel = nullptr;
    SpellFilterBar* pnlFilter = nullptr;
    SpellList* lbSpells = nullptr;
    SpellCardView* memSpellText = nullptr;
    QMenu* mnuFile = nullptr;
    QMenu* mnuEdit = nullptr;
    QMenu* pmnuMaster = nullptr;
    QAction* mnuSaveMasterFile = nullptr;
    QAction* mnuSpellText = nullptr;
    QToolButton* bnAddToBook = nullptr;
    QToolButton* bnEditSpell = nullptr;
    QToolButton* bnDeleteSpell = nullptr;
    QToolButton* bnAddNewSpell = nullptr;
    QToolButton* bnExit = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool SaveMasterFileElsewhere(const std::string& failedPath, const FileStatus& failure);
    // Asks for another file and saves there; it becomes the master file (or,
    // for a recovered list of another file, that list's file).
    bool SaveMasterFileAs(const std::string& suggested);
    // Writes the list to the path and its texts beside it: both or neither.
    // A failed list write comes back; a failed texts write leaves the list
    // file as it was and says so in a box (and comes back too).
    FileStatus WriteListAndTexts(const std::string& path, bool& textsFailed);
    // Whether the user would replace a file that could not be read.
    bool MayReplace(const std::string& path, const QString& file);
    // Whether the texts go with the list: asks about a companion whose texts
    // were never read (it could not be, or it was not there, or it stands
    // beside another list).
    bool MayReplaceTexts(CompanionSave companion, const std::string& path);
    // A save of the list and its texts cut short that could not be finished.
    void ReportUnfinishedSave(const std::string& path, const FileStatus& finished);
    void BuildControls();
    void BuildMenus();
    // Reads the master file anew with the working box showing `task`, and its
    // texts at once or when first needed (start-up, which is quicker without).
    void Load(const QString& task, TextsRead when = TextsRead::Now);
    // The companion's reading failure, or what its reader left out, once.
    void ReportTextsRead();
    void SetModified(bool modified);
    // Follows the list: its save item, caption and recovery file.
    void ShowModified(bool unsaved);
    // Details... of the spell edit dialog: the rules text, in its own dialog.
    bool EditDetails(SpellText& text);
    void FormResize();

    MasterListWindowContext& context_;
    SpellLibraryModel& library_;
    SpellListPane* pane_ = nullptr;
    BookUndo* undo_ = nullptr;
    RecoveryKeeper* recovery_ = nullptr;
};

} // namespace vellumar
