#pragma once
// Labels placed by hand at fixed widths, widened where the font in use needs
// more room: some fonts (DejaVu Sans, the common Linux default) run wider than
// the widths were drawn for. The same for a dialog's title.

class QWidget;

namespace vellumar {

// Widens each label on `window` whose text is wider than the label: a centred
// label about its centre, any other from its left edge. Never narrows one.
// Called when the window is shown, so that no font is loaded before.
void FitLabelsToText(QWidget& window);

// The width a window needs for its whole title in the title bar: the title in
// the title font, bold as window managers commonly draw it, and room for the
// icon and the buttons beside it. Measured when asked, so that no font is
// loaded before.
int TitleBarWidth(const QWidget& window);

} // namespace vellumar
