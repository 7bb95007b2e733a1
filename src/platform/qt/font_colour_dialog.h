#pragma once
// The font dialog with the text colour beside the style, as the classic
// platform font dialog offers it: Qt's own font dialog has no colour.

#include <QColor>
#include <QFontDialog>

class QPushButton;

namespace vellumar {

class FontColourDialog : public QFontDialog {
    Q_OBJECT
public:
    FontColourDialog(const QFont& font, const QColor& colour, QWidget* parent = nullptr);

    QColor Colour() const { return colour_; }
    void SetColour(const QColor& colour);

    // Opens the colour dialog; the colour changes on its OK.
    QPushButton* bnColour;

private:
    void ChooseColour();
    void NameTheFontFields();
    QColor colour_;
};

} // namespace vellumar
