#pragma once
// Edits the six fields of one spell. Created once and reused; it never touches
// a list: the caller loads a spell, shows the dialog, and reads it back on OK.

#include <QDialog>
#include <functional>
#include <memory>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace vellumar {

class SpinEdit;
struct SpellText;
class tSpell;

class TfrmSpellEdit : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSpellEdit(QWidget* parent = nullptr);
    ~TfrmSpellEdit() override;

    // Without a spell the six fields are disabled.
    void LoadSpellIntoDialog(const tSpell* spell);
    void ReadSpellFromDialog(tSpell* spell) const;

    // "Details..." edits the spell's rules text through `edit` (true on OK);
    // without one the button is hidden: a book's spells have their texts in
    // the master list.
    void OfferDetails(std::function<bool(SpellText&)> edit);
    // The text Details... starts from (none: an empty one); loading a spell
    // empties it.
    void LoadDetails(const SpellText* text);
    const SpellText& Details() const { return *details_; }

    SpinEdit* spnLevel;
    QLineEdit* ebName;
    QLineEdit* ebBook;
    QLineEdit* ebPage;
    QLineEdit* ebCategory;
    QComboBox* cbFrequency;
    QPushButton* bnOK;
    QPushButton* bnCancel;
    QPushButton* bnDetails;

private:
    std::function<bool(SpellText&)> editDetails_;
    std::unique_ptr<SpellText> details_;
};

} // namespace vellumar
