#include "platform/qt/qt_prompter.h"

#include "platform/qt/box_buttons.h"
#include "platform/qt/file_dialog.h"
#include "platform/qt/font_colour_dialog.h"
#include "platform/qt/printer_setup_dialog.h"

#include <QDialog>
#include <QFileDialog>
#include <QHash>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <array>

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

// Each answer's button: one of Qt's standard ones, or one of our own texts.
struct AnswerButton {
    Answer answer;
    QMessageBox::StandardButton standard;
    const char* text;
    QMessageBox::ButtonRole role;
};

constexpr std::array<AnswerButton, 6> AnswerButtons{{
    {Answer::Ok, QMessageBox::Ok, nullptr, QMessageBox::AcceptRole},
    {Answer::Cancel, QMessageBox::Cancel, nullptr, QMessageBox::RejectRole},
    {Answer::Yes, QMessageBox::Yes, nullptr, QMessageBox::YesRole},
    {Answer::No, QMessageBox::No, nullptr, QMessageBox::NoRole},
    {Answer::OkToAll, QMessageBox::NoButton, "OK to All", QMessageBox::AcceptRole},
    {Answer::CancelAll, QMessageBox::NoButton, "Cancel All", QMessageBox::RejectRole},
}};

QAbstractButton* AddButton(QMessageBox& box, Answer answer) {
    for (const AnswerButton& button : AnswerButtons) {
        if (button.answer != answer) continue;
        if (button.standard != QMessageBox::NoButton) return box.addButton(button.standard);
        return box.addButton(QString::fromLatin1(button.text), button.role);
    }
    return nullptr;
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
                    QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    if (!informative.isEmpty()) box.setInformativeText(informative);
    QHash<QAbstractButton*, Answer> answers;
    for (Answer answer : AnswersOf(buttons)) {
        QAbstractButton* button = AddButton(box, answer);
        answers.insert(button, answer);
        // Esc is Cancel, also beside Cancel All.
        if (answer == Answer::Cancel) box.setEscapeButton(button);
        if (answer == DefaultAnswer(buttons))
            box.setDefaultButton(qobject_cast<QPushButton*>(button));
    }
    box.exec();
    return answers.value(box.clickedButton(), UnansweredAnswer(buttons));
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
