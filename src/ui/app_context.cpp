#include "ui/app_context.h"

#include "files/recovery_file.h"
#include "model/specialty.h"
#include "model/spell_book.h"
#include "model/spell_text.h"
#include "platform/program_folder.h"
#include "platform/program_settings.h"
#include "platform/qt/file_problem.h"
#include "platform/qt/help_viewer.h"
#include "platform/qt/prompter.h"
#include "platform/qt/svg_icon.h"
#include "platform/qt/text_conversion.h"
#include "ui/book_parm_dialog.h"
#include "ui/frame_window.h"
#include "ui/master_list_window.h"
#include "ui/recovery_keeper.h"
#include "ui/specialty_maintenance_dialog.h"
#include "ui/spell_book_window.h"
#include "ui/window_placement.h"

#include <QPrinter>

#include <utility>

namespace vellumar {

AppContext::AppContext(Prompter& prompter) : prompter_(prompter) {}

AppContext::~AppContext() = default;

QPrinter& AppContext::Printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

HelpViewer& AppContext::Help() {
    if (!help_) {
        // Owned by the frame, so that it goes with the other windows.
        help_ = new HelpViewer(prompter_, frame_);
        help_->SetHelpFile(helpFile_);
    }
    return *help_;
}

const QIcon& AppContext::Icon(const QString& name) {
    auto it = icons_.find(name);
    if (it == icons_.end())
        it = icons_.insert(name, SvgIcon(QStringLiteral(":/icons/%1.svg").arg(name)));
    return *it;
}

const QCursor& AppContext::SpellCursor() {
    if (!spellCursor_)
        spellCursor_ = QCursor(Icon(QStringLiteral("spell_cursor")).pixmap(32, 32), 4, 4);
    return *spellCursor_;
}

QString AppContext::ProgramFolder() const {
    return FromPath(vellumar::ProgramFolder());
}

QString AppContext::SettingsFolder() const {
    return FromPath(vellumar::SettingsFolder());
}

void AppContext::OpenSettings(const std::string& path) {
    settings_ = std::make_unique<ProgramSettings>(path);
    library_.Core().UseSettings(settings_.get());
}

bool AppContext::SettingsWritten(QWidget* parent, const FileStatus& written) {
    if (written) return true;
    prompter_.Message(parent, BoxKind::Error, BoxButtons::Ok,
                      QStringLiteral("Error Writing Settings File\r\n") +
                          FromPath(settings_->Path()),
                      QString(), FileProblemText(written));
    return false;
}

bool AppContext::WriteSetting(QWidget* parent,
                              FileStatus (ProgramSettings::*set)(const std::string&),
                              const std::string& value) {
    return SettingsWritten(parent, (settings_.get()->*set)(value));
}

void AppContext::ReportRecentBooksWrite(QWidget* parent, const FileStatus& written) {
    if (written || recentBooksFailureShown_) return;
    recentBooksFailureShown_ = true;
    SettingsWritten(parent, written);
}

void AppContext::StartRecovery() {
    const std::string state = StateFolder(CurrentFolderEnvironment());
    recovery_ = std::make_unique<RecoverySession>(state.empty() ? state : state + "recovery");
    keepRecovery_ = settings_->KeepRecoveryFiles();
}

RecoverySession* AppContext::Recovery() {
    return keepRecovery_ && recovery_->Trusted() ? recovery_.get() : nullptr;
}

bool AppContext::RecoveryTrusted(QWidget* parent) {
    const FileStatus trusted = recovery_->Trusted();
    if (trusted) return true;
    if (keepRecovery_ && !std::exchange(recoveryRefusalShown_, true))
        prompter_.Message(
            parent, BoxKind::Information, BoxButtons::Ok,
            QStringLiteral("Recovery Files Not Kept\r\n") + FromPath(recovery_->Folder()),
            QString(),
            FileProblemText(trusted) + QStringLiteral(".\nUnsaved work is not kept in this run."));
    return false;
}

void AppContext::KeepRecoveryFiles(QWidget* parent, bool keep) {
    keepRecovery_ = keep;
    if (!keep) recovery_->RemoveAll();
    SettingsWritten(parent, settings_->SetKeepRecoveryFiles(keep));
    if (keep && RecoveryTrusted(parent))
        for (RecoveryKeeper* keeper : frame_->findChildren<RecoveryKeeper*>()) keeper->Resume();
}

void AppContext::SetBuiltInSpecialties(std::unique_ptr<tSpecialtyList> builtIn) {
    builtInSpecialties_ = std::move(builtIn);
}

void AppContext::SetLoadedSpecialties(std::unique_ptr<tSpecialtyList> loaded) {
    loadedSpecialties_ = std::move(loaded);
}

tSpecialtyList& AppContext::SpecialtyTable() const {
    return loadedSpecialties_ ? *loadedSpecialties_ : *builtInSpecialties_;
}

bool AppContext::SpellTextShown() const {
    return settings_->SpellTextShown();
}

void AppContext::SetSpellTextShown(QWidget* parent, bool shown) {
    SettingsWritten(parent, settings_->SetSpellTextShown(shown));
}

int32_t AppContext::SpellTextShare(ListWindowKind window, int32_t fallback) const {
    return settings_->SpellTextShare(window, fallback);
}

void AppContext::SetSpellTextShare(QWidget* parent, ListWindowKind window, int32_t share) {
    SettingsWritten(parent, settings_->SetSpellTextShare(window, share));
}

BookWindow& AppContext::NewBookWindow() {
    return *new TfrmSpellBook(*this);
}

std::optional<NewBookChoices> AppContext::AskNewBookChoices() {
    if (prompter_.Exec(*bookParm_) != QDialog::Accepted) return std::nullopt;
    return bookParm_->Choices();
}

void AppContext::EditSpecialties() {
    specialties_->ShowModal();
}

void AppContext::ShowMasterList() {
    if (!masterListWindow_) return;
    PlaceMasterList();
    masterListWindow_->show();
    masterListWindow_->raise();
    masterListWindow_->activateWindow();
}

void AppContext::ShowMasterListAt(int level) {
    if (!masterListWindow_) return;
    PlaceMasterList();
    masterListWindow_->ShowAtLevel(level);
}

void AppContext::PlaceMasterList() {
    if (masterListWindow_->isVisible()) return;
    masterListPlacedAt_ =
        PlaceBesideBook(*masterListWindow_, frame_->ActiveBookPlace(), masterListPlacedAt_);
}

void AppContext::SetMasterFile() {
    if (masterListWindow_) masterListWindow_->mnuSetMasterFileClick();
}

bool AppContext::MayCloseMasterList() {
    return !masterListWindow_ || masterListWindow_->FormCloseQuery();
}

void AppContext::HideMasterList() {
    if (masterListWindow_) masterListWindow_->hide();
}

void AppContext::ShowHelpTopic(int topic) {
    Help().ShowTopic(topic);
}

void AppContext::OfferSpellsToActiveBook(const std::vector<tSpell*>& spells) {
    if (BookWindow* book = frame_->ActiveSpellBook()) book->AddFromMasterList(spells);
}

QString AppContext::DataDirectory() const {
    return frame_->DataDirectory();
}

void AppContext::NoteRecentBook(const QString& path) {
    frame_->NoteRecentBook(path);
}

void AppContext::NewBook() {
    frame_->NewChild();
}

void AppContext::OpenBook() {
    frame_->mnuOpenSpellbookClick();
}

void AppContext::PrinterSetup() {
    frame_->mnuPrinterSetupClick();
}

void AppContext::ExitProgram() {
    frame_->mnuExitClick();
}

void AppContext::CreateScroll(TSpellBook& source) {
    frame_->CreateScroll(source);
}

} // namespace vellumar
