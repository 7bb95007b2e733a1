#pragma once
// The program-wide state and the long-lived windows, instead of globals: the
// settings, the specialty table, the master list and the output format. No
// window takes it whole: the frame, the spellbook windows and the master list
// window each take the narrow context of what they use (`FrameWindowContext`,
// `SpellBookWindowContext`, `MasterListWindowContext`), which this implements
// by handing each operation to the window that does it; every dialog takes
// only what it shows or edits.

#include "output/output_format.h"
#include "rules/odds.h"
#include "ui/frame_window_context.h"
#include "ui/master_list_window_context.h"
#include "ui/spell_book_window_context.h"
#include "ui/spell_library_model.h"

#include <QCursor>
#include <QHash>
#include <QIcon>
#include <QPoint>
#include <QString>
#include <memory>
#include <optional>
#include <string>

class QPrinter;
class QWidget;

namespace vellumar {

class HelpViewer;
class ProgramSettings;
class SpellTexts;
class Prompter;
class RecoverySession;
class TSpellBook;
class TfrmBookParm;
class TfrmMain;
class TfrmMasterList;
class TfrmPrintFormat;
class TfrmSpecialtyMaintenance;
class TfrmSpellEdit;
class TfrmWorking;
class tSpecialtyList;

class AppContext final : public FrameWindowContext,
                         public SpellBookWindowContext,
                         public MasterListWindowContext {
public:
    explicit AppContext(Prompter& prompter);
    ~AppContext();
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    Prompter& Prompts() const override { return prompter_; }
    // Made on first use: setting up a printer asks the print system.
    QPrinter& Printer() override;
    // The folder of the bundled files, with its trailing separator.
    QString ProgramFolder() const override;
    // The folder of the settings and the specialty file, with its trailing separator.
    QString SettingsFolder() const;

    // Settings: opened at start-up.
    void OpenSettings(const std::string& path);
    ProgramSettings& Settings() const override { return *settings_; }
    // Writes a setting with one of the setters of ProgramSettings; a failure
    // is reported in an error box naming the file, with the reason under it.
    bool WriteSetting(QWidget* parent, FileStatus (ProgramSettings::*set)(const std::string&),
                      const std::string& value) override;
    bool ReportSettingsWrite(QWidget* parent, const FileStatus& written) override {
        return SettingsWritten(parent, written);
    }
    // The same box for the recent books, but only for their first failed
    // write in a run: a read-only settings file must not nag at every Open.
    void ReportRecentBooksWrite(QWidget* parent, const FileStatus& written) override;

    // Unsaved work: the session of this run, in the recovery folder under the
    // user's state folder ($XDG_STATE_HOME/vellumar, by default
    // ~/.local/state/vellumar), made when the settings are read.
    void StartRecovery();
    RecoverySession& RecoveryFiles() const { return *recovery_; }
    // None while switched off, or once the folder turned out not to be the user's alone.
    RecoverySession* Recovery() override;
    // Whether the recovery folder may keep the user's work; when it may not,
    // one box in the run says so (only while recovery files are switched on).
    bool RecoveryTrusted(QWidget* parent);
    // The Options switch: stored in the settings; switched off, this run's
    // files go; switched on, every unsaved window's work is written soon.
    void KeepRecoveryFiles(QWidget* parent, bool keep) override;

    // The selection odds of the run: the defaults until the frame reads the settings.
    FrequencyOddsTable& Odds() override { return odds_; }

    // The specialty table: the loaded file's list, or the built-in one.
    void SetBuiltInSpecialties(std::unique_ptr<tSpecialtyList> builtIn);
    void SetLoadedSpecialties(std::unique_ptr<tSpecialtyList> loaded);
    tSpecialtyList& SpecialtyTable() const override;
    bool SpecialtiesAreBuiltIn() const { return !loadedSpecialties_; }

    // The master list and its texts, found through the settings.
    SpellLibraryModel& MasterLibrary() override { return library_; }
    // The master list, or none when no master file could be read.
    TSpellBook* MasterList() const override { return library_.List(); }
    void SetMasterList(std::unique_ptr<TSpellBook> list) { library_.SetList(std::move(list)); }
    // The texts read beside the master list; empty when it has none.
    // Read on first use when start-up put them off.
    SpellTexts& MasterTexts() override { return library_.Texts(); }
    bool SpellTextShown() const override;
    void SetSpellTextShown(QWidget* parent, bool shown) override;
    int32_t SpellTextShare(ListWindowKind window, int32_t fallback) const override;
    void SetSpellTextShare(QWidget* parent, ListWindowKind window, int32_t share) override;

    // The program's one output format: it lives for the run and is never saved.
    OutputFormat& Output() override { return outputFormat_; }

    // A picture of the resources (":/icons/<name>.svg"), made once for the run:
    // each new icon would render and cache its pixmaps anew for every window.
    const QIcon& Icon(const QString& name) override;

    // The spell drag cursor is drawn on the first drag, not at start-up.
    const QCursor& SpellCursor() override;

    // The long-lived windows; each is registered by whoever creates it.
    void SetFrame(TfrmMain* frame) { frame_ = frame; }
    void SetWorking(TfrmWorking* working) { working_ = working; }
    void SetBookParm(TfrmBookParm* dialog) { bookParm_ = dialog; }
    void SetSpellEdit(TfrmSpellEdit* dialog) { spellEdit_ = dialog; }
    void SetPrintFormat(TfrmPrintFormat* dialog) { printFormat_ = dialog; }
    void SetMasterListWindow(TfrmMasterList* window) { masterListWindow_ = window; }
    void SetSpecialtyMaintenance(TfrmSpecialtyMaintenance* window) { specialties_ = window; }
    // The help window is made on first use, at the file set here.
    void SetHelpFile(const QString& path) { helpFile_ = path; }
    const QString& HelpFile() const { return helpFile_; }
    TfrmMain& Frame() const { return *frame_; }
    TfrmWorking& Working() const override { return *working_; }
    TfrmBookParm& BookParm() const { return *bookParm_; }
    TfrmSpellEdit& SpellEdit() const override { return *spellEdit_; }
    TfrmPrintFormat& PrintFormat() const override { return *printFormat_; }
    // None until start-up has created it.
    TfrmMasterList* MasterListWindow() const { return masterListWindow_; }
    TfrmSpecialtyMaintenance& SpecialtyMaintenance() const { return *specialties_; }
    HelpViewer& Help();

    // What the windows ask of each other, handed to the window that does it.
    BookWindow& NewBookWindow() override;
    std::optional<NewBookChoices> AskNewBookChoices() override;
    void EditSpecialties() override;
    void ShowMasterList() override;
    void ShowMasterListAt(int level) override;
    void SetMasterFile() override;
    bool MayCloseMasterList() override;
    void HideMasterList() override;
    void ShowHelpTopic(int topic) override;
    void OfferSpellsToActiveBook(const std::vector<tSpell*>& spells) override;
    QString DataDirectory() const override;
    void NoteRecentBook(const QString& path) override;
    void NewBook() override;
    void OpenBook() override;
    void PrinterSetup() override;
    void ExitProgram() override;
    void CreateScroll(TSpellBook& source) override;

private:
    // The one box of a failed settings write; true when the write worked.
    bool SettingsWritten(QWidget* parent, const FileStatus& written);
    // The master list window about to open goes beside the active book.
    void PlaceMasterList();

    Prompter& prompter_;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<ProgramSettings> settings_;
    std::unique_ptr<tSpecialtyList> builtInSpecialties_;
    std::unique_ptr<tSpecialtyList> loadedSpecialties_;
    SpellLibraryModel library_;
    OutputFormat outputFormat_;
    FrequencyOddsTable odds_ = DefaultFrequencyOdds;
    bool recentBooksFailureShown_ = false;
    std::unique_ptr<RecoverySession> recovery_;
    bool keepRecovery_ = false;
    bool recoveryRefusalShown_ = false;
    // Where the master list window was last put, to tell whether the user moved it since.
    std::optional<QPoint> masterListPlacedAt_;
    std::optional<QCursor> spellCursor_;
    QHash<QString, QIcon> icons_;
    TfrmMain* frame_ = nullptr;
    TfrmWorking* working_ = nullptr;
    TfrmBookParm* bookParm_ = nullptr;
    TfrmSpellEdit* spellEdit_ = nullptr;
    TfrmPrintFormat* printFormat_ = nullptr;
    TfrmMasterList* masterListWindow_ = nullptr;
    TfrmSpecialtyMaintenance* specialties_ = nullptr;
    HelpViewer* help_ = nullptr;
    QString helpFile_;
};

} // namespace vellumar
