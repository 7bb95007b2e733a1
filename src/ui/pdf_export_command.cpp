#include "ui/pdf_export_command.h"

#include "files/spell_file.h"
#include "output/qt/book_rendering.h"
#include "platform/qt/file_problem.h"
#include "platform/qt/text_conversion.h"

#include <QPrinter>

namespace vellumar {

ProgramExit RunPdfExport(const ProgramCommandLine& line) {
    FileResult<TSpellBook> read = ReadSpellbookFile(ToPath(line.exportPdf));
    if (!read)
        return ProgramExit::FileProblem(QStringLiteral("vellumar: cannot read '%1': %2\n")
                                            .arg(line.exportPdf, FileProblemText(read.Status())));
    const std::unique_ptr<TSpellBook> book = read.Take();
    // The same page and resolution the Print command starts with.
    const QPrinter printer(QPrinter::HighResolution);
    const FileStatus written = ExportBookPdf(
        line.output, printer.pageLayout(), printer.resolution(), *book, line.caption, line.format);
    if (!written)
        return ProgramExit::FileProblem(QStringLiteral("vellumar: cannot write '%1': %2\n")
                                            .arg(line.output, FileProblemText(written)));
    return {};
}

} // namespace vellumar
