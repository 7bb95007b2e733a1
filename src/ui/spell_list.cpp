#include "ui/spell_list.h"

#include "model/spell_book.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <set>

namespace vellumar {

const QString SpellList::MimeType = QStringLiteral("application/x-vellumar-spell-rows");

SpellList::SpellList(QWidget* parent) : QListView(parent), model_(new SpellListModel(this)) {
    setModel(model_);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Every row is one line of one font: laying out a hundred thousand rows
    // needs no look at each.
    setUniformItemSizes(true);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
}

void SpellList::SetDropHandler(std::function<void(SpellList& source)> handler) {
    dropHandler_ = std::move(handler);
    setDragDropMode(dropHandler_ ? QAbstractItemView::DragDrop : QAbstractItemView::DragOnly);
    setAcceptDrops(bool(dropHandler_));
    viewport()->setAcceptDrops(bool(dropHandler_));
}

void SpellList::ShowSpells(TSpellBook* book, int level, const SpellFilter& filter) {
    model_->SetBook(book);
    model_->SetLevel(level);
    model_->SetFilter(filter);
    model_->Refresh();
    clearSelection();
}

std::vector<int> SpellList::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedIndexes())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<tSpell*> SpellList::SelectedSpells() const {
    std::vector<tSpell*> spells;
    for (int row : SelectedRows())
        if (tSpell* spell = model_->SpellOfRow(row)) spells.push_back(spell);
    return spells;
}

void SpellList::MakeCurrent(int row, QItemSelectionModel::SelectionFlags how) {
    const QModelIndex index = model_->index(row, 0);
    selectionModel()->setCurrentIndex(index, how);
    scrollTo(index);
}

void SpellList::SelectSpells(const std::vector<const tSpell*>& spells) {
    const auto before = [](const tSpell* a, const tSpell* b) { return CompareSpells(*a, *b) < 0; };
    const std::set<const tSpell*, decltype(before)> wanted(spells.begin(), spells.end(), before);
    QItemSelection selection;
    int first = -1;
    for (int row = 0; row < count(); ++row) {
        if (!wanted.count(model_->SpellOfRow(row))) continue;
        if (first < 0) first = row;
        selection.select(model_->index(row, 0), model_->index(row, 0));
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (first >= 0) MakeCurrent(first, QItemSelectionModel::NoUpdate);
}

void SpellList::SelectCurrentRow() {
    if (count() == 0 || selectionModel()->hasSelection()) return;
    const QModelIndex current = currentIndex();
    MakeCurrent(current.isValid() ? current.row() : 0, QItemSelectionModel::ClearAndSelect);
}

void SpellList::focusInEvent(QFocusEvent* event) {
    QListView::focusInEvent(event);
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        SelectCurrentRow();
}

void SpellList::ShowInserted(const tSpell* spell) {
    const int row = model_->InsertSpell(spell);
    if (row >= 0) MakeCurrent(row, QItemSelectionModel::Select);
}

int SpellList::DeleteSelected() {
    const std::vector<int> rows = SelectedRows();
    if (rows.empty()) return 0;
    // The first row below the last deleted one moves up by as many rows as went.
    const int removed = model_->DeleteRows(rows);
    const int next = std::min(rows.back() + 1 - removed, count() - 1);
    if (next >= 0) MakeCurrent(next, QItemSelectionModel::ClearAndSelect);
    return removed;
}

bool SpellList::Accepts(const QMimeData* data, QObject* source) {
    return data && data->hasFormat(MimeType) && qobject_cast<SpellList*>(source);
}

QMimeData* SpellList::DragData() const {
    auto* data = new QMimeData;
    data->setData(MimeType, QByteArray());
    QStringList rows;
    for (int row : SelectedRows()) rows << model_->index(row, 0).data().toString();
    data->setText(rows.join(QLatin1Char('\n')));
    return data;
}

void SpellList::startDrag(Qt::DropActions) {
    if (SelectedRows().empty()) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(DragData());
    const QPixmap cursor = dragCursor_ ? dragCursor_().pixmap() : QPixmap();
    // Where no drop is taken, the usual "no" cursor shows instead.
    if (!cursor.isNull()) drag->setDragCursor(cursor, Qt::CopyAction);
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

void SpellList::dragEnterEvent(QDragEnterEvent* event) {
    dragMoveEvent(event);
}

void SpellList::dragMoveEvent(QDragMoveEvent* event) {
    if (dropHandler_ && Accepts(event->mimeData(), event->source())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void SpellList::dropEvent(QDropEvent* event) {
    auto* source = qobject_cast<SpellList*>(event->source());
    if (!dropHandler_ || !Accepts(event->mimeData(), source)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // The drop may ask questions; they wait until the drag has let go of the mouse.
    QTimer::singleShot(0, this, [this, from = QPointer<SpellList>(source)] {
        if (from && dropHandler_) dropHandler_(*from);
    });
}

void SpellList::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        emit EnterPressed();
        return;
    }
    QListView::keyPressEvent(event);
}

} // namespace vellumar
