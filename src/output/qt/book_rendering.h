#pragma once
// A spellbook drawn by the page layout on the preview image or as a print job.

#include "model/spell_book.h"
#include "output/output_format.h"

#include <QImage>
#include <QSize>
#include <QString>

class QPrinter;

namespace vellumar {

// A new blank image of `size` with the book drawn on it: no page breaks, wrapped
// at the image's width; whatever falls outside is cut off. Blank without a book.
QImage RenderPreviewImage(QSize size, TSpellBook* book, const QString& caption,
                          const OutputFormat& format);

// Prints the book as one job on `printer` as it is set up (copies included):
// wrapped at the page width, with page breaks. False when the job could not start.
bool PrintBook(QPrinter& printer, TSpellBook& book, const QString& caption,
               const OutputFormat& format);

} // namespace vellumar
