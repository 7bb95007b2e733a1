#pragma once
// Recover Unsaved Work: at start, the unsaved books and master lists that a
// session which did not end cleanly left, each with its choice: recover it,
// discard it, or decide at a later start.

#include "files/recovery_file.h"

#include <QDialog>
#include <vector>

class QComboBox;

namespace vellumar {

class RecoveryDialog : public QDialog {
    Q_OBJECT
public:
    enum Choice { Recover, Discard, DecideLater }; // the rows of each entry's box

    RecoveryDialog(const std::vector<RecoveryEntry>& entries, QWidget* parent = nullptr);

    // What each entry is to become, in the order given; every entry is
    // recovered until the user chooses otherwise.
    Choice ChoiceOf(size_t entry) const;
    // One line an entry: what it is, its file, its last change, its spells.
    static QString EntryText(const RecoveryEntry& entry);

    std::vector<QComboBox*> cbChoices;
};

} // namespace vellumar
