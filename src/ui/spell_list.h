#pragma once
// The spell lists of the spellbook and master list windows: a view over a
// SpellListModel. Several rows may be selected, and the selected rows can be
// dragged onto a spellbook window's list. Every command acts on the rows shown.

#include "model/spell_book.h"
#include "ui/spell_list_model.h"

#include <QCursor>
#include <QListView>
#include <functional>
#include <vector>

namespace vellumar {

class SpellList : public QListView {
    Q_OBJECT
public:
    // One private type: only our own lists start drags that spell lists accept.
    static const QString MimeType;

    explicit SpellList(QWidget* parent = nullptr);

    SpellListModel& Model() const { return *model_; }

    // Asked for the cursor at each drag.
    void SetDragCursor(std::function<QCursor()> cursor) { dragCursor_ = std::move(cursor); }
    // A list with a drop handler accepts dragged spell rows; the handler gets
    // the list they came from, after the drag has ended.
    void SetDropHandler(std::function<void(SpellList& source)> handler);

    // Shows the spells of a level of the book (every level for
    // SpellListModel::AllLevels) that the filter lets through; no row stays
    // selected. A book about to be released is first shown as none.
    void ShowSpells(TSpellBook* book, int level, const SpellFilter& filter);
    // No rows; done before the book shown is released.
    void ShowNone() { ShowSpells(nullptr, MinSpellLevel, {}); }

    int count() const { return model_->rowCount(); }
    // The positions of the selected rows, top to bottom.
    std::vector<int> SelectedRows() const;
    // The spells of the selected rows, top to bottom, taken at once so that
    // later changes to the book cannot shift them.
    std::vector<tSpell*> SelectedSpells() const;

    // Selects the rows of these spells (or of spells of the same level and
    // name), makes the first of them current and scrolls it into view.
    void SelectSpells(const std::vector<const tSpell*>& spells);
    // Selects the current row (the first when none is current) when no row
    // is selected, so that the commands act on the spell the card shows.
    void SelectCurrentRow();
    // Gives a spell just added to the book its row, without redrawing the
    // others: the selection stays, and the new row joins it, current and in view.
    void ShowInserted(const tSpell* spell);
    // Removes the spells of the selected rows from the book and their rows;
    // the row after them (or the last row) becomes current. Returns how many went.
    int DeleteSelected();

    // Whether a drag from `source` may be dropped here.
    static bool Accepts(const QMimeData* data, QObject* source);
    // What a drag of the selected rows carries: the private type for our own
    // lists, and the rows' text, one a line, for any other program.
    QMimeData* DragData() const;

signals:
    // Enter or Return on the list.
    void EnterPressed();

protected:
    void startDrag(Qt::DropActions actions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Reached by Tab or Backtab, the list selects its current row (see
    // SelectCurrentRow); a click selects as it always does.
    void focusInEvent(QFocusEvent* event) override;

private:
    void MakeCurrent(int row, QItemSelectionModel::SelectionFlags how);

    SpellListModel* model_;
    std::function<QCursor()> dragCursor_;
    std::function<void(SpellList&)> dropHandler_;
};

} // namespace vellumar
