#pragma once
// A Prompter for window tests: answers from a queue, records every box and
// dialog, and fails the test on one it did not expect or on answers left over.

#include "platform/qt/prompter.h"

#include <QColor>
#include <QDialog>
#include <QFont>
#include <deque>
#include <functional>
#include <vector>

namespace vellumar::test {

enum class PromptType {
    Message,
    OpenFile,
    SaveFile,
    ChooseFolder,
    ChooseFont,
    PrintDialog,
    PrinterSetup,
    Exec
};

struct PromptRecord {
    PromptType type;
    BoxKind kind = BoxKind::Information;
    BoxButtons buttons = BoxButtons::Ok;
    QString text; // message text, or the dialog's title / window caption
    FileDialogSpec request;
    QString informative; // a message box's details
};

class ScriptedPrompter : public Prompter {
public:
    ~ScriptedPrompter() override;

    // Queue the answers, in the order the boxes are expected.
    // `onShow` runs while the box is up, e.g. to change what the next step meets.
    ScriptedPrompter& Message(Answer answer, std::function<void()> onShow = {});
    ScriptedPrompter& OpenFile(const QString& path); // empty: Cancel
    ScriptedPrompter& SaveFile(const QString& path); // empty: Cancel
    ScriptedPrompter& ChooseFolder(const QString& path);
    ScriptedPrompter& ChooseFont(std::function<bool(QFont&)> answer);
    // The same, with the colour chosen beside the font.
    ScriptedPrompter& ChooseFont(std::function<bool(QFont&, QColor&)> answer);
    ScriptedPrompter& PrintDialog(std::function<bool(QPrinter&)> answer);
    ScriptedPrompter& PrinterSetup(bool accept);
    // Our own dialog: `setup` sets its controls (and may click its buttons); unless
    // it ended the dialog, it then ends Accepted or Rejected through done().
    ScriptedPrompter& Exec(std::function<void(QDialog&)> setup, bool accept);
    // The same for a dialog of a known class, which `setup` gets as such.
    template <typename Dialog>
    ScriptedPrompter& Exec(std::function<void(Dialog&)> setup, bool accept) {
        return Exec([setup](QDialog& dialog) { setup(static_cast<Dialog&>(dialog)); }, accept);
    }

    const std::vector<PromptRecord>& Records() const { return records_; }
    const PromptRecord& Last() const { return records_.back(); }
    void ClearRecords() { records_.clear(); }
    bool Idle() const { return queue_.empty(); }
    // Fails the running test when answers are left unused.
    void VerifyDone();

    Answer Message(QWidget*, BoxKind kind, BoxButtons buttons, const QString& text,
                   const QString& title, const QString& informative) override;
    QString OpenFile(QWidget*, const FileDialogSpec& request) override;
    QString SaveFile(QWidget*, const FileDialogSpec& request) override;
    QString ChooseFolder(QWidget*, const QString& title, const QString& start) override;
    bool ChooseFont(QWidget*, QFont& font, QColor& colour) override;
    bool PrintDialog(QWidget*, QPrinter& printer) override;
    bool PrinterSetup(QWidget*, QPrinter& printer) override;
    int Exec(QDialog& dialog) override;

private:
    struct Step {
        PromptType type;
        Answer answer = Answer::Ok;
        QString path;
        bool accept = false;
        std::function<bool(QFont&, QColor&)> font;
        std::function<bool(QPrinter&)> print;
        std::function<void(QDialog&)> setup;
        std::function<void()> onShow;
    };
    Step Take(PromptType type, const QString& what);
    std::deque<Step> queue_;
    std::vector<PromptRecord> records_;
};

} // namespace vellumar::test
