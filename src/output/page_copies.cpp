#include "output/page_copies.h"

#include <vector>

namespace vellumar {

namespace {

// Passes everything on to the real canvas but draws only the page it is told
// to, and keeps the real canvas on one page.
class OnePageCanvas : public Canvas {
public:
    OnePageCanvas(Canvas& target, int page) : target_(target), wanted_(page) {}

    void SetFont(const OutputFont& font) override { target_.SetFont(font); }
    void SetUnderline(bool on) override { target_.SetUnderline(on); }
    int TextWidth(std::string_view text) override { return target_.TextWidth(text); }
    int TextHeight(std::string_view text) override { return target_.TextHeight(text); }
    void DrawText(int x, int y, std::string_view text) override {
        if (page_ == wanted_) target_.DrawText(x, y, text);
    }
    void NewPage() override { ++page_; }
    int PageWidth() const override { return target_.PageWidth(); }
    int PageHeight() const override { return target_.PageHeight(); }

    int Pages() const { return page_ + 1; }

private:
    Canvas& target_;
    int wanted_;
    int page_ = 0;
};

} // namespace

void RenderCopies(Canvas& canvas, int copies, bool collate,
                  const std::function<void(Canvas&)>& render) {
    if (copies <= 1) {
        render(canvas);
        return;
    }
    OnePageCanvas counter(canvas, -1);
    render(counter);
    const int pages = counter.Pages();

    std::vector<int> order;
    for (int outer = 0; outer < (collate ? copies : pages); ++outer)
        for (int inner = 0; inner < (collate ? pages : copies); ++inner)
            order.push_back(collate ? inner : outer);

    for (size_t i = 0; i < order.size(); ++i) {
        if (i > 0) canvas.NewPage();
        OnePageCanvas page(canvas, order[i]);
        render(page);
    }
}

} // namespace vellumar
