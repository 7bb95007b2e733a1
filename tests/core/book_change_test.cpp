// Changes to a book taken back and done again: every kind of command's change,
// taken as the difference of two states, must lead exactly back and forth.

#include "model/book_change.h"
#include "model/spell_book.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

using namespace vellumar;

namespace {

tSpell Spell(int level, const std::string& name, int page = 1) {
    return tSpell(level, name, "Core", page, 0, "abj");
}

std::unique_ptr<TSpellBook> Book(std::initializer_list<tSpell> spells) {
    auto book = std::make_unique<TSpellBook>(5, 12, -1, "Invoker");
    for (const tSpell& spell : spells) book->AddCopy(&spell);
    return book;
}

// The book holds exactly these spells, in order, with matching level counts.
void ExpectState(TSpellBook& book, const BookState& expected) {
    const BookState held = BookState::Of(book);
    ASSERT_EQ(held.spells.size(), expected.spells.size());
    for (size_t i = 0; i < held.spells.size(); ++i)
        EXPECT_TRUE(held.spells[i] == expected.spells[i])
            << i << ": " << held.spells[i].Name << " / " << expected.spells[i].Name;
    EXPECT_TRUE(held.caster == expected.caster);
    std::array<int32_t, MaxSpellLevel + 1> counts{};
    for (const tSpell& spell : expected.spells) ++counts[size_t(spell.Level)];
    EXPECT_EQ(book.LevelCount, counts);
}

struct ChangeRow {
    const char* name;
    std::function<void(TSpellBook&)> act;
};

void DeleteLevel(TSpellBook& book, int level) {
    book.GoToLevel(level);
    while (book.CurrentLevel() == level) {
        book.DeleteCurrent();
        book.GoToLevel(level);
    }
}

class BookChangeRoundTrip : public testing::TestWithParam<ChangeRow> {};

TEST_P(BookChangeRoundTrip, UndoLeadsBackAndRedoForthAgain) {
    auto book = Book({Spell(1, "Alarm"), Spell(1, "Shield"), Spell(1, "sleep"), Spell(2, "Web"),
                      Spell(3, "Fireball"), Spell(3, "Fly"), Spell(9, "Wish")});
    const BookState before = BookState::Of(*book);
    GetParam().act(*book);
    const BookState after = BookState::Of(*book);
    const BookChange change = BookChange::Between(before, after);
    EXPECT_FALSE(change.Empty());
    // Twice round, so that each direction also starts from a book it made itself.
    for (int round = 0; round < 2; ++round) {
        change.Undo(*book);
        ExpectState(*book, before);
        change.Redo(*book);
        ExpectState(*book, after);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, BookChangeRoundTrip,
    testing::Values(
        ChangeRow{"DeleteFirstLevel", [](TSpellBook& b) { DeleteLevel(b, 1); }},
        ChangeRow{"DeleteMiddleLevel", [](TSpellBook& b) { DeleteLevel(b, 3); }},
        ChangeRow{"DeleteLastSpell", [](TSpellBook& b) { DeleteLevel(b, 9); }},
        ChangeRow{"AddAtEveryPlace",
                  [](TSpellBook& b) {
                      for (const tSpell& s : {Spell(1, "Aaa"), Spell(2, "Zzz"), Spell(4, "Mid"),
                                              Spell(9, "Zenith"), Spell(1, "Magic Missile")})
                          b.AddCopy(&s);
                  }},
        ChangeRow{"EditInPlace",
                  [](TSpellBook& b) {
                      b.SpellAt(3, 1)->Page = 99; // same level and name, other page
                  }},
        ChangeRow{"EditToAnotherLevel",
                  [](TSpellBook& b) {
                      b.SpellAt(1, 1);
                      b.DeleteCurrent();
                      const tSpell moved = Spell(4, "Shield", 7);
                      b.AddCopy(&moved);
                  }},
        ChangeRow{"ClearAndChangeCaster",
                  [](TSpellBook& b) {
                      DeleteLevel(b, 1);
                      DeleteLevel(b, 2);
                      DeleteLevel(b, 3);
                      DeleteLevel(b, 9);
                      b.CasterLevel = 12;
                      b.Specialty = "Generalist";
                  }},
        ChangeRow{"CasterOnly", [](TSpellBook& b) { b.Intelligence = 18; }},
        ChangeRow{"SwapNamesBetweenSpells",
                  [](TSpellBook& b) {
                      // Fly becomes Fireball's name and Fireball a new one.
                      b.SpellAt(3, 0);
                      b.DeleteCurrent();
                      b.SpellAt(3, 0);
                      b.DeleteCurrent();
                      for (const tSpell& s : {Spell(3, "Fireball", 50), Spell(3, "Haste", 51)})
                          b.AddCopy(&s);
                  }}),
    [](const testing::TestParamInfo<ChangeRow>& info) { return std::string(info.param.name); });

TEST(BookChange, SpellsTakenOutAndPutBackUnchangedCountForNothing) {
    auto book = Book({Spell(1, "Alarm")});
    BookChange change(CasterFields::Of(*book));
    EXPECT_TRUE(change.Empty());
    change.Removed(Spell(1, "Alarm"));
    change.Added(Spell(1, "alarm")); // another name's case: a change
    EXPECT_FALSE(change.Empty());
    BookChange same(CasterFields::Of(*book));
    same.Removed(Spell(1, "Alarm"));
    same.Added(Spell(1, "Alarm"));
    EXPECT_TRUE(same.Empty());
}

TEST(BookChange, SpellsNotedOutOfBookOrderAreTakenInBookOrder) {
    auto book = Book({Spell(1, "Alarm"), Spell(1, "Shield"), Spell(1, "sleep"), Spell(2, "Web"),
                      Spell(2, "Wish")});
    const BookState before = BookState::Of(*book);
    BookChange change(CasterFields::Of(*book));
    // As a list showing every level may hand them over: the later level first.
    change.Removed(Spell(2, "Wish"));
    change.Removed(Spell(1, "Alarm"));
    change.Removed(Spell(1, "sleep"));
    std::vector<std::string> names;
    for (const tSpell& spell : change.RemovedSpells()) names.push_back(spell.Name);
    EXPECT_EQ(names, (std::vector<std::string>{"Alarm", "sleep", "Wish"}));
    change.Redo(*book);
    EXPECT_EQ(book->Count(), 2);
    change.Undo(*book);
    ExpectState(*book, before);
}

TEST(BookChange, TheLevelShownFollowsTheSpellsTouched) {
    auto book = Book({});
    BookChange change(CasterFields::Of(*book));
    EXPECT_EQ(change.LevelToShow(4), 4); // no spells: the level stays
    change.Removed(Spell(7, "Gone"));
    change.Added(Spell(3, "New"));
    change.Added(Spell(5, "Other"));
    EXPECT_EQ(change.LevelToShow(5), 5);
    EXPECT_EQ(change.LevelToShow(1), 3); // the lowest level touched
    EXPECT_EQ(change.LevelToShow(9), 3);
}

TEST(BookChange, CasterChangesMergeAndVanishWhenTypedBack) {
    auto book = Book({});
    const CasterFields start = CasterFields::Of(*book);
    CasterFields typed = start;
    typed.CasterLevel = 1;
    CasterFields more = start;
    more.CasterLevel = 12;
    BookChange first(start);
    first.SetCaster(start, typed);
    BookChange second(start);
    second.SetCaster(typed, more);
    first.MergeCaster(second);
    first.Undo(*book);
    EXPECT_EQ(book->CasterLevel, 5);
    first.Redo(*book);
    EXPECT_EQ(book->CasterLevel, 12);
    BookChange back(start);
    back.SetCaster(more, start);
    first.MergeCaster(back);
    EXPECT_TRUE(first.Empty());
}

// Spells in random order put in after the cursor keep the book's order, level
// counts and refusals, wherever the cursor stands.
TEST(SpellBook, AddCopyInOrderKeepsTheOrderWhereverTheCursorIs) {
    std::mt19937 gen(7);
    std::vector<tSpell> spells;
    for (int i = 0; i < 200; ++i)
        spells.push_back(Spell(1 + int(gen() % 9), "S" + std::to_string(gen() % 120)));
    TSpellBook hinted;
    TSpellBook plain;
    for (const tSpell& spell : spells) {
        if (gen() % 3 == 0) hinted.SpellAt(1 + int(gen() % 9), int(gen() % 5));
        EXPECT_EQ(hinted.AddCopyInOrder(spell), plain.AddCopy(&spell)) << spell.Name;
    }
    ExpectState(hinted, BookState::Of(plain));
}

} // namespace
