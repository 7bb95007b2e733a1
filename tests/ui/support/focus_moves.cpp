#include "support/focus_moves.h"

#include "ui/spell_book_window.h"
#include "ui/spin_edit.h"

#include <QApplication>
#include <QComboBox>
#include <QTest>

namespace vellumar::test {

bool GiveFocus(QWidget* widget) {
    QWidget* window = widget->window();
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window)) return false;
    widget->setFocus(Qt::TabFocusReason);
    return QTest::qWaitFor([widget] { return QApplication::focusWidget() == widget; });
}

bool LeaveSpecialtyBox(TfrmSpellBook& window) {
    return GiveFocus(window.cbWizardSpecialty) && GiveFocus(window.spnWizardIntelligence);
}

} // namespace vellumar::test
