#pragma once
// What the frame reaches: the settings, the program's dialogs and the master
// list window's commands, and a new spellbook window for its client area.

#include "ui/window_context.h"

#include <optional>
#include <string>

class QPrinter;
class QWidget;

namespace vellumar {

class BookWindow;
class ProgramSettings;
struct NewBookChoices;

class FrameWindowContext : public virtual WindowContext {
public:
    // The folder of the bundled files, with its trailing separator.
    virtual QString ProgramFolder() const = 0;

    // The data directory and the recent books.
    virtual ProgramSettings& Settings() const = 0;
    virtual bool WriteSetting(QWidget* parent, bool (ProgramSettings::*set)(const std::string&),
                              const std::string& value) = 0;

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
