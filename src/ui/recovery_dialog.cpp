#include "ui/recovery_dialog.h"

#include "platform/qt/ok_cancel_buttons.h"
#include "platform/qt/text_conversion.h"

#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vellumar {

RecoveryDialog::RecoveryDialog(const std::vector<RecoveryEntry>& entries, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmRecovery"));
    setWindowTitle(QStringLiteral("Recover Unsaved Work"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(
        QStringLiteral("Vellumar did not end properly. This unsaved work was kept:"), this);
    layout->addWidget(intro);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    QStringList lines;
    QList<QWidget*> chain;
    for (const RecoveryEntry& entry : entries) {
        const QString text = EntryText(entry);
        lines << text;
        auto* label = new QLabel(text, this);
        auto* choice = new QComboBox(this);
        choice->addItems(
            {QStringLiteral("Recover"), QStringLiteral("Discard"), QStringLiteral("Decide later")});
        label->setBuddy(choice);
        choice->setAccessibleName(text);
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(choice, row, 1);
        cbChoices.push_back(choice);
        chain << choice;
    }
    // Read out, and printed by a run that no person watches.
    setAccessibleDescription(lines.join(QLatin1Char('\n')));
    auto [ok, cancel] = AddOkCancelButtons(*this);
    cancel->setToolTip(QStringLiteral("Decide later about all of them"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    chain << ok << cancel;
    for (qsizetype k = 1; k < chain.size(); ++k) setTabOrder(chain[k - 1], chain[k]);
    if (!cbChoices.empty()) cbChoices.front()->setFocus();
}

RecoveryDialog::Choice RecoveryDialog::ChoiceOf(size_t entry) const {
    return Choice(cbChoices.at(entry)->currentIndex());
}

QString RecoveryDialog::EntryText(const RecoveryEntry& entry) {
    const RecoveryInfo& info = entry.info;
    const QString kind = info.kind == RecoveryKind::List ? QStringLiteral("Master list")
                                                         : QStringLiteral("Spellbook");
    const QString name = info.path.empty() ? QStringLiteral("untitled") : FromPath(info.path);
    const QString when =
        QDateTime::fromSecsSinceEpoch(info.time).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return QStringLiteral("%1 %2, changed %3, %4 spells").arg(kind, name, when).arg(info.spells);
}

} // namespace vellumar
