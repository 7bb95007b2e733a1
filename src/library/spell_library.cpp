#include "library/spell_library.h"

#include "files/paired_write.h"
#include "files/spell_file.h"
#include "files/spell_texts_file.h"
#include "platform/program_folder.h"
#include "platform/program_settings.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace vellumar {
namespace {

std::string WorkingFolder() {
    std::error_code ec;
    std::string working = fs::current_path(ec).string();
    if (working.empty() || working.back() != '/') working += '/';
    return working;
}

// Links are followed: one that leads nowhere is no file.
bool IsThere(const std::string& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

} // namespace

SpellLibrary::SpellLibrary(const ProgramSettings* settings) : settings_(settings) {}

SpellLibrary::SpellLibrary(const ProgramSettings* settings, std::string workingFolder,
                           std::string programFolder)
    : settings_(settings), folders_(std::pair(std::move(workingFolder), std::move(programFolder))) {
}

MasterFileChoice SpellLibrary::Locate() const {
    MasterFileChoice choice;
    std::optional<std::string> stored;
    if (settings_) {
        choice.settingsFile = settings_->Path();
        stored = settings_->StoredMasterFile();
    }
    choice.fromSetting = stored.has_value();
    std::string name = stored.value_or(DefaultMasterFileName);
    if (name.empty() || fs::path(name).is_absolute()) {
        choice.path = std::move(name);
        return choice;
    }
    if (bareFolder_.empty()) {
        const std::string working = folders_ ? folders_->first : WorkingFolder();
        const std::string program = folders_ ? folders_->second : ProgramFolder();
        bareFolder_ = MasterFileFolder(name, working, program);
        bareInProgramFolder_ = bareFolder_ == program && bareFolder_ != working;
    }
    choice.inProgramFolder = bareInProgramFolder_;
    choice.path = bareFolder_ + name;
    return choice;
}

std::string SpellLibrary::SavePath() const {
    return recoveredPath_ ? *recoveredPath_ : FilePath();
}

std::string SpellLibrary::TextsPathOf(const std::string& listPath) {
    return CompanionTextsPath(listPath);
}

FileStatus SpellLibrary::FinishSave(const std::string& listPath) {
    return FinishPairedWrite(listPath, CompanionTextsPath(listPath));
}

LibraryLoad SpellLibrary::Load(TextsRead when) {
    return LoadFrom(FilePath(), when);
}

LibraryLoad SpellLibrary::LoadFrom(const std::string& path, TextsRead when) {
    LibraryLoad loaded;
    loaded.path = path;
    recoveredPath_.reset();
    loaded.finished = FinishSave(path);
    list_.reset();
    ForgetTexts();
    FileResult<TSpellBook> read = ReadSpellList(path);
    list_ = read.Take();
    loaded.list = read.Status();
    // Without its texts the list still opens.
    if (loaded.list) textsPath_ = CompanionTextsPath(path);
    if (when == TextsRead::Now)
        if (std::optional<FileStatus> texts = ReadPutOffTexts()) loaded.texts = std::move(*texts);
    unreadPath_ = loaded.Unread() ? path : std::string();
    return loaded;
}

LibraryLoad SpellLibrary::LoadTexts(const std::string& path) {
    LibraryLoad loaded;
    loaded.path = path;
    recoveredPath_.reset();
    unreadPath_.clear();
    list_.reset();
    ReadTextsBeside(path, loaded);
    return loaded;
}

void SpellLibrary::ForgetTexts() {
    texts_ = SpellTexts();
    textsPath_.clear();
    readTextsPath_.clear();
    unreadTextsPath_.clear();
    reading_.reset();
}

void SpellLibrary::ReadTextsBeside(const std::string& path, LibraryLoad& loaded) {
    ForgetTexts();
    if (path.empty()) return;
    loaded.finished = FinishSave(path);
    textsPath_ = CompanionTextsPath(path);
    if (std::optional<FileStatus> texts = ReadPutOffTexts()) loaded.texts = std::move(*texts);
}

SpellTexts& SpellLibrary::Texts() {
    ReadPutOffTexts();
    return texts_;
}

std::optional<FileStatus> SpellLibrary::ReadPutOffTexts() {
    if (textsPath_.empty()) return std::nullopt;
    const std::string companion = std::exchange(textsPath_, std::string());
    // Only texts read from a file that was there are written back unasked.
    const bool there = IsThere(companion);
    FileResult<SpellTexts> texts = ReadSpellTexts(companion);
    // A missing companion is no news; a broken one is not replaced unasked.
    readTextsPath_ = texts && there && !texts.Missing() ? companion : std::string();
    unreadTextsPath_ = texts ? std::string() : companion;
    if (!texts || !texts.Warnings().empty()) reading_ = TextsReading{companion, texts.Status()};
    if (std::unique_ptr<SpellTexts> taken = texts.Take()) texts_ = std::move(*taken);
    return texts.Status();
}

BookChange SpellLibrary::PrepareDeletion(const std::vector<tSpell*>& spells) {
    // Only the spells that go are kept for Undo: the list may be long.
    BookChange deleted(CasterFields::Of(*list_));
    SpellTexts& texts = Texts();
    for (const tSpell* spell : spells) {
        deleted.Removed(*spell);
        // A spell's text goes with it, and comes back with it on Undo.
        if (std::optional<SpellText> text = texts.Remove(spell->Level, spell->Name))
            deleted.TextChanged(spell->Level, spell->Name, std::move(text), std::nullopt);
    }
    return deleted;
}

bool SpellLibrary::Unread(const std::string& path) const {
    return !unreadPath_.empty() && path == unreadPath_ && IsThere(path);
}

CompanionSave SpellLibrary::Companion(const std::string& path) {
    const std::string companion = CompanionTextsPath(path);
    // A list that never had texts stays without a companion file.
    const bool hasTexts = !Texts().Empty();
    const bool there = IsThere(companion);
    if (!hasTexts && !there) return CompanionSave::None;
    if (companion == readTextsPath_ || !there) return CompanionSave::Ours;
    return companion == unreadTextsPath_ ? CompanionSave::Unread : CompanionSave::NotRead;
}

SavePlan SpellLibrary::PrepareSave(const std::string& path) {
    SavePlan plan;
    plan.companionPath = CompanionTextsPath(path);
    // An older save of the pair cut short must not come after this one.
    plan.finished = FinishSave(path);
    if (plan.finished) plan.companion = Companion(path);
    return plan;
}

LibrarySaved SpellLibrary::Save(const std::string& path, bool withTexts) {
    LibrarySaved saved;
    if (!withTexts) {
        saved.list = WriteSpellList(*list_, path);
    } else {
        const std::string list = SpellListText(*list_);
        saved.list = LinesReadBack(list);
        if (!saved.list) return saved;
        const std::string companion = CompanionTextsPath(path);
        const FileResult<std::string> texts = SpellTextsFileText(Texts());
        PairWritten written;
        if (texts)
            written = WriteFilePair(path, list, companion, *texts);
        else
            written.second = texts.Status();
        saved.list = written.first;
        saved.texts = written.second;
        if (!written) return saved;
        readTextsPath_ = companion;
        unreadTextsPath_.clear();
    }
    // Written once, the file is the list's own.
    if (saved.list && path == unreadPath_) unreadPath_.clear();
    return saved;
}

FileStatus SpellLibrary::RecoveryTexts(const std::string& path, std::optional<std::string>& texts) {
    // Texts a save would ask about stay out: recovered, they would replace
    // that companion unasked.
    if (Companion(path) != CompanionSave::Ours) return FileStatus();
    FileResult<std::string> content = SpellTextsFileText(Texts());
    if (content) texts = std::move(*content);
    return content.Status();
}

RecoveredList SpellLibrary::ReadRecovered(const std::string& bodyPath,
                                          const std::string& textsPath) {
    // A list's texts come back with it, or neither does.
    return {ReadSpellList(bodyPath),
            textsPath.empty() ? FileResult<SpellTexts>(nullptr) : ReadSpellTexts(textsPath)};
}

LibraryRecovery SpellLibrary::PutRecovered(std::unique_ptr<TSpellBook> list,
                                           std::unique_ptr<SpellTexts> texts,
                                           const std::string& path) {
    LibraryRecovery recovery;
    // The texts beside the list's own file stand, unless the entry brings its own.
    const bool masterFile = path == FilePath();
    if (masterFile && !recoveredPath_) {
        ReadPutOffTexts();
    } else {
        recovery.ownFile = true;
        unreadPath_ = !path.empty() && IsThere(path) && !ReadSpellList(path) ? path : std::string();
        LibraryLoad loaded;
        ReadTextsBeside(path, loaded);
        recovery.finished = loaded.finished;
    }
    // Another file than the master file is saved there, never over the
    // master file, which the setting still names.
    recoveredPath_ = masterFile ? std::nullopt : std::optional(path);
    list_ = std::move(list);
    if (texts) texts_ = std::move(*texts);
    return recovery;
}

} // namespace vellumar
