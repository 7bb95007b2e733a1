#include "model/specialty.h"
#include "rules/caster_tables.h"

#include <gtest/gtest.h>

using namespace vellumar;

namespace {

int ClassifyCategory(tSpecialtyList& list, const std::string& specialty, const std::string& cat) {
    tSpell spell(1, "X", "", 0, 0, cat);
    return list.Classify(specialty, &spell);
}

TEST(Specialty, BuiltInTableAndClassify) {
    auto list = BuiltInSpecialties();
    EXPECT_EQ(list->SpecialtyNames(),
              (tStringList{"Abjurer", "Conjurer", "Diviner", "Enchanter", "Illusionist", "Invoker",
                           "Necromancer", "Transmuter"}));
    EXPECT_EQ(ClassifyCategory(*list, "Abjurer", "Alteration"), StandingProhibited);
    EXPECT_EQ(ClassifyCategory(*list, "Abjurer", "abj"), StandingPreferred);
    EXPECT_EQ(ClassifyCategory(*list, "Abjurer", "Abjuration"), StandingPreferred);
    EXPECT_EQ(ClassifyCategory(*list, "Abjurer", "div"), StandingNeutral);
    EXPECT_EQ(ClassifyCategory(*list, "Illusionist", "ill/abj"), StandingProhibited);
    EXPECT_EQ(ClassifyCategory(*list, "Illusionist", "Illusion"), StandingPreferred);
    EXPECT_EQ(ClassifyCategory(*list, "abjurer", "Alteration"), StandingNeutral);
    EXPECT_EQ(ClassifyCategory(*list, "Generalist", "nec"), StandingNeutral);
    EXPECT_EQ(ClassifyCategory(*list, "Necromancer", ""), StandingNeutral);
    EXPECT_EQ(list->Classify("Abjurer", nullptr), StandingNeutral);
}

TEST(Specialty, EmptyEntriesAndListsAreNeutral) {
    tSpecialty s("Odd");
    s.Prohibited = {""};
    tSpell spell(1, "X", "", 0, 0, "abj");
    EXPECT_EQ(s.Classify(&spell), StandingNeutral);
    s.Preferred = {"", "AB"};
    EXPECT_EQ(s.Classify(&spell), StandingPreferred);
}

TEST(SpecialtyList, FindByNameAndCursor) {
    tSpecialtyList empty;
    EXPECT_EQ(empty.FindByName("Abjurer"), nullptr);
    EXPECT_TRUE(empty.SpecialtyNames().empty());
    EXPECT_EQ(empty.CurrentName(), "");
    EXPECT_EQ(empty.CurrentPreferred(), nullptr);

    auto list = BuiltInSpecialties();
    list->Append(std::make_unique<tSpecialty>("Diviner"));
    const tSpecialty* diviner = list->FindByName("Diviner");
    EXPECT_EQ(diviner, list->CurrentSpecialty());
    EXPECT_EQ(list->CurrentPreferred()->at(0), "div") << "the first of equal names";
    list->FindByName("Invoker");
    const tStringList names = list->SpecialtyNames();
    EXPECT_EQ(names.size(), 9u);
    EXPECT_EQ(list->CurrentName(), "Invoker") << "SpecialtyNames keeps the cursor";
    EXPECT_EQ(list->FindByName("invoker"), nullptr);
    EXPECT_FALSE(list->HasCurrent());
    list->FindByName("Abjurer");
    list->DeleteCurrent();
    EXPECT_EQ(list->CurrentName(), "Conjurer");
    EXPECT_EQ(list->Count(), 8);
}

TEST(CasterTables, LookupsAndRanges) {
    EXPECT_EQ(SpellsPerDay(1, 1), 1);
    for (int s = 2; s <= 9; ++s) EXPECT_EQ(SpellsPerDay(1, s), 0);
    EXPECT_EQ(SpellsPerDay(12, 6), 1);
    EXPECT_EQ(SpellsPerDay(11, 6), 0);
    EXPECT_EQ(SpellsPerDay(30, 9), 6);
    EXPECT_EQ(SpellsPerDay(29, 1), 7);
    EXPECT_EQ(SpellsPerDay(0, 1), 0);
    EXPECT_EQ(SpellsPerDay(31, 1), 0);
    EXPECT_EQ(SpellsPerDay(5, 0), 0);
    EXPECT_EQ(SpellsPerDay(5, 10), 0);
    // Columns never decrease; first castable caster levels as tabled.
    const int firstCastable[9] = {1, 3, 5, 7, 9, 12, 14, 16, 18};
    for (int s = 1; s <= 9; ++s) {
        EXPECT_EQ(SpellsPerDay(firstCastable[s - 1] - 1, s), 0);
        EXPECT_GT(SpellsPerDay(firstCastable[s - 1], s), 0);
        for (int l = 2; l <= 30; ++l) EXPECT_GE(SpellsPerDay(l, s), SpellsPerDay(l - 1, s));
    }
    EXPECT_EQ(NewLevelSpells(9), 4);
    EXPECT_EQ(MaxSpellsPerLevel(9), 6);
    EXPECT_EQ(NewLevelSpells(21), 12);
    EXPECT_EQ(MaxSpellsPerLevel(21), 30);
    EXPECT_EQ(MaxSpellsPerLevel(17), 14);
    EXPECT_EQ(NewLevelSpells(8), 0);
    EXPECT_EQ(MaxSpellsPerLevel(22), 0);
}

} // namespace
