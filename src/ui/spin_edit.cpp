#include "ui/spin_edit.h"

#include <QKeyEvent>
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
    // On Linux Alt+letter carries the letter as text; it is a menu key, never input.
    if (event->modifiers() & (Qt::AltModifier | Qt::MetaModifier) && !event->text().isEmpty()) {
        event->ignore();
        return;
    }
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
    // Digits only: a letter would make the field read as no number at all.
    for (const QChar c : input)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return QValidator::Invalid;
    return input.isEmpty() ? QValidator::Intermediate : QValidator::Acceptable;
}

void SpinEdit::fixup(QString& input) const {
    int value = 0;
    if (!ParseWhole(input, value)) value = minimum();
    input = QString::number(std::clamp(value, minimum(), maximum()));
}

QSize SpinEdit::WithTwoDigits(QSize hint) const {
    const QFontMetrics metrics = fontMetrics();
    const int shown = std::max(metrics.horizontalAdvance(textFromValue(minimum())),
                               metrics.horizontalAdvance(textFromValue(maximum())));
    const int wanted = metrics.horizontalAdvance(QStringLiteral("88"));
    if (wanted > shown) hint.rwidth() += wanted - shown;
    return hint;
}

QSize SpinEdit::sizeHint() const {
    return WithTwoDigits(QSpinBox::sizeHint());
}

QSize SpinEdit::minimumSizeHint() const {
    return WithTwoDigits(QSpinBox::minimumSizeHint());
}

int SpinEdit::valueFromText(const QString& text) const {
    int value = 0;
    return ParseWhole(text, value) ? value : minimum();
}

} // namespace vellumar
