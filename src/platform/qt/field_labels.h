#pragma once
// Naming fields for a screen reader. On Linux Qt gives a combo box's current
// value as its accessible name and ignores setAccessibleName; a screen reader
// reads the box's label from its "labelled-by" relation, which Qt builds from a
// sibling QLabel whose buddy the box is.

class QComboBox;
class QLineEdit;
class QString;
class QToolBar;
class QWidget;

namespace vellumar {

// Each label in a grid of `dialog` (Qt's own dialogs leave some) without a
// buddy takes the field beside it, or the first field of the layout beside it.
void BuddyUnlabelledFields(QWidget& dialog);

// Names a combo box that shows no label: a hidden label carrying `name` is its
// buddy (relations count hidden labels), and its accessible name is `name` for
// the platforms that read it.
void NameComboBox(QComboBox& box, const QString& name);

// Gives `field` Qt's clear button, with the name Qt leaves it without.
void AddClearButton(QLineEdit& field);

// Names the button a tool bar shows for the commands that do not fit, which
// Qt leaves without a name.
void NameToolBarExtension(QToolBar& bar);

} // namespace vellumar
