// What the spellbook window puts out: the spell file export, the clipboard
// copy, the printed pages, their preview and the PDF, and the spell card.
#include "model/spell_book.h"
#include "output/qt/print_preview_window.h"
#include "platform/qt/prompter.h"
#include "ui/spell_book_files.h"
#include "ui/spell_book_window.h"
#include "ui/spell_book_window_context.h"
#include "ui/spell_list_pane.h"
#include "ui/working_box.h"

#include <optional>

namespace vellumar {

void TfrmSpellBook::mnuExportSpellClick() {
    ExportSpells(context_, this, *book_);
}

void TfrmSpellBook::mnuCopytoClipboardClick() {
    CopyBookToClipboard(context_, *book_, caption_);
}

void TfrmSpellBook::ShowSpellText() {
    pane_->ShowCurrentText();
}

void TfrmSpellBook::mnuPrinterSetupClick() {
    context_.PrinterSetup();
}

// Over the book and caption the window holds whenever the preview asks.
std::unique_ptr<TfrmPrintPreview> TfrmSpellBook::MakePreview() {
    return MakeBookPreview(
        context_, this,
        [this] {
            return ActiveBook{book_.get(), caption_, &context_.MasterTexts()};
        },
        caption_);
}

void TfrmSpellBook::mnuPrintPreviewClick() {
    context_.Prompts().Exec(*MakePreview());
}

void TfrmSpellBook::mnuPrintClick() {
    // The box shows while a big book prints, not while the printer dialog does.
    std::optional<WorkingScope> working;
    const bool big = std::size_t(book_->Count()) > ManySpells;
    MakePreview()->PrintSpellbook([&](bool printing) {
        if (!printing)
            working.reset();
        else if (big)
            working.emplace(context_.Working(), QStringLiteral("Printing Spellbook"));
    });
}

void TfrmSpellBook::mnuExportPdfClick() {
    ExportBookAsPdf(context_, this, *book_, caption_);
}

} // namespace vellumar
