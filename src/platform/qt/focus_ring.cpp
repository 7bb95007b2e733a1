#include "platform/qt/focus_ring.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFocusFrame>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>
#include <QToolButton>

namespace vellumar {

namespace {

// QFocusFrame follows its widget's moves, resizes and hiding and is masked to
// a ring just outside it; only the colour is ours.
class FocusRing : public QFocusFrame {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), palette().color(QPalette::Active, QPalette::Highlight));
    }
};

bool TakesRing(const QWidget* widget) {
    return widget &&
           (qobject_cast<const QAbstractItemView*>(widget) ||
            qobject_cast<const QTextEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget) ||
            qobject_cast<const QToolButton*>(widget)) && // its own mark is a faint tint
           widget->window()->windowType() != Qt::Popup;  // a combo box's open list
}

} // namespace

void RingFocusedViews(QObject& owner) {
    // The ring lives among its widget's siblings and dies with their parent.
    QObject::connect(qApp, &QApplication::focusChanged, &owner,
                     [ring = QPointer<FocusRing>()](QWidget*, QWidget* now) mutable {
                         if (!TakesRing(now)) {
                             if (ring) ring->setWidget(nullptr);
                             return;
                         }
                         if (!ring) ring = new FocusRing;
                         ring->setWidget(now);
                     });
}

} // namespace vellumar
