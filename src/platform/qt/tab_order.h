#pragma once
// Keeping Tab in reading order: chaining a window's controls, and letting a
// group of radio buttons be one stop, its chosen button (arrows move inside).

#include <initializer_list>

class QButtonGroup;
class QWidget;

namespace vellumar {

// Tab goes from each control to the next, in the order given.
void ChainTabOrder(std::initializer_list<QWidget*> controls);

// Tab reaches only the chosen button of the group, also before any of them
// had the focus (Qt alone would stop at the first button then).
void TabToCheckedButton(QButtonGroup& group);

} // namespace vellumar
