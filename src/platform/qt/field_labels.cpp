#include "platform/qt/field_labels.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolBar>
#include <QToolButton>

namespace vellumar {

namespace {

// The widget of `item` that Tab reaches, or the first one inside its layout.
QWidget* FirstField(QLayoutItem* item) {
    if (!item) return nullptr;
    if (QWidget* widget = item->widget())
        return widget->focusPolicy() & Qt::TabFocus ? widget : nullptr;
    if (const QLayout* layout = item->layout())
        for (int k = 0; k < layout->count(); ++k)
            if (QWidget* field = FirstField(layout->itemAt(k))) return field;
    return nullptr;
}

} // namespace

void BuddyUnlabelledFields(QWidget& dialog) {
    for (const auto* grid : dialog.findChildren<QGridLayout*>())
        for (int k = 0; k < grid->count(); ++k) {
            auto* label = qobject_cast<QLabel*>(grid->itemAt(k)->widget());
            if (!label || label->buddy() || label->text().isEmpty()) continue;
            int row = 0, column = 0, rows = 0, columns = 0;
            grid->getItemPosition(k, &row, &column, &rows, &columns);
            if (QWidget* field = FirstField(grid->itemAtPosition(row, column + columns)))
                label->setBuddy(field);
        }
}

void NameComboBox(QComboBox& box, const QString& name) {
    // Qt looks for the label among the box's siblings.
    auto* label = new QLabel(name, box.parentWidget());
    label->hide();
    label->setBuddy(&box);
    box.setAccessibleName(name);
}

void AddClearButton(QLineEdit& field) {
    field.setClearButtonEnabled(true);
    for (QToolButton* clear : field.findChildren<QToolButton*>())
        clear->setAccessibleName(QStringLiteral("Clear"));
}

void NameToolBarExtension(QToolBar& bar) {
    if (auto* more = bar.findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("More Commands"));
}

} // namespace vellumar
