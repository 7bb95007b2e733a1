#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace vellumar {
namespace {

void CentreAt(QWidget& dialog, const QPoint& centre, const QScreen* screen) {
    dialog.adjustSize();
    QRect frame(QPoint(), dialog.size());
    frame.moveCenter(centre);
    if (screen) {
        const QRect room = screen->availableGeometry();
        frame.moveLeft(std::max(room.left(), std::min(frame.left(), room.right() - frame.width())));
        frame.moveTop(std::max(room.top(), std::min(frame.top(), room.bottom() - frame.height())));
    }
    dialog.move(frame.topLeft());
}

} // namespace

void CentreOnScreen(QWidget& dialog) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen) CentreAt(dialog, screen->availableGeometry().center(), screen);
}

void CentreOver(QWidget& dialog, const QWidget& over) {
    const QPoint centre = over.mapToGlobal(over.rect().center());
    const QScreen* screen = QGuiApplication::screenAt(centre);
    CentreAt(dialog, centre, screen ? screen : QGuiApplication::primaryScreen());
}

} // namespace vellumar
