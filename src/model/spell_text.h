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

// A member of a JSON object as written: the key with its quotes, and the
// value, both JSON text.
struct JsonMember {
    std::string Key;
    std::string Value;

    bool operator==(const JsonMember&) const = default;
};

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
    // The fields this program does not know, and later repeats of a field it
    // does, in the order read, written back unchanged after the known ones.
    std::vector<JsonMember> OtherFields;
    // The name as the texts spell it (UTF-8), when the single-byte name cannot
    // give it back (a character Windows-1252 lacks became "?"); written while
    // the entry keeps the name it was read with.
    std::string SpelledName;

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

    // A later entry of a level and name the texts repeat, as written (a JSON
    // object): never used, but kept to be written back after the first.
    void KeepRepeat(int32_t level, std::string_view name, std::string entry);

    std::size_t Size() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }

    struct Less {
        using is_transparent = void;
        bool operator()(const Key& a, const Key& b) const;
    };
    using Entries = std::map<Key, SpellText, Less>;
    // In file order: by level, then by name.
    const Entries& All() const { return entries_; }
    using Repeats = std::multimap<Key, std::string, Less>;
    // In file order too; of one level and name, in the order read.
    const Repeats& Repeated() const { return repeats_; }

    bool operator==(const SpellTexts&) const = default;

private:
    Entries entries_;
    Repeats repeats_;
};

inline bool operator==(const SpellTexts::Key& a, const SpellTexts::Key& b) {
    return a.Level == b.Level && a.Name == b.Name;
}

} // namespace vellumar
