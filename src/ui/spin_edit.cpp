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
    reported_ = lineEdit()->text();
    connect(lineEdit(), &QLineEdit::textChanged, this, &SpinEdit::Notify);
    connect(this, &QSpinBox::textChanged, this, &SpinEdit::Notify);
}

void SpinEdit::Notify() {
    const QString text = lineEdit()->text();
    if (text == reported_) return;
    reported_ = text;
    emit Changed();
}

void SpinEdit::focusOutEvent(QFocusEvent* event) {
    QSpinBox::focusOutEvent(event);
    Notify();
}

void SpinEdit::keyPressEvent(QKeyEvent* event) {
    QSpinBox::keyPressEvent(event);
    Notify();
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
    Notify();
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
