#pragma once
// Keeps one window's unsaved work in a recovery file: a change starts a
// one-second timer, and the write happens from the event loop when it runs
// out, never while the user types; the file goes when the work is saved or
// thrown away.

#include "files/file_result.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace vellumar {

struct RecoveryInfo;
class WindowContext;

class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    // `snapshot` fills in the window's info (kind, path, caption, spells,
    // choices) and returns the bytes its file would hold.
    RecoveryKeeper(WindowContext& context, std::function<std::string(RecoveryInfo&)> snapshot,
                   QObject* parent);
    // The window is gone: whatever it did not save was not wanted.
    ~RecoveryKeeper() override;

    // After each change and each save: unsaved work is written within about
    // a second (changes in that second go along), saved work is removed.
    void Changed(bool modified);
    // Recovery files were switched on again: the work changed while they were
    // off is written within about a second, not only after its next change.
    void Resume() { Changed(modified_); }
    // Writes at once (a recovered book must not wait for its first change).
    void WriteNow();
    // The master list's texts go along: `texts` sets the bytes its companion
    // file would hold, or leaves them unset when the list keeps none; a
    // failure leaves the entry as it was.
    void SetTexts(std::function<FileStatus(std::optional<std::string>& texts)> texts) {
        texts_ = std::move(texts);
    }

private:
    void Remove();

    WindowContext& context_;
    std::function<std::string(RecoveryInfo&)> snapshot_;
    std::function<FileStatus(std::optional<std::string>&)> texts_;
    QTimer timer_;
    int slot_ = 0;
    bool written_ = false;
    bool modified_ = false; // what the window said last
};

} // namespace vellumar
