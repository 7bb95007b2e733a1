#pragma once
// A drawing surface for the page layout: the preview image and the printer
// both stand behind it, and tests put a canvas of fixed metrics in their place.
// All positions and sizes are device pixels of the surface.

#include "output/output_format.h"

#include <string_view>

namespace vellumar {

class Canvas {
public:
    virtual ~Canvas() = default;

    // Makes `font` the current font, its own style included.
    virtual void SetFont(const OutputFont& font) = 0;
    // Switches underline of the current font on or off; the next SetFont decides again.
    virtual void SetUnderline(bool on) = 0;

    // Extent of a single-byte text in the current font.
    virtual int TextWidth(std::string_view text) = 0;
    virtual int TextHeight(std::string_view text) = 0;

    // Draws a single-byte text with its top-left corner at (x, y).
    virtual void DrawText(int x, int y, std::string_view text) = 0;

    // Ends the current page and starts the next; a surface of one page ignores it.
    virtual void NewPage() = 0;
    virtual int PageWidth() const = 0;
    virtual int PageHeight() const = 0;
};

} // namespace vellumar
