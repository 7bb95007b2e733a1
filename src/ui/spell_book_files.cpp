#include "ui/spell_book_files.h"

#include "files/spell_file.h"
#include "model/spell_book.h"
#include "output/qt/book_rendering.h"
#include "output/qt/clipboard_copy.h"
#include "platform/qt/file_problem.h"
#include "platform/qt/prompter.h"
#include "platform/qt/text_conversion.h"
#include "ui/spell_book_window_context.h"
#include "ui/working_box.h"

#include <QFileInfo>
#include <QPrinter>

#include <memory>
#include <optional>

namespace vellumar {

std::unique_ptr<TSpellBook> AskSpellsToImport(SpellBookWindowContext& context, QWidget* parent) {
    FileDialogSpec request;
    request.title = QStringLiteral("Import Spells");
    // The lower-case "spellbook Files" is intended, as the classic filter has it.
    request.filter = QStringLiteral(
        "*.SPB (spellbook Files)|*.spb|*.DAT (data files)|*.dat|*.* (all files)|*.*");
    request.directory = context.DataDirectory();
    request.mustExist = true;
    const QString path = context.Prompts().OpenFile(parent, request);
    if (path.isEmpty()) return nullptr;
    auto read = ReadSpellList(ToPath(path));
    if (read.Missing()) return nullptr; // gone since it was chosen: nothing to read
    if (!read) {
        // Nothing of the file has been offered yet: the book is as it was.
        context.Prompts().Message(parent, BoxKind::Error, BoxButtons::Ok,
                                  QStringLiteral("Error Reading Spell File\r\n") + path, QString(),
                                  FileProblemText(read.Status()));
        return nullptr;
    }
    ReportLinesLeftOut(context.Prompts(), parent, path, read.Warnings());
    return read.Take();
}

void ExportSpells(SpellBookWindowContext& context, QWidget* parent, TSpellBook& book) {
    FileDialogSpec request;
    request.title = QStringLiteral("Export Spells");
    request.filter = QStringLiteral("*.DAT (data files)|*.DAT|*.* (all files)|*.*");
    request.directory = context.DataDirectory();
    request.confirmOverwrite = true;
    const QString path = context.Prompts().SaveFile(parent, request);
    if (path.isEmpty()) return;
    const FileStatus written = WriteSpellList(book, ToPath(path));
    if (!written)
        context.Prompts().Message(parent, BoxKind::Error, BoxButtons::Ok,
                                  QStringLiteral("Error Writing Spell File\r\n") + path, QString(),
                                  FileProblemText(written));
    ReportSavedWithWarnings(context.Prompts(), parent, path, written);
}

void CopyBookToClipboard(SpellBookWindowContext& context, TSpellBook& book,
                         const QString& caption) {
    TfrmWorking& working = context.Working();
    CopySpellbookToClipboard(
        context.Prompts(), context.PrintFormat(), context.Output(), book, caption,
        [&working] { working.Begin(QStringLiteral("Copying to Clipboard")); },
        [&working] { working.End(); }, &context.MasterTexts());
}

std::unique_ptr<TfrmPrintPreview> MakeBookPreview(SpellBookWindowContext& context, QWidget* parent,
                                                  std::function<ActiveBook()> activeBook,
                                                  const QString& caption) {
    // The box shows while the pages of a big book are laid out.
    auto layingOut = [&context, activeBook,
                      working = std::make_shared<std::optional<WorkingScope>>()](bool on) {
        const ActiveBook active = activeBook();
        if (!on)
            working->reset();
        else if (active.book && std::size_t(active.book->Count()) > ManyCards)
            working->emplace(context.Working(), QStringLiteral("Laying Out Pages"));
    };
    auto preview = std::make_unique<TfrmPrintPreview>(
        context.Prompts(), context.Output(), context.PrintFormat(), context.Printer(),
        std::move(activeBook), [&context] { context.PrinterSetup(); }, parent);
    preview->SetSuggestedPdf(SuggestedPdfPath(caption, context.DataDirectory()));
    preview->SetLayingOut(std::move(layingOut));
    return preview;
}

void ExportBookAsPdf(SpellBookWindowContext& context, QWidget* parent, TSpellBook& book,
                     const QString& caption) {
    FileDialogSpec request;
    request.title = QStringLiteral("Export as PDF");
    request.filter = QStringLiteral("*.pdf (PDF files)|*.pdf|*.* (all files)|*.*");
    request.defaultSuffix = QStringLiteral("pdf");
    const QString suggested = SuggestedPdfPath(caption, context.DataDirectory());
    request.directory = QFileInfo(suggested).absolutePath();
    request.fileName = QFileInfo(suggested).fileName();
    request.confirmOverwrite = true;
    const QString path = context.Prompts().SaveFile(parent, request);
    if (path.isEmpty()) return;
    const QPrinter& printer = context.Printer();
    FileStatus written;
    {
        // Gone before any box about the file.
        const WorkingScope working(context.Working(), QStringLiteral("Writing PDF File"),
                                   std::size_t(book.Count()) > ManySpells);
        written = ExportBookPdf(path, printer.pageLayout(), printer.resolution(), book, caption,
                                context.Output(), &context.MasterTexts());
    }
    if (!written)
        context.Prompts().Message(parent, BoxKind::Error, BoxButtons::Ok,
                                  QStringLiteral("Error Writing PDF File\r\n") + path, QString(),
                                  FileProblemText(written));
    ReportSavedWithWarnings(context.Prompts(), parent, path, written);
}

bool WriteBookFile(SpellBookWindowContext& context, QWidget* parent, TSpellBook& book,
                   const QString& path) {
    const FileStatus written = WriteSpellbookFile(book, ToPath(path));
    if (!written) {
        // The old file is untouched and the changes are still only here.
        context.Prompts().Message(parent, BoxKind::Error, BoxButtons::Ok,
                                  QStringLiteral("Error Writing Spellbook File\r\n") + path,
                                  QString(), FileProblemText(written));
        return false;
    }
    ReportSavedWithWarnings(context.Prompts(), parent, path, written);
    return true;
}

QString AskSaveAsPath(SpellBookWindowContext& context, QWidget* parent, const QString& caption,
                      bool untitled) {
    FileDialogSpec request;
    request.title = QStringLiteral("Save Spellbook");
    request.filter = QStringLiteral("*.SPB (Spellbook Files)|*.spb|*.* (All Files)|*.*");
    request.defaultSuffix = QStringLiteral("spb");
    // Another book of the same name would be lost with one click.
    request.confirmOverwrite = true;
    if (!untitled) {
        const QFileInfo file(caption);
        request.directory = file.absolutePath();
        request.fileName = file.fileName();
    } else {
        request.directory = context.DataDirectory();
    }
    return context.Prompts().SaveFile(parent, request);
}

} // namespace vellumar
