#include "model/specialty.h"

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

} // namespace
