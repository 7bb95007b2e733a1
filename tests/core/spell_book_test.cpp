#include "model/spell_book.h"
#include "rules/level_index.h"
#include "rules/random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

using namespace vellumar;

namespace {

tSpell* MakeSpell(int level, const std::string& name) {
    return new tSpell(level, name, "Core", 1, 0, "abj");
}

std::vector<std::string> Names(TSpellBook& book) {
    std::vector<std::string> names;
    for (book.First(); book.CurrentSpell(); book.Next()) names.push_back(book.CurrentName());
    return names;
}

TEST(SpellBook, OrdersByLevelThenFoldedNameAndRefusesDuplicates) {
    TSpellBook book(5, 12, 0, "Generalist");
    EXPECT_TRUE(book.AddSpell(MakeSpell(2, "Web")));
    EXPECT_TRUE(book.AddSpell(MakeSpell(1, "Lightning")));
    EXPECT_TRUE(book.AddSpell(MakeSpell(1, "Light")));
    EXPECT_TRUE(book.AddSpell(MakeSpell(1, "sleep")));
    EXPECT_TRUE(book.AddSpell(MakeSpell(1, "_under"))); // '_' sorts after folded letters
    // Bytes above 127 go after every plain byte, by value; only a to z fold.
    EXPECT_TRUE(book.AddSpell(MakeSpell(1, "\xE9t\xE9")));
    EXPECT_TRUE(book.AddSpell(MakeSpell(1, "\xC9t\xE9")));
    EXPECT_TRUE(book.AddSpell(MakeSpell(1, "Zap\xFF")));
    EXPECT_TRUE(book.AddSpell(MakeSpell(1, "zap~")));
    auto dup = std::unique_ptr<tSpell>(MakeSpell(1, "Sleep"));
    EXPECT_FALSE(book.AddSpell(dup));
    EXPECT_NE(dup, nullptr) << "a refused spell stays the caller's";
    EXPECT_TRUE(book.AddSpell(MakeSpell(2, "Sleep")));
    EXPECT_EQ(Names(book),
              (std::vector<std::string>{"Light", "Lightning", "sleep", "zap~", "Zap\xFF", "_under",
                                        "\xC9t\xE9", "\xE9t\xE9", "Sleep", "Web"}));
    EXPECT_EQ(book.LevelCount[1], 8);
    EXPECT_EQ(book.LevelCount[2], 2);
    EXPECT_EQ(book.Count(), 10);
    EXPECT_FALSE(book.AddSpell(static_cast<tSpell*>(nullptr)));
    EXPECT_FALSE(book.Modified);
}

TEST(SortedList, InsertMatchesTheWalkForEveryPosition) {
    // The end-first shortcut must give the order, refusals and stability of the full walk.
    tSortedList<int> stable([](const int& a, const int& b) { return int32_t(a / 10 - b / 10); },
                            false);
    int items[] = {15, 31, 12, 38, 10, 33, 20, 39};
    for (int& i : items) EXPECT_TRUE(stable.Insert(&i));
    std::vector<int> order;
    for (stable.First(); stable.CurrentItem(); stable.Next())
        order.push_back(*stable.CurrentItem());
    EXPECT_EQ(order, (std::vector<int>{15, 12, 10, 20, 31, 38, 33, 39}));
    tSortedList<int> unique([](const int& a, const int& b) { return int32_t(a / 10 - b / 10); },
                            true);
    int a = 11, b = 19, c = 5;
    EXPECT_TRUE(unique.Insert(&a));
    EXPECT_FALSE(unique.Insert(&b));
    EXPECT_TRUE(unique.Insert(&c));
    EXPECT_TRUE(unique.Contains(&b));
    EXPECT_FALSE(unique.Insert(nullptr));
    EXPECT_EQ(unique.Count(), 2);
}

TEST(SpellBook, SpellsInAnyOrderGoWhereTheWalkFromTheStartPutThem) {
    // The one-by-one walk the book did before it kept an index: the reference.
    std::vector<tSpell> walked;
    const auto walk = [&walked](const tSpell& spell) {
        auto at = walked.begin();
        for (; at != walked.end(); ++at) {
            const int32_t c = CompareSpells(spell, *at);
            if (c == 0) return;
            if (c < 0) break;
        }
        walked.insert(at, spell);
    };
    std::mt19937 engine(99);
    const std::string letters = "aAbB_~\xE9";
    TSpellBook book;
    // First at the end only, before a look-up needs the index.
    for (int i = 100; i < 150; ++i) {
        auto spell = std::make_unique<tSpell>(2, "a" + std::to_string(i), "", i, 0, "");
        walk(*spell);
        EXPECT_TRUE(book.AddLast(spell));
    }
    auto early = std::make_unique<tSpell>(2, "a120", "", 0, 0, "");
    EXPECT_FALSE(book.AddLast(early));
    EXPECT_NE(early, nullptr) << "a refused spell stays the caller's";
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 300; ++i) {
            std::string name(1 + engine() % 3, ' ');
            for (char& c : name) c = letters[engine() % letters.size()];
            const tSpell spell(int32_t(1 + engine() % 3), name, std::to_string(i), i, 0, "");
            walk(spell);
            const bool held = book.Contains(&spell);
            EXPECT_NE(held, i % 2 ? book.AddCopy(&spell) : book.AddCopyInOrder(spell));
        }
        // Some go again, so that the index forgets them too.
        for (book.First(); book.CurrentSpell(); book.Next()) {
            if (engine() % 4 != 0) continue;
            std::erase(walked, *book.CurrentSpell());
            book.DeleteCurrent();
        }
    }
    std::vector<tSpell> held;
    for (book.First(); const tSpell* spell = book.CurrentSpell(); book.Next())
        held.push_back(*spell);
    EXPECT_EQ(held, walked);
    for (int level = 1; level <= 3; ++level)
        EXPECT_EQ(book.CountOfLevel(level), std::ranges::count(walked, level, &tSpell::Level));
}

TEST(MyList, CursorRules) {
    tMyList<int> list;
    list.First();
    EXPECT_FALSE(list.HasCurrent());
    list.Next();
    list.Prev();
    EXPECT_FALSE(list.HasCurrent());
    int v[] = {1, 2, 3};
    for (int& i : v) list.Append(&i);
    list.Append(nullptr);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_FALSE(list.HasCurrent()) << "Append leaves the cursor";
    list.First();
    list.Prev();
    EXPECT_FALSE(list.HasCurrent());
    list.First();
    list.Next();
    list.Next();
    list.Next();
    EXPECT_FALSE(list.HasCurrent());

    // Deleting the first moves to the new first; any other moves to the one before.
    list.First();
    list.DeleteCurrent();
    EXPECT_EQ(*list.CurrentItem(), 2);
    list.Next();
    list.DeleteCurrent();
    EXPECT_EQ(*list.CurrentItem(), 2);
    list.DeleteCurrent();
    EXPECT_FALSE(list.HasCurrent());
    EXPECT_EQ(list.Count(), 0);
    list.DeleteCurrent(); // nothing under the cursor: nothing happens
    EXPECT_FALSE(list.Modified);
}

TEST(SpellBook, DeleteCurrentKeepsCountsAndCursor) {
    TSpellBook book;
    book.AddSpell(MakeSpell(1, "A"));
    book.AddSpell(MakeSpell(2, "B"));
    book.AddSpell(MakeSpell(4, "C"));
    book.SpellAt(2, 0);
    book.DeleteCurrent();
    EXPECT_EQ(book.LevelCount[2], 0);
    EXPECT_EQ(book.CurrentName(), "A");
    book.GoToLevel(2);
    EXPECT_EQ(book.CurrentName(), "C") << "an empty level lands on the next level present";
    book.GoToLevel(5);
    EXPECT_EQ(book.CurrentSpell(), nullptr);
    EXPECT_EQ(book.CurrentName(), " ");
    EXPECT_EQ(book.CurrentBook(), " ");
    EXPECT_EQ(book.CurrentCategory(), " ");
    EXPECT_EQ(book.CurrentLevel(), 0);
    EXPECT_EQ(book.CurrentPage(), 0);
    EXPECT_EQ(book.CurrentFrequency(), 0);
    book.First();
    book.DeleteCurrent();
    EXPECT_EQ(book.CurrentName(), "C");
    EXPECT_EQ(book.LevelCount[1], 0);
}

TEST(SpellBook, GoToLevelAndSpellAtFromAnyCursor) {
    TSpellBook book;
    for (int level : {1, 1, 3, 3, 3, 7})
        book.AddSpell(MakeSpell(level, "S" + std::to_string(book.Count())));
    for (int from = 0; from < 6; ++from) {
        for (int target = 1; target <= 9; ++target) {
            book.First();
            for (int i = 0; i < from; ++i) book.Next();
            book.GoToLevel(target);
            const int expected = target <= 1 ? 1 : target <= 3 ? 3 : target <= 7 ? 7 : 0;
            EXPECT_EQ(book.CurrentLevel(), expected) << "from " << from << " to " << target;
            if (expected) {
                const tSpell* cur = book.CurrentSpell();
                book.Prev();
                EXPECT_TRUE(!book.CurrentSpell() || book.CurrentLevel() < target);
                (void)cur;
            }
        }
    }
    EXPECT_EQ(book.SpellAt(3, 2)->Name, "S4");
    EXPECT_EQ(book.CurrentName(), "S4");
    EXPECT_EQ(book.SpellAt(3, 3), nullptr);
    EXPECT_FALSE(book.HasCurrent());
    EXPECT_EQ(book.SpellAt(2, 0), nullptr);
    EXPECT_FALSE(book.HasCurrent());
    EXPECT_EQ(book.SpellAt(7, 0)->Name, "S5");
    EXPECT_EQ(book.SpellAt(8, 0), nullptr);
}

TEST(SpellBook, CopiesAndReferences) {
    TSpellBook master;
    master.AddSpell(MakeSpell(1, "Sleep"));
    master.First();
    TSpellBook book(1, 9, 0, "Generalist");
    EXPECT_TRUE(book.AddCopy(master.CurrentSpell()));
    EXPECT_NE(book.SpellAt(1, 0), master.CurrentSpell());
    EXPECT_FALSE(book.AddCopy(master.CurrentSpell()));
    EXPECT_FALSE(book.AddCopy(nullptr));
    EXPECT_TRUE(book.Contains(master.CurrentSpell()));

    // A pool borrows spells and releases none of them (the sanitizer run checks).
    {
        TSpellBook pool;
        pool.MakeReference();
        EXPECT_FALSE(pool.AddCopy(master.CurrentSpell()));
        EXPECT_TRUE(pool.AddSpell(master.CurrentSpell()));
        pool.First();
        pool.DeleteCurrent();
        EXPECT_TRUE(pool.AddSpell(master.CurrentSpell()));
    }
    EXPECT_EQ(master.CurrentName(), "Sleep");
}

TEST(SpellBook, RandomSpellOfLevelIsUniformAndStaysInLevel) {
    SeedRandom(42);
    TSpellBook book;
    for (int i = 0; i < 4; ++i) book.AddSpell(MakeSpell(2, "N" + std::to_string(i)));
    book.AddSpell(MakeSpell(1, "Low"));
    book.AddSpell(MakeSpell(3, "High"));
    std::map<std::string, int> seen;
    for (int i = 0; i < 4000; ++i) {
        tSpell* s = RandomSpellOfLevel(book, 2);
        ASSERT_NE(s, nullptr);
        ASSERT_EQ(s->Level, 2);
        EXPECT_EQ(book.CurrentSpell(), s);
        ++seen[s->Name];
    }
    ASSERT_EQ(seen.size(), 4u);
    for (auto& [name, n] : seen) EXPECT_NEAR(n, 1000, 150) << name;
    EXPECT_EQ(RandomSpellOfLevel(book, 5), nullptr);
    EXPECT_EQ(RandomSpellOfLevel(book, 0)->Name, "Low") << "count 0 draws 0: first at or above";
}

TEST(Random, DrawIsInRangeAndSeeded) {
    EXPECT_EQ(RandomInt(0), 0);
    EXPECT_EQ(RandomInt(-5), 0);
    SeedRandom(7);
    std::vector<int> first;
    for (int i = 0; i < 20; ++i) first.push_back(RandomInt(1000));
    SeedRandom(7);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(RandomInt(1000), first[i]);
    for (int i = 0; i < 1000; ++i) {
        const int r = RandomInt(3);
        EXPECT_TRUE(r >= 0 && r < 3);
    }
}

} // namespace
