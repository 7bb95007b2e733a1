#include "output/emphasis.h"
#include "output/spell_card_text.h"

#include <gtest/gtest.h>

using namespace vellumar;

namespace {

struct EmphasisRow {
    const char* what;
    const char* text;
    StyledText runs;
    const char* plain;
};

class Emphasis : public testing::TestWithParam<EmphasisRow> {};

TEST_P(Emphasis, BecomesStyledRunsAndPlainTextWithoutMarkers) {
    const EmphasisRow& row = GetParam();
    const StyledText runs = EmphasisRuns(row.text);
    EXPECT_EQ(runs, row.runs);
    EXPECT_EQ(PlainText(runs), row.plain);
}

constexpr bool B = true, I = true, N = false;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Card, Emphasis, testing::Values(
    EmphasisRow{"none", "No stars.", {{"No stars.", N, N}}, "No stars."},
    EmphasisRow{"lead", "***Familiarity.*** It", {{"Familiarity.", B, I}, {" It", N, N}}, "Familiarity. It"},
    EmphasisRow{"bold", "a **b** c", {{"a ", N, N}, {"b", B, N}, {" c", N, N}}, "a b c"},
    EmphasisRow{"italic", "*explosive runes*, or", {{"explosive runes", N, I}, {", or", N, N}}, "explosive runes, or"},
    EmphasisRow{"italic in bold", "**x *y* z**", {{"x ", B, N}, {"y", B, I}, {" z", B, N}}, "x y z"},
    EmphasisRow{"bold in italic", "*x **y***", {{"x ", N, I}, {"y", B, I}}, "x y"},
    EmphasisRow{"inside a word", "un*real*ly", {{"un", N, N}, {"real", N, I}, {"ly", N, N}}, "unreally"},
    EmphasisRow{"blanks round", "2 * 3 * 4", {{"2 * 3 * 4", N, N}}, "2 * 3 * 4"},
    EmphasisRow{"never closed", "a *b c", {{"a *b c", N, N}}, "a *b c"},
    EmphasisRow{"never opened", "a* b", {{"a* b", N, N}}, "a* b"},
    EmphasisRow{"one left over", "**a*", {{"*", N, N}, {"a", N, I}}, "*a"},
    EmphasisRow{"stars alone", "****", {{"****", N, N}}, "****"},
    EmphasisRow{"empty", "", {}, ""}));
// clang-format on

// Every output reads the card: the plain ones (clipboard, command line) get
// no marker, the drawn ones the runs.
TEST(EmphasisInCards, PlainLinesDropTheMarkersAndBlocksKeepTheRuns) {
    SpellText text;
    text.Description = {"***Mask.*** You hide.", "| **Roll** | x |", "|---|---|", "| 1 | *a* |"};
    text.Duration = "*Special*";
    const SpellCard card = MakeSpellCard(3, "Aura", text);
    const std::vector<std::string> lines = CardTextLines(card);
    EXPECT_EQ(
        std::vector<std::string>(lines.begin() + 5, lines.end()),
        (std::vector<std::string>{"Duration: Special", "Mask. You hide.", "Roll\tx", "1\ta"}));
    EXPECT_EQ(card.Body[0].Runs, (StyledText{{"Mask.", B, I}, {" You hide.", N, N}}));
    EXPECT_EQ(card.Body[1].Cells[1][1], (StyledText{{"a", N, I}}));
}

} // namespace
