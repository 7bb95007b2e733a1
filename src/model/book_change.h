#pragma once
// What one command did to a book, kept as plain values so that it can be taken
// back and done again: the spells it took out, the spells it put in, and the
// caster fields before and after, and for the master list the rules texts it
// changed.

#include "model/spell.h"
#include "model/spell_text.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vellumar {

class TSpellBook;

struct CasterFields {
    int32_t CasterLevel = 0;
    int32_t Intelligence = 0;
    int32_t SpellFrequency = 0;
    std::string Specialty;

    static CasterFields Of(const TSpellBook& book);
    void ApplyTo(TSpellBook& book) const;
    bool operator==(const CasterFields&) const = default;
};

// Copies of a book's spells, in book order, and its caster fields.
struct BookState {
    std::vector<tSpell> spells;
    CasterFields caster;

    static BookState Of(TSpellBook& book);
};

class BookChange {
public:
    BookChange() = default;
    // A change that leaves these caster fields as they are.
    explicit BookChange(CasterFields caster) : before_(caster), after_(std::move(caster)) {}
    // Everything that differs between two states of one book.
    static BookChange Between(const BookState& before, const BookState& after);

    // Notes a spell taken out of the book, or put in, as it was then.
    void Removed(const tSpell& spell) {
        removed_.push_back(spell);
        settled_ = false;
    }
    void Added(const tSpell& spell) {
        added_.push_back(spell);
        settled_ = false;
    }
    void SetCaster(CasterFields before, CasterFields after);
    // Notes the rules text of a level and name as it was and as it is now
    // (none: no text); the texts live beside the master list, not in it.
    void TextChanged(int32_t level, std::string name, std::optional<SpellText> before,
                     std::optional<SpellText> after);
    // Takes the later change into this one: afterwards this one leads from
    // this one's start to the later one's end. Both change caster fields only.
    void MergeCaster(const BookChange& later) { after_ = later.after_; }

    // Nothing changed: a spell taken out and put back unchanged counts for
    // nothing.
    bool Empty() const;
    bool ChangesSpells() const;

    // Brings the book from the state after the change back to the one before,
    // and the other way round. The book must stand in the state the step
    // starts from; the cursor is left anywhere.
    void Undo(TSpellBook& book) const;
    void Redo(TSpellBook& book) const;
    // The same for the texts the change touched.
    void UndoTexts(SpellTexts& texts) const;
    void RedoTexts(SpellTexts& texts) const;

    // The spell level to show after the change: the one shown when the change
    // touched spells of it or no spells at all, else the first level touched.
    int32_t LevelToShow(int32_t shown) const;

    // The spells put in and taken out, in book order.
    const std::vector<tSpell>& AddedSpells() const;
    const std::vector<tSpell>& RemovedSpells() const;

private:
    // Sorts both lists and drops the spells found unchanged in both; done
    // once, when the change is first read.
    void Settle() const;

    mutable std::vector<tSpell> removed_;
    mutable std::vector<tSpell> added_;
    CasterFields before_;
    CasterFields after_;
    struct TextEdit {
        int32_t level = 0;
        std::string name;
        std::optional<SpellText> before;
        std::optional<SpellText> after;
    };
    std::vector<TextEdit> texts_; // in the order they were made
    mutable bool settled_ = true;
};

} // namespace vellumar
