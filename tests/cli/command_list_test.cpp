// The documents name the commands of vellumar-cli's table, none missing, none extra.

#include "cli/commands.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>

namespace {

std::string ReadText(const std::string& relative) {
    std::ifstream in(std::string(VELLUMAR_SOURCE_DIR) + "/" + relative, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The part of `text` from the first `begin` to the next `end` after it.
std::string Between(const std::string& text, const std::string& begin, const std::string& end) {
    const size_t start = text.find(begin);
    if (start == std::string::npos) return {};
    const size_t stop = text.find(end, start + begin.size());
    return text.substr(start, stop == std::string::npos ? std::string::npos : stop - start);
}

// The first group of every match of `pattern` in `text`.
std::set<std::string> Matches(const std::string& text, const std::string& pattern) {
    std::set<std::string> found;
    const std::regex expression(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), expression);
         it != std::sregex_iterator(); ++it)
        found.insert((*it)[1]);
    return found;
}

std::set<std::string> TableCommands() {
    std::set<std::string> names;
    for (const vellumar::cli::Command& command : vellumar::cli::Commands())
        names.insert(command.request.name);
    return names;
}

TEST(CommandList, TheManualPageDescribesEveryCommand) {
    // Each command is a tagged paragraph of the COMMANDS section: ".TP", then
    // the synopsis, which starts with the command's name.
    const std::string section =
        Between(ReadText("resources/man/vellumar-cli.1"), ".SH COMMANDS", "\n.SH ");
    ASSERT_FALSE(section.empty());
    EXPECT_EQ(Matches(section, R"(\n\.TP\n\.B[IR]? "?([a-z]+))"), TableCommands());
}

TEST(CommandList, TheReadmeShowsEveryCommand) {
    const std::string section = Between(ReadText("README.md"), "## The command-line tool", "\n## ");
    ASSERT_FALSE(section.empty());
    EXPECT_EQ(Matches(section, R"(\n    vellumar-cli ([a-z]+))"), TableCommands());
}

TEST(CommandList, TheHelpFileListsEveryCommand) {
    const std::string sentence =
        Between(ReadText("resources/Vellumar.HLP"), "lists all commands:", "</p>");
    ASSERT_FALSE(sentence.empty());
    EXPECT_EQ(Matches(sentence, R"(<code>([a-z]+)</code>)"), TableCommands());
}

} // namespace
