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

const TSpellBook::Index& TSpellBook::Indexed() const {
    if (indexed_) return index_;
    index_.clear(); // what an earlier attempt that ran out of memory left
    for (TNode<tSpell>* node = Head.Next; node != &Tail; node = node->Next)
        index_.emplace_hint(index_.end(), node);
    indexed_ = true;
    return index_;
}

std::optional<TNode<tSpell>*> TSpellBook::PlaceOf(const tSpell& spell) {
    // Files are written in order, so readers add at the end: try it first.
    if (Count_ == 0 || CompareSpells(spell, *Tail.Prev->Data) > 0) return &Tail;
    const Index& index = Indexed();
    const auto at = index.lower_bound(spell);
    if (at == index.end()) return &Tail;
    if (CompareSpells(spell, *(*at)->Data) == 0) return std::nullopt;
    return *at;
}

TNode<tSpell>* TSpellBook::Link(TNode<tSpell>* before, tSpell* spell) {
    TNode<tSpell>* node = LinkBefore(before, spell);
    if (indexed_) {
        try {
            index_.insert(node);
        } catch (...) {
            // Out of memory: the list stays as the index knows it.
            TNode<tSpell>* cursor = Current;
            Current = node;
            Unlink();
            Current = cursor;
            throw;
        }
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

bool TSpellBook::AddLast(std::unique_ptr<tSpell>& spell) {
    if (!spell || (Count_ > 0 && CompareSpells(*spell, *Tail.Prev->Data) <= 0)) return false;
    Link(&Tail, spell.get());
    spell.release();
    return true;
}

void TSpellBook::AddSorted(std::vector<std::unique_ptr<tSpell>>& spells, const RefusedFn& refused) {
    TNode<tSpell>* next = Head.Next; // the first spell held before that is not passed yet
    size_t passed = 0;
    const tSpell* added = nullptr; // the spell given last that went in, from index addedIndex
    size_t addedIndex = 0;
    for (size_t i = 0; i < spells.size(); ++i) {
        tSpell* spell = spells[i].get();
        if (!spell) continue;
        if (added && CompareSpells(*spell, *added) == 0) {
            refused(i, {*added, true, addedIndex});
            continue;
        }
        int32_t order = -1;
        while (next != &Tail && (order = CompareSpells(*spell, *next->Data)) > 0) {
            next = next->Next;
            ++passed;
        }
        if (next != &Tail && order == 0) {
            refused(i, {*next->Data, false, passed});
            continue;
        }
        Link(next, spell);
        spells[i].release();
        added = spell;
        addedIndex = i;
    }
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
    if (indexed_) index_.erase(Current);
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
