#pragma once
// Chooses the folder in which the Open Spellbook dialog starts: a drive box
// (on Linux, the mounted file systems) and the folder tree of the chosen drive.

#include <QDialog>

class QComboBox;
class QFileSystemModel;
class QPushButton;
class QTreeView;

namespace vellumar {

class TfrmDataDirectory : public QDialog {
    Q_OBJECT
public:
    TfrmDataDirectory(const QString& startFolder, QWidget* parent = nullptr);

    // Whether a folder exists and can be listed.
    static bool CanOpen(const QString& folder);

    // Moves the drive box and the tree to a folder and selects it.
    void SelectFolder(const QString& folder);
    // The folder selected in the tree, with a trailing '/'.
    QString SelectedFolder() const;

    QComboBox* cbDrive;
    QTreeView* tvFolders;
    QPushButton* bnOK;
    QPushButton* bnCancel;

private:
    void ShowDrive(const QString& root);
    QFileSystemModel* model_;
};

} // namespace vellumar
