#pragma once
// A spellbook window: one book, its caster's parameters, and the spells of one
// spell level. Lives in the frame's client area; owns its book.

#include "rules/eligibility.h"
#include "ui/book_window.h"
#include "ui/spell_list.h"
#include "ui/spell_list_pane.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QButtonGroup;
class QComboBox;
class QLineEdit;
class QMenu;
class QToolBar;

namespace vellumar {

class BookChange;
class BookUndo;
class RecoveryKeeper;
struct RecoveryInfo;
class SpellBookWindowContext;
class SpinEdit;
class SpellCardView;
class SpellFilterBar;
class TfrmPrintPreview;
class TSpellBook;
class WorkingScope;
struct NewBookChoices;
class tSpell;

class TfrmSpellBook : public QWidget, public BookWindow {
    Q_OBJECT
public:
    explicit TfrmSpellBook(SpellBookWindowContext& context, QWidget* parent = nullptr);
    ~TfrmSpellBook() override;

    QWidget& Widget() override { return *this; }
    TSpellBook& Book() const override { return *book_; }
    // Takes the place of the window's book; the old one is released.
    void ReplaceBook(std::unique_ptr<TSpellBook> book);
    // Sets the caster controls from the book (the book then holds what they
    // show) and starts the book's Undo history anew.
    void ShowBookParameters();
    void PutBook(std::unique_ptr<TSpellBook> book, const QString& caption, bool modified) override;
    void StartNewBook(const NewBookChoices& choices) override;

    // The caption: the file's full path, or "untitled".
    const QString& Caption() const override { return caption_; }
    void SetCaption(const QString& caption);
    void SetModified(bool modified);
    bool IsModified() const;

    int SpellLevel() const override { return pane_->SpellLevel(); } // 1 to 9
    void SetSpellLevel(int level) { pane_->SetSpellLevel(level); }
    void ShowSpellLevel(int level) override {
        SetSpellLevel(level);
        grpSpellLevelClick();
    }

    // Shows the rows of the level chosen, and its "# per day".
    void grpSpellLevelClick() { pane_->Redraw(); }

    // Handlers.
    void spnWizardLevelChange();
    void spnWizardIntelligenceChange();
    void cbWizardSpecialtyChange();
    void cbWizardSpecialtyExit();
    void cbSpellFrequencyChange();
    void mnuFillBookClick();
    void mnuValidateBookClick();
    void mnuClearBookClick();
    void mnuAddSelectedSpellClick();
    void mnuAddRandomSpellClick();
    void mnuDeleteSpellClick();
    void mnuEditSpellClick();
    void mnuCreateNewSpellClick();
    void mnuCreateScrollClick();
    void mnuImportSpellsClick();
    void mnuExportSpellClick();
    void mnuCopytoClipboardClick();
    void mnuPrinterSetupClick();
    void mnuPrintPreviewClick();
    void mnuPrintClick();
    // Writes the book's pages as Print would into a PDF file, with no print dialog.
    void mnuExportPdfClick();
    void mnuNewClick();
    void mnuOpenClick();
    void mnuSaveClick();
    void mnuSaveAsClick();
    void mnuCloseClick();
    void mnuExitClick();
    void mnuUndoClick();
    void mnuRedoClick();
    // Shows or hides the current spell's card (the master list's text), and remembers it.
    void mnuSpellTextClick();
    // The current spell's card anew, after the master list's texts were read.
    void ShowSpellText();
    // The book's changes, for Undo and Redo.
    BookUndo& History() const { return *undo_; }
    // Keeps the unsaved book in a recovery file.
    RecoveryKeeper& Recovery() const { return *recovery_; }
    bool FormCloseQuery() override;
    void ApproveClose() override { closeApproved_ = true; }
    void WhenClosed(std::function<void()> closed) override { closed_ = std::move(closed); }
    void FillSpecialtyItems() override;

    // Offers spells to the book as spells put in by hand, in one Undo step: an
    // ineligible one is asked about, as one batch. The list is redrawn once,
    // showing those let in selected, which are returned.
    std::vector<const tSpell*> OfferSpells(const std::vector<tSpell*>& spells);
    // Shows the level of the first of the spells, then offers them.
    void AddFromMasterList(const std::vector<tSpell*>& spells) override;
    // Rows dragged from a spell list and dropped on this window's list. A drop
    // from this window's own list changes nothing.
    void lbSpellsDragDrop(SpellList& source);

    // Menus merged into the frame's menu bar while this window is active.
    QMenu* FileMenu() const override { return mnuFile_; }
    QMenu* EditMenu() const override { return mnuEdit_; }
    const QWidget& ToolBar() const override;
    QMenu* ContextMenu() const { return pmnu_; }

    QToolBar* tbSpellBook;
    SpinEdit* spnWizardLevel;
    SpinEdit* spnWizardIntelligence;
    QComboBox* cbWizardSpecialty;
    QComboBox* cbSpellFrequency;
    QButtonGroup* grpSpellLevel;
    QLineEdit* ebSpellsPerDay;
    SpellFilterBar* pnlFilter;
    SpellList* lbSpells;
    SpellCardView* memSpellText;
    QAction* mnuSpellText = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void BuildControls();
    void BuildCommands();
    bool WriteTo(const QString& path);
    void ShowCasterFields();
    // The book after an undone or redone change: the controls, and the level
    // of the spells it touched when the level shown has none of them, and the
    // spells that came back selected.
    void ShowChange(const BookChange& change, bool undone);
    // Offers the spells of one import, drop or addition as one batch: the
    // questions about ineligible ones (the box stepping aside), then the
    // spells let in, which it returns.
    std::vector<const tSpell*> OfferBatch(const std::vector<const tSpell*>& spells,
                                          WorkingScope& working);
    void FormResize();
    std::unique_ptr<TfrmPrintPreview> MakePreview();
    // The recovery entry: the info, and the bytes Save would write.
    std::string RecoverySnapshot(RecoveryInfo& info);

    SpellBookWindowContext& context_;
    SpellListPane* pane_ = nullptr;
    std::unique_ptr<TSpellBook> book_;
    BookUndo* undo_ = nullptr;
    RecoveryKeeper* recovery_ = nullptr;
    // What a new book was made with, for its recovery file.
    std::optional<std::string> choices_;
    QString caption_;
    bool closeApproved_ = false;
    bool closing_ = false;
    int listTop_ = 0; // below the spell level group
    std::function<void()> closed_;
    QMenu* mnuFile_ = nullptr;
    QMenu* mnuEdit_ = nullptr;
    QMenu* pmnu_ = nullptr;
};

} // namespace vellumar
