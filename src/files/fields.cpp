#include "files/fields.h"

#include "model/text.h"

#include <algorithm>
#include <cstddef>

namespace vellumar {
namespace {

// Blanks and control characters; NUL never reaches here, the scanner cuts at it.
bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

FieldScanner::FieldScanner(std::string_view line) : rest_(line) {
    rest_ = rest_.substr(0, rest_.find('\0'));
    SkipBlanks();
}

void FieldScanner::SkipBlanks() {
    size_t i = 0;
    while (i < rest_.size() && IsBlank(rest_[i])) ++i;
    rest_.remove_prefix(i);
}

// A field in quotation marks, rest_ starting at its opening mark. Without
// doubled marks the field is a view into the line; with them, into scratch_.
std::string_view FieldScanner::TakeQuoted() {
    size_t start = 1;
    bool doubled = false;
    for (;;) {
        // Fields are short: a plain search beats a call of the library's.
        const size_t close = static_cast<size_t>(
            std::find(rest_.begin() + static_cast<std::ptrdiff_t>(start), rest_.end(), '"') -
            rest_.begin());
        if (close == rest_.size()) { // no closing mark: runs to the end
            if (doubled) scratch_.append(rest_.substr(start));
            const std::string_view field = doubled ? std::string_view(scratch_) : rest_.substr(1);
            rest_ = {};
            return field;
        }
        if (close + 1 < rest_.size() && rest_[close + 1] == '"') {
            if (!doubled) scratch_.clear();
            doubled = true;
            scratch_.append(rest_.substr(start, close + 1 - start)); // keeps one mark
            start = close + 2;
            continue;
        }
        if (doubled) scratch_.append(rest_.substr(start, close - start));
        const std::string_view field =
            doubled ? std::string_view(scratch_) : rest_.substr(1, close - 1);
        rest_.remove_prefix(close + 1);
        return field;
    }
}

std::string_view FieldScanner::TakeBare() {
    size_t end = 0;
    while (end < rest_.size() && rest_[end] != ',' && !IsBlank(rest_[end])) ++end;
    const std::string_view field = rest_.substr(0, end);
    rest_.remove_prefix(end);
    return field;
}

bool FieldScanner::Next(std::string_view& field) {
    if (rest_.empty()) return false;
    field = rest_[0] == '"' ? TakeQuoted() : TakeBare();
    SkipBlanks();
    if (!rest_.empty() && rest_[0] == ',') {
        rest_.remove_prefix(1);
        SkipBlanks();
    }
    return true;
}

std::vector<std::string> SplitFields(std::string_view line) {
    std::vector<std::string> fields;
    FieldScanner scanner(line);
    std::string_view field;
    while (scanner.Next(field)) fields.emplace_back(field);
    return fields;
}

namespace {

// Most fields are a few plain digits (a spell level, a page): no sign, no
// hexadecimal, no overflow to watch for. None for anything else.
std::optional<int32_t> PlainDigits(std::string_view field) {
    if (field.empty() || field.size() > 9) return std::nullopt;
    int32_t value = 0;
    for (const char c : field) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

std::optional<int32_t> ParseNumberField(std::string_view field) {
    if (const std::optional<int32_t> plain = PlainDigits(field)) return plain;
    size_t i = 0;
    while (i < field.size() && field[i] == ' ') ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';
    int base = 10;
    if (i < field.size() && field[i] == '$') {
        base = 16;
        ++i;
    }
    if (i == field.size()) return std::nullopt;
    // The magnitude may reach 2^31 only for a negative number.
    const int64_t limit = negative ? int64_t(1) << 31 : (int64_t(1) << 31) - 1;
    int64_t value = 0;
    for (; i < field.size(); ++i) {
        const int digit = base == 16 ? HexDigit(field[i])
                                     : (field[i] >= '0' && field[i] <= '9' ? field[i] - '0' : -1);
        if (digit < 0) return std::nullopt;
        value = value * base + digit;
        if (value > limit) return std::nullopt;
    }
    return static_cast<int32_t>(negative ? -value : value);
}

// The bytes that would end a line, the file or the text of a line when read back.
std::string WritableText(std::string_view text) {
    return BlankControls(text, Controls::FileEnds);
}

void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : WritableText(text)) {
        out += c;
        if (c == '"') out += '"';
    }
    out += '"';
}

} // namespace vellumar
