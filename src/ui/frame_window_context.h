#pragma once
// What the frame reaches: the settings, the odds, the program's dialogs and
// the master list window's commands, and a new spellbook window for its
// client area.

#include "rules/odds.h"
#include "ui/window_context.h"

#include <optional>
#include <string>

class QPrinter;
class QWidget;

namespace vellumar {

class BookWindow;
class FileStatus;
class ProgramSettings;
struct NewBookChoices;

class FrameWindowContext : public virtual WindowContext {
public:
    // The folder of the bundled files, with its trailing separator.
    virtual QString ProgramFolder() const = 0;

    // The data directory and the recent books.
    virtual ProgramSettings& Settings() const = 0;
    // Writes with a setter of ProgramSettings; false (after the box) when it failed.
    virtual bool WriteSetting(QWidget* parent,
                              FileStatus (ProgramSettings::*set)(const std::string&),
                              const std::string& value) = 0;
    // The same box for a setter that takes no string; false (after the box) when it failed.
    virtual bool ReportSettingsWrite(QWidget* parent, const FileStatus& written) = 0;
    // A failed write of the recent books, reported once in a run.
    virtual void ReportRecentBooksWrite(QWidget* parent, const FileStatus& written) = 0;
    // Keeps unsaved work in recovery files or stops (Options menu).
    virtual void KeepRecoveryFiles(QWidget* parent, bool keep) = 0;
    // The program's selection odds: read at start, edited by the odds dialog.
    virtual FrequencyOddsTable& Odds() = 0;

    // A new spellbook window, not yet placed anywhere.
    virtual BookWindow& NewBookWindow() = 0;
    // The New Spellbook Parameters dialog; none when it was cancelled.
    virtual std::optional<NewBookChoices> AskNewBookChoices() = 0;
    virtual void EditSpecialties() = 0;

    // The master list window's commands.
    virtual void ShowMasterList() = 0;
    virtual void SetMasterFile() = 0;
    // The master list's save question at shutdown; false keeps the program running.
    virtual bool MayCloseMasterList() = 0;
    virtual void HideMasterList() = 0;

    virtual void ShowHelpTopic(int topic) = 0;
    virtual QPrinter& Printer() = 0;

protected:
    ~FrameWindowContext() = default;
};

} // namespace vellumar
