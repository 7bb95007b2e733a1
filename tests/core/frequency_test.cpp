// The three ways a frequency is counted: its code, its entry in the tables
// keyed by frequency, and its row in the lists on screen.

#include "model/frequency.h"

#include <gtest/gtest.h>

#include <string>

using namespace vellumar;

namespace {

struct Row {
    int row;
    int32_t code;
    size_t entry;
    const char* name;
    char letter;
};

class FrequencyRows : public ::testing::TestWithParam<Row> {};

TEST_P(FrequencyRows, CodeEntryAndRowAgree) {
    const Row& r = GetParam();
    EXPECT_EQ(FrequencyEntry(r.code), r.entry);
    EXPECT_EQ(FrequencyOfEntry(r.entry), r.code);
    EXPECT_EQ(FrequencyRow(r.code), r.row);
    EXPECT_EQ(FrequencyOfRow(r.row), r.code);
    EXPECT_EQ(FrequencyEntryOfRow(r.row), r.entry);
    EXPECT_EQ(std::string(FrequencyNames[r.entry]), r.name);
    EXPECT_EQ(FrequencyLetters[r.entry], r.letter);
    EXPECT_EQ(std::string(FrequencyNamesCommonFirst()[size_t(r.row)]), r.name);
}

INSTANTIATE_TEST_SUITE_P(Frequencies, FrequencyRows,
                         ::testing::Values(Row{0, 0, 4, "Common", 'C'},
                                           Row{1, -1, 3, "Uncommon", 'U'},
                                           Row{2, -2, 2, "Rare", 'R'},
                                           Row{3, -3, 1, "Very Rare", 'V'},
                                           Row{4, -4, 0, "Restricted", 'S'}));

// A list with no row chosen, or a code a file should not hold, still shows a row.
TEST(FrequencyOutside, NearerEndStandsIn) {
    EXPECT_EQ(FrequencyOfRow(-1), 0);
    EXPECT_EQ(FrequencyRow(1), 0);
    EXPECT_EQ(FrequencyRow(-9), 4);
    EXPECT_EQ(FrequencyEntryOfRow(-1), 4u);
    EXPECT_EQ(FrequencyEntryOfRow(7), 0u);
}

} // namespace
