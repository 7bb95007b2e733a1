#include "output/qt/output_font.h"

#include "platform/qt/text_conversion.h"

#include <QFontDatabase>

#include <cmath>

namespace vellumar {

namespace {
// OutputFont heights are pixels at the classic screen resolution.
constexpr double ScreenDpi = 96.0;
constexpr double PointsPerInch = 72.0;
} // namespace

QString OutputFontFamily(const OutputFont& font) {
    if (font.Face.empty() ||
        QString::fromLatin1(font.Face).compare("System", Qt::CaseInsensitive) == 0)
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    return ToQString(font.Face);
}

QFont ToQFont(const OutputFont& font, FontScale scale) {
    QFont qfont(OutputFontFamily(font));
    const int height = font.Height > 0 ? font.Height : 1;
    if (scale == FontScale::Pixels)
        qfont.setPixelSize(height);
    else
        qfont.setPointSizeF(height * PointsPerInch / ScreenDpi);
    qfont.setBold(font.Bold);
    qfont.setItalic(font.Italic);
    qfont.setUnderline(font.Underline);
    qfont.setStrikeOut(font.StrikeOut);
    return qfont;
}

QColor OutputFontColour(const OutputFont& font) {
    // Pages are white, on screen as on paper: the scheme's text colour, light
    // in a dark scheme, would vanish there.
    if (font.SystemTextColour) return QColor(Qt::black);
    return QColor::fromRgb(QRgb(font.Colour & 0xFFFFFFu));
}

void TakeChosenFont(const QFont& chosen, OutputFont& font) {
    font.Face = FromQString(chosen.family());
    if (chosen.pointSizeF() > 0)
        font.Height = int(std::lround(chosen.pointSizeF() * ScreenDpi / PointsPerInch));
    else if (chosen.pixelSize() > 0)
        font.Height = chosen.pixelSize();
    if (font.Height < 1) font.Height = 1;
    font.Bold = chosen.bold();
    font.Italic = chosen.italic();
    font.Underline = chosen.underline();
    font.StrikeOut = chosen.strikeOut();
}

void TakeChosenColour(const QColor& chosen, OutputFont& font) {
    if (!chosen.isValid() || chosen == OutputFontColour(font)) return;
    font.SystemTextColour = false;
    font.Colour = chosen.rgb() & 0xFFFFFFu;
}

} // namespace vellumar
