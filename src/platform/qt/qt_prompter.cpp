#include "platform/qt/qt_prompter.h"

#include "platform/qt/file_dialog.h"
#include "platform/qt/font_colour_dialog.h"
#include "platform/qt/printer_setup_dialog.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace vellumar {
namespace {

QMessageBox::Icon IconOf(BoxKind kind) {
    switch (kind) {
    case BoxKind::Error:
        return QMessageBox::Critical;
    case BoxKind::Information:
        return QMessageBox::Information;
    case BoxKind::Confirmation:
        return QMessageBox::Question;
    case BoxKind::Warning:
        return QMessageBox::Warning;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(BoxButtons buttons) {
    switch (buttons) {
    case BoxButtons::Ok:
        return QMessageBox::Ok;
    case BoxButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case BoxButtons::YesNo:
    case BoxButtons::YesNoDefaultNo:
        return QMessageBox::Yes | QMessageBox::No;
    case BoxButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QString RunFileDialog(QWidget* parent, const FileDialogSpec& request,
                      QFileDialog::AcceptMode mode) {
    FileDialog dialog(parent, request, mode);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.Chosen();
}

} // namespace

Answer QtPrompter::Message(QWidget* parent, BoxKind kind, BoxButtons buttons, const QString& text,
                           const QString& title, const QString& informative) {
    QMessageBox box(IconOf(kind), title.isEmpty() ? defaultTitle_ : title,
                    QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                    ButtonsOf(buttons), parent);
    box.setTextFormat(Qt::PlainText);
    if (!informative.isEmpty()) box.setInformativeText(informative);
    if (buttons == BoxButtons::YesNoDefaultNo) box.setDefaultButton(QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return buttons == BoxButtons::YesNo || buttons == BoxButtons::YesNoDefaultNo
                   ? Answer::No
                   : Answer::Cancel;
    }
}

QString QtPrompter::OpenFile(QWidget* parent, const FileDialogSpec& request) {
    return RunFileDialog(parent, request, QFileDialog::AcceptOpen);
}

QString QtPrompter::SaveFile(QWidget* parent, const FileDialogSpec& request) {
    return RunFileDialog(parent, request, QFileDialog::AcceptSave);
}

QString QtPrompter::ChooseFolder(QWidget* parent, const QString& title, const QString& start) {
    return QFileDialog::getExistingDirectory(parent, title, start);
}

bool QtPrompter::ChooseFont(QWidget* parent, QFont& font, QColor& colour) {
    FontColourDialog dialog(font, colour, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    font = dialog.selectedFont();
    colour = dialog.Colour();
    return true;
}

bool QtPrompter::PrintDialog(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrompter::PrinterSetup(QWidget* parent, QPrinter& printer) {
    PrinterSetupDialog dialog(printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

int QtPrompter::Exec(QDialog& dialog) {
    return dialog.exec();
}

} // namespace vellumar
