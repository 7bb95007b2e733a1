#pragma once
// Lays a spellbook out on a canvas, once for both the preview and the printer:
// the head block, then a heading and the spells of each level that has any,
// placed by pen movements in the canvas's own pixels.

#include "model/spell_book.h"
#include "model/spell_text.h"
#include "output/canvas.h"
#include "output/output_format.h"

#include <string>

namespace vellumar {

struct LayoutParams {
    int WrapWidth = 0;                // right edge for the single-line layout
    int ColumnGap = PreviewColumnGap; // between the widest right edge and the next column
    int Spacing = ScreenSpacing;      // after each drawn piece, and between lines on top of "Mg"
    bool PageBreaks = false;          // start new pages when a block or line would pass PageHeight
    int PageHeight = 0;

    // The gaps are pixels of a 96 dots-per-inch screen.
    static constexpr int ScreenDotsPerInch = 96;
    static constexpr int PreviewColumnGap = 6;
    static constexpr int PrintColumnGap = 15;
    static constexpr int ScreenSpacing = 3;

    // The preview never breaks pages and wraps at the image's width.
    static LayoutParams Preview(const Canvas& canvas);
    // The printout wraps at the page width and breaks pages at its height. Its
    // gaps keep their size on paper: they grow with the printer's resolution.
    static LayoutParams Print(const Canvas& canvas, int dotsPerInch = ScreenDotsPerInch);
};

// Draws the whole book with `format`'s settings and font, starting at (0, 0).
// `caption` is the spellbook window's caption, in the book's single-byte text.
// Walks the book with its cursor, which is left where the walk ends.
// With `format.IncludeSpellTexts` each level lists one spell a line, each
// followed by its card from `texts` (none without an entry or without
// `texts`), wrapped at WrapWidth; with page breaks, a card that fits on a page
// is kept whole on one, together with its spell's line.
void RenderSpellbook(Canvas& canvas, TSpellBook& book, const std::string& caption,
                     const OutputFormat& format, const LayoutParams& params,
                     const SpellTexts* texts = nullptr);

} // namespace vellumar
