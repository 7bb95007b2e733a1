#pragma once
// The "Working..." box shown during every long task. The task runs without
// returning to the event loop, so the box is painted before the task starts.

#include <QDialog>

class QLabel;

namespace vellumar {

class TfrmWorking : public QDialog {
    Q_OBJECT
public:
    explicit TfrmWorking(QWidget* parent = nullptr);

    // Sets the task's line, shows the box and paints it at once.
    void Begin(const QString& task);
    void End();

    QString Task() const;
    // For checks: how many tasks have begun, the last of them, and whether the
    // box had been painted when it started.
    struct Shown {
        QString task;
        bool painted = false;
    };
    int TasksBegun() const { return tasksBegun_; }
    const Shown& LastShown() const { return lastShown_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* task_;
    int paints_ = 0;
    int tasksBegun_ = 0;
    Shown lastShown_;
};

// Shows the box for the life of the scope: every way out hides it, errors included.
class WorkingScope {
public:
    WorkingScope(TfrmWorking& box, const QString& task) : box_(box) { box_.Begin(task); }
    ~WorkingScope() { box_.End(); }
    WorkingScope(const WorkingScope&) = delete;
    WorkingScope& operator=(const WorkingScope&) = delete;

private:
    TfrmWorking& box_;
};

} // namespace vellumar
