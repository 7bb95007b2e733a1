#include "output/spell_card_text.h"

namespace vellumar {
namespace {

void AppendBlock(std::vector<std::string>& lines, const CardBlock& block, std::string lead) {
    if (!block.IsTable()) {
        lines.push_back(std::move(lead) + block.Text);
        return;
    }
    // A table cannot follow a label on its line: the label stands alone above it.
    if (!lead.empty()) lines.push_back(lead.substr(0, lead.find_last_not_of(' ') + 1));
    for (const auto& row : block.Rows) {
        std::string line;
        for (size_t i = 0; i < row.size(); ++i) line += (i > 0 ? "\t" : "") + row[i];
        lines.push_back(std::move(line));
    }
}

} // namespace

std::string CardFieldText(const CardField& field) {
    return field.Label + ": " + field.Value;
}

std::vector<std::string> CardTextLines(const SpellCard& card) {
    std::vector<std::string> lines = {card.Title, card.Subtitle};
    for (const CardField& field : card.Fields) lines.push_back(CardFieldText(field));
    for (const CardBlock& block : card.Body) AppendBlock(lines, block, {});
    for (size_t i = 0; i < card.HigherLevels.size(); ++i)
        AppendBlock(lines, card.HigherLevels[i],
                    i == 0 ? std::string(HigherLevelsLabel) + " " : std::string());
    return lines;
}

} // namespace vellumar
