#pragma once
// The pages a layout draws, kept so that any one of them can be drawn again
// later without laying the book out anew: the print preview lays a book out
// once and then shows one page at a time.

#include "output/canvas.h"
#include "output/output_format.h"

#include <string>
#include <vector>

namespace vellumar {

class RecordedPages {
public:
    // At least one: a layout always draws on its first page.
    int Count() const { return int(pages_.size()); }
    // Draws page `page` (0 for the first) on `canvas` with the fonts it was drawn in.
    void Draw(int page, Canvas& canvas) const;

private:
    friend class PageRecorder;
    struct Step {
        enum class Kind { Font, Underline, Text } kind = Kind::Text;
        int x = 0;
        int y = 0;
        int font = 0;       // Font: the place in fonts_
        bool on = false;    // Underline
        std::string text{}; // Text
    };
    std::vector<OutputFont> fonts_;
    std::vector<std::vector<Step>> pages_ = {{}};
};

// A canvas that measures with another (its fonts, text extents and page size)
// but draws nothing on it: what is drawn is kept, page by page.
class PageRecorder : public Canvas {
public:
    explicit PageRecorder(Canvas& measure) : measure_(measure) {}

    void SetFont(const OutputFont& font) override;
    void SetUnderline(bool on) override;
    int TextWidth(std::string_view text) override { return measure_.TextWidth(text); }
    int TextHeight(std::string_view text) override { return measure_.TextHeight(text); }
    void DrawText(int x, int y, std::string_view text) override;
    void NewPage() override;
    int PageWidth() const override { return measure_.PageWidth(); }
    int PageHeight() const override { return measure_.PageHeight(); }

    // The pages drawn so far; the recorder starts again empty.
    RecordedPages Take();

private:
    using Step = RecordedPages::Step;

    Canvas& measure_;
    RecordedPages pages_;
    // The font state, so that each page can start from it.
    int font_ = -1;
    bool underline_ = false;
};

} // namespace vellumar
