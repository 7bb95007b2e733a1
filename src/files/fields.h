#pragma once
// The field and number rules shared by the spell list files and the specialty file.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellumar {

// Walks the fields of one line: blanks and commas separate bare fields, a
// quoted field runs to its closing mark with a doubled mark standing for one.
// A NUL byte ends the text. Every call consumes input, so no line can loop.
class FieldScanner {
public:
    explicit FieldScanner(std::string_view line);
    // The next field, valid until the following call; false when none is left.
    bool Next(std::string_view& field);

private:
    void SkipBlanks();
    std::string_view TakeQuoted();
    std::string_view TakeBare();
    std::string_view rest_;
    std::string scratch_;
};

std::vector<std::string> SplitFields(std::string_view line);

// A whole field as a number: leading blanks, an optional sign, then decimal
// digits or "$" and hexadecimal digits. Anything else, or a value outside 32
// bits, is not a number.
std::optional<int32_t> ParseNumberField(std::string_view field);
inline int32_t NumberOrZero(std::string_view field) {
    return ParseNumberField(field).value_or(0);
}

// Text as it may stand in a file: line ends, Ctrl-Z and NUL become blanks so
// that no field can break its line or end the file. Other control characters
// are kept, so that text read from a file is saved as it was.
std::string WritableText(std::string_view text);
// Appends the text in quotation marks, a quotation mark inside it doubled.
void AppendQuoted(std::string& out, std::string_view text);

} // namespace vellumar
