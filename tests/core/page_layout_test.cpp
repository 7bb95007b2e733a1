#include "output/page_layout.h"
#include "output/page_recording.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using namespace vellumar;

namespace {

// Every byte is CharWidth wide and every text LineTextHeight high, so each pen
// position can be worked out by hand.
constexpr int CharWidth = 10;

struct DrawCall {
    int x;
    int y;
    std::string text;
    int page;
    bool underline;
    bool bold;
    bool italic;
};

class FixedCanvas : public Canvas {
public:
    FixedCanvas(int width, int height, int textHeight = 20)
        : width_(width), height_(height), textHeight_(textHeight) {}

    void SetFont(const OutputFont& font) override {
        font_ = font;
        ++fontSets;
    }
    void SetUnderline(bool on) override { font_.Underline = on; }
    int TextWidth(std::string_view text) override { return int(text.size()) * CharWidth; }
    int TextHeight(std::string_view) override { return textHeight_; }
    void DrawText(int x, int y, std::string_view text) override {
        draws.push_back({x, y, std::string(text), page, font_.Underline, font_.Bold, font_.Italic});
    }
    void NewPage() override { ++page; }
    int PageWidth() const override { return width_; }
    int PageHeight() const override { return height_; }

    const DrawCall& Find(const std::string& text) const {
        for (const DrawCall& d : draws)
            if (d.text == text) return d;
        ADD_FAILURE() << "never drawn: " << text;
        static const DrawCall none{-1, -1, {}, -1, false, false, false};
        return none;
    }
    // Draws of the spell items of a level: everything after its heading up to the next.
    std::vector<DrawCall> ItemsOfLevel(int level) const {
        std::vector<DrawCall> items;
        const std::string heading = "level: " + std::to_string(level) + " ";
        bool inside = false;
        for (const DrawCall& d : draws) {
            if (d.text.rfind("level: ", 0) == 0) {
                inside = d.text.rfind(heading, 0) == 0;
                continue;
            }
            if (inside && d.text != ", ") items.push_back(d);
        }
        return items;
    }

    std::vector<DrawCall> draws;
    int page = 0;
    int fontSets = 0;

private:
    int width_;
    int height_;
    int textHeight_;
    OutputFont font_;
};

// A book of caster level 5 whose spells carry no book reference, so each item
// is the spell's name alone.
std::unique_ptr<TSpellBook> MakeBook(const std::vector<std::pair<int, std::string>>& spells) {
    auto book = std::make_unique<TSpellBook>(5, 14, 0, "Generalist");
    for (const auto& [level, name] : spells)
        EXPECT_TRUE(book->AddSpell(new tSpell(level, name, "", 0, 0, "Alteration")));
    return book;
}

OutputFormat NamesOnly(int columns = 0) {
    OutputFormat format;
    format.Columns = columns;
    format.IncludeBookPage = false;
    return format;
}

int Width(const std::string& text) {
    return int(text.size()) * CharWidth;
}

// The head block takes lines 0 to 3; a level's heading follows two NewLines.
constexpr int FirstHeadingLine = 5;

} // namespace

class LineHeight : public testing::TestWithParam<std::pair<int, int>> {};

TEST_P(LineHeight, LinesAreMgHeightPlusThreeApart) {
    const auto [textHeight, lineHeight] = GetParam();
    FixedCanvas canvas(500, 400, textHeight);
    auto book = MakeBook({{1, "Light"}});
    RenderSpellbook(canvas, *book, "Book", NamesOnly(), LayoutParams::Preview(canvas));
    const std::vector<std::string> head = {"Spell Book: Book", "Caster Level: 5",
                                           "Caster Intelligence: 14",
                                           "Caster Specialty: Generalist"};
    ASSERT_GE(canvas.draws.size(), head.size() + 2);
    for (size_t i = 0; i < head.size(); ++i) {
        EXPECT_EQ(canvas.draws[i].text, head[i]);
        EXPECT_EQ(canvas.draws[i].x, 0);
        EXPECT_EQ(canvas.draws[i].y, int(i) * lineHeight);
    }
    EXPECT_EQ(canvas.draws[4].y, FirstHeadingLine * lineHeight) << "one empty line before a level";
    EXPECT_EQ(canvas.draws[5].y, (FirstHeadingLine + 1) * lineHeight);
}

INSTANTIATE_TEST_SUITE_P(PageLayout, LineHeight,
                         testing::Values(std::pair{20, 23}, std::pair{31, 34}, std::pair{1, 4}));

TEST(PageLayout, OnlyLevelsWithSpellsGetAHeading) {
    FixedCanvas canvas(500, 400);
    auto book = MakeBook({{3, "Haste"}, {7, "Teleport"}});
    RenderSpellbook(canvas, *book, "B", NamesOnly(), LayoutParams::Preview(canvas));
    std::vector<std::string> headings;
    for (const DrawCall& d : canvas.draws)
        if (d.text.rfind("level: ", 0) == 0) headings.push_back(d.text);
    // A generalist of caster level 5 casts one third-level spell and no seventh-level ones.
    ASSERT_EQ(headings, (std::vector<std::string>{"level: 3     number per day: 1",
                                                  "level: 7     number per day: 0"}));
    // Level 3's single line ends without NewLine, so level 7 is three lines below its heading.
    EXPECT_EQ(canvas.Find(headings[1]).y - canvas.Find(headings[0]).y, 3 * 23);
}

TEST(PageLayout, SingleLineItemsAreSeparatedByCommaBlankAndTwoAdvances) {
    FixedCanvas canvas(500, 400);
    auto book = MakeBook({{1, "Alpha"}, {1, "Beta"}, {1, "Gamma"}});
    RenderSpellbook(canvas, *book, "B", NamesOnly(), LayoutParams::Preview(canvas));
    const auto items = canvas.ItemsOfLevel(1);
    ASSERT_EQ(items.size(), 3u);
    const int line = (FirstHeadingLine + 1) * 23;
    EXPECT_EQ(items[0].x, 0);
    EXPECT_EQ(items[1].x - (items[0].x + Width("Alpha")), Width(", ") + 6);
    EXPECT_EQ(items[2].x - (items[1].x + Width("Beta")), Width(", ") + 6);
    for (const DrawCall& d : items) EXPECT_EQ(d.y, line);
    // The separator sits one Advance after the item before it.
    int separators = 0;
    for (const DrawCall& d : canvas.draws)
        if (d.text == ", ") {
            EXPECT_EQ(d.y, line);
            EXPECT_EQ(d.x, separators == 0 ? Width("Alpha") + 3 : items[1].x + Width("Beta") + 3);
            ++separators;
        }
    EXPECT_EQ(separators, 2);
}

TEST(PageLayout, SingleLineWrapsBeforeAnItemThatWouldPassTheWrapWidth) {
    // "Alpha, " ends at 70 and fits in 100; "Beta, " would end at 76 + 60 > 100.
    FixedCanvas canvas(100, 400);
    auto book = MakeBook({{1, "Alpha"}, {1, "Beta"}});
    RenderSpellbook(canvas, *book, "B", NamesOnly(), LayoutParams::Preview(canvas));
    const auto items = canvas.ItemsOfLevel(1);
    ASSERT_EQ(items.size(), 2u);
    const int line = (FirstHeadingLine + 1) * 23;
    EXPECT_EQ(items[0].y, line);
    EXPECT_EQ(items[1].x, 0);
    EXPECT_EQ(items[1].y, line + 23);
    EXPECT_EQ(canvas.Find(", ").y, line) << "the separator stays at the end of the first line";

    // "Beta, " ending exactly at the wrap width (76 + 60) stays on the line.
    FixedCanvas exact(136, 400);
    RenderSpellbook(exact, *book, "B", NamesOnly(), LayoutParams::Preview(exact));
    EXPECT_EQ(exact.ItemsOfLevel(1)[1].y, line);
}

TEST(PageLayout, AnItemWiderThanTheLineLeavesAnEmptyLineAndRunsPastTheEdge) {
    FixedCanvas canvas(100, 400);
    auto book = MakeBook({{1, "Enormously Long"}, {1, "Ok"}});
    RenderSpellbook(canvas, *book, "B", NamesOnly(), LayoutParams::Preview(canvas));
    const auto items = canvas.ItemsOfLevel(1);
    ASSERT_EQ(items.size(), 2u);
    const int line = (FirstHeadingLine + 1) * 23;
    EXPECT_EQ(items[0].x, 0);
    EXPECT_EQ(items[0].y, line + 23) << "wrapped although the line was still empty";
    EXPECT_GT(items[0].x + Width(items[0].text), 100);
    EXPECT_EQ(items[1].y, line + 2 * 23);
    EXPECT_EQ(canvas.page, 0);
}

class ColumnGap : public testing::TestWithParam<bool> {};

TEST_P(ColumnGap, ColumnsStartRightOfTheWidestEdgePlusTheGap) {
    const bool printing = GetParam();
    FixedCanvas canvas(2000, 2000);
    // Five spells in two columns: three rows, the second column holding two.
    auto book = MakeBook({{1, "Aa"}, {1, "Bbbbbbb"}, {1, "Ccc"}, {1, "Dd"}, {1, "Ee"}, {2, "Zz"}});
    const LayoutParams params =
        printing ? LayoutParams::Print(canvas) : LayoutParams::Preview(canvas);
    RenderSpellbook(canvas, *book, "B", NamesOnly(2), params);
    const int gap = printing ? 15 : 6;
    const auto items = canvas.ItemsOfLevel(1);
    ASSERT_EQ(items.size(), 5u);
    const int top = (FirstHeadingLine + 1) * 23;
    const int secondColumn = Width("Bbbbbbb") + 3 + gap;
    const std::vector<std::pair<int, int>> expected = {
        {0, top}, {0, top + 23}, {0, top + 46}, {secondColumn, top}, {secondColumn, top + 23}};
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(items[i].x, expected[i].first) << items[i].text;
        EXPECT_EQ(items[i].y, expected[i].second) << items[i].text;
    }
    // After the block the pen stands below its last row; two NewLines lead to the next heading.
    EXPECT_EQ(canvas.Find("level: 2     number per day: 2").y, top + 3 * 23 + 2 * 23);
}

INSTANTIATE_TEST_SUITE_P(PageLayout, ColumnGap, testing::Values(false, true));

// The printed gaps are pixels of a 96 dots-per-inch screen: on a printer of
// finer resolution they grow with it, so that they keep their size on paper.
struct PrintResolution {
    int dotsPerInch;
    int gap;     // between the widest right edge and the next column
    int spacing; // after each piece, and on top of "Mg" between lines
};

class PrintedGaps : public testing::TestWithParam<PrintResolution> {};

TEST_P(PrintedGaps, GrowWithThePrintersResolution) {
    const PrintResolution r = GetParam();
    const int textHeight = 20;
    FixedCanvas canvas(100000, 100000, textHeight);
    auto book = MakeBook({{1, "Aa"}, {1, "Bbbbbbb"}, {1, "Ccc"}, {1, "Dd"}, {2, "Xx"}, {2, "Yy"}});
    RenderSpellbook(canvas, *book, "B", NamesOnly(2), LayoutParams::Print(canvas, r.dotsPerInch));
    const int line = textHeight + r.spacing;
    const auto items = canvas.ItemsOfLevel(1);
    ASSERT_EQ(items.size(), 4u);
    const int top = (FirstHeadingLine + 1) * line;
    EXPECT_EQ(items[0].y, top);
    EXPECT_EQ(items[1].y, top + line);
    EXPECT_EQ(items[2].x, Width("Bbbbbbb") + r.spacing + r.gap);
    EXPECT_EQ(items[2].y, top);

    // The single-line layout advances by the same spacing.
    FixedCanvas flowing(100000, 100000, textHeight);
    RenderSpellbook(flowing, *book, "B", NamesOnly(0), LayoutParams::Print(flowing, r.dotsPerInch));
    const auto level2 = flowing.ItemsOfLevel(2);
    ASSERT_EQ(level2.size(), 2u);
    EXPECT_EQ(level2[1].x, Width("Xx") + r.spacing + Width(", ") + r.spacing);
}

INSTANTIATE_TEST_SUITE_P(PageLayout, PrintedGaps,
                         testing::Values(PrintResolution{96, 15, 3}, PrintResolution{300, 47, 9},
                                         PrintResolution{600, 94, 19},
                                         PrintResolution{1200, 188, 38}));

TEST(PageLayout, ThePreviewKeepsItsScreenGaps) {
    FixedCanvas canvas(2000, 2000);
    const LayoutParams params = LayoutParams::Preview(canvas);
    EXPECT_EQ(params.ColumnGap, 6);
    EXPECT_EQ(params.Spacing, 3);
    EXPECT_FALSE(params.PageBreaks);
}

struct ColumnBlockRow {
    int spells;
    int columns;
    int rows;
};

class ColumnBlock : public testing::TestWithParam<ColumnBlockRow> {};

TEST_P(ColumnBlock, FillsTopToBottomAndTheNextLevelFollowsItsLastRow) {
    const auto [spells, columns, rows] = GetParam();
    FixedCanvas canvas(2000, 2000);
    std::vector<std::pair<int, std::string>> book;
    for (int i = 0; i < spells; ++i) book.push_back({3, std::string(1, char('A' + i))});
    book.push_back({4, "Next"});
    RenderSpellbook(canvas, *MakeBook(book), "B", NamesOnly(columns),
                    LayoutParams::Preview(canvas));
    const auto items = canvas.ItemsOfLevel(3);
    ASSERT_EQ(items.size(), size_t(spells));
    // Every column is Width("X") + 3 + 6 right of the one before.
    const int top = (FirstHeadingLine + 1) * 23;
    const int step = Width("X") + 3 + 6;
    for (int i = 0; i < spells; ++i) {
        EXPECT_EQ(items[size_t(i)].x, (i / rows) * step) << items[size_t(i)].text;
        EXPECT_EQ(items[size_t(i)].y, top + (i % rows) * 23) << items[size_t(i)].text;
    }
    // Below the block's last row: one empty line, then the next heading.
    EXPECT_EQ(canvas.Find("level: 4     number per day: 0").y, top + (rows + 1) * 23 + 23);
}

INSTANTIATE_TEST_SUITE_P(PageLayout, ColumnBlock,
                         testing::Values(ColumnBlockRow{7, 3, 3}, ColumnBlockRow{6, 3, 2},
                                         ColumnBlockRow{4, 4, 1}, ColumnBlockRow{8, 4, 2},
                                         ColumnBlockRow{4, 1, 4}, ColumnBlockRow{2, 2, 1}));

TEST(PageLayout, APrintedColumnBlockThatDoesNotFitMovesWholeToANewPage) {
    // After the head block the level's heading would be at 115; heading and two
    // rows need 3 * 23 = 69 more, past a page of 150.
    FixedCanvas canvas(500, 150);
    auto book = MakeBook({{1, "One"}, {1, "Two"}});
    RenderSpellbook(canvas, *book, "B", NamesOnly(1), LayoutParams::Print(canvas));
    EXPECT_EQ(canvas.page, 1);
    const DrawCall& heading = canvas.draws[4];
    EXPECT_EQ(heading.page, 1);
    EXPECT_EQ(heading.y, 0);
    const auto items = canvas.ItemsOfLevel(1);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].page, 1);
    EXPECT_EQ(items[0].y, 23);
    EXPECT_EQ(items[1].y, 46);

    // Heading and rows that end exactly at the page's bottom stay: 115 + 69 = 184.
    FixedCanvas exact(500, 184);
    RenderSpellbook(exact, *book, "B", NamesOnly(1), LayoutParams::Print(exact));
    EXPECT_EQ(exact.page, 0);
    EXPECT_EQ(exact.draws[4].y, 115);

    // The preview never breaks pages.
    FixedCanvas preview(500, 150);
    RenderSpellbook(preview, *book, "B", NamesOnly(1), LayoutParams::Preview(preview));
    EXPECT_EQ(preview.page, 0);
    EXPECT_EQ(preview.draws[4].y, 115);
}

TEST(PageLayout, ABlockTallerThanAPageIsNotSplit) {
    FixedCanvas canvas(500, 150);
    std::vector<std::pair<int, std::string>> spells;
    for (char c = 'A'; c <= 'J'; ++c) spells.push_back({1, std::string(1, c)});
    spells.push_back({2, "Next"});
    auto book = MakeBook(spells);
    RenderSpellbook(canvas, *book, "B", NamesOnly(1), LayoutParams::Print(canvas));
    const auto items = canvas.ItemsOfLevel(1);
    ASSERT_EQ(items.size(), 10u);
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].page, 1) << items[i].text;
        EXPECT_EQ(items[i].y, 23 * int(i + 1)) << items[i].text;
    }
    // The next level starts a page of its own.
    const auto next = canvas.ItemsOfLevel(2);
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(next[0].page, 2);
    EXPECT_EQ(next[0].y, 23);
}

TEST(PageLayout, APrintedHeadingWithoutRoomForItsLineStartsANewPage) {
    // Single-line layout: only the heading's own line is checked; 115 + 23 > 130.
    FixedCanvas canvas(500, 130);
    auto book = MakeBook({{1, "One"}});
    RenderSpellbook(canvas, *book, "B", NamesOnly(0), LayoutParams::Print(canvas));
    EXPECT_EQ(canvas.draws[4].page, 1);
    EXPECT_EQ(canvas.draws[4].y, 0);
    EXPECT_EQ(canvas.ItemsOfLevel(1)[0].y, 23);

    // A heading line that ends exactly at the bottom (115 + 23 = 138) stays.
    FixedCanvas roomy(500, 138);
    RenderSpellbook(roomy, *book, "B", NamesOnly(0), LayoutParams::Print(roomy));
    EXPECT_EQ(roomy.page, 0);
    EXPECT_EQ(roomy.draws[4].y, 115);
}

TEST(PageLayout, APrintedWrapThatPassesThePageBottomContinuesOnANewPage) {
    // Heading at 115, first line at 138, the wrapped line would end at 161 + 23 > 170.
    FixedCanvas canvas(100, 170);
    auto book = MakeBook({{1, "Alpha"}, {1, "Beta"}});
    RenderSpellbook(canvas, *book, "B", NamesOnly(0), LayoutParams::Print(canvas));
    const auto items = canvas.ItemsOfLevel(1);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].page, 0);
    EXPECT_EQ(items[0].y, 138);
    EXPECT_EQ(items[1].page, 1);
    EXPECT_EQ(items[1].x, 0);
    EXPECT_EQ(items[1].y, 0);

    // A wrapped line that ends exactly at the bottom (161 + 23) stays on the page.
    FixedCanvas exact(100, 184);
    RenderSpellbook(exact, *book, "B", NamesOnly(0), LayoutParams::Print(exact));
    EXPECT_EQ(exact.page, 0);
    EXPECT_EQ(exact.ItemsOfLevel(1)[1].y, 161);
}

class EmptyBook : public testing::TestWithParam<int> {};

TEST_P(EmptyBook, IsDrawnAsTheNameAloneAndTheNextSpellAsUsual) {
    FixedCanvas canvas(2000, 2000);
    TSpellBook book(5, 14, 0, "Generalist");
    book.AddSpell(new tSpell(1, "Alarm", "", 7, 0, "Abjuration"));
    book.AddSpell(new tSpell(1, "Blink", "Core", 12, 0, "Alteration"));
    OutputFormat format;
    format.Columns = GetParam();
    format.IncludeCategory = true;
    format.IncludeFrequency = true;
    RenderSpellbook(canvas, book, "B", format, LayoutParams::Preview(canvas));
    const auto items = canvas.ItemsOfLevel(1);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].text, "Alarm");
    EXPECT_EQ(items[1].text, "Blink (Alteration) [Core 12]-C");
}

INSTANTIATE_TEST_SUITE_P(PageLayout, EmptyBook, testing::Values(0, 1, 4));

TEST(PageLayout, TheHeadingIsUnderlinedAndTheFontRestoredAfterIt) {
    FixedCanvas canvas(500, 400);
    auto book = MakeBook({{1, "Alpha"}, {1, "Beta"}, {4, "Gamma"}});
    OutputFormat format = NamesOnly();
    format.Font.Bold = true;
    RenderSpellbook(canvas, *book, "B", format, LayoutParams::Preview(canvas));
    int headings = 0;
    for (const DrawCall& d : canvas.draws) {
        const bool heading = d.text.rfind("level: ", 0) == 0;
        headings += heading;
        EXPECT_EQ(d.underline, heading) << d.text;
        EXPECT_TRUE(d.bold) << "the font's own style stays: " << d.text;
    }
    EXPECT_EQ(headings, 2);
    EXPECT_EQ(canvas.fontSets, 1 + headings);
}

TEST(PageLayout, AnUnderlinedOutputFontStaysUnderlinedAfterTheHeading) {
    FixedCanvas canvas(500, 400);
    auto book = MakeBook({{1, "Alpha"}});
    OutputFormat format = NamesOnly();
    format.Font.Underline = true;
    RenderSpellbook(canvas, *book, "B", format, LayoutParams::Preview(canvas));
    for (const DrawCall& d : canvas.draws) EXPECT_TRUE(d.underline) << d.text;
}

struct CardDraw {
    std::string text;
    int page, y, x; // y -1: not checked
    bool bold;
    bool italic = false;
};

struct CardLayoutRow {
    int width, height;
    bool print;
    std::vector<CardDraw> expected;
    std::string description = "one two three"; // Aa's
};

class CardLayout : public testing::TestWithParam<CardLayoutRow> {};

// Aa's card is 8 lines with its spell's, Bb's 9, blank between; lines 23 apart, Aa on line 6.
TEST_P(CardLayout, FollowsEachSpellWithItsCard) {
    const CardLayoutRow& row = GetParam();
    FixedCanvas canvas(row.width, row.height);
    auto book = MakeBook({{1, "Aa"}, {1, "Bb"}});
    SpellText card{"Abj", "1 a", "S", {"V"}, "", false, false, "I", {row.description}, {}, {}, ""};
    SpellTexts texts;
    texts.Set(1, "Aa", card);
    card.Description = {"| a | bb cc |", "|---|---|", "| 1 | 2 |"};
    texts.Set(1, "Bb", card);
    OutputFormat format = NamesOnly(2);
    format.IncludeSpellTexts = true;
    RenderSpellbook(canvas, *book, "B", format,
                    row.print ? LayoutParams::Print(canvas) : LayoutParams::Preview(canvas),
                    &texts);
    for (const CardDraw& e : row.expected) {
        const DrawCall& d = canvas.Find(e.text);
        EXPECT_EQ(d.page, e.page) << e.text;
        EXPECT_TRUE(e.y < 0 || d.y == e.y) << e.text << " at " << d.y;
        EXPECT_EQ(d.x, e.x) << e.text;
        EXPECT_EQ(d.bold, e.bold) << e.text;
        EXPECT_EQ(d.italic, e.italic) << e.text;
    }
}

// Unwrapped; wrapped; a too-wide table; a card moved whole; one taller than a page broken;
// a bold italic lead, wrapped as the styled words measure.
// clang-format off
INSTANTIATE_TEST_SUITE_P(PageLayout, CardLayout, testing::Values(
    CardLayoutRow{500, 1000, false, {{"one two three", 0, 13 * 23, 0, false}, {"bb cc", 0, 22 * 23, 16, true}, {"2", 0, 23 * 23, 16, false}}},
    CardLayoutRow{100, 1000, false, {{"three", 0, 18 * 23, 0, false}, {"2", 0, 32 * 23, 16, false}}},
    CardLayoutRow{30, 1000, false, {{"cc", 0, -1, 16, true}}},
    CardLayoutRow{500, 400, true, {{"one two three", 0, 13 * 23, 0, false}, {"Bb", 1, 0, 0, false}, {"2", 1, 8 * 23, 25, false}}},
    CardLayoutRow{500, 150, true, {{"Aa", 1, 23, 0, false}, {"one two three", 2, 46, 0, false}}},
    CardLayoutRow{100, 1000, false, {{"Lead.", 0, 17 * 23, 0, true, true}, {" one", 0, 17 * 23, 50, false}, {"two three", 0, 18 * 23, 0, false}}, "***Lead.*** one two three"}));
// clang-format on

// Page height, columns, spell texts, an underlined font.
class RecordedPage : public testing::TestWithParam<std::tuple<int, int, bool, bool>> {};

// The preview draws each page again from a recording: it must be the page the
// printer's layout drew, whatever the order the pages are shown in.
TEST_P(RecordedPage, IsThePageThePrintedLayoutDrew) {
    const auto [height, columns, cards, underline] = GetParam();
    auto book = MakeBook({});
    SpellTexts texts;
    for (int i = 0; i < 24; ++i) {
        const std::string name = "Spell " + std::to_string(i);
        book->AddSpell(new tSpell(1 + i % 4, name, "Core", i, 0, "Evo"));
        SpellText text;
        text.Description.assign(size_t(i % 5), "words to wrap here");
        texts.Set(1 + i % 4, name, text);
    }
    OutputFormat format = NamesOnly(columns);
    format.IncludeSpellTexts = cards;
    format.Font.Underline = underline;
    FixedCanvas printed(300, height), measure(300, height);
    RenderSpellbook(printed, *book, "B", format, LayoutParams::Print(printed), &texts);
    PageRecorder recorder(measure);
    RenderSpellbook(recorder, *book, "B", format, LayoutParams::Print(recorder), &texts);
    const RecordedPages pages = recorder.Take();

    ASSERT_GT(printed.page, 1);
    ASSERT_EQ(pages.Count(), printed.page + 1);
    EXPECT_TRUE(measure.draws.empty() && measure.page == 0) << "only measured";
    auto seen = [](const DrawCall& d) { return std::tie(d.x, d.y, d.text, d.underline, d.bold); };
    for (int page = pages.Count() - 1; page >= 0; --page) {
        FixedCanvas shown(300, height);
        pages.Draw(page, shown);
        std::vector<DrawCall> expected;
        for (const DrawCall& d : printed.draws)
            if (d.page == page) expected.push_back(d);
        ASSERT_EQ(shown.draws.size(), expected.size()) << page;
        for (size_t i = 0; i < expected.size(); ++i)
            EXPECT_TRUE(seen(shown.draws[i]) == seen(expected[i]))
                << page << ": " << expected[i].text;
    }
}

INSTANTIATE_TEST_SUITE_P(PageLayout, RecordedPage,
                         testing::Values(std::tuple{400, 0, true, false},
                                         std::tuple{260, 2, true, true},
                                         std::tuple{300, 1, false, false},
                                         std::tuple{200, 0, false, true}));
