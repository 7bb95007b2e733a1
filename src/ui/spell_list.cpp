#include "ui/spell_list.h"

#include "model/spell_book.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QPointer>
#include <QStringList>
#include <QTimer>

namespace vellumar {

const QString SpellList::MimeType = QStringLiteral("application/x-vellumar-spell-rows");

SpellList::SpellList(SpellSource& owner, QWidget* parent) : QListWidget(parent), owner_(owner) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
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

std::vector<int> SpellList::SelectedRows() const {
    std::vector<int> rows;
    for (int row = 0; row < count(); ++row)
        if (item(row)->isSelected()) rows.push_back(row);
    return rows;
}

std::vector<tSpell*> SpellList::SelectedSpells() const {
    std::vector<tSpell*> spells;
    TSpellBook* book = owner_.SourceBook();
    if (!book) return spells;
    const int level = owner_.SourceLevel();
    for (int row : SelectedRows())
        if (tSpell* spell = book->SpellAt(level, row)) spells.push_back(spell);
    return spells;
}

bool SpellList::Accepts(const QMimeData* data, QObject* source) {
    return data && data->hasFormat(MimeType) && qobject_cast<SpellList*>(source);
}

QMimeData* SpellList::DragData() const {
    auto* data = new QMimeData;
    data->setData(MimeType, QByteArray());
    QStringList rows;
    for (int row : SelectedRows()) rows << item(row)->text();
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

int DeleteSelectedRows(SpellList& list, TSpellBook& book, int level) {
    int removed = 0;
    int row = 0;
    while (row < list.count()) {
        if (!list.item(row)->isSelected()) {
            ++row;
            continue;
        }
        if (book.SpellAt(level, row)) book.DeleteCurrent();
        delete list.takeItem(row);
        ++removed;
    }
    return removed;
}

} // namespace vellumar
