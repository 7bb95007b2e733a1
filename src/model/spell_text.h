#pragma once
// What a spell does: its rules text, kept beside the master list in a file of
// its own, so that master lists and books keep their format. The texts are
// UTF-8, as the companion file holds them; names are the program's
// single-byte text, as in the master list. An entry is found by level and by
// name compared as the spell files sort (a to z folded).

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellumar {

struct SpellText {
    std::string School; // as the texts name it, e.g. "Evocation"
    std::string CastingTime;
    std::string Range;
    std::vector<std::string> Components; // "V", "S", "M"
    std::string Material;                // the material component; empty when there is none
    bool Ritual = false;
    bool Concentration = false;
    std::string Duration;
    // Paragraphs; a run of paragraphs that start with "|" is a Markdown table,
    // one row a paragraph, its second row the "|---|" rule.
    std::vector<std::string> Description;
    std::vector<std::string> HigherLevels; // the "At Higher Levels" paragraphs
    // The fields this program does not know, as the text of a JSON object
    // ("{}" or empty when none), written back unchanged.
    std::string OtherFields;

    bool operator==(const SpellText&) const = default;
};

class SpellTexts {
public:
    struct Key {
        int32_t Level = 0;
        std::string Name; // single-byte, as the master list has it
    };

    // None when no entry has this level and name.
    const SpellText* Find(int32_t level, std::string_view name) const;
    // Adds the entry, or replaces the one of the same level and name (whose
    // name then takes this spelling).
    void Set(int32_t level, std::string_view name, SpellText text);
    // The entry taken out, or none when there was none.
    std::optional<SpellText> Remove(int32_t level, std::string_view name);

    std::size_t Size() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }

    struct Less {
        using is_transparent = void;
        bool operator()(const Key& a, const Key& b) const;
    };
    using Entries = std::map<Key, SpellText, Less>;
    // In file order: by level, then by name.
    const Entries& All() const { return entries_; }

    bool operator==(const SpellTexts&) const = default;

private:
    Entries entries_;
};

inline bool operator==(const SpellTexts::Key& a, const SpellTexts::Key& b) {
    return a.Level == b.Level && a.Name == b.Name;
}

} // namespace vellumar
