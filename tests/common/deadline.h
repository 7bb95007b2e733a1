#pragma once
// Bounds a call that a fault could turn into an endless loop (a random pick
// that never succeeds, a scanner that stops advancing): when the call has not
// ended in time, the test program ends at once, failed, with a message saying
// what did not end, instead of hanging until the test runner's timeout.
//
// One watchdog thread serves the whole test program; arming and disarming it
// costs a lock, so even calls made thousands of times can be bounded.

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

namespace vellumar::test {

// Generous beside the milliseconds these calls take, also under the sanitizers.
inline constexpr std::chrono::seconds DefaultDeadline{5};

class Watchdog {
public:
    static Watchdog& Instance() {
        // Never destroyed: the thread waits on it until the program ends.
        static Watchdog* const watchdog = new Watchdog;
        return *watchdog;
    }

    void Arm(std::string what, std::chrono::steady_clock::duration limit) {
        std::lock_guard lock(mutex_);
        what_ = std::move(what);
        limit_ = limit;
        deadline_ = std::chrono::steady_clock::now() + limit;
        armed_ = true;
        changed_.notify_one();
    }
    void Disarm() {
        std::lock_guard lock(mutex_);
        armed_ = false;
        changed_.notify_one();
    }

private:
    Watchdog() {
        std::thread([this] { Watch(); }).detach();
    }

    void Watch() {
        std::unique_lock lock(mutex_);
        for (;;) {
            if (!armed_) {
                changed_.wait(lock);
                continue;
            }
            const auto deadline = deadline_;
            changed_.wait_until(lock, deadline);
            if (armed_ && deadline_ == deadline && std::chrono::steady_clock::now() >= deadline) {
                const auto ms =
                    std::chrono::duration_cast<std::chrono::milliseconds>(limit_).count();
                // The stuck call cannot be stopped from here: report and end the program.
                std::fprintf(stderr, "FAILED: %s did not end within %lld ms\n", what_.c_str(),
                             static_cast<long long>(ms));
                std::fflush(stdout);
                std::fflush(stderr);
                std::_Exit(1);
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    bool armed_ = false;
    std::string what_;
    std::chrono::steady_clock::duration limit_{};
    std::chrono::steady_clock::time_point deadline_{};
};

// Armed while it lives. Deadlines do not nest.
class Deadline {
public:
    explicit Deadline(std::string what,
                      std::chrono::steady_clock::duration limit = DefaultDeadline) {
        Watchdog::Instance().Arm(std::move(what), limit);
    }
    ~Deadline() { Watchdog::Instance().Disarm(); }
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;
};

// Runs `work` here, under a deadline, and returns what it returns.
template <class Work>
decltype(auto) EndsWithin(std::string what, Work&& work,
                          std::chrono::steady_clock::duration limit = DefaultDeadline) {
    const Deadline deadline(std::move(what), limit);
    return std::forward<Work>(work)();
}

} // namespace vellumar::test
