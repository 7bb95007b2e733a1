// Vellumar's start-up as the user meets it: settings, specialty table, master
// list and the hidden windows, ending once the frame window has been painted.

#include "platform/qt/qt_prompter.h"
#include "ui/app.h"
#include "ui/frame_window.h"

#include "quit_on_paint.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    vellumar::QtPrompter prompter(QString::fromLatin1(vellumar::AppTitle));
    vellumar::VellumarApp app(prompter);
    QuitOnPaint quit;
    app.Start(1);
    app.Frame().installEventFilter(&quit);
    return QApplication::exec();
}
