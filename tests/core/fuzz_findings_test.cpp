// Inputs the fuzz targets (fuzz/) once broke the readers or writers with, kept
// byte for byte, each checked for the property it broke.

#include "files/line_reader.h"
#include "files/specialty_file.h"
#include "files/spell_file.h"

#include "file_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

using namespace vellumar;
using namespace vellumar::test;
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

std::vector<std::string> SeedFiles(const char* target) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(
             std::filesystem::path(VELLUMAR_SOURCE_DIR) / "fuzz/corpus" / target))
        files.push_back(entry.path().string());
    return files;
}

// Lines that cross the end of the read buffer, or outgrow it, or are cut at
// 255 characters while it refills, read the same as with the usual buffer.
TEST(FuzzFindings, BufferSizeDoesNotChangeWhatIsRead) {
    std::vector<std::string> books = SeedFiles("spell_list");
    for (const std::string& file : SeedFiles("spellbook_file")) books.push_back(file);
    ASSERT_GE(books.size(), 10u);
    for (const std::string& file : books) {
        auto list = ReadSpellList(file);
        auto book = ReadSpellbookFile(file);
        ASSERT_TRUE(list && book) << file;
        for (size_t chunk = 1; chunk <= 9; chunk += 2) {
            ChunkSize small(chunk);
            auto smallList = ReadSpellList(file);
            auto smallBook = ReadSpellbookFile(file);
            ASSERT_TRUE(smallList && smallBook);
            EXPECT_EQ(Rows(*smallList), Rows(*list)) << file << ", chunk " << chunk;
            EXPECT_EQ(Rows(*smallBook), Rows(*book)) << file << ", chunk " << chunk;
        }
    }
    for (const std::string& file : SeedFiles("specialty_file")) {
        auto specialties = ReadSpecialtyFile(file);
        ASSERT_TRUE(specialties);
        for (size_t chunk = 1; chunk <= 9; chunk += 2) {
            ChunkSize small(chunk);
            auto smallSpecialties = ReadSpecialtyFile(file);
            ASSERT_TRUE(smallSpecialties);
            EXPECT_EQ(Rows(*smallSpecialties), Rows(*specialties)) << file << ", chunk " << chunk;
        }
    }
}

} // namespace
