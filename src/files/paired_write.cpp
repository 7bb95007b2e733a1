#include "files/paired_write.h"

#include "files/safe_write.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace vellumar {
namespace {

int stopAfter = 0;

constexpr std::string_view JournalHead = "vellumar paired write 1\n";
// Four file names of at most NAME_MAX bytes each, each ended by a NUL.
constexpr size_t MostJournalBytes = JournalHead.size() + size_t{4} * 256;

// The names, without folders: each temporary file lies beside its target.
struct Journal {
    std::string first;
    std::string firstTemporary;
    std::string second;
    std::string secondTemporary;
};

std::string NameOf(const std::string& path) {
    return fs::path(path).filename().string();
}

std::string Beside(const std::string& target, const std::string& name) {
    return (fs::path(target).parent_path() / name).string();
}

FileStatus Failed(int error) {
    return FileStatus::FromErrno(FileFailure::CannotWrite, error != 0 ? error : EIO);
}

FileStatus NotOurs(const std::string& path) {
    return FileStatus(FileFailure::CannotWrite,
                      "an unfinished save left " + path + ", which is not this user's own file");
}

bool OwnRegularFile(const struct stat& info) {
    return S_ISREG(info.st_mode) && info.st_uid == geteuid();
}

void SyncFolderOf(const std::string& path) {
    const fs::path folder = fs::path(path).parent_path();
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd); // the rename is done; an entry not yet on the disk is no lost file
    close(fd);
}

std::string JournalText(const Journal& journal) {
    std::string text(JournalHead);
    for (const std::string* name :
         {&journal.first, &journal.firstTemporary, &journal.second, &journal.secondTemporary})
        text.append(*name).push_back('\0');
    return text;
}

// The journal's bytes, read without following a link; a journal of another
// user, or too large to be one of ours, is refused.
FileResult<std::string> JournalBytes(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == ELOOP ? NotOurs(path) : Failed(errno);
    struct stat info {};
    auto text = std::make_unique<std::string>();
    if (fstat(fd, &info) == 0 && OwnRegularFile(info) &&
        info.st_size <= static_cast<off_t>(MostJournalBytes)) {
        text->resize(static_cast<size_t>(info.st_size));
        if (read(fd, text->data(), text->size()) != static_cast<ssize_t>(text->size()))
            text.reset();
    } else {
        text.reset();
    }
    close(fd);
    if (!text) return NotOurs(path);
    return text;
}

// The journal's names; one this program did not write is refused.
FileResult<Journal> ReadJournal(const std::string& path) {
    const FileResult<std::string> text = JournalBytes(path);
    if (!text) return text.Status();
    if (!text->starts_with(JournalHead)) return NotOurs(path);
    std::vector<std::string> names;
    for (size_t at = JournalHead.size(); at < text->size();) {
        const size_t end = text->find('\0', at);
        if (end == std::string::npos) return NotOurs(path);
        names.push_back(text->substr(at, end - at));
        at = end + 1;
    }
    if (names.size() != 4) return NotOurs(path);
    for (const std::string& name : names)
        if (name.empty() || name.find('/') != std::string::npos) return NotOurs(path);
    return std::make_unique<Journal>(Journal{names[0], names[1], names[2], names[3]});
}

// Renames the temporary file over its target, unless it was renamed already.
FileStatus RollForward(const std::string& target, const std::string& temporaryName) {
    if (!IsTemporaryNameOf(temporaryName, target)) return NotOurs(Beside(target, temporaryName));
    const std::string temporary = Beside(target, temporaryName);
    struct stat info {};
    if (lstat(temporary.c_str(), &info) != 0) return errno == ENOENT ? FileStatus() : Failed(errno);
    if (!OwnRegularFile(info)) return NotOurs(temporary);
    if (rename(temporary.c_str(), target.c_str()) != 0) return Failed(errno);
    SyncFolderOf(target);
    return {};
}

// The ending signals wait while the pair is put in place: a handler must not
// end the process between a rename and the next step.
class EndingSignalsHeld {
public:
    EndingSignalsHeld() {
        sigset_t ending;
        sigemptyset(&ending);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&ending, signal);
        pthread_sigmask(SIG_BLOCK, &ending, &before_);
    }
    ~EndingSignalsHeld() { pthread_sigmask(SIG_SETMASK, &before_, nullptr); }
    EndingSignalsHeld(const EndingSignalsHeld&) = delete;
    EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;

private:
    sigset_t before_{};
};

// A test's stop after the step: the files stay as a killed process leaves them.
bool StopsAfter(int step, std::initializer_list<PreparedWrite*> prepared, PairWritten& written) {
    if (stopAfter != step) return false;
    for (PreparedWrite* write : prepared) write->Abandon();
    written.first = FileStatus(FileFailure::CannotWrite, "stopped for testing");
    return true;
}

} // namespace

void SetPairedWriteStopForTesting(int step) {
    stopAfter = step;
}

FileStatus FinishPairedWrite(const std::string& firstPath, const std::string& secondPath) {
    if (firstPath.empty()) return {};
    const std::string first = ReplacedFile(firstPath);
    const std::string journalPath = WriterFileBeside(first, "journal");
    struct stat info {};
    if (lstat(journalPath.c_str(), &info) != 0)
        return errno == ENOENT ? FileStatus() : Failed(errno);
    const FileResult<Journal> journal = ReadJournal(journalPath);
    if (!journal) return journal.Status();
    const std::string second = ReplacedFile(secondPath);
    // Another pair whose first name starts as long the same way: not ours to finish.
    if (journal->first != NameOf(first) || journal->second != NameOf(second)) return {};
    for (const auto& [target, temporary] :
         {std::pair{second, journal->secondTemporary}, std::pair{first, journal->firstTemporary}})
        if (FileStatus rolled = RollForward(target, temporary); !rolled) return rolled;
    if (unlink(journalPath.c_str()) != 0) return Failed(errno);
    return {};
}

PairWritten WriteFilePair(const std::string& firstPath, std::string_view first,
                          const std::string& secondPath, std::string_view second) {
    PairWritten written;
    written.first = FinishPairedWrite(firstPath, secondPath);
    if (!written.first) return written;
    FileResult<PreparedWrite> firstWrite = PrepareFileWrite(firstPath, first);
    if (!firstWrite) {
        written.first = firstWrite.Status();
        return written;
    }
    if (StopsAfter(1, {&*firstWrite}, written)) return written;
    FileResult<PreparedWrite> secondWrite = PrepareFileWrite(secondPath, second);
    if (!secondWrite) {
        written.second = secondWrite.Status();
        return written;
    }
    if (StopsAfter(2, {&*firstWrite, &*secondWrite}, written)) return written;

    const EndingSignalsHeld held;
    // Forgotten by the signal handler before the journal names them: once it
    // does, only their renaming may take them away.
    firstWrite->KeepOnSignal();
    secondWrite->KeepOnSignal();
    const std::string journalPath = WriterFileBeside(firstWrite->Target(), "journal");
    written.first = WriteFileAtomically(
        journalPath,
        JournalText({NameOf(firstWrite->Target()), NameOf(firstWrite->Temporary()),
                     NameOf(secondWrite->Target()), NameOf(secondWrite->Temporary())}));
    if (!written.first) return written;
    written.first = FileStatus();
    if (StopsAfter(3, {&*firstWrite, &*secondWrite}, written)) return written;
    written.second = secondWrite->Commit();
    if (!written.second) {
        unlink(journalPath.c_str()); // nothing was renamed
        return written;
    }
    if (StopsAfter(4, {&*firstWrite, &*secondWrite}, written)) return written;
    written.first = firstWrite->Commit();
    if (!written.first) {
        // The second file is new already: the journal finishes the pair at the next reading.
        firstWrite->Abandon();
        return written;
    }
    if (StopsAfter(5, {}, written)) return written;
    unlink(journalPath.c_str());
    return written;
}

} // namespace vellumar
