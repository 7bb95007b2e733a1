#include "ui/book_undo.h"

#include "model/spell_book.h"

#include <QAction>
#include <QEvent>
#include <QScopedValueRollback>
#include <QUndoCommand>
#include <QUndoStack>

namespace vellumar {
namespace {

// A change that is already made when it is pushed: its first redo does nothing.
class BookStepCommand : public QUndoCommand {
public:
    BookStepCommand(BookUndo& owner, const QString& text, BookChange change, int mergeId, int round)
        : QUndoCommand(text), owner_(owner), change_(std::move(change)), mergeId_(mergeId),
          round_(round) {}

    void undo() override { owner_.Apply(change_, true); }
    void redo() override {
        if (done_) owner_.Apply(change_, false);
        done_ = true;
    }
    int id() const override { return mergeId_; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* later = static_cast<const BookStepCommand*>(other);
        if (later->round_ != round_) return false;
        change_.MergeCaster(later->change_);
        // Typed back to where it started: no step at all.
        setObsolete(change_.Empty());
        return true;
    }

private:
    BookUndo& owner_;
    BookChange change_;
    int mergeId_;
    // Steps of one field merge only within one round of typing.
    int round_;
    bool done_ = false;
};

} // namespace

BookUndo::BookUndo(std::function<TSpellBook*()> book,
                   std::function<void(const BookChange&, bool undone)> show,
                   std::function<void(bool modified)> mark, QObject* parent)
    : QObject(parent), stack_(new QUndoStack(this)), book_(std::move(book)),
      show_(std::move(show)) {
    connect(stack_, &QUndoStack::cleanChanged, this, [this, mark = std::move(mark)](bool clean) {
        if (!restarting_) mark(!clean);
    });
}

void BookUndo::Record(const QString& text, BookChange change, int mergeId) {
    if (applying_ || openSteps_ > 0 || change.Empty()) return;
    stack_->push(new BookStepCommand(*this, text, std::move(change), mergeId, round_));
}

void BookUndo::Restart(bool saved) {
    const QScopedValueRollback<bool> restarting(restarting_, true);
    stack_->clear();
    if (saved)
        stack_->setClean();
    else
        stack_->resetClean();
}

void BookUndo::MarkSaved() {
    stack_->setClean();
}

void BookUndo::Seal() {
    ++round_;
}

void BookUndo::SealOnFocusOut(std::initializer_list<QObject*> fields) {
    for (QObject* field : fields) field->installEventFilter(this);
}

bool BookUndo::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) Seal();
    return QObject::eventFilter(watched, event);
}

void BookUndo::Follow(QAction* undo, QAction* redo) const {
    undo->setEnabled(stack_->canUndo());
    redo->setEnabled(stack_->canRedo());
    connect(stack_, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(stack_, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
}

void BookUndo::Undo() {
    Seal();
    stack_->undo();
}

void BookUndo::Redo() {
    Seal();
    stack_->redo();
}

void BookUndo::Apply(const BookChange& change, bool undo) {
    TSpellBook* book = book_();
    if (!book) return;
    // Showing the book runs the controls' change handlers; they record nothing.
    const QScopedValueRollback<bool> applying(applying_, true);
    if (undo)
        change.Undo(*book);
    else
        change.Redo(*book);
    if (SpellTexts* texts = texts_ ? texts_() : nullptr) {
        if (undo)
            change.UndoTexts(*texts);
        else
            change.RedoTexts(*texts);
    }
    show_(change, undo);
}

BookStep::BookStep(BookUndo& undo, const char* text, int casterField)
    : undo_(undo), text_(text), casterField_(casterField), outer_(undo.openSteps_ == 0) {
    if (outer_) before_ = Take();
    ++undo_.openSteps_;
}

BookStep::~BookStep() {
    if (--undo_.openSteps_ > 0 || !outer_) return;
    undo_.Record(QString::fromLatin1(text_), BookChange::Between(before_, Take()), casterField_);
}

BookState BookStep::Take() const {
    TSpellBook* book = undo_.Book();
    if (!book) return {};
    if (casterField_ >= 0) return {{}, CasterFields::Of(*book)};
    return BookState::Of(*book);
}

BookChange SpellAdded(const TSpellBook& book, const tSpell& spell) {
    BookChange change(CasterFields::Of(book));
    change.Added(spell);
    return change;
}

std::vector<const tSpell*> SpellsBack(const BookChange& change, bool undone) {
    std::vector<const tSpell*> back;
    for (const tSpell& spell : undone ? change.RemovedSpells() : change.AddedSpells())
        back.push_back(&spell);
    return back;
}

} // namespace vellumar
