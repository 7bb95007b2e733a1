#include "ui/program_command_line.h"

#include "program_version.h"

#include <QCommandLineParser>
#include <cstdio>

namespace vellumar {
namespace {

constexpr char UsageLine[] = "usage: vellumar [--seed N] [--quit-after-start] [BOOK ...]\n"
                             "       vellumar --export-pdf BOOK --output F [--columns 0-4] ...\n";
constexpr char Usage[] =
    "usage: vellumar [--seed N] [--quit-after-start] [BOOK ...]\n"
    "       vellumar --export-pdf BOOK --output F [--columns 0-4] [--category]\n"
    "                [--no-book-page] [--frequency] [--caption TEXT]\n"
    "\n"
    "Keeps wizard spellbooks. Each BOOK (a *.SPB file) opens in its own window.\n"
    "\n"
    "  --seed N             seed the random generator with N (0 to 4294967295)\n"
    "                       instead of the clock, to make the same books again\n"
    "  --quit-after-start   start as usual and, once the window has been drawn,\n"
    "                       print where the settings, the help file and the\n"
    "                       master list were found, and quit; for checking an\n"
    "                       installation. Nothing waits for a person: message\n"
    "                       boxes go to standard error, and the exit status is 1\n"
    "                       when a BOOK could not be opened\n"
    "  --export-pdf BOOK    write BOOK's pages as Print would into the PDF file\n"
    "                       named by --output, with no window (offscreen), then\n"
    "                       quit; 1 when a file cannot be read or written.\n"
    "                       --columns, --category, --no-book-page, --frequency\n"
    "                       and --caption (the head, BOOK by default) set the\n"
    "                       output format as the Output Format dialog does\n"
    "  -h, --help           show this text\n"
    "  --version            show the version\n"
    "  --                   the words after it are books, even if they start with -\n";

} // namespace

std::optional<int> ParseProgramCommandLine(int argc, char** argv, ProgramCommandLine& line) {
    QStringList words;
    for (int i = 0; i < argc; ++i) words << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
    const QCommandLineOption version(QStringLiteral("version"), {});
    const QCommandLineOption seed(QStringLiteral("seed"), {}, QStringLiteral("N"));
    const QCommandLineOption quit(QStringLiteral("quit-after-start"), {});
    const QCommandLineOption exportPdf(QStringLiteral("export-pdf"), {}, QStringLiteral("BOOK"));
    const QCommandLineOption output(QStringLiteral("output"), {}, QStringLiteral("F"));
    const QCommandLineOption columns(QStringLiteral("columns"), {}, QStringLiteral("N"));
    const QCommandLineOption category(QStringLiteral("category"), {});
    const QCommandLineOption noBookPage(QStringLiteral("no-book-page"), {});
    const QCommandLineOption frequency(QStringLiteral("frequency"), {});
    const QCommandLineOption caption(QStringLiteral("caption"), {}, QStringLiteral("TEXT"));
    parser.addOptions({help, version, seed, quit, exportPdf, output, columns, category, noBookPage,
                       frequency, caption});
    // Qt's own options (-platform offscreen, -style Fusion, ...) are known
    // here too, and left for the application object to take.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin",
                             "qwindowgeometry", "qwindowicon", "qwindowtitle", "display",
                             "geometry", "style", "stylesheet", "session", "title"}) {
        QCommandLineOption qtOption(QString::fromLatin1(name), {}, QStringLiteral("value"));
        qtOption.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qtOption);
    }
    for (const char* name : {"reverse", "nograb", "dograb", "sync", "widgetcount"}) {
        QCommandLineOption qtOption(QString::fromLatin1(name), {});
        qtOption.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qtOption);
    }
    parser.addPositionalArgument(QStringLiteral("BOOK"), {}, QStringLiteral("[BOOK ...]"));
    if (!parser.parse(words)) {
        std::fprintf(stderr, "vellumar: %s\n%s", qPrintable(parser.errorText()), UsageLine);
        return 2;
    }
    if (parser.isSet(help)) {
        std::fputs(Usage, stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    if (parser.isSet(version)) {
        std::printf("vellumar %s\n", ProgramVersion);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    if (parser.isSet(seed)) {
        bool ok = false;
        const uint value = parser.value(seed).toUInt(&ok);
        if (!ok) {
            std::fprintf(stderr, "vellumar: --seed needs a whole number from 0 to 4294967295\n%s",
                         UsageLine);
            return 2;
        }
        line.seed = value;
    }
    line.quitAfterStart = parser.isSet(quit);
    const bool exporting = parser.isSet(exportPdf);
    for (const QCommandLineOption* option :
         {&output, &columns, &category, &noBookPage, &frequency, &caption}) {
        if (parser.isSet(*option) && !exporting) {
            std::fprintf(stderr, "vellumar: --%s goes with --export-pdf\n%s",
                         qPrintable(option->names().constFirst()), UsageLine);
            return 2;
        }
    }
    if (exporting) {
        line.exportPdf = parser.value(exportPdf);
        line.output = parser.value(output);
        if (line.output.isEmpty()) {
            std::fprintf(stderr, "vellumar: --export-pdf needs --output F\n%s", UsageLine);
            return 2;
        }
        if (!parser.positionalArguments().isEmpty()) {
            std::fprintf(stderr, "vellumar: --export-pdf takes one book\n%s", UsageLine);
            return 2;
        }
        if (parser.isSet(columns)) {
            bool ok = false;
            const int value = parser.value(columns).toInt(&ok);
            if (!ok || value < 0 || value > 4) {
                std::fprintf(stderr, "vellumar: --columns needs a whole number from 0 to 4\n%s",
                             UsageLine);
                return 2;
            }
            line.format.Columns = value;
        }
        line.format.IncludeCategory = parser.isSet(category);
        line.format.IncludeBookPage = !parser.isSet(noBookPage);
        line.format.IncludeFrequency = parser.isSet(frequency);
        line.caption = parser.isSet(caption) ? parser.value(caption) : line.exportPdf;
    }
    line.books = parser.positionalArguments();
    return std::nullopt;
}

} // namespace vellumar
