#include "cli/arguments.h"

#include "cli/suggestion.h"
#include "model/text.h"

#include <limits>

namespace vellumar::cli {
namespace {

// The option the command knows by that name, or nullptr.
const OptionSpec* FindOption(const CommandSpec& request, const std::string& name) {
    for (const OptionSpec& candidate : request.options)
        if (candidate.name == name) return &candidate;
    return nullptr;
}

Outcome UnknownOption(const CommandSpec& request, const std::string& name) {
    std::vector<std::string> known;
    for (const OptionSpec& candidate : request.options) known.push_back(candidate.name);
    return Outcome::UsageError(request.name + ": unknown option " + name + DidYouMean(name, known));
}

} // namespace

Result<Arguments> Arguments::Parse(const CommandSpec& request,
                                   const std::vector<std::string>& words) {
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
            if (Outcome taken = args.TakeOperand(request, word); !taken) return taken;
            continue;
        }
        const size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        const OptionSpec* option = FindOption(request, name);
        if (!option) return UnknownOption(request, name);
        if (!option->takesValue) {
            if (equals != std::string::npos)
                return Outcome::UsageError(request.name + ": option " + name + " takes no value");
            args.values_[name] = {};
        } else if (equals != std::string::npos) {
            args.values_[name] = word.substr(equals + 1);
        } else {
            if (i + 1 >= words.size())
                return Outcome::UsageError(request.name + ": option " + name + " needs a value");
            args.values_[name] = words[++i];
        }
    }
    if (Outcome whole = args.CheckWhole(request); !whole) return whole;
    return args;
}

Outcome Arguments::TakeOperand(const CommandSpec& request, const std::string& word) {
    if (!operand_ && !request.operand.empty())
        operand_ = word;
    else if (operand_ && !textOperand_ && !request.textOperand.empty())
        textOperand_ = word;
    else
        return Outcome::UsageError(request.name + ": unexpected operand '" + word + "'");
    return {};
}

Outcome Arguments::CheckWhole(const CommandSpec& request) const {
    if (request.operandRequired && !operand_)
        return Outcome::UsageError(request.name + ": missing " + request.operand);
    if (!request.textOperand.empty() && !textOperand_)
        return Outcome::UsageError(request.name + ": missing " + request.textOperand);
    struct FileName {
        std::string what;
        const std::string& name;
        bool read;
    };
    std::vector<FileName> files;
    if (operand_) files.push_back({request.operand, *operand_, true});
    for (const OptionSpec& option : request.options)
        if (option.file != FileUse::None && Has(option.name))
            files.push_back({option.name, values_.at(option.name), option.file == FileUse::Input});
    int readers = 0;
    for (const FileName& file : files) {
        if (file.name.empty())
            return Outcome::UsageError(request.name + ": the file name of " + file.what +
                                       " is empty");
        if (file.read && file.name == "-" && ++readers > 1)
            return Outcome::UsageError(request.name + ": standard input (-) can be read only once");
    }
    return {};
}

std::optional<std::string> Arguments::Value(const std::string& option) const {
    const auto it = values_.find(option);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

Result<std::string> Arguments::Required(const std::string& option) const {
    auto value = Value(option);
    if (!value) return Outcome::UsageError("missing option " + option);
    return std::move(*value);
}

Result<int32_t> Arguments::IntegerIn(const std::string& option, int32_t low, int32_t high,
                                     int32_t fallback) const {
    const auto text = Value(option);
    if (!text) return fallback;
    const auto value = ParseWholeNumber<int32_t>(*text);
    if (!value || *value < low || *value > high)
        return Outcome::UsageError(option + " must be a whole number from " + std::to_string(low) +
                                   " to " + std::to_string(high) + ", not '" + *text + "'");
    return *value;
}

Result<std::vector<int32_t>> Arguments::IntegerList(const std::string& option, size_t count) const {
    const Result<std::string> text = Required(option);
    if (!text) return text.Failure();
    std::vector<int32_t> numbers;
    size_t start = 0;
    for (;;) {
        const size_t comma = text->find(',', start);
        const auto value =
            ParseWholeNumber<int32_t>(std::string_view(*text).substr(start, comma - start));
        if (!value) break;
        numbers.push_back(*value);
        if (comma == std::string::npos) {
            if (numbers.size() == count) return numbers;
            break;
        }
        start = comma + 1;
    }
    return Outcome::UsageError(option + " must be " + std::to_string(count) +
                               " whole numbers separated by commas, not '" + *text + "'");
}

Result<std::optional<uint32_t>> Arguments::Seed() const {
    const auto text = Value("--seed");
    if (!text) return std::optional<uint32_t>();
    const auto value = ParseWholeNumber<uint32_t>(*text);
    if (!value)
        return Outcome::UsageError("--seed must be a whole number from 0 to " +
                                   std::to_string(std::numeric_limits<uint32_t>::max()) +
                                   ", not '" + *text + "'");
    return value;
}

} // namespace vellumar::cli
