#include "cli/desktop_program.h"

#include "model/text.h"
#include "platform/program_folder.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>

extern char** environ;

namespace vellumar::cli {
namespace {

// Once the time is up the program is asked to end (SIGTERM), and killed
// when it has not ended this many seconds later.
constexpr unsigned GraceSeconds = 2;

// What the signal handlers share with the waiting code.
std::atomic<pid_t> runningChild{0};
std::atomic<int> timeUps{0};

void PassOn(int signal) {
    const pid_t child = runningChild.load();
    if (child <= 0) return;
    if (signal != SIGALRM) {
        kill(child, signal);
        return;
    }
    // The time limit: first a request to end, then a kill.
    kill(child, timeUps.fetch_add(1) == 0 ? SIGTERM : SIGKILL);
    alarm(GraceSeconds);
}

constexpr int PassedSignals[] = {SIGINT, SIGTERM, SIGALRM};

// The handlers of SIGINT, SIGTERM and SIGALRM while the program runs; the
// earlier ones come back afterwards.
class SignalsPassedOn {
public:
    SignalsPassedOn() {
        struct sigaction action {};
        action.sa_handler = PassOn;
        sigemptyset(&action.sa_mask);
        for (size_t i = 0; i < std::size(PassedSignals); ++i)
            sigaction(PassedSignals[i], &action, &before_[i]);
    }
    SignalsPassedOn(const SignalsPassedOn&) = delete;
    SignalsPassedOn& operator=(const SignalsPassedOn&) = delete;
    ~SignalsPassedOn() {
        alarm(0);
        for (size_t i = 0; i < std::size(PassedSignals); ++i)
            sigaction(PassedSignals[i], &before_[i], nullptr);
    }

private:
    struct sigaction before_[std::size(PassedSignals)]{};
};

unsigned TimeLimitSeconds() {
    const char* given = std::getenv("VELLUMAR_CHILD_SECONDS");
    const auto seconds = given ? ParseWholeNumber<unsigned>(given) : std::nullopt;
    return seconds && *seconds > 0 ? *seconds : DesktopProgramSeconds;
}

// Where the desktop program is: beside this tool's own executable, never
// one that the working folder or the PATH happens to hold.
Result<std::string> DesktopProgramPath() {
    const std::string self = ExecutablePath();
    if (self.empty())
        return Outcome::FileError("cannot find the desktop program vellumar: the system does "
                                  "not tell where vellumar-cli is");
    return (std::filesystem::path(self).parent_path() / "vellumar").string();
}

// Starts the program with the signals this tool catches back at their
// defaults and none blocked; 0 or the error number.
int Spawn(pid_t& child, const std::string& program, char* const argv[]) {
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signal : PassedSignals) sigaddset(&defaults, signal);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    const int failed = posix_spawn(&child, program.c_str(), nullptr, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    return failed;
}

} // namespace

Outcome RunDesktopProgram(const std::vector<std::string>& words) {
    const Result<std::string> found = DesktopProgramPath();
    if (!found) return found.Failure();
    const std::string& program = *found;
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    // What this tool printed so far comes before what the program prints.
    std::cout.flush();
    std::cerr.flush();

    const unsigned limit = TimeLimitSeconds();
    const SignalsPassedOn passedOn;
    // Held back until the child is known, so that none is lost in between.
    sigset_t held;
    sigset_t before;
    sigemptyset(&held);
    for (int signal : PassedSignals) sigaddset(&held, signal);
    sigprocmask(SIG_BLOCK, &held, &before);
    pid_t child = 0;
    const int failed = Spawn(child, program, argv.data());
    if (failed == 0) {
        timeUps = 0;
        runningChild = child;
        alarm(limit);
    }
    sigprocmask(SIG_SETMASK, &before, nullptr);
    if (failed != 0)
        return Outcome::FileError("cannot run '" + program + "': " + std::strerror(failed));

    int status = 0;
    pid_t waited = 0;
    while ((waited = waitpid(child, &status, 0)) < 0 && errno == EINTR) {
    }
    const int lost = errno;
    alarm(0);
    runningChild = 0;
    if (waited < 0) return Outcome::FileError("lost '" + program + "': " + std::strerror(lost));
    if (timeUps > 0)
        return Outcome::FileError("'" + program + "' did not finish within " +
                                  std::to_string(limit) + " s and was stopped");
    if (WIFSIGNALED(status))
        return Outcome::FileError("'" + program + "' ended on signal " +
                                  std::to_string(WTERMSIG(status)) + " (" +
                                  strsignal(WTERMSIG(status)) + ")");
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 1;
    if (code <= 2) return Outcome::Exit(code);
    return Outcome::FileError("'" + program + "' ended with exit code " + std::to_string(code));
}

} // namespace vellumar::cli
