#pragma once
// Real faults for the tests of failed saves: a folder that cannot be written
// (by root as well) and a small disk that fills up.

#include <QString>

namespace vellumar::test {

// Gives the process a mount namespace of its own, where the system allows it
// (root, or an unprivileged user namespace), so that a test can mount a small
// disk or a read-only folder that nobody else sees and that goes away with the
// process. Call it first thing in main(), while the process has one thread.
// True when the process now has its own mounts.
bool EnterPrivateMountNamespace();
bool HasPrivateMounts();

// A folder that this process cannot write into: a read-only bind mount where
// the process has its own mounts, the permission bits otherwise. Whether it
// worked is checked by trying to create a file there. Undone when destroyed.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& folder);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool Active() const { return whyNot_.isEmpty(); }
    // Why nothing stops this process from writing there.
    const QString& WhyNot() const { return whyNot_; }

private:
    QString folder_;
    QString whyNot_;
    bool mounted_ = false;
    bool chmodded_ = false;
};

// A tmpfs of a fixed size mounted on an empty folder. Unmounted when destroyed.
class SmallDisk {
public:
    SmallDisk(const QString& folder, qint64 bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return whyNot_.isEmpty(); }
    const QString& WhyNot() const { return whyNot_; }
    // Takes up every free byte with a file of its own; Unfill gives them back.
    bool Fill();
    void Unfill();

private:
    QString folder_;
    QString whyNot_;
};

} // namespace vellumar::test
