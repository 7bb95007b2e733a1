#include "platform/qt/font_colour_dialog.h"

#include "platform/qt/dialog_button.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QColorDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>

namespace vellumar {

FontColourDialog::FontColourDialog(const QFont& font, const QColor& colour, QWidget* parent)
    : QFontDialog(parent) {
    // A native dialog could not take the colour row.
    setOption(QFontDialog::DontUseNativeDialog);
    setCurrentFont(font);

    bnColour = new QPushButton(QStringLiteral("&Colour..."));
    bnColour->setObjectName(QStringLiteral("bnColour"));
    bnColour->setAutoDefault(false);
    OpensDialog(*bnColour);
    connect(bnColour, &QPushButton::clicked, this, &FontColourDialog::ChooseColour);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("Colour:"));
    label->setBuddy(bnColour);
    row->addWidget(label);
    row->addWidget(bnColour, 1);

    // Beside strikeout and underline, where the classic dialog has it; below
    // everything else should the dialog's layout ever change.
    auto* effects = findChild<QGroupBox*>();
    if (auto* box = effects ? qobject_cast<QBoxLayout*>(effects->layout()) : nullptr) {
        box->addLayout(row);
        // Tab reaches it after the effects above it, not after OK and Cancel.
        const QList<QCheckBox*> above = effects->findChildren<QCheckBox*>();
        if (!above.isEmpty()) setTabOrder(above.back(), bnColour);
    } else if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addLayout(row, grid->rowCount(), 0, 1, grid->columnCount());
    NameTheFontFields();
    SetColour(colour);
}

// Qt's font dialog gives its fields labels but no names a screen reader
// reads: each field and list takes the text of the label above it.
void FontColourDialog::NameTheFontFields() {
    auto* grid = qobject_cast<QGridLayout*>(layout());
    if (!grid) return;
    QHash<int, QString> names; // by column
    for (int k = 0; k < grid->count(); ++k)
        if (auto* label = qobject_cast<QLabel*>(grid->itemAt(k)->widget());
            label && label->buddy()) {
            int row = 0, column = 0, rows = 0, columns = 0;
            grid->getItemPosition(k, &row, &column, &rows, &columns);
            names.insert(column, label->text().remove(QLatin1Char('&')));
        }
    for (int k = 0; k < grid->count(); ++k) {
        QWidget* field = grid->itemAt(k)->widget();
        if (!qobject_cast<QLineEdit*>(field) && !qobject_cast<QListView*>(field)) continue;
        int row = 0, column = 0, rows = 0, columns = 0;
        grid->getItemPosition(k, &row, &column, &rows, &columns);
        if (names.contains(column)) field->setAccessibleName(names.value(column));
    }
}

void FontColourDialog::SetColour(const QColor& colour) {
    colour_ = colour;
    QPixmap swatch(24, 12);
    swatch.fill(colour);
    bnColour->setIcon(QIcon(swatch));
    bnColour->setIconSize(swatch.size());
    bnColour->setToolTip(colour.name());
    // The sample shows the text in its colour too.
    for (auto* group : findChildren<QGroupBox*>())
        for (auto* sample : group->findChildren<QLineEdit*>()) {
            QPalette palette = sample->palette();
            palette.setColor(QPalette::Text, colour);
            sample->setPalette(palette);
        }
}

void FontColourDialog::ChooseColour() {
    const QColor chosen = QColorDialog::getColor(colour_, this, QStringLiteral("Colour"));
    if (chosen.isValid()) SetColour(chosen);
}

} // namespace vellumar
