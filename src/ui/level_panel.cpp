#include "ui/level_panel.h"

#include "model/spell_book.h"
#include "platform/qt/tab_order.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QRadioButton>

namespace vellumar {

LevelPanel::LevelPanel(QWidget* parent)
    : QGroupBox(QStringLiteral("Spell Level"), parent), buttons_(new QButtonGroup(this)) {
    setObjectName(QStringLiteral("grpSpellLevel"));
    // The buttons read only their digit; the box's title names them as a group.
    setAccessibleName(title());
    setAccessibleDescription(QStringLiteral("Which level of spells the list shows"));
    // The style decides where the frame's inside begins; a layout keeps the
    // buttons there, whole.
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 0, 4, 0);
    row->setSpacing(0);
    for (int level = MinSpellLevel; level <= MaxSpellLevel; ++level) {
        auto* button = new QRadioButton(QString::number(level), this);
        row->addWidget(button);
        buttons_->addButton(button, level);
    }
    buttons_->button(MinSpellLevel)->setChecked(true);
    TabToCheckedButton(*buttons_);
}

} // namespace vellumar
