#include "output/qt/book_rendering.h"

#include "output/page_layout.h"
#include "platform/qt/text_conversion.h"
#include "output/qt/qt_canvas.h"

#include <QPainter>
#include <QPrinter>

namespace vellumar {

QImage RenderPreviewImage(QSize size, TSpellBook* book, const QString& caption,
                          const OutputFormat& format) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (book) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        QtCanvas canvas(painter, FontScale::Pixels);
        RenderSpellbook(canvas, *book, FromQString(caption), format,
                        LayoutParams::Preview(canvas));
    }
    return image;
}

bool PrintBook(QPrinter& printer, TSpellBook& book, const QString& caption,
               const OutputFormat& format) {
    printer.setDocName(caption);
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    QtCanvas canvas(painter, FontScale::Points, &printer);
    RenderSpellbook(canvas, book, FromQString(caption), format, LayoutParams::Print(canvas));
    return painter.end();
}

} // namespace vellumar
