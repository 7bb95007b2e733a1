#pragma once
// One pass over JSON text (RFC 8259, UTF-8) that checks its grammar and its
// bounds (how deep arrays and objects nest, how many keys one object holds)
// without building a document, and tells where each value lies. A reader
// walks the few outer levels it knows with Open, Key and Next, takes each
// value whole with Value, decodes the few values it knows and keeps the rest
// as written. Time is linear in the text; memory is the nesting stack.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellumar {

struct JsonBounds {
    size_t maxDepth = 32;     // arrays and objects inside one another, the outermost included
    size_t maxMembers = 1024; // keys of one object, repeats included
};

class JsonScanner {
public:
    JsonScanner(std::string_view text, JsonBounds bounds) : text_(text), bounds_(bounds) {}

    // The next byte after blanks, or '\0' at the end of the text.
    char Peek();
    // Where the scan stands: after the blanks Peek skipped.
    size_t Offset() const { return pos_; }

    // Takes the '[' or '{' that comes next, opening a container inside
    // `depth` others; true, with `empty`, when it closes at once.
    bool Open(char bracket, size_t depth, bool& empty);
    // A member's key, quotes included, and the ':' after it; `members`
    // counts the keys of the object.
    std::optional<std::string_view> Key(size_t& members);
    // After an element or member: a ',' (more follows) or the `close` bracket.
    bool Next(char close, bool& more);
    // One whole value inside `depth` containers, as written.
    std::optional<std::string_view> Value(size_t depth);
    // Nothing but blanks is left.
    bool Finish();

    bool Failed() const { return failed_; }
    // The place and reason of the first error.
    size_t ErrorOffset() const { return errorAt_; }
    const std::string& ErrorReason() const { return reason_; }

private:
    struct Frame {
        bool object;
        size_t members;
    };
    bool Fail(size_t offset, std::string reason);
    bool Unexpected(std::string_view expected);
    bool OpenFrame(size_t depth, bool& empty);
    bool BeginValue(size_t depth, bool& opened);
    bool AfterValue(bool& wantValue);
    bool Scalar();
    bool Literal(std::string_view word);
    bool Number();
    bool Digits();
    bool String();
    bool Escape();
    bool Utf8Sequence();
    bool CheckMagnitude(size_t start, bool integer);

    std::string_view text_;
    JsonBounds bounds_;
    size_t pos_ = 0;
    std::vector<Frame> stack_;
    bool failed_ = false;
    size_t errorAt_ = 0;
    std::string reason_;
};

// The text of a string token the scanner took (quotes included), decoded.
std::string JsonStringText(std::string_view token);

} // namespace vellumar
