#pragma once
// Where a dialog opens: centred on the screen, or over the window it serves.
// Both size the dialog first, since a dialog laid out by its layout has no
// final size until then.

class QWidget;

namespace vellumar {

void CentreOnScreen(QWidget& dialog);
// Over `over`'s window area, kept on the screen.
void CentreOver(QWidget& dialog, const QWidget& over);

} // namespace vellumar
