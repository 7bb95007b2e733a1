#include "support/spell_lists.h"

#include "support/scripted_prompter.h"

#include "model/spell_book.h"
#include "platform/qt/command_table.h"

#include "ui/spell_edit_dialog.h"
#include "ui/spin_edit.h"

#include <QComboBox>
#include <QLineEdit>

namespace vellumar::test {

QByteArray FiveSpellMaster() {
    return "1,\"Alarm\",\"SRD\",1,\"C\",\"Abjuration\"\r\n"
           "1,\"Burning Hands\",\"SRD\",2,\"C\",\"Evocation\"\r\n"
           "1,\"Shield\",\"SRD\",9,\"C\",\"Abjuration\"\r\n"
           "2,\"Web\",\"SRD\",3,\"C\",\"Conjuration\"\r\n"
           "3,\"Fireball\",\"SRD\",7,\"C\",\"Evocation\"\r\n"
           " \r\n";
}

QByteArray SpellLine(int level, const char* name, char frequency) {
    return QByteArray::number(level) + ",\"" + name + "\",\"B\",1,\"" + QByteArray(1, frequency) +
           "\",\"cat\"";
}

QStringList Rows(const QAbstractItemView* list) {
    QStringList rows;
    for (int i = 0; i < list->model()->rowCount(); ++i) rows << RowText(list, i);
    return rows;
}

QRect GeometryIn(const QWidget* widget, const QWidget* ancestor) {
    return {widget->mapTo(ancestor, QPoint()), widget->size()};
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
    const QList<QKeySequence> keys = CommandKeys::Standard(standard);
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

void AnswerSpellEdit(ScriptedPrompter& prompter, const SpellFields& fields) {
    prompter.Exec<TfrmSpellEdit>([fields](auto& edit) { TypeSpell(edit, fields); }, true);
}

SpellFields ReadFields(const TfrmSpellEdit& dialog) {
    return {dialog.spnLevel->value(),  dialog.ebName->text(),
            dialog.ebBook->text(),     dialog.ebPage->text(),
            dialog.ebCategory->text(), dialog.cbFrequency->currentIndex()};
}

} // namespace vellumar::test
