#include "support/spell_lists.h"

#include "model/spell_book.h"

#include "ui/spell_edit_dialog.h"
#include "ui/spin_edit.h"

#include <QComboBox>
#include <QLineEdit>

namespace vellumar::test {

QStringList Rows(const QAbstractItemView* list) {
    QStringList rows;
    for (int i = 0; i < list->model()->rowCount(); ++i) rows << RowText(list, i);
    return rows;
}

QString RowText(const QAbstractItemView* list, int row) {
    return list->model()->index(row, 0).data().toString();
}

bool IsRowSelected(const QAbstractItemView* list, int row) {
    return list->selectionModel()->isRowSelected(row, QModelIndex());
}

int SelectedCount(const QAbstractItemView* list) {
    return int(list->selectionModel()->selectedRows().size());
}

void SelectRows(QAbstractItemView* list, std::initializer_list<int> rows) {
    list->clearSelection();
    for (int row : rows)
        list->selectionModel()->select(list->model()->index(row, 0), QItemSelectionModel::Select);
}

std::vector<std::string> Names(TSpellBook& book) {
    std::vector<std::string> names;
    for (book.First(); book.CurrentSpell(); book.Next()) names.push_back(book.CurrentName());
    return names;
}

QString Keyed(const char* text, QKeySequence::StandardKey standard) {
    const QList<QKeySequence> keys = QKeySequence::keyBindings(standard);
    return keys.isEmpty() ? QString::fromLatin1(text)
                          : QString::fromLatin1(text) + QLatin1Char('\t') + keys.first().toString();
}

QStringList ItemTexts(const QMenu* menu) {
    QStringList texts;
    for (QAction* action : menu->actions()) {
        QString text = action->isSeparator() ? QStringLiteral("-") : action->text();
        if (!action->shortcut().isEmpty())
            text += QLatin1Char('\t') + action->shortcut().toString();
        texts << text;
    }
    return texts;
}

void TypeSpell(TfrmSpellEdit& dialog, const SpellFields& fields) {
    dialog.spnLevel->setValue(fields.level);
    dialog.ebName->setText(fields.name);
    dialog.ebBook->setText(fields.book);
    dialog.ebPage->setText(fields.page);
    dialog.ebCategory->setText(fields.category);
    dialog.cbFrequency->setCurrentIndex(fields.frequencyRow);
}

SpellFields ReadFields(const TfrmSpellEdit& dialog) {
    return {dialog.spnLevel->value(),  dialog.ebName->text(),
            dialog.ebBook->text(),     dialog.ebPage->text(),
            dialog.ebCategory->text(), dialog.cbFrequency->currentIndex()};
}

} // namespace vellumar::test
