#include "ui/program_command_line.h"

#include "program_version.h"

#include <QCommandLineParser>
#include <cstdio>

namespace vellumar {
namespace {

constexpr char UsageLine[] = "usage: vellumar [--seed N] [--quit-after-start] [BOOK ...]\n";
constexpr char Usage[] =
    "usage: vellumar [--seed N] [--quit-after-start] [BOOK ...]\n"
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
    parser.addOptions({help, version, seed, quit});
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
    line.books = parser.positionalArguments();
    return std::nullopt;
}

} // namespace vellumar
