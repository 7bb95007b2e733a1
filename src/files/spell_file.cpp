#include "files/spell_file.h"

#include "files/fields.h"
#include "files/line_reader.h"
#include "files/safe_write.h"
#include "model/generalist.h"
#include "rules/caster_tables.h"

#include <algorithm>
#include <iterator>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace vellumar {
namespace {

// The next word in the file: blanks and line ends before it are skipped, the
// rest of its line is not read. Empty when the file ends first.
std::string NextWord(LineReader& reader) {
    while (!reader.AtEnd()) {
        std::string_view line = reader.ReadLine();
        size_t start = 0;
        while (start < line.size() && static_cast<unsigned char>(line[start]) <= 32) ++start;
        if (start == line.size()) continue;
        size_t end = start;
        while (end < line.size() && static_cast<unsigned char>(line[end]) > 32) ++end;
        return std::string(line.substr(start, end - start));
    }
    return {};
}

bool IsBlankLine(std::string_view line) {
    return std::all_of(line.begin(), line.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= 32; });
}

// The caster level or Intelligence of a header. The book is read whatever it
// holds: a missing field or a word reads as 0, a number outside the caster
// tables as it stands; either is named, since such a book fills nothing.
int32_t HeaderNumber(LineReader& reader, const std::string& field, int32_t low, int32_t high) {
    const std::string word = NextWord(reader);
    if (word.empty()) {
        reader.Warn(reader.LineNumber() + 1, "no " + field + "; read as 0");
        return 0;
    }
    const std::optional<int32_t> number = ParseNumberField(word);
    if (!number) {
        reader.Warn(reader.LineNumber(), field + " '" + word + "' is not a number; read as 0");
        return 0;
    }
    if (*number < low || *number > high)
        reader.Warn(reader.LineNumber(), field + " " + std::to_string(*number) + " is not from " +
                                             std::to_string(low) + " to " + std::to_string(high));
    return *number;
}

// Which lines of a file read without its header a spellbook's header holds:
// the version 3 or 4 on the first line, the caster level and the Intelligence
// (each on the next line that is not blank), then the specialty line and the
// frequency line. Leaving them out of a list loses nothing, so they are not
// named; they are still read as spell lines.
class BookHeaderLines {
public:
    bool Holds(std::string_view line) {
        switch (next_) {
        case Part::Version: {
            const int32_t version = NumberOrZero(line);
            next_ = version == 3 || version == 4 ? Part::CasterLevel : Part::Past;
            return next_ != Part::Past;
        }
        case Part::CasterLevel:
            if (!IsBlankLine(line)) next_ = Part::Intelligence;
            return true;
        case Part::Intelligence:
            if (!IsBlankLine(line)) next_ = Part::Specialty;
            return true;
        case Part::Specialty:
            next_ = Part::Frequency;
            return true;
        case Part::Frequency:
            next_ = Part::Past;
            return true;
        case Part::Past:
            break;
        }
        return false;
    }

private:
    enum class Part { Version, CasterLevel, Intelligence, Specialty, Frequency, Past };
    Part next_ = Part::Version;
};

// A spell from one line, or why the line holds none (empty for a blank line,
// which holds nothing to lose).
struct ParsedLine {
    std::unique_ptr<tSpell> spell;
    std::string leftOut;
};

ParsedLine ParseLine(std::string_view line);

// The line of each spell added at the end of a book, by its position there,
// kept as runs of consecutive lines: a list as the program writes it is one run.
class AddedLines {
public:
    void Added(long long line) {
        if (runs_.empty() || line != runs_.back().line + Offset(count_, runs_.back()))
            runs_.push_back({count_, line});
        ++count_;
    }
    long long Line(size_t position) const {
        const auto after =
            std::upper_bound(runs_.begin(), runs_.end(), position,
                             [](size_t at, const Run& run) { return at < run.position; });
        const Run& run = *std::prev(after);
        return run.line + Offset(position, run);
    }

private:
    struct Run {
        size_t position;
        long long line;
    };
    static long long Offset(size_t position, const Run& run) {
        return static_cast<long long>(position - run.position);
    }
    std::vector<Run> runs_;
    size_t count_ = 0;
};

struct ReadSpell {
    std::unique_ptr<tSpell> spell;
    long long line;
};

void WarnOfRepeat(LineReader& reader, long long line, const tSpell& spell, const tSpell& kept,
                  long long keptLine) {
    reader.Warn(line, "spell \"" + spell.Name + "\" of level " + std::to_string(spell.Level) +
                          " repeats \"" + kept.Name + "\" of line " + std::to_string(keptLine) +
                          "; left out");
}

// Spells that did not sort after those read before them (a hand-edited file):
// sorted, stably so that of equal spells the first in the file is kept as when
// they are added in file order, then added in one walk over the book.
void AddOutOfOrder(LineReader& reader, TSpellBook& book, std::vector<ReadSpell>& later,
                   const AddedLines& added) {
    std::stable_sort(later.begin(), later.end(), [](const ReadSpell& a, const ReadSpell& b) {
        return CompareSpells(*a.spell, *b.spell) < 0;
    });
    std::vector<std::unique_ptr<tSpell>> spells;
    std::vector<long long> lines;
    spells.reserve(later.size());
    lines.reserve(later.size());
    for (ReadSpell& read : later) {
        spells.push_back(std::move(read.spell));
        lines.push_back(read.line);
    }
    std::vector<ReadSpell>().swap(later);
    book.AddSorted(spells, [&](size_t index, const TSpellBook::KeptSpell& kept) {
        WarnOfRepeat(reader, lines[index], *spells[index], kept.spell,
                     kept.given ? lines[kept.index] : added.Line(kept.index));
    });
}

// Reads spell lines to the end of the file into the book, which is empty.
// `header` marks the lines of a spellbook's header, which are not named when
// they give no spell.
void ReadSpellLines(LineReader& reader, TSpellBook& book, BookHeaderLines* header = nullptr) {
    // As the program writes them, each spell goes after the last: no sort, no walk.
    AddedLines added;
    std::vector<ReadSpell> later;
    do {
        const std::string_view text = reader.ReadLine();
        const bool inHeader = header && header->Holds(text);
        ParsedLine parsed = ParseLine(text);
        if (parsed.spell) {
            if (book.AddLast(parsed.spell))
                added.Added(reader.LineNumber());
            else
                later.push_back({std::move(parsed.spell), reader.LineNumber()});
        } else if (!parsed.leftOut.empty() && !inHeader) {
            reader.Warn(reader.LineNumber(), parsed.leftOut);
        }
    } while (!reader.AtEnd());
    if (!later.empty()) AddOutOfOrder(reader, book, later, added);
}

// A book without a header takes the lowest caster level (from 2) that can cast
// its highest spell level, and the lowest Intelligence that allows more
// 1st-level spells than it holds.
void DeriveCasterParameters(TSpellBook& book) {
    int32_t highest = 1;
    for (int32_t level = MaxSpellLevel; level >= MinSpellLevel; --level)
        if (book.LevelCount[level] > 0) {
            highest = level;
            break;
        }
    book.CasterLevel = MaxCasterLevel;
    for (int32_t caster = 2; caster <= MaxCasterLevel; ++caster)
        if (SpellsPerDay(caster, highest) > 0) {
            book.CasterLevel = caster;
            break;
        }
    book.Intelligence = MaxIntelligence;
    for (int32_t score = MinIntelligence; score < MaxIntelligence; ++score)
        if (MaxSpellsPerLevel(score) > book.LevelCount[1]) {
            book.Intelligence = score;
            break;
        }
}

std::string SpellLines(TSpellBook& book) {
    std::string out;
    for (book.First(); book.CurrentSpell(); book.Next()) {
        out += SpellLine(*book.CurrentSpell());
        out += "\r\n";
    }
    out += " \r\n"; // the closing line of one blank
    return out;
}

} // namespace

const std::array<const char*, 9> LegacySpecialtyNames = {Generalist, "Abjurer",     "Conjurer",
                                                         "Diviner",  "Enchanter",   "Illusionist",
                                                         "Invoker",  "Necromancer", "Transmuter"};

namespace {

// The next field as text, or empty when none is left. A long one is made
// whole and moved in: assigning it would give it twice the room it needs.
void NextText(FieldScanner& scanner, std::string& text) {
    std::string_view field;
    if (!scanner.Next(field)) return;
    if (field.size() <= text.capacity())
        text.assign(field);
    else
        text = std::string(field);
}

ParsedLine ParseLine(std::string_view line) {
    FieldScanner scanner(line);
    std::string_view field;
    if (!scanner.Next(field)) return {}; // a blank line
    const std::optional<int32_t> level = ParseNumberField(field);
    if (!level) return {nullptr, "\"" + std::string(field) + "\" is not a spell level; left out"};
    if (*level < MinSpellLevel || *level > MaxSpellLevel)
        return {nullptr, "spell level " + std::to_string(*level) + " is not from " +
                             std::to_string(MinSpellLevel) + " to " +
                             std::to_string(MaxSpellLevel) + "; left out"};
    auto spell = std::make_unique<tSpell>();
    spell->Level = *level;
    NextText(scanner, spell->Name);
    if (spell->Name.empty())
        return {nullptr,
                "a spell of level " + std::to_string(*level) + " without a name; left out"};
    NextText(scanner, spell->Book);
    if (scanner.Next(field)) spell->Page = NumberOrZero(field);
    if (scanner.Next(field) && !field.empty()) spell->Frequency = FrequencyFromLetter(field[0]);
    NextText(scanner, spell->Category);
    return {std::move(spell), {}};
}

} // namespace

std::unique_ptr<tSpell> ParseSpellLine(std::string_view line) {
    return ParseLine(line).spell;
}

std::string SpellLine(const tSpell& spell) {
    std::string out = std::to_string(spell.Level);
    out += ',';
    AppendQuoted(out, spell.Name);
    out += ',';
    AppendQuoted(out, spell.Book);
    out += ',';
    out += std::to_string(spell.Page);
    out += ",\"";
    out += FrequencyLetter(spell.Frequency);
    out += "\",";
    AppendQuoted(out, spell.Category);
    return out;
}

namespace {

FileResult<TSpellBook> ReadList(const std::string& fileName) {
    LineReader reader(fileName);
    if (!reader.IsOpen()) return reader.Status();
    auto book = std::make_unique<TSpellBook>();
    BookHeaderLines header; // a spellbook may be read as a list (Import Spells)
    ReadSpellLines(reader, *book, &header);
    if (reader.Failed()) return reader.Status();
    return reader.WithWarnings(std::move(book));
}

FileResult<TSpellBook> ReadBook(const std::string& fileName) {
    LineReader reader(fileName);
    if (!reader.IsOpen()) return reader.Status();
    const std::string_view firstLine = reader.ReadLine();
    if (reader.Failed()) return reader.Status();
    const int32_t version = NumberOrZero(firstLine);
    if (version == 0) {
        reader.Close(); // its buffer may hold a long first line
        auto book = ReadList(fileName);
        if (book) DeriveCasterParameters(*book);
        return book;
    }
    if (version != 3 && version != 4)
        return FileStatus(FileFailure::NotASpellFile,
                          "not a spellbook: version " + std::to_string(version) + " is not known");

    auto book = std::make_unique<TSpellBook>();
    book->CasterLevel = HeaderNumber(reader, "caster level", MinCasterLevel, MaxCasterLevel);
    book->Intelligence = HeaderNumber(reader, "Intelligence", MinIntelligence, MaxIntelligence);
    const std::string_view specialty = reader.ReadLine();
    if (version == 4) {
        book->Specialty = specialty;
    } else {
        const auto number = ParseNumberField(specialty);
        book->Specialty = number && *number >= 0 && *number < int32_t(LegacySpecialtyNames.size())
                              ? LegacySpecialtyNames[*number]
                              : "unknown";
    }
    const std::string_view frequency = reader.ReadLine();
    if (!frequency.empty()) book->SpellFrequency = FrequencyFromLetter(frequency[0]);
    ReadSpellLines(reader, *book);
    if (reader.Failed()) return reader.Status();
    return reader.WithWarnings(std::move(book));
}

// A file of many short lines can still outgrow memory: that read fails, and
// neither program stops.
template <class Read> FileResult<TSpellBook> WithinMemory(Read read) {
    try {
        return read();
    } catch (const std::bad_alloc&) {
        return FileStatus(FileFailure::CannotRead, "not enough memory");
    }
}

FileStatus WriteReadableFile(const std::string& fileName, const std::string& content) {
    const FileStatus readable = LinesReadBack(content);
    return readable ? WriteFileAtomically(fileName, content) : readable;
}

} // namespace

// A long name full of quotation marks doubles in writing.
FileStatus LinesReadBack(std::string_view content) {
    size_t start = 0;
    for (long long line = 1; start < content.size(); ++line) {
        const size_t end = std::min(content.find("\r\n", start), content.size());
        if (end - start > MaxLineBytes)
            return FileStatus(FileFailure::CannotWrite,
                              "line " + std::to_string(line) + " would be longer than " +
                                  std::to_string(MaxLineBytes) + " bytes");
        start = end + 2;
    }
    return {};
}

FileResult<TSpellBook> ReadSpellList(const std::string& fileName) {
    return WithinMemory([&] { return ReadList(fileName); });
}

FileResult<TSpellBook> ReadSpellbookFile(const std::string& fileName) {
    return WithinMemory([&] { return ReadBook(fileName); });
}

std::string SpellListText(TSpellBook& book) {
    return SpellLines(book);
}

std::string SpellbookFileText(TSpellBook& book) {
    std::string out = "4\r\n";
    out += std::to_string(book.CasterLevel) + "\r\n";
    out += std::to_string(book.Intelligence) + "\r\n";
    out += WritableText(book.Specialty) + "\r\n";
    out += FrequencyLetter(book.SpellFrequency);
    out += "\r\n";
    out += SpellLines(book);
    return out;
}

FileStatus WriteSpellList(TSpellBook& book, const std::string& fileName) {
    return WriteReadableFile(fileName, SpellListText(book));
}

FileStatus WriteSpellbookFile(TSpellBook& book, const std::string& fileName) {
    return WriteReadableFile(fileName, SpellbookFileText(book));
}

} // namespace vellumar
