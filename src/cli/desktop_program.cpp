#include "cli/desktop_program.h"

#include "platform/program_folder.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace vellumar::cli {
namespace {

// Where the desktop program is: beside this tool's own executable.
std::string DesktopProgramPath() {
    const std::string self = ExecutablePath();
    if (self.empty()) return "vellumar";
    return (std::filesystem::path(self).parent_path() / "vellumar").string();
}

} // namespace

Outcome RunDesktopProgram(const std::vector<std::string>& words) {
    const std::string program = DesktopProgramPath();
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    // What this tool printed so far comes before what the program prints.
    std::cout.flush();
    std::cerr.flush();
    pid_t child = 0;
    if (const int failed =
            posix_spawn(&child, program.c_str(), nullptr, nullptr, argv.data(), environ))
        return Outcome::FileError("cannot run '" + program + "': " + std::strerror(failed));
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR)
            return Outcome::FileError("lost '" + program + "': " + std::strerror(errno));
    return Outcome::Exit(WIFEXITED(status) ? WEXITSTATUS(status) : 1);
}

} // namespace vellumar::cli
