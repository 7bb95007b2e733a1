#pragma once
// Moving the keyboard focus as a user does, so that the windows hear of it the
// way they do on a desktop: the window must be the active one first.

class QWidget;

namespace vellumar {
class TfrmSpellBook;
}

namespace vellumar::test {

// Activates the widget's window and gives the widget the focus; false when the
// platform would not activate the window.
bool GiveFocus(QWidget* widget);
// Types nothing; puts the focus into the specialty box and then moves it on to
// the next control of the same window, as Tab does.
bool LeaveSpecialtyBox(TfrmSpellBook& window);

} // namespace vellumar::test
