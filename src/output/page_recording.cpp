#include "output/page_recording.h"

#include <algorithm>
#include <utility>

namespace vellumar {

void RecordedPages::Draw(int page, Canvas& canvas) const {
    if (page < 0 || page >= Count()) return;
    for (const Step& step : pages_[size_t(page)]) {
        switch (step.kind) {
        case Step::Kind::Font:
            canvas.SetFont(fonts_[size_t(step.font)]);
            break;
        case Step::Kind::Underline:
            canvas.SetUnderline(step.on);
            break;
        case Step::Kind::Text:
            canvas.DrawText(step.x, step.y, step.text);
            break;
        }
    }
}

void PageRecorder::SetFont(const OutputFont& font) {
    measure_.SetFont(font);
    // A layout switches among a few fonts, over and over.
    auto& fonts = pages_.fonts_;
    const auto known = std::find(fonts.begin(), fonts.end(), font);
    font_ = int(known - fonts.begin());
    if (known == fonts.end()) fonts.push_back(font);
    underline_ = font.Underline;
    pages_.pages_.back().push_back({.kind = Step::Kind::Font, .font = font_});
}

void PageRecorder::SetUnderline(bool on) {
    measure_.SetUnderline(on);
    underline_ = on;
    pages_.pages_.back().push_back({.kind = Step::Kind::Underline, .on = on});
}

void PageRecorder::DrawText(int x, int y, std::string_view text) {
    pages_.pages_.back().push_back(
        {.kind = Step::Kind::Text, .x = x, .y = y, .text = std::string(text)});
}

void PageRecorder::NewPage() {
    // Each page starts in the font the last one ended in.
    auto& page = pages_.pages_.emplace_back();
    if (font_ < 0) return;
    page.push_back({.kind = Step::Kind::Font, .font = font_});
    if (underline_ != pages_.fonts_[size_t(font_)].Underline)
        page.push_back({.kind = Step::Kind::Underline, .on = underline_});
}

RecordedPages PageRecorder::Take() {
    font_ = -1;
    underline_ = false;
    return std::exchange(pages_, RecordedPages());
}

} // namespace vellumar
