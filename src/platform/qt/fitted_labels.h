#pragma once
// Labels placed by hand at fixed widths, widened where the font in use needs
// more room: some fonts (DejaVu Sans, the common Linux default) run wider than
// the widths were drawn for.

class QWidget;

namespace vellumar {

// Widens each label on `window` whose text is wider than the label: a centred
// label about its centre, any other from its left edge. Never narrows one.
// Called when the window is shown, so that no font is loaded before.
void FitLabelsToText(QWidget& window);

} // namespace vellumar
