#include "cli/arguments.h"

#include "cli/suggestion.h"

#include <charconv>
#include <limits>

namespace vellumar::cli {
namespace {

template <class T> std::optional<T> ParseNumber(const std::string& text) {
    T value{};
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    if (begin != end && *begin == '+') {
        ++begin;
        if (begin != end && *begin == '-') return std::nullopt;
    }
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end || begin == end) return std::nullopt;
    return value;
}

// The option the command knows by that name, or a usage error with a suggestion.
const OptionSpec& FindOption(const CommandSpec& request, const std::string& name) {
    for (const OptionSpec& candidate : request.options)
        if (candidate.name == name) return candidate;
    std::vector<std::string> known;
    for (const OptionSpec& candidate : request.options) known.push_back(candidate.name);
    throw UsageError(request.name + ": unknown option " + name + DidYouMean(name, known));
}

} // namespace

Arguments Arguments::Parse(const CommandSpec& request, const std::vector<std::string>& words) {
    Arguments args;
    bool optionsEnded = false;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (!optionsEnded && word == "--") {
            optionsEnded = true;
            continue;
        }
        // "-" alone is standard input or output, an operand like a file name.
        if (optionsEnded || word.size() < 2 || word[0] != '-') {
            if (args.operand_ || request.operand.empty())
                throw UsageError(request.name + ": unexpected operand '" + word + "'");
            args.operand_ = word;
            continue;
        }
        const size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        const OptionSpec& option = FindOption(request, name);
        if (!option.takesValue) {
            if (equals != std::string::npos)
                throw UsageError(request.name + ": option " + name + " takes no value");
            args.values_[name] = {};
        } else if (equals != std::string::npos) {
            args.values_[name] = word.substr(equals + 1);
        } else {
            if (i + 1 >= words.size())
                throw UsageError(request.name + ": option " + name + " needs a value");
            args.values_[name] = words[++i];
        }
    }
    if (request.operandRequired && !args.operand_)
        throw UsageError(request.name + ": missing " + request.operand);
    return args;
}

std::optional<std::string> Arguments::Value(const std::string& option) const {
    const auto it = values_.find(option);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

std::string Arguments::Required(const std::string& option) const {
    const auto value = Value(option);
    if (!value) throw UsageError("missing option " + option);
    return *value;
}

int32_t Arguments::IntegerIn(const std::string& option, int32_t low, int32_t high,
                             int32_t fallback) const {
    const auto text = Value(option);
    if (!text) return fallback;
    const auto value = ParseNumber<int32_t>(*text);
    if (!value || *value < low || *value > high)
        throw UsageError(option + " must be a whole number from " + std::to_string(low) + " to " +
                         std::to_string(high) + ", not '" + *text + "'");
    return *value;
}

std::vector<int32_t> Arguments::IntegerList(const std::string& option, size_t count) const {
    const std::string text = Required(option);
    std::vector<int32_t> numbers;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        const auto value = ParseNumber<int32_t>(text.substr(start, comma - start));
        if (!value) break;
        numbers.push_back(*value);
        if (comma == std::string::npos) {
            if (numbers.size() == count) return numbers;
            break;
        }
        start = comma + 1;
    }
    throw UsageError(option + " must be " + std::to_string(count) +
                     " whole numbers separated by commas, not '" + text + "'");
}

std::optional<uint32_t> Arguments::Seed() const {
    const auto text = Value("--seed");
    if (!text) return std::nullopt;
    const auto value = ParseNumber<uint32_t>(*text);
    if (!value)
        throw UsageError("--seed must be a whole number from 0 to " +
                         std::to_string(std::numeric_limits<uint32_t>::max()) + ", not '" + *text +
                         "'");
    return value;
}

} // namespace vellumar::cli
