#pragma once
// What every long-lived window of the program reaches: the boxes, the pictures
// and the "Working..." box. Each window's own context adds what it alone uses.

class QIcon;
class QString;

namespace vellumar {

class Prompter;
class RecoverySession;
class TfrmWorking;

class WindowContext {
public:
    virtual Prompter& Prompts() const = 0;
    // A picture of the resources (":/icons/<name>.svg"), made once for the run.
    virtual const QIcon& Icon(const QString& name) = 0;
    virtual TfrmWorking& Working() const = 0;
    // Where unsaved work is kept; none while the user has switched it off.
    virtual RecoverySession* Recovery() { return nullptr; }

protected:
    ~WindowContext() = default;
};

} // namespace vellumar
