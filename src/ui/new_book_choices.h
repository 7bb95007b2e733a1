#pragma once
// What the New Spellbook Parameters dialog hands to the window of a new book.

#include <QString>
#include <cstdint>

namespace vellumar {

struct NewBookChoices {
    int32_t casterLevel = 1;
    int32_t intelligence = 9;
    QString specialty;          // as the dialog's row shows it
    int32_t spellFrequency = 0; // a frequency code, 0 to -4
};

} // namespace vellumar
