#include "ui/focus_leave_rule.h"

#include <QApplication>
#include <QFocusEvent>
#include <QTimer>
#include <QWidget>

namespace vellumar {
namespace {

// The button that moved the focus is up again. A drag swallows its release,
// so the next move or key without a button held counts as well.
bool MouseReleased(const QEvent& event) {
    switch (event.type()) {
    case QEvent::MouseButtonRelease:
        return true;
    case QEvent::MouseMove:
    case QEvent::KeyPress:
        return QGuiApplication::mouseButtons() == Qt::NoButton;
    default:
        return false;
    }
}

} // namespace

FocusLeaveRule::FocusLeaveRule(QWidget* field, QWidget* window, std::function<bool()> quiet,
                               std::function<void()> left)
    : QObject(window), field_(field), window_(window), quiet_(std::move(quiet)),
      left_(std::move(left)) {
    field_->installEventFilter(this);
}

FocusLeaveRule::~FocusLeaveRule() {
    if (awaitingRelease_) qApp->removeEventFilter(this);
}

bool FocusLeaveRule::eventFilter(QObject* watched, QEvent* event) {
    if (watched == field_ && event->type() == QEvent::FocusOut)
        FieldLeft(static_cast<QFocusEvent*>(event)->reason());
    else if (awaitingRelease_ && MouseReleased(*event)) {
        awaitingRelease_ = false;
        qApp->removeEventFilter(this);
        QTimer::singleShot(0, this, &FocusLeaveRule::AskAfterRelease);
    }
    return QObject::eventFilter(watched, event);
}

void FocusLeaveRule::FieldLeft(Qt::FocusReason reason) {
    // The focus has already moved on when the field hears of it. Its own list,
    // a box or window that opened, or a closing window is no move of the user.
    const QWidget* now = QApplication::focusWidget();
    if (quiet_() || reason == Qt::PopupFocusReason || !now || now == field_ ||
        !window_->isAncestorOf(now))
        return;
    if (reason == Qt::MouseFocusReason) {
        // A modal question now would take the release, and the click would be lost.
        if (!awaitingRelease_) qApp->installEventFilter(this);
        awaitingRelease_ = true;
        return;
    }
    QTimer::singleShot(0, this, &FocusLeaveRule::AskAfterRelease);
}

void FocusLeaveRule::AskAfterRelease() {
    const QWidget* now = QApplication::focusWidget();
    if (quiet_() || !window_->isVisible() || !now || !window_->isAncestorOf(now)) return;
    left_();
}

} // namespace vellumar
