#pragma once
// Start-up work done on a second processor while the first loads the program
// and builds its first window: reading the system's font configuration, the
// largest single cost of start-up, and loading the SVG icon plugin that the
// first painted tool bar needs.

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace vellumar {

class StartupWarmUp {
public:
    // Starts at once; needs no application object. `iconPlugin`: the SVG
    // icon engine plugin's path, or empty.
    explicit StartupWarmUp(std::string iconPlugin = {});
    ~StartupWarmUp();
    StartupWarmUp(const StartupWarmUp&) = delete;
    StartupWarmUp& operator=(const StartupWarmUp&) = delete;

    // Call before the first text is measured or drawn: two threads reading
    // the configuration at once would each read all of it.
    void WaitForFonts();

private:
    void Run();

    std::string iconPlugin_;
    std::mutex mutex_;
    std::condition_variable fontsRead_;
    bool fontsDone_ = false;
    std::thread thread_;
};

} // namespace vellumar
