// The Qt-free crossing between Windows-1252 and UTF-8 (the Qt pair is compared
// with it in the window tests).

#include "platform/code_page.h"

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

} // namespace
