#include "ui/spell_list_model.h"

#include "model/spell_book.h"
#include "output/item_text.h"
#include "platform/qt/text_conversion.h"

#include <algorithm>
#include <unordered_set>

namespace vellumar {

SpellListModel::SpellListModel(QObject* parent) : QAbstractListModel(parent) {}

void SpellListModel::Refresh() {
    beginResetModel();
    if (book_)
        rows_ = MatchingSpells(*book_, level_, filter_);
    else
        rows_.clear();
    endResetModel();
}

int SpellListModel::InsertSpell(const tSpell* spell) {
    if (!spell || (level_ != AllLevels && spell->Level != level_) || !filter_.Matches(*spell))
        return -1;
    const auto before = [](const tSpell* a, const tSpell* b) { return CompareSpells(*a, *b) < 0; };
    const auto at = std::lower_bound(rows_.begin(), rows_.end(), spell, before);
    if (at != rows_.end() && *at == spell) return int(at - rows_.begin());
    const int row = int(at - rows_.begin());
    beginInsertRows(QModelIndex(), row, row);
    // A spell of the book shown, which the rows hand back for editing.
    rows_.insert(rows_.begin() + row, const_cast<tSpell*>(spell));
    endInsertRows();
    return row;
}

int SpellListModel::DeleteRows(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [this](int row) { return row < 0 || row >= rowCount(); }),
               rows.end());
    if (!book_ || rows.empty()) return 0;
    std::unordered_set<const tSpell*> doomed;
    for (int row : rows) doomed.insert(rows_[size_t(row)]);
    // The rows go first, while their spells still exist for whoever watches
    // the rows leave; they go from the bottom, a run of neighbours at a time.
    for (size_t end = rows.size(); end > 0;) {
        size_t start = end - 1;
        while (start > 0 && rows[start - 1] == rows[start] - 1) --start;
        beginRemoveRows(QModelIndex(), rows[start], rows[end - 1]);
        rows_.erase(rows_.begin() + rows[start], rows_.begin() + rows[end - 1] + 1);
        endRemoveRows();
        end = start;
    }
    // One walk through the book, however many go.
    size_t left = doomed.size();
    book_->First();
    while (const tSpell* spell = book_->CurrentSpell()) {
        if (left == 0) break;
        if (!doomed.count(spell)) {
            book_->Next();
            continue;
        }
        // Deleting moves the cursor back to the spell before, already passed,
        // or to the new first spell when the first went.
        book_->Prev();
        const bool first = !book_->CurrentSpell();
        if (first)
            book_->First();
        else
            book_->Next();
        book_->DeleteCurrent();
        --left;
        if (!first) book_->Next();
    }
    return int(rows.size());
}

tSpell* SpellListModel::SpellOfRow(int row) const {
    return row >= 0 && row < rowCount() ? rows_[size_t(row)] : nullptr;
}

int SpellListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

QVariant SpellListModel::data(const QModelIndex& index, int role) const {
    const tSpell* spell = index.isValid() ? SpellOfRow(index.row()) : nullptr;
    if (!spell) return {};
    switch (role) {
    case Qt::DisplayRole: {
        QString row = ToQString(SpellItemRow(*spell));
        // Rows of several levels say which each is.
        if (level_ == AllLevels) row.prepend(QString::number(spell->Level) + QStringLiteral(": "));
        return row;
    }
    case NameRole:
        return ToQString(spell->Name);
    case LevelRole:
        return spell->Level;
    case CategoryRole:
        return ToQString(spell->Category);
    case FrequencyRole:
        return spell->Frequency;
    default:
        return {};
    }
}

Qt::ItemFlags SpellListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled |
           Qt::ItemNeverHasChildren;
}

QHash<int, QByteArray> SpellListModel::roleNames() const {
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert(NameRole, "name");
    names.insert(LevelRole, "level");
    names.insert(CategoryRole, "category");
    names.insert(FrequencyRole, "frequency");
    return names;
}

} // namespace vellumar
