#pragma once
// The open and save dialog of the program, built from a FileDialogSpec. It
// shows each filter's description as given, matches its patterns in either
// letter case, and resolves a bare name typed by the user (see
// ResolveTypedFileName) before the dialog checks that the file exists.

#include "platform/qt/prompter.h"

#include <QFileDialog>

namespace vellumar {

// One filter of a "description|pattern|..." text in Qt's form, "description
// (patterns)", and its patterns: each pattern also in lower and upper case.
struct FileFilter {
    QString description;
    QString qtFilter;
    QStringList patterns;
};
QList<FileFilter> QtFileFilters(const QString& pipeFilter);

class FileDialog : public QFileDialog {
    Q_OBJECT
public:
    FileDialog(QWidget* parent, const FileDialogSpec& request, AcceptMode mode);

    // The chosen path, once the dialog was accepted.
    QString Chosen() const { return selectedFiles().value(0); }

    void accept() override;

private:
    QString defaultSuffix_;
    QStringList descriptions_;          // of the filters, in order
    QList<QStringList> filterPatterns_; // the patterns of each
};

} // namespace vellumar
