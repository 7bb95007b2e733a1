#include "model/spell_text.h"

#include "model/text.h"

namespace vellumar {

bool SpellTexts::Less::operator()(const Key& a, const Key& b) const {
    if (a.Level != b.Level) return a.Level < b.Level;
    return CompareTextNoCase(a.Name, b.Name) < 0;
}

const SpellText* SpellTexts::Find(int32_t level, std::string_view name) const {
    const auto at = entries_.find(Key{level, std::string(name)});
    return at == entries_.end() ? nullptr : &at->second;
}

void SpellTexts::Set(int32_t level, std::string_view name, SpellText text) {
    Key key{level, std::string(name)};
    const auto at = entries_.find(key);
    if (at != entries_.end()) entries_.erase(at);
    entries_.emplace(std::move(key), std::move(text));
}

std::optional<SpellText> SpellTexts::Remove(int32_t level, std::string_view name) {
    const auto at = entries_.find(Key{level, std::string(name)});
    if (at == entries_.end()) return std::nullopt;
    SpellText text = std::move(at->second);
    entries_.erase(at);
    return text;
}

void SpellTexts::KeepRepeat(int32_t level, std::string_view name, std::string entry) {
    repeats_.emplace(Key{level, std::string(name)}, std::move(entry));
}

} // namespace vellumar
