// The keyboard reaches every control of each window and dialog: Tab once each,
// in reading order, and no access key of a menu or window twice.

#include "output/qt/print_preview_window.h"
#include "platform/qt/font_colour_dialog.h"
#include "platform/qt/help_viewer.h"
#include "platform/qt/printer_setup_dialog.h"
#include "support/app_harness.h"
#include "support/focus_moves.h"
#include "support/spell_lists.h"
#include "ui/app_context.h"
#include "ui/frame_window.h"
#include "ui/master_list_window.h"
#include "ui/recovery_dialog.h"
#include "ui/specialty_maintenance_dialog.h"
#include "ui/spell_book_window.h"
#include "ui/spell_details_dialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QTest>
#include <QToolBar>

using namespace vellumar;
using namespace vellumar::test;

namespace {

// Rows by y (within a tolerance), then x; a framed group reads as one block,
// so each control stands for its block under the nearest parent the two share.
bool GoesBack(const QWidget* from, const QWidget* to, const QWidget& window, bool newColumn) {
    while (from->parentWidget() && !from->parentWidget()->isAncestorOf(to))
        from = from->parentWidget();
    while (to->parentWidget() != from->parentWidget()) to = to->parentWidget();
    const QPoint p = from->mapTo(&window, QPoint()), q = to->mapTo(&window, QPoint());
    if (std::abs(p.y() - q.y()) <= 12) return q.x() < p.x() - 12;
    return q.y() < p.y() && (!newColumn || q.x() < p.x() + 12); // up and right: a new column
}

void CheckTabOrder(QWidget& window) {
    window.setWindowModality(Qt::NonModal); // shown here, not exec'd
    QList<QWidget*> stops;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        auto* button = qobject_cast<QAbstractButton*>(control);
        // Buttons outside tool bars and fields must take Tab; of a radio group the chosen one.
        const bool needed = button && !qobject_cast<QToolBar*>(control->parent()) &&
                            !qobject_cast<QLineEdit*>(control->parent());
        if (control->isVisibleTo(&window) && control->isEnabled() && !control->focusProxy() &&
            (needed || control->focusPolicy() & Qt::TabFocus) &&
            !(button && button->group() && button->group()->exclusive() && !button->isChecked()))
            stops << control;
    }
    QVERIFY(!stops.isEmpty());
    QWidget* first = *std::min_element(stops.begin(), stops.end(), [&](auto* a, auto* b) {
        return GoesBack(b, a, window, false);
    });
    QVERIFY(GiveFocus(first));
    QList<QWidget*> walk{first};
    // A text browser tabs through its links first: bounded, generously.
    for (int press = 0; press < 50 * stops.size() && walk.size() <= stops.size(); ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (QApplication::focusWidget() == first) break;
        if (QApplication::focusWidget() != walk.back()) walk << QApplication::focusWidget();
    }
    QStringList seen;
    for (const QWidget* at : walk) seen << at->metaObject()->className() + ('/' + at->objectName());
    const QByteArray order = seen.join(QStringLiteral(", ")).toUtf8();
    QVERIFY2(walk.size() == stops.size() &&
                 QSet(walk.begin(), walk.end()) == QSet(stops.begin(), stops.end()),
             order.constData());
    for (qsizetype i = 1; i < walk.size(); ++i)
        QVERIFY2(!GoesBack(walk[i - 1], walk[i], window, true), order.constData());
}

// An access key and the text that holds it.
using AccessKeys = QList<std::pair<QKeySequence, QString>>;

// Both texts are the classic menu's own, which shares the letter between them.
bool ClassicClash(const QString& one, const QString& other) {
    const QSet<QString> pair{one, other};
    return pair == QSet<QString>{"Copy to Cli&pboard", "&Print Preview/Format..."};
}

void CheckUnique(const AccessKeys& keys, const QString& where) {
    for (qsizetype i = 0; i < keys.size(); ++i)
        for (qsizetype j = i + 1; j < keys.size(); ++j)
            QVERIFY2(keys[i].first.isEmpty() || keys[i].first != keys[j].first ||
                         ClassicClash(keys[i].second, keys[j].second),
                     qPrintable(where + ": " + keys[i].second + " / " + keys[j].second));
}

void CheckMenu(const QList<QAction*>& actions, const QString& where) {
    AccessKeys keys;
    for (const QAction* action : actions)
        if (action->isVisible() && !action->isSeparator())
            keys.append({QKeySequence::mnemonic(action->text()), action->text()});
    CheckUnique(keys, where);
}

// Alt and a letter answers in the whole window (the frame for a spellbook
// window): its menu bar's titles, its buttons and its fields' labels share the
// letters, those hidden for now too (a bar shown later); each menu has its own.
void CheckAccessKeys(QWidget& shown) {
    QWidget& window = *shown.window();
    AccessKeys keys;
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        if (control->window() != &window) continue;
        if (const auto* bar = qobject_cast<const QMenuBar*>(control))
            for (const QAction* title : bar->actions())
                keys.append({QKeySequence::mnemonic(title->text()), title->text()});
        if (const auto* button = qobject_cast<const QAbstractButton*>(control))
            keys.append({button->shortcut(), button->text()});
        const auto* label = qobject_cast<const QLabel*>(control);
        if (label && label->buddy())
            keys.append({QKeySequence::mnemonic(label->text()), label->text()});
        if (const auto* group = qobject_cast<const QGroupBox*>(control))
            keys.append({QKeySequence::mnemonic(group->title()), group->title()});
    }
    CheckUnique(keys, window.windowTitle());
    for (QMenu* menu : window.findChildren<QMenu*>()) CheckMenu(menu->actions(), menu->title());
}

// Opens a window and checks it, in a started program whose spellbook window
// (caster level 5) shows level 3.
using WindowCheck = void (*)(QWidget&);
using Check = std::function<void(AppHarness&, WindowCheck)>;

// A dialog that `open` runs modally: checked once it is exec'd.
Check Modal(void (*open)(AppHarness&)) {
    return [open](AppHarness& h, WindowCheck check) {
        h.prompter.Exec(check, false);
        open(h);
    };
}

// A dialog made just for the check, shown rather than exec'd.
Check Made(std::function<void(WindowCheck)> make) {
    return [make](AppHarness&, WindowCheck check) { make(check); };
}

const std::vector<std::pair<const char*, Check>> Windows{
    {"spellbook", [](AppHarness& h, WindowCheck check) { check(*h.ActiveSpellBook()); }},
    {"master",
     [](AppHarness& h, WindowCheck check) {
         h.Frame().mnuViewMasterListClick();
         check(*h.Context().MasterListWindow());
     }},
    {"new", Modal([](AppHarness& h) { h.Frame().NewChild(); })},
    {"spelledit", Modal([](AppHarness& h) { h.ActiveSpellBook()->mnuCreateNewSpellClick(); })},
    {"specialties", Modal([](AppHarness& h) { h.Frame().mnuSetSpecialtiesClick(); })},
    {"name", // opened from inside Specialty Maintenance
     [](AppHarness& h, WindowCheck check) {
         h.prompter.Exec<TfrmSpecialtyMaintenance>(
             [&](auto& maintenance) {
                 h.prompter.Exec(check, false);
                 maintenance.mnuAddNewSpecialty->trigger();
             },
             false);
         h.Frame().mnuSetSpecialtiesClick();
     }},
    {"odds", Modal([](AppHarness& h) { h.Frame().mnuSetOddsClick(); })},
    {"scroll", Modal([](AppHarness& h) { h.ActiveSpellBook()->mnuCreateScrollClick(); })},
    {"datadir", Modal([](AppHarness& h) { h.Frame().mnuDataDirectoriesClick(); })},
    {"about", Modal([](AppHarness& h) { h.Frame().mnuAboutClick(); })},
    {"preview", Modal([](AppHarness& h) { h.ActiveSpellBook()->mnuPrintPreviewClick(); })},
    {"preview pages", // with spell texts, on a middle page: the page bar under the buttons
     [](AppHarness& h, WindowCheck check) {
         h.Context().Output().IncludeSpellTexts = true;
         h.Context().Output().Font.Height = 300;
         h.prompter.Exec<TfrmPrintPreview>(
             [check](auto& preview) {
                 preview.RenderPreview();
                 preview.bnNextPageClick();
                 check(preview);
             },
             false);
         h.ActiveSpellBook()->mnuPrintPreviewClick();
     }},
    {"format", Modal([](AppHarness& h) { h.ActiveSpellBook()->mnuCopytoClipboardClick(); })},
    {"printer", Made([](WindowCheck check) {
         QPrinter printer;
         PrinterSetupDialog dialog(printer);
         check(dialog);
     })},
    {"font", Made([](WindowCheck check) {
         FontColourDialog dialog(QFont(), Qt::black);
         check(dialog);
     })},
    {"help",
     [](AppHarness& h, WindowCheck check) {
         QVERIFY(h.Context().Help().ShowTopic(1));
         check(h.Context().Help());
     }},
    {"details", Made([](WindowCheck check) {
         TfrmSpellDetails dialog;
         check(dialog);
     })},
    {"recovery", // two entries: a box each, one under the other
     Made([](WindowCheck check) {
         RecoveryDialog dialog({{{.path = "/a.spb"}}, {{.kind = RecoveryKind::List}}});
         check(dialog);
     })},
};

} // namespace

class TabOrderTest : public QObject {
    Q_OBJECT
private slots:
    void tabFollowsReadingOrder_data() { EveryWindow(); }
    void tabFollowsReadingOrder() { Run(CheckTabOrder); }

    // Two holders of one access key would make Qt run neither of them.
    void accessKeysAreUnique_data() { EveryWindow(); }
    void accessKeysAreUnique() { Run(CheckAccessKeys); }

private:
    static void EveryWindow() {
        QTest::addColumn<int>("window"); // the place in Windows
        for (int i = 0; i < int(Windows.size()); ++i) QTest::newRow(Windows[i].first) << i;
    }
    static void Run(WindowCheck check) {
        QFETCH(int, window);
        AppHarness h;
        h.home.CopyResource(QStringLiteral("Vellumar.HLP"), h.home.Home());
        h.UseSampleMasterList();
        h.Start();
        QVERIFY(h.Frame().OpenSpellbookFile(
            h.home.Write(QStringLiteral("tab.spb"),
                         SpellbookV4(5, 12, "Generalist", 'S', {SpellLine(3, "Fly")}))));
        // Tab stops at the chosen level, not the first.
        h.ActiveSpellBook()->grpSpellLevel->button(3)->click();
        Windows[window].second(h, check);
        h.Verify();
    }
};

QTEST_MAIN(TabOrderTest)
#include "tab_order_test.moc"
