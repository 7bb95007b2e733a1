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

bool TSpellBook::AddSpell(tSpell* spell) {
    if (!spell || !Insert(spell)) return false;
    CountIn(*spell, 1);
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
    auto clone = spell.Clone();
    if (!InsertAfterCursor(clone.get())) return false;
    CountIn(*clone.release(), 1);
    return true;
}

void TSpellBook::DeleteCurrent() {
    if (!Current) return;
    CountIn(*Current->Data, -1);
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
