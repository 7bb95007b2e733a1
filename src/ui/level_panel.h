#pragma once
// The "Spell Level" group of the spellbook and master list windows: nine
// radio buttons "1" to "9" in one row, one always chosen.

#include <QGroupBox>

class QButtonGroup;

namespace vellumar {

class LevelPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit LevelPanel(QWidget* parent = nullptr);

    // The buttons, by their level as id; "1" starts chosen.
    QButtonGroup* Buttons() const { return buttons_; }

private:
    QButtonGroup* buttons_;
};

} // namespace vellumar
