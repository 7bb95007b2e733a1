#pragma once
// A window's commands as the rows of one table: each row puts one action into
// a menu, menu bar, tool bar or button with its text, keys, hint and picture,
// and runs a handler of the window when triggered.

#include <QAbstractButton>
#include <QAction>
#include <QHash>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QToolButton>
#include <QWidget>
#include <functional>
#include <initializer_list>

namespace vellumar {

// A command's keys: the one it is known by, and optionally the desktop's
// standard key for the same job as a second choice.
struct CommandKeys {
    CommandKeys() = default;
    CommandKeys(Qt::Key key) : keys{QKeySequence(key)} {}
    CommandKeys(QKeyCombination key) : keys{QKeySequence(key)} {}
    CommandKeys(const QKeySequence& key) : keys{key} {}
    CommandKeys(QKeySequence::StandardKey standard) : keys(Standard(standard)) {}
    CommandKeys(const QKeySequence& key, QKeySequence::StandardKey standard) : keys{key} {
        for (const QKeySequence& other : Standard(standard))
            if (!keys.contains(other)) keys.append(other);
    }
    QList<QKeySequence> keys;

    // The desktop's keys for a standard job; where it defines none (a plain
    // X11 window manager has no Save As and may have no Close), the keys
    // other desktops agree on.
    static QList<QKeySequence> Standard(QKeySequence::StandardKey standard) {
        QList<QKeySequence> bound = QKeySequence::keyBindings(standard);
        if (!bound.isEmpty()) return bound;
        switch (standard) {
        case QKeySequence::SaveAs:
            return {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)};
        case QKeySequence::Close:
            return {QKeySequence(Qt::CTRL | Qt::Key_W)};
        default:
            return {};
        }
    }
};

// One row of a window's command table, written with designated initialisers,
// one row a line: `{.place = file, .text = "&Save", .handler = &W::mnuSaveClick}`.
// A row with only a place is a separator.
template <class Window> struct CommandRow {
    QWidget* place = nullptr;
    const char* text = nullptr; // none: a separator
    // Takes any member function of the window; a returned value is dropped.
    std::function<void(Window&)> handler{};
    CommandKeys keys{};
    const char* hint = nullptr; // the status tip in a menu, the tool tip elsewhere
    QIcon picture{};
    const char* id = nullptr; // the action's object name, and its key in CommandActions
};

// The actions a table made, by the id of their row.
class CommandActions {
public:
    void Add(const char* id, QAction* action) {
        const QString key = QString::fromLatin1(id);
        Q_ASSERT_X(!actions_.contains(key), "CommandActions", "an id given twice");
        actions_.insert(key, action);
    }
    QAction* At(const char* id) const {
        QAction* action = actions_.value(QString::fromLatin1(id));
        Q_ASSERT_X(action, "CommandActions::At", "no row has this id");
        return action;
    }
    qsizetype Size() const { return actions_.size(); }

private:
    QHash<QString, QAction*> actions_;
};

// Creates each row's action and puts it in its place. A tool button takes its
// action as its default one, showing the text as written; any other button
// takes the text and runs the action when clicked.
template <class Window>
CommandActions AddCommands(Window& window, std::initializer_list<CommandRow<Window>> rows) {
    CommandActions made;
    for (const CommandRow<Window>& row : rows) {
        auto* action = new QAction(row.place);
        if (!row.text) {
            action->setSeparator(true);
            row.place->addAction(action);
            continue;
        }
        const QString text = QString::fromLatin1(row.text);
        action->setText(text);
        action->setShortcuts(row.keys.keys);
        if (row.hint) {
            if (qobject_cast<QMenu*>(row.place))
                action->setStatusTip(QString::fromLatin1(row.hint));
            else
                action->setToolTip(QString::fromLatin1(row.hint));
        }
        if (!row.picture.isNull()) action->setIcon(row.picture);
        if (row.id) {
            action->setObjectName(QString::fromLatin1(row.id));
            made.Add(row.id, action);
        }
        QObject::connect(action, &QAction::triggered, &window,
                         [&window, handler = row.handler] { handler(window); });
        if (auto* tool = qobject_cast<QToolButton*>(row.place)) {
            action->setIconText(text);
            tool->setDefaultAction(action);
        } else if (auto* button = qobject_cast<QAbstractButton*>(row.place)) {
            button->setText(text);
            QObject::connect(button, &QAbstractButton::clicked, action, &QAction::trigger);
        } else {
            row.place->addAction(action);
        }
    }
    return made;
}

} // namespace vellumar
