#pragma once
// Shared pieces of the fuzz targets: the input as a real file for the readers,
// plain snapshots of what a reader returned, and a loud stop on a broken property.

#include "model/specialty.h"
#include "model/spell_book.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace vellumar::fuzz {

// A libFuzzer finding: the message says which property broke.
[[noreturn]] inline void Fail(const char* what) {
    std::fprintf(stderr, "fuzz property broken: %s\n", what);
    std::abort();
}

inline void Check(bool holds, const char* what) {
    if (!holds) Fail(what);
}

// A file of this process in memory-backed storage, rewritten for every input,
// so that the readers run exactly as they do on the user's files.
class ScratchFile {
public:
    explicit ScratchFile(const char* tag) {
        const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : std::getenv("TMPDIR");
        path_ = std::string(folder ? folder : "/tmp") + "/vellumar-fuzz-" +
                std::to_string(getpid()) + "-" + tag;
    }
    ~ScratchFile() { std::remove(path_.c_str()); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& Write(const uint8_t* data, size_t size) {
        std::FILE* file = std::fopen(path_.c_str(), "wb");
        if (!file) Fail("cannot write the scratch file");
        if (size > 0 && std::fwrite(data, 1, size, file) != size) Fail("short scratch write");
        std::fclose(file);
        return path_;
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

using SpellRow = std::tuple<int32_t, std::string, std::string, int32_t, int32_t, std::string>;

struct BookSnapshot {
    int32_t casterLevel = 0, intelligence = 0, spellFrequency = 0;
    std::string specialty;
    std::vector<SpellRow> spells;
    bool operator==(const BookSnapshot&) const = default;
};

// Also checks what every book must hold: spells in order with no level and
// name twice, levels 1 to 9 with names, and level counts that add up.
inline BookSnapshot Snapshot(TSpellBook& book) {
    BookSnapshot shot{book.CasterLevel, book.Intelligence, book.SpellFrequency, book.Specialty, {}};
    std::array<int32_t, MaxSpellLevel + 1> counted{};
    const tSpell* previous = nullptr;
    for (book.First(); book.CurrentSpell(); book.Next()) {
        const tSpell& s = *book.CurrentSpell();
        Check(s.Level >= MinSpellLevel && s.Level <= MaxSpellLevel, "spell level outside 1..9");
        Check(!s.Name.empty(), "spell without a name");
        Check(s.Frequency >= FrequencyRestricted && s.Frequency <= FrequencyCommon,
              "frequency code outside -4..0");
        Check(!previous || CompareSpells(*previous, s) < 0, "spells out of order or repeated");
        ++counted[s.Level];
        previous = &s;
        shot.spells.emplace_back(s.Level, s.Name, s.Book, s.Page, s.Frequency, s.Category);
    }
    Check(counted == book.LevelCount, "level counts do not match the spells");
    Check(static_cast<size_t>(book.Count()) == shot.spells.size(), "count does not match");
    Check(book.Modified == false, "a new book is marked modified");
    return shot;
}

struct SpecialtyRow {
    std::string name;
    tStringList preferred, prohibited;
    bool operator==(const SpecialtyRow&) const = default;
};

inline std::vector<SpecialtyRow> Snapshot(tSpecialtyList& list) {
    std::vector<SpecialtyRow> rows;
    for (list.First(); list.CurrentSpecialty(); list.Next()) {
        const tSpecialty& s = *list.CurrentSpecialty();
        rows.push_back({s.Name, s.Preferred, s.Prohibited});
    }
    Check(rows.size() == static_cast<size_t>(list.Count()), "specialty count does not match");
    return rows;
}

// A small buffer size taken from the input, so that lines cross buffer refills.
inline size_t SmallChunkFor(const uint8_t* data, size_t size) {
    return 1 + (size + (size > 0 ? data[0] : 0)) % 7;
}

// Where a read failure is made to happen, somewhere inside the input.
inline long long FailureOffsetFor(const uint8_t* data, size_t size) {
    return size == 0 ? 0 : static_cast<long long>((data[size - 1] * 131u + size) % (size + 1));
}

} // namespace vellumar::fuzz
