// The Qt-free crossing between Windows-1252 and UTF-8 (the Qt pair is compared
// with it in the window tests).

#include "model/code_page.h"

#include <gtest/gtest.h>

#include <string>

using namespace vellumar;

namespace {

struct Row {
    std::string cp1252;
    std::string utf8;
};

class BothWays : public testing::TestWithParam<Row> {};

TEST_P(BothWays, ConvertsAndComesBack) {
    EXPECT_EQ(Cp1252ToUtf8(GetParam().cp1252), GetParam().utf8);
    const Cp1252Text back = Utf8ToCp1252(GetParam().utf8);
    EXPECT_EQ(back.text, GetParam().cp1252);
    EXPECT_TRUE(back.lossless);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BothWays,
    testing::Values(Row{"Magic Missile", "Magic Missile"}, Row{"", ""},
                    Row{"\xC9vocateur", "\xC3\x89vocateur"},
                    Row{"\x80 \x8A\x9F\xFF", "\xE2\x82\xAC \xC5\xA0\xC5\xB8\xC3\xBF"},
                    Row{"\x93x\x94\x85", "\xE2\x80\x9Cx\xE2\x80\x9D\xE2\x80\xA6"},
                    Row{"\x81\x9D", "\xC2\x81\xC2\x9D"}, Row{"\xA0\xA9", "\xC2\xA0\xC2\xA9"}));

TEST(CodePage, InvisibleCharactersAreDropped) {
    // a zero-width space, a byte-order mark and an emoji variation selector
    const Cp1252Text out = Utf8ToCp1252("a\xE2\x80\x8B"
                                        "b\xEF\xBB\xBF"
                                        "c\xEF\xB8\x8F");
    EXPECT_EQ(out.text, "abc");
    EXPECT_TRUE(out.lossless);
}

TEST(CodePage, EveryByteComesBackItself) {
    for (int byte = 0; byte < 256; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        const Cp1252Text back = Utf8ToCp1252(Cp1252ToUtf8(one));
        EXPECT_EQ(back.text, one) << byte;
        EXPECT_TRUE(back.lossless) << byte;
    }
}

struct LossRow {
    std::string utf8;
    std::string cp1252;
};

class Lossy : public testing::TestWithParam<LossRow> {};

TEST_P(Lossy, MarksWhatCannotBeStored) {
    const Cp1252Text out = Utf8ToCp1252(GetParam().utf8);
    EXPECT_EQ(out.text, GetParam().cp1252);
    EXPECT_FALSE(out.lossless);
}

INSTANTIATE_TEST_SUITE_P(Texts, Lossy,
                         testing::Values(LossRow{"a\xE4\xB8\xAD"
                                                 "b",
                                                 "a?b"},
                                         LossRow{"\xF0\x9F\x98\x80", "?"},
                                         LossRow{"\xC9vocateur", "?vocateur"}, // Latin-1, not UTF-8
                                         LossRow{"\xC3", "?"},                 // cut short
                                         LossRow{"\xC0\xAF", "??"},            // overlong
                                         LossRow{"\xED\xA0\x80", "???"},       // a surrogate
                                         LossRow{"x\xE2\x82", "x??"}));

// What a UTF-8 file holds, as the files store it: each byte of a broken
// sequence becomes one "?".
struct OneWayRow {
    const char* name;
    std::string utf8;
    std::string cp1252;
};

class FromUtf8 : public ::testing::TestWithParam<OneWayRow> {};

TEST_P(FromUtf8, Converts) {
    EXPECT_EQ(Utf8ToCp1252(GetParam().utf8).text, GetParam().cp1252);
}

INSTANTIATE_TEST_SUITE_P(
    Text, FromUtf8,
    ::testing::Values(
        OneWayRow{"Ascii", "Magic Missile, \"i/e\"\t~", "Magic Missile, \"i/e\"\t~"},
        OneWayRow{"Latin1", "Caf\xC3\xA9 \xC2\xA0\xC3\xBF", "Caf\xE9 \xA0\xFF"},
        OneWayRow{"HighControlsOfTheCodePage", "\xE2\x82\xAC\xE2\x80\x9C\xC5\xB8\xE2\x84\xA2",
                  "\x80\x93\x9F\x99"},
        OneWayRow{"ControlsOfUnassignedBytes", "\xC2\x81\xC2\x9D\xC2\x80", "\x81\x9D?"},
        OneWayRow{"InvisibleCharactersDropped",
                  "a\xE2\x80\x8D\xEF\xBB\xBF"
                  "b",
                  "ab"},
        OneWayRow{"OutsideTheCodePage", "\xE6\x97\xA5\xF0\x9F\x90\x89x", "??x"},
        OneWayRow{"StrayAndTruncatedBytes",
                  "a\xFF"
                  "b\x80"
                  "c\xC3",
                  "a?b?c?"},
        OneWayRow{"BrokenSequenceThenText",
                  "\xE2\x82"
                  "A",
                  "??A"},
        OneWayRow{"OverlongAndSurrogate", "\xC0\xAF\xE0\x80\xAF\xED\xA0\x80", "????????"},
        OneWayRow{"PastTheLastCharacter", "\xF4\x90\x80\x80", "????"},
        OneWayRow{"NulAndControlBytesPass", std::string("a\0\x1A", 3), std::string("a\0\x1A", 3)}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
