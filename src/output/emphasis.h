#pragma once
// Emphasis in rules texts, as Markdown writes it: `***bold italic***`,
// `**bold**` and `*italic*`. A text becomes runs of one style each, so that
// every output draws the emphasis (or drops the markers) without seeing them.
// An asterisk that opens or closes nothing stays a literal asterisk.

#include <string>
#include <string_view>
#include <vector>

namespace vellumar {

struct TextRun {
    std::string Text;
    bool Bold = false;
    bool Italic = false;
    bool operator==(const TextRun&) const = default;
};

// Runs in text order, no run empty, no two neighbours of the same style.
using StyledText = std::vector<TextRun>;

StyledText EmphasisRuns(std::string_view text);

// Puts a run after the others, joined to the last one when the style is the
// same; an empty run adds nothing.
void AppendRun(StyledText& runs, const TextRun& run);

// The text of the runs, without markers.
std::string PlainText(const StyledText& runs);

} // namespace vellumar
