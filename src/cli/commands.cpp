#include "cli/commands.h"

#include "files/specialty_file.h"
#include "files/spell_file.h"
#include "model/text.h"
#include "output/item_text.h"
#include "output/spellbook_text.h"
#include "rules/caster_tables.h"
#include "rules/eligibility.h"
#include "rules/fill.h"
#include "rules/odds.h"
#include "rules/random.h"
#include "rules/scroll.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <ostream>

namespace vellumar::cli {

const char* const Version = "4.1";

namespace {

// A file that could not be read or written, named with the reason.
[[noreturn]] void Fail(const std::string& what, const std::string& path, const FileStatus& status) {
    throw FileError(what + " '" + path + "': " + status.Reason());
}

std::unique_ptr<TSpellBook> ReadBook(const std::string& path) {
    auto book = ReadSpellbookFile(path);
    if (!book) Fail("cannot read spellbook", path, book.Status());
    return book.Take();
}

std::unique_ptr<TSpellBook> ReadMaster(const std::string& path) {
    auto master = ReadSpellList(path);
    if (!master) Fail("cannot read master list", path, master.Status());
    return master.Take();
}

std::unique_ptr<tSpecialtyList> Specialties(const Arguments& args) {
    const auto path = args.Value("--specialties");
    if (!path) return BuiltInSpecialties();
    auto table = ReadSpecialtyFile(*path);
    if (!table) Fail("cannot read specialty file", *path, table.Status());
    return table.Take();
}

void WriteBook(TSpellBook& book, const std::string& path) {
    if (const FileStatus written = WriteSpellbookFile(book, path); !written)
        Fail("cannot write", path, written);
}

void SeedGenerator(std::optional<uint32_t> seed) {
    if (seed)
        SeedRandom(*seed);
    else
        SeedRandomFromClock();
}

const char* FrequencyName(int32_t code) {
    if (code < FrequencyRestricted || code > FrequencyCommon) return "?";
    return FrequencyNames[static_cast<size_t>(code + 4)];
}

// Names compare with a to z folded, so "very rare" is accepted too.
int32_t FrequencyOption(const Arguments& args, int32_t fallback) {
    const auto name = args.Value("--frequency");
    if (!name) return fallback;
    for (int32_t code = FrequencyRestricted; code <= FrequencyCommon; ++code)
        if (CompareTextNoCase(*name, FrequencyName(code)) == 0) return code;
    throw UsageError("--frequency must be one of Common, Uncommon, Rare, Very Rare, "
                     "Restricted, not '" +
                     *name + "'");
}

int Text(const Arguments& args, std::ostream& out) {
    OutputFormat format;
    format.Columns = args.IntegerIn("--columns", 0, 4, 0);
    format.IncludeCategory = args.Has("--category");
    format.IncludeBookPage = !args.Has("--no-book-page");
    format.IncludeFrequency = args.Has("--frequency");
    const std::string path = *args.Operand();
    const std::string caption = args.Value("--caption").value_or(path);
    auto book = ReadBook(path);
    out << JoinWithCrLf(BuildSpellbookText(*book, caption, format));
    return 0;
}

int Info(const Arguments& args, std::ostream& out) {
    auto book = ReadBook(*args.Operand());
    out << "Caster Level: " << book->CasterLevel << '\n'
        << "Intelligence: " << book->Intelligence << '\n'
        << "Specialty: " << book->Specialty << '\n'
        << "Spell Frequency: " << FrequencyName(book->SpellFrequency) << '\n';
    for (int level = MinSpellLevel; level <= MaxSpellLevel; ++level)
        out << "Level " << level << ": " << book->LevelCount[level] << '\n';
    return 0;
}

int Fill(const Arguments& args, std::ostream&) {
    // Every option is checked before any file is touched.
    const std::string masterPath = args.Required("--master");
    const std::string output = args.Required("--output");
    const bool hasBook = args.Operand().has_value();
    const int32_t level = args.IntegerIn("--level", MinCasterLevel, MaxCasterLevel, MinCasterLevel);
    const int32_t intelligence =
        args.IntegerIn("--intelligence", MinIntelligence, MaxIntelligence, MinIntelligence);
    const int32_t frequency = FrequencyOption(args, FrequencyCommon);
    if (args.Has("--odds")) {
        const auto odds = args.IntegerList("--odds", FrequencyOdds.size());
        for (int32_t value : odds)
            if (value < 1 || value > 32767)
                throw UsageError("--odds must hold whole numbers from 1 to 32767, not '" +
                                 *args.Value("--odds") + "'");
        std::copy(odds.begin(), odds.end(), FrequencyOdds.begin());
    }
    const auto seed = args.Seed();

    auto book = hasBook ? ReadBook(*args.Operand())
                        : std::make_unique<TSpellBook>(MinCasterLevel, MinIntelligence,
                                                       FrequencyCommon, "Generalist");
    if (args.Has("--level")) book->CasterLevel = level;
    if (args.Has("--intelligence")) book->Intelligence = intelligence;
    if (args.Has("--frequency")) book->SpellFrequency = frequency;
    if (const auto specialty = args.Value("--specialty")) book->Specialty = *specialty;
    auto table = Specialties(args);
    auto master = ReadMaster(masterPath);

    SeedGenerator(seed);
    FillSpellbook(book.get(), master.get(), table.get());
    WriteBook(*book, output);
    return 0;
}

int Validate(const Arguments& args, std::ostream& out) {
    const std::string output = args.Required("--output");
    auto book = ReadBook(*args.Operand());
    auto table = Specialties(args);
    ValidateBook(*book, table.get(),
                 [&](const tSpell& spell) { out << SpellItemRow(spell) << '\n'; });
    WriteBook(*book, output);
    return 0;
}

int Scroll(const Arguments& args, std::ostream&) {
    const auto counts = args.IntegerList("--counts", 9);
    const std::string output = args.Required("--output");
    const auto seed = args.Seed();
    auto source = ReadBook(*args.Operand());
    std::array<int32_t, 9> levels{};
    std::copy(counts.begin(), counts.end(), levels.begin());
    SeedGenerator(seed);
    auto scroll = DrawScroll(*source, levels);
    WriteBook(*scroll, output);
    return 0;
}

int Export(const Arguments& args, std::ostream&) {
    const std::string output = args.Required("--output");
    auto book = ReadBook(*args.Operand());
    if (const FileStatus written = WriteSpellList(*book, output); !written)
        Fail("cannot write", output, written);
    return 0;
}

} // namespace

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {{"text",
          "BOOK",
          true,
          {{"--columns", true},
           {"--category", false},
           {"--no-book-page", false},
           {"--frequency", false},
           {"--caption", true}}},
         Text},
        {{"info", "BOOK", true, {}}, Info},
        {{"fill",
          "BOOK",
          false,
          {{"--master", true},
           {"--output", true},
           {"--level", true},
           {"--intelligence", true},
           {"--specialty", true},
           {"--frequency", true},
           {"--odds", true},
           {"--specialties", true},
           {"--seed", true}}},
         Fill},
        {{"validate", "BOOK", true, {{"--output", true}, {"--specialties", true}}}, Validate},
        {{"scroll", "BOOK", true, {{"--counts", true}, {"--output", true}, {"--seed", true}}},
         Scroll},
        {{"export", "BOOK", true, {{"--output", true}}}, Export},
    };
    return commands;
}

void PrintUsage(std::ostream& out) {
    out << "Usage: vellumar-cli COMMAND ...\n"
           "\n"
           "  text BOOK [--columns 0-4] [--category] [--no-book-page] [--frequency]\n"
           "            [--caption TEXT]\n"
           "      Prints the book as Copy to Clipboard gives it (lines end in CR LF).\n"
           "  info BOOK\n"
           "      Prints the caster's parameters and the number of spells of each level.\n"
           "  fill [BOOK] --master FILE --output OUT [--level 1-30] [--intelligence 9-21]\n"
           "            [--specialty NAME] [--frequency NAME] [--odds R,V,Ra,U,C]\n"
           "            [--specialties FILE] [--seed N]\n"
           "      Fills BOOK, or a new book (level 1, Intelligence 9, Generalist, Common),\n"
           "      at random from the master list and writes it to OUT.\n"
           "  validate BOOK --output OUT [--specialties FILE]\n"
           "      Removes the spells the book may not hold, prints them and writes OUT.\n"
           "  scroll BOOK --counts N1,...,N9 --output OUT [--seed N]\n"
           "      Draws a scroll of N1 to N9 spells of levels 1 to 9 from BOOK.\n"
           "  export BOOK --output OUT\n"
           "      Writes the book's spells as a spell file without a header.\n"
           "\n"
           "Frequencies: Common, Uncommon, Rare, Very Rare, Restricted. The odds give one\n"
           "chance in N (1-32767) from Restricted to Common; default 100,20,10,5,1.\n"
           "Specialties are the built-in ones unless --specialties names a specialty file.\n"
           "Without --seed the random generator is seeded from the clock.\n"
           "\n"
           "  --help     show this text\n"
           "  --version  show the version\n"
           "\n"
           "Exit status: 0 success, 1 a file cannot be read or written, 2 a usage error.\n";
}

} // namespace vellumar::cli
