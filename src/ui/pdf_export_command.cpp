#include "ui/pdf_export_command.h"

#include "files/spell_file.h"
#include "output/qt/book_rendering.h"
#include "platform/qt/file_problem.h"
#include "platform/qt/text_conversion.h"

#include <QPrinter>
#include <cstdio>

namespace vellumar {

int RunPdfExport(const ProgramCommandLine& line) {
    FileResult<TSpellBook> read = ReadSpellbookFile(ToPath(line.exportPdf));
    if (!read) {
        std::fprintf(stderr, "vellumar: cannot read '%s': %s\n", qPrintable(line.exportPdf),
                     qPrintable(FileProblemText(read.Status())));
        return 1;
    }
    const std::unique_ptr<TSpellBook> book = read.Take();
    // The same page and resolution the Print command starts with.
    const QPrinter printer(QPrinter::HighResolution);
    const FileStatus written = ExportBookPdf(
        line.output, printer.pageLayout(), printer.resolution(), *book, line.caption, line.format);
    if (!written) {
        std::fprintf(stderr, "vellumar: cannot write '%s': %s\n", qPrintable(line.output),
                     qPrintable(FileProblemText(written)));
        return 1;
    }
    return 0;
}

} // namespace vellumar
