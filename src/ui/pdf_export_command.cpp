#include "ui/pdf_export_command.h"

#include "files/spell_file.h"
#include "library/spell_library.h"
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
    if (!line.master.isEmpty()) return ToPath(line.master);
    const ProgramSettings settings = ProgramSettings::In(SettingsFolder());
    return SpellLibrary(&settings).FilePath();
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
    const SpellTexts* texts = nullptr;
    SpellLibrary library;
    if (line.format.IncludeSpellTexts) {
        // A save of the list and its texts that was cut short is finished first.
        const LibraryLoad loaded = library.LoadTexts(CardTextsMaster(line));
        if (!loaded.finished)
            Warn(FromPath(loaded.path),
                 {"an interrupted save could not be finished: " + loaded.finished.Reason()});
        const QString path = FromPath(SpellLibrary::TextsPathOf(loaded.path));
        if (!loaded.texts)
            return ProgramExit::FileProblem(QStringLiteral("vellumar: cannot read '%1': %2\n")
                                                .arg(path, FileProblemText(loaded.texts)));
        Warn(path, loaded.texts.Warnings(), WarningText::Utf8);
        texts = &library.Texts();
    }
    // The same page and resolution the Print command starts with.
    const QPrinter printer(QPrinter::HighResolution);
    const FileStatus written =
        ExportBookPdf(line.output, printer.pageLayout(), printer.resolution(), *book, line.caption,
                      line.format, texts);
    if (!written)
        return ProgramExit::FileProblem(QStringLiteral("vellumar: cannot write '%1': %2\n")
                                            .arg(line.output, FileProblemText(written)));
    Warn(line.output, written.Warnings());
    return {};
}

} // namespace vellumar
