#pragma once
// The Prompter of the running program: Qt's message boxes and standard dialogs.

#include "platform/qt/prompter.h"

namespace vellumar {

class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QString defaultTitle) : defaultTitle_(std::move(defaultTitle)) {}

    Answer Message(QWidget* parent, BoxKind kind, BoxButtons buttons, const QString& text,
                   const QString& title = QString(),
                   const QString& informative = QString()) override;
    QString OpenFile(QWidget* parent, const FileDialogSpec& request) override;
    QString SaveFile(QWidget* parent, const FileDialogSpec& request) override;
    QString ChooseFolder(QWidget* parent, const QString& title, const QString& start) override;
    bool ChooseFont(QWidget* parent, QFont& font, QColor& colour) override;
    bool PrintDialog(QWidget* parent, QPrinter& printer) override;
    bool PrinterSetup(QWidget* parent, QPrinter& printer) override;
    int Exec(QDialog& dialog) override;

private:
    QString defaultTitle_;
};

} // namespace vellumar
