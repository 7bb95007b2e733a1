#include "model/book_change.h"

#include "model/spell_book.h"

#include <algorithm>

namespace vellumar {
namespace {

bool InBookOrder(const tSpell& a, const tSpell& b) {
    return CompareSpells(a, b) < 0;
}

// Takes out the spells of the book that match these by level and name. Both
// run in book order, so one walk from the first spell's level finds them all.
void RemoveAll(TSpellBook& book, const std::vector<tSpell>& spells) {
    if (spells.empty()) return;
    book.GoToLevel(spells.front().Level);
    for (const tSpell& spell : spells) {
        while (book.CurrentSpell() && CompareSpells(spell, *book.CurrentSpell()) > 0) book.Next();
        if (!book.CurrentSpell()) return;
        // The cursor goes to the spell before, which comes before the next one too.
        if (CompareSpells(spell, *book.CurrentSpell()) == 0) book.DeleteCurrent();
    }
}

void AddAll(TSpellBook& book, const std::vector<tSpell>& spells) {
    if (spells.empty()) return;
    // The cursor on the last spell before the first one to go in.
    book.GoToLevel(spells.front().Level);
    while (book.CurrentSpell() && CompareSpells(spells.front(), *book.CurrentSpell()) > 0)
        book.Next();
    book.Prev();
    for (const tSpell& spell : spells) book.AddCopyInOrder(spell);
}

} // namespace

CasterFields CasterFields::Of(const TSpellBook& book) {
    return {book.CasterLevel, book.Intelligence, book.SpellFrequency, book.Specialty};
}

void CasterFields::ApplyTo(TSpellBook& book) const {
    book.CasterLevel = CasterLevel;
    book.Intelligence = Intelligence;
    book.SpellFrequency = SpellFrequency;
    book.Specialty = Specialty;
}

BookState BookState::Of(TSpellBook& book) {
    BookState state;
    state.caster = CasterFields::Of(book);
    state.spells.reserve(static_cast<size_t>(book.Count()));
    for (book.First(); const tSpell* spell = book.CurrentSpell(); book.Next())
        state.spells.push_back(*spell);
    return state;
}

BookChange BookChange::Between(const BookState& before, const BookState& after) {
    BookChange change;
    change.removed_ = before.spells;
    change.added_ = after.spells;
    change.before_ = before.caster;
    change.after_ = after.caster;
    change.settled_ = false;
    return change;
}

void BookChange::SetCaster(CasterFields before, CasterFields after) {
    before_ = std::move(before);
    after_ = std::move(after);
}

void BookChange::Settle() const {
    if (settled_) return;
    settled_ = true;
    // Mostly noted in book order already.
    for (std::vector<tSpell>* spells : {&removed_, &added_})
        if (!std::is_sorted(spells->begin(), spells->end(), InBookOrder))
            std::stable_sort(spells->begin(), spells->end(), InBookOrder);
    if (removed_.empty() || added_.empty()) return; // nothing can pair up
    // Each list holds a level and name once, as the book does.
    std::vector<tSpell> removed;
    std::vector<tSpell> added;
    auto r = removed_.begin();
    auto a = added_.begin();
    while (r != removed_.end() && a != added_.end()) {
        const int32_t order = CompareSpells(*r, *a);
        if (order < 0) {
            removed.push_back(std::move(*r++));
        } else if (order > 0) {
            added.push_back(std::move(*a++));
        } else if (*r == *a) {
            ++r;
            ++a;
        } else {
            removed.push_back(std::move(*r++));
            added.push_back(std::move(*a++));
        }
    }
    std::move(r, removed_.end(), std::back_inserter(removed));
    std::move(a, added_.end(), std::back_inserter(added));
    removed_ = std::move(removed);
    added_ = std::move(added);
}

bool BookChange::ChangesSpells() const {
    Settle();
    return !removed_.empty() || !added_.empty();
}

bool BookChange::Empty() const {
    return !ChangesSpells() && before_ == after_ && texts_.empty();
}

void BookChange::TextChanged(int32_t level, std::string name, std::optional<SpellText> before,
                             std::optional<SpellText> after) {
    if (before == after) return;
    texts_.push_back({level, std::move(name), std::move(before), std::move(after)});
}

namespace {

void Store(SpellTexts& texts, int32_t level, const std::string& name,
           const std::optional<SpellText>& text) {
    if (text)
        texts.Set(level, name, *text);
    else
        texts.Remove(level, name);
}

} // namespace

void BookChange::UndoTexts(SpellTexts& texts) const {
    for (auto edit = texts_.rbegin(); edit != texts_.rend(); ++edit)
        Store(texts, edit->level, edit->name, edit->before);
}

void BookChange::RedoTexts(SpellTexts& texts) const {
    for (const TextEdit& edit : texts_) Store(texts, edit.level, edit.name, edit.after);
}

int32_t BookChange::LevelToShow(int32_t shown) const {
    Settle();
    int32_t first = shown;
    for (const std::vector<tSpell>* spells : {&removed_, &added_})
        for (const tSpell& spell : *spells) {
            if (spell.Level == shown) return shown;
            if (first == shown || spell.Level < first) first = spell.Level;
        }
    return first;
}

const std::vector<tSpell>& BookChange::AddedSpells() const {
    Settle();
    return added_;
}

const std::vector<tSpell>& BookChange::RemovedSpells() const {
    Settle();
    return removed_;
}

// Taking out comes first: a spell edited in place leaves and comes back under
// the same level and name.
void BookChange::Undo(TSpellBook& book) const {
    Settle();
    RemoveAll(book, added_);
    AddAll(book, removed_);
    before_.ApplyTo(book);
}

void BookChange::Redo(TSpellBook& book) const {
    Settle();
    RemoveAll(book, removed_);
    AddAll(book, added_);
    after_.ApplyTo(book);
}

} // namespace vellumar
