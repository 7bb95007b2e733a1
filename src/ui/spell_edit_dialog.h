#pragma once
// Edits the six fields of one spell. Created once and reused; it never touches
// a list: the caller loads a spell, shows the dialog, and reads it back on OK.

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace vellumar {

class SpinEdit;
class tSpell;

class TfrmSpellEdit : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSpellEdit(QWidget* parent = nullptr);

    // Without a spell the six fields are disabled.
    void LoadSpellIntoDialog(const tSpell* spell);
    void ReadSpellFromDialog(tSpell* spell) const;

    SpinEdit* spnLevel;
    QLineEdit* ebName;
    QLineEdit* ebBook;
    QLineEdit* ebPage;
    QLineEdit* ebCategory;
    QComboBox* cbFrequency;
    QPushButton* bnOK;
    QPushButton* bnCancel;
};

} // namespace vellumar
