#pragma once
// The New Spellbook Parameters dialog: caster level, Intelligence, specialty and
// frequency setting of a new book. Created once; its choices last for the run.

#include "model/frequency.h"
#include "ui/new_book_choices.h"

#include <QDialog>

class QButtonGroup;
class QListWidget;
class QPushButton;

namespace vellumar {

class tSpecialtyList;

class TfrmBookParm : public QDialog {
    Q_OBJECT
public:
    // specialties: the program's table, whose names follow the generalist.
    TfrmBookParm(const tSpecialtyList& specialties, QWidget* parent = nullptr);

    // The choices, read after OK.
    int CasterLevel() const;       // 1 to 30
    int Intelligence() const;      // 9 to 21
    QString Specialty() const;     // text of the chosen row
    int FrequencyPosition() const; // 0 Common to 4 Restricted
    int SpellFrequency() const { return FrequencyOfRow(FrequencyPosition()); } // 0 to -4
    NewBookChoices Choices() const {
        return {CasterLevel(), Intelligence(), Specialty(), SpellFrequency()};
    }

    // Rebuilds the specialty rows from the specialty table; the generalist is chosen
    // again, so that OK always has a specialty.
    void RebuildSpecialties();

    QButtonGroup* grpCasterLevel;
    QButtonGroup* grpCasterIntelligence;
    QListWidget* lbSpecialty;
    QListWidget* lbSpellFrequency;
    QPushButton* bnOK;
    QPushButton* bnCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    const tSpecialtyList& specialties_;
};

} // namespace vellumar
