#include "files/spell_texts_file.h"

#include "files/line_reader.h"
#include "files/safe_write.h"
#include "model/code_page.h"
#include "model/spell_book.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <new>
#include <optional>

namespace vellumar {
namespace {

using Json = nlohmann::ordered_json;

// Ten thousand cards of a few kilobytes each; a larger file is not one of ours.
constexpr size_t MaxTextsBytes = size_t{64} << 20;

// The fields this program reads, in the order it writes them.
constexpr std::array<std::string_view, 12> KnownFields = {
    "name",     "level",  "school",        "casting_time", "range",       "components",
    "material", "ritual", "concentration", "duration",     "description", "higher_levels"};

bool IsKnown(const std::string& key) {
    return std::find(KnownFields.begin(), KnownFields.end(), key) != KnownFields.end();
}

struct Position {
    long long line = 1;
    long long column = 1;
};

Position PositionOf(std::string_view text, size_t offset) {
    Position at;
    for (size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++at.line;
            at.column = 1;
        } else {
            ++at.column;
        }
    }
    return at;
}

std::string At(Position at) {
    return "line " + std::to_string(at.line) + ", column " + std::to_string(at.column);
}

// Where each object of the top-level array starts, so that a wrong field can
// be named by its place as a syntax error is.
std::vector<size_t> EntryOffsets(std::string_view text) {
    std::vector<size_t> offsets;
    int depth = 0;
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (depth == 1 && c == '{') offsets.push_back(i);
            ++depth;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return offsets;
}

// The reason of a parse error without the library's prefix and place.
std::string SyntaxReason(const std::string& what) {
    const auto column = what.find("column ");
    if (column == std::string::npos) {
        const auto kind = what.find("] ");
        return kind == std::string::npos ? what : what.substr(kind + 2);
    }
    const auto colon = what.find(": ", column);
    return colon == std::string::npos ? what : what.substr(colon + 2);
}

// The library's document builder, made to stop at the first error instead of
// throwing, so that every error has its place, a number too large for a
// double (thrown as another kind of error, without a place) among them.
class DocumentBuilder : public nlohmann::detail::json_sax_dom_parser<Json> {
public:
    explicit DocumentBuilder(Json& document) : json_sax_dom_parser(document, false) {}

    template <class Error>
    bool parse_error(std::size_t position, const std::string& /*token*/, const Error& error) {
        // The library counts from 1 and points just past the byte it stopped at.
        offset = position > 0 ? position - 1 : 0;
        reason = SyntaxReason(error.what());
        return false;
    }

    size_t offset = 0;
    std::string reason;
};

struct EntryError {
    std::string what;
};

std::string TextField(const Json& entry, const char* key) {
    const auto at = entry.find(key);
    if (at == entry.end() || at->is_null()) return {};
    if (!at->is_string()) throw EntryError{std::string("\"") + key + "\" must be a text"};
    return at->get<std::string>();
}

bool FlagField(const Json& entry, const char* key) {
    const auto at = entry.find(key);
    if (at == entry.end() || at->is_null()) return false;
    if (!at->is_boolean()) throw EntryError{std::string("\"") + key + "\" must be true or false"};
    return at->get<bool>();
}

std::vector<std::string> TextsField(const Json& entry, const char* key) {
    const auto at = entry.find(key);
    if (at == entry.end() || at->is_null()) return {};
    const auto wrong = EntryError{std::string("\"") + key + "\" must be a list of texts"};
    if (!at->is_array()) throw wrong;
    std::vector<std::string> texts;
    for (const Json& item : *at) {
        if (!item.is_string()) throw wrong;
        texts.push_back(item.get<std::string>());
    }
    return texts;
}

int32_t LevelField(const Json& entry) {
    const auto at = entry.find("level");
    if (at == entry.end() || !at->is_number_integer())
        throw EntryError{"\"level\" must be a whole number"};
    const auto level = at->get<long long>();
    if (level < MinSpellLevel || level > MaxSpellLevel)
        throw EntryError{"\"level\" must be " + std::to_string(MinSpellLevel) + " to " +
                         std::to_string(MaxSpellLevel) + ", not " + std::to_string(level)};
    return static_cast<int32_t>(level);
}

SpellText TextOf(const Json& entry) {
    SpellText text;
    text.School = TextField(entry, "school");
    text.CastingTime = TextField(entry, "casting_time");
    text.Range = TextField(entry, "range");
    text.Components = TextsField(entry, "components");
    text.Material = TextField(entry, "material");
    text.Ritual = FlagField(entry, "ritual");
    text.Concentration = FlagField(entry, "concentration");
    text.Duration = TextField(entry, "duration");
    text.Description = TextsField(entry, "description");
    text.HigherLevels = TextsField(entry, "higher_levels");
    Json other = Json::object();
    for (const auto& [key, value] : entry.items())
        if (!IsKnown(key)) other[key] = value;
    if (!other.empty()) text.OtherFields = other.dump();
    return text;
}

FileResult<SpellTexts> Parse(const std::string& content) {
    const auto fail = [](Position at, const std::string& why) {
        return FileStatus(FileFailure::NotASpellFile, At(at) + ": " + why);
    };
    Json all;
    DocumentBuilder builder(all);
    if (!Json::sax_parse(content, &builder))
        return fail(PositionOf(content, builder.offset), builder.reason);
    if (!all.is_array()) return fail({}, "the spell texts must be a JSON array");
    // Places are looked for only when an entry is wrong: each costs a walk of the text.
    std::optional<std::vector<size_t>> offsets;
    const auto entryAt = [&](size_t i) {
        if (!offsets) offsets = EntryOffsets(content);
        return i < offsets->size() ? PositionOf(content, (*offsets)[i]) : Position{};
    };
    auto texts = std::make_unique<SpellTexts>();
    std::vector<std::string> warnings;
    for (size_t i = 0; i < all.size(); ++i) {
        const Json& entry = all[i];
        if (!entry.is_object()) return fail(entryAt(i), "each spell's text must be a JSON object");
        try {
            const int32_t level = LevelField(entry);
            const auto name = entry.find("name");
            if (name == entry.end() || !name->is_string() || name->get<std::string>().empty())
                throw EntryError{"\"name\" must be a text that is not empty"};
            const Cp1252Text single = Utf8ToCp1252(name->get<std::string>());
            if (!single.lossless)
                warnings.push_back(At(entryAt(i)) + ": the name \"" + name->get<std::string>() +
                                   "\" has characters a spell list cannot hold");
            if (texts->Find(level, single.text)) {
                warnings.push_back(At(entryAt(i)) + ": a second text of \"" + name->get<std::string>() +
                                   "\" is left out");
                continue;
            }
            texts->Set(level, single.text, TextOf(entry));
        } catch (const EntryError& error) {
            return fail(entryAt(i), error.what);
        }
    }
    FileResult<SpellTexts> read(std::move(texts));
    for (std::string& warning : warnings) read.Warn(std::move(warning));
    return read;
}

std::string Content(const SpellTexts& texts) {
    Json all = Json::array();
    for (const auto& [key, text] : texts.All()) {
        Json entry = Json::object();
        entry["name"] = Cp1252ToUtf8(key.Name);
        entry["level"] = key.Level;
        entry["school"] = text.School;
        entry["casting_time"] = text.CastingTime;
        entry["range"] = text.Range;
        entry["components"] = text.Components;
        entry["material"] = text.Material;
        entry["ritual"] = text.Ritual;
        entry["concentration"] = text.Concentration;
        entry["duration"] = text.Duration;
        entry["description"] = text.Description;
        entry["higher_levels"] = text.HigherLevels;
        if (!text.OtherFields.empty()) {
            const Json other = Json::parse(text.OtherFields);
            for (const auto& [field, value] : other.items())
                if (!IsKnown(field)) entry[field] = value;
        }
        all.push_back(std::move(entry));
    }
    // Texts the program did not make may hold any byte: replace what is not
    // UTF-8 rather than fail the whole save.
    return all.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

} // namespace

std::string CompanionTextsPath(std::string_view masterPath) {
    return std::string(masterPath) + ".texts.json";
}

FileResult<SpellTexts> ReadSpellTexts(const std::string& fileName) {
    try {
        FileStatus opened;
        const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
            OpenRegularFile(fileName, opened), &std::fclose);
        if (!file) {
            if (opened.Missing()) return std::make_unique<SpellTexts>();
            return opened;
        }
        std::string content;
        std::array<char, 1 << 16> chunk;
        while (const size_t got = std::fread(chunk.data(), 1, chunk.size(), file.get())) {
            content.append(chunk.data(), got);
            if (content.size() > MaxTextsBytes)
                return FileStatus(FileFailure::CannotRead,
                                  "larger than " + std::to_string(MaxTextsBytes >> 20) + " MiB");
        }
        if (std::ferror(file.get())) return FileStatus::FromErrno(FileFailure::CannotRead, errno);
        if (content.starts_with(Utf8ByteOrderMark)) content.erase(0, Utf8ByteOrderMark.size());
        return Parse(content);
    } catch (const std::bad_alloc&) {
        return FileStatus(FileFailure::CannotRead, "not enough memory");
    }
}

FileResult<std::string> SpellTextsFileText(const SpellTexts& texts) {
    try {
        return std::make_unique<std::string>(Content(texts));
    } catch (const std::bad_alloc&) {
        return FileStatus(FileFailure::CannotWrite, "not enough memory");
    } catch (const nlohmann::json::exception& error) {
        return FileStatus(FileFailure::CannotWrite, error.what());
    }
}

FileStatus WriteSpellTexts(const SpellTexts& texts, const std::string& fileName) {
    FileResult<std::string> content = SpellTextsFileText(texts);
    if (!content) return content.Status();
    try {
        return WriteFileAtomically(fileName, *content);
    } catch (const std::bad_alloc&) {
        return FileStatus(FileFailure::CannotWrite, "not enough memory");
    }
}

} // namespace vellumar
