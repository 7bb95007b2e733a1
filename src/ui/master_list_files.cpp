// Saving the master list: to its file or, when that fails, to one the user
// chooses, with its spell texts beside it; and choosing the master file.
#include "files/safe_write.h"
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
#include <QFile>
#include <QFileInfo>

#include <optional>

namespace vellumar {

bool TfrmMasterList::mnuSaveMasterFileClick() {
    // Nothing was read, so there is nothing to write over the file with.
    if (!MasterList()) return true;
    const std::string path = MasterFilePath();
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

// The installed sample list is read-only, and a disk may refuse the file: the
// user's edits go to a file of their choice, which becomes the master file.
bool TfrmMasterList::SaveMasterFileElsewhere(const std::string& failedPath,
                                             const FileStatus& failure) {
    const Answer answer = context_.Prompts().Message(
        this, BoxKind::Confirmation, BoxButtons::YesNo,
        QStringLiteral("Error Writing Master Spell File\r\n") + FromPath(failedPath) +
            QStringLiteral("\r\nDo you wish to save the Master Spell List to another file?"),
        QString(), FileProblemText(failure));
    if (answer != Answer::Yes) return false;
    FileDialogSpec request;
    request.title = QStringLiteral("Save Master File");
    request.filter = QStringLiteral("*.DAT (data files)|*.dat|*.* (all files)|*.*");
    request.defaultSuffix = QStringLiteral("dat");
    request.directory = QDir::homePath();
    request.fileName = QFileInfo(FromPath(failedPath)).fileName();
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
    const SpellTexts& texts = context_.MasterTexts();
    // A companion that could not be read is the user's to replace.
    if (!KeepsTexts(path) ||
        !MayReplace(companion, unreadTextsPath_, QStringLiteral("Spell Texts File")))
        return WriteSpellList(*MasterList(), path);
    // The list file's bytes before, to put back should the texts fail.
    std::optional<QByteArray> old;
    const bool listExisted = QFileInfo::exists(FromPath(path));
    if (QFile file(FromPath(path)); listExisted && file.open(QIODevice::ReadOnly))
        old = file.readAll();
    const FileStatus written = WriteSpellList(*MasterList(), path);
    if (!written) return written;
    const FileStatus textsWritten = WriteSpellTexts(texts, companion);
    if (textsWritten) {
        unreadTextsPath_.clear();
        return written;
    }
    textsFailed = true;
    FileStatus restored = textsWritten;
    if (old)
        restored =
            WriteFileAtomically(path, std::string_view(old->constData(), size_t(old->size())));
    else if (!listExisted && QFile::remove(FromPath(path)))
        restored = FileStatus();
    context_.Prompts().Message(
        this, BoxKind::Error, BoxButtons::Ok,
        QStringLiteral("Error Writing Spell Texts\r\n") + FromPath(companion) +
            (restored ? QStringLiteral("\r\nThe Master Spell File was left as it was.")
                      : QStringLiteral("\r\nThe Master Spell File could not be put back.")),
        QString(), FileProblemText(textsWritten));
    return textsWritten;
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
