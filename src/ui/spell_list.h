#pragma once
// The spell lists of the spellbook and master list windows: several rows may be
// selected, and the selected rows can be dragged onto a spellbook window's list.
// Row k always stands for the k-th spell of the level its window shows.

#include <QCursor>
#include <QListWidget>
#include <functional>
#include <vector>

namespace vellumar {

class TSpellBook;
class tSpell;

// The window behind a spell list: the book its rows stand for (none for an
// absent master list) and the spell level it shows.
class SpellSource {
public:
    virtual ~SpellSource() = default;
    virtual TSpellBook* SourceBook() const = 0;
    virtual int SourceLevel() const = 0;
};

class SpellList : public QListWidget {
    Q_OBJECT
public:
    // One private type: only our own lists start drags that spell lists accept.
    static const QString MimeType;

    SpellList(SpellSource& owner, QWidget* parent = nullptr);

    // Asked for the cursor at each drag.
    void SetDragCursor(std::function<QCursor()> cursor) { dragCursor_ = std::move(cursor); }
    // A list with a drop handler accepts dragged spell rows; the handler gets
    // the list they came from, after the drag has ended.
    void SetDropHandler(std::function<void(SpellList& source)> handler);

    // The positions of the selected rows, top to bottom.
    std::vector<int> SelectedRows() const;
    // The spells of the selected rows, top to bottom, taken at once so that
    // later changes to the book cannot shift them.
    std::vector<tSpell*> SelectedSpells() const;

    // Whether a drag from `source` may be dropped here.
    static bool Accepts(const QMimeData* data, QObject* source);
    // What a drag of the selected rows carries: the private type for our own
    // lists, and the rows' text, one a line, for any other program.
    QMimeData* DragData() const;

protected:
    void startDrag(Qt::DropActions actions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    SpellSource& owner_;
    std::function<QCursor()> dragCursor_;
    std::function<void(SpellList&)> dropHandler_;
};

// Removes the spells of the selected rows from the book and their rows from the
// list, walking down with one position so that rows and book stay in step.
// Returns how many went.
int DeleteSelectedRows(SpellList& list, TSpellBook& book, int level);

} // namespace vellumar
