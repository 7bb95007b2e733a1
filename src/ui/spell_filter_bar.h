#pragma once
// The filter field above a spell list, and for the master list its "All
// levels" switch. Ctrl+F in the window focuses the field; Esc in it empties
// it and goes no further, so no window or dialog closes. Nothing here is stored.

#include "rules/spell_filter.h"

#include <QWidget>
#include <functional>
#include <vector>

class QCheckBox;
class QLineEdit;

namespace vellumar {

class SpellFilterBar : public QWidget {
    Q_OBJECT
public:
    // `window` hears Ctrl+F; `withAllLevels` adds the "All levels" switch.
    SpellFilterBar(QWidget* window, bool withAllLevels, QWidget* parent);

    // The height the windows give the bar; their lists start a little below it.
    static constexpr int Height = 24;

    SpellFilter Filter() const;
    // Where "text:" looks, asked for at each filtering (none: it lets no spell through).
    void SetTexts(std::function<const SpellTexts*()> texts) { texts_ = std::move(texts); }
    bool AllLevels() const;
    // Empties the field when the filter hides one of these spells, just
    // added: an added spell is always shown. True when it was emptied.
    bool Reveal(const std::vector<const tSpell*>& spells);

    QLineEdit* edFilter;
    QCheckBox* cbAllLevels = nullptr;

signals:
    // The text or the switch changed.
    void Changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<const SpellTexts*()> texts_;
};

} // namespace vellumar
