#pragma once
// What each set of message box buttons can answer, for every Prompter alike.

#include "platform/qt/prompter.h"

#include <optional>
#include <span>

namespace vellumar {

// The answers of the buttons, in the order the buttons stand.
std::span<const Answer> AnswersOf(BoxButtons buttons);
// The answer of a box nobody answers (closed by its title bar, or shown with
// nobody there): the one that changes nothing.
Answer UnansweredAnswer(BoxButtons buttons);
// The answer of the default button, where the set fixes one (Enter must not
// answer Yes to a question whose Yes loses data).
std::optional<Answer> DefaultAnswer(BoxButtons buttons);

} // namespace vellumar
