// Tab reaches every control of each window and dialog once, in reading order.

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
#include <QLineEdit>
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

} // namespace

class TabOrderTest : public QObject {
    Q_OBJECT
private slots:
    void tabFollowsReadingOrder_data() {
        QTest::addColumn<QString>("window");
        for (const char* window : {"spellbook", "master", "new", "spelledit", "specialties", "name",
                                   "odds", "scroll", "datadir", "about", "preview", "format",
                                   "printer", "font", "help", "details", "recovery"})
            QTest::newRow(window) << QString::fromLatin1(window);
    }
    void tabFollowsReadingOrder() {
        QFETCH(QString, window);
        AppHarness h;
        h.home.CopyResource(QStringLiteral("Vellumar.HLP"), h.home.Home());
        h.UseSampleMasterList();
        h.Start();
        QVERIFY(h.Frame().OpenSpellbookFile(
            h.home.Write(QStringLiteral("tab.spb"),
                         SpellbookV4(5, 12, "Generalist", 'S', {SpellLine(3, "Fly")}))));
        TfrmSpellBook& book = *h.ActiveSpellBook();
        book.grpSpellLevel->button(3)->click(); // Tab stops at the chosen level, not the first
        TfrmMain& frame = h.Frame();
        const std::map<QString, std::function<void()>> dialogs{
            {"new", [&] { frame.NewChild(); }},
            {"spelledit", [&] { book.mnuCreateNewSpellClick(); }},
            {"specialties", [&] { frame.mnuSetSpecialtiesClick(); }},
            {"odds", [&] { frame.mnuSetOddsClick(); }},
            {"scroll", [&] { book.mnuCreateScrollClick(); }},
            {"datadir", [&] { frame.mnuDataDirectoriesClick(); }},
            {"about", [&] { frame.mnuAboutClick(); }},
            {"preview", [&] { book.mnuPrintPreviewClick(); }},
            {"format", [&] { book.mnuCopytoClipboardClick(); }},
        };
        QPrinter printer;
        if (dialogs.count(window)) {
            h.prompter.Exec(CheckTabOrder, false);
            dialogs.at(window)();
        } else if (window == "name") { // opened from inside Specialty Maintenance
            h.prompter.Exec(
                [&](QDialog& maintenance) {
                    h.prompter.Exec(CheckTabOrder, false);
                    static_cast<TfrmSpecialtyMaintenance&>(maintenance)
                        .mnuAddNewSpecialty->trigger();
                },
                false);
            frame.mnuSetSpecialtiesClick();
        } else if (window == "spellbook")
            CheckTabOrder(book);
        else if (window == "master") {
            frame.mnuViewMasterListClick();
            CheckTabOrder(*h.Context().MasterListWindow());
        } else if (window == "printer") {
            PrinterSetupDialog dialog(printer);
            CheckTabOrder(dialog);
        } else if (window == "details") {
            TfrmSpellDetails dialog;
            CheckTabOrder(dialog);
        } else if (window == "recovery") { // two entries: a box each, one under the other
            RecoveryDialog dialog({{{.path = "/a.spb"}}, {{.kind = RecoveryKind::List}}});
            CheckTabOrder(dialog);
        } else if (window == "font") {
            FontColourDialog dialog(QFont(), Qt::black);
            CheckTabOrder(dialog);
        } else {
            QVERIFY(h.Context().Help().ShowTopic(1));
            CheckTabOrder(h.Context().Help());
        }
        h.Verify();
    }
};

QTEST_MAIN(TabOrderTest)
#include "tab_order_test.moc"
