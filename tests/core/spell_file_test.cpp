#include "files/fields.h"
#include "files/line_reader.h"
#include "files/safe_write.h"
#include "files/spell_file.h"

#include "deadline.h"
#include "file_test_support.h"
#include "golden_table.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <random>

using namespace vellumar;
using namespace vellumar::test;
using vellumar::test::Deadline;
using vellumar::test::EndsWithin;

namespace {

using Fields = std::vector<std::string>;
using namespace std::string_literals;

struct SplitRow {
    std::string line;
    Fields fields;
};

class SplitFieldsTest : public ::testing::TestWithParam<SplitRow> {};

TEST_P(SplitFieldsTest, SplitsByTheFieldRules) {
    // A scanner that stops advancing would loop for ever.
    EXPECT_EQ(EndsWithin("SplitFields", [] { return SplitFields(GetParam().line); }),
              GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(Lines, SplitFieldsTest,
                         ::testing::Values(SplitRow{"", {}}, SplitRow{" \t ", {}},
                                           SplitRow{R"(3,"Fireball","Tome",190,"C","i/e")",
                                                    {"3", "Fireball", "Tome", "190", "C", "i/e"}},
                                           SplitRow{"1, Magic Missile", {"1", "Magic", "Missile"}},
                                           SplitRow{"a,,b", {"a", "", "b"}},
                                           SplitRow{",a", {"", "a"}},
                                           SplitRow{"a, b ,", {"a", "b"}},
                                           SplitRow{R"("say ""hi""",x)", {R"(say "hi")", "x"}},
                                           SplitRow{R"("""")", {R"(")"}}, SplitRow{R"("")", {""}},
                                           SplitRow{R"("open ended)", {"open ended"}},
                                           // Unclosed, with doubled marks: one field to the end.
                                           SplitRow{R"("say ""hi)", {R"(say "hi)"}},
                                           SplitRow{R"(1,"a"",b ,c)", {"1", R"(a",b ,c)"}},
                                           SplitRow{R"("ab"cd,e)", {"ab", "cd", "e"}},
                                           SplitRow{"caf\xE9,na\xEFve", {"caf\xE9", "na\xEFve"}},
                                           // A NUL ends the text: no endless empty fields.
                                           SplitRow{"a,\0b,c"s, {"a"}}, SplitRow{"\0"s, {}},
                                           SplitRow{"\"x\0\"\"y\""s, {"x"}}));

struct NumberRow {
    std::string field;
    std::optional<int32_t> value;
};

class NumberFieldTest : public ::testing::TestWithParam<NumberRow> {};

TEST_P(NumberFieldTest, ReadsAWholeFieldOrNothing) {
    EXPECT_EQ(ParseNumberField(GetParam().field), GetParam().value) << GetParam().field;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, NumberFieldTest,
    ::testing::Values(NumberRow{"190", 190}, NumberRow{"  12", 12}, NumberRow{"+7", 7},
                      NumberRow{"-3", -3}, NumberRow{"$1F", 31}, NumberRow{"-$10", -16},
                      NumberRow{"007", 7}, NumberRow{"2147483647", 2147483647},
                      NumberRow{"-2147483648", INT32_MIN}, NumberRow{"2147483648", std::nullopt},
                      NumberRow{"$80000000", std::nullopt},
                      NumberRow{"99999999999999999999999", std::nullopt},
                      NumberRow{"12b", std::nullopt}, NumberRow{"12 ", std::nullopt},
                      NumberRow{"", std::nullopt}, NumberRow{"-", std::nullopt},
                      NumberRow{"$", std::nullopt}, NumberRow{"$G", std::nullopt},
                      NumberRow{"1 2", std::nullopt}, NumberRow{"\t5", std::nullopt}));

struct ParseRow {
    std::string line;
    bool gives;
    tSpell spell;
};

class ParseSpellLineTest : public ::testing::TestWithParam<ParseRow> {};

TEST_P(ParseSpellLineTest, MakesTheSpellOrNone) {
    const ParseRow& row = GetParam();
    auto spell = ParseSpellLine(row.line);
    ASSERT_EQ(spell != nullptr, row.gives) << row.line;
    if (!spell) return;
    EXPECT_EQ(spell->Level, row.spell.Level);
    EXPECT_EQ(spell->Name, row.spell.Name);
    EXPECT_EQ(spell->Book, row.spell.Book);
    EXPECT_EQ(spell->Page, row.spell.Page);
    EXPECT_EQ(spell->Frequency, row.spell.Frequency);
    EXPECT_EQ(spell->Category, row.spell.Category);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParseSpellLineTest,
    ::testing::Values(
        ParseRow{
            R"(3,"Fireball","Tome",190,"C","i/e")", true, {3, "Fireball", "Tome", 190, 0, "i/e"}},
        ParseRow{R"(1,"Sleep")", true, {1, "Sleep", "", 0, 0, ""}},
        ParseRow{R"(2,"Web","B",1,"Rare","c/s")", true, {2, "Web", "B", 1, -2, "c/s"}},
        ParseRow{R"(2,"Web","B",1,"very rare","")", true, {2, "Web", "B", 1, -3, ""}},
        ParseRow{R"(2,"Web","B",1,"Restricted","")", true, {2, "Web", "B", 1, -2, ""}},
        ParseRow{R"(2,"Web","B",1,"s","")", true, {2, "Web", "B", 1, -4, ""}},
        ParseRow{R"(2,"Web","B",1,"X","")", true, {2, "Web", "B", 1, 0, ""}},
        ParseRow{R"(2,"Web","B",12b,"U","x","extra")", true, {2, "Web", "B", 0, -1, "x"}},
        ParseRow{"1,Magic Missile,PHB,170,C,abj", true, {1, "Magic", "Missile", 0, 0, "C"}},
        ParseRow{R"($9,"Wish")", true, {9, "Wish", "", 0, 0, ""}},
        ParseRow{R"(10,"Wish")", false, {}}, ParseRow{R"(0,"Wish")", false, {}},
        ParseRow{R"(one,"Wish")", false, {}}, ParseRow{"5", false, {}},
        ParseRow{R"(5,"")", false, {}}, ParseRow{"4", false, {}}, ParseRow{" ", false, {}}));

TEST(SpellLine, WritesTheLineByteForByteAndReadsItBack) {
    const tSpell fireball(3, "Fireball", "Tome", 190, 0, "i/e");
    EXPECT_EQ(SpellLine(fireball), R"(3,"Fireball","Tome",190,"C","i/e")");
    EXPECT_EQ(SpellLine(tSpell(1, "Odd", "", -5, -4, "")), R"(1,"Odd","",-5,"S","")");
    // A quotation mark is doubled, so that the name reads back the same.
    const tSpell quoted(2, R"(Tasha's "Hideous" Laughter)", R"(")", 1, -1, R"(a"b")");
    EXPECT_EQ(SpellLine(quoted), R"(2,"Tasha's ""Hideous"" Laughter","""",1,"U","a""b""")");
    auto back = ParseSpellLine(SpellLine(quoted));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Name, quoted.Name);
    EXPECT_EQ(back->Book, quoted.Book);
    EXPECT_EQ(back->Category, quoted.Category);
}

std::unique_ptr<TSpellBook> GoldenBook() {
    auto book = std::make_unique<TSpellBook>(7, 15, -2, "Illusionist");
    // Added out of order: the book sorts them.
    book->AddSpell(new tSpell(4, "Wall of Fire", "", 0, -4, ""));
    book->AddSpell(new tSpell(3, "Fireball", "Tome", 190, 0, "i/e"));
    book->AddSpell(new tSpell(1, R"(Tasha's "Hideous" Laughter)", "PHB", -3, -1, "e/c"));
    book->AddSpell(new tSpell(1, "Magic Missile", "PHB", 170, 0, "i/e"));
    return book;
}

std::vector<std::string> Lines(TSpellBook& book) {
    std::vector<std::string> lines;
    for (book.First(); book.CurrentSpell(); book.Next())
        lines.push_back(SpellLine(*book.CurrentSpell()));
    return lines;
}

void ExpectSameSpells(TSpellBook& a, TSpellBook& b) {
    EXPECT_EQ(Lines(a), Lines(b));
    EXPECT_EQ(a.LevelCount, b.LevelCount);
}

TEST(SpellFiles, WriteTheGoldenBytesAndReadThemBack) {
    TempFolder folder;
    auto book = GoldenBook();
    book->First();
    ASSERT_TRUE(WriteSpellbookFile(*book, folder.File("book.spb")));
    EXPECT_FALSE(book->HasCurrent()) << "the writer leaves the cursor empty";
    EXPECT_EQ(ReadBytes(folder.File("book.spb")), ReadBytes(TestData("spellbook_v4.spb")));
    ASSERT_TRUE(WriteSpellList(*book, folder.File("list.dat")));
    EXPECT_EQ(ReadBytes(folder.File("list.dat")), ReadBytes(TestData("spell_list.dat")));

    auto opened = ReadSpellbookFile(TestData("spellbook_v4.spb"));
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->CasterLevel, 7);
    EXPECT_EQ(opened->Intelligence, 15);
    EXPECT_EQ(opened->Specialty, "Illusionist");
    EXPECT_EQ(opened->SpellFrequency, -2);
    EXPECT_FALSE(opened->Modified);
    ExpectSameSpells(*opened, *book);

    auto list = ReadSpellList(TestData("spell_list.dat"));
    ASSERT_TRUE(list);
    EXPECT_EQ(list->CasterLevel, 0);
    EXPECT_EQ(list->Intelligence, 0);
    EXPECT_EQ(list->Specialty, "");
    ExpectSameSpells(*list, *book);

    // The header-less reader skips a spellbook's header lines, unless the
    // specialty line starts like a spell line.
    auto asList = ReadSpellList(TestData("spellbook_v4.spb"));
    ASSERT_TRUE(asList);
    ExpectSameSpells(*asList, *book);
    WriteBytes(folder.File("odd.spb"), "4\r\n7\r\n15\r\n3 Blind Mice\r\nC\r\n");
    asList = ReadSpellList(folder.File("odd.spb"));
    ASSERT_TRUE(asList && asList->SpellAt(3, 0));
    EXPECT_EQ(asList->CurrentName(), "Blind");
}

TEST(SpellFiles, ControlCharactersInTextAreWrittenAsBlanks) {
    TempFolder folder;
    TSpellBook book(3, 12, 0, "Odd\r\nSpecialty\x1A");
    book.AddSpell(new tSpell(1, "Two\r\nLines", "Bo\nok", 1, 0,
                             "ab\x1A"
                             "c"));
    book.AddSpell(new tSpell(1, "Nul\0Name"s, "x\ry", 2, -1, "\"q\""));
    book.AddSpell(new tSpell(2, "After", "", 3, 0, ""));
    ASSERT_TRUE(WriteSpellbookFile(book, folder.File("c.spb")));
    ASSERT_TRUE(WriteSpellList(book, folder.File("c.dat")));
    auto opened = ReadSpellbookFile(folder.File("c.spb"));
    auto list = ReadSpellList(folder.File("c.dat"));
    ASSERT_TRUE(opened && list);
    EXPECT_EQ(opened->Specialty, "Odd  Specialty ");
    EXPECT_EQ(opened->Intelligence, 12);
    const std::vector<std::string> expected = {R"(1,"Nul Name","x y",2,"U","""q""")",
                                               R"(1,"Two  Lines","Bo ok",1,"C","ab c")",
                                               R"(2,"After","",3,"C","")"};
    EXPECT_EQ(Lines(*opened), expected);
    EXPECT_EQ(Lines(*list), expected);
}

// A name of quotation marks doubles in writing: a line no reader would take
// back is not written, and the old file stays.
TEST(SpellFiles, ALineTooLongToReadBackIsNotWritten) {
    TempFolder folder;
    const std::string path = folder.File("q.spb");
    TSpellBook small(3, 12, 0, "Generalist");
    ASSERT_TRUE(WriteSpellbookFile(small, path));
    const std::string before = ReadBytes(path);
    TSpellBook book(3, 12, 0, "Generalist");
    book.AddSpell(new tSpell(1, std::string(MaxLineBytes / 2, '"'), "", 1, 0, ""));
    const FileStatus written = WriteSpellbookFile(book, path);
    EXPECT_EQ(written.Failure(), FileFailure::CannotWrite);
    EXPECT_EQ(written.Reason(), "line 6 would be longer than 65536 bytes");
    EXPECT_EQ(ReadBytes(path), before);
}

struct LineEndRow {
    const char* name;
    std::string bytes;
};

class LineEndTest : public ::testing::TestWithParam<LineEndRow> {};

TEST_P(LineEndTest, EveryLineEndReadsTheSameBook) {
    TempFolder folder;
    const std::string path = folder.File("book.spb");
    WriteBytes(path, GetParam().bytes);
    auto book = ReadSpellbookFile(path);
    ASSERT_TRUE(book);
    EXPECT_EQ(book->CasterLevel, 5);
    EXPECT_EQ(book->Intelligence, 14);
    EXPECT_EQ(book->Specialty, "Diviner");
    EXPECT_EQ(book->SpellFrequency, -1);
    EXPECT_EQ(Lines(*book),
              (std::vector<std::string>{R"(1,"Alarm","",0,"C","")", R"(2,"Web","",0,"C","")"}));
}

INSTANTIATE_TEST_SUITE_P(
    Files, LineEndTest,
    ::testing::Values(
        LineEndRow{"CrLf", "4\r\n5\r\n14\r\nDiviner\r\nU\r\n2,\"Web\"\r\n1,\"Alarm\"\r\n \r\n"},
        LineEndRow{"Lf", "4\n5\n14\nDiviner\nU\n2,\"Web\"\n1,\"Alarm\"\n \n"},
        LineEndRow{"Cr", "4\r5\r14\rDiviner\rU\r2,\"Web\"\r1,\"Alarm\"\r \r"},
        LineEndRow{"Mixed", "4\r\n5\n14\rDiviner\r\nU\n2,\"Web\"\r1,\"Alarm\""},
        LineEndRow{
            "CtrlZEndsTheFile",
            "4\r\n5\r\n14\r\nDiviner\r\nU\r\n2,\"Web\"\r\n1,\"Alarm\"\x1A\r\n3,\"Haste\"\r\n"},
        LineEndRow{
            "NulEndsItsLineOnly",
            "4\r\n5\0 9\r\n14\r\nDiviner\0x\r\nU\r\n2,\"Web\"\0,3\r\n\0 3,\"Haste\"\r\n1,\"Alarm\"\r\n"s},
        LineEndRow{
            "BlankLinesBeforeNumbers",
            "4\r\n\r\n  5 rest\r\n \t\r\n14\tjunk 9\r\nDiviner\r\nu\r\n2,\"Web\"\r\n1,\"Alarm\""}),
    [](const auto& info) { return std::string(info.param.name); });

// An exported spell of a long name must come back whole: cut short, it loses
// its category and would read as a spell any specialist may learn.
TEST(SpellFiles, LongLinesAreReadWholeWithOrWithoutAHeader) {
    TempFolder folder;
    const std::string longName(300, 'N');
    const std::string body = "1,\"" + longName + "\",\"Book\"\r\n2,\"Next\"\r\n";
    WriteBytes(folder.File("long.dat"), body);
    auto list = ReadSpellList(folder.File("long.dat"));
    ASSERT_TRUE(list && list->SpellAt(1, 0));
    EXPECT_EQ(list->CurrentName(), longName);
    EXPECT_EQ(list->CurrentBook(), "Book");
    EXPECT_TRUE(list->SpellAt(2, 0));
    // A spellbook with a header reads its spell lines whole.
    WriteBytes(folder.File("long.spb"), "4\r\n1\r\n9\r\n\r\nC\r\n" + body);
    auto book = ReadSpellbookFile(folder.File("long.spb"));
    ASSERT_TRUE(book && book->SpellAt(1, 0));
    EXPECT_EQ(book->CurrentName(), longName);
    EXPECT_EQ(book->CurrentBook(), "Book");
}

struct HeaderRow {
    const char* name;
    std::string bytes;
    bool opens;
    int32_t casterLevel, intelligence;
    std::string specialty;
    int32_t frequency, spells;
};

class SpellbookHeaderTest : public ::testing::TestWithParam<HeaderRow> {};

TEST_P(SpellbookHeaderTest, ReadsTheCasterParameters) {
    const HeaderRow& row = GetParam();
    TempFolder folder;
    WriteBytes(folder.File("b.spb"), row.bytes);
    auto book = ReadSpellbookFile(folder.File("b.spb"));
    ASSERT_EQ(book != nullptr, row.opens);
    if (!book) return;
    EXPECT_EQ(book->CasterLevel, row.casterLevel);
    EXPECT_EQ(book->Intelligence, row.intelligence);
    EXPECT_EQ(book->Specialty, row.specialty);
    EXPECT_EQ(book->SpellFrequency, row.frequency);
    EXPECT_EQ(book->Count(), row.spells);
}

const std::string kTenFirstLevel = [] {
    std::string lines;
    for (char c = 'A'; c < 'A' + 10; ++c) lines += "1,\"Spell " + std::string(1, c) + "\"\r\n";
    return lines;
}();

INSTANTIATE_TEST_SUITE_P(
    Files, SpellbookHeaderTest,
    ::testing::Values(
        HeaderRow{"Version1", "1\r\n5\r\n", false, 0, 0, "", 0, 0},
        HeaderRow{"Version2", "2\r\n5\r\n", false, 0, 0, "", 0, 0},
        HeaderRow{"Version5", "5\r\n5\r\n", false, 0, 0, "", 0, 0},
        HeaderRow{"OnlyTheVersion", "4\r\n", true, 0, 0, "", 0, 0},
        HeaderRow{"WordsForNumbers", "4\r\nfive\r\n$C\r\nInvoker\r\nV\r\n", true, 0, 12, "Invoker",
                  -3, 0},
        // Outside the caster tables: read as they stand, and named (warnings).
        HeaderRow{"OutsideTheTables", "4\r\n40\r\n25\r\nInvoker\r\nC\r\n1,\"Sleep\"\r\n", true, 40,
                  25, "Invoker", 0, 1},
        HeaderRow{"Version3Number", "3\r\n9\r\n16\r\n2\r\nS\r\n2,\"Web\"\r\n", true, 9, 16,
                  "Conjurer", -4, 1},
        HeaderRow{"Version3OutOfRange", "3\r\n9\r\n16\r\n9\r\nC\r\n", true, 9, 16, "unknown", 0, 0},
        HeaderRow{"Version3Negative", "3\r\n9\r\n16\r\n-1\r\nC\r\n", true, 9, 16, "unknown", 0, 0},
        HeaderRow{"Version3Word", "3\r\n9\r\n16\r\nConjurer\r\nC\r\n", true, 9, 16, "unknown", 0,
                  0},
        HeaderRow{"EmptyFileIsHeaderless", "", true, 2, 9, "", 0, 0},
        HeaderRow{"LeadingBlanksBeforeTheVersion", "  4\r\n5\r\n14\r\n\r\nC\r\n", true, 5, 14, "",
                  0, 0},
        // Line ends and Ctrl-Z count inside quotation marks too.
        HeaderRow{"CtrlZInsideAQuotedName",
                  "4\r\n5\r\n14\r\nX\r\nC\r\n1,\"Al\x1A"
                  "arm\"\r\n2,\"Web\"\r\n",
                  true, 5, 14, "X", 0, 1},
        HeaderRow{"CrInsideAQuotedName", "4\r\n5\r\n14\r\nX\r\nC\r\n1,\"Magic\rMissile\"\r\n", true,
                  5, 14, "X", 0, 1},
        HeaderRow{"FourAndBlankIsHeaderless", "4 \r\n5\r\n14\r\n1,\"Sleep\"\r\n", true, 2, 9, "", 0,
                  1},
        HeaderRow{"TenFirstLevel", kTenFirstLevel, true, 2, 15, "", 0, 10},
        HeaderRow{"HighestLevelThree", "1,\"A\"\r\n3,\"B\"\r\n", true, 5, 9, "", 0, 2},
        HeaderRow{"HighestLevelNine", "9,\"Wish\"\r\n", true, 18, 9, "", 0, 1},
        HeaderRow{"ManyFirstLevel",
                  kTenFirstLevel + kTenFirstLevel +
                      [] {
                          std::string lines;
                          for (int i = 0; i < 26; ++i)
                              lines += "1,\"More " + std::to_string(i) + "\"\r\n";
                          return lines;
                      }(),
                  true, 2, 21, "", 0, 36}),
    [](const auto& info) { return std::string(info.param.name); });

// Every specialty number of the old format, against a table typed from the format's description.
TEST(SpellFiles, Version3SpecialtyNumbersNameTheirSpecialty) {
    const auto rows = ReadGoldenTable("legacy_specialty_names.txt");
    ASSERT_EQ(rows.size(), 9u);
    TempFolder folder;
    for (const GoldenRow& row : rows) {
        ASSERT_EQ(row.size(), 2u);
        WriteBytes(folder.File("v3.spb"), "3\r\n9\r\n16\r\n" + row[0] + "\r\nC\r\n");
        auto book = ReadSpellbookFile(folder.File("v3.spb"));
        ASSERT_TRUE(book) << row[0];
        EXPECT_EQ(book->Specialty, row[1]) << "specialty number " << row[0];
    }
}

TEST(SpellFiles, MissingFoldersAndReadFailuresGiveNoBook) {
    TempFolder folder;
    EXPECT_EQ(ReadSpellList(""), nullptr);
    EXPECT_EQ(ReadSpellList(folder.File("missing.dat")), nullptr);
    EXPECT_EQ(ReadSpellList(folder.Path().string()), nullptr);
    EXPECT_EQ(ReadSpellbookFile(""), nullptr);
    EXPECT_EQ(ReadSpellbookFile(folder.File("missing.spb")), nullptr);
    EXPECT_EQ(ReadSpellbookFile(folder.Path().string()), nullptr);

    // Large enough to take several chunks of the reader.
    std::string list;
    for (int i = 10000; i < 30000; ++i) list += "1,\"Spell " + std::to_string(i) + "\"\r\n";
    WriteBytes(folder.File("big.dat"), list);
    WriteBytes(folder.File("big.spb"), "4\r\n3\r\n12\r\n\r\nC\r\n" + list);
    ASSERT_EQ(ReadSpellList(folder.File("big.dat"))->Count(), 20000);
    for (long long after : {0LL, 5LL, 100000LL}) {
        SetReadFailureAfterBytesForTesting(after);
        const auto list = ReadSpellList(folder.File("big.dat"));
        EXPECT_FALSE(list) << after;
        EXPECT_EQ(list.Status().Failure(), FileFailure::CannotRead) << after;
        EXPECT_EQ(list.Reason(), std::strerror(EIO)) << after;
        EXPECT_EQ(ReadSpellbookFile(folder.File("big.dat")), nullptr) << after;
        EXPECT_EQ(ReadSpellbookFile(folder.File("big.spb")), nullptr) << after;
    }
    SetReadFailureAfterBytesForTesting(-1);
    EXPECT_EQ(ReadSpellbookFile(folder.File("big.spb"))->Count(), 20000);
}

TEST(SpellFiles, AFailedSaveKeepsTheOldFile) {
    TempFolder folder;
    const std::string path = folder.File("book.spb");
    WriteBytes(path, "old bytes");
    auto book = GoldenBook();
    SetWriteFailureAfterBytesForTesting(40);
    EXPECT_FALSE(WriteSpellbookFile(*book, path));
    EXPECT_FALSE(WriteSpellList(*book, path));
    SetWriteFailureAfterBytesForTesting(-1);
    EXPECT_EQ(ReadBytes(path), "old bytes");
    EXPECT_EQ(EntriesIn(folder.Path()), 1u) << "no temporary file is left behind";
    EXPECT_FALSE(WriteSpellList(*book, folder.File("no-such-folder/book.dat")));
    EXPECT_FALSE(WriteSpellList(*book, ""));
}

// Any bytes at all: the readers end, do not crash, and hold only spells of level 1 to 9.
TEST(SpellFiles, ArbitraryBytesNeverBreakTheReaders) {
    TempFolder folder;
    std::mt19937 engine(20240607);
    const char alphabet[] = "0123456789$+-, \"\r\n\t\x1A\0abcSVRUC\xFF"; // bytes the rules react to
    for (int round = 0; round < 300; ++round) {
        std::string bytes(engine() % 400, ' ');
        for (char& c : bytes)
            c = engine() % 4 == 0 ? char(engine()) : alphabet[engine() % (sizeof alphabet - 1)];
        if (round % 3 == 0) bytes.insert(0, round % 2 ? "4\r\n" : "3\n");
        WriteBytes(folder.File("f"), bytes);
        const Deadline deadline("reading arbitrary bytes, round " + std::to_string(round));
        std::unique_ptr<TSpellBook> books[] = {ReadSpellList(folder.File("f")).Take(),
                                               ReadSpellbookFile(folder.File("f")).Take()};
        for (auto& book : books) {
            if (!book) continue;
            int32_t total = 0;
            for (int level = 1; level <= 9; ++level) total += book->LevelCount[level];
            EXPECT_EQ(total, book->Count());
            for (book->First(); book->CurrentSpell(); book->Next())
                EXPECT_FALSE(book->CurrentName().empty());
        }
        (void)SplitFields(bytes);
    }
}

} // namespace

// What the windows and the command-line tool tell the user when a file gives no book.
TEST(SpellFiles, FailuresSayWhatFailedAndWhy) {
    TempFolder folder;
    const std::string missing = folder.File("missing.spb");
    for (const auto& result : {ReadSpellList(missing), ReadSpellbookFile(missing)}) {
        EXPECT_TRUE(result.Missing());
        EXPECT_EQ(result.Reason(), std::strerror(ENOENT));
    }
    EXPECT_TRUE(ReadSpellList("").Missing()) << "no file name: nothing saved yet";
    const auto folderRead = ReadSpellbookFile(folder.Path().string());
    EXPECT_EQ(folderRead.Status().Failure(), FileFailure::CannotOpen);
    EXPECT_EQ(folderRead.Reason(), std::strerror(EISDIR));
    EXPECT_EQ(ReadSpellList("/dev/null").Reason(), "not a regular file");
    WriteBytes(folder.File("five.spb"), "5\r\n3\r\n12\r\n");
    const auto five = ReadSpellbookFile(folder.File("five.spb"));
    EXPECT_EQ(five.Status().Failure(), FileFailure::NotASpellFile);
    EXPECT_NE(five.Reason().find("version 5"), std::string::npos) << five.Reason();
}

// An editor that saves UTF-8 with a byte-order mark: the mark is skipped, so the
// header and the first spell are seen, and the text comes in Windows-1252.
TEST(SpellFiles, AByteOrderMarkIsSkippedAndTheTextConverted) {
    TempFolder folder;
    const std::string mark = "\xEF\xBB\xBF";
    const std::string spells = "1,\"Caf\xC3\xA9 \xE2\x82\xAC\",\"Tome\",3,\"C\",\"div\"\r\n"
                               "2,\"\xE6\x97\xA5\"\r\n \r\n";
    WriteBytes(folder.File("marked.spb"),
               mark + "4\r\n5\r\n12\r\nDivin\xC3\xA9r\r\nR\r\n" + spells);
    auto book = ReadSpellbookFile(folder.File("marked.spb"));
    ASSERT_TRUE(book);
    EXPECT_EQ(book->CasterLevel, 5) << "read as a version-4 book";
    EXPECT_EQ(book->Specialty, "Divin\xE9r");
    ASSERT_TRUE(book->SpellAt(1, 0));
    EXPECT_EQ(book->CurrentName(), "Caf\xE9 \x80");
    ASSERT_TRUE(book->SpellAt(2, 0));
    EXPECT_EQ(book->CurrentName(), "?") << "a character the code page lacks";

    WriteBytes(folder.File("marked.dat"), mark + spells);
    for (const auto& list :
         {ReadSpellList(folder.File("marked.dat")), ReadSpellbookFile(folder.File("marked.dat"))}) {
        ASSERT_TRUE(list);
        EXPECT_EQ(list->Count(), 2) << "the first spell is not lost";
        ASSERT_TRUE(list->SpellAt(1, 0));
        EXPECT_EQ(list->CurrentName(), "Caf\xE9 \x80");
    }
    // Without the mark the bytes are taken as they are.
    WriteBytes(folder.File("plain.dat"), spells);
    auto plain = ReadSpellList(folder.File("plain.dat"));
    ASSERT_TRUE(plain && plain->SpellAt(1, 0));
    EXPECT_EQ(plain->CurrentName(), "Caf\xC3\xA9 \xE2\x82\xAC");
}
