// Files no program of ours wrote: no line ends, binary and NUL bytes, a million
// empty lines, numbers past 32 bits, a shuffled list, lines a reader leaves out.
// The readers must finish, say what they left out, and the heap they use must
// stay proportional to the file.

#include "files/line_reader.h"
#include "files/specialty_file.h"
#include "files/spell_file.h"
#include "files/spell_texts_file.h"

#include "file_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <malloc.h>
#include <new>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

using namespace vellumar;
using namespace vellumar::test;

// Every operator new of this test program is counted, so that a test can see
// the most heap a reader held at once, not only what it kept.
namespace {
size_t liveBytes = 0;
size_t peakBytes = 0;

void* Counted(void* block) {
    if (!block) throw std::bad_alloc();
    liveBytes += malloc_usable_size(block);
    peakBytes = std::max(peakBytes, liveBytes);
    return block;
}
void Uncounted(void* block) noexcept {
    if (!block) return;
    liveBytes -= malloc_usable_size(block);
    std::free(block);
}
} // namespace

void* operator new(size_t size) {
    return Counted(std::malloc(size ? size : 1));
}
void* operator new[](size_t size) {
    return Counted(std::malloc(size ? size : 1));
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    void* block = std::malloc(size ? size : 1);
    return block ? Counted(block) : nullptr;
}
void* operator new[](size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* block) noexcept {
    Uncounted(block);
}
void operator delete[](void* block) noexcept {
    Uncounted(block);
}
void operator delete(void* block, size_t) noexcept {
    Uncounted(block);
}
void operator delete[](void* block, size_t) noexcept {
    Uncounted(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    Uncounted(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    Uncounted(block);
}

namespace {

constexpr size_t kMiB = 1 << 20;

// Heap growth from its creation: the highest point, and what is still held.
class HeapWatch {
public:
    HeapWatch() : start_(liveBytes) { peakBytes = liveBytes; }
    size_t Peak() const { return peakBytes - start_; }
    size_t Held() const { return liveBytes > start_ ? liveBytes - start_ : 0; }

private:
    size_t start_;
};

// What a reader may use for a file: a few times its bytes (a long line is held
// whole and its buffer grows by doubling), plus the objects of its lines (a
// list node and a spell or specialty for each, whatever the line's length).
size_t Allowed(size_t fileBytes, size_t lines) {
    return 4 * fileBytes + 192 * lines + kMiB;
}

struct Use {
    size_t peak, held;
};

// Reads into the pointer, and tells what the read used.
template <class T, class Read> Use Measure(std::unique_ptr<T>& result, Read read) {
    HeapWatch watch;
    result = read().Take();
    const Use use{watch.Peak(), watch.Held()};
    EXPECT_TRUE(result);
    return use;
}

// Writes the file in pieces, so that the test itself never holds it whole.
template <class Piece> size_t WriteFile(const std::string& path, size_t pieces, Piece piece) {
    std::ofstream out(path, std::ios::binary);
    size_t bytes = 0;
    for (size_t i = 0; i < pieces; ++i) {
        const std::string text = piece(i);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        bytes += text.size();
    }
    return bytes;
}

// A file without line ends ends the read at its first line, and the reader's
// buffer stays near the line limit.
TEST(HostileInput, LinesPastTheLimit) {
    TempFolder folder;
    const std::string path = folder.File("one-line.dat");
    const std::string spell = "1,\"Magic Missile\",\"PHB\",170,\"C\",\"i/e\" ";
    WriteFile(path, 8 * kMiB / spell.size(), [&](size_t) { return spell; });
    const std::function<FileStatus()> reads[] = {
        [&] { return ReadSpellList(path).Status(); },
        [&] { return ReadSpellbookFile(path).Status(); },
        [&] { return ReadSpecialtyFile(path).Status(); },
    };
    for (const auto& read : reads) {
        HeapWatch watch;
        const FileStatus status = read();
        EXPECT_EQ(status.Failure(), FileFailure::CannotRead);
        EXPECT_EQ(status.Reason(), "line 1 is longer than 65536 bytes");
        EXPECT_LT(watch.Peak(), 4 * MaxLineBytes);
    }
}

TEST(HostileInput, BinaryAndNulBytes) {
    struct Row {
        const char* name;
        std::function<char(std::mt19937&, size_t)> byte;
        int32_t specialtiesAtLeast;
    };
    const Row rows[] = {
        // Any byte but Ctrl-Z, which would end the file within a few hundred bytes.
        {"binary",
         [](std::mt19937& engine, size_t) {
             const char c = static_cast<char>(engine());
             return c == 26 ? 'z' : c;
         },
         1000},
        // NUL bytes in lines of the longest length a reader takes.
        {"nul", [](std::mt19937&, size_t i) { return i % MaxLineBytes == 0 ? '\n' : '\0'; }, 1},
        {"nul lines", [](std::mt19937&, size_t i) { return i % 64 == 63 ? '\n' : '\0'; }, 10000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempFolder folder;
        const std::string path = folder.File("bytes");
        std::mt19937 engine(7);
        size_t lines = 1;
        const size_t bytes = WriteFile(path, 64, [&](size_t piece) {
            std::string text(64 * 1024, ' ');
            for (size_t i = 0; i < text.size(); ++i) {
                text[i] = row.byte(engine, piece * text.size() + i);
                lines += text[i] == '\r' || text[i] == '\n';
            }
            return text;
        });

        std::unique_ptr<TSpellBook> list;
        const Use listUse = Measure(list, [&] { return ReadSpellList(path); });
        EXPECT_LT(listUse.peak, Allowed(bytes, lines));
        std::unique_ptr<TSpellBook> book;
        const Use bookUse = Measure(book, [&] { return ReadSpellbookFile(path); });
        EXPECT_LT(bookUse.peak, Allowed(bytes, lines));
        std::unique_ptr<tSpecialtyList> specialties;
        const Use specialtyUse = Measure(specialties, [&] { return ReadSpecialtyFile(path); });
        EXPECT_LT(specialtyUse.peak, Allowed(bytes, lines));
        EXPECT_GE(specialties->Count(), row.specialtiesAtLeast);
        for (auto* b : {list.get(), book.get()})
            for (b->First(); b->CurrentSpell(); b->Next())
                EXPECT_EQ(b->CurrentName().find('\0'), std::string::npos);
    }
}

TEST(HostileInput, SpecialtyFileOfAMillionEmptyLines) {
    TempFolder folder;
    const std::string path = folder.File("Specialty.dat");
    constexpr size_t kLines = 1000000;
    const size_t bytes = WriteFile(path, kLines / 1000, [](size_t) {
        std::string text;
        for (int i = 0; i < 1000; ++i) text += "\r\n";
        return text;
    });

    std::unique_ptr<tSpecialtyList> list;
    const Use use = Measure(list, [&] { return ReadSpecialtyFile(path); });
    // Every three lines make a specialty; the last one reads past the end.
    EXPECT_EQ(list->Count(), int32_t(kLines / 3 + 1));
    EXPECT_LT(use.peak, Allowed(bytes, kLines / 3));
    list->First();
    EXPECT_EQ(list->CurrentName(), "");
}

TEST(HostileInput, HeaderNumbersPastThirtyTwoBits) {
    struct Row {
        const char* casterLevel;
        const char* intelligence;
        int32_t expectedLevel, expectedIntelligence;
        size_t warnings; // a word, or a number outside the caster tables, is named
    };
    const Row rows[] = {
        {"4294967296", "4294967311", 0, 0, 2}, // 2^32 and 2^32 + 15 do not wrap to 0 and 15
        {"99999999999999999999999", "-2147483649", 0, 0, 2},
        {"$100000007", "$FFFFFFFF", 0, 0, 2},
        {"2147483647", "-2147483648", 2147483647, -2147483647 - 1, 2}, // the limits still read
        {"  $1E junk", "+15", 30, 15, 0},
    };
    TempFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.casterLevel);
        const std::string path = folder.File("big.spb");
        WriteBytes(path,
                   std::string("4\r\n") + row.casterLevel + "\r\n" + row.intelligence +
                       "\r\nDiviner\r\nR\r\n3,\"Fireball\",\"PHB\",4294967486,\"C\",\"i/e\"\r\n");
        auto book = ReadSpellbookFile(path);
        ASSERT_TRUE(book);
        EXPECT_EQ(book.Warnings().size(), row.warnings);
        EXPECT_EQ(book->CasterLevel, row.expectedLevel);
        EXPECT_EQ(book->Intelligence, row.expectedIntelligence);
        EXPECT_EQ(book->Specialty, "Diviner");
        ASSERT_EQ(book->Count(), 1);
        book->First();
        EXPECT_EQ(book->CurrentPage(), 0) << "a page past 32 bits is not a number";
    }
    // A version past 32 bits is not a number, and so not the version 4 it wraps to.
    WriteBytes(folder.File("version.spb"), "4294967300\r\n7\r\n15\r\nDiviner\r\nR\r\n");
    auto book = ReadSpellbookFile(folder.File("version.spb"));
    ASSERT_TRUE(book);
    EXPECT_EQ(book->CasterLevel, 2) << "read as a file without a header";
    EXPECT_EQ(book->Specialty, "");
}

// What each reader makes of a file: the spells (or specialties) it read, or
// the reason it refused the file; and each line it left out or changed.
TEST(HostileInput, EveryLineLeftOutIsNamed) {
    enum Reader { List, Book, Specialties };
    struct Row {
        Reader reader;
        std::string bytes;
        int32_t count; // -1: refused with the reason
        std::string reason;
        std::vector<std::string> warnings;
    };
    const std::string head = "4\r\n5\r\n12\r\nInvoker\r\nC\r\n";
    const std::string tooLong(MaxLineBytes + 1, 'a');
    // clang-format off
    const Row rows[] = {
        {Book, head + "0,\"Cantrip\"\r\n1,\"Sleep\"\r\n \r\n", 1, "", {"line 6: spell level 0 is not from 1 to 9; left out"}},
        {List, "31,\"Wish\"\r\nx,\"Y\"\r\n", 0, "", {"line 1: spell level 31 is not from 1 to 9; left out", "line 2: \"x\" is not a spell level; left out"}},
        {Book, head + "3,\"Fireball\"\r\n1,\"Sleep\"\r\n3,\"FIREBALL\",\"PHB\"\r\n", 2, "", {"line 8: spell \"FIREBALL\" of level 3 repeats \"Fireball\" of line 6; left out"}},
        {List, "2,\"A\"\r\n\r\n2,\"C\"\r\n1,\"x\"\r\n2,\"c\"\r\n1,\"X\"\r\n", 3, "", {"line 5: spell \"c\" of level 2 repeats \"C\" of line 3; left out", "line 6: spell \"X\" of level 1 repeats \"x\" of line 4; left out"}},
        {List, "2,\"\",\"PHB\"\r\n", 0, "", {"line 1: a spell of level 2 without a name; left out"}},
        {List, "1,\"Sleep\"\x1A\r\n2,\"Web\"\r\n", 1, "", {"line 1: Ctrl-Z ends the file; what follows it is left out"}},
        {Book, "\xEF\xBB\xBF" + head + "1,\"Sleep \xE2\x98\x83\"\r\n", 1, "", {"line 6: characters Windows-1252 lacks became \"?\""}},
        // A header outside the caster tables is read as it stands, and named.
        {Book, "4\r\n31\r\n12\r\n", 0, "", {"line 2: caster level 31 is not from 1 to 30"}},
        {Book, "4\r\n5\r\n-5\r\n", 0, "", {"line 3: Intelligence -5 is not from 9 to 21"}},
        {Book, "4\r\n0\r\n25\r\n\r\nC\r\n1,\"Sleep\"\r\n", 1, "", {"line 2: caster level 0 is not from 1 to 30", "line 3: Intelligence 25 is not from 9 to 21"}},
        {Book, "3\r\nabc\r\n12\r\n2\r\nC\r\n", 0, "", {"line 2: caster level 'abc' is not a number; read as 0"}},
        {Book, "4\r\n", 0, "", {"line 2: no caster level; read as 0", "line 2: no Intelligence; read as 0"}},
        // A spellbook read as a list (Import Spells) loses only its header: nothing to name.
        {List, head + "1,\"Sleep\"\r\n", 1, "", {}},
        {List, "3\r\n\r\n5\r\n12\r\n2\r\nC\r\n0,\"Cantrip\"\r\n", 0, "", {"line 7: spell level 0 is not from 1 to 9; left out"}},
        {List, "7\r\n5\r\n", 0, "", {"line 1: a spell of level 7 without a name; left out", "line 2: a spell of level 5 without a name; left out"}},
        {List, "1,\"Sleep\"\r\n" + tooLong, -1, "line 2 is longer than 65536 bytes", {}},
        // Part of a table would be saved as the whole later: nothing is given.
        {Specialties, "Mage\r\nabj\r\nill\r\n" + tooLong, -1, "line 4 is longer than 65536 bytes", {}},
    };
    // clang-format on
    TempFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.bytes.substr(0, 40));
        WriteBytes(folder.File("file"), row.bytes);
        const auto check = [&row](const auto& read) {
            EXPECT_EQ(read ? read->Count() : -1, row.count);
            EXPECT_EQ(read.Reason(), row.reason);
            EXPECT_EQ(read.Warnings(), row.warnings);
        };
        if (row.reader == Specialties)
            check(ReadSpecialtyFile(folder.File("file")));
        else
            check(row.reader == List ? ReadSpellList(folder.File("file"))
                                     : ReadSpellbookFile(folder.File("file")));
    }
}

// A hand-edited master list in no order, with repeats: it reads in order, and
// of each level and name the first line in the file is the one kept.
TEST(HostileInput, ShuffledListWithRepeats) {
    TempFolder folder;
    constexpr int kSpells = 100000;
    std::vector<std::string> keys;
    for (int i = 0; i < kSpells; ++i) {
        keys.push_back(std::to_string(1 + i % 9) + ",\"Spell " + std::to_string(i) + "\"");
        if (i % 10 == 0) keys.push_back(keys.back());
    }
    std::mt19937 engine(11);
    std::shuffle(keys.begin(), keys.end(), engine);
    std::unordered_set<std::string> seen;
    std::string bytes;
    for (const std::string& key : keys)
        bytes += key + (seen.insert(key).second ? ",\"first\"\r\n" : ",\"later\"\r\n");
    WriteBytes(folder.File("master.dat"), bytes);

    auto list = ReadSpellList(folder.File("master.dat"));
    ASSERT_TRUE(list);
    EXPECT_EQ(list->Count(), kSpells);
    const tSpell* previous = nullptr;
    for (list->First(); list->CurrentSpell(); list->Next()) {
        const tSpell* spell = list->CurrentSpell();
        if (previous) {
            ASSERT_LT(CompareSpells(*previous, *spell), 0);
        }
        ASSERT_EQ(spell->Book, "first") << spell->Name;
        previous = spell;
    }
}

// What a file dialog can also name: a pipe would hold the reader at its open
// or its first read, and a device such as /dev/zero never ends.
TEST(HostileInput, PipesAndDevicesAreNotRead) {
    TempFolder folder;
    const std::string pipe = folder.File("pipe.spb");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& path : {pipe, std::string("/dev/zero"), std::string("/dev/urandom")}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(ReadSpellList(path));
        EXPECT_FALSE(ReadSpellbookFile(path));
        EXPECT_FALSE(ReadSpecialtyFile(path));
    }
}

// A companion file nested, or wide, past every bound, or larger than the
// reader takes: each is refused with its place, early, holding no more heap
// than the file (none for one too large, which is never read).
TEST(HostileInput, SpellTextsPastTheirBounds) {
    const auto times = [](const std::string& text, size_t count) {
        std::string all;
        for (size_t i = 0; i < count; ++i) all += text;
        return all;
    };
    const auto keys = [](size_t count) {
        std::string all = "{";
        for (size_t i = 0; i < count; ++i) all += (i ? ",\"k" : "\"k") + std::to_string(i) + "\":1";
        return all + "}";
    };
    const std::string entry = "[{\"name\": \"A\", \"level\": 1, \"x\": ";
    const struct {
        std::string bytes;
        std::string reason;
    } rows[] = {
        {entry + times("[", 70000) + times("]", 70000) + "}]",
         "line 1, column 63: nested deeper than 32 levels"},
        {entry + times("{\"a\":", 10000) + "1" + times("}", 10000) + "}]",
         "line 1, column 183: nested deeper than 32 levels"},
        {entry + keys(80000) + "}]", "line 1, column 9164: more than 1024 keys in one object"},
        {"[" + keys(500000) + "]", "line 1, column 9133: more than 1024 keys in one object"},
    };
    TempFolder folder;
    const std::string path = folder.File("MASTER.DAT.texts.json");
    for (const auto& row : rows) {
        WriteBytes(path, row.bytes);
        HeapWatch watch;
        const auto read = ReadSpellTexts(path);
        EXPECT_EQ(read.Reason(), row.reason);
        EXPECT_LT(watch.Peak(), row.bytes.size() + kMiB);
    }
    const int file = open(path.c_str(), O_WRONLY | O_TRUNC);
    ASSERT_EQ(ftruncate(file, off_t{500} << 20), 0);
    close(file);
    HeapWatch watch;
    const auto read = ReadSpellTexts(path);
    EXPECT_EQ(read.Status().Failure(), FileFailure::CannotRead);
    EXPECT_EQ(read.Reason(), "larger than 256 MiB");
    EXPECT_LT(watch.Peak(), kMiB);
}

// Texts of more than 64 MiB save and read back whole, the read holding heap
// in proportion to the file (the file itself, then the texts).
TEST(HostileInput, SpellTextsOfManyMegabytes) {
    SpellTexts texts;
    for (int i = 0; i < 2000; ++i) {
        SpellText text;
        text.School = "Evocation";
        text.Description.assign(20, std::string(1800, char('a' + i % 26)));
        texts.Set(1 + i % 9, "Spell " + std::to_string(i), std::move(text));
    }
    TempFolder folder;
    const std::string path = folder.File("MASTER.DAT.texts.json");
    ASSERT_TRUE(WriteSpellTexts(texts, path));
    const auto bytes = std::filesystem::file_size(path);
    EXPECT_GT(bytes, 64 * kMiB);
    std::unique_ptr<SpellTexts> read;
    const Use use = Measure(read, [&] { return ReadSpellTexts(path); });
    ASSERT_TRUE(read);
    EXPECT_TRUE(*read == texts);
    EXPECT_LT(use.peak, 3 * bytes);
}

} // namespace
