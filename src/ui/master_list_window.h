#pragma once
// The master spell list window: loads the master list the program holds for
// the run, shows it one spell level at a time, edits and saves it, switches to
// another file, and sends its spells to the active spellbook window. Created
// hidden at start-up; closing it only hides it.

#include "files/file_result.h"
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

    // The file the master file setting names now. A bare name belongs to the
    // folder found at the first load: the working folder, or the program's
    // folder when only that one holds the file.
    std::string MasterFilePath() const;

    int SpellLevel() const { return pane_->SpellLevel(); } // 1 to 9
    void SetSpellLevel(int level) { pane_->SetSpellLevel(level); }
    // Rebuilds the rows of the level shown; no row stays selected.
    void grpSpellLevelClick() { pane_->Redraw(); }
    // Shown, raised and active, at this spell level.
    void ShowAtLevel(int level);

    // The list's texts, when their reading was put off: read quietly (the
    // first to need them calls this), or read, drawn and a failure said
    // (once the frame is on screen).
    void ReadPutOffTexts();
    void ShowPutOffTexts();

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
    // Puts a recovered list in the place of the loaded one, marked modified,
    // and its recovered texts, if any, in the place of the loaded texts.
    void PutRecoveredList(std::unique_ptr<TSpellBook> list,
                          std::unique_ptr<SpellTexts> texts = nullptr);
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
    // Writes the list to the path, then its texts beside it: both or neither.
    // A failed list write comes back; a failed texts write puts the list
    // file's old content back and says so in a box (and comes back too).
    FileStatus WriteListAndTexts(const std::string& path, bool& textsFailed);
    // False when the file at the path is the one that could not be read
    // (`unread`), is still there, and the user would rather keep it.
    bool MayReplace(const std::string& path, const std::string& unread, const QString& file);
    // Whether saving to the path writes texts beside the list (and so the
    // recovery entry keeps them): when there are any, or a companion is there.
    bool KeepsTexts(const std::string& path) const;
    void BuildControls();
    void BuildMenus();
    // Reads the master file anew with the working box showing `task`, and its
    // texts at once or when first needed (start-up, which is quicker without).
    enum class TextsRead { Now, Later };
    void Load(const QString& task, TextsRead when = TextsRead::Now);
    void ReportTextsFailure();
    void SetModified(bool modified);
    // Details... of the spell edit dialog: the rules text, in its own dialog.
    bool EditDetails(SpellText& text);
    void FormResize();

    MasterListWindowContext& context_;
    SpellListPane* pane_ = nullptr;
    BookUndo* undo_ = nullptr;
    RecoveryKeeper* recovery_ = nullptr;
    // A master file that exists but could not be read; empty when none.
    std::string unreadPath_;
    // The companion whose reading was put off; empty when none.
    std::string textsPath_;
    // A companion that exists but could not be read, and why, until said.
    std::string unreadTextsPath_;
    std::optional<FileStatus> textsFailure_;
};

} // namespace vellumar
