// The rows of a spell list over a book that changes under them: checked by
// Qt's model tester at every change, and against the book itself.

#include "model/spell_book.h"
#include "output/item_text.h"
#include "platform/qt/text_conversion.h"
#include "ui/spell_list_model.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace vellumar;

namespace {

// The texts the rows should show: the book's spells of the level in book order.
QStringList Expected(TSpellBook& book, int level, const SpellFilter& filter) {
    QStringList rows;
    for (book.First(); const tSpell* spell = book.CurrentSpell(); book.Next())
        if ((level == 0 || spell->Level == level) && (filter.Empty() || filter.Matches(*spell)))
            rows << (level == 0 ? QString::number(spell->Level) + QStringLiteral(": ")
                                : QString()) +
                        ToQString(SpellItemRow(*spell));
    return rows;
}

QStringList Shown(const SpellListModel& model) {
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row) rows << model.index(row, 0).data().toString();
    return rows;
}

} // namespace

class SpellListModelTest : public QObject {
    Q_OBJECT

private slots:
    // The book changes in every way the windows change it; after each change
    // and refresh the rows are the book's, and the tester finds no fault.
    void followsTheBookThroughChanges() {
        TSpellBook book;
        SpellListModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.SetBook(&book);
        model.SetLevel(2);
        model.Refresh();
        QCOMPARE(model.rowCount(), 0);

        for (const char* name : {"Web", "alter self", "Blur", "Knock", "Darkness"})
            book.AddSpell(new tSpell(2, name, "Core", 1, 0, "Alteration"));
        book.AddSpell(new tSpell(1, "Light", "Core", 2, -1, "Alteration"));
        model.Refresh();
        QCOMPARE(Shown(model), Expected(book, 2, {}));

        // One just added takes its place; rows of another level or filtered out do not come.
        auto* fog = new tSpell(2, "Fog Cloud", "Core", 3, -2, "Conjuration");
        book.AddSpell(fog);
        QCOMPARE(model.InsertSpell(fog), 3);
        QCOMPARE(model.InsertSpell(fog), 3); // already there
        auto* sleep = new tSpell(1, "Sleep", "Core", 4, 0, "Enchantment");
        book.AddSpell(sleep);
        QCOMPARE(model.InsertSpell(sleep), -1);
        QCOMPARE(Shown(model), Expected(book, 2, {}));

        // Deleting rows that are not neighbours removes those spells from the book.
        QCOMPARE(model.DeleteRows({4, 0, 2, 0, 99}), 3);
        QCOMPARE(Shown(model), Expected(book, 2, {}));
        QCOMPARE(book.CountOfLevel(2), 3);
        QCOMPARE(book.CountOfLevel(1), 2);

        model.SetFilter(ParseSpellFilter("cat:alter"));
        model.Refresh();
        QCOMPARE(Shown(model), Expected(book, 2, ParseSpellFilter("cat:alter")));
        model.SetLevel(SpellListModel::AllLevels);
        model.Refresh();
        QCOMPARE(Shown(model), Expected(book, 0, ParseSpellFilter("cat:alter")));

        // Every row of every level, the first spell of the book among them.
        model.SetFilter({});
        model.Refresh();
        std::vector<int> all(size_t(model.rowCount()));
        for (int row = 0; row < model.rowCount(); ++row) all[size_t(row)] = row;
        QCOMPARE(model.DeleteRows(all), 5);
        QCOMPARE(book.Count(), 0);
        QCOMPARE(model.rowCount(), 0);

        model.SetBook(nullptr);
        model.Refresh();
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.DeleteRows({0}), 0);
    }

    void rolesGiveTheSpellsFields() {
        TSpellBook book;
        book.AddSpell(new tSpell(3, "Fireball", "Core", 40, -1, "Evocation"));
        SpellListModel model;
        model.SetBook(&book);
        model.SetLevel(3);
        model.Refresh();
        const QModelIndex row = model.index(0, 0);
        QCOMPARE(row.data().toString(), QStringLiteral("Fireball  (Evocation) [Core 40] - U"));
        QCOMPARE(row.data(SpellListModel::NameRole).toString(), QStringLiteral("Fireball"));
        QCOMPARE(row.data(SpellListModel::LevelRole).toInt(), 3);
        QCOMPARE(row.data(SpellListModel::CategoryRole).toString(), QStringLiteral("Evocation"));
        QCOMPARE(row.data(SpellListModel::FrequencyRole).toInt(), -1);
        QCOMPARE(model.SpellOfRow(0), book.SpellAt(3, 0));
        QVERIFY(!model.SpellOfRow(1));
    }
};

QTEST_MAIN(SpellListModelTest)
#include "spell_list_model_test.moc"
