#pragma once
// Small helpers for tests of the spell lists and menus.

#include <QAbstractItemView>
#include <QByteArray>
#include <QKeySequence>
#include <QMenu>
#include <QStringList>
#include <initializer_list>
#include <string>
#include <vector>

namespace vellumar {
class TfrmSpellEdit;
class TSpellBook;
} // namespace vellumar

namespace vellumar::test {

class ScriptedPrompter;

// A master list of five Common spells: Alarm, Burning Hands and Shield of
// level 1, Web of level 2, Fireball of level 3.
QByteArray FiveSpellMaster();
// A spell's line in a spell file: book "B", page 1, category "cat".
QByteArray SpellLine(int level, const char* name, char frequency = 'C');

// The texts of a list's rows, top to bottom.
QStringList Rows(const QAbstractItemView* list);
// The text of one row.
QString RowText(const QAbstractItemView* list, int row);
bool IsRowSelected(const QAbstractItemView* list, int row);
int SelectedCount(const QAbstractItemView* list);
// The names of a book's spells in book order.
std::vector<std::string> Names(TSpellBook& book);
// Selects exactly these rows.
void SelectRows(QAbstractItemView* list, std::initializer_list<int> rows);
// Item texts, "-" for a separator, with the shortcut after a TAB.
QStringList ItemTexts(const QMenu* menu);
// A menu item's text as ItemTexts gives it with the desktop's standard key, if any.
QString Keyed(const char* text, QKeySequence::StandardKey standard);
// Where a widget stands in one of its ancestors (the list and the card stand
// in the divider between them).
QRect GeometryIn(const QWidget* widget, const QWidget* ancestor);

// The six fields of the spell edit dialog, as a user would type them.
struct SpellFields {
    int level = 1;
    QString name;
    QString book;
    QString page;
    QString category;
    int frequencyRow = 0;
};
void TypeSpell(TfrmSpellEdit& dialog, const SpellFields& fields);
// Queues the next spell edit dialog: these fields typed, then OK.
void AnswerSpellEdit(ScriptedPrompter& prompter, const SpellFields& fields);
SpellFields ReadFields(const TfrmSpellEdit& dialog);

} // namespace vellumar::test
