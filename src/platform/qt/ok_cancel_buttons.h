#pragma once
// The OK and Cancel buttons of a dialog laid out by hand: named "bnOK" and
// "bnCancel", OK the default button, each closing the dialog with its answer.
// The dialog places them.

#include <tuple> // std::tie at the call
#include <utility>

class QDialog;
class QPushButton;

namespace vellumar {

// OK and Cancel, in that order.
std::pair<QPushButton*, QPushButton*> AddOkCancelButtons(QDialog& dialog);

} // namespace vellumar
