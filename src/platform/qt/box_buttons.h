#pragma once
// What each set of message box buttons can answer, for every Prompter alike.

#include "platform/qt/prompter.h"

#include <span>

namespace vellumar {

// The answers of the buttons, in the order the buttons stand.
std::span<const Answer> AnswersOf(BoxButtons buttons);
// The answer of a box nobody answers (closed by its title bar, or shown with
// nobody there): the one that changes nothing.
Answer UnansweredAnswer(BoxButtons buttons);

} // namespace vellumar
