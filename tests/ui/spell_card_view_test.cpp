// The card pane of both list windows: follows the row, hides (remembered), takes the room the
// user gives it (remembered), survives a bad file.

#include "model/spell_text.h"
#include "output/spell_card.h"
#include "platform/program_settings.h"
#include "support/app_harness.h"
#include "support/spell_lists.h"
#include "ui/book_undo.h"
#include "ui/card_divider.h"
#include "ui/frame_window.h"
#include "ui/master_list_window.h"
#include "ui/spell_book_window.h"
#include "ui/spell_card_view.h"
#include "ui/spell_filter_bar.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLineEdit>
#include <QTest>
#include <QTextTable>
#include <QUndoStack>

using namespace vellumar;
using namespace vellumar::test;

namespace {

const QByteArray MasterFile = "3,\"Counterspell\",\"SRD\",6,\"C\",\"Abjuration\"\r\n"
                              "3,\"Fireball\",\"SRD\",7,\"C\",\"Evocation\"\r\n"
                              "3,\"Haste\",\"SRD\",8,\"C\",\"Transmutation\"\r\n";
const QList<QByteArray> Spells{SpellLine(3, "Counterspell"), SpellLine(3, "Fireball"),
                               SpellLine(3, "Haste")};

const QByteArray Texts = R"([{"name": "Fireball", "level": 3, "casting_time": "1 action",
  "description": ["A bright streak.", "| d6 | Colour |", "|---|---|", "| 1 | Red |"],
  "higher_levels": ["The damage increases."]},
 {"name": "haste", "level": 3, "casting_time": "1 action", "description": ["Faster."]}])";

} // namespace

class SpellCardViewTest : public HarnessTest {
    Q_OBJECT

    void Start(const QByteArray& texts) {
        h->UseMasterList(MasterFile, texts);
        h->Start();
    }
    TfrmMasterList& Master() { return *h->Context().MasterListWindow(); }
    TfrmSpellBook& Book() {
        h->Frame().OpenSpellbookFile(
            h->home.Write("book.spb", SpellbookV4(5, 12, "Generalist", 'C', Spells)));
        return *h->ActiveSpellBook();
    }

private slots:
    void cardFollowsCurrentRow_data() {
        QTest::addColumn<bool>("book");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("rows");
        const QStringList all{"Counterspell", "Fireball", "Haste"};
        QTest::newRow("master") << false << QString() << all;
        QTest::newRow("master, filtered") << false << "a" << QStringList{"Fireball", "Haste"};
        QTest::newRow("book") << true << QString() << all;
        QTest::newRow("book, filtered") << true << "fire" << QStringList{"Fireball"};
    }
    void cardFollowsCurrentRow() {
        QFETCH(bool, book);
        QFETCH(QString, filter);
        QFETCH(QStringList, rows);
        Start(Texts);
        SpellList* list = book ? Book().lbSpells : Master().lbSpells;
        SpellCardView* card = book ? h->ActiveSpellBook()->memSpellText : Master().memSpellText;
        SpellFilterBar* bar = book ? h->ActiveSpellBook()->pnlFilter : Master().pnlFilter;
        (book ? h->ActiveSpellBook()->grpSpellLevel : Master().grpSpellLevel)->button(3)->click();
        bar->edFilter->setText(filter);
        QCOMPARE(list->count(), rows.size());
        for (int row = rows.size() - 1; row >= 0; --row) {
            list->setCurrentIndex(list->model()->index(row, 0));
            const QString text = card->toPlainText();
            QVERIFY2(text.startsWith(rows[row]), qPrintable(text));
            const bool tabled = rows[row] == "Fireball";
            QCOMPARE(text.contains("Casting Time: 1 action"), rows[row] != "Counterspell");
            QCOMPARE(text.contains("No rules text."), rows[row] == "Counterspell");
            QCOMPARE(text.contains("At Higher Levels. The damage increases."), tabled);
            const QTextCursor find = card->document()->find(QStringLiteral("Colour"));
            QCOMPARE(!find.isNull() && find.currentTable() != nullptr, tabled);
        }
    }

    // Hidden in one window, hidden in the next one; no change of the list.
    void hiddenCardIsRemembered() {
        Start(Texts);
        TfrmMasterList& master = Master();
        master.resize(500, 400);
        master.show();
        master.mnuSpellText->trigger();
        QVERIFY(!master.memSpellText->isVisibleTo(&master));
        QTRY_COMPARE(GeometryIn(master.lbSpells, master.centralWidget()).bottom() + 1,
                     master.centralWidget()->height());
        QVERIFY(!h->Context().Settings().SpellTextShown());
        QCOMPARE(master.History().Stack().count(), 0);
        QVERIFY(!master.mnuSaveMasterFile->isEnabled());
        TfrmSpellBook& book = Book();
        QVERIFY(!book.mnuSpellText->isChecked());
        QVERIFY(!book.memSpellText->isVisibleTo(&book));
        book.mnuSpellText->trigger();
        QVERIFY(book.memSpellText->isVisibleTo(&book));
        QVERIFY(h->Context().Settings().SpellTextShown());
    }

    // Stars make bold italic, not text; the first paragraph follows the fields directly.
    void emphasisIsDrawnAfterTheFields() {
        SpellText text;
        text.Duration = "1 round";
        text.Description = {"***Mask.*** You hide."};
        SpellCardView card;
        card.setHtml(SpellCardHtml(MakeSpellCard(3, "Aura", text)));
        QVERIFY2(card.toPlainText().endsWith("Duration: 1 round\nMask. You hide."),
                 qPrintable(card.toPlainText()));
        const QTextCharFormat mask = card.document()->find(QStringLiteral("Mask.")).charFormat();
        QVERIFY(mask.fontItalic() && mask.fontWeight() >= QFont::Bold);
    }

    // A third or more at first; moved, kept for the next window of its kind only.
    void dividerIsRememberedPerWindowKind() {
        Start(Texts);
        TfrmSpellBook* book = &Book();
        auto* divider = book->findChild<CardDivider*>();
        QTRY_VERIFY(divider->height() > 100);
        const auto percent = [](const QWidget* list, const QWidget* card) {
            return card->height() * 100 / (list->height() + card->height());
        };
        const int first = book->memSpellText->height();
        const int firstPercent = percent(book->lbSpells, book->memSpellText);
        QVERIFY(first * 3 >= divider->height());
        QTest::keyClick(divider->handle(1), Qt::Key_Up);
        const int moved = book->memSpellText->height();
        QVERIFY(moved > first);
        const ProgramSettings& settings = h->Context().Settings();
        QCOMPARE(settings.SpellTextShare(ListWindowKind::Spellbook, 0), divider->CardShare());
        QCOMPARE(settings.SpellTextShare(ListWindowKind::MasterList, 0), 0);
        book->close();
        QTRY_VERIFY(h->SpellBookWindows().empty());
        book = &Book();
        QTRY_VERIFY(std::abs(book->memSpellText->height() - moved) <= 1);
        TfrmMasterList& master = Master();
        master.show();
        QTRY_VERIFY(std::abs(percent(master.lbSpells, master.memSpellText) - firstPercent) <= 1);
    }

    void brokenCompanionGivesOneBox() {
        h->prompter.Message(Answer::Ok);
        Start("[\n {\"name\": \"Fireball\",, }\n]");
        QTRY_COMPARE(h->prompter.Records().size(), size_t(1));
        const PromptRecord& box = h->prompter.Last();
        QCOMPARE(box.kind, BoxKind::Error);
        QCOMPARE(box.text,
                 "Error Reading Spell Texts\r\n" + h->home.Working() + "MASTER.DAT.texts.json");
        QVERIFY2(box.informative.contains("line 2"), qPrintable(box.informative));
        QCOMPARE(h->Context().MasterList()->CountOfLevel(3), 3);
        QVERIFY(h->Context().MasterTexts().Empty());
    }
};

QTEST_MAIN(SpellCardViewTest)
#include "spell_card_view_test.moc"
