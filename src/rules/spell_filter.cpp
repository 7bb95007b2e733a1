#include "rules/spell_filter.h"

#include "model/code_page.h"
#include "model/spell_text.h"
#include "model/text.h"

#include <algorithm>
#include <array>
#include <utility>

namespace vellumar {
namespace {

// The next word of the text, from `at` on: a run without blanks, in which a
// double-quoted stretch may hold blanks (the quotes are dropped).
std::string NextWord(std::string_view text, size_t& at) {
    while (at < text.size() && IsSpaceOrTab(text[at])) ++at;
    std::string word;
    bool quoted = false;
    for (; at < text.size() && (quoted || !IsSpaceOrTab(text[at])); ++at) {
        if (text[at] == '"')
            quoted = !quoted;
        else
            word += text[at];
    }
    return word;
}

enum class Key { Name, Category, Frequency, Book, Text };

// The key a word starts with, and the value after it.
std::pair<Key, std::string> SplitTerm(const std::string& word) {
    static const std::array<std::pair<std::string_view, Key>, 5> keys{{
        {"school:", Key::Category},
        {"cat:", Key::Category},
        {"freq:", Key::Frequency},
        {"book:", Key::Book},
        {"text:", Key::Text},
    }};
    for (const auto& [prefix, key] : keys)
        if (word.size() >= prefix.size() &&
            CompareTextNoCase(std::string_view(word).substr(0, prefix.size()), prefix) == 0)
            return {key, word.substr(prefix.size())};
    return {Key::Name, word};
}

// Every field of the rules text in the code page the user's words are in, one
// a line, so that a word runs across no two fields.
std::string SearchableText(const SpellText& text) {
    std::string all;
    const auto add = [&all](const std::string& field) { (all += field) += '\n'; };
    for (const std::string* field :
         {&text.CastingTime, &text.Range, &text.Material, &text.Duration})
        add(*field);
    for (const auto* paragraphs : {&text.Components, &text.Description, &text.HigherLevels})
        std::for_each(paragraphs->begin(), paragraphs->end(), add);
    return Utf8ToCp1252(all).text;
}

bool TextMatches(const SpellFilter& filter, const tSpell& spell) {
    if (filter.textWords.empty()) return true;
    const SpellText* text = filter.texts ? filter.texts->Find(spell.Level, spell.Name) : nullptr;
    if (!text) return false;
    const std::string searchable = SearchableText(*text);
    return std::all_of(
        filter.textWords.begin(), filter.textWords.end(),
        [&searchable](const std::string& word) { return ContainsForUser(searchable, word); });
}

} // namespace

SpellFilter ParseSpellFilter(std::string_view text, const SpellTexts* texts) {
    SpellFilter filter;
    filter.texts = texts;
    size_t at = 0;
    while (at < text.size()) {
        const std::string word = NextWord(text, at);
        if (word.empty()) continue;
        auto [key, value] = SplitTerm(word);
        // A key still being typed ("freq:") narrows nothing yet.
        if (value.empty()) continue;
        switch (key) {
        case Key::Name:
            filter.nameWords.push_back(std::move(value));
            break;
        case Key::Category:
            filter.categories.push_back(std::move(value));
            break;
        case Key::Book:
            filter.books.push_back(std::move(value));
            break;
        case Key::Text:
            filter.textWords.push_back(std::move(value));
            break;
        case Key::Frequency:
            if (const auto code = FrequencyNamed(value))
                filter.frequencies.push_back(*code);
            else
                filter.unknownFrequency = true;
            break;
        }
    }
    return filter;
}

bool SpellFilter::Empty() const {
    return nameWords.empty() && categories.empty() && books.empty() && frequencies.empty() &&
           !unknownFrequency && textWords.empty();
}

bool SpellFilter::Matches(const tSpell& spell) const {
    if (unknownFrequency) return false;
    const auto all = [](const std::vector<std::string>& parts, const std::string& text) {
        return std::all_of(parts.begin(), parts.end(), [&text](const std::string& part) {
            return ContainsForUser(text, part);
        });
    };
    return all(nameWords, spell.Name) && all(categories, spell.Category) &&
           all(books, spell.Book) &&
           std::all_of(frequencies.begin(), frequencies.end(),
                       [&spell](int32_t code) { return spell.Frequency == code; }) &&
           TextMatches(*this, spell);
}

std::vector<tSpell*> MatchingSpells(TSpellBook& book, int32_t level, const SpellFilter& filter) {
    std::vector<tSpell*> spells;
    const bool everyLevel = level == 0;
    spells.reserve(static_cast<size_t>(everyLevel ? book.Count() : book.CountOfLevel(level)));
    if (everyLevel)
        book.First();
    else
        book.GoToLevel(level);
    const bool all = filter.Empty();
    for (; tSpell* spell = book.CurrentSpell(); book.Next()) {
        if (!everyLevel && spell->Level != level) break;
        if (all || filter.Matches(*spell)) spells.push_back(spell);
    }
    return spells;
}

} // namespace vellumar
