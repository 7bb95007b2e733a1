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
    // The row of each entry, short enough to read at a glance: the file's
    // name (or "untitled"), its spells and the time of its last change, to
    // the second where two rows would read alike.
    static QStringList RowTexts(const std::vector<RecoveryEntry>& entries);
    // The whole path of the entry's file, or what is known of a book never saved.
    static QString WhereText(const RecoveryEntry& entry);

    std::vector<QComboBox*> cbChoices;

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace vellumar
