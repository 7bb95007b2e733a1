#pragma once
// The Specialty Maintenance window: edits the program's specialty table in
// place and saves it to the specialty file. Created once, shown modally again
// and again.

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QPlainTextEdit;
class QPushButton;

namespace vellumar {

class Prompter;
class tSpecialtyList;

class TfrmSpecialtyMaintenance : public QDialog {
    Q_OBJECT
public:
    // When the controls are made and the entries loaded: at once, or at the
    // first ShowModal (start-up makes the window, and most runs never open it).
    enum class Built { Now, WhenFirstShown };

    // refillNewBookDialog runs on closing when the table is modified or was
    // changed since the window was shown (before the closing question, if one
    // comes); refillSpellbookWindows runs on every close.
    TfrmSpecialtyMaintenance(Prompter& prompter, tSpecialtyList& table,
                             std::string specialtyFilePath,
                             std::function<void()> refillNewBookDialog,
                             std::function<void()> refillSpellbookWindows,
                             QWidget* parent = nullptr, Built built = Built::Now);

    // Shows the window modally through the Prompter; the specialty on screen
    // becomes the table's current one again first.
    int ShowModal();

    // Every way of closing comes here: the closing question may keep the window
    // open.
    void done(int result) override;

    // None of these exist before the window is built.
    QComboBox* cbSpecialty = nullptr;
    QPlainTextEdit* memPreferred = nullptr;
    QPlainTextEdit* memProhibited = nullptr;
    QPushButton* bnOK = nullptr;
    QAction* mnuSaveChanges = nullptr;
    QAction* mnuClose = nullptr;
    QAction* mnuEditSpecialtyName = nullptr;
    QAction* mnuAddNewSpecialty = nullptr;
    QAction* mnuDeleteSpecialty = nullptr;

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Build();
    void FormCreate();
    void FormActivate();
    void cbSpecialtyChange();
    void memPreferredExit();
    void memProhibitedExit();
    void bnOKClick();
    bool mnuSaveChangesClick();
    void mnuEditSpecialtyNameClick();
    void mnuAddNewSpecialtyClick();
    void mnuDeleteSpecialtyClick();
    bool FormCloseQuery();
    void FormClose();

    void RefillDropDown();
    void SelectEntry(int index);
    void GoToShown();
    void GoToEntry(int index);
    void StoreEdits();
    // An edited memo's lines go into the list of the entry it was loaded from.
    void StoreMemo(QPlainTextEdit* memo, std::vector<std::string>* (tSpecialtyList::*list)() const);
    void UpdateEnabled();
    // Every change of the table goes through here.
    void MarkChanged();

    Prompter& prompter_;
    tSpecialtyList& table_;
    std::string specialtyFilePath_;
    std::function<void()> refillNewBookDialog_;
    std::function<void()> refillSpellbookWindows_;
    int loadedIndex_ = -1; // the entry whose lists the text boxes hold
    bool changedThisVisit_ = false;
};

} // namespace vellumar
