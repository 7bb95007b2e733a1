#include "output/spell_card.h"

#include "model/code_page.h"

#include <algorithm>

namespace vellumar {
namespace {

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

bool IsTableRow(std::string_view paragraph) {
    return !paragraph.empty() && paragraph.front() == '|';
}

// The cells between the bars of "| a | b |"; a missing closing bar is forgiven.
std::vector<std::string> TableCells(std::string_view row) {
    std::vector<std::string> cells;
    row.remove_prefix(1);
    if (!row.empty() && row.back() == '|') row.remove_suffix(1);
    while (true) {
        const auto bar = row.find('|');
        cells.push_back(Trimmed(row.substr(0, bar)));
        if (bar == std::string_view::npos) break;
        row.remove_prefix(bar + 1);
    }
    return cells;
}

// The "|---|:---:|" line under a Markdown table's heading.
bool IsRule(const std::vector<std::string>& cells) {
    return std::all_of(cells.begin(), cells.end(), [](const std::string& cell) {
        return !cell.empty() && cell.find_first_not_of("-:") == std::string::npos;
    });
}

std::string Joined(const std::vector<std::string>& parts, std::string_view between) {
    std::string out;
    for (const std::string& part : parts) {
        if (!out.empty()) out += between;
        out += part;
    }
    return out;
}

std::string ComponentsText(const SpellText& text) {
    std::string out = Joined(text.Components, ", ");
    if (!text.Material.empty()) out += (out.empty() ? "(" : " (") + text.Material + ")";
    return out;
}

// "Up to 1 minute" with concentration reads "Concentration, up to 1 minute".
std::string DurationText(const SpellText& text) {
    if (!text.Concentration) return text.Duration;
    std::string duration = text.Duration;
    if (duration.rfind("Up to ", 0) == 0) duration[0] = 'u';
    return duration.empty() ? "Concentration" : "Concentration, " + duration;
}

} // namespace

std::vector<CardBlock> CardBlocks(const std::vector<std::string>& paragraphs) {
    std::vector<CardBlock> blocks;
    bool inTable = false;
    for (const std::string& paragraph : paragraphs) {
        if (!IsTableRow(paragraph)) {
            CardBlock block;
            block.Runs = EmphasisRuns(paragraph);
            block.Text = PlainText(block.Runs);
            blocks.push_back(std::move(block));
            inTable = false;
            continue;
        }
        const std::vector<std::string> cells = TableCells(paragraph);
        if (!inTable) blocks.push_back(CardBlock{});
        inTable = true;
        CardBlock& table = blocks.back();
        if (table.Rows.size() == 1 && IsRule(cells)) continue;
        table.Rows.emplace_back();
        table.Cells.emplace_back();
        for (const std::string& cell : cells) {
            table.Cells.back().push_back(EmphasisRuns(cell));
            table.Rows.back().push_back(PlainText(table.Cells.back().back()));
        }
    }
    return blocks;
}

SpellCard MakeSpellCard(int32_t level, std::string_view name, const SpellText& text) {
    SpellCard card;
    card.Title = Cp1252ToUtf8(name);
    card.Subtitle = "Level " + std::to_string(level);
    if (!text.School.empty()) card.Subtitle += " " + text.School;
    if (text.Ritual) card.Subtitle += " (ritual)";
    card.Fields = {
        {"Casting Time", text.CastingTime},
        {"Range", text.Range},
        {"Components", ComponentsText(text)},
        {"Duration", DurationText(text)},
    };
    // A short field is shown plain: no marker belongs in it.
    for (CardField& field : card.Fields) field.Value = PlainText(EmphasisRuns(field.Value));
    card.Body = CardBlocks(text.Description);
    card.HigherLevels = CardBlocks(text.HigherLevels);
    return card;
}

} // namespace vellumar
