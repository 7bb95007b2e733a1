#include "support/scripted_prompter.h"

#include "platform/qt/box_buttons.h"

#include <QTest>
#include <algorithm>

namespace vellumar::test {
namespace {

const char* TypeName(PromptType type) {
    switch (type) {
    case PromptType::Message:
        return "message box";
    case PromptType::OpenFile:
        return "open-file dialog";
    case PromptType::SaveFile:
        return "save-file dialog";
    case PromptType::ChooseFolder:
        return "folder dialog";
    case PromptType::ChooseFont:
        return "font dialog";
    case PromptType::PrintDialog:
        return "print dialog";
    case PromptType::PrinterSetup:
        return "printer setup dialog";
    case PromptType::Exec:
        return "modal dialog";
    }
    return "?";
}

} // namespace

ScriptedPrompter::~ScriptedPrompter() = default;

ScriptedPrompter& ScriptedPrompter::Message(Answer answer, std::function<void()> onShow) {
    queue_.push_back({PromptType::Message, answer, {}, false, {}, {}, {}, std::move(onShow)});
    return *this;
}
ScriptedPrompter& ScriptedPrompter::OpenFile(const QString& path) {
    queue_.push_back({PromptType::OpenFile, Answer::Ok, path, false, {}, {}, {}, {}});
    return *this;
}
ScriptedPrompter& ScriptedPrompter::SaveFile(const QString& path) {
    queue_.push_back({PromptType::SaveFile, Answer::Ok, path, false, {}, {}, {}, {}});
    return *this;
}
ScriptedPrompter& ScriptedPrompter::ChooseFolder(const QString& path) {
    queue_.push_back({PromptType::ChooseFolder, Answer::Ok, path, false, {}, {}, {}, {}});
    return *this;
}
ScriptedPrompter& ScriptedPrompter::ChooseFont(std::function<bool(QFont&)> answer) {
    return ChooseFont(
        [answer = std::move(answer)](QFont& font, QColor&) { return answer && answer(font); });
}
ScriptedPrompter& ScriptedPrompter::ChooseFont(std::function<bool(QFont&, QColor&)> answer) {
    queue_.push_back(
        {PromptType::ChooseFont, Answer::Ok, {}, false, std::move(answer), {}, {}, {}});
    return *this;
}
ScriptedPrompter& ScriptedPrompter::PrintDialog(std::function<bool(QPrinter&)> answer) {
    queue_.push_back(
        {PromptType::PrintDialog, Answer::Ok, {}, false, {}, std::move(answer), {}, {}});
    return *this;
}
ScriptedPrompter& ScriptedPrompter::PrinterSetup(bool accept) {
    queue_.push_back({PromptType::PrinterSetup, Answer::Ok, {}, accept, {}, {}, {}, {}});
    return *this;
}
ScriptedPrompter& ScriptedPrompter::Exec(std::function<void(QDialog&)> setup, bool accept) {
    queue_.push_back({PromptType::Exec, Answer::Ok, {}, accept, {}, {}, std::move(setup), {}});
    return *this;
}

void ScriptedPrompter::VerifyDone() {
    if (!queue_.empty()) {
        const QString msg = QStringLiteral("%1 scripted answer(s) left unused, next: %2")
                                .arg(queue_.size())
                                .arg(TypeName(queue_.front().type));
        QTest::qFail(qPrintable(msg), __FILE__, __LINE__);
        queue_.clear();
    }
}

ScriptedPrompter::Step ScriptedPrompter::Take(PromptType type, const QString& what) {
    if (queue_.empty() || queue_.front().type != type) {
        const QString msg = QStringLiteral("unexpected %1: %2").arg(TypeName(type), what);
        QTest::qFail(qPrintable(msg), __FILE__, __LINE__);
        Step cancel{type, Answer::Cancel, {}, false, {}, {}, {}, {}};
        return cancel;
    }
    Step step = std::move(queue_.front());
    queue_.pop_front();
    return step;
}

Answer ScriptedPrompter::Message(QWidget*, BoxKind kind, BoxButtons buttons, const QString& text,
                                 const QString&, const QString& informative) {
    records_.push_back({PromptType::Message, kind, buttons, text, {}, informative});
    Step step = Take(PromptType::Message, text);
    if (step.onShow) step.onShow();
    // A person can give only an answer whose button the box shows.
    const std::span<const Answer> shown = AnswersOf(buttons);
    if (std::ranges::find(shown, step.answer) == shown.end()) {
        const QString msg =
            QStringLiteral("scripted answer has no button on the box: %1").arg(text);
        QTest::qFail(qPrintable(msg), __FILE__, __LINE__);
        return UnansweredAnswer(buttons);
    }
    return step.answer;
}

QString ScriptedPrompter::OpenFile(QWidget*, const FileDialogSpec& request) {
    records_.push_back({PromptType::OpenFile, {}, {}, request.title, request, {}});
    return Take(PromptType::OpenFile, request.title).path;
}

QString ScriptedPrompter::SaveFile(QWidget*, const FileDialogSpec& request) {
    records_.push_back({PromptType::SaveFile, {}, {}, request.title, request, {}});
    return Take(PromptType::SaveFile, request.title).path;
}

QString ScriptedPrompter::ChooseFolder(QWidget*, const QString& title, const QString& start) {
    FileDialogSpec request;
    request.title = title;
    request.directory = start;
    records_.push_back({PromptType::ChooseFolder, {}, {}, title, request, {}});
    return Take(PromptType::ChooseFolder, title).path;
}

bool ScriptedPrompter::ChooseFont(QWidget*, QFont& font, QColor& colour) {
    records_.push_back({PromptType::ChooseFont, {}, {}, font.family(), {}, {}});
    Step step = Take(PromptType::ChooseFont, font.family());
    return step.font ? step.font(font, colour) : false;
}

bool ScriptedPrompter::PrintDialog(QWidget*, QPrinter& printer) {
    records_.push_back({PromptType::PrintDialog, {}, {}, {}, {}, {}});
    Step step = Take(PromptType::PrintDialog, {});
    return step.print ? step.print(printer) : false;
}

bool ScriptedPrompter::PrinterSetup(QWidget*, QPrinter&) {
    records_.push_back({PromptType::PrinterSetup, {}, {}, {}, {}, {}});
    return Take(PromptType::PrinterSetup, {}).accept;
}

int ScriptedPrompter::Exec(QDialog& dialog) {
    records_.push_back({PromptType::Exec, {}, {}, dialog.windowTitle(), {}, {}});
    Step step = Take(PromptType::Exec, dialog.windowTitle());
    // The setup may end the dialog itself (clicking its OK button, say); otherwise
    // it ends with the scripted answer, through done() so its handlers run.
    int result = -1;
    auto connection =
        QObject::connect(&dialog, &QDialog::finished, [&result](int r) { result = r; });
    if (step.setup) step.setup(dialog);
    if (result < 0) dialog.done(step.accept ? QDialog::Accepted : QDialog::Rejected);
    QObject::disconnect(connection);
    return result < 0 ? (step.accept ? QDialog::Accepted : QDialog::Rejected) : result;
}

} // namespace vellumar::test
