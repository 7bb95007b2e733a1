// End-to-end checks of vellumar-cli over small files written byte by byte.

#include "files/paired_write.h"
#include "pdf_pages.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Result {
    int code;
    std::string out;
    std::string err;
};

std::string Quote(const std::string& word) {
    std::string quoted = "'";
    for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

bool StartsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

std::string SpellLine(int level, const std::string& name, const std::string& book, int page,
                      char frequency, const std::string& category) {
    return std::to_string(level) + ",\"" + name + "\",\"" + book + "\"," + std::to_string(page) +
           ",\"" + frequency + "\",\"" + category + "\"\r\n";
}

std::string BookFile(int caster, int intelligence, const std::string& specialty, char frequency,
                     const std::string& spellLines) {
    return "4\r\n" + std::to_string(caster) + "\r\n" + std::to_string(intelligence) + "\r\n" +
           specialty + "\r\n" + frequency + "\r\n" + spellLines + " \r\n";
}

// `count` spells of each of the levels 1 to `levels`, all Common.
std::string MasterLines(int levels, int count, const std::string& category = "div") {
    std::string lines;
    for (int level = 1; level <= levels; ++level)
        for (int i = 0; i < count; ++i)
            lines += SpellLine(level, "Spell " + std::to_string(level) + "-" + std::to_string(i),
                               "Tome", i, 'C', category);
    return lines;
}

class Cli : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vellumar-cli-test-" + std::to_string(::getpid()) + "-" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    std::string Write(const std::string& name, const std::string& bytes) const {
        WriteBytes(dir_ / name, bytes);
        return Path(name);
    }

    // In the test's folder, which is also the program's folder (no settings
    // of the user's are read), in a UTF-8 locale unless `locale` says otherwise;
    // `redirect` replaces the capture of standard output, and `prefix` runs the
    // tool through another command, such as one that changes the user. Each run
    // is bounded: a tool that loops for ever is killed, and the test program
    // stops at once saying which command did not end.
    Result Run(const std::vector<std::string>& args, const std::string& locale = "C.UTF-8",
               const std::string& redirect = "", const std::string& prefix = "") const {
        std::string command = "cd " + Quote(dir_.string()) + " && LC_ALL=" + locale +
                              " VELLUMAR_HOME=" + Quote(dir_.string()) + " " + prefix +
                              "timeout -k 2 " + std::to_string(RunLimitSeconds) + " " +
                              Quote(program_);
        std::string shown = "vellumar-cli";
        for (const std::string& arg : args) {
            command += " " + Quote(arg);
            shown += " " + arg;
        }
        command += (redirect.empty() ? " >" + Quote(Path("stdout")) : " " + redirect) + " 2>" +
                   Quote(Path("stderr"));
        const int status = std::system(command.c_str());
        const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (code == TimedOut || code == Killed) {
            ADD_FAILURE() << shown << " did not end within " << RunLimitSeconds << " s";
            std::fflush(stdout);
            std::_Exit(1);
        }
        return {code, ReadBytes(dir_ / "stdout"), ReadBytes(dir_ / "stderr")};
    }
    static constexpr int RunLimitSeconds = 10;
    // The exit statuses of timeout(1) for a command it stopped or had to kill.
    static constexpr int TimedOut = 124;
    static constexpr int Killed = 137;

    std::string Info(const std::string& book) const {
        const Result info = Run({"info", book});
        EXPECT_EQ(info.code, 0) << info.err;
        return info.out;
    }

    fs::path dir_;
    // The tool that Run starts.
    std::string program_ = VELLUMAR_CLI;
};

std::string InfoText(int caster, int intelligence, const std::string& specialty,
                     const std::string& frequency, std::initializer_list<int> counts) {
    std::string text = "Caster Level: " + std::to_string(caster) +
                       "\nIntelligence: " + std::to_string(intelligence) +
                       "\nSpecialty: " + specialty + "\nSpell Frequency: " + frequency + "\n";
    int level = 1;
    for (int count : counts)
        text += "Level " + std::to_string(level++) + ": " + std::to_string(count) + "\n";
    for (; level <= 9; ++level) text += "Level " + std::to_string(level) + ": 0\n";
    return text;
}

TEST_F(Cli, TextIsTheClipboardTextByteForByte) {
    const std::string book =
        Write("Gorm.SPB", BookFile(5, 12, "Necromancer", 'R',
                                   SpellLine(1, "Sleep", "Core", 7, 'C', "e/c") +
                                       SpellLine(1, "Ch\xE2teau", "Core", 12, 'U', "alt") +
                                       SpellLine(3, "Fireball", "Tome", 190, 'R', "i/e")));
    const Result plain = Run({"text", book, "--encoding", "windows-1252"});
    EXPECT_EQ(plain.code, 0) << plain.err;
    EXPECT_EQ(plain.out, "Spell Book:" + book +
                             "\r\nCaster Level: 5\r\nCaster Intelligence: 12\r\n"
                             "Caster Specialty: Necromancer\r\n \r\n \r\n \r\n"
                             "level: 1     number per day: 5\r\n"
                             "Ch\xE2teau [Core 12],  Sleep [Core 7]\r\n \r\n \r\n"
                             "level: 3     number per day: 2\r\nFireball [Tome 190]\r\n");

    const Result columns = Run({"text", book, "--columns", "2", "--category", "--no-book-page",
                                "--frequency", "--caption", "My Book", "--encoding=Windows-1252"});
    EXPECT_EQ(columns.code, 0) << columns.err;
    EXPECT_EQ(columns.out, "Spell Book:My Book\r\nCaster Level: 5\r\nCaster Intelligence: 12\r\n"
                           "Caster Specialty: Necromancer\r\n \r\n \r\n \r\n"
                           "level: 1     number per day: 5\r\n"
                           "Ch\xE2teau (alt)-U\tSleep (e/c)-C\r\n \r\n \r\n"
                           "level: 3     number per day: 2\r\nFireball (i/e)-R\t\r\n");
}

TEST_F(Cli, InfoListsTheCasterAndTheLevelCounts) {
    const std::string book = Write("b.spb", BookFile(7, 15, "Very Odd Wizard", 'V',
                                                     SpellLine(1, "A", "", 0, 'C', "") +
                                                         SpellLine(1, "B", "", 0, 'C', "") +
                                                         SpellLine(4, "D", "", 0, 'S', "")));
    const Result info = Run({"info", book});
    EXPECT_EQ(info.code, 0) << info.err;
    EXPECT_EQ(info.out, InfoText(7, 15, "Very Odd Wizard", "Very Rare", {2, 0, 0, 1}));
}

TEST_F(Cli, FillMakesANewBookToItsTargets) {
    const std::string master = Write("MASTER.DAT", MasterLines(4, 20) + " \r\n");
    const Result fill = Run(
        {"fill", "--master", master, "--output", Path("new.spb"), "--level", "3", "--seed", "11"});
    EXPECT_EQ(fill.code, 0) << fill.err;
    EXPECT_EQ(Info(Path("new.spb")), InfoText(3, 9, "Generalist", "Common", {6, 4}));
    const std::string header = "4\r\n3\r\n9\r\nGeneralist\r\nC\r\n";
    EXPECT_EQ(ReadBytes(dir_ / "new.spb").substr(0, header.size()), header);

    const Result defaults = Run({"fill", "--master", master, "--output", Path("one.spb")});
    EXPECT_EQ(defaults.code, 0) << defaults.err;
    EXPECT_EQ(Info(Path("one.spb")), InfoText(1, 9, "Generalist", "Common", {4}));
}

TEST_F(Cli, FillWithTheSameSeedGivesTheSameFile) {
    const std::string master = Write("MASTER.DAT", MasterLines(9, 40) + " \r\n");
    for (const char* name : {"a.spb", "b.spb", "c.spb"}) {
        const std::string seed = name[0] == 'c' ? "8" : "7";
        const Result fill =
            Run({"fill", "--master", master, "--output", Path(name), "--level", "20",
                 "--intelligence", "17", "--specialty", "Invoker", "--seed", seed});
        ASSERT_EQ(fill.code, 0) << fill.err;
    }
    EXPECT_EQ(ReadBytes(dir_ / "a.spb"), ReadBytes(dir_ / "b.spb"));
    EXPECT_NE(ReadBytes(dir_ / "a.spb"), ReadBytes(dir_ / "c.spb"));
}

TEST_F(Cli, FillStartsFromAGivenBookAndItsCaster) {
    const std::string master = Write("MASTER.DAT", MasterLines(2, 10) + " \r\n");
    const std::string book =
        Write("own.spb", BookFile(2, 9, "Invoker", 'U', SpellLine(1, "Own", "", 0, 'S', "")));
    const Result fill = Run({"fill", book, "--master", master, "--output", Path("out.spb"),
                             "--frequency", "very rare", "--seed", "3"});
    EXPECT_EQ(fill.code, 0) << fill.err;
    EXPECT_EQ(Info(Path("out.spb")), InfoText(2, 9, "Invoker", "Very Rare", {6}));
    EXPECT_NE(ReadBytes(dir_ / "out.spb").find("1,\"Own\","), std::string::npos);
}

// A header outside the caster tables opens, with a warning; fill and validate
// refuse such a book rather than write one filled with nothing or emptied.
TEST_F(Cli, AHeaderOutsideTheCasterTablesIsReadButNotFilledOrValidated) {
    const std::string master = Write("MASTER.DAT", MasterLines(2, 10) + " \r\n");
    const std::string spells = SpellLine(1, "Own", "", 0, 'C', "") + " \r\n";
    struct Row {
        std::string header, warning, refusal;
    };
    const Row rows[] = {
        {"4\r\n0\r\n12", "line 2: caster level 0 is not from 1 to 30", "caster level 0"},
        {"4\r\n40\r\n12", "line 2: caster level 40 is not from 1 to 30", "caster level 40"},
        {"4\r\nabc\r\n12", "line 2: caster level 'abc' is not a number; read as 0",
         "caster level 0"},
        {"3\r\n5\r\n25", "line 3: Intelligence 25 is not from 9 to 21", "Intelligence 25"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.header);
        const std::string bytes = row.header + "\r\n1\r\nC\r\n" + spells;
        const std::string book = Write("odd.spb", bytes);
        const Result info = Run({"info", book});
        EXPECT_EQ(info.code, 0) << info.err;
        EXPECT_EQ(info.err, "vellumar-cli: warning: " + book + ": " + row.warning + "\n");
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"fill", book, "--master", master},
              std::vector<std::string>{"validate", book}}) {
            std::vector<std::string> args = command;
            args.insert(args.end(), {"--output", book});
            const Result r = Run(args);
            EXPECT_EQ(r.code, 1) << command[0];
            EXPECT_NE(r.err.find("cannot " + command[0] + " '" + book + "': its " + row.refusal),
                      std::string::npos)
                << r.err;
            EXPECT_EQ(ReadBytes(book), bytes) << command[0];
        }
    }
}

TEST_F(Cli, FillFollowsTheGivenOddsAndSpecialties) {
    std::string lines;
    for (int i = 0; i < 10; ++i)
        lines += SpellLine(1, "Common" + std::to_string(i), "", 0, 'C', "ill");
    for (int i = 0; i < 10; ++i)
        lines += SpellLine(1, "Rare" + std::to_string(i), "", 0, 'S', "ill");
    for (int i = 0; i < 10; ++i)
        lines += SpellLine(1, "Seen" + std::to_string(i), "", 0, 'S', "div");
    const std::string master = Write("MASTER.DAT", lines + " \r\n");
    const std::string specialties = Write("Specialty.dat", "Painter\r\n\r\ndiv\r\n");
    const Result fill = Run({"fill", "--master", master, "--output", Path("out.spb"), "--frequency",
                             "Restricted", "--specialty", "Painter", "--specialties", specialties,
                             "--odds", "1,32767,32767,32767,32767", "--seed", "5"});
    ASSERT_EQ(fill.code, 0) << fill.err;
    const std::string out = ReadBytes(dir_ / "out.spb");
    EXPECT_EQ(Info(Path("out.spb")), InfoText(1, 9, "Painter", "Restricted", {4}));
    EXPECT_EQ(out.find("Seen"), std::string::npos) << "div is prohibited for a Painter";
    EXPECT_EQ(out.find("Common"), std::string::npos) << "Common has one chance in 32767";
}

TEST_F(Cli, UsageErrorsNameTheOptionAndComeBeforeAnyFile) {
    const std::string master = Write("MASTER.DAT", MasterLines(1, 5) + " \r\n");
    const std::string book = Write("b.spb", BookFile(3, 10, "Generalist", 'C', ""));
    const std::string o = Path("o");
    struct Case {
        std::vector<std::string> args;
        const char* mentions;
    };
    const Case cases[] = {
        {{"fill", "--master", "missing.dat", "--output", o, "--level", "31"}, "1 to 30"},
        {{"fill", "--master", master, "--output", o, "--level", "0"}, "--level"},
        {{"fill", "--master", master, "--output", o, "--intelligence", "8"}, "9 to 21"},
        {{"fill", "--master", master, "--output", o, "--intelligence", "x"}, "--intelligence"},
        {{"fill", "--master", master, "--output", o, "--frequency", "Often"}, "--frequency"},
        {{"fill", "--master", master, "--output", o, "--odds", "1,2,3"}, "--odds"},
        {{"fill", "--master", master, "--output", o, "--odds", "0,1,1,1,1"}, "--odds"},
        {{"fill", "--master", master, "--output", o, "--seed", "-1"}, "--seed"},
        {{"fill", "--master", master, "--output", o, "--specialty", "Invokr"}, "'Invoker'?"},
        {{"fill", "--master", master, "--output", o, "--specialty", "Painter"},
         "Generalist, Abjurer"},
        {{"fill", "--master", master, "--output", o, "--frequency", "Rar"}, "'Rare'?"},
        {{"fill", "--master", master, "--outptu", o}, "'--output'?"},
        {{"text", book, "--encoding", "latin-1"}, "windows-1252"},
        {{"scroll", book, "--counts", "1,0,0,0,0,0,0,0,-1", "--output", o}, "0 or more"},
        {{"scrol", book}, "'scroll'?"},
        {{"fill", "--master", master}, "--output"},
        {{"fill", "--master", master, "--output", o, "--bogus"}, "--bogus"},
        {{"text", book, "--columns", "5"}, "0 to 4"},
        {{"text"}, "BOOK"},
        {{"text", book, "extra"}, "extra"},
        {{"info", book, "--output", "x"}, "--output"},
        {{"scroll", book, "--counts", "1,2", "--output", o}, "--counts"},
        {{"scroll", book, "--output", o}, "--counts"},
        {{"validate", book}, "--output"},
        {{"export", book, "--output"}, "--output"},
        {{"paint"}, "paint"},
        {{}, "command"},
    };
    for (const Case& c : cases) {
        const Result r = Run(c.args);
        std::string shown;
        for (const std::string& a : c.args) shown += a + " ";
        EXPECT_EQ(r.code, 2) << shown << r.err;
        EXPECT_NE(r.err.find(c.mentions), std::string::npos) << shown << r.err;
        EXPECT_TRUE(r.out.empty()) << shown;
    }
    EXPECT_FALSE(fs::exists(dir_ / "o"));
}

TEST_F(Cli, FilesThatCannotBeReadOrWrittenAreNamed) {
    const std::string master = Write("MASTER.DAT", MasterLines(1, 5) + " \r\n");
    const std::string book = Write("b.spb", BookFile(3, 10, "Generalist", 'C', ""));
    const std::string missing = Path("nowhere.spb");
    const std::string unwritable = Path("no/such/dir/out.spb");
    struct Case {
        std::vector<std::string> args;
        std::string names;
    };
    const Case cases[] = {
        {{"text", missing}, missing},
        {{"info", missing}, missing},
        {{"fill", missing, "--master", master, "--output", Path("o")}, missing},
        {{"fill", "--master", missing, "--output", Path("o")}, missing},
        {{"fill", "--master", master, "--output", Path("o"), "--specialties", missing}, missing},
        {{"fill", "--master", master, "--output", unwritable}, unwritable},
        {{"validate", book, "--output", unwritable}, unwritable},
        {{"validate", book, "--output", Path("o"), "--specialties", missing}, missing},
        {{"scroll", book, "--counts", "0,0,0,0,0,0,0,0,0", "--output", unwritable}, unwritable},
        {{"export", book, "--output", unwritable}, unwritable},
        {{"export", missing, "--output", Path("o")}, missing},
    };
    for (const Case& c : cases) {
        const Result r = Run(c.args);
        EXPECT_EQ(r.code, 1) << c.names << r.err;
        EXPECT_NE(r.err.find(c.names), std::string::npos) << r.err;
    }
    EXPECT_FALSE(fs::exists(dir_ / "o"));
}

TEST_F(Cli, ValidateRemovesAndListsTheIneligibleSpells) {
    const std::string book =
        Write("b.spb", BookFile(1, 9, "Abjurer", 'C',
                                SpellLine(1, "Alarm", "Core", 1, 'C', "Alteration") +
                                    SpellLine(1, "Armor", "Core", 2, 'C', "abj") +
                                    SpellLine(1, "Bless", "Core", 3, 'U', "abj") +
                                    SpellLine(2, "Web", "Tome", 4, 'C', "c/s")));
    const Result validate = Run({"validate", book, "--output", Path("v.spb")});
    EXPECT_EQ(validate.code, 0) << validate.err;
    EXPECT_EQ(validate.out, "Alarm  (Alteration) [Core 1] - C\nBless  (abj) [Core 3] - U\n"
                            "Web  (c/s) [Tome 4] - C\n");
    EXPECT_EQ(ReadBytes(dir_ / "v.spb"),
              BookFile(1, 9, "Abjurer", 'C', SpellLine(1, "Armor", "Core", 2, 'C', "abj")));

    // A specialty file that lacks the Abjurer leaves the category alone.
    const std::string specialties = Write("Specialty.dat", "Painter\r\n\r\ndiv\r\n");
    const Result other =
        Run({"validate", book, "--output", Path("w.spb"), "--specialties", specialties});
    EXPECT_EQ(other.code, 0) << other.err;
    EXPECT_EQ(other.out, "Bless  (abj) [Core 3] - U\nWeb  (c/s) [Tome 4] - C\n");

    // A line the reader left out is named, with its number, before the save drops it.
    const std::string skips = Write("s.spb", BookFile(1, 9, "Abjurer", 'C', "0,\"Cantrip\"\r\n"));
    const Result skipped = Run({"validate", skips, "--output", Path("s2.spb")});
    EXPECT_EQ(skipped.code, 0) << skipped.err;
    EXPECT_EQ(skipped.err, "vellumar-cli: warning: " + skips +
                               ": line 6: spell level 0 is not from 1 to 9; left out\n");
}

TEST_F(Cli, ScrollDrawsTheCountsAndRepeatsWithTheSeed) {
    std::string lines;
    for (int i = 0; i < 5; ++i) lines += SpellLine(1, "One" + std::to_string(i), "", 0, 'S', "");
    for (int i = 0; i < 3; ++i) lines += SpellLine(2, "Two" + std::to_string(i), "", 0, 'C', "");
    const std::string book = Write("b.spb", BookFile(4, 11, "Diviner", 'S', lines));
    for (const char* name : {"s1.spb", "s2.spb"}) {
        const Result scroll = Run({"scroll", book, "--counts", "2,9,1,0,0,0,0,0,0", "--output",
                                   Path(name), "--seed", "99"});
        ASSERT_EQ(scroll.code, 0) << scroll.err;
        EXPECT_NE(scroll.err.find("level 2 of the book holds 3 spells: the scroll takes 3, not 9"),
                  std::string::npos)
            << scroll.err;
        EXPECT_NE(scroll.err.find("level 3 "), std::string::npos) << scroll.err;
        EXPECT_EQ(scroll.err.find("level 1 "), std::string::npos) << scroll.err;
    }
    EXPECT_EQ(Info(Path("s1.spb")), InfoText(4, 11, "Diviner", "Restricted", {2, 3}));
    EXPECT_EQ(ReadBytes(dir_ / "s1.spb"), ReadBytes(dir_ / "s2.spb"));
}

TEST_F(Cli, ExportWritesTheSpellsWithoutAHeader) {
    const std::string spells = SpellLine(1, "Light", "Core", 12, 'U', "Alteration") +
                               SpellLine(3, "Fireball", "Tome", 190, 'C', "i/e");
    const std::string book = Write("b.spb", BookFile(5, 12, "Invoker", 'R', spells));
    const Result exported = Run({"export", book, "--output", Path("out.dat")});
    EXPECT_EQ(exported.code, 0) << exported.err;
    EXPECT_EQ(ReadBytes(dir_ / "out.dat"), spells + " \r\n");
}

#ifdef VELLUMAR_DESKTOP_PROGRAM
TEST_F(Cli, PdfWritesThePagesWithTheFormatAsked) {
    const std::string book =
        Write("b.spb", BookFile(20, 18, "Generalist", 'C', MasterLines(9, 40)));
    std::vector<int> pages;
    for (const char* columns : {"1", "4"}) {
        const std::string out = Path(std::string("c") + columns + ".pdf");
        const Result made = Run({"pdf", book, "--output", out, "--columns", columns, "--category"});
        EXPECT_EQ(made.code, 0) << made.err;
        pages.push_back(PdfPageCount(out));
    }
    // One spell a line fills more pages than four a line, and both more than one.
    EXPECT_GT(pages[0], pages[1]);
    EXPECT_GT(pages[1], 1);

    const std::string small = Write("s.spb", BookFile(1, 9, "Generalist", 'C', MasterLines(1, 1)));
    EXPECT_EQ(Run({"pdf", small, "--output", Path("s.pdf")}).code, 0);
    EXPECT_EQ(PdfPageCount(Path("s.pdf")), 1);
}

TEST_F(Cli, PdfMistakesAndFailuresAreNamed) {
    const std::string book = Write("b.spb", BookFile(1, 9, "Generalist", 'C', MasterLines(1, 1)));
    const Result columns = Run({"pdf", book, "--output", Path("o.pdf"), "--columns", "7"});
    EXPECT_EQ(columns.code, 2);
    EXPECT_NE(columns.err.find("--columns"), std::string::npos) << columns.err;
    EXPECT_EQ(Run({"pdf", book}).code, 2);

    const Result missing = Run({"pdf", Path("none.spb"), "--output", Path("o.pdf")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("none.spb"), std::string::npos) << missing.err;
    EXPECT_FALSE(fs::exists(dir_ / "o.pdf"));

    const std::string unwritable = Path("no/such/o.pdf");
    const Result unwritten = Run({"pdf", book, "--output", unwritable});
    EXPECT_EQ(unwritten.code, 1);
    EXPECT_NE(unwritten.err.find(unwritable), std::string::npos) << unwritten.err;
}
#endif

struct TextsRow {
    std::vector<std::string> args;
    int code;
    std::string outEnd; // the end of standard output, CR LF written as \n
    std::string errHas;
};

class CliTexts : public Cli, public testing::WithParamInterface<TextsRow> {};

// MASTER.DAT and b.spb hold Sleep and Fireball; the companion has Fireball's text alone.
TEST_P(CliTexts, ShowAndTextTakeTheCardsOfTheMasterList) {
    const TextsRow& row = GetParam();
    const std::string spells =
        SpellLine(1, "Sleep", "", 0, 'C', "e/c") + SpellLine(3, "Fireball", "", 0, 'C', "i/e");
    Write("MASTER.DAT", spells);
    Write("MASTER.DAT.texts.json",
          R"([{"name": "Fireball", "level": 3, "school": "Evocation", "casting_time": "1 action",
              "range": "150 feet", "components": ["V", "S", "M"], "material": "Bat guano.",
              "ritual": false, "concentration": false, "duration": "Instantaneous",
              "description": ["A bright streak.", "| d6 | Heat |", "|---|---|", "| 1 | Warm |"],
              "higher_levels": ["More."]}])");
    Write("b.spb", BookFile(5, 12, "Generalist", 'C', spells));
    // Lists with companions of their own that give no texts, and one whose
    // warning quotes its JSON: no list may fall back on MASTER.DAT's texts.
    for (const char* list : {"L.DAT", "Loop.DAT", "Gone.DAT", "Bad.DAT", "Star.DAT"})
        Write(list, spells);
    fs::create_symlink("Loop.DAT.texts.json", dir_ / "Loop.DAT.texts.json");
    fs::create_symlink("none.json", dir_ / "Gone.DAT.texts.json");
    Write("Bad.DAT.texts.json", "[{\"name\": \"Wish \xFF\", \"level\": 9}]");
    Write("Star.DAT.texts.json", R"([{"name": "Wish ★ Variant", "level": 9},
                                     {"name": "Fireball", "level": 3}])");
    const Result r = Run(row.args);
    EXPECT_EQ(r.code, row.code) << r.err;
    std::string end = row.outEnd;
    if (row.args[0] == "text")
        for (size_t at = 0; (at = end.find('\n', at)) != std::string::npos; at += 2)
            end.replace(at, 1, "\r\n");
    EXPECT_TRUE(r.out.size() >= end.size() && r.out.ends_with(end)) << r.out;
    EXPECT_NE(r.err.find(row.errHas), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\xFF'), std::string::npos) << "a byte that is not UTF-8 printed raw";
}

const std::string FireballCard = "Fireball\nLevel 3 Evocation\nCasting Time: 1 action\n"
                                 "Range: 150 feet\nComponents: V, S, M (Bat guano.)\n"
                                 "Duration: Instantaneous\nA bright streak.\nd6\tHeat\n1\tWarm\n"
                                 "At Higher Levels. More.\n";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cards, CliTexts, testing::Values(
    TextsRow{{"show", "MASTER.DAT", "Fireball"}, 0, FireballCard, ""},
    TextsRow{{"show", "b.spb", "fIREBALL"}, 0, FireballCard, ""},
    TextsRow{{"show", "b.spb", "Firebal"}, 1, "", "no spell named 'Firebal' in 'b.spb' (did you mean 'Fireball'?)"},
    TextsRow{{"show", "MASTER.DAT", "sleep"}, 1, "", "spell 'Sleep' has no rules text"},
    TextsRow{{"text", "b.spb", "--texts", "--master", "MASTER.DAT"}, 0, "\nSleep\n \n \nlevel: 3     number per day: 1\nFireball\n" + FireballCard + "\n", ""},
    TextsRow{{"text", "b.spb", "--master", "MASTER.DAT"}, 2, "", "--master goes with --texts"},
    TextsRow{{"pdf", "b.spb", "--texts", "--output", "b.pdf"}, 0, "", ""},
    TextsRow{{"show", "L.DAT", "Fireball"}, 1, "", "warning: no spell texts: 'L.DAT.texts.json' is not there"},
    TextsRow{{"show", "Loop.DAT", "Fireball"}, 1, "", "cannot read spell texts 'Loop.DAT.texts.json': Too many levels of symbolic links"},
    TextsRow{{"text", "b.spb", "--texts", "--master", "Gone.DAT"}, 1, "", "cannot read spell texts 'Gone.DAT.texts.json': a symbolic link"},
    TextsRow{{"pdf", "b.spb", "--texts", "--master", "Loop.DAT", "--output", "b.pdf"}, 1, "", "'Loop.DAT.texts.json'"},
    TextsRow{{"text", "b.spb", "--texts", "--master", "none.dat"}, 1, "", "cannot read master list 'none.dat': No such file"},
    TextsRow{{"show", "b.spb", "Fireball", "--master", "-"}, 2, "", "--master cannot be -"},
    TextsRow{{"show", "Bad.DAT", "Fireball"}, 1, "", "cannot read spell texts 'Bad.DAT.texts.json': "},
    TextsRow{{"show", "Star.DAT", "Fireball"}, 0, "", "\"Wish \u2605 Variant\""}));
// clang-format on

// A save of the master list and its texts that was cut short is finished before either is read.
TEST_F(Cli, AnInterruptedMasterSaveIsFinishedBeforeReading) {
    Write("MASTER.DAT", SpellLine(1, "Sleep", "", 0, 'C', "e/c"));
    Write("MASTER.DAT.texts.json", "[]");
    vellumar::SetPairedWriteStopForTesting(3); // the journal written, nothing renamed yet
    EXPECT_FALSE(vellumar::WriteFilePair(
        Path("MASTER.DAT"), SpellLine(3, "Fireball", "", 0, 'C', "i/e"),
        Path("MASTER.DAT.texts.json"), R"([{"name": "Fireball", "level": 3, "range": "Far"}])"));
    vellumar::SetPairedWriteStopForTesting(0);
    const Result r = Run({"show", "MASTER.DAT", "Fireball"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("Range: Far"), std::string::npos) << r.out;
}

TEST_F(Cli, HelpVersionAndEndOfOptionsWorkOnEveryCommand) {
    const std::string book =
        Write("--odd.spb", BookFile(3, 10, "Generalist", 'C', SpellLine(1, "A", "", 0, 'C', "")));
    for (const char* command : {"text", "info", "fill", "validate", "scroll", "export", "pdf"}) {
        for (const char* help : {"-h", "--help"}) {
            const Result r = Run({command, help});
            EXPECT_EQ(r.code, 0) << command << help << r.err;
            EXPECT_NE(r.out.find("Usage: vellumar-cli"), std::string::npos) << command << help;
        }
        const Result version = Run({command, "--version"});
        EXPECT_EQ(version.code, 0) << command;
        EXPECT_EQ(version.out, "vellumar-cli 4.1\n") << command;
    }
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{"--help"}, {"-h"}, {"help"}, {"help", "fill"}}) {
        const Result r = Run(words);
        EXPECT_EQ(r.code, 0) << words[0];
        EXPECT_NE(r.out.find("Usage: vellumar-cli"), std::string::npos) << words[0];
    }
    EXPECT_EQ(Run({"--version"}).out, "vellumar-cli 4.1\n");
    // After "--" a word that looks like an option is a file.
    const Result info = Run({"info", "--", "--odd.spb"});
    EXPECT_EQ(info.code, 0) << info.err;
    EXPECT_EQ(info.out, InfoText(3, 10, "Generalist", "Common", {1}));
    EXPECT_EQ(Run({"info", "--odd.spb"}).code, 2);
}

TEST_F(Cli, HelpNamesTheOddsInFullAndTheFrequencyLetters) {
    const Result help = Run({"--help"});
    EXPECT_NE(help.out.find("Restricted, Very Rare, Rare, Uncommon, Common"), std::string::npos);
    EXPECT_NE(help.out.find("C, U, R, V, S"), std::string::npos);
}

struct FrequencyRow {
    const char* given;
    const char* name;
};

class CliFrequency : public Cli, public testing::WithParamInterface<FrequencyRow> {};

TEST_P(CliFrequency, TakesNamesAndTheFilesLetters) {
    const std::string master = Write("MASTER.DAT", MasterLines(1, 5) + " \r\n");
    const Result fill = Run({"fill", "--master", master, "--output", Path("o.spb"), "--frequency",
                             GetParam().given, "--seed", "1"});
    ASSERT_EQ(fill.code, 0) << fill.err;
    EXPECT_EQ(Info(Path("o.spb")), InfoText(1, 9, "Generalist", GetParam().name, {4}));
}

INSTANTIATE_TEST_SUITE_P(Letters, CliFrequency,
                         testing::Values(FrequencyRow{"C", "Common"}, FrequencyRow{"u", "Uncommon"},
                                         FrequencyRow{"R", "Rare"}, FrequencyRow{"V", "Very Rare"},
                                         FrequencyRow{"s", "Restricted"},
                                         FrequencyRow{"very rare", "Very Rare"}));

struct SpecialtyRow {
    const char* given;
    const char* stored;
};

class CliSpecialty : public Cli, public testing::WithParamInterface<SpecialtyRow> {};

TEST_P(CliSpecialty, ANameThatDiffersInCaseIsTheTablesName) {
    const std::string master = Write("MASTER.DAT", MasterLines(1, 5) + " \r\n");
    const Result fill = Run({"fill", "--master", master, "--output", Path("o.spb"), "--specialty",
                             GetParam().given, "--seed", "1"});
    ASSERT_EQ(fill.code, 0) << fill.err;
    EXPECT_EQ(Info(Path("o.spb")), InfoText(1, 9, GetParam().stored, "Common", {4}));
}

INSTANTIATE_TEST_SUITE_P(Names, CliSpecialty,
                         testing::Values(SpecialtyRow{"invoker", "Invoker"},
                                         SpecialtyRow{"NECROMANCER", "Necromancer"},
                                         SpecialtyRow{"generalist", "Generalist"},
                                         SpecialtyRow{"Abjurer", "Abjurer"}));

TEST_F(Cli, TextCrossesIntoAndOutOfTheFilesCodePage) {
    const std::string master = Write("MASTER.DAT", MasterLines(1, 5) + " \r\n");
    const std::string specialties = Write("Specialty.dat", "\xC9vocateur\r\ne/c\r\n\r\n");
    const std::string typed = "\xC3\x89vocateur"; // as a UTF-8 terminal gives it
    const Result fill = Run({"fill", "--master", master, "--output", Path("o.spb"), "--specialty",
                             typed, "--specialties", specialties, "--seed", "1"});
    ASSERT_EQ(fill.code, 0) << fill.err;
    EXPECT_TRUE(fill.err.empty()) << fill.err;
    EXPECT_TRUE(StartsWith(ReadBytes(dir_ / "o.spb"), "4\r\n1\r\n9\r\n\xC9vocateur\r\n"));
    EXPECT_EQ(Info(Path("o.spb")), InfoText(1, 9, typed, "Common", {4}));

    const Result shown = Run({"text", Path("o.spb"), "--caption", "\xE2\x82\xAC 5"});
    EXPECT_EQ(shown.code, 0) << shown.err;
    EXPECT_TRUE(StartsWith(shown.out, "Spell Book:\xE2\x82\xAC 5\r\n")) << shown.out;
    EXPECT_NE(shown.out.find("Caster Specialty: " + typed + "\r\n"), std::string::npos);

    const Result bytes =
        Run({"text", Path("o.spb"), "--caption", "\xE2\x82\xAC 5", "--encoding", "windows-1252"});
    EXPECT_TRUE(StartsWith(bytes.out, "Spell Book:\x80 5\r\n")) << bytes.out;
    EXPECT_NE(bytes.out.find("Caster Specialty: \xC9vocateur\r\n"), std::string::npos);

    // A locale that is not UTF-8 passes the bytes through.
    const Result plain = Run({"info", Path("o.spb")}, "C");
    EXPECT_EQ(plain.out, InfoText(1, 9, "\xC9vocateur", "Common", {4}));
}

TEST_F(Cli, ACharacterTheFilesCannotHoldBecomesAQuestionMarkWithAWarning) {
    const std::string book = Write("b.spb", BookFile(3, 10, "Generalist", 'C', ""));
    const std::string caption = "Grimoire \xE4\xB8\xAD";
    const Result text = Run({"text", book, "--caption", caption});
    EXPECT_EQ(text.code, 0) << text.err;
    EXPECT_TRUE(StartsWith(text.out, "Spell Book:Grimoire ?\r\n")) << text.out;
    EXPECT_NE(text.err.find("warning: --caption '" + caption + "'"), std::string::npos) << text.err;
    EXPECT_NE(text.err.find("'Grimoire ?'"), std::string::npos) << text.err;

    const Result broken = Run({"text", book, "--caption", "One\r\nTwo\x1A"});
    EXPECT_TRUE(StartsWith(broken.out, "Spell Book:One  Two \r\nCaster Level: 3\r\n"))
        << broken.out;
}

TEST_F(Cli, AFailedWriteToStandardOutputIsAnError) {
    const std::string book =
        Write("b.spb", BookFile(3, 10, "Painter", 'C', SpellLine(1, "Alarm", "", 0, 'C', "alt")));
    const std::vector<std::vector<std::string>> commands = {
        {"text", book},
        {"info", book},
        {"validate", book, "--output", Path("v.spb"), "--specialties",
         Write("Specialty.dat", "Painter\r\n\r\nalt\r\n")},
        {"scroll", book, "--counts", "1,0,0,0,0,0,0,0,0", "--output", "-"},
        {"export", book, "--output", "-"},
        {"--help"},
        {"info", "--version"},
    };
    for (const auto& args : commands) {
        const Result full = Run(args, "C.UTF-8", ">/dev/full");
        EXPECT_EQ(full.code, 1) << args[0] << full.err;
        EXPECT_NE(full.err.find("cannot write standard output"), std::string::npos) << full.err;
    }
}

TEST_F(Cli, AClosedPipeIsAnErrorNotASilentEnd) {
    const std::string book = Write("b.spb", BookFile(3, 10, "Generalist", 'C', ""));
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ::close(fds[0]); // nobody reads
    const int errFile = ::open(Path("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(fds[1], 1);
        ::dup2(errFile, 2);
        ::execl(VELLUMAR_CLI, VELLUMAR_CLI, "info", book.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    ::close(errFile);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(ReadBytes(dir_ / "stderr").find("cannot write standard output"), std::string::npos);
}

TEST_F(Cli, DashIsStandardInputOrOutputAndDevStdoutWorks) {
    const std::string spells = SpellLine(1, "Light", "Core", 12, 'U', "alt") +
                               SpellLine(1, "Sleep", "Core", 7, 'C', "e/c") +
                               SpellLine(3, "Fireball", "Tome", 190, 'C', "i/e");
    const std::string bookBytes = BookFile(5, 12, "Invoker", 'R', spells);
    const std::string book = Write("b.spb", bookBytes);

    const Result in =
        Run({"info", "-"}, "C.UTF-8", "<" + Quote(book) + " >" + Quote(Path("stdout")));
    EXPECT_EQ(in.code, 0) << in.err;
    EXPECT_EQ(in.out, InfoText(5, 12, "Invoker", "Rare", {2, 0, 1}));

    const Result scrollFile = Run({"scroll", book, "--counts", "1,0,1,0,0,0,0,0,0", "--output",
                                   Path("s.spb"), "--seed", "4"});
    ASSERT_EQ(scrollFile.code, 0) << scrollFile.err;
    for (const char* output : {"-", "/dev/stdout"}) {
        const Result piped = Run(
            {"scroll", book, "--counts", "1,0,1,0,0,0,0,0,0", "--output", output, "--seed", "4"});
        EXPECT_EQ(piped.code, 0) << output << piped.err;
        EXPECT_EQ(piped.out, ReadBytes(dir_ / "s.spb")) << output;
    }
    const Result exported = Run({"export", "-", "--output", "-"}, "C.UTF-8",
                                "<" + Quote(book) + " >" + Quote(Path("stdout")));
    EXPECT_EQ(exported.code, 0) << exported.err;
    EXPECT_EQ(exported.out, spells + " \r\n");

    const Result master =
        Run({"fill", "--master", "-", "--output", "-", "--frequency", "U", "--seed", "2"},
            "C.UTF-8", "<" + Quote(book) + " >" + Quote(Path("stdout")));
    EXPECT_EQ(master.code, 0) << master.err;
    EXPECT_TRUE(StartsWith(master.out, "4\r\n1\r\n9\r\nGeneralist\r\nU\r\n")) << master.out;
    EXPECT_NE(master.out.find("Light"), std::string::npos);
    EXPECT_NE(master.out.find("Sleep"), std::string::npos);

    // The specialty file too; a failure names "-", not the private copy.
    const std::string table = Write("t.dat", "Invoker\r\n\r\nalt\r\n");
    const Result checked = Run({"validate", book, "--specialties", "-", "--output", Path("v.spb")},
                               "C.UTF-8", "<" + Quote(table) + " >" + Quote(Path("stdout")));
    EXPECT_EQ(checked.code, 0) << checked.err;
    EXPECT_EQ(ReadBytes(dir_ / "v.spb").find("Light"), std::string::npos);
    EXPECT_NE(ReadBytes(dir_ / "v.spb").find("Sleep"), std::string::npos);
    const std::string unknown = Write("u.spb", "5\r\n");
    const Result bad =
        Run({"info", "-"}, "C.UTF-8", "<" + Quote(unknown) + " >" + Quote(Path("stdout")));
    EXPECT_EQ(bad.code, 1);
    EXPECT_NE(bad.err.find("cannot read spellbook '-'"), std::string::npos) << bad.err;
}

TEST_F(Cli, AFileWithoutSpellsIsAnErrorAsAMasterListAndAWarningInInfo) {
    const std::string notes = Write("README.md", "# Notes\n\nNo spells here.\n");
    const Result fill = Run({"fill", "--master", notes, "--output", Path("o.spb")});
    EXPECT_EQ(fill.code, 1);
    EXPECT_NE(fill.err.find("'" + notes + "' holds no spell"), std::string::npos) << fill.err;
    EXPECT_FALSE(fs::exists(dir_ / "o.spb"));

    const std::string empty = Write("e.spb", BookFile(3, 10, "Generalist", 'C', ""));
    const Result info = Run({"info", empty});
    EXPECT_EQ(info.code, 0);
    EXPECT_EQ(info.out, InfoText(3, 10, "Generalist", "Common", {}));
    EXPECT_NE(info.err.find("warning: '" + empty + "' holds no spell"), std::string::npos)
        << info.err;
}

TEST_F(Cli, WithoutMasterTheDesktopProgramsMasterListIsUsedAndNamed) {
    // The test's folder is the program's folder and the working folder; a
    // sample list elsewhere is found only through the setting.
    fs::create_directories(dir_ / "lists");
    Write("lists/Mine.DAT", MasterLines(1, 5) + " \r\n");
    Write("Vellumar.INI", "[Vellumar]\r\nMasterFile=" + Path("lists/Mine.DAT") + "\r\n");
    const Result set = Run({"fill", "--output", Path("a.spb"), "--seed", "1"});
    EXPECT_EQ(set.code, 0) << set.err;
    EXPECT_NE(set.err.find(Path("lists/Mine.DAT")), std::string::npos) << set.err;
    EXPECT_NE(set.err.find("MasterFile setting"), std::string::npos) << set.err;
    EXPECT_EQ(Info(Path("a.spb")), InfoText(1, 9, "Generalist", "Common", {4}));

    // No setting: MASTER.DAT beside the program.
    fs::remove(dir_ / "Vellumar.INI");
    Write("MASTER.DAT", MasterLines(1, 3) + " \r\n");
    const Result sample = Run({"fill", "--output", Path("b.spb"), "--seed", "1"});
    EXPECT_EQ(sample.code, 0) << sample.err;
    EXPECT_NE(sample.err.find(Path("MASTER.DAT")), std::string::npos) << sample.err;
    EXPECT_EQ(Info(Path("b.spb")), InfoText(1, 9, "Generalist", "Common", {3}));

    fs::remove(dir_ / "MASTER.DAT");
    const Result none = Run({"fill", "--output", Path("c.spb")});
    EXPECT_EQ(none.code, 1);
    EXPECT_NE(none.err.find("MASTER.DAT"), std::string::npos) << none.err;
}

// A protected file in a folder the user may write is not replaced, and the
// message gives the reason. Root may write any file, so it runs the tool as
// an ordinary user who owns the folder.
TEST_F(Cli, AReadOnlyOutputIsKeptAndTheReasonGiven) {
    const std::string book = Write(
        "b.spb", BookFile(3, 10, "Generalist", 'C', SpellLine(1, "Alarm", "T", 1, 'C', "abj")));
    const std::string kept = Write("kept.dat", "old bytes\r\n");
    fs::permissions(kept, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    std::string prefix;
    if (geteuid() == 0) {
        if (chown(dir_.c_str(), 65534, 65534) != 0 || std::system("command -v setpriv >/dev/null"))
            GTEST_SKIP() << "no ordinary user to run as";
        prefix = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
        // The build may lie in a folder only root may enter (a clone in a
        // mktemp -d folder): the user runs a copy of the tool from a folder of
        // the test's own, which needs no other file of the build.
        const fs::path copy = dir_ / "bin" / "vellumar-cli";
        fs::create_directories(copy.parent_path());
        fs::copy_file(VELLUMAR_CLI, copy);
        program_ = copy.string();
        const std::string check =
            prefix + "sh -c " +
            Quote("cd " + Quote(dir_.string()) + " && test -x " + Quote(program_));
        if (std::system(check.c_str()) != 0)
            GTEST_SKIP() << "the ordinary user may not enter " << dir_
                         << " (the temporary folder) to run the tool";
    }
    const Result r = Run({"export", book, "--output", kept}, "C.UTF-8", "", prefix);
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_EQ(r.err, "vellumar-cli: cannot write '" + kept + "': " + std::strerror(EACCES) + "\n");
    EXPECT_EQ(ReadBytes(kept), "old bytes\r\n");
    size_t entries = 0;
    for (const auto& entry : fs::directory_iterator(dir_)) entries += entry.is_regular_file();
    EXPECT_EQ(entries, 4u) << "the book, the kept file, stdout and stderr: no temporary file";
}

// Command lines at the edges. A row: the words, the shell's redirections
// (none: standard output captured), the body of a fake desktop program that
// pdf finds beside a copy of the tool (none: the built one), the exit code,
// the start of standard output, a text standard error holds exactly once, and
// a file the run leaves.
TEST_F(Cli, CommandLinesAtTheEdgesEndAsTheyShould) {
    struct Line {
        std::vector<std::string> args;
        std::string streams, child;
        int code;
        std::string out, err, made;
    };
    // clang-format off
    const std::vector<Line> lines = {
        {{"validate", "B.SPB", "--output", "-"}, "", "", 0, "4\r\n1\r\n9\r\nAbjurer", "Alarm  (alt)", ""},
        {{"fill", "-", "--specialties", "-", "--output", "x.spb"}, "<B.SPB >stdout", "", 2, "", "fill: standard input (-) can be read only once", ""},
        {{"pdf", "", "--output", "x.pdf"}, "", "", 2, "", "pdf: the file name of BOOK is empty", ""},
        {{"pdf", "B.SPB", "--output", ""}, "", "", 2, "", "pdf: the file name of --output is empty", ""},
        {{"pdf", "B.SPB", "--output", "x.pdf"}, "", "exit 7", 1, "", "ended with exit code 7", ""},
        {{"pdf", "B.SPB", "--output", "x.pdf"}, "", "exec sleep 30", 1, "", "did not finish within 1 s", ""},
        {{"pdf", "B.SPB", "--output", "x.pdf"}, "", "kill -SEGV $$", 1, "", "signal 11 (Segmentation fault)", ""},
        {{"--help"}, ">/dev/full", "", 1, "", "cannot write standard output", ""},
        {{"fill", "--master", "M.DAT", "--output", "-"}, ">/dev/full", "", 1, "", "cannot write standard output", ""},
        {{"pdf", "B.SPB", "--output", "-"}, "", "", 0, "%PDF-", "", ""},
        {{"pdf", "B.SPB", "--output", "/dev/stdout", "--caption", "\u4e2d"}, "", "", 0, "%PDF-", "--caption '\u4e2d' has characters", ""},
        {{"pdf", "Caf\xe9.SPB", "--output", "R\xe9sum\xe9.pdf"}, "", "", 0, "", "", "R\xe9sum\xe9.pdf"},
    };
    // clang-format on
    const std::string book =
        BookFile(1, 9, "Abjurer", 'C', SpellLine(1, "Alarm", "C", 1, 'C', "alt"));
    for (const char* name : {"B.SPB", "Caf\xe9.SPB"}) Write(name, book);
    Write("M.DAT", MasterLines(1, 2) + " \r\n");
    fs::create_directories(dir_ / "bin");
    fs::copy_file(VELLUMAR_CLI, dir_ / "bin" / "vellumar-cli");
    for (const Line& line : lines) {
        SCOPED_TRACE(testing::PrintToString(line.args));
        Write("bin/vellumar", "#!/bin/sh\n" + line.child + "\n");
        fs::permissions(dir_ / "bin" / "vellumar", fs::perms::owner_all);
        program_ = line.child.empty() ? VELLUMAR_CLI : Path("bin/vellumar-cli");
#ifndef VELLUMAR_DESKTOP_PROGRAM
        if (line.args[0] == "pdf" && line.child.empty() && line.code == 0) continue;
#endif
        const Result r = Run(line.args, "C.UTF-8", line.streams, "VELLUMAR_CHILD_SECONDS=1 ");
        EXPECT_EQ(r.code, line.code) << r.err;
        EXPECT_TRUE(StartsWith(r.out, line.out)) << r.out.substr(0, 80);
        const size_t first = r.err.find(line.err);
        EXPECT_TRUE(line.err.empty() || (first != std::string::npos &&
                                         r.err.find(line.err, first + 1) == std::string::npos))
            << r.err;
        EXPECT_TRUE(line.made.empty() || fs::exists(dir_ / line.made));
    }
    ASSERT_EQ(mkfifo(Path("pipe").c_str(), 0600), 0);
    const Result unread = Run({"export", "B.SPB", "--output", "pipe"});
    EXPECT_EQ(unread.code, 1);
    EXPECT_NE(unread.err.find("'pipe': no program is reading from the pipe"), std::string::npos);
}

} // namespace
