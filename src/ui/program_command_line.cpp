#include "ui/program_command_line.h"

#include "output/output_format_options.h"
#include "platform/qt/text_conversion.h"
#include "program_version.h"

#include <QCommandLineParser>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace vellumar {
namespace {

constexpr char UsageLine[] = "usage: vellumar [--seed N] [--quit-after-start] [BOOK ...]\n"
                             "       vellumar --export-pdf BOOK --output F [--columns 0-4] ...\n";
constexpr char Usage[] =
    "usage: vellumar [--seed N] [--quit-after-start] [BOOK ...]\n"
    "       vellumar --export-pdf BOOK --output F [--columns 0-4] [--category]\n"
    "                [--no-book-page] [--frequency] [--texts] [--caption TEXT]\n"
    "                [--master FILE]\n"
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
    "                       --columns, --category, --no-book-page, --frequency,\n"
    "                       --texts and --caption (the head, BOOK by default)\n"
    "                       set the output format as the Output Format dialog\n"
    "                       does; the cards of --texts come from the companion\n"
    "                       of the master list: --master FILE, or the one the\n"
    "                       program uses\n"
    "  -h, --help           show this text\n"
    "  --version            show the version\n"
    "  --                   the words after it are books, even if they start with -\n";

// The output format's options, as vellumar-cli knows them.
QList<QCommandLineOption> FormatCommandLineOptions() {
    QList<QCommandLineOption> options;
    for (const FormatOptionName& option : FormatOptionNames) {
        const QString name = QString::fromLatin1(option.name.substr(2));
        options << (option.takesValue ? QCommandLineOption(name, {}, QStringLiteral("VALUE"))
                                      : QCommandLineOption(name, {}));
    }
    return options;
}

// Qt's own options (-platform offscreen, -style Fusion, ...), with a value and without.
constexpr std::array QtValueOptions = {"platform",
                                       "platformpluginpath",
                                       "platformtheme",
                                       "plugin",
                                       "qwindowgeometry",
                                       "qwindowicon",
                                       "qwindowtitle",
                                       "display",
                                       "geometry",
                                       "style",
                                       "stylesheet",
                                       "session",
                                       "title"};
constexpr std::array QtFlags = {"reverse", "nograb", "dograb", "sync", "widgetcount"};

// Qt's options are known here too, and handed to the application object alone.
void AddQtOptions(QCommandLineParser& parser) {
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const char* name : QtValueOptions) {
        QCommandLineOption qtOption(QString::fromLatin1(name), {}, QStringLiteral("value"));
        qtOption.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qtOption);
    }
    for (const char* name : QtFlags) {
        QCommandLineOption qtOption(QString::fromLatin1(name), {});
        qtOption.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qtOption);
    }
}

// The application object's command line: the program and Qt's options as
// the parser found them, so that a word after "--" never reaches Qt.
std::vector<std::string> QtArguments(const QCommandLineParser& parser, const char* program) {
    std::vector<std::string> arguments = {program};
    for (const char* name : QtValueOptions) {
        for (const QString& value : parser.values(QString::fromLatin1(name))) {
            arguments.push_back(std::string("-") + name);
            arguments.push_back(ToPath(value));
        }
    }
    for (const char* name : QtFlags)
        if (parser.isSet(QString::fromLatin1(name))) arguments.push_back(std::string("-") + name);
    return arguments;
}

// A file name given as an empty word names no file.
std::optional<ProgramExit> EmptyFileName(const QString& name, const QString& what) {
    if (!name.isEmpty()) return std::nullopt;
    return ProgramExit::Mistake(
        QStringLiteral("vellumar: the file name of %1 is empty\n").arg(what) +
        QString::fromLatin1(UsageLine));
}

// --export-pdf's book, file, format and caption.
std::optional<ProgramExit> ReadExport(const QCommandLineParser& parser, ProgramCommandLine& line) {
    const QString usageLine = QString::fromLatin1(UsageLine);
    line.exportPdf = parser.value(QStringLiteral("export-pdf"));
    line.output = parser.value(QStringLiteral("output"));
    if (auto empty = EmptyFileName(line.exportPdf, QStringLiteral("--export-pdf"))) return empty;
    if (!parser.isSet(QStringLiteral("output")))
        return ProgramExit::Mistake(QStringLiteral("vellumar: --export-pdf needs --output F\n") +
                                    usageLine);
    if (auto empty = EmptyFileName(line.output, QStringLiteral("--output"))) return empty;
    line.master = parser.value(QStringLiteral("master"));
    if (parser.isSet(QStringLiteral("master")))
        if (auto empty = EmptyFileName(line.master, QStringLiteral("--master"))) return empty;
    if (!parser.positionalArguments().isEmpty())
        return ProgramExit::Mistake(QStringLiteral("vellumar: --export-pdf takes one book\n") +
                                    usageLine);
    const FormatOptionsRead format =
        ReadFormatOptions([&parser](std::string_view name) -> std::optional<std::string> {
            const QString option = QString::fromLatin1(name.substr(2));
            if (!parser.isSet(option)) return std::nullopt;
            return parser.value(option).toStdString();
        });
    if (!format)
        return ProgramExit::Mistake(QStringLiteral("vellumar: %1 needs a whole number "
                                                   "from %2 to %3\n")
                                        .arg(QString::fromStdString(format.badOption))
                                        .arg(MinColumns)
                                        .arg(MaxColumns) +
                                    usageLine);
    line.format = format.options.format;
    line.caption =
        format.options.caption ? QString::fromStdString(*format.options.caption) : line.exportPdf;
    return std::nullopt;
}

// The books to open, made absolute here, on the bytes: Qt would lose those of
// a name that is not UTF-8.
std::optional<ProgramExit> ReadBooks(const QStringList& books, ProgramCommandLine& line) {
    for (const QString& book : books) {
        if (auto empty = EmptyFileName(book, QStringLiteral("BOOK"))) return empty;
        std::error_code failed;
        const std::filesystem::path absolute = std::filesystem::absolute(ToPath(book), failed);
        line.books << (failed ? book : FromPath(absolute.string()));
    }
    return std::nullopt;
}

} // namespace

ProgramCommandLineRead ParseProgramCommandLine(int argc, char** argv) {
    ProgramCommandLineRead read;
    ProgramCommandLine& line = read.line;
    const QString usageLine = QString::fromLatin1(UsageLine);
    QStringList words;
    // As file names: a book's name that is not UTF-8 keeps its bytes.
    for (int i = 0; i < argc; ++i) words << FromPath(argv[i]);
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
    const QCommandLineOption version(QStringLiteral("version"), {});
    const QCommandLineOption seed(QStringLiteral("seed"), {}, QStringLiteral("N"));
    const QCommandLineOption quit(QStringLiteral("quit-after-start"), {});
    const QCommandLineOption exportPdf(QStringLiteral("export-pdf"), {}, QStringLiteral("BOOK"));
    const QCommandLineOption output(QStringLiteral("output"), {}, QStringLiteral("F"));
    const QCommandLineOption master(QStringLiteral("master"), {}, QStringLiteral("FILE"));
    parser.addOptions({help, version, seed, quit, exportPdf, output, master});
    const QList<QCommandLineOption> formatOptions = FormatCommandLineOptions();
    parser.addOptions(formatOptions);
    AddQtOptions(parser);
    parser.addPositionalArgument(QStringLiteral("BOOK"), {}, QStringLiteral("[BOOK ...]"));
    if (!parser.parse(words)) {
        read.exit = ProgramExit::Mistake(QStringLiteral("vellumar: ") + parser.errorText() +
                                         QLatin1Char('\n') + usageLine);
        return read;
    }
    if (parser.isSet(help)) {
        read.exit = ProgramExit{0, QString::fromLatin1(Usage)};
        return read;
    }
    if (parser.isSet(version)) {
        read.exit = ProgramExit{0, QStringLiteral("vellumar ") +
                                       QString::fromLatin1(ProgramVersion) + QLatin1Char('\n')};
        return read;
    }
    if (parser.isSet(seed)) {
        bool ok = false;
        const uint value = parser.value(seed).toUInt(&ok);
        if (!ok) {
            read.exit = ProgramExit::Mistake(
                QStringLiteral("vellumar: --seed needs a whole number from 0 to 4294967295\n") +
                usageLine);
            return read;
        }
        line.seed = value;
    }
    line.quitAfterStart = parser.isSet(quit);
    const bool exporting = parser.isSet(exportPdf);
    QList<QCommandLineOption> exportOptions = {output, master};
    exportOptions << formatOptions;
    for (const QCommandLineOption& option : exportOptions) {
        if (parser.isSet(option) && !exporting) {
            read.exit =
                ProgramExit::Mistake(QStringLiteral("vellumar: --") + option.names().constFirst() +
                                     QStringLiteral(" goes with --export-pdf\n") + usageLine);
            return read;
        }
    }
    if (exporting && (read.exit = ReadExport(parser, line))) return read;
    if ((read.exit = ReadBooks(parser.positionalArguments(), line))) return read;
    line.qtArguments = QtArguments(parser, argc > 0 ? argv[0] : "vellumar");
    return read;
}

int PrintProgramExit(const ProgramExit& exit) {
    // A file name in a message keeps its bytes, as the user typed them.
    const QByteArray text = QByteArray::fromStdString(ToPath(exit.text));
    if (exit.toStandardError) {
        std::fputs(text.constData(), stderr);
        return exit.code;
    }
    std::fputs(text.constData(), stdout);
    return FinishStandardOutput(exit.code);
}

int FinishStandardOutput(int code) {
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return code;
    const int reason = errno;
    std::fprintf(stderr, "vellumar: cannot write standard output%s%s\n", reason ? ": " : "",
                 reason ? std::strerror(reason) : "");
    return 1;
}

} // namespace vellumar
