// vellumar-cli: the spellbook rules and text without windows, for game
// masters who make many books at once and for scripted checks.

#include "cli/commands.h"
#include "cli/suggestion.h"
#include "program_version.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

using namespace vellumar::cli;

namespace {

int Usage(const std::string& message) {
    std::cerr << "vellumar-cli: " << message << "\nTry 'vellumar-cli --help'.\n";
    return 2;
}

// Output that never reached its reader (a full disk, a closed pipe) is a
// failure like any file that cannot be written.
int Finish(int code) {
    errno = 0;
    std::cout.flush();
    if (std::cout) return code;
    std::cerr << "vellumar-cli: cannot write standard output"
              << (errno != 0 ? std::string(": ") + std::strerror(errno) : std::string()) << '\n';
    return 1;
}

enum class Asked { Nothing, Help, Version };

// -h, --help and --version stand anywhere before a "--".
Asked WhatIsAsked(const std::vector<std::string>& words) {
    for (const std::string& word : words) {
        if (word == "--") break;
        if (word == "-h" || word == "--help") return Asked::Help;
        if (word == "--version") return Asked::Version;
    }
    return Asked::Nothing;
}

// Parses the command's words and runs it.
Outcome Run(const Command& command, const std::vector<std::string>& words) {
    const Result<Arguments> args = Arguments::Parse(command.request, words);
    if (!args) return args.Failure();
    Session session(std::cout, std::cerr, LocaleIsUtf8());
    return command.run(*args, session);
}

// The one place where a command's outcome is printed and becomes the exit code.
int Report(const Outcome& outcome) {
    if (outcome.IsUsageError()) return Usage(outcome.Message());
    if (outcome.Message().empty()) return Finish(outcome.Code());
    // The one failure said, which may be standard output's own: it is not said twice.
    std::cerr << "vellumar-cli: " << outcome.Message() << '\n';
    std::cout.flush();
    return outcome.Code();
}

} // namespace

int main(int argc, char** argv) {
    // A closed pipe then fails the write, which is reported, instead of
    // ending the program silently.
    std::signal(SIGPIPE, SIG_IGN);
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (!words.empty() && words[0] == "help") {
        PrintUsage(std::cout);
        return Finish(0);
    }
    switch (WhatIsAsked(words)) {
    case Asked::Help:
        PrintUsage(std::cout);
        return Finish(0);
    case Asked::Version:
        std::cout << "vellumar-cli " << vellumar::ProgramVersion << '\n';
        return Finish(0);
    case Asked::Nothing:
        break;
    }
    if (words.empty()) return Usage("missing command");
    const Command* found = nullptr;
    std::vector<std::string> names = {"help"};
    for (const Command& command : Commands()) {
        names.push_back(command.request.name);
        if (command.request.name == words[0]) found = &command;
    }
    if (!found) return Usage("unknown command '" + words[0] + "'" + DidYouMean(words[0], names));
    try {
        return Report(Run(*found, {words.begin() + 1, words.end()}));
    } catch (const std::exception& e) {
        // Only what no command expects (memory running out) comes this way.
        std::cerr << "vellumar-cli: " << e.what() << '\n';
        Finish(1);
        return 1;
    }
}
