#include "files/utf8_to_cp1252.h"

#include <gtest/gtest.h>

using namespace vellumar;

namespace {

struct Row {
    const char* name;
    std::string utf8;
    std::string cp1252;
};

class Utf8ToCp1252Test : public ::testing::TestWithParam<Row> {};

TEST_P(Utf8ToCp1252Test, Converts) {
    EXPECT_EQ(Utf8ToCp1252(GetParam().utf8), GetParam().cp1252);
}

INSTANTIATE_TEST_SUITE_P(
    Text, Utf8ToCp1252Test,
    ::testing::Values(Row{"Ascii", "Magic Missile, \"i/e\"\t~", "Magic Missile, \"i/e\"\t~"},
                      Row{"Latin1", "Caf\xC3\xA9 \xC2\xA0\xC3\xBF", "Caf\xE9 \xA0\xFF"},
                      Row{"HighControlsOfTheCodePage",
                          "\xE2\x82\xAC\xE2\x80\x9C\xC5\xB8\xE2\x84\xA2", "\x80\x93\x9F\x99"},
                      Row{"ControlsOfUnassignedBytes", "\xC2\x81\xC2\x9D\xC2\x80", "\x81\x9D?"},
                      Row{"InvisibleCharactersDropped",
                          "a\xE2\x80\x8D\xEF\xBB\xBF"
                          "b",
                          "ab"},
                      Row{"OutsideTheCodePage", "\xE6\x97\xA5\xF0\x9F\x90\x89x", "??x"},
                      Row{"StrayAndTruncatedBytes",
                          "a\xFF"
                          "b\x80"
                          "c\xC3",
                          "a?b?c?"},
                      Row{"BrokenSequenceThenText",
                          "\xE2\x82"
                          "A",
                          "?A"},
                      Row{"OverlongAndSurrogate", "\xC0\xAF\xE0\x80\xAF\xED\xA0\x80", "????"},
                      Row{"PastTheLastCharacter", "\xF4\x90\x80\x80", "?"},
                      Row{"NulAndControlBytesPass", std::string("a\0\x1A", 3),
                          std::string("a\0\x1A", 3)}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
