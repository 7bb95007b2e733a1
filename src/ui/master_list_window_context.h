#pragma once
// What the master spell list window reaches: the master list the program
// holds (its library), its setting, and the active spellbook its spells are
// sent to.

#include "ui/window_context.h"

#include <cstdint>
#include <string>
#include <vector>

class QCursor;
class QWidget;

namespace vellumar {

enum class ListWindowKind : int;
class FileStatus;
class ProgramSettings;
class SpellLibraryModel;
class TfrmSpellEdit;
class tSpell;

class MasterListWindowContext : public virtual WindowContext {
public:
    // The master list and its texts, where they live, their loads and saves.
    virtual SpellLibraryModel& MasterLibrary() = 0;
    // Offers spells to the active spellbook window; nothing without one.
    virtual void OfferSpellsToActiveBook(const std::vector<tSpell*>& spells) = 0;
    // The master file setting, shown by Current Master File and written on a switch.
    virtual ProgramSettings& Settings() const = 0;
    // Writes with a setter of ProgramSettings; false (after the box) when it failed.
    virtual bool WriteSetting(QWidget* parent,
                              FileStatus (ProgramSettings::*set)(const std::string&),
                              const std::string& value) = 0;
    virtual const QCursor& SpellCursor() = 0;
    virtual TfrmSpellEdit& SpellEdit() const = 0;
    // Whether the list windows show the current spell's card: one setting
    // for both; a failed write is reported in the settings box.
    virtual bool SpellTextShown() const = 0;
    virtual void SetSpellTextShown(QWidget* parent, bool shown) = 0;
    // Where the window's divider between the list and the card stands (the
    // card's share, ProgramSettings::SpellTextShare), one for each kind of
    // window; a failed write is reported in the settings box.
    virtual int32_t SpellTextShare(ListWindowKind window, int32_t fallback) const = 0;
    virtual void SetSpellTextShare(QWidget* parent, ListWindowKind window, int32_t share) = 0;

protected:
    ~MasterListWindowContext() = default;
};

} // namespace vellumar
