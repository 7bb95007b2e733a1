#pragma once
// The Scroll Spells dialog: how many spells of each level a scroll takes from
// its source book.

#include "model/spell_book.h"

#include <QDialog>
#include <array>
#include <cstdint>
#include <optional>

class QLabel;

namespace vellumar {

class Prompter;
class SpinEdit;

using ScrollLevelCounts = std::array<int32_t, MaxSpellLevel>; // index 0 is level 1

class TfrmScrollParm : public QDialog {
    Q_OBJECT
public:
    explicit TfrmScrollParm(QWidget* parent = nullptr);

    // level 1..9
    QLabel* LevelLabel(int level) const { return labels_[size_t(level - 1)]; }
    SpinEdit* LevelSpin(int level) const { return spins_[size_t(level - 1)]; }

private:
    std::array<QLabel*, MaxSpellLevel> labels_{};
    std::array<SpinEdit*, MaxSpellLevel> spins_{};
};

// Shows the dialog for one use, offering only the levels the source book holds.
// The counts on OK, each within 0 and the book's count of its level; none on Cancel.
std::optional<ScrollLevelCounts> AskScrollCounts(Prompter& prompter, const TSpellBook& source,
                                                 QWidget* parent);

} // namespace vellumar
