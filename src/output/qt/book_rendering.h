#pragma once
// A spellbook drawn by the page layout on the preview image or as a print job.

#include "files/file_result.h"
#include "model/spell_book.h"
#include "model/spell_text.h"
#include "output/output_format.h"
#include "output/page_recording.h"

#include <QImage>
#include <QSize>
#include <QString>

class QPageLayout;
class QPrinter;

namespace vellumar {

// `texts` (the master list's; none for no cards) give the spells' cards when
// the format asks for spell texts.

// A new blank image of `size` with the book drawn on it: no page breaks, wrapped
// at the image's width; whatever falls outside is cut off. Blank without a book.
QImage RenderPreviewImage(QSize size, TSpellBook* book, const QString& caption,
                          const OutputFormat& format, const SpellTexts* texts = nullptr);

// Prints the book as one job on `printer` as it is set up: wrapped at the page
// width, with page breaks, and as many copies as asked for, drawn here when the
// printer cannot make them. Fails when the job could not start or finish.
FileStatus PrintBook(QPrinter& printer, TSpellBook& book, const QString& caption,
                     const OutputFormat& format, const SpellTexts* texts = nullptr);

// Writes the book's pages as PrintBook would, one copy, into a PDF file at
// `path` with the page layout and resolution given (those of the printer as it
// is set up). The pages are drawn in memory and saved by WriteFileAtomically,
// so the old file survives every failure, a full disk included.
FileStatus ExportBookPdf(const QString& path, const QPageLayout& layout, int resolution,
                         TSpellBook& book, const QString& caption, const OutputFormat& format,
                         const SpellTexts* texts = nullptr);

// The book's pages laid out as PrintBook lays them out on a printer of this
// page layout and resolution (one copy), kept to be drawn one at a time.
RecordedPages LayOutPrintedPages(const QPageLayout& layout, int resolution, TSpellBook& book,
                                 const QString& caption, const OutputFormat& format,
                                 const SpellTexts* texts = nullptr);

// Page `page` of `pages` on a new white image of the whole sheet, margins
// included, `scale` times the size it has at `resolution` (the screen's dots
// per inch over the printer's shows it at its size on paper).
QImage RenderPageImage(const RecordedPages& pages, int page, const QPageLayout& layout,
                       int resolution, double scale);

// Where a book's PDF goes unless the user says otherwise: its caption's base
// name (without folder and extension, "untitled" for a new book) plus ".pdf", in `folder`.
QString SuggestedPdfPath(const QString& caption, const QString& folder);

// Presets the file of the print dialog's PDF output to `path`, when the printer
// writes PDF (as it does with no printer installed); a real printer stays chosen.
// The job's name becomes the file's base name either way.
void SuggestPdfFile(QPrinter& printer, const QString& path);

} // namespace vellumar
