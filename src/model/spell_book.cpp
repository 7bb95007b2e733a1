#include "model/spell_book.h"

namespace vellumar {

TSpellBook::TSpellBook(int32_t casterLevel, int32_t intelligence, int32_t spellFrequency,
                       std::string specialty)
    : tSortedList<tSpell>(CompareSpells, true), CasterLevel(casterLevel),
      Intelligence(intelligence), SpellFrequency(spellFrequency), Specialty(std::move(specialty)) {}

TSpellBook::~TSpellBook() {
    if (IsReference) return;
    for (TNode<tSpell>* node = Head.Next; node != &Tail; node = node->Next) delete node->Data;
}

void TSpellBook::CountIn(const tSpell& spell, int delta) {
    if (spell.Level >= MinSpellLevel && spell.Level <= MaxSpellLevel)
        LevelCount[spell.Level] += delta;
}

std::optional<TSpellBook::Index::const_iterator> TSpellBook::PlaceOf(const tSpell& spell) const {
    // Files are written in order, so readers add at the end: try it first.
    if (Count_ > 0 && CompareSpells(spell, *Tail.Prev->Data) > 0) return index_.end();
    const auto at = index_.lower_bound(spell);
    if (at != index_.end() && CompareSpells(spell, *(*at)->Data) == 0) return std::nullopt;
    return at;
}

TNode<tSpell>* TSpellBook::Link(Index::const_iterator before, tSpell* spell) {
    TNode<tSpell>* node = LinkBefore(before == index_.end() ? &Tail : *before, spell);
    try {
        index_.insert(before, node);
    } catch (...) {
        // Out of memory: the list stays as the index knows it.
        TNode<tSpell>* cursor = Current;
        Current = node;
        Unlink();
        Current = cursor;
        throw;
    }
    CountIn(*spell, 1);
    return node;
}

bool TSpellBook::AddSpell(tSpell* spell) {
    if (!spell) return false;
    const auto place = PlaceOf(*spell);
    if (!place) return false;
    Link(*place, spell);
    return true;
}

bool TSpellBook::AddSpell(std::unique_ptr<tSpell>& spell) {
    if (!AddSpell(spell.get())) return false;
    spell.release();
    return true;
}

bool TSpellBook::AddCopy(const tSpell* spell) {
    if (!spell || IsReference) return false;
    auto clone = spell->Clone();
    return AddSpell(clone);
}

bool TSpellBook::AddCopyInOrder(const tSpell& spell) {
    if (IsReference) return false;
    const auto place = PlaceOf(spell);
    if (!place) return false;
    auto clone = spell.Clone();
    Current = Link(*place, clone.get());
    clone.release();
    return true;
}

void TSpellBook::DeleteCurrent() {
    if (!Current) return;
    CountIn(*Current->Data, -1);
    index_.erase(Current);
    tSpell* removed = Unlink();
    if (!IsReference) delete removed;
}

int32_t TSpellBook::CurrentLevel() const {
    return Current ? Current->Data->Level : 0;
}
std::string TSpellBook::CurrentName() const {
    return Current ? Current->Data->Name : " ";
}
std::string TSpellBook::CurrentBook() const {
    return Current ? Current->Data->Book : " ";
}
int32_t TSpellBook::CurrentPage() const {
    return Current ? Current->Data->Page : 0;
}
int32_t TSpellBook::CurrentFrequency() const {
    return Current ? Current->Data->Frequency : 0;
}
std::string TSpellBook::CurrentCategory() const {
    return Current ? Current->Data->Category : " ";
}

void TSpellBook::GoToLevel(int32_t level) {
    // Starts from the cursor so that moving between neighbouring levels is short.
    while (Current && Current->Data->Level >= level) Prev();
    if (!Current) First();
    while (Current && Current->Data->Level < level) Next();
}

tSpell* TSpellBook::SpellAt(int32_t level, int32_t index) {
    GoToLevel(level);
    for (int32_t i = 0; i < index && Current; ++i) Next();
    if (Current && Current->Data->Level == level) return Current->Data;
    Current = nullptr;
    return nullptr;
}

} // namespace vellumar
