#pragma once
// The page layout's canvas over a QPainter: the preview image or the printer.

#include "output/canvas.h"
#include "output/qt/output_font.h"

class QPainter;
class QPrinter;

namespace vellumar {

class QtCanvas : public Canvas {
public:
    // `painter` must be active on its device. Pass the printer when the painter
    // draws on one, so that NewPage starts a printed page.
    QtCanvas(QPainter& painter, FontScale scale, QPrinter* printer = nullptr);

    void SetFont(const OutputFont& font) override;
    void SetUnderline(bool on) override;
    int TextWidth(std::string_view text) override;
    int TextHeight(std::string_view text) override;
    void DrawText(int x, int y, std::string_view text) override;
    void NewPage() override;
    int PageWidth() const override;
    int PageHeight() const override;

private:
    QPainter& painter_;
    FontScale scale_;
    QPrinter* printer_;
};

} // namespace vellumar
