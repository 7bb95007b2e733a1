#include "output/qt/book_rendering.h"

#include "files/safe_write.h"
#include "output/page_copies.h"
#include "output/page_layout.h"
#include "output/page_recording.h"
#include "output/qt/qt_canvas.h"
#include "platform/qt/text_conversion.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace vellumar {
namespace {

// The book's pages as a print job has them, on a painter begun on `pages`:
// wrapped at the page width, with page breaks, `copies` times over.
void DrawPages(QPainter& painter, QPagedPaintDevice& pages, int resolution, int copies,
               bool collate, TSpellBook& book, const QString& caption, const OutputFormat& format,
               const SpellTexts* texts) {
    QtCanvas canvas(painter, FontScale::Points, &pages);
    const LayoutParams params = LayoutParams::Print(canvas, resolution);
    const std::string text = FromQString(caption);
    RenderCopies(canvas, copies, collate, [&](Canvas& surface) {
        RenderSpellbook(surface, book, text, format, params, texts);
    });
}

} // namespace

QImage RenderPreviewImage(QSize size, TSpellBook* book, const QString& caption,
                          const OutputFormat& format, const SpellTexts* texts) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (book) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        QtCanvas canvas(painter, FontScale::Pixels);
        RenderSpellbook(canvas, *book, FromQString(caption), format, LayoutParams::Preview(canvas),
                        texts);
    }
    return image;
}

FileStatus PrintBook(QPrinter& printer, TSpellBook& book, const QString& caption,
                     const OutputFormat& format, const SpellTexts* texts) {
    printer.setDocName(caption);
    QPainter painter;
    if (!painter.begin(&printer))
        return {FileFailure::CannotOpen, "The print job could not be started."};
    // A printer that makes its copies itself gets one; PDF output and some
    // printers do not, so the copies are drawn here.
    const int copies = printer.supportsMultipleCopies() ? 1 : printer.copyCount();
    DrawPages(painter, printer, printer.resolution(), copies, printer.collateCopies(), book,
              caption, format, texts);
    if (!painter.end()) return {FileFailure::CannotWrite, "The print job could not be finished."};
    return {};
}

FileStatus ExportBookPdf(const QString& path, const QPageLayout& layout, int resolution,
                         TSpellBook& book, const QString& caption, const OutputFormat& format,
                         const SpellTexts* texts) {
    // Drawn into memory first, so that the file is written by the one careful writer.
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setTitle(caption);
        writer.setCreator(QCoreApplication::applicationName());
        writer.setResolution(resolution);
        writer.setPageLayout(layout);
        QPainter painter;
        if (!painter.begin(&writer))
            return {FileFailure::CannotWrite, "The PDF file could not be started."};
        DrawPages(painter, writer, resolution, 1, false, book, caption, format, texts);
        if (!painter.end())
            return {FileFailure::CannotWrite, "The PDF file could not be finished."};
    }
    return WriteFileAtomically(ToPath(path),
                               std::string_view(bytes.constData(), size_t(bytes.size())));
}

RecordedPages LayOutPrintedPages(const QPageLayout& layout, int resolution, TSpellBook& book,
                                 const QString& caption, const OutputFormat& format,
                                 const SpellTexts* texts) {
    // Measured on a PDF page in memory: Qt prints through the same PDF engine,
    // so text takes the same room as on a printer of that resolution.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(resolution);
    writer.setPageLayout(layout);
    QPainter painter;
    RecordedPages pages;
    if (!painter.begin(&writer)) return pages;
    {
        QtCanvas measure(painter, FontScale::Points);
        PageRecorder recorder(measure);
        RenderSpellbook(recorder, book, FromQString(caption), format,
                        LayoutParams::Print(recorder, resolution), texts);
        pages = recorder.Take();
    }
    painter.end();
    return pages;
}

QImage RenderPageImage(const RecordedPages& pages, int page, const QPageLayout& layout,
                       int resolution, double scale) {
    const QRect paper = layout.fullRectPixels(resolution);
    const QRect printable = layout.paintRectPixels(resolution);
    QImage image(QSize(std::max(1, int(std::lround(paper.width() * scale))),
                       std::max(1, int(std::lround(paper.height() * scale)))),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    // Fonts keep their point size at the printer's resolution, as in print,
    // and the whole page is then made smaller.
    constexpr double InchesPerMeter = 1 / 0.0254;
    image.setDotsPerMeterX(int(std::lround(resolution * InchesPerMeter)));
    image.setDotsPerMeterY(int(std::lround(resolution * InchesPerMeter)));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    painter.translate(printable.topLeft() - paper.topLeft());
    QtCanvas canvas(painter, FontScale::Points);
    pages.Draw(page, canvas);
    return image;
}

QString SuggestedPdfPath(const QString& caption, const QString& folder) {
    // Captions of books made elsewhere may carry either separator.
    QString name = caption.mid(
        std::max(caption.lastIndexOf(QLatin1Char('/')), caption.lastIndexOf(QLatin1Char('\\'))) +
        1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0) name.truncate(dot);
    if (name.isEmpty()) name = QStringLiteral("untitled");
    const QDir dir = folder.isEmpty() ? QDir::current() : QDir(folder);
    return dir.filePath(name + QStringLiteral(".pdf"));
}

void SuggestPdfFile(QPrinter& printer, const QString& path) {
    // The dialog makes its own suggestion from the job's name when PDF is chosen in it.
    printer.setDocName(QFileInfo(path).completeBaseName());
    if (printer.outputFormat() == QPrinter::PdfFormat) printer.setOutputFileName(path);
}

} // namespace vellumar
