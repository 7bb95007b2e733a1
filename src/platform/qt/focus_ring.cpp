#include "platform/qt/focus_ring.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QEvent>
#include <QFocusFrame>
#include <QMdiArea>
#include <QPainter>
#include <QPointer>
#include <QToolButton>

namespace vellumar {

namespace {

bool TakesRing(const QWidget* widget) {
    // Lists, text panes and the print preview's page scroll; the frame's
    // document area holds windows with focus marks of their own.
    return widget &&
           ((qobject_cast<const QAbstractScrollArea*>(widget) &&
             !qobject_cast<const QMdiArea*>(widget)) ||
            qobject_cast<const QToolButton*>(widget)) && // its own mark is a faint tint
           widget->window()->windowType() != Qt::Popup;  // a combo box's open list
}

// Drawn over the focused widget's own edge: outside it, a splitter or a
// neighbour pressed against it would cut the ring. A QFocusFrame (without its
// own placing, which draws outside) because Qt's accessibility leaves those out
// of their widget's children: the ring is nothing a screen reader should read.
class FocusRing : public QFocusFrame {
public:
    void Follow(QWidget* widget) {
        if (widget_) widget_->removeEventFilter(this);
        widget_ = widget;
        if (!widget) return hide();
        setParent(widget);
        widget->installEventFilter(this);
        Fit();
        show();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize) Fit();
        return false;
    }
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), palette().color(QPalette::Active, QPalette::Highlight));
    }

private:
    void Fit() {
        constexpr int Width = 2;
        setGeometry(widget_->rect());
        setMask(QRegion(rect()) - QRegion(rect().adjusted(Width, Width, -Width, -Width)));
        raise();
    }

    QPointer<QWidget> widget_;
};

} // namespace

void RingFocusedViews(QObject& owner) {
    // The ring moves into the focused widget, and dies with the last one it was in.
    QObject::connect(qApp, &QApplication::focusChanged, &owner,
                     [ring = QPointer<FocusRing>()](QWidget*, QWidget* now) mutable {
                         if (!TakesRing(now)) {
                             if (ring) ring->Follow(nullptr);
                             return;
                         }
                         if (!ring) ring = new FocusRing;
                         ring->Follow(now);
                     });
}

} // namespace vellumar
