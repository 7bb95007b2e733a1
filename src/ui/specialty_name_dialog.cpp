#include "ui/specialty_name_dialog.h"

#include "platform/qt/help_topics.h"
#include "platform/qt/ok_cancel_buttons.h"
#include "platform/qt/prompter.h"
#include "platform/qt/text_conversion.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vellumar {

TfrmSpecialtyName::TfrmSpecialtyName(QWidget* owner)
    // A title bar without any border icons.
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("frmSpecialtyName"));
    setProperty("helpTopic", int(TopicSpecialtyName));
    setFixedSize(236, 95);

    lblPrompt = new QLabel(this);
    lblPrompt->setObjectName(QStringLiteral("lblPrompt"));
    lblPrompt->setGeometry(3, 6, 232, 18);
    ebSpecialtyName = new QLineEdit(this);
    ebSpecialtyName->setObjectName(QStringLiteral("ebSpecialtyName"));
    ebSpecialtyName->setGeometry(3, 28, 230, 24);
    lblPrompt->setBuddy(ebSpecialtyName);

    std::tie(bnOK, bnCancel) = AddOkCancelButtons(*this);
    bnOK->setGeometry(34, 62, 75, 25);
    bnCancel->setGeometry(127, 62, 75, 25);

    if (owner) move(owner->window()->pos() + QPoint(113, 24));
}

std::optional<std::string> AskSpecialtyName(Prompter& prompter, QWidget* owner,
                                            const QString& caption, const QString& prompt,
                                            const std::string& preset) {
    TfrmSpecialtyName dialog(owner);
    dialog.setWindowTitle(caption);
    dialog.lblPrompt->setText(prompt);
    dialog.ebSpecialtyName->setText(ToQString(preset));
    dialog.ebSpecialtyName->selectAll();
    if (prompter.Exec(dialog) != QDialog::Accepted) return std::nullopt;
    return FromQString(dialog.ebSpecialtyName->text());
}

} // namespace vellumar
