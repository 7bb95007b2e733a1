#include "files/safe_write.h"
#include "files/specialty_file.h"

#include "file_test_support.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

using namespace vellumar;
using namespace vellumar::test;

namespace {

struct Group {
    std::string name;
    tStringList preferred, prohibited;
    bool operator==(const Group&) const = default;
};

std::vector<Group> Groups(tSpecialtyList& list) {
    std::vector<Group> groups;
    for (list.First(); list.CurrentSpecialty(); list.Next())
        groups.push_back({list.CurrentName(), *list.CurrentPreferred(), *list.CurrentProhibited()});
    return groups;
}

void PrintTo(const Group& g, std::ostream* os) {
    *os << '{' << g.name << " | " << ::testing::PrintToString(g.preferred) << " | "
        << ::testing::PrintToString(g.prohibited) << '}';
}

TEST(SpecialtyFile, BuiltInListWritesTheGoldenBytesAndReadsBack) {
    TempFolder folder;
    auto builtIn = BuiltInSpecialties();
    builtIn->FindByName("Diviner");
    ASSERT_TRUE(WriteSpecialtyFile(*builtIn, folder.File("Specialty.dat")));
    EXPECT_EQ(builtIn->CurrentName(), "Diviner") << "the cursor is put back";
    EXPECT_EQ(ReadBytes(folder.File("Specialty.dat")),
              ReadBytes(TestData("specialty_builtin.dat")));
    auto read = ReadSpecialtyFile(TestData("specialty_builtin.dat"));
    ASSERT_TRUE(read);
    EXPECT_EQ(Groups(*read), Groups(*builtIn));
    EXPECT_FALSE(read->Modified);
    EXPECT_EQ(ReadSpecialtyFile(folder.File("missing.dat")), nullptr);
}

struct CommaRow {
    tStringList entries;
    std::string line;
    tStringList readBack;
};

class CommaListTest : public ::testing::TestWithParam<CommaRow> {};

TEST_P(CommaListTest, WritesTheLineAndReadsTheEntriesBack) {
    const CommaRow& row = GetParam();
    EXPECT_EQ(CommaListLine(row.entries), row.line);
    TempFolder folder;
    tSpecialtyList list;
    auto specialty = std::make_unique<tSpecialty>("Name \"quoted\", kept");
    specialty->Preferred = row.entries;
    list.Append(std::move(specialty));
    ASSERT_TRUE(WriteSpecialtyFile(list, folder.File("s.dat")));
    auto read = ReadSpecialtyFile(folder.File("s.dat"));
    ASSERT_TRUE(read);
    EXPECT_EQ(Groups(*read), (std::vector<Group>{{"Name \"quoted\", kept", row.readBack, {}}}));
}

INSTANTIATE_TEST_SUITE_P(
    Entries, CommaListTest,
    ::testing::Values(
        CommaRow{{}, "", {}}, CommaRow{{""}, R"("")", {""}},
        CommaRow{{"abj", "alt"}, "abj,alt", {"abj", "alt"}},
        CommaRow{{"Greater Divination"}, R"("Greater Divination")", {"Greater Divination"}},
        CommaRow{{R"(a"b)", "c,d"}, R"("a""b","c,d")", {R"(a"b)", "c,d"}},
        CommaRow{{"", "abj"}, ",abj", {"", "abj"}},
        // Bytes above 127 are text, not blanks: written bare, beside a quoted entry.
        CommaRow{{"\xE9t\xE9", R"(say "x" now)"},
                 "\xE9t\xE9,\"say \"\"x\"\" now\"",
                 {"\xE9t\xE9", R"(say "x" now)"}},
        // A last empty entry is quoted, or the line would lose it.
        CommaRow{{"abj", ""}, R"(abj,"")", {"abj", ""}},
        CommaRow{{"a\r\nb", "\x1A", std::string("n\0l", 3)},
                 R"("a  b"," ","n l")",
                 {"a  b", " ", "n l"}}));

struct ReadRow {
    const char* name;
    std::string bytes;
    std::vector<Group> groups;
};

class SpecialtyReadTest : public ::testing::TestWithParam<ReadRow> {};

TEST_P(SpecialtyReadTest, ReadsGroupsOfThreeLines) {
    TempFolder folder;
    WriteBytes(folder.File("s.dat"), GetParam().bytes);
    auto list = ReadSpecialtyFile(folder.File("s.dat"));
    ASSERT_TRUE(list);
    EXPECT_EQ(Groups(*list), GetParam().groups);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SpecialtyReadTest,
    ::testing::Values(
        ReadRow{"Empty", "", {{"", {}, {}}}},
        ReadRow{"BlankLineAfterLastGroup",
                "A\r\nabj\r\nalt\r\n\r\n",
                {{"A", {"abj"}, {"alt"}}, {"", {}, {}}}},
        ReadRow{"EndsAfterAName", "A\r\nabj\r\nalt\r\nB", {{"A", {"abj"}, {"alt"}}, {"B", {}, {}}}},
        ReadRow{"BlanksSeparateEntries",
                "  Odd Name \r\nabj alt\r\n",
                {{"  Odd Name ", {"abj", "alt"}, {}}}},
        ReadRow{
            "LfAndCr", "A\nabj\nalt\rB\r\rdiv\n", {{"A", {"abj"}, {"alt"}}, {"B", {}, {"div"}}}},
        ReadRow{"CtrlZEnds", "A\r\nabj\x1A\r\nalt\r\nB\r\n\r\n\r\n", {{"A", {"abj"}, {}}}},
        ReadRow{
            "NulEndsALine", std::string("A\0x\r\nabj\0,alt\r\n\0\r\n", 18), {{"A", {"abj"}, {}}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SpecialtyFile, SameNamesBothLoadAndLookupFindsTheFirst) {
    TempFolder folder;
    WriteBytes(folder.File("s.dat"), "A\r\nabj\r\n\r\nA\r\ndiv\r\n\r\n");
    auto list = ReadSpecialtyFile(folder.File("s.dat"));
    ASSERT_TRUE(list);
    EXPECT_EQ(list->Count(), 2);
    ASSERT_TRUE(list->FindByName("A"));
    EXPECT_EQ(*list->CurrentPreferred(), tStringList{"abj"});
}

TEST(SpecialtyFile, AFailedSaveKeepsTheOldFile) {
    TempFolder folder;
    const std::string path = folder.File("Specialty.dat");
    WriteBytes(path, "Old\r\n\r\n\r\n");
    auto builtIn = BuiltInSpecialties();
    SetWriteFailureAfterBytesForTesting(10);
    EXPECT_FALSE(WriteSpecialtyFile(*builtIn, path));
    SetWriteFailureAfterBytesForTesting(-1);
    EXPECT_EQ(ReadBytes(path), "Old\r\n\r\n\r\n");
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);
}

} // namespace

TEST(SpecialtyFileMarks, AByteOrderMarkIsSkippedAndFailuresGiveTheReason) {
    TempFolder folder;
    WriteBytes(folder.File("s.dat"), "\xEF\xBB\xBF"
                                     "Abjurer\r\nabj,\"caf\xC3\xA9\"\r\nalt\r\n");
    auto list = ReadSpecialtyFile(folder.File("s.dat"));
    ASSERT_TRUE(list);
    ASSERT_EQ(list->Count(), 1);
    const tSpecialty* abjurer = list->FindByName("Abjurer");
    ASSERT_TRUE(abjurer) << "the mark is not part of the first name";
    EXPECT_EQ(abjurer->Preferred, (std::vector<std::string>{"abj", "caf\xE9"}));
    const auto missing = ReadSpecialtyFile(folder.File("missing.dat"));
    EXPECT_TRUE(missing.Missing());
    EXPECT_EQ(missing.Reason(), std::strerror(ENOENT));
}
