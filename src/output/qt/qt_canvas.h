#pragma once
// The page layout's canvas over a QPainter: the preview image or the printer.

#include "output/canvas.h"
#include "output/qt/output_font.h"

class QPainter;
class QPagedPaintDevice;

namespace vellumar {

class QtCanvas : public Canvas {
public:
    // `painter` must be active on its device. Pass the paged device (printer or
    // PDF writer) when the painter draws on one, so that NewPage starts a page.
    QtCanvas(QPainter& painter, FontScale scale, QPagedPaintDevice* pages = nullptr);

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
    QPagedPaintDevice* pages_;
};

} // namespace vellumar
