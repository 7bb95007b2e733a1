#include "output/page_copies.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vellumar;

namespace {

// Records what lands on each printed page.
class PageRecorder : public Canvas {
public:
    void SetFont(const OutputFont&) override {}
    void SetUnderline(bool) override {}
    int TextWidth(std::string_view text) override { return int(text.size()); }
    int TextHeight(std::string_view) override { return 1; }
    void DrawText(int, int, std::string_view text) override { pages.back() += std::string(text); }
    void NewPage() override { pages.emplace_back(); }
    int PageWidth() const override { return 100; }
    int PageHeight() const override { return 100; }

    std::vector<std::string> pages{std::string()};
};

// A document of `count` pages; page k holds the letter 'a' + k, twice.
auto Document(int count, int* runs = nullptr) {
    return [count, runs](Canvas& canvas) {
        if (runs) ++*runs;
        for (int k = 0; k < count; ++k) {
            if (k > 0) canvas.NewPage();
            const std::string letter(1, char('a' + k));
            canvas.DrawText(0, 0, letter);
            canvas.DrawText(0, 1, letter);
        }
    };
}

struct CopiesCase {
    int pages;
    int copies;
    bool collate;
    std::vector<std::string> printed;
};

class Copies : public testing::TestWithParam<CopiesCase> {};

TEST_P(Copies, EveryCopyOfEveryPageInTheOrderAskedFor) {
    const CopiesCase c = GetParam();
    PageRecorder printer;
    RenderCopies(printer, c.copies, c.collate, Document(c.pages));
    EXPECT_EQ(printer.pages, c.printed);
}

INSTANTIATE_TEST_SUITE_P(
    PageCopies, Copies,
    testing::Values(CopiesCase{3, 1, true, {"aa", "bb", "cc"}},
                    CopiesCase{3, 0, false, {"aa", "bb", "cc"}},
                    CopiesCase{2, 3, true, {"aa", "bb", "aa", "bb", "aa", "bb"}},
                    CopiesCase{2, 3, false, {"aa", "aa", "aa", "bb", "bb", "bb"}},
                    CopiesCase{1, 2, false, {"aa", "aa"}}));

TEST(PageCopies, OneCopyDrawsTheDocumentOnce) {
    PageRecorder printer;
    int runs = 0;
    RenderCopies(printer, 1, true, Document(4, &runs));
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(printer.pages.size(), 4u);
}

} // namespace
