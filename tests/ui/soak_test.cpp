// A long scripted session: fifty spellbook windows at a time are filled,
// validated, edited, fed by drops and copied to the clipboard, then closed,
// round after round. Nothing may be left over after a round, and in a build
// without the address sanitizer (whose leak checker covers leaks there) the
// heap must not grow from round to round.

#include "model/spell_book.h"
#include "output/qt/print_format_dialog.h"
#include "support/app_harness.h"
#include "support/spell_lists.h"
#include "ui/book_parm_dialog.h"
#include "ui/frame_window.h"
#include "ui/master_list_window.h"
#include "ui/spell_book_window.h"
#include "ui/spell_edit_dialog.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QToolBar>

#include <malloc.h>

using namespace vellumar;
using namespace vellumar::test;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool Sanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool Sanitized = true;
#else
constexpr bool Sanitized = false;
#endif
#else
constexpr bool Sanitized = false;
#endif

constexpr int WindowsPerRound = 50;
// The sanitizer slows every allocation down; its leak checker needs fewer rounds.
constexpr int Rounds = Sanitized ? 3 : 8;
// Qt fills its own caches in the first rounds; the heap is measured from here on.
constexpr int WarmUpRounds = 3;
// Growth of the heap allowed per round after the warm-up. Qt keeps about 200
// bytes for every MDI child window it ever had (10 KiB a round); one book left
// behind per window would add well over 100 KiB a round.
constexpr size_t GrowthPerRound = 24 * 1024;

size_t HeapInUse() {
    malloc_trim(0);
    return mallinfo2().uordblks;
}

} // namespace

class SoakTest : public HarnessTest {
    Q_OBJECT
    int masterCount_ = 0;

    TfrmMasterList& Master() { return *h->Context().MasterListWindow(); }

    // A Generalist book that admits every frequency, so that every first-level
    // spell dropped on it goes in without a question.
    TfrmSpellBook& NewBook(int index) {
        h->prompter.Exec<TfrmBookParm>(
            [index](auto& dialog) {
                dialog.grpCasterLevel->button(4 + index % 10)->setChecked(true);
                dialog.grpCasterIntelligence->button(index % 13)->setChecked(true);
                dialog.lbSpecialty->setCurrentRow(0);
                dialog.lbSpellFrequency->setCurrentRow(4);
            },
            true);
        h->Frame().NewChild();
        return *h->ActiveSpellBook();
    }

    void WorkOn(TfrmSpellBook& window, TfrmSpellBook* previous, int round, int index) {
        window.mnuValidateBookClick();

        // Edit the first spell of the first level through the spell edit dialog.
        window.SetSpellLevel(1);
        window.grpSpellLevelClick();
        if (window.lbSpells->count() > 0) {
            SelectRows(window.lbSpells, {0});
            const QString name = QStringLiteral("Soak %1-%2").arg(round).arg(index);
            h->prompter.Exec<TfrmSpellEdit>([name](auto& edit) { edit.ebName->setText(name); },
                                            true);
            window.mnuEditSpellClick();
        }

        // Drops from the master list and from the window before.
        Master().SetSpellLevel(1);
        Master().grpSpellLevelClick();
        SelectRows(Master().lbSpells, {0, 1, 2 + index % 20});
        window.lbSpellsDragDrop(*Master().lbSpells);
        if (previous && previous->lbSpells->count() > 1) {
            SelectRows(previous->lbSpells, {0, 1});
            window.lbSpellsDragDrop(*previous->lbSpells);
        }

        h->prompter.Exec({}, true); // the Output Format dialog
        window.mnuCopytoClipboardClick();
        QVERIFY(!QGuiApplication::clipboard()->text().isEmpty());
        QVERIFY(window.Book().Modified);
    }

    void OneRound(int round) {
        std::vector<TfrmSpellBook*> windows;
        for (int i = 0; i < WindowsPerRound; ++i) {
            windows.push_back(&NewBook(i));
            WorkOn(*windows.back(), i > 0 ? windows[size_t(i) - 1] : nullptr, round, i);
            if (QTest::currentTestFailed()) return;
        }
        QCOMPARE(h->SpellBookWindows().size(), size_t(WindowsPerRound));
        for (TfrmSpellBook* window : windows) {
            h->prompter.Message(Answer::No); // do not save
            window->mnuCloseClick();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(h->prompter.Idle());
        QVERIFY(h->SpellBookWindows().empty());
        QVERIFY(h->Frame().mdiArea()->subWindowList().isEmpty());
        QVERIFY(h->Frame().findChildren<TfrmSpellBook*>().isEmpty());
        QVERIFY(h->Frame().findChildren<QMdiSubWindow*>().isEmpty());
        QVERIFY(h->Frame().tbMain()->isVisible());
        QCOMPARE(h->Context().MasterList()->Count(), masterCount_);
        QVERIFY(!h->Context().MasterList()->Modified);
        h->prompter.ClearRecords();
        QGuiApplication::clipboard()->clear();
    }

private slots:
    void init() {
        HarnessTest::init();
        h->UseSampleMasterList();
        h->Start();
    }

    void manyWindowsRoundAfterRound() {
        QVERIFY(h->Context().MasterList());
        masterCount_ = h->Context().MasterList()->Count();
        size_t afterWarmUp = 0;
        for (int round = 1; round <= Rounds; ++round) {
            OneRound(round);
            if (QTest::currentTestFailed()) return;
            const size_t heap = HeapInUse();
            qInfo("round %d: %zu bytes of heap in use", round, heap);
            if (round == WarmUpRounds) afterWarmUp = heap;
        }
        if (Sanitized) return; // the leak checker watches this build at exit
        const size_t last = HeapInUse();
        const size_t allowed = afterWarmUp + GrowthPerRound * size_t(Rounds - WarmUpRounds);
        QVERIFY2(
            last <= allowed,
            qPrintable(
                QStringLiteral("the heap grew from %1 to %2 bytes").arg(afterWarmUp).arg(last)));
    }
};

QTEST_MAIN(SoakTest)
#include "soak_test.moc"
