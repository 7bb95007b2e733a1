#pragma once
// What a spellbook window reaches beyond its own book.

#include "rules/odds.h"
#include "ui/window_context.h"

class QCursor;
class QPrinter;

namespace vellumar {

struct OutputFormat;
class TSpellBook;
class TfrmMain;
class TfrmMasterList;
class TfrmPrintFormat;
class TfrmSpellEdit;
class tSpecialtyList;

class SpellBookWindowContext : public virtual WindowContext {
public:
    // The frame holding the window: its data directory, recent books, scrolls.
    virtual TfrmMain& Frame() const = 0;
    // The master list, or none when no master file could be read.
    virtual TSpellBook* MasterList() const = 0;
    // None until start-up has created it.
    virtual TfrmMasterList* MasterListWindow() const = 0;
    virtual tSpecialtyList& SpecialtyTable() const = 0;
    // The program's selection odds, for Fill Book and Add Random Spell.
    virtual FrequencyOddsTable& Odds() = 0;

    // Printing and copying.
    virtual OutputFormat& Output() = 0;
    virtual TfrmPrintFormat& PrintFormat() const = 0;
    virtual QPrinter& Printer() = 0;

    virtual const QCursor& SpellCursor() = 0;
    virtual TfrmSpellEdit& SpellEdit() const = 0;

protected:
    ~SpellBookWindowContext() = default;
};

} // namespace vellumar
