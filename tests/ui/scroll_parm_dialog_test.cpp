#include "rules/scroll.h"
#include "support/scripted_prompter.h"
#include "ui/scroll_parm_dialog.h"
#include "ui/spin_edit.h"

#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

using namespace vellumar;
using test::ScriptedPrompter;

namespace {

using LevelSizes = std::array<int, MaxSpellLevel>;

// A book holding sizes[L-1] spells of each level L.
std::unique_ptr<TSpellBook> BookWith(const LevelSizes& sizes) {
    auto book = std::make_unique<TSpellBook>(7, 15, -2, "Diviner");
    for (int level = MinSpellLevel; level <= MaxSpellLevel; ++level)
        for (int i = 0; i < sizes[size_t(level - 1)]; ++i) {
            auto spell =
                std::make_unique<tSpell>(level, "Spell " + std::to_string(i), "PHB", 1, 0, "abj");
            book->AddSpell(spell);
        }
    return book;
}

} // namespace

Q_DECLARE_METATYPE(LevelSizes)
Q_DECLARE_METATYPE(std::optional<ScrollLevelCounts>)

class ScrollParmTest : public QObject {
    Q_OBJECT
private slots:
    void rowsAndRanges();
    void answers_data();
    void answers();
    void typedCounts_data();
    void typedCounts();
};

// Only the levels the book holds are offered, each up to its count, starting at 0.
void ScrollParmTest::rowsAndRanges() {
    auto book = BookWith({3, 0, 2, 0, 0, 0, 0, 0, 0});
    ScriptedPrompter prompter;
    prompter.Exec(
        [](QDialog& dialog) {
            auto& parm = dynamic_cast<TfrmScrollParm&>(dialog);
            QCOMPARE(parm.windowTitle(), QStringLiteral("Scroll Spells"));
            QVERIFY(parm.windowFlags() & Qt::WindowStaysOnTopHint);
            auto* prompt = parm.findChild<QLabel*>(QStringLiteral("lblPrompt"));
            QVERIFY(prompt);
            QCOMPARE(prompt->text(),
                     QStringLiteral("Choose the number of spells to select from each level"));
            QVERIFY(prompt->wordWrap());
            QVERIFY(prompt->alignment() & Qt::AlignHCenter);
            for (int level = MinSpellLevel; level <= MaxSpellLevel; ++level) {
                const bool offered = level == 1 || level == 3;
                QCOMPARE(parm.LevelLabel(level)->text(), QStringLiteral("Level %1").arg(level));
                QCOMPARE(parm.LevelLabel(level)->isHidden(), !offered);
                QCOMPARE(parm.LevelSpin(level)->isHidden(), !offered);
                QCOMPARE(parm.LevelSpin(level)->value(), 0);
                QCOMPARE(parm.LevelSpin(level)->minimum(), 0);
            }
            QCOMPARE(parm.LevelSpin(1)->maximum(), 3);
            QCOMPARE(parm.LevelSpin(3)->maximum(), 2);
            // The spin edit holds a number above the count at the count.
            parm.LevelSpin(3)->setValue(9);
            QCOMPARE(parm.LevelSpin(3)->value(), 2);
        },
        false);
    QVERIFY(!AskScrollCounts(prompter, *book, nullptr));
    prompter.VerifyDone();
}

void ScrollParmTest::answers_data() {
    QTest::addColumn<LevelSizes>("sizes");
    QTest::addColumn<LevelSizes>("picks"); // set on the offered spin edits
    QTest::addColumn<bool>("accept");
    QTest::addColumn<std::optional<ScrollLevelCounts>>("expected");

    const LevelSizes oneAndThree{3, 0, 2, 0, 0, 0, 0, 0, 0};
    QTest::newRow("ok with picks") << oneAndThree << LevelSizes{2, 0, 2, 0, 0, 0, 0, 0, 0} << true
                                   << std::optional(ScrollLevelCounts{2, 0, 2, 0, 0, 0, 0, 0, 0});
    QTest::newRow("ok all zeros") << oneAndThree << LevelSizes{} << true
                                  << std::optional(ScrollLevelCounts{});
    QTest::newRow("cancel after picks") << oneAndThree << LevelSizes{1, 0, 1, 0, 0, 0, 0, 0, 0}
                                        << false << std::optional<ScrollLevelCounts>();
    QTest::newRow("empty book") << LevelSizes{} << LevelSizes{} << true
                                << std::optional(ScrollLevelCounts{});
    QTest::newRow("every level") << LevelSizes{1, 2, 3, 4, 5, 6, 7, 8, 9}
                                 << LevelSizes{1, 2, 3, 4, 5, 6, 7, 8, 9} << true
                                 << std::optional(ScrollLevelCounts{1, 2, 3, 4, 5, 6, 7, 8, 9});
}

void ScrollParmTest::answers() {
    QFETCH(LevelSizes, sizes);
    QFETCH(LevelSizes, picks);
    QFETCH(bool, accept);
    QFETCH(std::optional<ScrollLevelCounts>, expected);

    auto book = BookWith(sizes);
    ScriptedPrompter prompter;
    prompter.Exec(
        [&](QDialog& dialog) {
            auto& parm = dynamic_cast<TfrmScrollParm&>(dialog);
            for (int level = MinSpellLevel; level <= MaxSpellLevel; ++level) {
                QCOMPARE(parm.LevelSpin(level)->isHidden(), sizes[size_t(level - 1)] == 0);
                if (!parm.LevelSpin(level)->isHidden())
                    parm.LevelSpin(level)->setValue(picks[size_t(level - 1)]);
            }
        },
        accept);
    const std::optional<ScrollLevelCounts> counts = AskScrollCounts(prompter, *book, nullptr);
    prompter.VerifyDone();
    QCOMPARE(counts, expected);
    if (!counts) return;
    // The counts are what the scroll is drawn with.
    auto scroll = DrawScroll(*book, *counts);
    for (int level = MinSpellLevel; level <= MaxSpellLevel; ++level)
        QCOMPARE(scroll->CountOfLevel(level), (*counts)[size_t(level - 1)]);
}

void ScrollParmTest::typedCounts_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("count");
    QTest::newRow("digit") << "2"
                           << "2" << 2;
    QTest::newRow("emptied") << ""
                             << "" << 0;
    QTest::newRow("letters refused") << "a2b"
                                     << "2" << 2;
    QTest::newRow("over the count") << "7"
                                    << "7" << 3;
}

// What is typed into a count, as the user leaves it when pressing OK.
void ScrollParmTest::typedCounts() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, count);
    auto book = BookWith({3, 0, 0, 0, 0, 0, 0, 0, 0});
    ScriptedPrompter prompter;
    prompter.Exec(
        [&](QDialog& dialog) {
            auto& parm = dynamic_cast<TfrmScrollParm&>(dialog);
            QSpinBox* spin = parm.LevelSpin(1);
            spin->setValue(1);
            spin->findChild<QLineEdit*>()->selectAll();
            QTest::keyClick(spin, Qt::Key_Backspace);
            QTest::keyClicks(spin, typed);
            QCOMPARE(spin->text(), shown);
        },
        true);
    const std::optional<ScrollLevelCounts> counts = AskScrollCounts(prompter, *book, nullptr);
    prompter.VerifyDone();
    QVERIFY(counts);
    QCOMPARE((*counts)[0], count);
}

QTEST_MAIN(ScrollParmTest)
#include "scroll_parm_dialog_test.moc"
