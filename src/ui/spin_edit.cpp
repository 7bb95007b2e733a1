#include "ui/spin_edit.h"

#include <QLineEdit>

namespace vellumar {
namespace {

bool ParseWhole(const QString& text, int& value) {
    bool ok = false;
    value = text.trimmed().toInt(&ok, 10);
    return ok;
}

} // namespace

SpinEdit::SpinEdit(int minimum, int maximum, QWidget* parent) : QSpinBox(parent) {
    setRange(minimum, maximum);
    setValue(minimum);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    connect(lineEdit(), &QLineEdit::textChanged, this, &SpinEdit::Changed);
}

int SpinEdit::TypedValue(int notNumber) const {
    int value = 0;
    return ParseWhole(lineEdit()->text(), value) ? value : notNumber;
}

void SpinEdit::Settle() {
    const int typed = TypedValue(minimum());
    setValue(std::clamp(typed, minimum(), maximum()));
    // setValue leaves a text alone when the value itself did not change.
    const QString shown = textFromValue(value());
    if (lineEdit()->text() != shown) lineEdit()->setText(shown);
}

QValidator::State SpinEdit::validate(QString& input, int&) const {
    int value = 0;
    return ParseWhole(input, value) ? QValidator::Acceptable : QValidator::Intermediate;
}

void SpinEdit::fixup(QString& input) const {
    int value = 0;
    if (!ParseWhole(input, value)) value = minimum();
    input = QString::number(std::clamp(value, minimum(), maximum()));
}

int SpinEdit::valueFromText(const QString& text) const {
    int value = 0;
    return ParseWhole(text, value) ? value : minimum();
}

} // namespace vellumar
