#pragma once
// Ends a start-up measurement once the watched window has been painted.

#include <QApplication>
#include <QEvent>
#include <QTimer>

class QuitOnPaint : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) QTimer::singleShot(0, qApp, &QApplication::quit);
        return QObject::eventFilter(watched, event);
    }
};
