#pragma once
// What every reader and writer of files returns: the value, or what failed and why.

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vellumar {

enum class FileFailure {
    None,
    NotFound,      // no file of that name: callers may treat it as "nothing saved yet"
    CannotOpen,    // it exists, but cannot be opened or is not a regular file
    CannotRead,    // reading stopped part-way
    NotASpellFile, // read, but not in a format we know
    CannotWrite,
};

// The outcome of a write, and the base of a read's outcome. The reason is the
// system's error text or what was wrong with the file.
class [[nodiscard]] FileStatus {
public:
    FileStatus() = default; // it worked
    FileStatus(FileFailure failure, std::string reason)
        : failure_(failure), reason_(std::move(reason)) {}

    explicit operator bool() const { return failure_ == FileFailure::None; }
    FileFailure Failure() const { return failure_; }
    const std::string& Reason() const { return reason_; }
    bool Missing() const { return failure_ == FileFailure::NotFound; }

    // The status of the last failed system call, with its error text.
    static FileStatus FromErrno(FileFailure failure, int error);

    // What a read or write that worked lost on the way, each said in one
    // line: a line a reader left out ("line 12: ..."), a character it
    // replaced, an owner a writer could not keep. The user hears of each.
    const std::vector<std::string>& Warnings() const { return warnings_; }
    void Warn(std::string warning) { warnings_.push_back(std::move(warning)); }

private:
    FileFailure failure_ = FileFailure::None;
    std::string reason_;
    std::vector<std::string> warnings_;
};

// A read's outcome: a new object owned by the caller, or the failure.
template <class T> class [[nodiscard]] FileResult {
public:
    FileResult(std::unique_ptr<T> value) : value_(std::move(value)) {}
    FileResult(FileStatus failed) : status_(std::move(failed)) {}

    explicit operator bool() const { return value_ != nullptr; }
    T* operator->() const { return value_.get(); }
    T& operator*() const { return *value_; }
    std::unique_ptr<T> Take() { return std::move(value_); }
    const FileStatus& Status() const { return status_; }
    // A reader notes what it left out here, beside the value it returns.
    void Warn(std::string warning) { status_.Warn(std::move(warning)); }
    const std::vector<std::string>& Warnings() const { return status_.Warnings(); }
    const std::string& Reason() const { return status_.Reason(); }
    bool Missing() const { return status_.Missing(); }

    friend bool operator==(const FileResult& result, std::nullptr_t) { return !result.value_; }

private:
    std::unique_ptr<T> value_;
    FileStatus status_;
};

} // namespace vellumar
