#pragma once
// What the frame reaches. At its creation it opens the settings and the
// specialty file and registers itself, its working box, its help file and the
// spell cursor; afterwards it runs the commands of its menus.

#include "rules/odds.h"
#include "ui/window_context.h"

#include <memory>
#include <string>

class QCursor;
class QPrinter;
class QWidget;

namespace vellumar {

class FileStatus;
class HelpViewer;
class ProgramSettings;
class SpellBookWindowContext;
class TfrmBookParm;
class TfrmMain;
class TfrmMasterList;
class TfrmSpecialtyMaintenance;
class tSpecialtyList;

class FrameWindowContext : public virtual WindowContext {
public:
    // Start-up.
    virtual QString ProgramFolder() const = 0;
    virtual QString SettingsFolder() const = 0;
    virtual void OpenSettings(const std::string& path) = 0;
    virtual void SetLoadedSpecialties(std::unique_ptr<tSpecialtyList> loaded) = 0;
    virtual void SetFrame(TfrmMain* frame) = 0;
    virtual void SetWorking(TfrmWorking* working) = 0;
    virtual void SetHelpFile(const QString& path) = 0;

    // The data directory and the recent books.
    virtual ProgramSettings& Settings() const = 0;
    // Writes with a setter of ProgramSettings; false (after the box) when it failed.
    virtual bool WriteSetting(QWidget* parent,
                              FileStatus (ProgramSettings::*set)(const std::string&),
                              const std::string& value) = 0;
    // A failed write of the recent books, reported once in a run.
    virtual void ReportRecentBooksWrite(QWidget* parent, const FileStatus& written) = 0;
    // The program's selection odds: read at start, edited by the odds dialog.
    virtual FrequencyOddsTable& Odds() = 0;

    // The windows and dialogs the menus open.
    virtual TfrmBookParm& BookParm() const = 0;
    virtual TfrmSpecialtyMaintenance& SpecialtyMaintenance() const = 0;
    // None until start-up has created it.
    virtual TfrmMasterList* MasterListWindow() const = 0;
    virtual HelpViewer& Help() = 0;
    virtual QPrinter& Printer() = 0;
    // What each new spellbook window of the frame is given.
    virtual SpellBookWindowContext& SpellBookContext() = 0;

protected:
    ~FrameWindowContext() = default;
};

} // namespace vellumar
