#pragma once
// The usual styles show a focused list only by a faint frame round its current
// row, a text pane or a scrolled page not at all, and a tool button by a faint
// tint: a keyboard user loses the focus there. A ring in the scheme's highlight
// colour marks it, in light and dark schemes alike, in every window (Qt's own
// dialogs too).

class QObject;

namespace vellumar {

// Rings whichever list, text pane, scrolled page or tool button has the focus,
// for as long as `owner` lives.
void RingFocusedViews(QObject& owner);

} // namespace vellumar
