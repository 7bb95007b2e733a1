#pragma once
// The New Spellbook Parameters dialog: caster level, Intelligence, specialty and
// frequency setting of a new book. Created once; its choices last for the run.

#include <QDialog>

class QButtonGroup;
class QListWidget;
class QPushButton;

namespace vellumar {

class AppContext;

class TfrmBookParm : public QDialog {
    Q_OBJECT
public:
    TfrmBookParm(AppContext& context, QWidget* parent = nullptr);

    // The choices, read after OK.
    int CasterLevel() const;                                    // 1 to 30
    int Intelligence() const;                                   // 9 to 21
    QString Specialty() const;                                  // text of the chosen row
    int FrequencyPosition() const;                              // 0 Common to 4 Restricted
    int SpellFrequency() const { return -FrequencyPosition(); } // 0 to -4

    // Rebuilds the specialty rows from the specialty table; "Generalist" is chosen
    // again, so that OK always has a specialty.
    void RebuildSpecialties();

    QButtonGroup* grpCasterLevel;
    QButtonGroup* grpCasterIntelligence;
    QListWidget* lbSpecialty;
    QListWidget* lbSpellFrequency;
    QPushButton* bnOK;
    QPushButton* bnCancel;

private:
    AppContext& context_;
};

} // namespace vellumar
