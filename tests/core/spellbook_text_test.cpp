#include "output/item_text.h"
#include "output/spellbook_text.h"
#include "rules/caster_tables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vellumar;

namespace {

using Lines = std::vector<std::string>;

const tSpell Light(1, "Light", "Core", 12, 0, "Alteration");

struct ItemRow {
    const char* what;
    tSpell spell;
    bool category, bookPage, frequency;
    BookReferenceTest test;
    const char* expected;
};

class ItemText : public testing::TestWithParam<ItemRow> {};

TEST_P(ItemText, AppendsTheSwitchedOnParts) {
    const ItemRow& row = GetParam();
    OutputFormat format;
    format.IncludeCategory = row.category;
    format.IncludeBookPage = row.bookPage;
    format.IncludeFrequency = row.frequency;
    EXPECT_EQ(OutputItemText(row.spell, format, row.test), row.expected);
}

const auto NotEmpty = BookReferenceTest::NotEmpty;
const auto Column = BookReferenceTest::GreaterThanBlank;

INSTANTIATE_TEST_SUITE_P(
    Flags, ItemText,
    testing::Values(
        ItemRow{"all", Light, true, true, true, NotEmpty, "Light (Alteration) [Core 12]-C"},
        ItemRow{"default", Light, false, true, false, NotEmpty, "Light [Core 12]"},
        ItemRow{"none", Light, false, false, false, NotEmpty, "Light"},
        ItemRow{"category", Light, true, false, false, Column, "Light (Alteration)"},
        ItemRow{"frequency",
                {1, "Wish", "PH", -3, -4, ""},
                false,
                true,
                true,
                NotEmpty,
                "Wish [PH -3]-S"},
        ItemRow{"empty book", {1, "Sleep", "", 5, 0, "ench"}, true, true, true, NotEmpty, "Sleep"},
        ItemRow{"empty book in columns",
                {1, "Sleep", "", 5, 0, "ench"},
                true,
                true,
                true,
                Column,
                "Sleep"},
        ItemRow{"blank book",
                {1, "Sleep", " ", 5, -1, "e/c"},
                true,
                true,
                true,
                NotEmpty,
                "Sleep (e/c) [  5]-U"},
        ItemRow{"blank book in columns",
                {1, "Sleep", " ", 5, -1, "e/c"},
                true,
                true,
                true,
                Column,
                "Sleep"},
        ItemRow{"control byte book in columns",
                {1, "Sleep", "\x1F", 5, 0, ""},
                false,
                true,
                false,
                Column,
                "Sleep"},
        ItemRow{"high byte book in columns",
                {1, "Sleep", "\xE9", 5, 0, ""},
                false,
                true,
                false,
                Column,
                "Sleep [\xE9 5]"}));

TEST(ItemText, SpellItemRowAndNumberPerDay) {
    EXPECT_EQ(SpellItemRow({1, "Light", "Core", 12, -1, "Alteration"}),
              "Light  (Alteration) [Core 12] - U");
    EXPECT_EQ(SpellItemRow({1, "X", "", 0, -2, ""}), "X  () [ 0] - R");

    TSpellBook book(5, 12, 0, "Generalist");
    EXPECT_EQ(NumberPerDay(book, 3), 1);
    EXPECT_EQ(NumberPerDay(book, 4), 0);
    book.Specialty = "Necromancer";
    EXPECT_EQ(NumberPerDay(book, 3), 2);
    EXPECT_EQ(NumberPerDay(book, 4), 1) << "a specialist shows one more even at 0";
    book.Specialty = "generalist";
    EXPECT_EQ(NumberPerDay(book, 1), 5);
    book.Specialty = "";
    EXPECT_EQ(NumberPerDay(book, 1), 5);
}

TSpellBook& AddLevel(TSpellBook& book, int level, int count) {
    for (int i = 1; i <= count; ++i)
        book.AddSpell(new tSpell(level, "s" + std::to_string(i), "", 0, 0, ""));
    return book;
}

Lines Header(const std::string& caption, int32_t caster, int32_t intelligence,
             const std::string& specialty) {
    return {"Spell Book:" + caption, "Caster Level: " + std::to_string(caster),
            "Caster Intelligence: " + std::to_string(intelligence),
            "Caster Specialty: " + specialty, " "};
}

TEST(SpellbookText, EmptyBookGivesTheFiveHeaderLines) {
    TSpellBook book(1, 9, 0, "Generalist");
    EXPECT_EQ(BuildSpellbookText(book, "untitled", OutputFormat{}),
              Header("untitled", 1, 9, "Generalist"));
}

struct LayoutRow {
    int32_t columns;
    int spells;
    Lines expected;
};

class SpellbookLayout : public testing::TestWithParam<LayoutRow> {};

TEST_P(SpellbookLayout, LaysOutALevel) {
    const LayoutRow& row = GetParam();
    TSpellBook book(3, 10, 0, "Generalist");
    AddLevel(book, 2, row.spells);
    OutputFormat format;
    format.Columns = row.columns;
    Lines expected = Header("C:\\Books\\Gorm.SPB", 3, 10, "Generalist");
    expected.insert(expected.end(), {" ", " ", "level: 2     number per day: 1"});
    expected.insert(expected.end(), row.expected.begin(), row.expected.end());
    EXPECT_EQ(BuildSpellbookText(book, "C:\\Books\\Gorm.SPB", format), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, SpellbookLayout,
    testing::Values(LayoutRow{0, 3, {"s1,  s2,  s3"}}, LayoutRow{0, 1, {"s1"}},
                    LayoutRow{3, 5, {"s1\ts3\ts5", "s2\ts4\t"}}, LayoutRow{4, 2, {"s1\ts2\t"}},
                    LayoutRow{2, 4, {"s1\ts3", "s2\ts4"}}, LayoutRow{1, 3, {"s1", "s2", "s3"}},
                    LayoutRow{4, 9, {"s1\ts4\ts7\t", "s2\ts5\ts8\t", "s3\ts6\ts9\t"}},
                    LayoutRow{3, 7, {"s1\ts4\ts7", "s2\ts5\t", "s3\ts6\t"}}));

TEST(SpellbookText, SkipsEmptyLevelsAndHeadsTheOthers) {
    TSpellBook book(5, 16, -2, "Necromancer");
    AddLevel(book, 1, 2);
    AddLevel(book, 4, 1); // not castable yet: a specialist shows 1
    Lines expected = Header("book", 5, 16, "Necromancer");
    expected.insert(expected.end(), {" ", " ", "level: 1     number per day: 5", "s1,  s2", " ",
                                     " ", "level: 4     number per day: 1", "s1"});
    EXPECT_EQ(BuildSpellbookText(book, "book", OutputFormat{}), expected);
}

TEST(SpellbookText, SingleLineAndColumnsJudgeABlankBookDifferently) {
    TSpellBook book(1, 9, 0, "Generalist");
    book.AddSpell(new tSpell(1, "Blank", " ", 7, 0, "abj"));
    book.AddSpell(new tSpell(1, "Empty", "", 7, 0, "abj"));
    book.AddSpell(new tSpell(1, "Real", "PH", 7, -1, "abj"));
    OutputFormat format;
    format.IncludeCategory = format.IncludeFrequency = true;
    EXPECT_EQ(BuildSpellbookText(book, "x", format).back(),
              "Blank (abj) [  7]-C,  Empty,  Real (abj) [PH 7]-U");
    format.Columns = 1;
    const Lines lines = BuildSpellbookText(book, "x", format);
    EXPECT_EQ(Lines(lines.end() - 3, lines.end()),
              (Lines{"Blank", "Empty", "Real (abj) [PH 7]-U"}));
}

struct CardRow {
    bool spellTexts;
    int32_t columns;
    std::string expected; // the lines of level 2, each ended by CR LF
};

class SpellbookCards : public testing::TestWithParam<CardRow> {};

// s1 has a text with a table, s2 none.
TEST_P(SpellbookCards, FollowEachSpellWithItsCardWhenAsked) {
    const CardRow& row = GetParam();
    TSpellBook book(3, 10, 0, "Generalist");
    AddLevel(book, 2, 2);
    SpellText text;
    text.School = "Evocation";
    text.CastingTime = "1 action";
    text.Range = "60 feet";
    text.Components = {"V", "S"};
    text.Concentration = true;
    text.Duration = "Up to 1 minute";
    text.Description = {"Heat \xE2\x80\x94 fire.", "| d4 | Effect |", "|---|---|", "| 1 | Hot |"};
    text.HigherLevels = {"More dice."};
    SpellTexts texts;
    texts.Set(2, "S1", text);
    OutputFormat format;
    format.Columns = row.columns;
    format.IncludeSpellTexts = row.spellTexts;
    EXPECT_EQ(JoinWithCrLf(BuildSpellbookText(book, "b", format, &texts)),
              JoinWithCrLf(Header("b", 3, 10, "Generalist")) +
                  " \r\n \r\nlevel: 2     number per day: 1\r\n" + row.expected);
}

const std::string CardOfS1 =
    "s1\r\ns1\r\nLevel 2 Evocation\r\nCasting Time: 1 action\r\nRange: 60 feet\r\n"
    "Components: V, S\r\nDuration: Concentration, up to 1 minute\r\nHeat \x97 fire.\r\n"
    "d4\tEffect\r\n1\tHot\r\nAt Higher Levels. More dice.\r\n\r\ns2\r\n";

INSTANTIATE_TEST_SUITE_P(Texts, SpellbookCards,
                         testing::Values(CardRow{false, 0, "s1,  s2\r\n"},
                                         CardRow{false, 2, "s1\ts2\r\n"},
                                         CardRow{true, 0, CardOfS1}, CardRow{true, 3, CardOfS1}));

TEST(SpellbookText, JoinEndsEveryLineWithCrLf) {
    EXPECT_EQ(JoinWithCrLf({"a", " ", ""}), "a\r\n \r\n\r\n");
    EXPECT_EQ(JoinWithCrLf({}), "");
    TSpellBook book(1, 9, 0, "Generalist");
    EXPECT_EQ(JoinWithCrLf(BuildSpellbookText(book, "", OutputFormat{})),
              "Spell Book:\r\nCaster Level: 1\r\nCaster Intelligence: 9\r\n"
              "Caster Specialty: Generalist\r\n \r\n");
}

} // namespace
