#pragma once
// What the master spell list window reaches beyond its own list.

#include "ui/window_context.h"

#include <string>

class QCursor;
class QWidget;

namespace vellumar {

class FileStatus;
class ProgramSettings;
class TfrmMain;
class TfrmSpellEdit;

class MasterListWindowContext : public virtual WindowContext {
public:
    // The frame: the spellbook window the spells are sent to.
    virtual TfrmMain& Frame() const = 0;
    // The master file setting, read at each load and written on a switch.
    virtual ProgramSettings& Settings() const = 0;
    // Writes with a setter of ProgramSettings; false (after the box) when it failed.
    virtual bool WriteSetting(QWidget* parent,
                              FileStatus (ProgramSettings::*set)(const std::string&),
                              const std::string& value) = 0;
    virtual const QCursor& SpellCursor() = 0;
    virtual TfrmSpellEdit& SpellEdit() const = 0;

protected:
    ~MasterListWindowContext() = default;
};

} // namespace vellumar
