#include "ui/card_divider.h"

#include <QKeyEvent>
#include <QPainter>
#include <QSplitterHandle>
#include <algorithm>

namespace vellumar {
namespace {

// Neither part shrinks below a line or so; the share decides the rest.
constexpr int MinPartHeight = 24;

class CardHandle : public QSplitterHandle {
public:
    CardHandle(Qt::Orientation orientation, CardDivider* divider)
        : QSplitterHandle(orientation, divider), divider_(divider) {
        setAccessibleName(QStringLiteral("Spell text divider"));
        setAccessibleDescription(
            QStringLiteral("Up and Down move it, giving the spell text less or more room"));
        setFocusPolicy(Qt::TabFocus);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const int line = fontMetrics().height();
        int step = 0;
        switch (event->key()) {
        case Qt::Key_Up:
            step = -line;
            break;
        case Qt::Key_Down:
            step = line;
            break;
        case Qt::Key_PageUp:
            step = -5 * line;
            break;
        case Qt::Key_PageDown:
            step = 5 * line;
            break;
        default:
            return QSplitterHandle::keyPressEvent(event);
        }
        moveSplitter(closestLegalPosition(y() + step));
    }
    // Written once the key is let go: a held key repeats its presses.
    void keyReleaseEvent(QKeyEvent* event) override {
        QSplitterHandle::keyReleaseEvent(event);
        if (!event->isAutoRepeat()) divider_->UserMoved();
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        QSplitterHandle::mouseReleaseEvent(event);
        divider_->UserMoved();
    }
    // A thin handle has no room for a ring: focused, it takes the highlight.
    void paintEvent(QPaintEvent* event) override {
        QSplitterHandle::paintEvent(event);
        if (hasFocus()) QPainter(this).fillRect(rect(), palette().color(QPalette::Highlight));
    }

private:
    CardDivider* divider_;
};

} // namespace

CardDivider::CardDivider(QWidget* list, QWidget* card, QWidget* parent)
    : QSplitter(Qt::Vertical, parent) {
    setObjectName(QStringLiteral("splSpellText"));
    setAccessibleName(QStringLiteral("Spell list and spell text"));
    setChildrenCollapsible(false);
    for (QWidget* part : {list, card}) {
        part->setMinimumHeight(MinPartHeight);
        addWidget(part);
    }
    connect(this, &QSplitter::splitterMoved, this, &CardDivider::TakeShare);
}

QSplitterHandle* CardDivider::createHandle() {
    return new CardHandle(orientation(), this);
}

void CardDivider::SetCardShare(int share) {
    share_ = std::clamp(share, MinShare, MaxShare);
    chosen_ = share_;
    KeepShare();
}

void CardDivider::KeepShare() {
    if (count() < 2 || !widget(1)->isVisibleTo(this)) return;
    const int room = std::max(height() - handleWidth(), 0);
    const int card = room * share_ / WholeShare;
    setSizes({room - card, card});
}

void CardDivider::TakeShare() {
    const QList<int> parts = sizes();
    if (parts.size() < 2 || parts[0] + parts[1] <= 0) return;
    const int room = parts[0] + parts[1];
    share_ = std::clamp((parts[1] * WholeShare + room / 2) / room, MinShare, MaxShare);
}

void CardDivider::UserMoved() {
    if (share_ == chosen_) return;
    chosen_ = share_;
    emit CardShareChosen(share_);
}

void CardDivider::resizeEvent(QResizeEvent* event) {
    QSplitter::resizeEvent(event);
    KeepShare();
}

} // namespace vellumar
