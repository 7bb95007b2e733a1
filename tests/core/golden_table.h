#pragma once
// Reads the hand-typed tables under tests/data: one row a line, blank-separated
// cells, lines starting with '#' and empty lines skipped. The tables are typed
// afresh rather than copied from the code, so that a wrong cell in either shows.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace vellumar::test {

using GoldenRow = std::vector<std::string>;

inline std::vector<GoldenRow> ReadGoldenTable(const std::string& name) {
    std::ifstream in(std::string(VELLUMAR_TEST_DATA) + "/" + name);
    EXPECT_TRUE(in) << "cannot open " << name;
    std::vector<GoldenRow> rows;
    for (std::string line; std::getline(in, line);) {
        std::istringstream cells(line);
        GoldenRow row;
        for (std::string cell; cells >> cell;) row.push_back(cell);
        if (!row.empty() && row.front()[0] != '#') rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace vellumar::test
