#include "output/qt/qt_canvas.h"

#include "platform/qt/text_conversion.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>

namespace vellumar {

QtCanvas::QtCanvas(QPainter& painter, FontScale scale, QPagedPaintDevice* pages)
    : painter_(painter), scale_(scale), pages_(pages) {}

void QtCanvas::SetFont(const OutputFont& font) {
    painter_.setFont(ToQFont(font, scale_));
    painter_.setPen(OutputFontColour(font));
}

void QtCanvas::SetUnderline(bool on) {
    QFont font = painter_.font();
    font.setUnderline(on);
    painter_.setFont(font);
}

int QtCanvas::TextWidth(std::string_view text) {
    return painter_.fontMetrics().horizontalAdvance(ToQString(text));
}

int QtCanvas::TextHeight(std::string_view) {
    // The height of a line of the font, whatever the letters.
    return painter_.fontMetrics().height();
}

void QtCanvas::DrawText(int x, int y, std::string_view text) {
    painter_.drawText(QPoint(x, y + painter_.fontMetrics().ascent()), ToQString(text));
}

void QtCanvas::NewPage() {
    if (pages_) pages_->newPage();
}

int QtCanvas::PageWidth() const {
    return painter_.device()->width();
}

int QtCanvas::PageHeight() const {
    return painter_.device()->height();
}

} // namespace vellumar
