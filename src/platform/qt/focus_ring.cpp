#include "platform/qt/focus_ring.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFocusFrame>
#include <QMdiArea>
#include <QPainter>
#include <QPointer>
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
    // Lists, text panes and the print preview's page scroll; the frame's
    // document area holds windows with focus marks of their own.
    return widget &&
           ((qobject_cast<const QAbstractScrollArea*>(widget) &&
             !qobject_cast<const QMdiArea*>(widget)) ||
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
