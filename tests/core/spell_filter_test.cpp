#include "rules/spell_filter.h"

#include "model/spell_text.h"
#include "model/text.h"

#include <gtest/gtest.h>

#include <cctype>

#include <string>
#include <vector>

using namespace vellumar;

namespace {

// A small book of three levels whose spells differ in every field a term looks at.
std::unique_ptr<TSpellBook> SampleBook() {
    auto book = std::make_unique<TSpellBook>();
    book->AddSpell(new tSpell(1, "Magic Missile", "Core", 10, 0, "Evocation"));
    book->AddSpell(new tSpell(1, "Light", "Core", 12, -1, "Alteration"));
    book->AddSpell(new tSpell(1, "Wall of Fog", "Tome of Mists", 3, -2, "Alteration/Illusion"));
    book->AddSpell(new tSpell(3, "Fireball", "Core", 40, 0, "Evocation"));
    book->AddSpell(new tSpell(3, "Wall of Fire Missile", "Arcana", 7, -3, "Evocation"));
    book->AddSpell(new tSpell(9, "Wish", "Core", 90, -4, "Conjuration"));
    return book;
}

// Names whose letters lie beyond a to z: Windows-1252 bytes.
std::unique_ptr<TSpellBook> LettersBook() {
    auto book = std::make_unique<TSpellBook>();
    for (const char* name : {"\xE9lan", "\x9Cuvre", "Gro\xDF Ward", "\xFFvain", "\xD7 Two"})
        book->AddSpell(new tSpell(1, name, "Core", 1, 0, "Alteration"));
    return book;
}

// Rules texts (UTF-8) of three of the sample book's spells.
SpellTexts SampleTexts() {
    SpellTexts texts;
    SpellText text;
    text.Range = "120 feet";
    text.HigherLevels = {"One more dart a slot level."};
    texts.Set(1, "Magic Missile", text);
    text.HigherLevels = {};
    text.Material = "Bat guano.";
    texts.Set(3, "Fireball", text);
    text = {};
    text.Description = {"1 action", "A caf\xC3\xA9 glow."};
    texts.Set(1, "Light", text);
    return texts;
}

std::vector<std::string> Names(const std::vector<tSpell*>& spells) {
    std::vector<std::string> names;
    for (const tSpell* spell : spells) names.push_back(spell->Name);
    return names;
}

struct FilterRow {
    const char* what;
    const char* text;
    int level; // 0: every level
    std::vector<std::string> names;
    std::unique_ptr<TSpellBook> (*book)() = SampleBook;
    bool withTexts = true;
};

class FilterMatching : public testing::TestWithParam<FilterRow> {};

TEST_P(FilterMatching, LetsThroughExactlyTheMatchingSpells) {
    const FilterRow& row = GetParam();
    auto book = row.book();
    const SpellTexts texts = SampleTexts();
    const auto filter = ParseSpellFilter(row.text, row.withTexts ? &texts : nullptr);
    EXPECT_EQ(Names(MatchingSpells(*book, row.level, filter)), row.names) << row.what;
}

INSTANTIATE_TEST_SUITE_P(
    Terms, FilterMatching,
    testing::Values(
        FilterRow{"empty text: the whole level", "", 1, {"Light", "Magic Missile", "Wall of Fog"}},
        FilterRow{"blanks only", "   ", 3, {"Fireball", "Wall of Fire Missile"}},
        FilterRow{
            "every level",
            "",
            0,
            {"Light", "Magic Missile", "Wall of Fog", "Fireball", "Wall of Fire Missile", "Wish"}},
        FilterRow{"name word, any case", "MISS", 0, {"Magic Missile", "Wall of Fire Missile"}},
        FilterRow{"every word must occur", "wall fire", 0, {"Wall of Fire Missile"}},
        FilterRow{"words in any order", "fire wall", 0, {"Wall of Fire Missile"}},
        FilterRow{"level keeps to its spells", "wall", 1, {"Wall of Fog"}},
        FilterRow{
            "school term", "school:evoc", 0, {"Magic Missile", "Fireball", "Wall of Fire Missile"}},
        FilterRow{"cat term, part of a combined category", "cat:illusion", 0, {"Wall of Fog"}},
        FilterRow{"term key in capitals", "CAT:alter", 1, {"Light", "Wall of Fog"}},
        FilterRow{"frequency by name", "freq:uncommon", 0, {"Light"}},
        FilterRow{"frequency by letter", "freq:v", 0, {"Wall of Fire Missile"}},
        FilterRow{
            "frequency name with blank, quoted", "freq:\"very rare\"", 0, {"Wall of Fire Missile"}},
        FilterRow{"frequency name run together", "freq:veryrare", 0, {"Wall of Fire Missile"}},
        FilterRow{"restricted by letter", "freq:S", 0, {"Wish"}},
        FilterRow{"unknown frequency lets nothing through", "freq:q", 0, {}},
        FilterRow{"book term", "book:tome", 0, {"Wall of Fog"}},
        FilterRow{"quoted book with blank", "book:\"of mists\"", 0, {"Wall of Fog"}},
        FilterRow{"terms and words together", "missile cat:evo book:core", 0, {"Magic Missile"}},
        FilterRow{"key still being typed narrows nothing",
                  "fire freq:",
                  3,
                  {"Fireball", "Wall of Fire Missile"}},
        FilterRow{"no match", "zzz", 0, {}},
        FilterRow{"E acute", "\xC9LAN", 0, {"\xE9lan"}, LettersBook},
        FilterRow{"OE", "\x8CUVRE", 0, {"\x9Cuvre"}, LettersBook},
        FilterRow{"sharp s is itself", "GRO\xDF", 0, {"Gro\xDF Ward"}, LettersBook},
        FilterRow{"sharp s is not ss", "gross", 0, {}, LettersBook},
        FilterRow{"Y diaeresis", "\x9FVAIN", 0, {"\xFFvain"}, LettersBook},
        FilterRow{"division sign is no letter", "\xF7", 0, {}, LettersBook},
        FilterRow{"text of higher levels, any case", "text:DART", 0, {"Magic Missile"}},
        FilterRow{"text short fields", "text:feet", 0, {"Magic Missile", "Fireball"}},
        FilterRow{"text material", "text:guano", 0, {"Fireball"}},
        FilterRow{"UTF-8 text, code page word", "text:CAF\xC9", 0, {"Light"}},
        FilterRow{"text word runs across no two fields", "text:\"action a\"", 0, {}},
        FilterRow{"no texts, no text match", "text:feet", 0, {}, SampleBook, false}),
    [](const testing::TestParamInfo<FilterRow>& info) {
        std::string name = info.param.what;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

TEST(FrequencyNamed, KnowsNamesAndLettersOnly) {
    EXPECT_EQ(FrequencyNamed("common"), 0);
    EXPECT_EQ(FrequencyNamed("Very Rare"), -3);
    EXPECT_EQ(FrequencyNamed("r"), -2);
    EXPECT_EQ(FrequencyNamed("restricted"), -4);
    EXPECT_FALSE(FrequencyNamed("x"));
    EXPECT_FALSE(FrequencyNamed("rar"));
    EXPECT_FALSE(FrequencyNamed(""));
}

// The order of files keeps folding a to z only; the user's matching folds every letter.
TEST(Folds, FileOrderAToZOnly) {
    EXPECT_EQ(CompareTextNoCase("\xC9lan", "\xE9lan"), -1);
    EXPECT_TRUE(SameTextForUser("\xC9\xDE\x8A\x8C\x8E\x9F", "\xE9\xFE\x9A\x9C\x9E\xFF"));
    EXPECT_FALSE(SameTextForUser("\xD7", "\xF7"));
}

TEST(SpellFilterText, EmptyOnlyWithoutTerms) {
    EXPECT_TRUE(ParseSpellFilter(" cat: ").Empty());
    EXPECT_FALSE(ParseSpellFilter("freq:nothing").Empty());
    EXPECT_FALSE(ParseSpellFilter("a").Empty());
}

} // namespace
