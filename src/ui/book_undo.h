#pragma once
// Undo and Redo of one window: each change a command made to the window's book
// (a spellbook, or the master list) is one step on the window's stack. Undoing
// or redoing a step applies it to the book and lets the window show the book
// again. The stack's clean state is the saved book.

#include "model/book_change.h"

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class QAction;
class QUndoStack;

namespace vellumar {

class TSpellBook;

class BookUndo : public QObject {
    Q_OBJECT
public:
    // `book` gives the window's book (none for an absent master list), `show`
    // refreshes the window after a step was applied (undone, or done again), `mark` sets the
    // window's modified mark when undoing or redoing reaches or leaves the saved state.
    BookUndo(std::function<TSpellBook*()> book,
             std::function<void(const BookChange&, bool undone)> show,
             std::function<void(bool modified)> mark, QObject* parent);

    // The rules texts the steps' text changes apply to (the master list's);
    // without them a step changes the book alone.
    void SetTexts(std::function<SpellTexts*()> texts) { texts_ = std::move(texts); }

    QUndoStack& Stack() const { return *stack_; }
    TSpellBook* Book() const { return book_(); }

    // Records a change already made. One that changed nothing, that comes
    // from showing an undone step, or that a BookStep around it takes in, is
    // not recorded. Caster field changes with
    // the same `mergeId` in a row are one step, until Seal.
    void Record(const QString& text, BookChange change, int mergeId = -1);
    // A new history from the book as it is now: the saved book, or (`saved`
    // false) a book that was never saved, which undoing never makes unmodified.
    void Restart(bool saved);
    // The book as it is now is the saved one.
    void MarkSaved();
    // The next change of the same caster field starts a step of its own.
    void Seal();
    // Ends the merging when one of these fields loses the focus.
    void SealOnFocusOut(std::initializer_list<QObject*> fields);
    // Undo and Redo are enabled only while there is something to undo or redo.
    void Follow(QAction* undo, QAction* redo) const;

    void Undo();
    void Redo();
    // Applies a step to the book and shows it (used by the steps).
    void Apply(const BookChange& change, bool undo);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class BookStep;

    QUndoStack* stack_;
    std::function<TSpellBook*()> book_;
    std::function<SpellTexts*()> texts_;
    std::function<void(const BookChange&, bool undone)> show_;
    bool applying_ = false;
    bool restarting_ = false;
    int round_ = 0;
    int openSteps_ = 0;
};

// Records the change one command makes to the book while it lives: the book
// is taken now and again at the end of the scope. With a `casterField` (0 or
// more) only the caster fields are taken, and changes of that field in a row
// merge into one step. A step within another is part of the outer one.
class BookStep {
public:
    BookStep(BookUndo& undo, const char* text, int casterField = -1);
    ~BookStep();
    BookStep(const BookStep&) = delete;
    BookStep& operator=(const BookStep&) = delete;

private:
    BookState Take() const;

    BookUndo& undo_;
    const char* text_;
    int casterField_;
    bool outer_;
    BookState before_;
};

// The spells a step put back into the book: those it had taken out when it
// was undone, those it had put in when it was done again. Shown selected, so
// that the user sees what came back.
std::vector<const tSpell*> SpellsBack(const BookChange& change, bool undone);

// The change of a spell put into the book just now.
BookChange SpellAdded(const TSpellBook& book, const tSpell& spell);

} // namespace vellumar
