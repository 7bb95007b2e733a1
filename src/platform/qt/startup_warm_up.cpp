#include "platform/qt/startup_warm_up.h"

#include <clocale>
#include <dlfcn.h>
#include <fontconfig/fontconfig.h>
#include <pthread.h>
#include <sched.h>

namespace vellumar {

namespace {

// Linux queues a new thread on its parent's processor, where it can wait for
// milliseconds while another processor idles: move it elsewhere at once.
void StartElsewhere(std::thread& thread, int parentCpu) {
    cpu_set_t others;
    if (parentCpu < 0 || sched_getaffinity(0, sizeof others, &others) != 0) return;
    CPU_CLR(parentCpu, &others);
    if (CPU_COUNT(&others) > 0)
        pthread_setaffinity_np(thread.native_handle(), sizeof others, &others);
}

} // namespace

StartupWarmUp::StartupWarmUp(std::string iconPlugin) : iconPlugin_(std::move(iconPlugin)) {
    // The application object sets the user's locale as it starts, and
    // fontconfig reads numbers by the locale: set it now, before the thread
    // reads any, so that it is not changed under the reading.
    std::setlocale(LC_ALL, "");
    const int cpu = sched_getcpu();
    thread_ = std::thread([this] { Run(); });
    StartElsewhere(thread_, cpu);
}

StartupWarmUp::~StartupWarmUp() {
    thread_.join();
}

void StartupWarmUp::Run() {
    // Qt's font database starts from the same default configuration, which
    // fontconfig then hands out to every caller.
    FcInit();
    {
        std::lock_guard lock(mutex_);
        fontsDone_ = true;
    }
    fontsRead_.notify_all();
    // Qt loads the plugin again by the same path and finds it mapped and bound.
    if (!iconPlugin_.empty()) dlopen(iconPlugin_.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void StartupWarmUp::WaitForFonts() {
    std::unique_lock lock(mutex_);
    fontsRead_.wait(lock, [this] { return fontsDone_; });
}

} // namespace vellumar
