#include "rules/fill.h"
#include "rules/level_index.h"
#include "rules/odds.h"
#include "rules/random.h"

#include "deadline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace vellumar;
using vellumar::test::EndsWithin;

namespace {

using Counts = std::array<int32_t, 10>; // slots 1..9

Counts LevelCounts(const TSpellBook& book) {
    Counts counts{};
    for (int level = 1; level <= 9; ++level) counts[level] = book.LevelCount[level];
    return counts;
}

std::vector<std::string> Names(TSpellBook& book, int level = 0) {
    std::vector<std::string> names;
    for (book.First(); book.CurrentSpell(); book.Next())
        if (level == 0 || book.CurrentLevel() == level) names.push_back(book.CurrentName());
    return names;
}

void AddSpells(TSpellBook& book, int level, int count, const std::string& prefix,
               int32_t frequency = 0, const std::string& category = "div") {
    for (int i = 0; i < count; ++i)
        book.AddSpell(
            new tSpell(level, prefix + std::to_string(i), "Core", i, frequency, category));
}

// Every draw loop ends only with probability 1, so a fault in a pick or in the
// odds can make it spin for ever: each call runs under a deadline that names it.
std::string Describe(const char* call, const TSpellBook* book) {
    return std::string(call) +
           (book ? " (caster level " + std::to_string(book->CasterLevel) + ", Intelligence " +
                       std::to_string(book->Intelligence) + ", " + book->Specialty + ")"
                 : std::string());
}

// The odds the draws of these tests use; each test starts with the defaults.
FrequencyOddsTable testOdds = DefaultFrequencyOdds;

void FillBook(TSpellBook* book, TSpellBook* master, tSpecialtyList* table) {
    EndsWithin(Describe("FillSpellbook", book),
               [&] { FillSpellbook(book, master, table, testOdds); });
}

void FillFrom(TSpellBook& book, TSpellBook& pool) {
    EndsWithin(Describe("FillFromPool", &book), [&] { FillFromPool(book, pool, testOdds); });
}

RandomSpellResult AddRandomResult(TSpellBook& book, TSpellBook* master, tSpecialtyList* table,
                                  int32_t level, const AdmitIneligibleFn& admit) {
    return EndsWithin(Describe("AddRandomSpell", &book),
                      [&] { return AddRandomSpell(book, master, table, testOdds, level, admit); });
}

const tSpell* AddRandom(TSpellBook& book, TSpellBook* master, tSpecialtyList* table, int32_t level,
                        const AdmitIneligibleFn& admit) {
    return AddRandomResult(book, master, table, level, admit).spell;
}

// A master list with `perLevel` Common spells of category div at every level.
std::unique_ptr<TSpellBook> EvenMaster(int perLevel) {
    auto master = std::make_unique<TSpellBook>();
    for (int level = 1; level <= 9; ++level)
        AddSpells(*master, level, perLevel, "L" + std::to_string(level) + "-");
    return master;
}

class Fill : public testing::Test {
protected:
    void SetUp() override { SeedRandom(20240601); }
    void TearDown() override { testOdds = DefaultFrequencyOdds; }
    std::unique_ptr<tSpecialtyList> table_ = BuiltInSpecialties();
};

struct TargetRow {
    int32_t casterLevel;
    int32_t intelligence;
    Counts expected;
};

class FillTargets : public testing::TestWithParam<TargetRow> {
protected:
    std::unique_ptr<tSpecialtyList> table_ = BuiltInSpecialties();
};

TEST_P(FillTargets, ReachesTheLimitsOfEveryCastableLevel) {
    const TargetRow& row = GetParam();
    auto master = EvenMaster(20);
    for (uint32_t seed : {1u, 2u, 3u}) {
        SeedRandom(seed);
        TSpellBook book(row.casterLevel, row.intelligence, 0, "Generalist");
        FillBook(&book, master.get(), table_.get());
        EXPECT_EQ(LevelCounts(book), row.expected) << "seed " << seed;
        EXPECT_FALSE(book.Modified);
        for (book.First(); const tSpell* spell = book.CurrentSpell(); book.Next())
            EXPECT_TRUE(master->Contains(spell));
    }
}

INSTANTIATE_TEST_SUITE_P(WorkedExamples, FillTargets,
                         testing::Values(TargetRow{1, 9, {0, 4}}, TargetRow{2, 9, {0, 6}},
                                         TargetRow{3, 9, {0, 6, 4}}, TargetRow{5, 9, {0, 6, 6, 4}},
                                         TargetRow{12, 18, {0, 18, 18, 18, 18, 18, 9}},
                                         TargetRow{30, 21, {0, 20, 20, 20, 20, 20, 20, 20, 20, 20}},
                                         TargetRow{0, 9, {}}, TargetRow{31, 9, {}},
                                         TargetRow{5, 8, {}}, TargetRow{5, 22, {}}));

TEST_F(Fill, TakesWhatThereIsWhenTooFewSpellsAreEligible) {
    TSpellBook master;
    AddSpells(master, 1, 3, "Common");
    AddSpells(master, 1, 5, "Rare", -2);
    AddSpells(master, 1, 5, "Banned", 0, "e/c"); // prohibited for an Invoker
    TSpellBook book(1, 9, 0, "Invoker");
    FillBook(&book, &master, table_.get());
    EXPECT_EQ(Names(book), (std::vector<std::string>{"Common0", "Common1", "Common2"}));
}

TEST_F(Fill, AFullBookGainsNothing) {
    auto master = EvenMaster(20);
    TSpellBook book(5, 12, 0, "Generalist");
    FillBook(&book, master.get(), table_.get());
    const auto first = Names(book);
    FillBook(&book, master.get(), table_.get());
    EXPECT_EQ(Names(book), first);

    // Spells held before count towards the targets, eligible or not.
    TSpellBook held(1, 9, 0, "Abjurer");
    AddSpells(held, 1, 4, "Own", -4, "alt");
    FillBook(&held, master.get(), table_.get());
    EXPECT_EQ(Names(held), (std::vector<std::string>{"Own0", "Own1", "Own2", "Own3"}));
}

TEST_F(Fill, AbsentBookOrMasterDoesNothing) {
    TSpellBook book(5, 12, 0, "Generalist");
    FillBook(&book, nullptr, table_.get());
    FillBook(nullptr, &book, table_.get());
    EXPECT_EQ(book.Count(), 0);
    // A reference book cannot own copies; filling it must not hang.
    auto master = EvenMaster(5);
    TSpellBook reference(5, 12, 0, "Generalist");
    reference.MakeReference();
    FillBook(&reference, master.get(), table_.get());
    EXPECT_EQ(reference.Count(), 0);
}

TEST_F(Fill, SpecialistTakesPreferredSpellsBeforeNeutralOnes) {
    // Neutral Uncommon spells join the first pool with one chance in 327670,
    // so the first pool is the three preferred spells and the second pool
    // tops the book up to its target of six.
    testOdds[3] = 32767;
    TSpellBook master;
    AddSpells(master, 1, 3, "Bolt", 0, "i/e");
    AddSpells(master, 1, 10, "Sight", -1, "div");
    TSpellBook book(2, 9, -1, "Invoker");
    FillBook(&book, &master, table_.get());
    const auto names = Names(book);
    ASSERT_EQ(names.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 3),
              (std::vector<std::string>{"Bolt0", "Bolt1", "Bolt2"}));
}

TEST_F(Fill, SecondPoolAddsNothingWhereTheBookHoldsAsManyAsThePool) {
    // Whatever the split between the pools, neither holds more than five.
    TSpellBook master;
    AddSpells(master, 1, 5, "Neutral", 0, "div");
    for (uint32_t seed = 0; seed < 20; ++seed) {
        SeedRandom(seed);
        TSpellBook book(2, 9, 0, "Invoker");
        AddSpells(book, 1, 5, "Own");
        FillBook(&book, &master, table_.get());
        EXPECT_EQ(book.LevelCount[1], 5) << "seed " << seed;
    }
}

TEST_F(Fill, FillFromPoolComparesTheWholeBookCountWithThePool) {
    TSpellBook pool;
    pool.MakeReference();
    TSpellBook master;
    AddSpells(master, 1, 6, "Pool");
    for (master.First(); master.CurrentSpell(); master.Next()) pool.AddSpell(master.CurrentSpell());

    TSpellBook book(2, 9, 0, "Generalist");
    AddSpells(book, 1, 6, "Own");
    FillFrom(book, pool);
    EXPECT_EQ(book.LevelCount[1], 6) << "six held, six in the pool: nothing to add";

    TSpellBook five(2, 9, 0, "Generalist");
    AddSpells(five, 1, 5, "Own");
    FillFrom(five, pool);
    EXPECT_EQ(five.LevelCount[1], 6) << "one more, up to the target";
}

struct PoolSplitRow {
    const char* name;
    int32_t odds; // for every frequency; 1 is the default for Common
    int minPercent, maxPercent;
};

class AbjurerExample : public Fill, public testing::WithParamInterface<PoolSplitRow> {};

TEST_P(AbjurerExample, NeutralSpellsJoinTheFirstPoolByTheirOdds) {
    const PoolSplitRow& row = GetParam();
    testOdds.fill(row.odds);
    TSpellBook master;
    AddSpells(master, 1, 2, "Ward", 0, "Abjuration");
    const char* others[] = {"div", "nec", "c/s", "e/c", "i/e"};
    for (int i = 0; i < 10; ++i)
        master.AddSpell(new tSpell(1, "Other" + std::to_string(i), "", 0, 0, others[i % 5]));
    const int runs = 400;
    int bothWards = 0;
    for (int run = 0; run < runs; ++run) {
        SeedRandom(static_cast<uint32_t>(run));
        TSpellBook book(1, 9, 0, "Abjurer");
        FillBook(&book, &master, table_.get());
        ASSERT_EQ(book.LevelCount[1], 4);
        const auto names = Names(book);
        bothWards += std::count(names.begin(), names.end(), "Ward0") +
                         std::count(names.begin(), names.end(), "Ward1") ==
                     2;
    }
    EXPECT_GE(bothWards, runs * row.minPercent / 100);
    EXPECT_LE(bothWards, runs * row.maxPercent / 100);
}

// Odds of 1: a neutral spell joins the first pool with one chance in ten, and
// both wards are in whenever that pool holds at most four spells (about 93% of
// fills). Odds of 0: the neutral test always passes, every spell is in the
// first pool, and four drawn evenly from twelve hold both wards in 9% of fills.
INSTANTIATE_TEST_SUITE_P(Odds, AbjurerExample,
                         testing::Values(PoolSplitRow{"One", 1, 85, 100},
                                         PoolSplitRow{"Zero", 0, 3, 18},
                                         // Below 0 counts as 1, never as "always".
                                         PoolSplitRow{"Negative", -5, 85, 100}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Fill, EverySpellOfALevelIsEquallyLikely) {
    TSpellBook master;
    AddSpells(master, 1, 8, "Even");
    std::map<std::string, int> times;
    const int runs = 4000;
    for (int run = 0; run < runs; ++run) {
        TSpellBook book(1, 9, 0, "Generalist");
        FillBook(&book, &master, table_.get());
        for (const auto& name : Names(book)) ++times[name];
    }
    ASSERT_EQ(times.size(), 8u);
    for (const auto& [name, count] : times) {
        EXPECT_GT(count, runs * 45 / 100) << name; // expected half of the runs
        EXPECT_LT(count, runs * 55 / 100) << name;
    }
}

TEST_F(Fill, RareSpellsAreAcceptedByTheirOdds) {
    TSpellBook master;
    AddSpells(master, 1, 10, "Common", 0);
    AddSpells(master, 1, 10, "Restricted", -4);
    int restricted = 0;
    const int runs = 500;
    for (int run = 0; run < runs; ++run) {
        TSpellBook book(1, 9, -4, "Generalist");
        FillBook(&book, &master, table_.get());
        for (const auto& name : Names(book)) restricted += name.rfind("Restricted", 0) == 0;
    }
    // About one accepted pick in a hundred is Restricted: some 20 of 2000 spells.
    EXPECT_LT(restricted, 60);
    EXPECT_GT(restricted, 0);
}

TEST_F(Fill, OddsOfZeroOrBelowStillEnd) {
    auto master = EvenMaster(12);
    for (int32_t odds : {0, -1, -32768}) {
        testOdds.fill(odds);
        TSpellBook book(7, 13, -4, "Invoker");
        FillBook(&book, master.get(), table_.get());
        EXPECT_EQ(LevelCounts(book), (Counts{0, 9, 9, 9, 6})) << "odds " << odds;
    }
}

TEST_F(Fill, OddsTestAcceptsOneInN) {
    testOdds = {100, 20, 10, 5, 1};
    const int trials = 20000;
    int passes = 0;
    for (int i = 0; i < trials; ++i) passes += OddsTest(testOdds, -1);
    EXPECT_NEAR(passes, trials / 5, trials / 50);
    for (int32_t always : {1, 0, -7}) {
        testOdds[4] = always;
        for (int i = 0; i < 200; ++i) ASSERT_TRUE(OddsTest(testOdds, 0)) << "odds " << always;
    }
    EXPECT_EQ(EffectiveOdds(testOdds, -4), 100);
    EXPECT_EQ(EffectiveOdds(testOdds, 3), EffectiveOdds(testOdds, 0))
        << "an unknown code counts as Common";
    EXPECT_EQ(DefaultFrequencyOdds, (std::array<int32_t, 5>{100, 20, 10, 5, 1}));
}

TEST_F(Fill, AddRandomSpellWithoutAMasterListReportsIt) {
    TSpellBook book(5, 12, 0, "Generalist");
    int asked = 0;
    const RandomSpellResult result =
        AddRandomResult(book, nullptr, table_.get(), 1,
                        [&](const tSpell&, Ineligibility) { return ++asked, true; });
    EXPECT_EQ(result.spell, nullptr);
    EXPECT_EQ(result.outcome, RandomSpellOutcome::NoMasterList);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(book.Count(), 0);
}

TEST_F(Fill, AddRandomSpellOnAFullLevelDoesNothing) {
    TSpellBook master;
    AddSpells(master, 1, 3, "Master");
    TSpellBook book(5, 12, 0, "Generalist");
    AddSpells(book, 1, 3, "Own"); // not the master's spells, but as many
    const auto fail = [](const tSpell&, Ineligibility) -> bool {
        ADD_FAILURE() << "no box expected";
        return false;
    };
    for (const int32_t level : {1, 2, 10}) {
        const RandomSpellResult result = AddRandomResult(book, &master, table_.get(), level, fail);
        EXPECT_EQ(result.spell, nullptr);
        EXPECT_EQ(result.outcome, RandomSpellOutcome::NoneLeft) << "level " << level;
    }
    EXPECT_EQ(book.Count(), 3);
    EXPECT_FALSE(book.Modified);
}

TEST_F(Fill, AddRandomSpellAddsASpellTheBookLacks) {
    TSpellBook master;
    AddSpells(master, 2, 4, "Spell");
    for (uint32_t seed = 0; seed < 10; ++seed) {
        SeedRandom(seed);
        TSpellBook book(5, 12, 0, "Generalist");
        AddSpells(book, 2, 3, "Spell"); // Spell0..Spell2: only Spell3 is missing
        const tSpell* added = AddRandom(book, &master, table_.get(), 2, {});
        ASSERT_NE(added, nullptr);
        EXPECT_EQ(added->Name, "Spell3");
        EXPECT_EQ(book.LevelCount[2], 4);
        EXPECT_TRUE(book.Modified);
        EXPECT_NE(added, master.LastItem()) << "the book's own copy is returned";
        book.First();
        for (int i = 0; i < 3; ++i) book.Next();
        EXPECT_EQ(book.CurrentSpell(), added);
    }
}

TEST_F(Fill, AddRandomSpellAsksBeforeLettingAnIneligibleSpellIn) {
    TSpellBook master;
    master.AddSpell(new tSpell(1, "Polymorph", "", 0, 0, "alt"));
    TSpellBook book(5, 12, 0, "Abjurer");
    std::vector<std::pair<std::string, Ineligibility>> asked;
    bool answer = false;
    const AdmitIneligibleFn confirm = [&](const tSpell& spell, Ineligibility why) {
        asked.emplace_back(spell.Name, why);
        return answer;
    };
    const RandomSpellResult refused = AddRandomResult(book, &master, table_.get(), 1, confirm);
    EXPECT_EQ(refused.spell, nullptr);
    EXPECT_EQ(refused.outcome, RandomSpellOutcome::Refused);
    EXPECT_EQ(asked, (std::vector<std::pair<std::string, Ineligibility>>{
                         {"Polymorph", Ineligibility::Prohibited}}));
    EXPECT_EQ(book.Count(), 0);
    EXPECT_FALSE(book.Modified);

    answer = true;
    const tSpell* added = AddRandom(book, &master, table_.get(), 1, confirm);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->Name, "Polymorph");
    EXPECT_EQ(book.Count(), 1);
}

TEST_F(Fill, AddRandomSpellFavoursCommonSpells) {
    TSpellBook master;
    master.AddSpell(new tSpell(1, "Common", "", 0, 0, ""));
    master.AddSpell(new tSpell(1, "Restricted", "", 0, -4, ""));
    int common = 0;
    for (int run = 0; run < 1000; ++run) {
        TSpellBook book(1, 9, -4, "Generalist");
        common += AddRandom(book, &master, table_.get(), 1, {})->Name == "Common";
    }
    EXPECT_GT(common, 970); // about 995 in 1000
}

} // namespace

namespace {

// Add Random Spell as the master list's own walk draws it: pick, odds test,
// Contains, until a pick passes and the book lacks it. Any faster draw must
// reach the same spell with the same random numbers.
std::string WalkedRandomSpell(TSpellBook& book, TSpellBook& master, int32_t level) {
    if (book.CountOfLevel(level) >= master.CountOfLevel(level)) return {};
    for (;;) {
        const tSpell* pick = RandomSpellOfLevel(master, level);
        const bool accepted = OddsTest(testOdds, pick->Frequency);
        if (accepted && !book.Contains(pick)) return pick->Name;
    }
}

struct HeldRow {
    int held; // of the master's 400 first-level spells, the first `held` are in the book
};

class SeededAddRandom : public testing::TestWithParam<HeldRow> {};

TEST_P(SeededAddRandom, ASeedGivesTheSpellOfTheWalkedDraw) {
    TSpellBook master;
    for (int i = 0; i < 400; ++i)
        master.AddSpell(new tSpell(1, "M" + std::to_string(i), "", 0, -(i % 5), ""));
    AddSpells(master, 2, 30, "Second");
    const auto table = BuiltInSpecialties();
    for (uint32_t seed = 1; seed <= 30; ++seed) {
        TSpellBook book(9, 18, -4, "Generalist");
        int held = 0;
        for (master.First(); held < GetParam().held; master.Next(), ++held)
            book.AddCopy(master.CurrentSpell());
        book.AddSpell(new tSpell(1, "Own", "", 0, 0, "")); // a spell the master lacks

        SeedRandom(seed);
        const std::string expected = WalkedRandomSpell(book, master, 1);
        const int32_t nextAfterWalk = RandomInt(1 << 30);

        SeedRandom(seed);
        const tSpell* added = AddRandomSpell(book, &master, table.get(), testOdds, 1, {}).spell;
        ASSERT_NE(added, nullptr) << "seed " << seed;
        EXPECT_EQ(added->Name, expected) << "seed " << seed;
        EXPECT_EQ(RandomInt(1 << 30), nextAfterWalk) << "seed " << seed << ": draws used";
    }
}

INSTANTIATE_TEST_SUITE_P(Held, SeededAddRandom,
                         testing::Values(HeldRow{0}, HeldRow{200}, HeldRow{395}, HeldRow{398}));

} // namespace
