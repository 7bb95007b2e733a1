#pragma once
// The desktop program's command line: vellumar [--seed N] [--quit-after-start] [BOOK ...],
// or vellumar --export-pdf BOOK --output F [format options], which opens no window.

#include "output/output_format.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vellumar {

struct ProgramCommandLine {
    std::optional<uint32_t> seed;
    bool quitAfterStart = false;
    QStringList books;
    // --export-pdf: the book to write as PDF, the file, the format and caption.
    QString exportPdf;
    QString output;
    OutputFormat format;
    QString caption;
    // --master: the master list whose companion gives the cards of --texts;
    // empty for the one the program uses.
    QString master;
    // What the application object is given: the program's name and Qt's own
    // options (-platform, -style, ...) as they stood before "--"; never our
    // options nor a book, which Qt would otherwise take for one of its own.
    std::vector<std::string> qtArguments;

    // Unattended runs (--quit-after-start, --export-pdf) open no book of the last session.
    bool ReopensBooks() const { return !quitAfterStart && exportPdf.isEmpty(); }
};

// How the program ends without a window: the exit code and what to print,
// on standard output (help, version) or on standard error (a mistake, a file
// that cannot be read or written).
struct ProgramExit {
    int code = 0;
    QString text;
    bool toStandardError = false;

    static ProgramExit Mistake(const QString& text) { return {2, text, true}; }
    static ProgramExit FileProblem(const QString& text) { return {1, text, true}; }
};

// The command line read: the line to go on with, or how the program ends here.
struct ProgramCommandLineRead {
    ProgramCommandLine line;
    std::optional<ProgramExit> exit;
};

// Reads the command line without needing the application object.
ProgramCommandLineRead ParseProgramCommandLine(int argc, char** argv);

// The one place the program's early ends are printed. Returns the exit code:
// 1 instead of 0 when standard output could not take the text.
int PrintProgramExit(const ProgramExit& exit);

// Returns `code`, or 1 after one message on standard error when what was
// printed on standard output could not be written (a full disk, a closed pipe).
int FinishStandardOutput(int code);

} // namespace vellumar
