#pragma once
// The options that set the output format on a command line, read in one place
// for vellumar-cli text and pdf and for vellumar --export-pdf. Each program
// words its own messages; the names and the rules are these.

#include "output/output_format.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellumar {

struct FormatOptionName {
    std::string_view name; // with the leading "--"
    bool takesValue;
};

// In the order the usage texts name them.
inline constexpr std::array<FormatOptionName, 6> FormatOptionNames = {{
    {"--columns", true},
    {"--category", false},
    {"--no-book-page", false},
    {"--frequency", false},
    {"--texts", false},
    {"--caption", true},
}};

inline constexpr int32_t MinColumns = 0;
inline constexpr int32_t MaxColumns = 4;

// What the options ask for: the format, and the caption when one is given.
struct FormatOptions {
    OutputFormat format;
    std::optional<std::string> caption;
};

// The options read, or the one whose value cannot be taken.
struct FormatOptionsRead {
    FormatOptions options;
    std::string badOption; // empty when every value could be taken
    std::string badValue;  // the value given to it

    explicit operator bool() const { return badOption.empty(); }
};

// The value of an option by its name: nullopt when it is absent, the empty
// text for a flag that is present.
using OptionValue = std::function<std::optional<std::string>(std::string_view name)>;

// --columns takes a whole number from MinColumns to MaxColumns.
FormatOptionsRead ReadFormatOptions(const OptionValue& value);

// The words that pass the same options on to another program: "--columns=N",
// the flags, "--caption=TEXT"; what is the default is left out.
std::vector<std::string> FormatOptionWords(const FormatOptions& options);

} // namespace vellumar
