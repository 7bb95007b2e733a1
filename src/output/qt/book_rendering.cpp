#include "output/qt/book_rendering.h"

#include "output/page_copies.h"
#include "output/page_layout.h"
#include "output/qt/qt_canvas.h"
#include "platform/qt/text_conversion.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

#include <algorithm>

namespace vellumar {

QImage RenderPreviewImage(QSize size, TSpellBook* book, const QString& caption,
                          const OutputFormat& format) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (book) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        QtCanvas canvas(painter, FontScale::Pixels);
        RenderSpellbook(canvas, *book, FromQString(caption), format, LayoutParams::Preview(canvas));
    }
    return image;
}

bool PrintBook(QPrinter& printer, TSpellBook& book, const QString& caption,
               const OutputFormat& format) {
    printer.setDocName(caption);
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    QtCanvas canvas(painter, FontScale::Points, &printer);
    const LayoutParams params = LayoutParams::Print(canvas, printer.resolution());
    const std::string text = FromQString(caption);
    // A printer that makes its copies itself gets one; PDF output and some
    // printers do not, so the copies are drawn here.
    const int copies = printer.supportsMultipleCopies() ? 1 : printer.copyCount();
    RenderCopies(canvas, copies, printer.collateCopies(),
                 [&](Canvas& surface) { RenderSpellbook(surface, book, text, format, params); });
    return painter.end();
}

QString ExportBookPdf(const QString& path, const QPageLayout& layout, int resolution,
                      TSpellBook& book, const QString& caption, const OutputFormat& format) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    {
        QPdfWriter writer(&file);
        writer.setTitle(caption);
        writer.setCreator(QCoreApplication::applicationName());
        writer.setResolution(resolution);
        writer.setPageLayout(layout);
        QPainter painter;
        if (!painter.begin(&writer)) return QStringLiteral("The PDF file could not be started.");
        QtCanvas canvas(painter, FontScale::Points, &writer);
        RenderSpellbook(canvas, book, FromQString(caption), format,
                        LayoutParams::Print(canvas, resolution));
        if (!painter.end()) return QStringLiteral("The PDF file could not be finished.");
    }
    if (!file.commit()) return file.errorString();
    return {};
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
