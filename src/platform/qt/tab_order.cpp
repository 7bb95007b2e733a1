#include "platform/qt/tab_order.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QWidget>

namespace vellumar {

void ChainTabOrder(std::initializer_list<QWidget*> controls) {
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous) QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

void TabToCheckedButton(QButtonGroup& group) {
    auto follow = [&group] {
        // With none chosen, the first stands for the group.
        const QAbstractButton* stop =
            group.checkedButton() ? group.checkedButton() : group.buttons().value(0);
        for (QAbstractButton* button : group.buttons()) {
            const Qt::FocusPolicy policy = button->focusPolicy();
            button->setFocusPolicy(button == stop ? Qt::FocusPolicy(policy | Qt::TabFocus)
                                                  : Qt::FocusPolicy(policy & ~Qt::TabFocus));
        }
    };
    QObject::connect(&group, &QButtonGroup::idToggled, &group, follow);
    follow();
}

} // namespace vellumar
