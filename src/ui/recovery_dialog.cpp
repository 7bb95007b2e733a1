#include "ui/recovery_dialog.h"

#include "platform/qt/help_topics.h"
#include "platform/qt/ok_cancel_buttons.h"
#include "platform/qt/text_conversion.h"

#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace vellumar {

namespace {

// A row's name, cut short in the middle (a file's extension stays) when the
// dialog has no room for all of it; the whole name is the tool tip.
class ElidedLabel : public QLabel {
public:
    ElidedLabel(const QString& shown, QWidget* parent)
        // As a buddy's label it would take a "&" of a file name for an access key.
        : QLabel(QString(shown).replace(QLatin1Char('&'), QStringLiteral("&&")), parent),
          shown_(shown) {}

    QSize minimumSizeHint() const override {
        constexpr int Letters = 12;
        return {fontMetrics().averageCharWidth() * Letters, QLabel::minimumSizeHint().height()};
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect room = contentsRect();
        style()->drawItemText(&painter, room, int(alignment()), palette(), isEnabled(),
                              fontMetrics().elidedText(shown_, Qt::ElideMiddle, room.width()),
                              foregroundRole());
    }

private:
    QString shown_;
};

QString When(long long time, bool seconds) {
    const QDateTime at = QDateTime::fromSecsSinceEpoch(time);
    const QString clock =
        at.toString(seconds ? QStringLiteral("HH:mm:ss") : QStringLiteral("HH:mm"));
    return at.date() == QDate::currentDate() ? clock
                                             : at.toString(QStringLiteral("yyyy-MM-dd ")) + clock;
}

QString RowText(const RecoveryEntry& entry, bool seconds) {
    const RecoveryInfo& info = entry.info;
    const QString name =
        info.path.empty() ? QStringLiteral("untitled") : QFileInfo(FromPath(info.path)).fileName();
    const QString kind =
        info.kind == RecoveryKind::List ? QStringLiteral("Master list ") : QString();
    const QString spells =
        info.spells == 1 ? QStringLiteral("1 spell") : QStringLiteral("%1 spells").arg(info.spells);
    return QStringLiteral("%1%2 (%3, %4)").arg(kind, name, spells, When(info.time, seconds));
}

} // namespace

RecoveryDialog::RecoveryDialog(const std::vector<RecoveryEntry>& entries, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmRecovery"));
    setWindowTitle(QStringLiteral("Recover Unsaved Work"));
    setProperty("helpTopic", int(TopicRecovery));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(
        QStringLiteral("Vellumar did not end properly. This unsaved work was kept:"), this);
    layout->addWidget(intro);
    auto* grid = new QGridLayout;
    grid->setColumnStretch(0, 1);
    layout->addLayout(grid);
    QStringList lines;
    QList<QWidget*> chain;
    const QStringList rows = RowTexts(entries);
    for (size_t k = 0; k < entries.size(); ++k) {
        const RecoveryEntry& entry = entries[k];
        lines << EntryText(entry);
        const QString& text = rows[qsizetype(k)];
        auto* label = new ElidedLabel(text, this);
        auto* choice = new QComboBox(this);
        choice->addItems(
            {QStringLiteral("Recover"), QStringLiteral("Discard"), QStringLiteral("Decide later")});
        label->setBuddy(choice);
        choice->setAccessibleName(text);
        for (QWidget* shown : {static_cast<QWidget*>(label), static_cast<QWidget*>(choice)}) {
            shown->setToolTip(WhereText(entry));
            shown->setAccessibleDescription(WhereText(entry));
        }
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

    // However long the names, the choices and buttons stay on the screen; the
    // window manager's frame comes on top of the width.
    constexpr int FrameRoom = 16;
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        setMaximumWidth(screen->availableGeometry().width() - FrameRoom);
    if (!cbChoices.empty()) cbChoices.front()->setFocus();
}

void RecoveryDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The dialog is answered from the keyboard at start: its first choice shows
    // the focus as it would after Tab (showing the window clears the mark).
    setAttribute(Qt::WA_KeyboardFocusChange);
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

QStringList RecoveryDialog::RowTexts(const std::vector<RecoveryEntry>& entries) {
    QStringList rows;
    for (const RecoveryEntry& entry : entries) rows << RowText(entry, false);
    const QStringList minutes = rows;
    for (size_t k = 0; k < entries.size(); ++k)
        if (minutes.count(minutes[qsizetype(k)]) > 1)
            rows[qsizetype(k)] = RowText(entries[k], true);
    return rows;
}

QString RecoveryDialog::WhereText(const RecoveryEntry& entry) {
    const RecoveryInfo& info = entry.info;
    if (!info.path.empty()) return FromPath(info.path);
    QString text = QStringLiteral("A new book, never saved");
    if (!info.choices.empty()) text += QStringLiteral(" (%1)").arg(ToQString(info.choices));
    return text;
}

} // namespace vellumar
