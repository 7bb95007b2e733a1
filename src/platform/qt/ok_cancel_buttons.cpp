#include "platform/qt/ok_cancel_buttons.h"

#include <QDialog>
#include <QPushButton>

namespace vellumar {

std::pair<QPushButton*, QPushButton*> AddOkCancelButtons(QDialog& dialog) {
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setObjectName(QStringLiteral("bnOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), &dialog);
    cancel->setObjectName(QStringLiteral("bnCancel"));
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    return {ok, cancel};
}

} // namespace vellumar
