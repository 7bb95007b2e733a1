// vellumar-cli: the spellbook rules and text without windows, for game
// masters who make many books at once and for scripted checks.

#include "cli/commands.h"

#include <iostream>
#include <string>
#include <vector>

using namespace vellumar::cli;

namespace {

int Usage(const std::string& message) {
    std::cerr << "vellumar-cli: " << message << "\nTry 'vellumar-cli --help'.\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    for (const std::string& word : words)
        if (word == "--help") {
            PrintUsage(std::cout);
            return 0;
        }
    if (words.empty()) return Usage("missing command");
    if (words[0] == "--version") {
        std::cout << "vellumar-cli " << Version << '\n';
        return 0;
    }
    for (const Command& command : Commands()) {
        if (command.request.name != words[0]) continue;
        try {
            const auto args = Arguments::Parse(command.request, {words.begin() + 1, words.end()});
            return command.run(args, std::cout);
        } catch (const UsageError& e) {
            return Usage(e.what());
        } catch (const std::exception& e) {
            std::cerr << "vellumar-cli: " << e.what() << '\n';
            return 1;
        }
    }
    return Usage("unknown command '" + words[0] + "'");
}
