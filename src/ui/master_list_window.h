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
#include <optional>
#include <string>
#include <utility>

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
    // The file Save Master File writes: the master file, or the own file of a
    // recovered list of another one (empty: asked for). The setting stays.
    std::string SavePath() const;

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
    // False when the file at the path is the one that could not be read
    // (`unread`), is still there, and the user would rather keep it.
    bool MayReplace(const std::string& path, const std::string& unread, const QString& file);
    // False when a companion there holds texts the window never read (it
    // could not, or the file was not there then, or it stands beside another
    // list) and the user would rather keep it.
    bool MayReplaceTexts(const std::string& companion);
    // The companion holds the texts the window read, or is not there: a save
    // writes it without a question.
    bool TextsAreOurs(const std::string& companion) const;
    // Completes a save of the list at the path and its texts that was cut
    // short; a failure is said in a box.
    void FinishInterruptedSave(const std::string& path);
    // Whether saving to the path writes texts beside the list: when there are
    // any, or a companion is there.
    bool KeepsTexts(const std::string& path) const;
    void BuildControls();
    void BuildMenus();
    // Reads the master file anew with the working box showing `task`, and its
    // texts at once or when first needed (start-up, which is quicker without).
    enum class TextsRead { Now, Later };
    void Load(const QString& task, TextsRead when = TextsRead::Now);
    // The list's texts are those beside the file at `path`: read them now.
    void ReadTextsBeside(const std::string& path);
    // The companion's reading failure, or what its reader left out, once.
    void ReportTextsRead();
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
    // A recovered list's own file, when it is not the master file.
    std::optional<std::string> recoveredPath_;
    // The companion whose reading was put off; empty when none.
    std::string textsPath_;
    // The companion whose texts the window holds (read or saved); empty when none.
    std::string readTextsPath_;
    // A companion that exists but could not be read.
    std::string unreadTextsPath_;
    // The last reading of a companion, until its failure or warnings are said.
    std::optional<std::pair<std::string, FileStatus>> textsRead_;
};

} // namespace vellumar
