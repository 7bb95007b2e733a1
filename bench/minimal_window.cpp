// The yardstick for start-up: a Qt Widgets program that shows an empty main
// window and ends once it has been painted.

#include "quit_on_paint.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    QuitOnPaint quit;
    window.installEventFilter(&quit);
    window.showMaximized();
    return QApplication::exec();
}
