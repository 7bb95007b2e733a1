#pragma once
// A Prompter for runs that no person watches (--quit-after-start): every box
// is printed to standard error and answered at once with the answer that
// changes nothing; every dialog is cancelled.

#include "platform/qt/prompter.h"

#include <cstdio>

namespace vellumar {

class StandardErrorPrompter : public Prompter {
public:
    explicit StandardErrorPrompter(QString defaultTitle, std::FILE* out = stderr)
        : defaultTitle_(std::move(defaultTitle)), out_(out) {}

    Answer Message(QWidget* parent, BoxKind kind, BoxButtons buttons, const QString& text,
                   const QString& title = QString(),
                   const QString& informative = QString()) override;
    QString OpenFile(QWidget*, const FileDialogSpec&) override { return {}; }
    QString SaveFile(QWidget*, const FileDialogSpec&) override { return {}; }
    QString ChooseFolder(QWidget*, const QString&, const QString&) override { return {}; }
    bool ChooseFont(QWidget*, QFont&, QColor&) override { return false; }
    bool PrintDialog(QWidget*, QPrinter&) override { return false; }
    bool PrinterSetup(QWidget*, QPrinter&) override { return false; }
    int Exec(QDialog& dialog) override;

private:
    QString defaultTitle_;
    std::FILE* out_;
};

} // namespace vellumar
