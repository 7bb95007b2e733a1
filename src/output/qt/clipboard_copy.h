#pragma once
// Copy to Clipboard: the Output Format dialog, then the book's plain text.

#include "model/spell_book.h"
#include "model/spell_text.h"
#include "output/output_format.h"

#include <QString>

#include <functional>

namespace vellumar {

class Prompter;
class TfrmPrintFormat;

// Shows `formatDialog` through the prompter. On OK shows the working box
// ("Copying to Clipboard"), replaces the clipboard's content with the book's
// text (every line followed by CR LF) and hides the box again; true then.
// On Cancel copies nothing, leaves the clipboard as it was and shows no box.
// `caption` is the spellbook window's caption; `texts` (the master list's)
// give the cards when the format asks for spell texts.
bool CopySpellbookToClipboard(Prompter& prompter, TfrmPrintFormat& formatDialog,
                              OutputFormat& format, TSpellBook& book, const QString& caption,
                              const std::function<void()>& showWorking,
                              const std::function<void()>& hideWorking,
                              const SpellTexts* texts = nullptr);

} // namespace vellumar
