#pragma once
// The file and output commands of a spellbook window, as functions over what
// each one uses: the book, its caption and the program's context. The window
// keeps only what changes its own state (the caption, the modified mark).

#include "output/qt/print_preview_window.h"

#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace vellumar {

class SpellBookWindowContext;
class TSpellBook;

// Import Spells: asks for a spell file and reads it. None when the user
// cancelled, the file is gone, or it could not be read (after the error box).
std::unique_ptr<TSpellBook> AskSpellsToImport(SpellBookWindowContext& context, QWidget* parent);

// Export Spell: writes the book's spells as a spell list to a file the user names.
void ExportSpells(SpellBookWindowContext& context, QWidget* parent, TSpellBook& book);

// Copy to Clipboard with the "Working..." box.
void CopyBookToClipboard(SpellBookWindowContext& context, TSpellBook& book, const QString& caption);

// A print preview owned by `parent`, over the book and caption the window
// holds when the preview asks; `caption` names the suggested PDF file.
std::unique_ptr<TfrmPrintPreview> MakeBookPreview(SpellBookWindowContext& context, QWidget* parent,
                                                  std::function<ActiveBook()> activeBook,
                                                  const QString& caption);

// Export as PDF: the book's pages as Print would lay them out, into a file
// the user names, with no print dialog.
void ExportBookAsPdf(SpellBookWindowContext& context, QWidget* parent, TSpellBook& book,
                     const QString& caption);

// Writes the book to its file; a failure is told in an error box, and the
// old file and the book's changes stay.
bool WriteBookFile(SpellBookWindowContext& context, QWidget* parent, TSpellBook& book,
                   const QString& path);

// Save As's file dialog, starting at the book's own file (or the data
// directory for an untitled book); empty when cancelled.
QString AskSaveAsPath(SpellBookWindowContext& context, QWidget* parent, const QString& caption,
                      bool untitled);

} // namespace vellumar
