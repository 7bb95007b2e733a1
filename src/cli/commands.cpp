#include "cli/commands.h"

#include "cli/desktop_program.h"
#include "cli/suggestion.h"
#include "files/fields.h"
#include "files/line_reader.h"
#include "files/specialty_file.h"
#include "files/spell_file.h"
#include "library/spell_library.h"
#include "model/code_page.h"
#include "model/generalist.h"
#include "model/text.h"
#include "output/item_text.h"
#include "output/output_format_options.h"
#include "output/spell_card_text.h"
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
#include <cstdio>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace vellumar::cli {

namespace {

// A file that could not be read or written, named with the reason.
Outcome Fail(const std::string& what, const std::string& path, const FileStatus& status) {
    return Outcome::FileError(what + " '" + path + "': " + status.Reason());
}

using BookResult = Result<std::unique_ptr<TSpellBook>>;
using LibraryResult = Result<std::unique_ptr<SpellLibrary>>;

// The text of the warnings: the files' own code page, or UTF-8 (those of the
// spell texts, a JSON file, quote it as it stands).
enum class WarningText { CodePage, Utf8 };

// What a reader left out or changed (or a writer could not keep), a warning a
// line, naming the file.
void WarnOfLines(Session& session, const std::string& shown,
                 const std::vector<std::string>& warnings,
                 WarningText text = WarningText::CodePage) {
    for (const std::string& warning : warnings)
        session.Warn(shown + ": " +
                     (text == WarningText::Utf8 ? EscapedUtf8(warning) : session.Shown(warning)));
}

// `shown` names the file as the user gave it ("-" for standard input).
BookResult ReadBook(const std::string& path, const std::string& shown, Session& session) {
    auto book = ReadSpellbookFile(path);
    if (!book) return Fail("cannot read spellbook", shown, book.Status());
    WarnOfLines(session, shown, book.Warnings());
    return book.Take();
}

// A save of the master list and its texts that was cut short is finished
// before either is read, so that the two match; one that cannot be is said.
void WarnUnfinished(const FileStatus& finished, const std::string& shown, Session& session) {
    if (!finished)
        session.Warn(shown + ": an interrupted save could not be finished: " + finished.Reason());
}

void FinishInterruptedSave(const std::string& path, const std::string& shown, Session& session) {
    WarnUnfinished(SpellLibrary::FinishSave(path), shown, session);
}

// The list alone: nothing here needs its texts.
LibraryResult ReadMaster(const std::string& path, const std::string& shown, Session& session) {
    auto library = std::make_unique<SpellLibrary>();
    const LibraryLoad loaded = library->LoadFrom(path, TextsRead::Later);
    WarnUnfinished(loaded.finished, shown, session);
    if (!loaded.list) return Fail("cannot read master list", shown, loaded.list);
    WarnOfLines(session, shown, loaded.list.Warnings());
    return library;
}

Result<std::unique_ptr<tSpecialtyList>> Specialties(const Arguments& args, Session& session) {
    const auto path = args.Value("--specialties");
    if (!path) return BuiltInSpecialties();
    const Result<std::string> input = session.files.Input(*path);
    if (!input) return input.Failure();
    auto table = ReadSpecialtyFile(*input);
    if (!table) return Fail("cannot read specialty file", *path, table.Status());
    WarnOfLines(session, *path, table.Warnings());
    return table.Take();
}

// A write's outcome: its failure, or success with what it could not keep
// (the owner, a hard link, ...) said as warnings naming the file.
Outcome Written(const FileStatus& written, const std::string& shown, Session& session) {
    if (!written) return Fail("cannot write", shown, written);
    WarnOfLines(session, shown, written.Warnings());
    return {};
}

// The book to the file of --output, or to standard output for "-".
Outcome WriteBookTo(TSpellBook& book, const std::string& output, Session& session) {
    return session.files.Output(output, [&](const std::string& path) {
        return Written(WriteSpellbookFile(book, path), output, session);
    });
}

const char* FrequencyName(int32_t code) {
    if (code < FrequencyRestricted || code > FrequencyCommon) return "?";
    return FrequencyNames[FrequencyEntry(code)];
}

// A name (a to z folded, so "very rare" is accepted too) or the letter the
// files use: C, U, R, V or S.
Result<int32_t> FrequencyOption(const Arguments& args, int32_t fallback) {
    const auto name = args.Value("--frequency");
    if (!name) return fallback;
    if (const auto code = FrequencyNamed(*name)) return *code;
    const auto commonFirst = FrequencyNamesCommonFirst();
    const std::vector<std::string> names(commonFirst.begin(), commonFirst.end());
    return Outcome::UsageError("--frequency must be one of Common, Uncommon, Rare, Very Rare, "
                               "Restricted (or C, U, R, V, S), not '" +
                               *name + "'" + DidYouMean(*name, names));
}

// The specialty as the table names it; a name that differs only in the case
// of any letter is taken as the table's. An unknown name would fill the book as if it had no
// specialty, so it is refused.
Result<std::string> SpecialtyOption(const std::string& typed, Session& session,
                                    tSpecialtyList& table) {
    const std::string stored = session.Stored("--specialty", typed);
    const std::vector<std::string> known = table.OfferedSpecialties();
    for (const std::string& name : known)
        if (name == stored) return name;
    for (const std::string& name : known)
        if (SameTextForUser(name, stored)) return name;
    std::string list;
    for (const std::string& name : known) list += (list.empty() ? "" : ", ") + session.Shown(name);
    // Nearest as stored, so that every letter's case folds; then as the terminal shows it.
    return Outcome::UsageError("--specialty '" + typed + "' is not a known specialty" +
                               session.Shown(DidYouMean(stored, known)) +
                               "; the specialties are: " + list);
}

struct MasterPath {
    std::string path;  // to read
    std::string shown; // as the user gave it
};

// The file of the master list named by --master, or of the one the desktop
// program would load, which standard error names.
Result<MasterPath> LocateMaster(const Arguments& args, Session& session) {
    std::string path;
    if (const auto master = args.Value("--master")) {
        const Result<std::string> input = session.files.Input(*master);
        if (!input) return input.Failure();
        path = *input;
    } else {
        // Without creating the settings folder: reading needs none.
        const ProgramSettings settings =
            ProgramSettings::In(SettingsFolder(CurrentFolderEnvironment()));
        if (const std::string warning = settings.NotReadWarning(); !warning.empty())
            session.Warn(warning);
        const MasterFileChoice choice = SpellLibrary(&settings).Locate();
        path = choice.path;
        session.err << "vellumar-cli: master list '" << path << "' ("
                    << (choice.fromSetting ? std::string("the ") + ProgramSettings::MasterFileKey +
                                                 " setting in '" + choice.settingsFile + "'"
                        : choice.inProgramFolder ? std::string("the sample list of the program")
                                                 : std::string("the default name in the working "
                                                               "folder"))
                    << ")\n";
    }
    return MasterPath{path, args.Value("--master").value_or(path)};
}

// The master list named by --master, or the one the desktop program would load.
LibraryResult MasterOption(const Arguments& args, Session& session) {
    const Result<MasterPath> located = LocateMaster(args, session);
    if (!located) return located.Failure();
    LibraryResult master = ReadMaster(located->path, located->shown, session);
    if (master && (*master)->List()->Count() == 0)
        return Outcome::FileError("master list '" + located->shown + "' holds no spell");
    return master;
}

// Whether the file has a spellbook's header, the rule the reader follows:
// without one it is a spell list, the kind the master list is.
bool HasBookHeader(const std::string& path) {
    LineReader reader(path);
    return reader.IsOpen() && NumberOrZero(reader.ReadLine()) != 0;
}

// The file whose companion holds the spell texts.
struct TextsSource {
    std::string path;  // to read; empty for a list from standard input, which has none
    std::string shown; // as the user gave it
};

// The master list whose companion file holds the spell texts: --master; else
// the operand itself when it is a spell list (a master list and its texts),
// or a book with a companion beside it; else the master list the desktop
// program uses. A list's texts never come from another list.
Result<TextsSource> TextsMaster(const Arguments& args, const std::string& readPath,
                                Session& session) {
    if (const auto master = args.Value("--master")) {
        FileStatus opened;
        std::FILE* file = OpenRegularFile(*master, opened);
        if (!file) return Fail("cannot read master list", *master, opened);
        std::fclose(file);
        return TextsSource{*master, *master};
    }
    const std::string& operand = *args.Operand();
    const bool list = !HasBookHeader(readPath);
    struct stat companion {};
    if (operand != "-" &&
        (list || lstat(SpellLibrary::TextsPathOf(operand).c_str(), &companion) == 0))
        return TextsSource{operand, operand};
    if (list) {
        session.Warn("no spell texts: a spell list on standard input has none beside it; "
                     "--master FILE names a master list whose texts count");
        return TextsSource{};
    }
    const Result<MasterPath> located = LocateMaster(args, session);
    if (!located) return located.Failure();
    return TextsSource{located->path, located->shown};
}

Outcome TextsFailure(const std::string& shown, const std::string& reason) {
    return Outcome::FileError("cannot read spell texts '" + shown + "': " + EscapedUtf8(reason));
}

// Whether the master list's companion is there to read. One that is not there
// is said, and gives no cards; one that cannot be opened, a link that leads
// nowhere among them, fails, named.
Result<bool> CompanionThere(const TextsSource& source, Session& session) {
    if (source.path.empty()) return false;
    const std::string path = SpellLibrary::TextsPathOf(source.path);
    const std::string shown = SpellLibrary::TextsPathOf(source.shown);
    FileStatus opened;
    if (std::FILE* file = OpenRegularFile(path, opened)) {
        std::fclose(file);
        return true;
    }
    if (!opened.Missing()) return TextsFailure(shown, opened.Reason());
    struct stat link {};
    if (lstat(path.c_str(), &link) == 0)
        return TextsFailure(shown, "a symbolic link to a file that is not there");
    session.Warn("no spell texts: '" + shown + "' is not there");
    return false;
}

// The master list's spell texts; none when it has no companion file.
LibraryResult TextsOption(const Arguments& args, const std::string& readPath, Session& session) {
    const Result<TextsSource> source = TextsMaster(args, readPath, session);
    if (!source) return source.Failure();
    auto library = std::make_unique<SpellLibrary>();
    if (source->path.empty()) return library;
    const LibraryLoad loaded = library->LoadTexts(source->path);
    WarnUnfinished(loaded.finished, source->shown, session);
    const Result<bool> there = CompanionThere(*source, session);
    if (!there) return there.Failure();
    if (!*there) return library;
    const std::string shown = SpellLibrary::TextsPathOf(source->shown);
    if (!loaded.texts) return TextsFailure(shown, loaded.texts.Reason());
    WarnOfLines(session, shown, loaded.texts.Warnings(), WarningText::Utf8);
    return library;
}

// --master names where the texts come from, and nothing else here: a file,
// since they lie beside it.
Outcome MasterForTexts(const Arguments& args, bool texts) {
    const auto master = args.Value("--master");
    if (master && !texts) return Outcome::UsageError("--master goes with --texts");
    if (master && *master == "-")
        return Outcome::UsageError("--master cannot be - (standard input): the spell texts are "
                                   "read from the file beside the master list");
    return {};
}

// `readPath`, when given, gets the path read (a copy of standard input for "-").
BookResult BookOperand(const Arguments& args, Session& session, std::string* readPath = nullptr) {
    const std::string& operand = *args.Operand();
    const Result<std::string> input = session.files.Input(operand);
    if (!input) return input.Failure();
    if (readPath) *readPath = *input;
    return ReadBook(*input, operand, session);
}

// Text: converted for the terminal unless the exact bytes of the files are asked for.
Result<bool> ShowsFileBytes(const Arguments& args) {
    const auto encoding = args.Value("--encoding");
    if (!encoding) return false;
    if (CompareTextNoCase(*encoding, "windows-1252") == 0) return true;
    if (CompareTextNoCase(*encoding, "utf-8") == 0) return false;
    return Outcome::UsageError("--encoding must be windows-1252 or utf-8, not '" + *encoding + "'" +
                               DidYouMean(*encoding, {"windows-1252", "utf-8"}));
}

// The output format options, read as the desktop program reads them; a value
// they cannot take is a usage error worded as every range of this tool is.
Result<FormatOptions> FormatOptionsOf(const Arguments& args) {
    const FormatOptionsRead read =
        ReadFormatOptions([&args](std::string_view name) { return args.Value(std::string(name)); });
    if (!read)
        return Outcome::UsageError(read.badOption + " must be a whole number from " +
                                   std::to_string(MinColumns) + " to " +
                                   std::to_string(MaxColumns) + ", not '" + read.badValue + "'");
    return read.options;
}

} // namespace

Outcome Text(const Arguments& args, Session& session) {
    const Result<FormatOptions> options = FormatOptionsOf(args);
    if (!options) return options.Failure();
    const Result<bool> fileBytes = ShowsFileBytes(args);
    if (!fileBytes) return fileBytes.Failure();
    if (Outcome master = MasterForTexts(args, options->format.IncludeSpellTexts); !master)
        return master;
    const std::string path = *args.Operand();
    const std::string caption = session.Stored("--caption", options->caption.value_or(path));
    std::string readPath;
    const BookResult book = BookOperand(args, session, &readPath);
    if (!book) return book.Failure();
    std::unique_ptr<SpellLibrary> library;
    if (options->format.IncludeSpellTexts) {
        LibraryResult read = TextsOption(args, readPath, session);
        if (!read) return read.Failure();
        library = std::move(*read);
    }
    const std::string text = JoinWithCrLf(BuildSpellbookText(
        **book, caption, options->format, library ? &library->Texts() : nullptr));
    session.out << (*fileBytes ? text : session.Shown(text));
    return {};
}

// The card of every spell of the file with that name (every letter's case
// folded), UTF-8, a blank line between two.
Outcome Show(const Arguments& args, Session& session) {
    const std::string& typed = *args.TextOperand();
    const std::string name = session.Stored("NAME", typed);
    if (Outcome master = MasterForTexts(args, true); !master) return master;
    // The operand may be a master list beside its texts.
    if (*args.Operand() != "-") FinishInterruptedSave(*args.Operand(), *args.Operand(), session);
    std::string readPath;
    const BookResult read = BookOperand(args, session, &readPath);
    if (!read) return read.Failure();
    TSpellBook& book = **read;
    std::vector<const tSpell*> found;
    std::vector<std::string> names;
    for (int32_t level = MinSpellLevel; level <= MaxSpellLevel; ++level) {
        for (int32_t i = 0; i < book.CountOfLevel(level); ++i) {
            const tSpell* spell = book.SpellAt(level, i);
            if (!spell) break;
            names.push_back(spell->Name);
            if (SameTextForUser(spell->Name, name)) found.push_back(spell);
        }
    }
    if (found.empty())
        return Outcome::FileError("no spell named '" + typed + "' in '" + *args.Operand() + "'" +
                                  session.Shown(DidYouMean(name, names)));
    const LibraryResult library = TextsOption(args, readPath, session);
    if (!library) return library.Failure();
    const SpellTexts& texts = (*library)->Texts();
    bool shown = false;
    for (const tSpell* spell : found) {
        const SpellText* text = texts.Find(spell->Level, spell->Name);
        if (!text) continue;
        if (shown) session.out << '\n';
        for (const std::string& line :
             CardTextLines(MakeSpellCard(spell->Level, spell->Name, *text)))
            session.out << line << '\n';
        shown = true;
    }
    if (!shown)
        return Outcome::FileError("spell '" + session.Shown(found.front()->Name) +
                                  "' has no rules text");
    return {};
}

Outcome Info(const Arguments& args, Session& session) {
    const BookResult read = BookOperand(args, session);
    if (!read) return read.Failure();
    const TSpellBook& book = **read;
    if (book.Count() == 0) session.Warn("'" + *args.Operand() + "' holds no spell");
    session.out << "Caster Level: " << book.CasterLevel << '\n'
                << "Intelligence: " << book.Intelligence << '\n'
                << "Specialty: " << session.Shown(book.Specialty) << '\n'
                << "Spell Frequency: " << FrequencyName(book.SpellFrequency) << '\n';
    for (int level = MinSpellLevel; level <= MaxSpellLevel; ++level)
        session.out << "Level " << level << ": " << book.LevelCount[level] << '\n';
    return {};
}

namespace {

// A spellbook's header may hold a caster level or Intelligence outside the
// caster tables (the reader warns of it): filling such a book would add
// nothing, and validating it would take every spell away, so it is refused.
// `options` says how fill may be given other values.
Outcome CasterInTables(const TSpellBook& book, const std::string& command, const std::string& shown,
                       bool options) {
    const auto outside = [&](const char* field, int32_t value, int32_t low, int32_t high,
                             const char* option) {
        return Outcome::FileError("cannot " + command + " '" + shown + "': its " + field + " " +
                                  std::to_string(value) + " is not from " + std::to_string(low) +
                                  " to " + std::to_string(high) +
                                  (options ? std::string(" (") + option + " sets another)" : ""));
    };
    if (book.CasterLevel < MinCasterLevel || book.CasterLevel > MaxCasterLevel)
        return outside("caster level", book.CasterLevel, MinCasterLevel, MaxCasterLevel, "--level");
    if (book.Intelligence < MinIntelligence || book.Intelligence > MaxIntelligence)
        return outside("Intelligence", book.Intelligence, MinIntelligence, MaxIntelligence,
                       "--intelligence");
    return {};
}

// The odds of --odds, held to the range the odds dialog offers.
Result<std::vector<int32_t>> OddsOption(const Arguments& args) {
    Result<std::vector<int32_t>> odds = args.IntegerList("--odds", DefaultFrequencyOdds.size());
    if (!odds) return odds;
    for (int32_t value : *odds)
        if (value < 1 || value > 32767)
            return Outcome::UsageError("--odds must hold whole numbers from 1 to 32767, not '" +
                                       *args.Value("--odds") + "'");
    return odds;
}

} // namespace

Outcome Fill(const Arguments& args, Session& session) {
    // Every option is checked before any file is touched, the specialty as
    // soon as the table that names it is read.
    const Result<std::string> output = args.Required("--output");
    if (!output) return output.Failure();
    const bool hasBook = args.Operand().has_value();
    const Result<int32_t> level =
        args.IntegerIn("--level", MinCasterLevel, MaxCasterLevel, MinCasterLevel);
    if (!level) return level.Failure();
    const Result<int32_t> intelligence =
        args.IntegerIn("--intelligence", MinIntelligence, MaxIntelligence, MinIntelligence);
    if (!intelligence) return intelligence.Failure();
    const Result<int32_t> frequency = FrequencyOption(args, FrequencyCommon);
    if (!frequency) return frequency.Failure();
    FrequencyOddsTable odds = DefaultFrequencyOdds;
    if (args.Has("--odds")) {
        const Result<std::vector<int32_t>> given = OddsOption(args);
        if (!given) return given.Failure();
        std::copy(given->begin(), given->end(), odds.begin());
    }
    const Result<std::optional<uint32_t>> seed = args.Seed();
    if (!seed) return seed.Failure();
    const Result<std::unique_ptr<tSpecialtyList>> table = Specialties(args, session);
    if (!table) return table.Failure();
    std::optional<std::string> specialty;
    if (const auto typed = args.Value("--specialty")) {
        Result<std::string> known = SpecialtyOption(*typed, session, **table);
        if (!known) return known.Failure();
        specialty = std::move(*known);
    }

    BookResult read = hasBook ? BookOperand(args, session)
                              : BookResult(std::make_unique<TSpellBook>(
                                    MinCasterLevel, MinIntelligence, FrequencyCommon, Generalist));
    if (!read) return read.Failure();
    TSpellBook& book = **read;
    if (args.Has("--level")) book.CasterLevel = *level;
    if (args.Has("--intelligence")) book.Intelligence = *intelligence;
    if (args.Has("--frequency")) book.SpellFrequency = *frequency;
    if (specialty) book.Specialty = *specialty;
    if (Outcome usable = hasBook ? CasterInTables(book, "fill", *args.Operand(), true) : Outcome();
        !usable)
        return usable;
    const LibraryResult master = MasterOption(args, session);
    if (!master) return master.Failure();

    SeedRandom(*seed);
    FillSpellbook(&book, (*master)->List(), table->get(), odds);
    return WriteBookTo(book, *output, session);
}

Outcome Validate(const Arguments& args, Session& session) {
    const Result<std::string> output = args.Required("--output");
    if (!output) return output.Failure();
    const BookResult book = BookOperand(args, session);
    if (!book) return book.Failure();
    if (Outcome usable = CasterInTables(**book, "validate", *args.Operand(), false); !usable)
        return usable;
    const Result<std::unique_ptr<tSpecialtyList>> table = Specialties(args, session);
    if (!table) return table.Failure();
    // Beside a book written to standard output, the list goes to standard error.
    std::ostream& list = IsStandardOutput(*output) ? session.err : session.out;
    ValidateBook(**book, table->get(),
                 [&](const tSpell& spell) { list << session.Shown(SpellItemRow(spell)) << '\n'; });
    return WriteBookTo(**book, *output, session);
}

Outcome Scroll(const Arguments& args, Session& session) {
    const Result<std::vector<int32_t>> counts = args.IntegerList("--counts", 9);
    if (!counts) return counts.Failure();
    for (int32_t count : *counts)
        if (count < 0)
            return Outcome::UsageError("--counts must hold whole numbers of 0 or more, not '" +
                                       *args.Value("--counts") + "'");
    const Result<std::string> output = args.Required("--output");
    if (!output) return output.Failure();
    const Result<std::optional<uint32_t>> seed = args.Seed();
    if (!seed) return seed.Failure();
    const BookResult source = BookOperand(args, session);
    if (!source) return source.Failure();
    std::array<int32_t, 9> levels{};
    std::copy(counts->begin(), counts->end(), levels.begin());
    for (int32_t level = MinSpellLevel; level <= MaxSpellLevel; ++level) {
        const int32_t asked = levels[static_cast<size_t>(level - 1)];
        const int32_t held = (*source)->LevelCount[level];
        if (asked > held)
            session.Warn("level " + std::to_string(level) + " of the book holds " +
                         std::to_string(held) + (held == 1 ? " spell" : " spells") +
                         ": the scroll takes " + std::to_string(held) + ", not " +
                         std::to_string(asked));
    }
    SeedRandom(*seed);
    auto scroll = DrawScroll(**source, levels);
    return WriteBookTo(*scroll, *output, session);
}

Outcome Export(const Arguments& args, Session& session) {
    const Result<std::string> output = args.Required("--output");
    if (!output) return output.Failure();
    const BookResult book = BookOperand(args, session);
    if (!book) return book.Failure();
    return session.files.Output(*output, [&](const std::string& path) {
        return Written(WriteSpellList(**book, path), *output, session);
    });
}

// PDF needs Qt's painting, which this tool leaves to the desktop program.
Outcome Pdf(const Arguments& args, Session& session) {
    const Result<std::string> output = args.Required("--output");
    if (!output) return output.Failure();
    Result<FormatOptions> options = FormatOptionsOf(args);
    if (!options) return options.Failure();
    if (Outcome master = MasterForTexts(args, options->format.IncludeSpellTexts); !master)
        return master;
    const std::string& book = *args.Operand();
    // The desktop program stores the caption as text does; this warns of what it loses.
    session.Stored("--caption", options->caption.value_or(book));
    const Result<std::string> input = session.files.Input(book);
    if (!input) return input.Failure();
    // A book from standard input is headed "-", as text heads it.
    if (book == "-" && !options->caption) options->caption = book;
    // The desktop program reads the texts of the master list found here; a
    // list on standard input has none, and its copy none beside it either.
    std::optional<std::string> master;
    if (options->format.IncludeSpellTexts) {
        const Result<TextsSource> source = TextsMaster(args, *input, session);
        if (!source) return source.Failure();
        const Result<bool> there = CompanionThere(*source, session);
        if (!there) return there.Failure();
        master = source->path.empty() ? *input : source->path;
    }
    return session.files.Output(*output, [&](const std::string& path) {
        std::vector<std::string> words = {"--export-pdf=" + *input, "--output=" + path};
        if (master) words.push_back("--master=" + *master);
        for (std::string& word : FormatOptionWords(*options)) words.push_back(std::move(word));
        return RunDesktopProgram(words);
    });
}

} // namespace vellumar::cli
