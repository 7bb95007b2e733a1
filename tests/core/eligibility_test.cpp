#include "rules/eligibility.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

using namespace vellumar;

namespace {

struct RuleRow {
    const char* what;
    int32_t casterLevel;
    int32_t bookFrequency;
    const char* specialty;
    int32_t spellLevel;
    int32_t spellFrequency;
    const char* category;
    bool eligible;
};

class EligibilityRule : public testing::TestWithParam<RuleRow> {};

TEST_P(EligibilityRule, DecidesAsTheRulesSay) {
    const RuleRow& row = GetParam();
    auto table = BuiltInSpecialties();
    TSpellBook book(row.casterLevel, 12, row.bookFrequency, row.specialty);
    const tSpell spell(row.spellLevel, "Spell", "Core", 1, row.spellFrequency, row.category);
    EXPECT_EQ(IsSpellValidForBook(&spell, &book, table.get()), row.eligible);
    for (int32_t intelligence : {9, 15, 21}) {
        book.Intelligence = intelligence;
        EXPECT_EQ(IsSpellValidForBook(&spell, &book, table.get()), row.eligible)
            << "Intelligence " << intelligence << " must not matter";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, EligibilityRule,
    testing::Values(
        RuleRow{"level castable", 1, 0, "Generalist", 1, 0, "alt", true},
        RuleRow{"level 2 at caster level 2", 2, 0, "Generalist", 2, 0, "alt", false},
        RuleRow{"level 2 at caster level 3", 3, 0, "Generalist", 2, 0, "alt", true},
        RuleRow{"level 6 at caster level 11", 11, 0, "Generalist", 6, 0, "alt", false},
        RuleRow{"level 9 at caster level 18", 18, 0, "Generalist", 9, 0, "alt", true},
        RuleRow{"caster level out of range", 0, 0, "Generalist", 1, 0, "alt", false},
        RuleRow{"common book, uncommon spell", 5, 0, "Generalist", 1, -1, "alt", false},
        RuleRow{"uncommon book, common spell", 5, -1, "Generalist", 1, 0, "alt", true},
        RuleRow{"rare book, rare spell", 5, -2, "Generalist", 1, -2, "alt", true},
        RuleRow{"rare book, very rare spell", 5, -2, "Generalist", 1, -3, "alt", false},
        RuleRow{"restricted book, restricted spell", 5, -4, "Generalist", 1, -4, "alt", true},
        RuleRow{"prohibited category", 5, 0, "Abjurer", 1, 0, "Alteration", false},
        RuleRow{"preferred category", 5, 0, "Abjurer", 1, 0, "abj", true},
        RuleRow{"neutral category", 5, 0, "Abjurer", 1, 0, "div", true},
        RuleRow{"prohibited wins over preferred", 5, 0, "Illusionist", 1, 0, "ill/abj", false},
        RuleRow{"specialty not in table", 5, 0, "Wild Mage", 1, 0, "alt", true},
        RuleRow{"specialty matched case-sensitively", 5, 0, "abjurer", 1, 0, "alt", true}),
    [](const testing::TestParamInfo<RuleRow>& info) {
        std::string name;
        for (const char* c = info.param.what; *c; ++c)
            if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
        return name;
    });

TEST(Eligibility, ConsultsTheTableOnlyAfterLevelAndFrequencyPass) {
    auto table = BuiltInSpecialties();
    const TSpellBook book(3, 12, -1, "Diviner");
    const tSpell tooHigh(3, "High", "", 0, 0, "div");
    const tSpell tooRare(1, "Rare", "", 0, -2, "div");
    const tSpell fine(1, "Fine", "", 0, 0, "div");
    for (const tSpell* spell : {&tooHigh, &tooRare}) {
        table->First(); // the Abjurer
        EXPECT_FALSE(IsSpellValidForBook(spell, &book, table.get()));
        EXPECT_EQ(table->CurrentName(), "Abjurer") << spell->Name << " looked the specialty up";
    }
    table->First();
    EXPECT_TRUE(IsSpellValidForBook(&fine, &book, table.get()));
    EXPECT_EQ(table->CurrentName(), "Diviner");
}

TEST(Eligibility, AbsentSpellBookOrTableAdmits) {
    auto table = BuiltInSpecialties();
    const TSpellBook book(1, 9, 0, "Abjurer");
    const tSpell spell(9, "Wish", "", 0, -4, "alt");
    EXPECT_TRUE(IsSpellValidForBook(nullptr, &book, table.get()));
    EXPECT_TRUE(IsSpellValidForBook(&spell, nullptr, table.get()));
    EXPECT_TRUE(IsSpellValidForBook(&spell, &book, nullptr));
}

// Five first-level spells A to E in a Common book; the spells whose bit is set
// are Uncommon and so must go. Every pattern, including runs at the front.
TEST(ValidateBook, RemovesEveryIneligibleSpellWhateverItsNeighbours) {
    auto table = BuiltInSpecialties();
    const std::string names = "ABCDE";
    for (unsigned pattern = 0; pattern < 32; ++pattern) {
        TSpellBook book(1, 9, 0, "Generalist");
        std::vector<std::string> expectKept, expectRemoved;
        for (size_t i = 0; i < names.size(); ++i) {
            const bool bad = pattern & (1u << i);
            book.AddSpell(new tSpell(1, std::string(1, names[i]), "", 0, bad ? -1 : 0, ""));
            (bad ? expectRemoved : expectKept).push_back(std::string(1, names[i]));
        }
        std::vector<std::string> removed;
        ValidateBook(book, table.get(), [&](const tSpell& s) { removed.push_back(s.Name); });
        std::vector<std::string> kept;
        for (book.First(); book.CurrentSpell(); book.Next()) kept.push_back(book.CurrentName());
        EXPECT_EQ(kept, expectKept) << "pattern " << pattern;
        EXPECT_EQ(removed, expectRemoved) << "pattern " << pattern;
        EXPECT_EQ(book.LevelCount[1], static_cast<int32_t>(expectKept.size()));
        EXPECT_FALSE(book.Modified);
    }
}

TEST(ValidateBook, EmptiesABookOfIneligibleSpellsAcrossLevels) {
    auto table = BuiltInSpecialties();
    TSpellBook book(1, 9, 0, "Transmuter");
    book.AddSpell(new tSpell(1, "Ray", "", 0, 0, "nec"));
    book.AddSpell(new tSpell(1, "Ward", "", 0, 0, "abj"));
    book.AddSpell(new tSpell(2, "Web", "", 0, 0, "alt"));
    book.AddSpell(new tSpell(5, "Wall", "", 0, 0, "alt"));
    int calls = 0;
    ValidateBook(book, table.get(), [&](const tSpell&) { ++calls; });
    EXPECT_EQ(calls, 4);
    EXPECT_EQ(book.Count(), 0);
    for (int level = 1; level <= 9; ++level) EXPECT_EQ(book.LevelCount[level], 0);

    TSpellBook empty(1, 9, 0, "Generalist");
    ValidateBook(empty, table.get(), [&](const tSpell&) { ++calls; });
    EXPECT_EQ(calls, 4);
}

TEST(OfferSpellToBook, AddsEligibleSpellsAndAsksAboutTheOthers) {
    auto table = BuiltInSpecialties();
    TSpellBook book(1, 9, 0, "Abjurer");
    std::vector<std::pair<std::string, Ineligibility>> asked;
    bool answer = false;
    const AdmitIneligibleFn confirm = [&](const tSpell& spell, Ineligibility why) {
        asked.emplace_back(spell.Name, why);
        return answer;
    };

    const tSpell shield(1, "Shield", "Core", 3, 0, "abj");
    EXPECT_TRUE(OfferSpellToBook(&shield, book, table.get(), confirm));
    EXPECT_TRUE(asked.empty());
    EXPECT_TRUE(book.Modified);
    EXPECT_EQ(book.LevelCount[1], 1);
    book.First();
    EXPECT_NE(book.CurrentSpell(), &shield) << "the book holds its own copy";

    book.Modified = false;
    const tSpell change(1, "Change Self", "Core", 4, 0, "alt");
    EXPECT_FALSE(OfferSpellToBook(&change, book, table.get(), confirm));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], std::make_pair(std::string("Change Self"), Ineligibility::Prohibited));
    EXPECT_FALSE(book.Modified);
    EXPECT_EQ(book.LevelCount[1], 1);

    answer = true;
    EXPECT_TRUE(OfferSpellToBook(&change, book, table.get(), confirm));
    EXPECT_TRUE(book.Modified);
    EXPECT_EQ(book.LevelCount[1], 2);

    // An equal spell already held: let in, the book keeps its own.
    EXPECT_TRUE(OfferSpellToBook(&shield, book, table.get(), confirm));
    EXPECT_EQ(book.LevelCount[1], 2);

    // Without a way to ask, an ineligible spell stays out.
    const tSpell web(2, "Web", "", 0, 0, "c/s");
    EXPECT_FALSE(OfferSpellToBook(&web, book, table.get(), AdmitIneligibleFn{}));
    EXPECT_FALSE(OfferSpellToBook(nullptr, book, table.get(), confirm));
    EXPECT_EQ(book.Count(), 2);
}

} // namespace
