#include "files/spell_file.h"

#include "files/fields.h"
#include "files/line_reader.h"
#include "files/safe_write.h"
#include "model/generalist.h"
#include "rules/caster_tables.h"

#include <algorithm>
#include <new>
#include <optional>
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

// A header number the caster tables know, or why the book is refused: a
// value outside them would fill nothing and be saved back as it was.
std::optional<std::string> HeaderNumber(LineReader& reader, const char* field, int32_t low,
                                        int32_t high, int32_t& value) {
    const std::string word = NextWord(reader);
    if (word.empty()) return std::string("not a spellbook: the ") + field + " is missing";
    const std::optional<int32_t> number = ParseNumberField(word);
    if (number && *number >= low && *number <= high) {
        value = *number;
        return std::nullopt;
    }
    return std::string("not a spellbook: the ") + field + " is '" + word +
           "', not a whole number from " + std::to_string(low) + " to " + std::to_string(high);
}

// A spell from one line, or why the line holds none (empty for a blank line,
// which holds nothing to lose).
struct ParsedLine {
    std::unique_ptr<tSpell> spell;
    std::string leftOut;
};

ParsedLine ParseLine(std::string_view line);

struct ReadSpell {
    std::unique_ptr<tSpell> spell;
    long long line;
};

void ReadSpellLines(LineReader& reader, TSpellBook& book) {
    std::vector<ReadSpell> spells;
    do {
        ParsedLine parsed = ParseLine(reader.ReadLine());
        if (parsed.spell)
            spells.push_back({std::move(parsed.spell), reader.LineNumber()});
        else if (!parsed.leftOut.empty())
            reader.Warn(reader.LineNumber(), parsed.leftOut);
    } while (!reader.AtEnd());
    // A hand-edited file may hold its spells in any order, and adding them one
    // by one walks the list for each: sorted first, each goes to the end. The
    // sort is stable, so of equal spells the first in the file is added and
    // the later ones are refused, as when they are added in file order.
    const auto before = [](const ReadSpell& a, const ReadSpell& b) {
        return CompareSpells(*a.spell, *b.spell) < 0;
    };
    if (!std::is_sorted(spells.begin(), spells.end(), before))
        std::stable_sort(spells.begin(), spells.end(), before);
    const tSpell* kept = nullptr; // the spell added last, from line keptLine
    long long keptLine = 0;
    for (ReadSpell& read : spells) {
        const tSpell* spell = read.spell.get();
        if (book.AddSpell(read.spell)) {
            kept = spell;
            keptLine = read.line;
        } else if (kept) { // it repeats the level and name of the spell added before it
            reader.Warn(read.line, "spell \"" + spell->Name + "\" of level " +
                                       std::to_string(spell->Level) + " repeats \"" + kept->Name +
                                       "\" of line " + std::to_string(keptLine) + "; left out");
        }
    }
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

ParsedLine ParseLine(std::string_view line) {
    FieldScanner scanner(line);
    auto spell = std::make_unique<tSpell>();
    std::string_view field;
    for (int index = 1; index <= 6 && scanner.Next(field); ++index) {
        switch (index) {
        case 1:
            if (const auto level = ParseNumberField(field))
                spell->Level = *level;
            else
                return {nullptr, "\"" + std::string(field) + "\" is not a spell level; left out"};
            break;
        case 2:
            spell->Name = field;
            break;
        case 3:
            spell->Book = field;
            break;
        case 4:
            spell->Page = NumberOrZero(field);
            break;
        case 5:
            if (!field.empty()) spell->Frequency = FrequencyFromLetter(field[0]);
            break;
        case 6:
            spell->Category = field;
            break;
        }
        if (index == 1 && (spell->Level < MinSpellLevel || spell->Level > MaxSpellLevel))
            return {nullptr, "spell level " + std::to_string(spell->Level) + " is not from " +
                                 std::to_string(MinSpellLevel) + " to " +
                                 std::to_string(MaxSpellLevel) + "; left out"};
    }
    if (spell->Level < MinSpellLevel) return {}; // a blank line
    if (spell->Name.empty())
        return {nullptr,
                "a spell of level " + std::to_string(spell->Level) + " without a name; left out"};
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
    ReadSpellLines(reader, *book);
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
    std::optional<std::string> refused =
        HeaderNumber(reader, "caster level", MinCasterLevel, MaxCasterLevel, book->CasterLevel);
    if (!refused)
        refused = HeaderNumber(reader, "Intelligence", MinIntelligence, MaxIntelligence,
                               book->Intelligence);
    if (reader.Failed()) return reader.Status();
    if (refused) return FileStatus(FileFailure::NotASpellFile, *refused);
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
