// Tab reaches every control of each window and dialog once, in reading order,
// and no access key is held twice in a menu or a window.

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
#include <QApplication>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QScopedValueRollback>
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

// Alt and a letter answers in the whole window (the frame for a spellbook
// window): its menu bar's titles, buttons and fields' labels share the
// letters, hidden ones too; each menu has its own. Two items of the classic
// File menu have always shared P.
void CheckAccessKeys(QWidget& shown) {
    QWidget& window = *shown.window();
    QList<QStringList> sets{{}}; // the window's texts, then each menu's
    for (QWidget* control : window.findChildren<QWidget*>()) {
        const bool menu = qobject_cast<QMenu*>(control);
        if (!menu && control->window() != &window) continue;
        QStringList& set = menu ? sets.emplace_back() : sets.front();
        if (menu || qobject_cast<QMenuBar*>(control))
            for (const QAction* action : control->actions()) set << action->text();
        else if (const auto* button = qobject_cast<QAbstractButton*>(control))
            set << (button->shortcut().isEmpty() ? QString() : button->text());
        else if (const auto* label = qobject_cast<QLabel*>(control); label && label->buddy())
            set << label->text();
    }
    const QSet<QString> classic{"Copy to Cli&pboard", "&Print Preview/Format..."};
    for (const QStringList& texts : sets) {
        QMap<QKeySequence, QString> holders;
        for (const QString& text : texts) {
            const QKeySequence key = QKeySequence::mnemonic(text);
            const QSet<QString> both{holders.value(key), text};
            QVERIFY2(key.isEmpty() || !holders.contains(key) || both == classic,
                     qPrintable(holders.value(key) + " / " + text));
            holders.insert(key, text);
        }
    }
}

// What each row does with its window: the tab order, or the access keys.
void (*Checked)(QWidget&) = CheckTabOrder;

// Opens a window and checks it, in a started program whose
// spellbook window (caster level 5) shows level 3.
using Check = std::function<void(AppHarness&)>;

// A dialog that `open` runs modally: checked once it is exec'd.
Check Modal(void (*open)(AppHarness&)) {
    return [open](AppHarness& h) {
        h.prompter.Exec(Checked, false);
        open(h);
    };
}

// A dialog made just for the check, shown rather than exec'd.
void CheckMade(QWidget&& dialog) {
    Checked(dialog);
}

const std::vector<std::pair<const char*, Check>> Windows{
    {"spellbook", [](AppHarness& h) { Checked(*h.ActiveSpellBook()); }},
    {"master",
     [](AppHarness& h) {
         h.Frame().mnuViewMasterListClick();
         Checked(*h.Context().MasterListWindow());
     }},
    {"new", Modal([](AppHarness& h) { h.Frame().NewChild(); })},
    {"spelledit", Modal([](AppHarness& h) { h.ActiveSpellBook()->mnuCreateNewSpellClick(); })},
    {"specialties", Modal([](AppHarness& h) { h.Frame().mnuSetSpecialtiesClick(); })},
    {"name", // opened from inside Specialty Maintenance
     [](AppHarness& h) {
         h.prompter.Exec<TfrmSpecialtyMaintenance>(
             [&](auto& maintenance) {
                 h.prompter.Exec(Checked, false);
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
     [](AppHarness& h) {
         h.Context().Output().IncludeSpellTexts = true;
         h.Context().Output().Font.Height = 300;
         h.prompter.Exec<TfrmPrintPreview>(
             [](auto& preview) {
                 preview.RenderPreview();
                 preview.bnNextPageClick();
                 Checked(preview);
             },
             false);
         h.ActiveSpellBook()->mnuPrintPreviewClick();
     }},
    {"format", Modal([](AppHarness& h) { h.ActiveSpellBook()->mnuCopytoClipboardClick(); })},
    {"printer",
     [](AppHarness&) {
         QPrinter printer;
         CheckMade(PrinterSetupDialog(printer));
     }},
    {"font", [](AppHarness&) { CheckMade(FontColourDialog(QFont(), Qt::black)); }},
    {"help",
     [](AppHarness& h) {
         QVERIFY(h.Context().Help().ShowTopic(1));
         Checked(h.Context().Help());
     }},
    {"details", [](AppHarness&) { CheckMade(TfrmSpellDetails()); }},
    {"recovery", // two entries: a box each, one under the other
     [](AppHarness&) {
         CheckMade(RecoveryDialog({{{.path = "/a.spb"}}, {{.kind = RecoveryKind::List}}}));
     }},
};

} // namespace

class TabOrderTest : public QObject {
    Q_OBJECT
private slots:
    void tabFollowsReadingOrder_data() {
        QTest::addColumn<int>("window"); // the place in Windows
        for (int i = 0; i < int(Windows.size()); ++i) QTest::newRow(Windows[i].first) << i;
    }
    void tabFollowsReadingOrder() {
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
        Windows[window].second(h);
        h.Verify();
    }

    // Two holders of one access key would make Qt run neither of them.
    void accessKeysAreUnique_data() { tabFollowsReadingOrder_data(); }
    void accessKeysAreUnique() {
        const QScopedValueRollback keys(Checked, &CheckAccessKeys);
        tabFollowsReadingOrder();
    }
};

QTEST_MAIN(TabOrderTest)
#include "tab_order_test.moc"
