#pragma once
// The "Working..." box shown during every long task. The task runs without
// returning to the event loop, so the box is painted before the task starts.

#include <QDialog>

#include <cstddef>

class QEventLoop;
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
    // Until the window system has mapped the box, it cannot be painted.
    void WaitForPaint(int paintsBefore);

    QLabel* task_;
    QEventLoop* waiting_ = nullptr;
    int paints_ = 0;
    int tasksBegun_ = 0;
    Shown lastShown_;
};

// A command that handles more spells than this takes long enough for the box.
constexpr std::size_t ManySpells = 500;
// Each spell laid out with its card takes longer: the print preview's
// pages of more spells than this are laid out behind the box.
constexpr std::size_t ManyCards = 100;

// Shows the box for the life of the scope: every way out hides it, errors
// included. Without `shown` the scope shows nothing (a short task).
class WorkingScope {
public:
    WorkingScope(TfrmWorking& box, const QString& task, bool shown = true)
        : box_(box), task_(task), shown_(shown) {
        if (shown_) box_.Begin(task_);
    }
    ~WorkingScope() {
        if (shown_) box_.End();
    }
    WorkingScope(const WorkingScope&) = delete;
    WorkingScope& operator=(const WorkingScope&) = delete;

    // A question in the middle of the task: the box, which stays on top, goes
    // while the question shows and comes back, painted, after it.
    template <typename Ask> auto Aside(const Ask& ask) -> decltype(ask()) {
        if (!shown_) return ask();
        box_.End();
        auto answer = ask();
        box_.Begin(task_);
        return answer;
    }

private:
    TfrmWorking& box_;
    QString task_;
    bool shown_;
};

} // namespace vellumar
