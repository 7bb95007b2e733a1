#include "cli/commands.h"

#include "cli/desktop_program.h"
#include "cli/suggestion.h"
#include "files/specialty_file.h"
#include "files/spell_file.h"
#include "model/generalist.h"
#include "model/text.h"
#include "output/item_text.h"
#include "output/spellbook_text.h"
#include "platform/program_folder.h"
#include "platform/program_settings.h"
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
#include <string>
#include <vector>

namespace vellumar::cli {

namespace {

// A file that could not be read or written, named with the reason.
[[noreturn]] void Fail(const std::string& what, const std::string& path, const FileStatus& status) {
    throw FileError(what + " '" + path + "': " + status.Reason());
}

// `shown` names the file as the user gave it ("-" for standard input).
std::unique_ptr<TSpellBook> ReadBook(const std::string& path, const std::string& shown) {
    auto book = ReadSpellbookFile(path);
    if (!book) Fail("cannot read spellbook", shown, book.Status());
    return book.Take();
}

std::unique_ptr<TSpellBook> ReadMaster(const std::string& path, const std::string& shown) {
    auto master = ReadSpellList(path);
    if (!master) Fail("cannot read master list", shown, master.Status());
    return master.Take();
}

std::unique_ptr<tSpecialtyList> Specialties(const Arguments& args, Session& session) {
    const auto path = args.Value("--specialties");
    if (!path) return BuiltInSpecialties();
    auto table = ReadSpecialtyFile(session.files.Input(*path));
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
    return FrequencyNames[FrequencyEntry(code)];
}

// A name (a to z folded, so "very rare" is accepted too) or the letter the
// files use: C, U, R, V or S.
int32_t FrequencyOption(const Arguments& args, int32_t fallback) {
    const auto name = args.Value("--frequency");
    if (!name) return fallback;
    if (const auto code = FrequencyNamed(*name)) return *code;
    const auto commonFirst = FrequencyNamesCommonFirst();
    const std::vector<std::string> names(commonFirst.begin(), commonFirst.end());
    throw UsageError("--frequency must be one of Common, Uncommon, Rare, Very Rare, "
                     "Restricted (or C, U, R, V, S), not '" +
                     *name + "'" + DidYouMean(*name, names));
}

// The specialty as the table names it; a name that differs only in case is
// taken as the table's. An unknown name would fill the book as if it had no
// specialty, so it is refused.
std::string SpecialtyOption(const std::string& typed, Session& session, tSpecialtyList& table) {
    const std::string stored = session.Stored("--specialty", typed);
    const std::vector<std::string> known = table.OfferedSpecialties();
    for (const std::string& name : known)
        if (name == stored) return name;
    for (const std::string& name : known)
        if (CompareTextNoCase(name, stored) == 0) return name;
    std::string list;
    std::vector<std::string> shown;
    for (const std::string& name : known) {
        shown.push_back(session.Shown(name));
        list += (list.empty() ? "" : ", ") + shown.back();
    }
    throw UsageError("--specialty '" + typed + "' is not a known specialty" +
                     DidYouMean(typed, shown) + "; the specialties are: " + list);
}

// The master list named by --master, or the one the desktop program would load.
std::unique_ptr<TSpellBook> MasterOption(const Arguments& args, Session& session) {
    std::string path;
    if (const auto master = args.Value("--master")) {
        path = session.files.Input(*master);
    } else {
        // Without creating the settings folder: reading needs none.
        const MasterFileChoice choice =
            ProgramSettings::In(SettingsFolder(CurrentFolderEnvironment())).LocateMasterFile();
        path = choice.path;
        session.err << "vellumar-cli: master list '" << path << "' ("
                    << (choice.fromSetting ? std::string("the ") + ProgramSettings::MasterFileKey +
                                                 " setting in '" + choice.settingsFile + "'"
                        : choice.inProgramFolder ? std::string("the sample list of the program")
                                                 : std::string("the default name in the working "
                                                               "folder"))
                    << ")\n";
    }
    const std::string shown = args.Value("--master").value_or(path);
    auto master = ReadMaster(path, shown);
    if (master->Count() == 0) throw FileError("master list '" + shown + "' holds no spell");
    return master;
}

std::unique_ptr<TSpellBook> BookOperand(const Arguments& args, Session& session) {
    const std::string& operand = *args.Operand();
    return ReadBook(session.files.Input(operand), operand);
}

// Text: converted for the terminal unless the exact bytes of the files are asked for.
bool ShowsFileBytes(const Arguments& args) {
    const auto encoding = args.Value("--encoding");
    if (!encoding) return false;
    if (CompareTextNoCase(*encoding, "windows-1252") == 0) return true;
    if (CompareTextNoCase(*encoding, "utf-8") == 0) return false;
    throw UsageError("--encoding must be windows-1252 or utf-8, not '" + *encoding + "'" +
                     DidYouMean(*encoding, {"windows-1252", "utf-8"}));
}

int Text(const Arguments& args, Session& session) {
    OutputFormat format;
    format.Columns = args.IntegerIn("--columns", 0, 4, 0);
    format.IncludeCategory = args.Has("--category");
    format.IncludeBookPage = !args.Has("--no-book-page");
    format.IncludeFrequency = args.Has("--frequency");
    const bool fileBytes = ShowsFileBytes(args);
    const std::string path = *args.Operand();
    const std::string caption = session.Stored("--caption", args.Value("--caption").value_or(path));
    auto book = BookOperand(args, session);
    const std::string text = JoinWithCrLf(BuildSpellbookText(*book, caption, format));
    session.out << (fileBytes ? text : session.Shown(text));
    return 0;
}

int Info(const Arguments& args, Session& session) {
    auto book = BookOperand(args, session);
    if (book->Count() == 0) session.Warn("'" + *args.Operand() + "' holds no spell");
    session.out << "Caster Level: " << book->CasterLevel << '\n'
                << "Intelligence: " << book->Intelligence << '\n'
                << "Specialty: " << session.Shown(book->Specialty) << '\n'
                << "Spell Frequency: " << FrequencyName(book->SpellFrequency) << '\n';
    for (int level = MinSpellLevel; level <= MaxSpellLevel; ++level)
        session.out << "Level " << level << ": " << book->LevelCount[level] << '\n';
    return 0;
}

int Fill(const Arguments& args, Session& session) {
    // Every option is checked before any file is touched, the specialty as
    // soon as the table that names it is read.
    const std::string output = args.Required("--output");
    const bool hasBook = args.Operand().has_value();
    const int32_t level = args.IntegerIn("--level", MinCasterLevel, MaxCasterLevel, MinCasterLevel);
    const int32_t intelligence =
        args.IntegerIn("--intelligence", MinIntelligence, MaxIntelligence, MinIntelligence);
    const int32_t frequency = FrequencyOption(args, FrequencyCommon);
    FrequencyOddsTable odds = DefaultFrequencyOdds;
    if (args.Has("--odds")) {
        const auto given = args.IntegerList("--odds", odds.size());
        for (int32_t value : given)
            if (value < 1 || value > 32767)
                throw UsageError("--odds must hold whole numbers from 1 to 32767, not '" +
                                 *args.Value("--odds") + "'");
        std::copy(given.begin(), given.end(), odds.begin());
    }
    const auto seed = args.Seed();
    auto table = Specialties(args, session);
    std::optional<std::string> specialty;
    if (const auto typed = args.Value("--specialty"))
        specialty = SpecialtyOption(*typed, session, *table);

    auto book = hasBook ? BookOperand(args, session)
                        : std::make_unique<TSpellBook>(MinCasterLevel, MinIntelligence,
                                                       FrequencyCommon, Generalist);
    if (args.Has("--level")) book->CasterLevel = level;
    if (args.Has("--intelligence")) book->Intelligence = intelligence;
    if (args.Has("--frequency")) book->SpellFrequency = frequency;
    if (specialty) book->Specialty = *specialty;
    auto master = MasterOption(args, session);

    SeedGenerator(seed);
    FillSpellbook(book.get(), master.get(), table.get(), odds);
    session.files.Output(output, [&](const std::string& path) { WriteBook(*book, path); });
    return 0;
}

int Validate(const Arguments& args, Session& session) {
    const std::string output = args.Required("--output");
    auto book = BookOperand(args, session);
    auto table = Specialties(args, session);
    ValidateBook(*book, table.get(), [&](const tSpell& spell) {
        session.out << session.Shown(SpellItemRow(spell)) << '\n';
    });
    session.files.Output(output, [&](const std::string& path) { WriteBook(*book, path); });
    return 0;
}

int Scroll(const Arguments& args, Session& session) {
    const auto counts = args.IntegerList("--counts", 9);
    for (int32_t count : counts)
        if (count < 0)
            throw UsageError("--counts must hold whole numbers of 0 or more, not '" +
                             *args.Value("--counts") + "'");
    const std::string output = args.Required("--output");
    const auto seed = args.Seed();
    auto source = BookOperand(args, session);
    std::array<int32_t, 9> levels{};
    std::copy(counts.begin(), counts.end(), levels.begin());
    for (int32_t level = MinSpellLevel; level <= MaxSpellLevel; ++level) {
        const int32_t asked = levels[static_cast<size_t>(level - 1)];
        const int32_t held = source->LevelCount[level];
        if (asked > held)
            session.Warn("level " + std::to_string(level) + " of the book holds " +
                         std::to_string(held) + (held == 1 ? " spell" : " spells") +
                         ": the scroll takes " + std::to_string(held) + ", not " +
                         std::to_string(asked));
    }
    SeedGenerator(seed);
    auto scroll = DrawScroll(*source, levels);
    session.files.Output(output, [&](const std::string& path) { WriteBook(*scroll, path); });
    return 0;
}

int Export(const Arguments& args, Session& session) {
    const std::string output = args.Required("--output");
    auto book = BookOperand(args, session);
    session.files.Output(output, [&](const std::string& path) {
        if (const FileStatus written = WriteSpellList(*book, path); !written)
            Fail("cannot write", output, written);
    });
    return 0;
}

// PDF needs Qt's painting, which this tool leaves to the desktop program.
int Pdf(const Arguments& args, Session&) {
    const std::string output = args.Required("--output");
    const std::string& book = *args.Operand();
    if (book == "-" || output == "-")
        throw UsageError("pdf reads and writes named files, not standard input or output");
    std::vector<std::string> words = {"--export-pdf=" + book, "--output=" + output};
    if (args.Has("--columns"))
        words.push_back("--columns=" + std::to_string(args.IntegerIn("--columns", 0, 4, 0)));
    for (const char* flag : {"--category", "--no-book-page", "--frequency"})
        if (args.Has(flag)) words.emplace_back(flag);
    if (const auto caption = args.Value("--caption")) words.push_back("--caption=" + *caption);
    return RunDesktopProgram(words);
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
           {"--caption", true},
           {"--encoding", true}}},
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
        {{"pdf",
          "BOOK",
          true,
          {{"--output", true},
           {"--columns", true},
           {"--category", false},
           {"--no-book-page", false},
           {"--frequency", false},
           {"--caption", true}}},
         Pdf},
    };
    return commands;
}

void PrintUsage(std::ostream& out) {
    out << "Usage: vellumar-cli COMMAND ...\n"
           "\n"
           "  text BOOK [--columns 0-4] [--category] [--no-book-page] [--frequency]\n"
           "            [--caption TEXT] [--encoding windows-1252|utf-8]\n"
           "      Prints the book as Copy to Clipboard gives it (lines end in CR LF).\n"
           "  info BOOK\n"
           "      Prints the caster's parameters and the number of spells of each level.\n"
           "  fill [BOOK] --output OUT [--master FILE] [--level 1-30] [--intelligence 9-21]\n"
           "            [--specialty NAME] [--frequency NAME] [--odds R,V,RA,U,C]\n"
           "            [--specialties FILE] [--seed N]\n"
           "      Fills BOOK, or a new book (level 1, Intelligence 9, "
        << Generalist
        << ", Common),\n"
           "      at random from the master list and writes it to OUT.\n"
           "  validate BOOK --output OUT [--specialties FILE]\n"
           "      Removes the spells the book may not hold, prints them and writes OUT.\n"
           "  scroll BOOK --counts N1,...,N9 --output OUT [--seed N]\n"
           "      Draws a scroll of N1 to N9 spells of levels 1 to 9 from BOOK; a count\n"
           "      above what the book holds at that level takes all it holds.\n"
           "  export BOOK --output OUT\n"
           "      Writes the book's spells as a spell file without a header.\n"
           "  pdf BOOK --output OUT.pdf [--columns 0-4] [--category] [--no-book-page]\n"
           "            [--frequency] [--caption TEXT]\n"
           "      Writes the book's pages as the desktop program prints them into a PDF\n"
           "      file; runs the program vellumar found beside this tool, without windows.\n"
           "\n"
           "A file named - is standard input (BOOK, --master, --specialties) or standard\n"
           "output (OUT); /dev/stdout works too.\n"
           "Without --master the master list is the one the desktop program uses: the\n"
        << ProgramSettings::MasterFileKey << " setting, else " << DefaultMasterFileName
        << " in the working folder, else the sample\n"
           "list of the program. Standard error names the file.\n"
           "Frequencies: Common, Uncommon, Rare, Very Rare, Restricted, or the letters\n"
           "the files use: C, U, R, V, S.\n"
           "Specialties: "
        << Generalist
        << " and those of the table, which is the built-in one\n"
           "unless --specialties names a specialty file; case does not matter.\n"
           "The odds give one chance in N (1-32767) for each frequency, in this order:\n"
           "Restricted, Very Rare, Rare, Uncommon, Common; default 100,20,10,5,1.\n"
           "Without --seed the random generator is seeded from the clock.\n"
           "\n"
           "Text: options (--specialty, --caption) are read in the locale's encoding\n"
           "and stored as Windows-1252, the files' code page; a character it lacks\n"
           "becomes \"?\" with a warning. Printed text is converted to the locale's\n"
           "encoding; text --encoding windows-1252 prints the files' own bytes. A locale\n"
           "that is not UTF-8 passes the bytes unchanged.\n"
           "\n"
           "  -h, --help  show this text (also: vellumar-cli help)\n"
           "  --version   show the version\n"
           "  --          the words after it are operands, not options\n"
           "\n"
           "Exit status: 0 success, 1 a file cannot be read or written (standard output\n"
           "included), 2 a usage error.\n";
}

} // namespace vellumar::cli
