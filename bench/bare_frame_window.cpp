// The least a frame like Vellumar's costs: a maximised main window with a menu
// bar, a two-button tool bar and an empty document area, nothing behind them.
// It ends once it has been painted. Shows how much of the start-up budget the
// frame's text and bars take before the program does any work of its own.

#include "quit_on_paint.h"

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Vellumar 95"));
    window.setCentralWidget(new QMdiArea);
    for (const char* title : {"&File", "&Options", "&Window", "&Help"})
        window.menuBar()->addMenu(QString::fromLatin1(title))->addAction(QStringLiteral("Item"));
    QToolBar* tools = window.addToolBar(QStringLiteral("Vellumar"));
    tools->addAction(QStringLiteral("New"));
    tools->addAction(QStringLiteral("Open"));
    QuitOnPaint quit;
    window.installEventFilter(&quit);
    window.showMaximized();
    return QApplication::exec();
}
