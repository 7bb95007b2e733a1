#pragma once
// A question that follows a field the user left: it comes only when the user
// moved the focus on to another control of the same window (not to the field's
// own list, another window, a dialog or a closing window), and only after the
// click that moved the focus has done its work.

#include <QObject>
#include <functional>

class QWidget;

namespace vellumar {

class FocusLeaveRule : public QObject {
    Q_OBJECT
public:
    // `quiet` says when no question may come (the window is closing or asking
    // already); `left` asks it.
    FocusLeaveRule(QWidget* field, QWidget* window, std::function<bool()> quiet,
                   std::function<void()> left);
    ~FocusLeaveRule() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FieldLeft(Qt::FocusReason reason);
    void AskAfterRelease();

    QWidget* field_;
    QWidget* window_;
    std::function<bool()> quiet_;
    std::function<void()> left_;
    bool awaitingRelease_ = false;
};

} // namespace vellumar
