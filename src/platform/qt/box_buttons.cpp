#include "platform/qt/box_buttons.h"

#include <algorithm>
#include <array>
#include <optional>

namespace vellumar {
namespace {

struct ButtonSet {
    BoxButtons buttons;
    std::array<Answer, 4> answers;
    size_t count;
    Answer unanswered;
    // The button Enter presses, where the box must not leave it to the style.
    std::optional<Answer> preset = std::nullopt;
};

constexpr std::array<ButtonSet, 6> ButtonSets{{
    {BoxButtons::Ok, {Answer::Ok}, 1, Answer::Ok},
    {BoxButtons::OkCancel, {Answer::Ok, Answer::Cancel}, 2, Answer::Cancel},
    {BoxButtons::YesNo, {Answer::Yes, Answer::No}, 2, Answer::No},
    {BoxButtons::YesNoCancel, {Answer::Yes, Answer::No, Answer::Cancel}, 3, Answer::Cancel},
    {BoxButtons::YesNoDefaultNo, {Answer::Yes, Answer::No}, 2, Answer::No, Answer::No},
    {BoxButtons::OkCancelAll,
     {Answer::Ok, Answer::OkToAll, Answer::Cancel, Answer::CancelAll},
     4,
     Answer::CancelAll},
}};

const ButtonSet& SetOf(BoxButtons buttons) {
    const auto* found =
        std::find_if(ButtonSets.begin(), ButtonSets.end(),
                     [buttons](const ButtonSet& set) { return set.buttons == buttons; });
    return found != ButtonSets.end() ? *found : ButtonSets.front();
}

} // namespace

std::span<const Answer> AnswersOf(BoxButtons buttons) {
    const ButtonSet& set = SetOf(buttons);
    return {set.answers.data(), set.count};
}

Answer UnansweredAnswer(BoxButtons buttons) {
    return SetOf(buttons).unanswered;
}

std::optional<Answer> DefaultAnswer(BoxButtons buttons) {
    return SetOf(buttons).preset;
}

} // namespace vellumar
