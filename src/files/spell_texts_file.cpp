#include "files/spell_texts_file.h"

#include "files/json_scanner.h"
#include "files/line_reader.h"
#include "files/safe_write.h"
#include "model/code_page.h"
#include "model/spell_book.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <memory>
#include <new>
#include <optional>
#include <sys/stat.h>

namespace vellumar {
namespace {

constexpr JsonBounds Bounds{MaxTextsDepth, MaxTextsKeys};

// The fields this program reads, in the order it writes them.
enum Field {
    Name,
    Level,
    School,
    CastingTime,
    Range,
    Components,
    Material,
    Ritual,
    Concentration,
    Duration,
    Description,
    HigherLevels,
    FieldCount
};
constexpr std::array<std::string_view, FieldCount> KnownFields = {
    "name",     "level",  "school",        "casting_time", "range",       "components",
    "material", "ritual", "concentration", "duration",     "description", "higher_levels"};

// The writer writes every known field, so an entry keeps this many others.
constexpr size_t MaxOtherFields = MaxTextsKeys - FieldCount;

std::optional<Field> KnownField(std::string_view key) {
    const auto at = std::find(KnownFields.begin(), KnownFields.end(), key);
    if (at == KnownFields.end()) return std::nullopt;
    return Field(at - KnownFields.begin());
}

std::string MiB(size_t bytes) {
    return std::to_string(bytes >> 20) + " MiB";
}

// Line and column of places asked for mostly in rising order, found in one
// walk of the text however many there are.
class Places {
public:
    explicit Places(std::string_view text) : text_(text) {}

    std::string At(size_t offset) {
        offset = std::min(offset, text_.size());
        if (offset < offset_) *this = Places(text_);
        const std::string_view walked = text_.substr(offset_, offset - offset_);
        const auto lines = std::count(walked.begin(), walked.end(), '\n');
        if (lines > 0) {
            line_ += lines;
            column_ = 1 + (walked.size() - walked.rfind('\n') - 1);
        } else {
            column_ += walked.size();
        }
        offset_ = offset;
        return "line " + std::to_string(line_) + ", column " + std::to_string(column_);
    }

private:
    std::string_view text_;
    size_t offset_ = 0;
    size_t line_ = 1;
    size_t column_ = 1;
};

// An entry as the scanner found it: the first of each known field, and every
// other member as written.
struct Entry {
    size_t offset = 0;     // of its '{'
    std::string_view text; // the whole object
    std::array<std::optional<std::string_view>, FieldCount> known;
    std::vector<JsonMember> others;
    std::vector<std::pair<size_t, Field>> repeatedFields; // where, and which
};

struct EntryError {
    size_t offset;
    std::string what;
};

bool ScanEntry(JsonScanner& scan, std::string_view content, Entry& entry) {
    entry.offset = scan.Offset();
    entry.known.fill(std::nullopt);
    entry.others.clear();
    entry.repeatedFields.clear();
    bool empty = false;
    if (!scan.Open('{', 1, empty)) return false;
    size_t members = 0;
    for (bool more = !empty; more;) {
        scan.Peek();
        const size_t keyAt = scan.Offset();
        const auto key = scan.Key(members);
        const auto value = key ? scan.Value(2) : std::nullopt;
        if (!value || !scan.Next('}', more)) return false;
        const std::optional<Field> field = KnownField(JsonStringText(*key));
        if (field && !entry.known[*field]) {
            entry.known[*field] = value;
            continue;
        }
        if (field) entry.repeatedFields.emplace_back(keyAt, *field);
        entry.others.push_back({std::string(*key), std::string(*value)});
    }
    entry.text = content.substr(entry.offset, scan.Offset() - entry.offset);
    return true;
}

// The known fields' values, checked for their kind. An absent or null field
// is empty, but for the name and the level.
class EntryFields {
public:
    explicit EntryFields(const Entry& entry) : entry_(entry) {}

    std::optional<std::string_view> Value(Field field) const {
        const auto& value = entry_.known[field];
        if (!value || *value == "null") return std::nullopt;
        return value;
    }

    std::string Text(Field field) const {
        const auto value = Value(field);
        if (!value) return {};
        if (!value->starts_with('"')) Wrong(field, "must be a text");
        return JsonStringText(*value);
    }

    bool Flag(Field field) const {
        const auto value = Value(field);
        if (value && *value != "true" && *value != "false") Wrong(field, "must be true or false");
        return value == "true";
    }

    std::vector<std::string> Texts(Field field) const {
        const auto value = Value(field);
        if (!value) return {};
        if (!value->starts_with('[')) Wrong(field, "must be a list of texts");
        // Read and checked already: a second walk cannot fail.
        JsonScanner items(*value, Bounds);
        std::vector<std::string> texts;
        bool empty = false;
        items.Open('[', 0, empty);
        for (bool more = !empty; more;) {
            const auto item = items.Value(1);
            if (!item || !item->starts_with('"')) Wrong(field, "must be a list of texts");
            texts.push_back(JsonStringText(*item));
            if (!items.Next(']', more)) break;
        }
        return texts;
    }

    int32_t SpellLevel() const {
        const auto value = Value(Level);
        const bool whole = value && value->find_first_of(".eE") == std::string_view::npos &&
                           value->find_first_not_of("-0123456789") == std::string_view::npos;
        if (!whole) Wrong(Level, "must be a whole number");
        long long level = 0;
        const auto read = std::from_chars(value->data(), value->data() + value->size(), level);
        if (read.ec != std::errc() || level < MinSpellLevel || level > MaxSpellLevel)
            Wrong(Level, "must be " + std::to_string(MinSpellLevel) + " to " +
                             std::to_string(MaxSpellLevel) + ", not " +
                             std::string(value->substr(0, 24)));
        return static_cast<int32_t>(level);
    }

    std::string SpellName() const {
        const auto value = Value(Name);
        if (!value || !value->starts_with('"') || *value == "\"\"")
            Wrong(Name, "must be a text that is not empty");
        return JsonStringText(*value);
    }

private:
    [[noreturn]] void Wrong(Field field, const std::string& what) const {
        throw EntryError{entry_.offset, "\"" + std::string(KnownFields[field]) + "\" " + what};
    }

    const Entry& entry_;
};

SpellText TextOf(Entry& entry) {
    const EntryFields fields(entry);
    SpellText text;
    text.School = fields.Text(School);
    text.CastingTime = fields.Text(CastingTime);
    text.Range = fields.Text(Range);
    text.Components = fields.Texts(Components);
    text.Material = fields.Text(Material);
    text.Ritual = fields.Flag(Ritual);
    text.Concentration = fields.Flag(Concentration);
    text.Duration = fields.Text(Duration);
    text.Description = fields.Texts(Description);
    text.HigherLevels = fields.Texts(HigherLevels);
    text.OtherFields = std::move(entry.others);
    return text;
}

// Reads the entries one by one into the texts, noting what it does not use.
class TextsReader {
public:
    explicit TextsReader(std::string_view content) : content_(content), places_(content) {}

    FileResult<SpellTexts> Read() {
        JsonScanner scan(content_, Bounds);
        if (scan.Peek() != '[') {
            const size_t at = scan.Offset();
            if (!scan.Value(0) || !scan.Finish()) return Syntax(scan);
            return Fail(at, "the spell texts must be a JSON array");
        }
        bool empty = false;
        if (!scan.Open('[', 0, empty)) return Syntax(scan);
        Entry entry;
        for (bool more = !empty; more; ++entries_) {
            const char first = scan.Peek();
            if (entries_ == MaxTextsEntries)
                return Fail(scan.Offset(),
                            "more than " + std::to_string(MaxTextsEntries) + " spells' texts");
            if (first != '{') {
                const size_t at = scan.Offset();
                if (!scan.Value(1)) return Syntax(scan);
                return Fail(at, "each spell's text must be a JSON object");
            }
            if (!ScanEntry(scan, content_, entry)) return Syntax(scan);
            try {
                Take(entry);
            } catch (const EntryError& error) {
                return Fail(error.offset, error.what);
            }
            if (!scan.Next(']', more)) return Syntax(scan);
        }
        if (!scan.Finish()) return Syntax(scan);
        FileResult<SpellTexts> read(std::move(texts_));
        for (std::string& warning : warnings_) read.Warn(std::move(warning));
        return read;
    }

private:
    FileStatus Fail(size_t offset, const std::string& why) {
        return {FileFailure::NotASpellFile, places_.At(offset) + ": " + why};
    }
    FileStatus Syntax(const JsonScanner& scan) {
        return Fail(scan.ErrorOffset(), scan.ErrorReason());
    }
    void Warn(size_t offset, const std::string& what) {
        warnings_.push_back(places_.At(offset) + ": " + what);
    }

    void Take(Entry& entry) {
        const EntryFields fields(entry);
        const int32_t level = fields.SpellLevel();
        const std::string name = fields.SpellName();
        Cp1252Text single = Utf8ToCp1252(name);
        if (!single.lossless)
            Warn(entry.offset, "the name \"" + name + "\" has characters a spell list cannot hold");
        if (texts_->Find(level, single.text)) {
            Warn(entry.offset,
                 "a second text of \"" + name + "\" is kept in the file but not used");
            texts_->KeepRepeat(level, single.text, std::string(entry.text));
            return;
        }
        if (entry.others.size() > MaxOtherFields)
            throw EntryError{entry.offset, "more than " + std::to_string(MaxOtherFields) +
                                               " fields this program does not know"};
        SpellText text = TextOf(entry);
        for (const auto& [offset, field] : entry.repeatedFields)
            Warn(offset, "a second \"" + std::string(KnownFields[field]) +
                             "\" is kept in the file but not used");
        if (Cp1252ToUtf8(single.text) != name) text.SpelledName = name;
        texts_->Set(level, single.text, std::move(text));
    }

    std::string_view content_;
    Places places_;
    std::unique_ptr<SpellTexts> texts_ = std::make_unique<SpellTexts>();
    size_t entries_ = 0;
    std::vector<std::string> warnings_;
};

// A text as the library writes it: its escapes, and what is not UTF-8
// replaced (texts the program did not make may hold any byte).
void AppendString(std::string& out, const std::string& text) {
    // Most texts are printable ASCII without quotes or backslashes: as they are.
    const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x80 &&
               c != '"' && c != '\\';
    });
    if (!plain) {
        out += nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        return;
    }
    out += '"';
    out += text;
    out += '"';
}

void AppendTexts(std::string& out, const std::vector<std::string>& texts) {
    if (texts.empty()) {
        out += "[]";
        return;
    }
    for (size_t i = 0; i < texts.size(); ++i) {
        out += i == 0 ? "[\n      " : ",\n      ";
        AppendString(out, texts[i]);
    }
    out += "\n    ]";
}

// Whether text written as it was read is one JSON value (a key: a text) that
// the reader takes at this depth, with nothing around it.
bool ReadsBack(std::string_view json, size_t depth, bool key) {
    JsonScanner scan(json, Bounds);
    if (key && !json.starts_with('"')) return false;
    const auto value = scan.Value(depth);
    return value && value->size() == json.size();
}

// The file's text, in the form the sample keeps: as the library writes an
// array of objects with two blanks of indent, then a line end.
class TextsWriter {
public:
    FileResult<std::string> Write(const SpellTexts& texts) {
        if (texts.Size() + texts.Repeated().size() > MaxTextsEntries)
            return FileStatus(FileFailure::CannotWrite,
                              "more than " + std::to_string(MaxTextsEntries) + " spells' texts");
        auto repeat = texts.Repeated().begin();
        const auto repeatsTo = [&](const SpellTexts::Key& key, bool equalToo) {
            const SpellTexts::Less less;
            for (; repeat != texts.Repeated().end() &&
                   (less(repeat->first, key) || (equalToo && !less(key, repeat->first)));
                 ++repeat)
                Element(repeat->second);
        };
        for (const auto& [key, text] : texts.All()) {
            repeatsTo(key, false);
            if (const auto refused = Refused(key, text)) return *refused;
            Element(key, text);
            repeatsTo(key, true);
            if (out_->size() > MaxTextsBytes) return TooLarge();
        }
        for (; repeat != texts.Repeated().end(); ++repeat) Element(repeat->second);
        *out_ += count_ == 0 ? "]\n" : "\n]\n";
        if (out_->size() > MaxTextsBytes) return TooLarge();
        return std::move(out_);
    }

private:
    static FileStatus TooLarge() {
        return {FileFailure::CannotWrite,
                "the spell texts would be larger than " + MiB(MaxTextsBytes)};
    }

    // What the reader would not read back as it was.
    static std::optional<FileStatus> Refused(const SpellTexts::Key& key, const SpellText& text) {
        const auto refuse = [&key](const std::string& why) {
            return FileStatus(FileFailure::CannotWrite,
                              "the text of \"" + Cp1252ToUtf8(key.Name) + "\" " + why);
        };
        if (text.OtherFields.size() > MaxOtherFields)
            return refuse("has more than " + std::to_string(MaxOtherFields) +
                          " fields this program does not know");
        for (const JsonMember& member : text.OtherFields)
            if (!ReadsBack(member.Key, 0, true) || !ReadsBack(member.Value, 2, false))
                return refuse("has a field that is not JSON or is nested too deep");
        return std::nullopt;
    }

    void Start() { *out_ += count_++ == 0 ? "\n  " : ",\n  "; }

    void Element(const std::string& written) {
        Start();
        *out_ += written;
    }

    void Member(Field field) {
        *out_ += field == Name ? "{\n    \"" : ",\n    \"";
        *out_ += KnownFields[field];
        *out_ += "\": ";
    }

    void Element(const SpellTexts::Key& key, const SpellText& text) {
        Start();
        std::string& out = *out_;
        const bool spelled =
            !text.SpelledName.empty() && Utf8ToCp1252(text.SpelledName).text == key.Name;
        Member(Name);
        AppendString(out, spelled ? text.SpelledName : Cp1252ToUtf8(key.Name));
        Member(Level);
        out += std::to_string(key.Level);
        const std::pair<Field, const std::string*> texts[] = {
            {School, &text.School}, {CastingTime, &text.CastingTime}, {Range, &text.Range}};
        for (const auto& [field, value] : texts) {
            Member(field);
            AppendString(out, *value);
        }
        Member(Components);
        AppendTexts(out, text.Components);
        Member(Material);
        AppendString(out, text.Material);
        Member(Ritual);
        out += text.Ritual ? "true" : "false";
        Member(Concentration);
        out += text.Concentration ? "true" : "false";
        Member(Duration);
        AppendString(out, text.Duration);
        Member(Description);
        AppendTexts(out, text.Description);
        Member(HigherLevels);
        AppendTexts(out, text.HigherLevels);
        for (const JsonMember& member : text.OtherFields) {
            out += ",\n    ";
            out += member.Key;
            out += ": ";
            out += member.Value;
        }
        out += "\n  }";
    }

    std::unique_ptr<std::string> out_ = std::make_unique<std::string>("[");
    size_t count_ = 0;
};

// The whole file, refused unread when it is larger than the bound.
FileResult<std::string> FileBytes(std::FILE* file) {
    struct stat info;
    if (fstat(fileno(file), &info) != 0)
        return FileStatus::FromErrno(FileFailure::CannotRead, errno);
    if (info.st_size < 0 || size_t(info.st_size) > MaxTextsBytes)
        return FileStatus(FileFailure::CannotRead, "larger than " + MiB(MaxTextsBytes));
    auto content = std::make_unique<std::string>(size_t(info.st_size), '\0');
    content->resize(std::fread(content->data(), 1, content->size(), file));
    // A file that grew since is read on, to the bound.
    std::array<char, 1 << 16> chunk;
    while (const size_t got = std::fread(chunk.data(), 1, chunk.size(), file)) {
        content->append(chunk.data(), got);
        if (content->size() > MaxTextsBytes)
            return FileStatus(FileFailure::CannotRead, "larger than " + MiB(MaxTextsBytes));
    }
    if (std::ferror(file)) return FileStatus::FromErrno(FileFailure::CannotRead, errno);
    return content;
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
        FileResult<std::string> content = FileBytes(file.get());
        if (!content) return content.Status();
        std::string_view text = *content;
        if (text.starts_with(Utf8ByteOrderMark)) text.remove_prefix(Utf8ByteOrderMark.size());
        return TextsReader(text).Read();
    } catch (const std::bad_alloc&) {
        return FileStatus(FileFailure::CannotRead, "not enough memory");
    } catch (const nlohmann::json::exception& error) {
        // A text the scanner took but the library would not decode.
        return FileStatus(FileFailure::NotASpellFile, error.what());
    }
}

FileResult<std::string> SpellTextsFileText(const SpellTexts& texts) {
    try {
        return TextsWriter().Write(texts);
    } catch (const std::bad_alloc&) {
        return FileStatus(FileFailure::CannotWrite, "not enough memory");
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
