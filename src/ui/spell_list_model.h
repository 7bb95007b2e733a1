#pragma once
// The rows of a spell list: the spells of one level of a book (or of every
// level), narrowed by a filter, in book order. The rows are kept as the
// spells themselves, so a row never has to be looked up in the book again;
// Refresh takes them anew after the book changed.

#include "rules/spell_filter.h"

#include <QAbstractListModel>
#include <vector>

namespace vellumar {

class TSpellBook;
class tSpell;

class SpellListModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        NameRole = Qt::UserRole + 1,
        LevelRole,
        CategoryRole,
        FrequencyRole, // the frequency code, 0 to -4
    };
    // Level 0 shows every level.
    static constexpr int AllLevels = 0;

    explicit SpellListModel(QObject* parent = nullptr);

    // What the rows show; takes effect at the next Refresh.
    void SetBook(TSpellBook* book) { book_ = book; }
    void SetLevel(int level) { level_ = level; }
    void SetFilter(SpellFilter filter) { filter_ = std::move(filter); }
    TSpellBook* Book() const { return book_; }
    int Level() const { return level_; }

    // Takes the rows anew from the book.
    void Refresh();
    // Gives a spell just added to the book its row, in its place, where the
    // level and filter show it; the other rows stay. Returns the row, or -1.
    int InsertSpell(const tSpell* spell);
    // Removes the spells of these rows from the book and their rows from the
    // list. Returns how many went.
    int DeleteRows(std::vector<int> rows);

    tSpell* SpellOfRow(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    TSpellBook* book_ = nullptr;
    int level_ = 1;
    SpellFilter filter_;
    std::vector<tSpell*> rows_;
};

} // namespace vellumar
