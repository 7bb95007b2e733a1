#include "ui/recovery_keeper.h"

#include "files/recovery_file.h"
#include "ui/window_context.h"

#include <QCoreApplication>
#include <cstdio>
#include <ctime>
#include <unistd.h>
#include <utility>

namespace vellumar {

// At most one write a second, and no change older than that unwritten.
constexpr int RecoveryDelayMs = 1000;

RecoveryKeeper::RecoveryKeeper(WindowContext& context,
                               std::function<std::string(RecoveryInfo&)> snapshot, QObject* parent)
    : QObject(parent), context_(context), snapshot_(std::move(snapshot)) {
    timer_.setSingleShot(true);
    timer_.setInterval(RecoveryDelayMs);
    connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::WriteNow);
}

RecoveryKeeper::~RecoveryKeeper() {
    Remove();
}

void RecoveryKeeper::Changed(bool modified) {
    modified_ = modified;
    if (!modified) {
        timer_.stop();
        Remove();
    } else if (!timer_.isActive() && context_.Recovery()) {
        timer_.start();
    }
}

void RecoveryKeeper::WriteNow() {
    timer_.stop();
    RecoverySession* session = context_.Recovery();
    if (!session) return;
    if (slot_ == 0) slot_ = session->NewSlot();
    RecoveryInfo info;
    const std::string body = snapshot_(info);
    info.pid = ::getpid();
    info.time = static_cast<long long>(std::time(nullptr));
    std::optional<std::string> texts;
    FileStatus written = texts_ ? texts_(texts) : FileStatus();
    if (written) written = session->Write(slot_, info, body, texts);
    written_ = written_ || bool(written);
    // Said once a run, without a box: the user's work is still in the window.
    static bool told = false;
    if (!written && !std::exchange(told, true))
        std::fprintf(stderr, "vellumar: warning: recovery file not written in '%s': %s\n",
                     session->Folder().c_str(), written.Reason().c_str());
}

void RecoveryKeeper::Remove() {
    if (!std::exchange(written_, false)) return;
    if (RecoverySession* session = context_.Recovery()) session->Remove(slot_);
}

} // namespace vellumar
