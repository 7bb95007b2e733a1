#pragma once
// The command line of vellumar-cli: one command, its operands and its options.

#include "cli/outcome.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vellumar::cli {

// Whether an option's value names a file read or written ("-" being
// standard input or output); such a name is never empty.
enum class FileUse { None, Input, Output };

struct OptionSpec {
    std::string name; // with the leading "--"
    bool takesValue;
    FileUse file = FileUse::None;
};

struct CommandSpec {
    std::string name;
    std::string operand; // name of the one operand, a file read, as the usage shows it
    bool operandRequired;
    std::vector<OptionSpec> options;
    // Name of a second operand, a text rather than a file ("NAME"), required
    // when named; empty for a command of one operand.
    std::string textOperand = {};
};

class Arguments {
public:
    // Options may stand before, between or after operands, as "--name value"
    // or "--name=value". A mistake is a usage error, and so are an empty file
    // name and standard input named twice (the first reader would take it all).
    static Result<Arguments> Parse(const CommandSpec& request,
                                   const std::vector<std::string>& words);

    const std::optional<std::string>& Operand() const { return operand_; }
    const std::optional<std::string>& TextOperand() const { return textOperand_; }
    bool Has(const std::string& option) const { return values_.count(option) > 0; }
    std::optional<std::string> Value(const std::string& option) const;
    // The value of an option the command cannot do without.
    Result<std::string> Required(const std::string& option) const;
    // A whole number from low to high, or the fallback when the option is absent.
    Result<int32_t> IntegerIn(const std::string& option, int32_t low, int32_t high,
                              int32_t fallback) const;
    // A list of exactly `count` whole numbers separated by commas.
    Result<std::vector<int32_t>> IntegerList(const std::string& option, size_t count) const;
    Result<std::optional<uint32_t>> Seed() const;

private:
    // The file operand, then the text operand, as the command has them.
    Outcome TakeOperand(const CommandSpec& request, const std::string& word);
    // What only the whole line shows: a missing operand, an empty file name,
    // standard input named twice.
    Outcome CheckWhole(const CommandSpec& request) const;

    std::optional<std::string> operand_;
    std::optional<std::string> textOperand_;
    std::map<std::string, std::string> values_;
};

} // namespace vellumar::cli
