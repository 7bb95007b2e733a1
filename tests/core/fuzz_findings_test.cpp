// Inputs the fuzz targets (fuzz/) once broke the readers or writers with, kept
// byte for byte, each checked for the property it broke.

#include "files/line_reader.h"
#include "files/specialty_file.h"
#include "files/spell_file.h"

#include "file_test_support.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace vellumar;
using namespace vellumar::testing;
using namespace std::string_literals;

namespace {

using SpellRow = std::tuple<int32_t, std::string, std::string, int32_t, int32_t, std::string>;
struct BookRows {
    int32_t casterLevel, intelligence, spellFrequency;
    std::string specialty;
    std::vector<SpellRow> spells;
    bool operator==(const BookRows&) const = default;
};

BookRows Rows(TSpellBook& book) {
    BookRows rows{book.CasterLevel, book.Intelligence, book.SpellFrequency, book.Specialty, {}};
    for (book.First(); book.CurrentSpell(); book.Next()) {
        const tSpell& s = *book.CurrentSpell();
        rows.spells.emplace_back(s.Level, s.Name, s.Book, s.Page, s.Frequency, s.Category);
    }
    return rows;
}

void PrintTo(const BookRows& rows, std::ostream* os) {
    *os << rows.casterLevel << '/' << rows.intelligence << '/' << rows.spellFrequency << '/'
        << ::testing::PrintToString(rows.specialty) << ' ' << ::testing::PrintToString(rows.spells);
}

using SpecialtyRows = std::vector<std::tuple<std::string, tStringList, tStringList>>;
SpecialtyRows Rows(tSpecialtyList& list) {
    SpecialtyRows rows;
    for (list.First(); list.CurrentSpecialty(); list.Next())
        rows.emplace_back(list.CurrentName(), *list.CurrentPreferred(), *list.CurrentProhibited());
    return rows;
}

// Keeps a test hook from leaking into the next test when an assertion fails.
struct ChunkSize {
    explicit ChunkSize(size_t bytes) { SetReadChunkBytesForTesting(bytes); }
    ~ChunkSize() { SetReadChunkBytesForTesting(0); }
};

enum class Property { SpellbookSavesAsRead, SpecialtiesSaveAsRead };

struct Finding {
    const char* name;
    Property property;
    std::string bytes;
};

void PrintTo(const Finding& finding, std::ostream* os) {
    *os << finding.name;
}

class FuzzFindingTest : public ::testing::TestWithParam<Finding> {};

TEST_P(FuzzFindingTest, HoldsItsProperty) {
    TempFolder folder;
    const std::string input = folder.File("input"), saved = folder.File("saved");
    WriteBytes(input, GetParam().bytes);
    switch (GetParam().property) {
    case Property::SpellbookSavesAsRead: {
        auto book = ReadSpellbookFile(input);
        ASSERT_TRUE(book);
        const BookRows read = Rows(*book);
        ASSERT_TRUE(WriteSpellbookFile(*book, saved));
        auto again = ReadSpellbookFile(saved);
        ASSERT_TRUE(again);
        EXPECT_EQ(Rows(*again), read);
        break;
    }
    case Property::SpecialtiesSaveAsRead: {
        auto list = ReadSpecialtyFile(input);
        ASSERT_TRUE(list);
        const SpecialtyRows read = Rows(*list);
        ASSERT_TRUE(WriteSpecialtyFile(*list, saved));
        auto again = ReadSpecialtyFile(saved);
        ASSERT_TRUE(again);
        EXPECT_EQ(Rows(*again), read);
        break;
    }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, FuzzFindingTest,
    ::testing::Values(
        // A control character other than a line end in a spell name was saved as a blank.
        Finding{"ControlCharacterInSpellName", Property::SpellbookSavesAsRead,
                "4\r\n7\r\n15\r\nIllusionist\r\nR\r\n"
                "4,\"Wall of \x0F\0\0\0\0\0\0\0,0,\"S\",\"\"\r\n \r\n"s},
        // ... and in a specialty name.
        Finding{"ControlCharacterInSpecialtyName", Property::SpecialtiesSaveAsRead,
                "Abj\x01\0\0\0\nabj\nalt,ill\n"s}),
    [](const auto& info) { return std::string(info.param.name); });

// Lines that cross the end of the read buffer, or outgrow it, read the same as
// with the usual buffer.
TEST(FuzzFindings, BufferSizeDoesNotChangeWhatIsRead) {
    for (const char* name : {"spell_list.dat", "spellbook_v4.spb"}) {
        auto list = ReadSpellList(TestData(name));
        auto book = ReadSpellbookFile(TestData(name));
        ASSERT_TRUE(list && book);
        for (size_t chunk = 1; chunk <= 9; ++chunk) {
            ChunkSize small(chunk);
            auto smallList = ReadSpellList(TestData(name));
            auto smallBook = ReadSpellbookFile(TestData(name));
            ASSERT_TRUE(smallList && smallBook);
            EXPECT_EQ(Rows(*smallList), Rows(*list)) << name << ", chunk " << chunk;
            EXPECT_EQ(Rows(*smallBook), Rows(*book)) << name << ", chunk " << chunk;
        }
    }
    auto specialties = ReadSpecialtyFile(TestData("specialty_builtin.dat"));
    ASSERT_TRUE(specialties);
    for (size_t chunk = 1; chunk <= 9; ++chunk) {
        ChunkSize small(chunk);
        auto smallSpecialties = ReadSpecialtyFile(TestData("specialty_builtin.dat"));
        ASSERT_TRUE(smallSpecialties);
        EXPECT_EQ(Rows(*smallSpecialties), Rows(*specialties)) << "chunk " << chunk;
    }
}

} // namespace
