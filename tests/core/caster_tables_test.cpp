#include "rules/caster_tables.h"

#include "golden_table.h"

#include <gtest/gtest.h>

#include <utility>

using namespace vellumar;
using vellumar::test::ReadGoldenTable;

namespace {

TEST(CasterTables, SpellsPerDayMatchesTheTableInEveryCell) {
    const auto rows = ReadGoldenTable("spells_per_day.txt");
    ASSERT_EQ(rows.size(), 30u) << "one row per caster level";
    for (size_t i = 0; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 10u) << "caster level and nine spell levels, row " << i;
        const int caster = std::stoi(rows[i][0]);
        ASSERT_EQ(caster, int(i) + 1);
        for (int s = 1; s <= 9; ++s)
            EXPECT_EQ(SpellsPerDay(caster, s), std::stoi(rows[i][size_t(s)]))
                << "caster level " << caster << ", spell level " << s;
    }
    // Outside the table nothing is read.
    for (const auto& [caster, spell] : {std::pair{0, 1}, {31, 1}, {-1, 1}, {5, 0}, {5, 10}})
        EXPECT_EQ(SpellsPerDay(caster, spell), 0) << caster << ", " << spell;
}

TEST(CasterTables, IntelligenceLimitsMatchTheTableInEveryCell) {
    const auto rows = ReadGoldenTable("intelligence_limits.txt");
    ASSERT_EQ(rows.size(), 13u) << "one row per score from 9 to 21";
    for (size_t i = 0; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 3u) << "row " << i;
        const int intelligence = std::stoi(rows[i][0]);
        ASSERT_EQ(intelligence, int(i) + 9);
        EXPECT_EQ(NewLevelSpells(intelligence), std::stoi(rows[i][1])) << intelligence;
        EXPECT_EQ(MaxSpellsPerLevel(intelligence), std::stoi(rows[i][2])) << intelligence;
    }
    for (int outside : {8, 22, 0, -9}) {
        EXPECT_EQ(NewLevelSpells(outside), 0) << outside;
        EXPECT_EQ(MaxSpellsPerLevel(outside), 0) << outside;
    }
}

} // namespace
