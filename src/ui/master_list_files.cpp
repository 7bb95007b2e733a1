// Saving the master list: to its file or, when that fails, to one the user
// chooses, with its spell texts beside it; and choosing the master file.
#include "files/paired_write.h"
#include "files/spell_file.h"
#include "files/spell_texts_file.h"
#include "model/spell_book.h"
#include "platform/program_settings.h"
#include "platform/qt/file_problem.h"
#include "platform/qt/prompter.h"
#include "platform/qt/text_conversion.h"
#include "ui/master_list_window.h"
#include "ui/master_list_window_context.h"

#include <QDir>
#include <QFileInfo>

namespace vellumar {

bool TfrmMasterList::mnuSaveMasterFileClick() {
    // Nothing was read, so there is nothing to write over the file with.
    if (!MasterList()) return true;
    const std::string path = SavePath();
    // No file was named (an empty setting, or a recovered list of none): ask.
    if (path.empty()) return SaveMasterFileAs(path);
    if (!MayReplace(path, unreadPath_, QStringLiteral("Master Spell File"))) return false;
    bool textsFailed = false;
    const FileStatus written = WriteListAndTexts(path, textsFailed);
    if (textsFailed) return false;
    if (!written) return SaveMasterFileElsewhere(path, written);
    ReportSavedWithWarnings(context_.Prompts(), this, FromPath(path), written);
    unreadPath_.clear();
    SetModified(false);
    return true;
}

bool TfrmMasterList::MayReplace(const std::string& path, const std::string& unread,
                                const QString& file) {
    if (path != unread || !QFileInfo::exists(FromPath(path))) return true;
    return context_.Prompts().Message(
               this, BoxKind::Confirmation, BoxButtons::YesNoDefaultNo,
               QStringLiteral("The ") + file + QStringLiteral("\r\n") + FromPath(path) +
                   QStringLiteral("\r\ncould not be read. Do you wish to replace it?")) ==
           Answer::Yes;
}

bool TfrmMasterList::TextsAreOurs(const std::string& companion) const {
    return companion == readTextsPath_ || !QFileInfo::exists(FromPath(companion));
}

bool TfrmMasterList::MayReplaceTexts(const std::string& companion) {
    if (TextsAreOurs(companion)) return true;
    if (companion == unreadTextsPath_)
        return MayReplace(companion, unreadTextsPath_, QStringLiteral("Spell Texts File"));
    // It was not there when the list was read, or it stands beside another file.
    return context_.Prompts().Message(
               this, BoxKind::Confirmation, BoxButtons::YesNoDefaultNo,
               QStringLiteral("The Spell Texts File\r\n") + FromPath(companion) +
                   QStringLiteral("\r\nwas not read with the Master Spell List. Do you wish to "
                                  "replace it?")) == Answer::Yes;
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
    if (recoveredPath_) {
        recoveredPath_ = path;
        return true;
    }
    // The list is safe in its new file even if the setting cannot be stored.
    context_.WriteSetting(this, &ProgramSettings::SetMasterFile, path);
    return true;
}

bool TfrmMasterList::KeepsTexts(const std::string& path) const {
    // A list that never had texts stays without a companion file.
    return !context_.MasterTexts().Empty() || QFileInfo::exists(FromPath(CompanionTextsPath(path)));
}

FileStatus TfrmMasterList::WriteListAndTexts(const std::string& path, bool& textsFailed) {
    const std::string companion = CompanionTextsPath(path);
    // An older save of the pair cut short must not come after this one.
    if (FileStatus finished = FinishPairedWrite(path, companion); !finished) return finished;
    // Texts the window never read are the user's to replace.
    if (!KeepsTexts(path) || !MayReplaceTexts(companion))
        return WriteSpellList(*MasterList(), path);
    const std::string list = SpellListText(*MasterList());
    if (FileStatus readable = LinesReadBack(list); !readable) return readable;
    const FileResult<std::string> texts = SpellTextsFileText(context_.MasterTexts());
    // Both files or neither, also when the program is killed part-way.
    PairWritten written;
    if (texts)
        written = WriteFilePair(path, list, companion, *texts);
    else
        written.second = texts.Status();
    if (written) {
        readTextsPath_ = companion;
        unreadTextsPath_.clear();
        ReportSavedWithWarnings(context_.Prompts(), this, FromPath(companion), written.second);
        return written.first;
    }
    if (!written.first) return written.first;
    textsFailed = true;
    context_.Prompts().Message(this, BoxKind::Error, BoxButtons::Ok,
                               QStringLiteral("Error Writing Spell Texts\r\n") +
                                   FromPath(companion) +
                                   QStringLiteral("\r\nThe Master Spell File was left as it was."),
                               QString(), FileProblemText(written.second));
    return written.second;
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
