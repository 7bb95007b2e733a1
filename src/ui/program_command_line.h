#pragma once
// The desktop program's command line: vellumar [--seed N] [--quit-after-start] [BOOK ...],
// or vellumar --export-pdf BOOK --output F [format options], which opens no window.

#include "output/output_format.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

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
};

// Reads the command line without needing the application object. Help and
// version go to standard output, mistakes to standard error; returns the exit
// code when the program ends here (0, or 2 for a mistake).
std::optional<int> ParseProgramCommandLine(int argc, char** argv, ProgramCommandLine& line);

} // namespace vellumar
