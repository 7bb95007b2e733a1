#pragma once
// How a command of vellumar-cli, or a step of one, ended: its exit code and,
// for a failure, the message main prints. Expected failures (a mistyped
// command line, a file that cannot be read or written) travel as these
// values, never as exceptions.

#include <optional>
#include <string>
#include <utility>

namespace vellumar::cli {

class [[nodiscard]] Outcome {
public:
    Outcome() = default; // it worked: exit code 0

    // A command line that cannot be run as given: exit code 2.
    static Outcome UsageError(std::string message) { return {2, std::move(message), true}; }
    // A file that cannot be read or written: exit code 1.
    static Outcome FileError(std::string message) { return {1, std::move(message), false}; }
    // Ended with this code, having said what there was to say (the desktop program).
    static Outcome Exit(int code) { return {code, {}, false}; }

    explicit operator bool() const { return code_ == 0; }
    int Code() const { return code_; }
    const std::string& Message() const { return message_; }
    bool IsUsageError() const { return usage_; }

private:
    Outcome(int code, std::string message, bool usage)
        : code_(code), message_(std::move(message)), usage_(usage) {}

    int code_ = 0;
    std::string message_;
    bool usage_ = false;
};

// A value, or the outcome that stopped it from being made.
template <class T> class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}
    Result(Outcome failed) : failure_(std::move(failed)) {}

    explicit operator bool() const { return value_.has_value(); }
    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }
    const Outcome& Failure() const { return failure_; }

private:
    std::optional<T> value_;
    Outcome failure_;
};

} // namespace vellumar::cli
