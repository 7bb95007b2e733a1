// The rows of a window's command table: each row's action lands in its place
// with its text, keys, hint and picture, and runs the window's handler.

#include "platform/qt/command_table.h"

#include <QApplication>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace vellumar;

namespace {

class Window : public QWidget {
public:
    void First() { ++first; }
    bool Second() {
        ++second;
        return true;
    }
    int first = 0;
    int second = 0;
};

QIcon Picture() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    return QIcon(pixmap);
}

} // namespace

class CommandTableTest : public QObject {
    Q_OBJECT
private slots:
    void menuRowsKeepTheirOrderKeysAndStatusTips() {
        Window window;
        auto* menu = new QMenu(&window);
        // clang-format off
        AddCommands<Window>(window, {
            {.place = menu, .text = "&First", .handler = &Window::First, .keys = Qt::Key_F2, .hint = "Runs one"},
            {.place = menu},
            {.place = menu, .text = "&Second", .handler = &Window::Second},
        });
        // clang-format on
        const QList<QAction*> actions = menu->actions();
        QCOMPARE(actions.size(), 3);
        QCOMPARE(actions[0]->text(), QStringLiteral("&First"));
        QCOMPARE(actions[0]->shortcut(), QKeySequence(Qt::Key_F2));
        QCOMPARE(actions[0]->statusTip(), QStringLiteral("Runs one"));
        QCOMPARE(actions[0]->toolTip(), QStringLiteral("First"));
        QVERIFY(actions[0]->icon().isNull());
        QVERIFY(actions[1]->isSeparator());
        QVERIFY(actions[2]->shortcut().isEmpty());
        QVERIFY(actions[2]->statusTip().isEmpty());
        actions[0]->trigger();
        QCOMPARE(window.first, 1);
        QCOMPARE(window.second, 0);
        actions[2]->trigger();
        QCOMPARE(window.second, 1);
        // Save As and Close have their keys also where the desktop defines none.
        QVERIFY(CommandKeys(QKeySequence::SaveAs).keys.contains(QKeySequence("Ctrl+Shift+S")));
        QVERIFY(CommandKeys(Qt::Key_F4, QKeySequence::Close).keys.contains(QKeySequence("Ctrl+W")));
    }

    void toolBarRowsShowTheirHintAndPicture_data() {
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("tip");
        QTest::newRow("hint given") << QStringLiteral("Close the list") << "Close the list";
        QTest::newRow("text as tip") << QString() << "Print Spellbook";
    }

    void toolBarRowsShowTheirHintAndPicture() {
        QFETCH(QString, hint);
        QFETCH(QString, tip);
        Window window;
        auto* tools = new QToolBar(&window);
        const QByteArray hintBytes = hint.toLatin1();
        AddCommands<Window>(window, {{.place = tools,
                                      .text = "Print Spellbook",
                                      .handler = &Window::First,
                                      .hint = hint.isEmpty() ? nullptr : hintBytes.constData(),
                                      .picture = Picture(),
                                      .id = "bnPrint"}});
        auto* action = tools->findChild<QAction*>(QStringLiteral("bnPrint"));
        QVERIFY(action);
        QCOMPARE(tools->actions(), QList<QAction*>{action});
        QCOMPARE(action->toolTip(), tip);
        QVERIFY(action->statusTip().isEmpty());
        QVERIFY(!action->icon().isNull());
        action->trigger();
        QCOMPARE(window.first, 1);
    }

    void buttonsShowTheTextAsWrittenAndRunTheHandler() {
        Window window;
        auto* tool = new QToolButton(&window);
        tool->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        auto* push = new QPushButton(&window);
        // clang-format off
        AddCommands<Window>(window, {
            {.place = tool, .text = "E&xit", .handler = &Window::First, .hint = "Close", .picture = Picture()},
            {.place = push, .text = "Change Font", .handler = &Window::Second},
        });
        // clang-format on
        QVERIFY(tool->defaultAction());
        QCOMPARE(tool->text(), QStringLiteral("E&xit"));
        QCOMPARE(tool->toolTip(), QStringLiteral("Close"));
        QVERIFY(!tool->icon().isNull());
        QCOMPARE(push->text(), QStringLiteral("Change Font"));
        tool->click();
        push->click();
        QCOMPARE(window.first, 1);
        QCOMPARE(window.second, 1);
    }

    void theActionsMadeAreFoundByTheirRowsIds() {
        Window window;
        auto* menu = new QMenu(&window);
        auto* push = new QPushButton(&window);
        // clang-format off
        const CommandActions actions = AddCommands<Window>(window, {
            {.place = menu, .text = "&First", .handler = &Window::First, .id = "mnuFirst"},
            {.place = menu},
            {.place = menu, .text = "&Second", .handler = &Window::Second},
            {.place = push, .text = "Second", .handler = &Window::Second, .id = "bnSecond"},
        });
        // clang-format on
        QCOMPARE(actions.Size(), 2);
        QCOMPARE(actions.At("mnuFirst"), menu->actions().first());
        QCOMPARE(actions.At("bnSecond")->parent(), static_cast<QObject*>(push));
        actions.At("bnSecond")->trigger();
        QCOMPARE(window.second, 1);
    }
};

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    CommandTableTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "command_table_test.moc"
