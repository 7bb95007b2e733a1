// The table of vellumar-cli's commands and the usage text made from it.
#include "cli/commands.h"
#include "cli/desktop_program.h"
#include "model/generalist.h"
#include "output/output_format_options.h"
#include "platform/program_settings.h"

#include <ostream>
#include <string>
#include <vector>

namespace vellumar::cli {

namespace {

// The format options, in the order the usage names them, after those given.
std::vector<OptionSpec> WithFormatOptions(std::vector<OptionSpec> before,
                                          const std::vector<OptionSpec>& after = {}) {
    for (const FormatOptionName& option : FormatOptionNames)
        before.push_back({std::string(option.name), option.takesValue});
    before.insert(before.end(), after.begin(), after.end());
    return before;
}

} // namespace

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {{"text", "BOOK", true,
          WithFormatOptions({}, {{"--encoding", true}, {"--master", true, FileUse::Input}})},
         "text BOOK [--columns 0-4] [--category] [--no-book-page] [--frequency]\n"
         "          [--texts [--master FILE]] [--caption TEXT]\n"
         "          [--encoding windows-1252|utf-8]",
         "Prints the book as Copy to Clipboard gives it (lines end in CR LF);\n"
         "--texts follows each spell with its card.",
         Text},
        {{"show", "BOOK-OR-LIST", true, {{"--master", true, FileUse::Input}}, "NAME"},
         "show BOOK-OR-LIST NAME [--master FILE]",
         "Prints the card of the spell of that name (any case) as UTF-8 text.",
         Show},
        {{"info", "BOOK", true, {}},
         "info BOOK",
         "Prints the caster's parameters and the number of spells of each level.",
         Info},
        {{"fill",
          "BOOK",
          false,
          {{"--master", true, FileUse::Input},
           {"--output", true, FileUse::Output},
           {"--level", true},
           {"--intelligence", true},
           {"--specialty", true},
           {"--frequency", true},
           {"--odds", true},
           {"--specialties", true, FileUse::Input},
           {"--seed", true}}},
         "fill [BOOK] --output OUT [--master FILE] [--level 1-30] [--intelligence 9-21]\n"
         "          [--specialty NAME] [--frequency NAME] [--odds R,V,RA,U,C]\n"
         "          [--specialties FILE] [--seed N]",
         std::string("Fills BOOK, or a new book (level 1, Intelligence 9, ") + Generalist +
             ", Common),\n"
             "at random from the master list and writes it to OUT.",
         Fill},
        {{"validate",
          "BOOK",
          true,
          {{"--output", true, FileUse::Output}, {"--specialties", true, FileUse::Input}}},
         "validate BOOK --output OUT [--specialties FILE]",
         "Removes the spells the book may not hold, prints them and writes OUT.",
         Validate},
        {{"scroll",
          "BOOK",
          true,
          {{"--counts", true}, {"--output", true, FileUse::Output}, {"--seed", true}}},
         "scroll BOOK --counts N1,...,N9 --output OUT [--seed N]",
         "Draws a scroll of N1 to N9 spells of levels 1 to 9 from BOOK; a count\n"
         "above what the book holds at that level takes all it holds.",
         Scroll},
        {{"export", "BOOK", true, {{"--output", true, FileUse::Output}}},
         "export BOOK --output OUT",
         "Writes the book's spells as a spell file without a header.",
         Export},
        {{"pdf", "BOOK", true,
          WithFormatOptions({{"--output", true, FileUse::Output}},
                            {{"--master", true, FileUse::Input}})},
         "pdf BOOK --output OUT.pdf [--columns 0-4] [--category] [--no-book-page]\n"
         "          [--frequency] [--texts [--master FILE]] [--caption TEXT]",
         "Writes the book's pages as the desktop program prints them into a PDF\n"
         "file; runs the program vellumar found beside this tool, without windows,\n"
         "and stops it after " +
             std::to_string(DesktopProgramSeconds) + " seconds.",
         Pdf},
    };
    return commands;
}

namespace {

// Each line of `text` after `indent`.
void PrintIndented(std::ostream& out, const std::string& indent, const std::string& text) {
    size_t start = 0;
    for (;;) {
        const size_t end = text.find('\n', start);
        out << indent << text.substr(start, end - start) << '\n';
        if (end == std::string::npos) return;
        start = end + 1;
    }
}

} // namespace

void PrintUsage(std::ostream& out) {
    out << "Usage: vellumar-cli COMMAND ...\n"
           "\n";
    for (const Command& command : Commands()) {
        PrintIndented(out, "  ", command.synopsis);
        PrintIndented(out, "      ", command.summary);
    }
    out << "\n"
           "A file named - is standard input (BOOK, --master, --specialties) or standard\n"
           "output (OUT); /dev/stdout works too. Standard input can be read once.\n"
           "Without --master the master list is the one the desktop program uses: the\n"
        << ProgramSettings::MasterFileKey << " setting, else " << DefaultMasterFileName
        << " in the working folder, else the sample\n"
           "list of the program. Standard error names the file.\n"
           "Spell texts (--texts, show) come from a master list's companion file, named\n"
           "after it (MASTER.DAT.texts.json): that of --master FILE (not -), else\n"
           "BOOK's own when BOOK is a master list (no header) or has one, else that of\n"
           "the master list the desktop program uses. Without it there are no cards,\n"
           "and a warning names the file looked for.\n"
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
