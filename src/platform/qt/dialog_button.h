#pragma once
// A button that opens a dialog. Clicked, a button takes the keyboard focus and
// keeps it when the dialog closes, so the user's next keys land on it (Space
// opens the dialog again) instead of where they were typing.

#include <QAbstractButton>

namespace vellumar {

// A click leaves the focus where it was, and the dialog gives it back there;
// Tab still stops at the button, and Space or the access key opens it as ever.
inline void OpensDialog(QAbstractButton& button) {
    button.setFocusPolicy(Qt::TabFocus);
}

} // namespace vellumar
