#pragma once
// What a spellbook window reaches beyond its own book: the program's tables
// and output, and the commands it hands on to the rest of the program.

#include "rules/odds.h"
#include "ui/window_context.h"

#include <cstdint>

class QCursor;
class QPrinter;
class QString;
class QWidget;

namespace vellumar {

enum class ListWindowKind : int;
struct OutputFormat;
class SpellTexts;
class TSpellBook;
class TfrmPrintFormat;
class TfrmSpellEdit;
class tSpecialtyList;

class SpellBookWindowContext : public virtual WindowContext {
public:
    // The master list, or none when no master file could be read.
    virtual TSpellBook* MasterList() const = 0;
    virtual tSpecialtyList& SpecialtyTable() const = 0;
    // The program's selection odds, for Fill Book and Add Random Spell.
    virtual FrequencyOddsTable& Odds() = 0;

    // Printing and copying.
    virtual OutputFormat& Output() = 0;
    virtual TfrmPrintFormat& PrintFormat() const = 0;
    virtual QPrinter& Printer() = 0;

    virtual const QCursor& SpellCursor() = 0;
    virtual TfrmSpellEdit& SpellEdit() const = 0;
    // The rules texts of the master list's spells, found by level and name.
    virtual SpellTexts& MasterTexts() = 0;
    // Whether the list windows show the current spell's card: one setting
    // for both; a failed write is reported in the settings box.
    virtual bool SpellTextShown() const = 0;
    virtual void SetSpellTextShown(QWidget* parent, bool shown) = 0;
    // Where the window's divider between the list and the card stands (the
    // card's share, ProgramSettings::SpellTextShare), one for each kind of
    // window; a failed write is reported in the settings box.
    virtual int32_t SpellTextShare(ListWindowKind window, int32_t fallback) const = 0;
    virtual void SetSpellTextShare(QWidget* parent, ListWindowKind window, int32_t share) = 0;

    // Where file dialogs start: the data directory.
    virtual QString DataDirectory() const = 0;
    // Puts a book opened or saved at the head of the recent books.
    virtual void NoteRecentBook(const QString& path) = 0;
    // The commands of the program that a spellbook window's menus offer too.
    virtual void NewBook() = 0;
    virtual void OpenBook() = 0;
    virtual void PrinterSetup() = 0;
    virtual void ExitProgram() = 0;
    virtual void EditSpecialties() = 0;
    // A random scroll from this book, in a new window.
    virtual void CreateScroll(TSpellBook& source) = 0;
    // The master list window, brought up at a spell level.
    virtual void ShowMasterListAt(int level) = 0;

protected:
    ~SpellBookWindowContext() = default;
};

} // namespace vellumar
