#include "ui/pdf_export_command.h"

#include "files/paired_write.h"
#include "files/spell_file.h"
#include "files/spell_texts_file.h"
#include "output/qt/book_rendering.h"
#include "platform/program_folder.h"
#include "platform/program_settings.h"
#include "platform/qt/file_problem.h"
#include "platform/qt/text_conversion.h"

#include <QFile>
#include <QPrinter>
#include <cstdio>

namespace vellumar {
namespace {

// The master list whose companion holds the cards' texts: --master, or the
// master list the program uses.
std::string CardTextsMaster(const ProgramCommandLine& line) {
    return !line.master.isEmpty() ? ToPath(line.master)
                                  : ProgramSettings::In(SettingsFolder()).LocateMasterFile().path;
}

// What a reader left out or the writer could not keep, said as the
// command-line tool says it; the export goes on. The warnings of the spell
// texts, a JSON file, quote it in UTF-8; the others are in the files' code page.
enum class WarningText { CodePage, Utf8 };
void Warn(const QString& file, const std::vector<std::string>& warnings,
          WarningText text = WarningText::CodePage) {
    for (const std::string& warning : warnings)
        std::fprintf(
            stderr, "vellumar: warning: %s: %s\n", QFile::encodeName(file).constData(),
            (text == WarningText::Utf8 ? QString::fromStdString(warning) : ToQString(warning))
                .toLocal8Bit()
                .constData());
}

} // namespace

ProgramExit RunPdfExport(const ProgramCommandLine& line) {
    FileResult<TSpellBook> read = ReadSpellbookFile(ToPath(line.exportPdf));
    if (!read)
        return ProgramExit::FileProblem(QStringLiteral("vellumar: cannot read '%1': %2\n")
                                            .arg(line.exportPdf, FileProblemText(read.Status())));
    Warn(line.exportPdf, read.Warnings());
    const std::unique_ptr<TSpellBook> book = read.Take();
    // A missing companion reads as no texts: the book is written without cards.
    std::unique_ptr<SpellTexts> texts;
    if (line.format.IncludeSpellTexts) {
        const std::string master = CardTextsMaster(line);
        const QString path = FromPath(CompanionTextsPath(master));
        // A save of the list and its texts that was cut short is finished first.
        if (const FileStatus finished = FinishPairedWrite(master, CompanionTextsPath(master));
            !finished)
            Warn(FromPath(master),
                 {"an interrupted save could not be finished: " + finished.Reason()});
        FileResult<SpellTexts> readTexts = ReadSpellTexts(ToPath(path));
        if (!readTexts)
            return ProgramExit::FileProblem(QStringLiteral("vellumar: cannot read '%1': %2\n")
                                                .arg(path, FileProblemText(readTexts.Status())));
        Warn(path, readTexts.Warnings(), WarningText::Utf8);
        texts = readTexts.Take();
    }
    // The same page and resolution the Print command starts with.
    const QPrinter printer(QPrinter::HighResolution);
    const FileStatus written =
        ExportBookPdf(line.output, printer.pageLayout(), printer.resolution(), *book, line.caption,
                      line.format, texts.get());
    if (!written)
        return ProgramExit::FileProblem(QStringLiteral("vellumar: cannot write '%1': %2\n")
                                            .arg(line.output, FileProblemText(written)));
    Warn(line.output, written.Warnings());
    return {};
}

} // namespace vellumar
