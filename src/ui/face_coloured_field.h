#pragma once
// A read-only field or list drawn on the window's face colour instead of the
// usual white, in whatever colour scheme the desktop has, light or dark.

class QWidget;

namespace vellumar {

// Gives `field` the face colour of the current scheme as its background, with
// the scheme's matching text colour, and follows later changes of the scheme.
void ColourAsFace(QWidget& field);

} // namespace vellumar
