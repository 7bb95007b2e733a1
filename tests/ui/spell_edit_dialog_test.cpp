// The spell edit dialog: loading a spell and reading it back.

#include "model/spell.h"
#include "support/focus_moves.h"
#include "ui/spell_edit_dialog.h"
#include "ui/spin_edit.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace vellumar;

class SpellEditDialogTest : public QObject {
    Q_OBJECT

private slots:
    void loadsEveryField() {
        TfrmSpellEdit dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Edit Spell Data"));
        const tSpell spell(4, "Stoneskin", "SRD 5.1", 279, -4, "abj");
        dialog.LoadSpellIntoDialog(&spell);
        QCOMPARE(dialog.spnLevel->value(), 4);
        QCOMPARE(dialog.ebName->text(), QStringLiteral("Stoneskin"));
        QCOMPARE(dialog.ebBook->text(), QStringLiteral("SRD 5.1"));
        QCOMPARE(dialog.ebPage->text(), QStringLiteral("279"));
        QCOMPARE(dialog.ebCategory->text(), QStringLiteral("abj"));
        QCOMPARE(dialog.cbFrequency->currentText(), QStringLiteral("Restricted"));

        dialog.cbFrequency->setCurrentIndex(1); // "Uncommon"
        tSpell back;
        dialog.ReadSpellFromDialog(&back);
        QCOMPARE(back.Frequency, -1);
        QCOMPARE(back.Level, 4);
        QCOMPARE(back.Page, 279);
        QCOMPARE(back.Name, std::string("Stoneskin"));
    }

    void readsTypedText_data() {
        QTest::addColumn<QString>("level");
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("expectedLevel");
        QTest::addColumn<int>("expectedPage");
        QTest::newRow("plain") << "3"
                               << "12" << 3 << 12;
        QTest::newRow("level too high") << "12"
                                        << "" << 9 << 0;
        QTest::newRow("letter level") << "a"
                                      << "12a" << 1 << 0;
        QTest::newRow("blank page") << "9"
                                    << "   " << 9 << 0;
        QTest::newRow("negative page") << "2"
                                       << "-5" << 2 << -5;
    }
    void readsTypedText() {
        QFETCH(QString, level);
        QFETCH(QString, page);
        TfrmSpellEdit dialog;
        const tSpell spell(1, "", "", 0, 0, "");
        dialog.LoadSpellIntoDialog(&spell);
        dialog.spnLevel->findChild<QLineEdit*>()->selectAll();
        QTest::keyClicks(dialog.spnLevel, level);
        QTest::keyClick(dialog.spnLevel, Qt::Key_Return);
        dialog.ebPage->setText(page);
        dialog.ebName->setText(QStringLiteral(" Blank Ends "));
        tSpell back;
        dialog.ReadSpellFromDialog(&back);
        QTEST(int(back.Level), "expectedLevel");
        QTEST(int(back.Page), "expectedPage");
        QCOMPARE(back.Name, std::string(" Blank Ends "));
    }

    // A level is typed over its limit before it is clamped: "12" must show whole.
    void levelFieldShowsTwoDigits() {
        TfrmSpellEdit dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QLineEdit* edit = dialog.spnLevel->findChild<QLineEdit*>();
        QVERIFY(edit);
        const QRect text = edit->contentsRect().marginsRemoved(edit->textMargins());
        // The line edit keeps a 2-pixel margin on each side and room for the cursor.
        QVERIFY2(text.width() - 5 >= edit->fontMetrics().horizontalAdvance(QStringLiteral("12")),
                 qPrintable(QStringLiteral("%1 wide in %2, text %3")
                                .arg(text.width())
                                .arg(dialog.spnLevel->width())
                                .arg(edit->fontMetrics().horizontalAdvance("12"))));
    }

    void okWaitsForAName() {
        TfrmSpellEdit dialog;
        tSpell unnamed(1, "", "Core", 0, 0, "");
        dialog.LoadSpellIntoDialog(&unnamed);
        QVERIFY(!dialog.bnOK->isEnabled());
        QTest::keyClicks(dialog.ebName, "S");
        QVERIFY(dialog.bnOK->isEnabled());
        tSpell named(2, "Web", "Core", 0, 0, "");
        dialog.LoadSpellIntoDialog(&named);
        QVERIFY(dialog.bnOK->isEnabled());
        dialog.ebName->clear();
        QVERIFY(!dialog.bnOK->isEnabled());
        dialog.LoadSpellIntoDialog(&unnamed);
        QVERIFY(!dialog.bnOK->isEnabled());
    }

    void withoutASpellTheFieldsAreDisabled() {
        TfrmSpellEdit dialog;
        dialog.LoadSpellIntoDialog(nullptr);
        QVERIFY(!dialog.ebName->isEnabled());
        QVERIFY(!dialog.cbFrequency->isEnabled());
        dialog.ReadSpellFromDialog(nullptr); // nothing to write into
        const tSpell spell(2, "Web", "", 0, 0, "c/s");
        dialog.LoadSpellIntoDialog(&spell);
        for (QWidget* field :
             std::initializer_list<QWidget*>{dialog.spnLevel, dialog.ebName, dialog.ebBook,
                                             dialog.ebPage, dialog.ebCategory, dialog.cbFrequency})
            QVERIFY(field->isEnabled());
    }

    // After Details... the next keys go on into the field, not onto the button.
    void detailsLeavesTheFocusInTheField() {
        TfrmSpellEdit dialog;
        bool opened = false;
        dialog.OfferDetails([&opened](SpellText&) { return opened = true; });
        const tSpell spell(1, "Web", "", 0, 0, "");
        dialog.LoadSpellIntoDialog(&spell);
        QVERIFY(test::GiveFocus(dialog.ebName));
        QTest::mouseClick(dialog.bnDetails, Qt::LeftButton);
        QVERIFY(opened);
        QCOMPARE(QApplication::focusWidget(), dialog.ebName);
    }

    void tabOrderFollowsTheFields() {
        TfrmSpellEdit dialog;
        QWidget* expected[] = {dialog.ebName, dialog.ebBook, dialog.ebPage, dialog.ebCategory,
                               dialog.cbFrequency};
        QWidget* at = dialog.spnLevel;
        for (QWidget* next : expected) {
            at = at->nextInFocusChain();
            while (at->focusProxy() || at->focusPolicy() == Qt::NoFocus ||
                   at->parentWidget() == dialog.spnLevel)
                at = at->nextInFocusChain();
            QCOMPARE(at, next);
        }
    }
};

QTEST_MAIN(SpellEditDialogTest)
#include "spell_edit_dialog_test.moc"
