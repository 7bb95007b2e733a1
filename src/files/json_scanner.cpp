#include "files/json_scanner.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdio>
#include <system_error>

namespace vellumar {
namespace {

constexpr size_t LongestQuotedNumber = 40;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsHex(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

unsigned HexValue(char c) {
    if (IsDigit(c)) return unsigned(c - '0');
    return unsigned((c | 0x20) - 'a' + 10);
}

// A byte as an error names it.
std::string Shown(char c) {
    if (c > ' ' && c < 0x7F) return std::string("'") + c + "'";
    char hex[16];
    std::snprintf(hex, sizeof hex, "byte 0x%02X", unsigned(static_cast<unsigned char>(c)));
    return hex;
}

// Whether a number out of a double's range is too large (rather than too near
// zero, which reads as zero): the decimal exponent of its first digit that is
// not zero.
bool AboveOne(std::string_view number) {
    size_t i = number.starts_with('-') ? 1 : 0;
    long long lead = 0;
    bool found = false;
    long long integerDigits = 0;
    for (; i < number.size() && IsDigit(number[i]); ++i, ++integerDigits)
        if (!found && number[i] != '0') {
            found = true;
            lead = integerDigits;
        }
    long long place = integerDigits;
    if (i < number.size() && number[i] == '.')
        for (++i; i < number.size() && IsDigit(number[i]); ++i, ++place)
            if (!found && number[i] != '0') {
                found = true;
                lead = place;
            }
    long long exponent = 0;
    if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
        ++i;
        const bool negative = i < number.size() && number[i] == '-';
        if (i < number.size() && (number[i] == '-' || number[i] == '+')) ++i;
        for (; i < number.size(); ++i)
            exponent = std::min(exponent * 10 + (number[i] - '0'), 1LL << 40);
        if (negative) exponent = -exponent;
    }
    return found && integerDigits - lead - 1 + exponent >= 0;
}

} // namespace

bool JsonScanner::Fail(size_t offset, std::string reason) {
    if (!failed_) {
        failed_ = true;
        errorAt_ = std::min(offset, text_.size());
        reason_ = std::move(reason);
    }
    return false;
}

bool JsonScanner::Unexpected(std::string_view expected) {
    const std::string what =
        pos_ >= text_.size() ? std::string("end of the text") : Shown(text_[pos_]);
    return Fail(pos_, "unexpected " + what + "; expected " + std::string(expected));
}

char JsonScanner::Peek() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\n' ||
                                   text_[pos_] == '\r' || text_[pos_] == '\t'))
        ++pos_;
    return pos_ < text_.size() ? text_[pos_] : '\0';
}

bool JsonScanner::Open(char bracket, size_t depth, bool& empty) {
    if (failed_) return false;
    if (Peek() != bracket) return Unexpected(bracket == '[' ? "'['" : "'{'");
    if (depth + 1 > bounds_.maxDepth)
        return Fail(pos_, "nested deeper than " + std::to_string(bounds_.maxDepth) + " levels");
    ++pos_;
    empty = Peek() == (bracket == '[' ? ']' : '}');
    if (empty) ++pos_;
    return true;
}

std::optional<std::string_view> JsonScanner::Key(size_t& members) {
    if (failed_) return std::nullopt;
    if (Peek() != '"') {
        Unexpected("a key in quotes");
        return std::nullopt;
    }
    if (++members > bounds_.maxMembers) {
        Fail(pos_, "more than " + std::to_string(bounds_.maxMembers) + " keys in one object");
        return std::nullopt;
    }
    const size_t start = pos_;
    if (!String()) return std::nullopt;
    const std::string_view key = text_.substr(start, pos_ - start);
    if (Peek() != ':') {
        Unexpected("':'");
        return std::nullopt;
    }
    ++pos_;
    return key;
}

bool JsonScanner::Next(char close, bool& more) {
    if (failed_) return false;
    const char c = Peek();
    if (c == ',' || c == close) {
        ++pos_;
        more = c == ',';
        return true;
    }
    return Unexpected(close == ']' ? "',' or ']'" : "',' or '}'");
}

bool JsonScanner::Finish() {
    if (failed_) return false;
    Peek();
    return pos_ >= text_.size() || Unexpected("the end of the text");
}

// Opens the container that comes next inside the stack's; one that closes at
// once is done and never pushed.
bool JsonScanner::OpenFrame(size_t depth, bool& empty) {
    const bool object = text_[pos_] == '{';
    if (!Open(text_[pos_], depth + stack_.size(), empty)) return false;
    if (empty) return true;
    stack_.push_back({object, 0});
    return !object || Key(stack_.back().members);
}

// A scalar whole, or the opening of a container that holds more.
bool JsonScanner::BeginValue(size_t depth, bool& opened) {
    const char c = Peek();
    if (c != '[' && c != '{') return Scalar();
    bool empty = false;
    if (!OpenFrame(depth, empty)) return false;
    opened = !empty;
    return true;
}

// After a value inside the innermost container: its next element or member,
// or its end.
bool JsonScanner::AfterValue(bool& wantValue) {
    bool more = false;
    if (!Next(stack_.back().object ? '}' : ']', more)) return false;
    wantValue = more;
    if (!more) {
        stack_.pop_back();
        return true;
    }
    return !stack_.back().object || Key(stack_.back().members).has_value();
}

std::optional<std::string_view> JsonScanner::Value(size_t depth) {
    if (failed_) return std::nullopt;
    Peek();
    const size_t start = pos_;
    stack_.clear();
    // Without recursion, so that no nesting the bounds allow can use up the stack.
    for (bool wantValue = true;;) {
        bool opened = false;
        if (wantValue && !BeginValue(depth, opened)) return std::nullopt;
        if (opened) continue;
        if (stack_.empty()) return text_.substr(start, pos_ - start);
        if (!AfterValue(wantValue)) return std::nullopt;
    }
}

bool JsonScanner::Scalar() {
    switch (pos_ < text_.size() ? text_[pos_] : '\0') {
    case '"':
        return String();
    case 't':
        return Literal("true");
    case 'f':
        return Literal("false");
    case 'n':
        return Literal("null");
    default:
        if (pos_ < text_.size() && (text_[pos_] == '-' || IsDigit(text_[pos_]))) return Number();
        return Unexpected("a value");
    }
}

bool JsonScanner::Literal(std::string_view word) {
    const std::string_view here = text_.substr(pos_, word.size());
    const auto differs = std::mismatch(here.begin(), here.end(), word.begin()).first;
    if (differs == here.end() && here.size() == word.size()) {
        pos_ += word.size();
        return true;
    }
    pos_ += size_t(differs - here.begin());
    return Unexpected("'" + std::string(word) + "'");
}

bool JsonScanner::Digits() {
    const size_t start = pos_;
    while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_;
    return pos_ > start;
}

bool JsonScanner::Number() {
    const size_t start = pos_;
    const auto at = [this](char c) { return pos_ < text_.size() && text_[pos_] == c; };
    if (at('-')) ++pos_;
    if (at('0'))
        ++pos_;
    else if (!Digits())
        return Unexpected("a digit");
    bool integer = true;
    if (at('.')) {
        ++pos_;
        integer = false;
        if (!Digits()) return Unexpected("a digit after '.'");
    }
    if (at('e') || at('E')) {
        ++pos_;
        integer = false;
        if (at('+') || at('-')) ++pos_;
        if (!Digits()) return Unexpected("a digit of the exponent");
    }
    return CheckMagnitude(start, integer);
}

// A number must fit a double, as readers of JSON hold one; smaller than a
// 64-bit integer it always does.
bool JsonScanner::CheckMagnitude(size_t start, bool integer) {
    const std::string_view number = text_.substr(start, pos_ - start);
    if (integer && number.size() < 19) return true;
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc::result_out_of_range || !AboveOne(number)) return true;
    const std::string shown = number.size() <= LongestQuotedNumber
                                  ? std::string(number)
                                  : std::string(number.substr(0, LongestQuotedNumber)) + "...";
    return Fail(pos_ - 1, "number overflow parsing '" + shown + "'");
}

bool JsonScanner::String() {
    const size_t start = pos_++;
    for (;;) {
        while (pos_ < text_.size()) {
            const auto c = static_cast<unsigned char>(text_[pos_]);
            if (c < 0x20 || c >= 0x80 || c == '"' || c == '\\') break;
            ++pos_;
        }
        if (pos_ >= text_.size()) return Fail(start, "a text without its closing quote");
        const auto c = static_cast<unsigned char>(text_[pos_]);
        if (c == '"') {
            ++pos_;
            return true;
        }
        if (c == '\\') {
            if (!Escape()) return false;
        } else if (c < 0x20) {
            return Fail(pos_, "a control character in a text must be escaped");
        } else if (!Utf8Sequence()) {
            return false;
        }
    }
}

bool JsonScanner::Escape() {
    const auto unit = [this](size_t at, unsigned& value) {
        if (at + 6 > text_.size() || text_[at] != '\\' || text_[at + 1] != 'u' ||
            !std::all_of(text_.begin() + long(at) + 2, text_.begin() + long(at) + 6, IsHex))
            return false;
        value = 0;
        for (size_t i = at + 2; i < at + 6; ++i) value = value * 16 + HexValue(text_[i]);
        return true;
    };
    const char kind = pos_ + 1 < text_.size() ? text_[pos_ + 1] : '\0';
    if (kind != 'u') {
        if (std::string_view("\"\\/bfnrt").find(kind) == std::string_view::npos)
            return Fail(pos_, "an escape that is not JSON");
        pos_ += 2;
        return true;
    }
    unsigned high = 0;
    if (!unit(pos_, high)) return Fail(pos_, "\\u must be followed by four hexadecimal digits");
    if (high >= 0xDC00 && high <= 0xDFFF)
        return Fail(pos_, "a low surrogate \\u escape without a high one before it");
    unsigned low = 0;
    if (high >= 0xD800 && high <= 0xDBFF) {
        if (!unit(pos_ + 6, low) || low < 0xDC00 || low > 0xDFFF)
            return Fail(pos_, "a high surrogate \\u escape without a low one after it");
        pos_ += 6;
    }
    pos_ += 6;
    return true;
}

// The sequences RFC 3629 allows: no overlong forms, no surrogates, nothing past U+10FFFF.
bool JsonScanner::Utf8Sequence() {
    struct Lead {
        unsigned char first, last; // lead bytes
        unsigned char low, high;   // the byte after the lead
        size_t length;
    };
    static constexpr Lead leads[] = {
        {0xC2, 0xDF, 0x80, 0xBF, 2}, {0xE0, 0xE0, 0xA0, 0xBF, 3}, {0xE1, 0xEC, 0x80, 0xBF, 3},
        {0xED, 0xED, 0x80, 0x9F, 3}, {0xEE, 0xEF, 0x80, 0xBF, 3}, {0xF0, 0xF0, 0x90, 0xBF, 4},
        {0xF1, 0xF3, 0x80, 0xBF, 4}, {0xF4, 0xF4, 0x80, 0x8F, 4},
    };
    const auto byte = [this](size_t at) {
        return at < text_.size() ? static_cast<unsigned char>(text_[at]) : 0;
    };
    const unsigned char first = byte(pos_);
    const Lead* lead = std::find_if(std::begin(leads), std::end(leads), [first](const Lead& l) {
        return first >= l.first && first <= l.last;
    });
    if (lead == std::end(leads)) return Fail(pos_, "a text that is not UTF-8");
    for (size_t i = 1; i < lead->length; ++i) {
        const unsigned char next = byte(pos_ + i);
        const unsigned char low = i == 1 ? lead->low : 0x80;
        const unsigned char high = i == 1 ? lead->high : 0xBF;
        if (next < low || next > high) return Fail(pos_ + i, "a text that is not UTF-8");
    }
    pos_ += lead->length;
    return true;
}

std::string JsonStringText(std::string_view token) {
    if (token.find('\\') == std::string_view::npos)
        return std::string(token.substr(1, token.size() - 2));
    return nlohmann::json::parse(token).get<std::string>();
}

} // namespace vellumar
