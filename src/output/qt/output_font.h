#pragma once
// OutputFont as Qt sees it: the font for the preview image, for the printer and
// for the font dialog, and the way back from what the dialog chose.

#include "output/output_format.h"

#include <QColor>
#include <QFont>

namespace vellumar {

// The preview draws at the font's pixel height; the printer keeps its point
// size (the pixel height at 96 dots per inch) at the printer's own resolution.
enum class FontScale { Pixels, Points };

// "System" stands for the platform's general-purpose face.
QString OutputFontFamily(const OutputFont& font);
QFont ToQFont(const OutputFont& font, FontScale scale);
// The colour of the text on the page: black for the system's colour, pages being white.
QColor OutputFontColour(const OutputFont& font);
// Face, size and style of a font chosen in the font dialog; the colour stays.
void TakeChosenFont(const QFont& chosen, OutputFont& font);
// The colour chosen beside it; the system's text colour stays that as long as
// it is not changed, so that it follows the desktop's colours.
void TakeChosenColour(const QColor& chosen, OutputFont& font);

} // namespace vellumar
