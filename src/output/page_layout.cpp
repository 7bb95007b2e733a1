#include "output/page_layout.h"

#include "output/item_text.h"
#include "rules/caster_tables.h"

#include <cstdint>

namespace vellumar {

namespace {

// Screen pixels as device pixels of a surface of `dotsPerInch`, rounded.
int AtResolution(int screenPixels, int dotsPerInch) {
    const int dpi = dotsPerInch > 0 ? dotsPerInch : LayoutParams::ScreenDotsPerInch;
    return int((int64_t(screenPixels) * dpi + LayoutParams::ScreenDotsPerInch / 2) /
               LayoutParams::ScreenDotsPerInch);
}

} // namespace

LayoutParams LayoutParams::Preview(const Canvas& canvas) {
    return {canvas.PageWidth(), PreviewColumnGap, ScreenSpacing, false, canvas.PageHeight()};
}

LayoutParams LayoutParams::Print(const Canvas& canvas, int dotsPerInch) {
    return {canvas.PageWidth(), AtResolution(PrintColumnGap, dotsPerInch),
            AtResolution(ScreenSpacing, dotsPerInch), true, canvas.PageHeight()};
}

namespace {

// Rows of a column block: the spells of a level spread over `columns`, rounded up.
int32_t RowCount(int32_t count, int32_t columns) {
    return (count + columns - 1) / columns;
}

class Pen {
public:
    Pen(Canvas& canvas, const OutputFormat& format, const LayoutParams& params)
        : canvas_(canvas), format_(format), params_(params) {
        canvas_.SetFont(format_.Font);
        lineHeight_ = canvas_.TextHeight("Mg") + params_.Spacing;
    }

    void Head(TSpellBook& book, const std::string& caption) {
        const auto lines = BookHeadLines(book, caption, HeadFor::Printout);
        for (size_t i = 0; i < lines.size(); ++i) {
            if (i > 0) NewLine();
            Draw(lines[i]);
        }
    }

    void Level(TSpellBook& book, int32_t level) {
        const int32_t count = book.CountOfLevel(level);
        const int32_t columns = format_.Columns;
        NewLine();
        NewLine();
        if (params_.PageBreaks) {
            // Keep a column block together with its heading on one page.
            if (columns >= 1 && columns <= 4 &&
                y_ + (RowCount(count, columns) + 1) * lineHeight_ > params_.PageHeight)
                NewPage();
            BreakIfNoRoomForLine();
        }
        Heading(book, level);
        book.GoToLevel(level);
        if (columns >= 1 && columns <= 4)
            ColumnBlock(book, count, columns);
        else
            SingleLine(book, count);
    }

private:
    void Heading(TSpellBook& book, int32_t level) {
        canvas_.SetUnderline(true);
        Draw(LevelHeading(book, level));
        canvas_.SetFont(format_.Font);
        NewLine();
    }

    void SingleLine(TSpellBook& book, int32_t count) {
        static constexpr std::string_view separator = ", ";
        for (int32_t k = 0; k < count && book.CurrentSpell(); ++k, book.Next()) {
            if (k > 0) {
                Draw(separator);
                Advance(separator);
            }
            const std::string item =
                OutputItemText(*book.CurrentSpell(), format_, BookReferenceTest::NotEmpty);
            if (x_ + canvas_.TextWidth(item + std::string(separator)) > params_.WrapWidth) {
                NewLine();
                if (params_.PageBreaks) BreakIfNoRoomForLine();
            }
            Draw(item);
            Advance(item);
        }
    }

    // Columns fill top to bottom; each starts a gap right of everything drawn
    // before it in this block. Nothing inside a block wraps or breaks pages.
    void ColumnBlock(TSpellBook& book, int32_t count, int32_t columns) {
        const int32_t rows = RowCount(count, columns);
        const int top = y_;
        int left = 0;
        int widest = 0;
        int32_t row = 0;
        for (int32_t k = 0; k < count && book.CurrentSpell(); ++k, book.Next()) {
            const std::string item =
                OutputItemText(*book.CurrentSpell(), format_, BookReferenceTest::NotEmpty);
            Draw(item);
            Advance(item);
            if (x_ > widest) widest = x_;
            ++row;
            NewLine();
            if (row == rows) {
                left = widest + params_.ColumnGap;
                y_ = top;
                row = 0;
            }
            x_ = left;
        }
        y_ = top;
        for (int32_t r = 0; r < rows; ++r) NewLine();
    }

    void Draw(std::string_view text) { canvas_.DrawText(x_, y_, text); }
    void Advance(std::string_view text) { x_ += canvas_.TextWidth(text) + params_.Spacing; }
    void NewLine() {
        y_ += lineHeight_;
        x_ = 0;
    }
    void NewPage() {
        canvas_.NewPage();
        y_ = 0;
    }
    void BreakIfNoRoomForLine() {
        if (y_ + lineHeight_ > params_.PageHeight) NewPage();
    }

    Canvas& canvas_;
    const OutputFormat& format_;
    const LayoutParams& params_;
    int lineHeight_ = 0;
    int x_ = 0;
    int y_ = 0;
};

} // namespace

void RenderSpellbook(Canvas& canvas, TSpellBook& book, const std::string& caption,
                     const OutputFormat& format, const LayoutParams& params) {
    Pen pen(canvas, format, params);
    pen.Head(book, caption);
    for (int32_t level = MinSpellLevel; level <= MaxSpellLevel; ++level)
        if (book.CountOfLevel(level) > 0) pen.Level(book, level);
}

} // namespace vellumar
