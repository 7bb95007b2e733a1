#include "output/page_layout.h"

#include "model/code_page.h"
#include "output/item_text.h"
#include "output/spell_card.h"
#include "output/spell_card_text.h"
#include "rules/caster_tables.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <vector>

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

// Card text in the canvas's single-byte text.
std::string SingleByte(std::string_view utf8) {
    return Utf8ToCp1252(utf8).text;
}

// Runs in the canvas's single-byte text; `bold` makes them all bold (a heading).
StyledText SingleByte(const StyledText& runs, bool bold = false) {
    StyledText out;
    for (const TextRun& run : runs)
        AppendRun(out, {SingleByte(run.Text), run.Bold || bold, run.Italic});
    return out;
}

// A text in one style.
StyledText OneRun(std::string text, bool bold = false) {
    StyledText runs;
    AppendRun(runs, {std::move(text), bold, false});
    return runs;
}

// Columns too wide for `room` together: a column narrower than an even share
// keeps its width, the others share what is left evenly (and their cells wrap).
void ShareWidth(std::vector<int>& widths, int64_t room) {
    std::vector<bool> shared(widths.size(), true);
    for (bool kept = true; kept;) {
        kept = false;
        const int64_t sharing = std::count(shared.begin(), shared.end(), true);
        for (size_t i = 0; i < widths.size() && sharing > 0; ++i) {
            if (shared[i] && widths[i] <= room / sharing) {
                shared[i] = false;
                room -= widths[i];
                kept = true;
            }
        }
    }
    const int64_t sharing = std::count(shared.begin(), shared.end(), true);
    for (size_t i = 0; i < widths.size(); ++i)
        if (shared[i]) widths[i] = std::max(1, int(room / sharing));
}

class Pen {
public:
    Pen(Canvas& canvas, const OutputFormat& format, const LayoutParams& params,
        const SpellTexts* texts)
        : canvas_(canvas), format_(format), params_(params), texts_(texts) {
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
        if (format_.IncludeSpellTexts) {
            SpellsWithCards(book, level, count);
            return;
        }
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
    void Heading(TSpellBook& book, int32_t level) { Heading(LevelHeading(book, level)); }
    void Heading(const std::string& heading) {
        canvas_.SetUnderline(true);
        Draw(heading);
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

    // Pieces of text on one line, at their x; bold for a card's title and a
    // table's heading, bold or italic where a text stresses words.
    struct Piece {
        int x = 0;
        std::string text;
        bool bold = false;
        bool italic = false;
    };
    using Line = std::vector<Piece>;

    // The heading, then one spell a line, each followed by its card and, after
    // a card, a blank line. The heading stays with the first spell and its card.
    void SpellsWithCards(TSpellBook& book, int32_t level, int32_t count) {
        const std::string heading = LevelHeading(book, level);
        book.GoToLevel(level);
        bool cardBefore = false;
        for (int32_t k = 0; k < count && book.CurrentSpell(); ++k, book.Next()) {
            const tSpell& spell = *book.CurrentSpell();
            std::vector<Line> block = {
                {{0, OutputItemText(spell, format_, BookReferenceTest::NotEmpty), false}}};
            const SpellText* text = texts_ ? texts_->Find(spell.Level, spell.Name) : nullptr;
            if (text) AppendCard(block, MakeSpellCard(spell.Level, spell.Name, *text));
            int advance = cardBefore ? 2 : 1;
            if (k == 0) {
                // A card longer than a page still keeps its spell's line under the heading.
                if (params_.PageBreaks && !KeepTogether(0, int(block.size()) + 1))
                    KeepTogether(0, 2);
                Heading(heading);
                advance = 0;
            } else if (params_.PageBreaks && KeepTogether(advance, int(block.size()))) {
                advance = 0;
            }
            PlaceLines(block, advance);
            cardBefore = text != nullptr;
        }
    }

    void AppendCard(std::vector<Line>& lines, const SpellCard& card) {
        AppendWrapped(lines, OneRun(SingleByte(card.Title), true));
        AppendWrapped(lines, OneRun(SingleByte(card.Subtitle)));
        for (const CardField& field : card.Fields)
            AppendWrapped(lines, OneRun(SingleByte(CardFieldText(field))));
        for (const CardBlock& block : card.Body) AppendBlock(lines, block, {});
        for (size_t i = 0; i < card.HigherLevels.size(); ++i)
            AppendBlock(lines, card.HigherLevels[i],
                        i == 0 ? std::string(HigherLevelsLabel) : std::string());
        UseStyle(false, false);
    }

    // A paragraph after `label`, or a table under it.
    void AppendBlock(std::vector<Line>& lines, const CardBlock& block, const std::string& label) {
        if (!block.IsTable()) {
            StyledText runs = label.empty() ? StyledText() : OneRun(label + " ");
            for (const TextRun& run : block.Runs) AppendRun(runs, run);
            AppendWrapped(lines, SingleByte(runs));
            return;
        }
        if (!label.empty()) AppendWrapped(lines, OneRun(SingleByte(label)));
        AppendTable(lines, block);
    }

    void AppendWrapped(std::vector<Line>& lines, const StyledText& runs) {
        for (Line& line : Wrapped(runs, params_.WrapWidth)) lines.push_back(std::move(line));
    }

    // Columns as wide as their widest cell and a gap apart; a table wider than
    // the page shares the page's width among its columns in proportion, and
    // its cells wrap inside them. The first row is the heading.
    void AppendTable(std::vector<Line>& lines, const CardBlock& table) {
        std::vector<std::vector<StyledText>> cells;
        for (size_t r = 0; r < table.Cells.size(); ++r) {
            cells.emplace_back();
            for (const StyledText& cell : table.Cells[r])
                cells.back().push_back(SingleByte(cell, r == 0));
        }
        const std::vector<int> widths = ColumnWidths(cells);
        for (const std::vector<StyledText>& row : cells) {
            std::vector<std::vector<Line>> parts;
            size_t height = 0;
            for (size_t i = 0; i < row.size(); ++i) {
                parts.push_back(Wrapped(row[i], widths[i]));
                height = std::max(height, parts.back().size());
            }
            for (size_t k = 0; k < height; ++k) lines.push_back(TableLine(parts, k, widths));
        }
    }

    std::vector<int> ColumnWidths(const std::vector<std::vector<StyledText>>& cells) {
        std::vector<int> widths;
        for (const std::vector<StyledText>& row : cells) {
            if (widths.size() < row.size()) widths.resize(row.size(), 0);
            for (size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], Width(row[i]));
        }
        const int gaps = params_.ColumnGap * int(widths.empty() ? 0 : widths.size() - 1);
        const int64_t natural = std::accumulate(widths.begin(), widths.end(), int64_t(0));
        if (natural + gaps <= params_.WrapWidth) return widths;
        ShareWidth(widths, std::max<int64_t>(params_.WrapWidth - gaps, int64_t(widths.size())));
        return widths;
    }

    // The k-th line of a table row whose cells are wrapped into `parts`.
    Line TableLine(const std::vector<std::vector<Line>>& parts, size_t k,
                   const std::vector<int>& widths) const {
        Line line;
        int x = 0;
        for (size_t i = 0; i < parts.size(); ++i) {
            if (k < parts[i].size())
                for (const Piece& piece : parts[i][k])
                    line.push_back({x + piece.x, piece.text, piece.bold, piece.italic});
            x += widths[i] + params_.ColumnGap;
        }
        return line;
    }

    // Words on lines no wider than `width`, measured in their styles; a word
    // wider than that alone on its line. A blank between words keeps the
    // style it has in the text.
    std::vector<Line> Wrapped(const StyledText& runs, int width) {
        std::vector<StyledText> lines;
        StyledText line;
        StyledText word;
        TextRun blank; // before the word; none (empty) before the first
        auto endWord = [&] {
            StyledText longer = line;
            if (!longer.empty()) AppendRun(longer, blank);
            for (const TextRun& run : word) AppendRun(longer, run);
            if (!line.empty() && Width(longer) > width) {
                lines.push_back(std::move(line));
                line = std::move(word);
            } else {
                line = std::move(longer);
            }
            word.clear();
        };
        for (const TextRun& run : runs) {
            for (size_t start = 0;;) {
                const size_t end = run.Text.find(' ', start);
                AppendRun(word, {run.Text.substr(start, end - start), run.Bold, run.Italic});
                if (end == std::string::npos) break;
                endWord();
                blank = {" ", run.Bold, run.Italic};
                start = end + 1;
            }
        }
        endWord();
        lines.push_back(std::move(line));
        std::vector<Line> placed;
        placed.reserve(lines.size());
        for (const StyledText& runsOfLine : lines) placed.push_back(Placed(runsOfLine));
        return placed;
    }

    // A line's runs as pieces side by side from x 0.
    Line Placed(const StyledText& runs) {
        Line line;
        int x = 0;
        for (const TextRun& run : runs) {
            line.push_back({x, run.Text, run.Bold, run.Italic});
            x += Width(run);
        }
        return line;
    }

    int Width(const TextRun& run) {
        UseStyle(run.Bold, run.Italic);
        return canvas_.TextWidth(run.Text);
    }
    int Width(const StyledText& runs) {
        int width = 0;
        for (const TextRun& run : runs) width += Width(run);
        return width;
    }

    // The output font, made bold or italic on top of its own style.
    void UseStyle(bool bold, bool italic) {
        if (bold == bold_ && italic == italic_) return;
        OutputFont font = format_.Font;
        font.Bold = font.Bold || bold;
        font.Italic = font.Italic || italic;
        canvas_.SetFont(font);
        bold_ = bold;
        italic_ = italic;
    }

    // Starts a new page when `count` lines, `advance` lines below the pen,
    // would pass the page's bottom but fit on a page of their own; true then.
    // A longer run breaks between its lines.
    bool KeepTogether(int advance, int count) {
        const int height = count * lineHeight_;
        if (y_ == 0 || y_ + advance * lineHeight_ + height <= params_.PageHeight ||
            height > params_.PageHeight)
            return false;
        NewPage();
        return true;
    }

    // The lines of a spell and its card, `advance` lines below the pen.
    void PlaceLines(const std::vector<Line>& lines, int advance) {
        for (int a = 0; a < advance; ++a) NewLine();
        x_ = 0;
        for (size_t i = 0; i < lines.size(); ++i) {
            if (i > 0) NewLine();
            if (params_.PageBreaks) BreakIfNoRoomForLine();
            for (const Piece& piece : lines[i]) {
                if (piece.text.empty()) continue;
                UseStyle(piece.bold, piece.italic);
                canvas_.DrawText(piece.x, y_, piece.text);
            }
        }
        UseStyle(false, false);
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
    const SpellTexts* texts_;
    bool bold_ = false;
    bool italic_ = false;
    int lineHeight_ = 0;
    int x_ = 0;
    int y_ = 0;
};

} // namespace

void RenderSpellbook(Canvas& canvas, TSpellBook& book, const std::string& caption,
                     const OutputFormat& format, const LayoutParams& params,
                     const SpellTexts* texts) {
    Pen pen(canvas, format, params, texts);
    pen.Head(book, caption);
    for (int32_t level = MinSpellLevel; level <= MaxSpellLevel; ++level)
        if (book.CountOfLevel(level) > 0) pen.Level(book, level);
}

} // namespace vellumar
