// Saving the master list: to its file or, when that fails, to one the user
// chooses, with its spell texts beside it; and choosing the master file.
#include "library/spell_library.h"
#include "platform/program_settings.h"
#include "platform/qt/file_problem.h"
#include "platform/qt/prompter.h"
#include "platform/qt/text_conversion.h"
#include "ui/master_list_window.h"
#include "ui/master_list_window_context.h"
#include "ui/spell_library_model.h"

#include <QDir>
#include <QFileInfo>

namespace vellumar {

bool TfrmMasterList::mnuSaveMasterFileClick() {
    // Nothing was read, so there is nothing to write over the file with.
    if (!MasterList()) return true;
    const std::string path = library_.Core().SavePath();
    // No file was named (an empty setting, or a recovered list of none): ask.
    if (path.empty()) return SaveMasterFileAs(path);
    if (library_.Core().Unread(path) && !MayReplace(path, QStringLiteral("Master Spell File")))
        return false;
    bool textsFailed = false;
    const FileStatus written = WriteListAndTexts(path, textsFailed);
    if (textsFailed) return false;
    if (!written) return SaveMasterFileElsewhere(path, written);
    ReportSavedWithWarnings(context_.Prompts(), this, FromPath(path), written);
    SetModified(false);
    return true;
}

bool TfrmMasterList::MayReplace(const std::string& path, const QString& file) {
    return context_.Prompts().Message(
               this, BoxKind::Confirmation, BoxButtons::YesNoDefaultNo,
               QStringLiteral("The ") + file + QStringLiteral("\r\n") + FromPath(path) +
                   QStringLiteral("\r\ncould not be read. Do you wish to replace it?")) ==
           Answer::Yes;
}

bool TfrmMasterList::MayReplaceTexts(CompanionSave companion, const std::string& path) {
    switch (companion) {
    case CompanionSave::None:
        return false;
    case CompanionSave::Ours:
        return true;
    case CompanionSave::Unread:
        return MayReplace(path, QStringLiteral("Spell Texts File"));
    case CompanionSave::NotRead:
        // It was not there when the list was read, or it stands beside another file.
        return context_.Prompts().Message(
                   this, BoxKind::Confirmation, BoxButtons::YesNoDefaultNo,
                   QStringLiteral("The Spell Texts File\r\n") + FromPath(path) +
                       QStringLiteral("\r\nwas not read with the Master Spell List. Do you "
                                      "wish to replace it?")) == Answer::Yes;
    }
    return false;
}

// The installed sample list is read-only, and a disk may refuse the file: the
// user's edits go to a file of their choice, which becomes the master file.
bool TfrmMasterList::SaveMasterFileElsewhere(const std::string& failedPath,
                                             const FileStatus& failure) {
    const Answer answer = context_.Prompts().Message(
        this, BoxKind::Confirmation, BoxButtons::YesNo,
        QStringLiteral("Error Writing Master Spell File\r\n") + FromPath(failedPath) +
            QStringLiteral("\r\nDo you wish to save the Master Spell List to another file?"),
        QString(), FileProblemText(failure));
    return answer == Answer::Yes && SaveMasterFileAs(failedPath);
}

bool TfrmMasterList::SaveMasterFileAs(const std::string& suggested) {
    FileDialogSpec request;
    request.title = QStringLiteral("Save Master File");
    request.filter = QStringLiteral("*.DAT (data files)|*.dat|*.* (all files)|*.*");
    request.defaultSuffix = QStringLiteral("dat");
    request.directory = QDir::homePath();
    request.fileName = QFileInfo(FromPath(suggested)).fileName();
    request.confirmOverwrite = true;
    const QString chosen = context_.Prompts().SaveFile(this, request);
    if (chosen.isEmpty()) return false;
    const std::string path = ToPath(QFileInfo(chosen).absoluteFilePath());
    bool textsFailed = false;
    const FileStatus written = WriteListAndTexts(path, textsFailed);
    if (textsFailed) return false;
    if (!written) {
        context_.Prompts().Message(this, BoxKind::Error, BoxButtons::Ok,
                                   QStringLiteral("Error Writing Master Spell File\r\n") +
                                       FromPath(path),
                                   QString(), FileProblemText(written));
        return false;
    }
    ReportSavedWithWarnings(context_.Prompts(), this, FromPath(path), written);
    SetModified(false);
    // A recovered list of another file keeps the user's master file as it is.
    if (library_.Core().RecoveredElsewhere()) {
        library_.Core().MoveRecoveredTo(path);
        return true;
    }
    // The list is safe in its new file even if the setting cannot be stored.
    context_.WriteSetting(this, &ProgramSettings::SetMasterFile, path);
    return true;
}

FileStatus TfrmMasterList::WriteListAndTexts(const std::string& path, bool& textsFailed) {
    const SavePlan plan = library_.Core().PrepareSave(path);
    if (!plan.finished) return plan.finished;
    // Texts the window never read are the user's to replace.
    const bool withTexts = MayReplaceTexts(plan.companion, plan.companionPath);
    const LibrarySaved saved = library_.Core().Save(path, withTexts);
    if (saved.TextsFailed()) {
        textsFailed = true;
        context_.Prompts().Message(
            this, BoxKind::Error, BoxButtons::Ok,
            QStringLiteral("Error Writing Spell Texts\r\n") + FromPath(plan.companionPath) +
                QStringLiteral("\r\nThe Master Spell File was left as it was."),
            QString(), FileProblemText(*saved.texts));
        return *saved.texts;
    }
    if (saved.list && saved.texts)
        ReportSavedWithWarnings(context_.Prompts(), this, FromPath(plan.companionPath),
                                *saved.texts);
    return saved.list;
}

void TfrmMasterList::mnuCurrentMasterFileClick() {
    const std::string name = context_.Settings().MasterFileShown();
    context_.Prompts().Message(this, BoxKind::Information, BoxButtons::Ok,
                               QStringLiteral("The current Master Spell File is:\r\n") +
                                   FromPath(name));
}

void TfrmMasterList::mnuSetMasterFileClick() {
    const QString current = FromPath(MasterFilePath());
    FileDialogSpec request;
    request.title = QStringLiteral("Set Master File");
    request.filter = QStringLiteral(
        "*.DAT (data files)|*.dat|*.SPB (spellbook files)|*.spb|*.* (all files)|*.*");
    request.mustExist = true;
    if (current.isEmpty()) {
        request.directory = QDir::currentPath();
    } else {
        const QFileInfo file(current);
        request.directory = file.absolutePath();
        request.fileName = file.fileName();
    }
    const QString chosen = context_.Prompts().OpenFile(this, request);
    if (chosen.isEmpty()) return;

    if (MasterList() && MasterList()->Modified) {
        switch (context_.Prompts().Message(
            this, BoxKind::Confirmation, BoxButtons::YesNoCancel,
            QStringLiteral("Master Spell File has been changed.\r\nDo you wish to save it now?"))) {
        case Answer::Yes:
            // A save that failed keeps the changes and the old file.
            if (!mnuSaveMasterFileClick()) return;
            break;
        case Answer::No:
            break;
        default:
            return;
        }
    }
    const QString full = QFileInfo(chosen).absoluteFilePath();
    if (!context_.WriteSetting(this, &ProgramSettings::SetMasterFile, ToPath(full))) return;
    Load(QStringLiteral("Loading Master Spell List"));
}

} // namespace vellumar
