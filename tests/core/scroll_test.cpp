#include "rules/level_index.h"
#include "rules/random.h"
#include "rules/scroll.h"

#include "deadline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace vellumar;

namespace {

TSpellBook& Fill(TSpellBook& book, int level, int count) {
    for (int i = 0; i < count; ++i)
        book.AddSpell(new tSpell(level, "S" + std::to_string(level) + "-" + std::to_string(i),
                                 "Core", i, -i % 5, "abj"));
    return book;
}

// Drawing repeats until enough different spells are in: under a fault in the
// counts that may never happen, and the deadline says so.
std::unique_ptr<TSpellBook> Draw(TSpellBook& source, const std::array<int32_t, 9>& counts) {
    return vellumar::test::EndsWithin("DrawScroll", [&] { return DrawScroll(source, counts); });
}

struct CountRow {
    std::array<int32_t, 9> asked;
    std::array<int32_t, 9> expected;
};

class ScrollCounts : public testing::TestWithParam<CountRow> {};

TEST_P(ScrollCounts, DrawsTheAskedNumberHeldWithinTheSource) {
    TSpellBook source(9, 14, -3, "Diviner");
    Fill(source, 1, 4);
    Fill(source, 3, 2);
    Fill(source, 5, 6);
    for (uint32_t seed : {7u, 8u, 9u}) {
        SeedRandom(seed);
        auto scroll = Draw(source, GetParam().asked);
        for (int level = 1; level <= 9; ++level)
            EXPECT_EQ(scroll->LevelCount[level], GetParam().expected[level - 1])
                << "level " << level;
        for (scroll->First(); const tSpell* spell = scroll->CurrentSpell(); scroll->Next())
            EXPECT_TRUE(source.Contains(spell));
        EXPECT_EQ(scroll->CasterLevel, 9);
        EXPECT_EQ(scroll->Intelligence, 14);
        EXPECT_EQ(scroll->SpellFrequency, -3);
        EXPECT_EQ(scroll->Specialty, "Diviner");
        EXPECT_TRUE(scroll->Modified);
    }
    EXPECT_EQ(source.Count(), 12);
    EXPECT_FALSE(source.Modified);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, ScrollCounts,
    testing::Values(CountRow{{0, 0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0, 0}},
                    CountRow{{4, 0, 2, 0, 6, 0, 0, 0, 0}, {4, 0, 2, 0, 6, 0, 0, 0, 0}},
                    CountRow{{2, 0, 1, 0, 3, 0, 0, 0, 0}, {2, 0, 1, 0, 3, 0, 0, 0, 0}},
                    CountRow{{9, 3, 5, 1, 99, 1, 1, 1, 1}, {4, 0, 2, 0, 6, 0, 0, 0, 0}},
                    CountRow{{-1, -5, 1, 0, -100, 0, 0, 0, -2}, {0, 0, 1, 0, 0, 0, 0, 0, 0}}));

TEST(Scroll, EverySpellOfALevelIsEquallyLikely) {
    TSpellBook source(5, 12, 0, "Generalist");
    Fill(source, 2, 5);
    std::map<std::string, int> times;
    const int runs = 5000;
    SeedRandom(3);
    for (int run = 0; run < runs; ++run) {
        auto scroll = Draw(source, {0, 2, 0, 0, 0, 0, 0, 0, 0});
        for (scroll->First(); scroll->CurrentSpell(); scroll->Next())
            ++times[scroll->CurrentName()];
    }
    ASSERT_EQ(times.size(), 5u);
    for (const auto& [name, count] : times) EXPECT_NEAR(count, runs * 2 / 5, runs / 25) << name;
}

TEST(Scroll, HoldsCopiesNotTheSourcesSpells) {
    TSpellBook source(5, 12, 0, "Generalist");
    Fill(source, 1, 3);
    auto scroll = Draw(source, {3, 0, 0, 0, 0, 0, 0, 0, 0});
    std::set<const tSpell*> own;
    for (source.First(); source.CurrentSpell(); source.Next()) own.insert(source.CurrentSpell());
    for (scroll->First(); scroll->CurrentSpell(); scroll->Next())
        EXPECT_EQ(own.count(scroll->CurrentSpell()), 0u);
    scroll.reset();
    EXPECT_EQ(source.Count(), 3); // the source's spells outlive the scroll
    source.First();
    EXPECT_EQ(source.CurrentName(), "S1-0");
}

std::vector<std::string> LevelsAndNames(TSpellBook& book) {
    std::vector<std::string> names;
    for (book.First(); book.CurrentSpell(); book.Next())
        names.push_back(std::to_string(book.CurrentLevel()) + book.CurrentName());
    return names;
}

// The scroll as the book's own walk draws it: RandomSpellOfLevel until the
// scroll holds enough different spells. Any faster draw must pick the same
// spells with the same random numbers, so that a seed keeps giving the same scroll.
std::vector<std::string> WalkedScroll(TSpellBook& source, const std::array<int32_t, 9>& counts) {
    TSpellBook scroll;
    for (int32_t level = 1; level <= 9; ++level) {
        const int32_t wanted = std::clamp(counts[level - 1], 0, source.LevelCount[level]);
        while (scroll.LevelCount[level] < wanted) scroll.AddCopy(RandomSpellOfLevel(source, level));
    }
    return LevelsAndNames(scroll);
}

struct SeededRow {
    std::array<int32_t, 9> counts;
};

class SeededScroll : public testing::TestWithParam<SeededRow> {};

TEST_P(SeededScroll, ASeedGivesTheScrollOfTheWalkedDraw) {
    TSpellBook source(12, 16, -2, "Invoker");
    Fill(source, 1, 300);
    Fill(source, 2, 1);
    Fill(source, 4, 57);
    Fill(source, 9, 12);
    for (uint32_t seed = 1; seed <= 25; ++seed) {
        SeedRandom(seed);
        const auto expected = WalkedScroll(source, GetParam().counts);
        const int32_t nextAfterWalk = RandomInt(1 << 30);

        SeedRandom(seed);
        auto scroll = DrawScroll(source, GetParam().counts);
        EXPECT_EQ(LevelsAndNames(*scroll), expected) << "seed " << seed;
        EXPECT_EQ(RandomInt(1 << 30), nextAfterWalk) << "seed " << seed << ": draws used";
    }
}

INSTANTIATE_TEST_SUITE_P(Counts, SeededScroll,
                         testing::Values(SeededRow{{1, 1, 0, 1, 0, 0, 0, 0, 1}},
                                         SeededRow{{40, 1, 0, 20, 0, 0, 0, 0, 6}},
                                         SeededRow{{300, 1, 0, 57, 0, 0, 0, 0, 12}},
                                         SeededRow{{299, 0, 5, 56, 3, 0, 0, 0, 11}}));

} // namespace
