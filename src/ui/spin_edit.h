#pragma once
// A spin edit that, like the classic control, takes any digits (and nothing
// else) while the user types, so the value can stand outside its limits for a
// moment, and clamps to the nearer limit when the focus leaves it.

#include <QSpinBox>

namespace vellumar {

class SpinEdit : public QSpinBox {
    Q_OBJECT
public:
    SpinEdit(int minimum, int maximum, QWidget* parent = nullptr);

    // The number typed, unclamped; `notNumber` for a text that is not a whole number.
    int TypedValue(int notNumber) const;
    // Clamps what was typed to the limits, as leaving the field does.
    void Settle();

    // Wide enough for two digits, whatever the limits: a number is typed over
    // the limits before it is clamped.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // Every change of the text, typed or set.
    void Changed();

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    int valueFromText(const QString& text) const override;

private:
    // Emits Changed when the text differs from the last one reported: the
    // spin box changes its text in several ways, some with signals blocked.
    void Notify();
    QSize WithTwoDigits(QSize hint) const;
    QString reported_;
};

} // namespace vellumar
