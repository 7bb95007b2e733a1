#include "platform/qt/standard_error_prompter.h"

#include "platform/qt/box_buttons.h"

#include <QDialog>

namespace vellumar {
namespace {

const char* KindName(BoxKind kind) {
    switch (kind) {
    case BoxKind::Error:
        return "error";
    case BoxKind::Information:
        return "information";
    case BoxKind::Confirmation:
        return "question";
    case BoxKind::Warning:
        return "warning";
    }
    return "message";
}

} // namespace

Answer StandardErrorPrompter::Message(QWidget*, BoxKind kind, BoxButtons buttons,
                                      const QString& text, const QString& title,
                                      const QString& informative) {
    QString shown = informative.isEmpty() ? text : text + QStringLiteral("\n") + informative;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fprintf(out_, "%s: %s: %s\n", qPrintable(title.isEmpty() ? defaultTitle_ : title),
                 KindName(kind), qPrintable(shown));
    std::fflush(out_);
    return UnansweredAnswer(buttons);
}

int StandardErrorPrompter::Exec(QDialog& dialog) {
    std::fprintf(out_, "%s: dialog '%s' cancelled\n", qPrintable(defaultTitle_),
                 qPrintable(dialog.windowTitle()));
    // What the dialog would have shown, where it says so for a reader.
    const QString description = dialog.accessibleDescription();
    if (!description.isEmpty()) std::fprintf(out_, "%s\n", qPrintable(description));
    std::fflush(out_);
    return QDialog::Rejected;
}

} // namespace vellumar
