#pragma once
// A spellbook window: one book, its caster's parameters, and the spells of one
// spell level. Lives in the frame's client area; owns its book.

#include "rules/eligibility.h"
#include "ui/spell_list.h"

#include <QWidget>
#include <memory>
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
class SpellBookWindowContext;
class SpinEdit;
class SpellFilterBar;
class TSpellBook;
struct NewBookChoices;
class TfrmPrintPreview;
class tSpell;

class TfrmSpellBook : public QWidget {
    Q_OBJECT
public:
    explicit TfrmSpellBook(SpellBookWindowContext& context, QWidget* parent = nullptr);
    ~TfrmSpellBook() override;

    TSpellBook& Book() const { return *book_; }
    // Takes the place of the window's book; the old one is released.
    void ReplaceBook(std::unique_ptr<TSpellBook> book);
    // Sets the caster controls from the book (the book then holds what they
    // show) and starts the book's Undo history anew.
    void ShowBookParameters();
    // Gives the empty book of a new window the caster chosen for it, fills it
    // at random and shows it, marked modified.
    void StartNewBook(const NewBookChoices& choices);

    // The caption: the file's full path, or "untitled".
    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    void SetModified(bool modified);
    bool IsModified() const;

    int SpellLevel() const; // 1 to 9
    void SetSpellLevel(int level);

    // Handlers; the frame and other windows call some of them.
    void grpSpellLevelClick();
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
    // The book's changes, for Undo and Redo.
    BookUndo& History() const { return *undo_; }
    // The save question; true when the window may close.
    bool FormCloseQuery();
    // Lets the window close without asking again (the frame's shutdown has asked).
    void ApproveClose() { closeApproved_ = true; }
    // Rebuilds the specialty items from the specialty table; the text stays.
    void FillSpecialtyItems();

    // Offers spells to the book as spells put in by hand, in one Undo step: an
    // ineligible one is asked about, as one batch. The list is redrawn once,
    // showing those let in selected, which are returned.
    std::vector<const tSpell*> OfferSpells(const std::vector<tSpell*>& spells);
    // Rows dragged from a spell list and dropped on this window's list. A drop
    // from this window's own list changes nothing.
    void lbSpellsDragDrop(SpellList& source);

    // Menus merged into the frame's menu bar while this window is active.
    QMenu* FileMenu() const { return mnuFile_; }
    QMenu* EditMenu() const { return mnuEdit_; }
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

signals:
    // The window agreed to close; it is destroyed soon after.
    void Closed(TfrmSpellBook* window);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The specialty box lost the focus: the question comes only when the user
    // moved on inside this window, and after the click that moved the focus
    // has done its work.
    void SpecialtyBoxLeft(Qt::FocusReason reason);
    void AskAfterRelease();
    void BuildControls();
    void BuildCommands();
    bool WriteTo(const QString& path);
    void ShowCasterFields();
    // The book after an undone or redone change: the controls, and the level
    // of the spells it touched when the level shown has none of them, and the
    // spells that came back selected.
    void ShowChange(const BookChange& change, bool undone);
    // The question about ineligible spells of one import, drop or addition.
    AdmitIneligibleFn BatchQuestion();
    // Shows the level of the last of these spells, emptying a filter that
    // would hide them, and selects them.
    void ShowAddedSpells(const std::vector<const tSpell*>& spells);
    void FormResize();
    // A print preview owned by this window, over its book.
    std::unique_ptr<TfrmPrintPreview> MakePreview();

    SpellBookWindowContext& context_;
    std::unique_ptr<TSpellBook> book_;
    BookUndo* undo_ = nullptr;
    QString caption_;
    bool closeApproved_ = false;
    bool closing_ = false;
    int listTop_ = 0; // below the spell level group
    bool awaitingRelease_ = false;
    QMenu* mnuFile_ = nullptr;
    QMenu* mnuEdit_ = nullptr;
    QMenu* pmnu_ = nullptr;
};

} // namespace vellumar
