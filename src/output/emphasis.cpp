#include "output/emphasis.h"

namespace vellumar {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A stretch of text, or a run of asterisks that may open or close emphasis.
struct Token {
    size_t begin = 0;
    size_t length = 0;
    bool marker = false;
    size_t unmatched = 0; // of a marker run: asterisks that stay literal
    bool canOpen = false; // a marker run before a letter, not a blank
    bool canClose = false;
};

std::vector<Token> Tokens(std::string_view text) {
    std::vector<Token> tokens;
    for (size_t i = 0; i < text.size();) {
        const bool marker = text[i] == '*';
        size_t end = marker ? text.find_first_not_of('*', i) : text.find('*', i);
        if (end == std::string_view::npos) end = text.size();
        Token token{i, end - i, marker, marker ? end - i : 0};
        if (marker) {
            token.canOpen = end < text.size() && !IsBlank(text[end]);
            token.canClose = i > 0 && !IsBlank(text[i - 1]);
        }
        tokens.push_back(token);
        i = end;
    }
    return tokens;
}

} // namespace

StyledText EmphasisRuns(std::string_view text) {
    std::vector<Token> tokens = Tokens(text);
    // Each match adds its style to the tokens between its two runs: counted
    // as +1 after the opener and -1 at the closer, summed in the walk below,
    // so that no text, however many asterisks it holds, costs more than a pass.
    std::vector<int> bold(tokens.size() + 1, 0);
    std::vector<int> italic(tokens.size() + 1, 0);
    std::vector<size_t> openers;
    for (size_t t = 0; t < tokens.size(); ++t) {
        Token& closer = tokens[t];
        if (!closer.marker) continue;
        // The nearest open run matches: two asterisks a side make bold, one
        // italic, so "***" against "***" is bold inside italic.
        while (closer.canClose && closer.unmatched > 0 && !openers.empty()) {
            Token& opener = tokens[openers.back()];
            const size_t used = opener.unmatched >= 2 && closer.unmatched >= 2 ? 2 : 1;
            std::vector<int>& style = used == 2 ? bold : italic;
            ++style[openers.back() + 1];
            --style[t];
            opener.unmatched -= used;
            closer.unmatched -= used;
            if (opener.unmatched == 0) openers.pop_back();
        }
        if (closer.canOpen && closer.unmatched > 0) openers.push_back(t);
    }
    StyledText runs;
    int inBold = 0;
    int inItalic = 0;
    for (size_t t = 0; t < tokens.size(); ++t) {
        inBold += bold[t];
        inItalic += italic[t];
        const Token& token = tokens[t];
        const std::string_view piece =
            text.substr(token.begin, token.marker ? token.unmatched : token.length);
        AppendRun(runs, {std::string(piece), inBold > 0, inItalic > 0});
    }
    return runs;
}

void AppendRun(StyledText& runs, const TextRun& run) {
    if (run.Text.empty()) return;
    if (!runs.empty() && runs.back().Bold == run.Bold && runs.back().Italic == run.Italic)
        runs.back().Text += run.Text;
    else
        runs.push_back(run);
}

std::string PlainText(const StyledText& runs) {
    std::string text;
    for (const TextRun& run : runs) text += run.Text;
    return text;
}

} // namespace vellumar
