#pragma once
// The spell commands that the spellbook window and the master list window
// share: editing spells in the spell edit dialog, creating new ones, and the
// question before an ineligible spell is let into a book.

#include "rules/eligibility.h"

#include <QString>
#include <functional>
#include <vector>

class QWidget;

namespace vellumar {

class BookChange;
class BookUndo;
class Prompter;
class SpellList;
class SpellTexts;
struct SpellText;
class TSpellBook;
class TfrmSpellEdit;
class WorkingScope;
class tSpell;

// Cancelled: Cancel. Unchanged: OK with the spell and its text as they were,
// so nothing is stored. Refused: it would repeat another spell.
enum class EditOutcome { Cancelled, Unchanged, Changed, Refused };

struct EditResult {
    EditOutcome outcome = EditOutcome::Cancelled;
    // The spell as the book holds it afterwards: the edited one when Changed.
    const tSpell* spell = nullptr;
};

// Edits one spell of the book: on OK the edited copy takes the spell's place.
// An edit that would give it the level and name of another spell of the book
// is refused with an error box, and the spell stays as it was. A changed
// spell is noted in `edits`, when given. With `texts` (the master list's) the
// dialog's Details... edits the spell's text, which follows a new level or name.
EditResult EditSpellOfBook(TSpellBook& book, tSpell* spell, TfrmSpellEdit& dialog,
                           Prompter& prompter, QWidget* parent, BookChange* edits = nullptr,
                           SpellTexts* texts = nullptr);

// Runs after each spell of an Edit Spell Data that changed, before the next
// dialog shows, with the spells being edited as the book holds them now
// (each changed one in its new form): the one replaced is gone from the book,
// and a list showing it must let go.
using EditedFn = std::function<void(const std::vector<const tSpell*>& spells)>;

// Edits the spells one after another, each once; true when any changed.
bool EditSpellsOfBook(TSpellBook& book, const std::vector<tSpell*>& spells, TfrmSpellEdit& dialog,
                      Prompter& prompter, QWidget* parent, BookChange* edits = nullptr,
                      const EditedFn& changed = {}, SpellTexts* texts = nullptr);

// Edit Spell Data in a window: the spells of the list's selected rows, with
// `changed` run after each one that changed; all the edits are one Undo step.
void EditSelectedSpells(TSpellBook& book, const SpellList& list, TfrmSpellEdit& dialog,
                        Prompter& prompter, BookUndo& undo, QWidget* parent,
                        const EditedFn& changed, SpellTexts* texts = nullptr);

// Stores `text` as the rules text of spell `to`, which was `from` (none for a
// new spell): a text follows its spell to a new level or name. A spell that
// had no text and gets an empty one stays without. Noted in `edits`.
void StoreSpellText(SpellTexts& texts, const tSpell* from, const tSpell& to, const SpellText& text,
                    BookChange& edits);

// New spells, one dialog after another, until Cancel or a No to the repeat
// question; the next spell starts as the last one with its name emptied. A
// spell whose level and name the book already holds is not added and the user
// is told. `added` runs after each spell that went in, with that spell.
void CreateNewSpells(TSpellBook& book, TfrmSpellEdit& dialog, Prompter& prompter, QWidget* parent,
                     const std::function<void(const tSpell&)>& added);

// The error text for a spell whose level and name the book already holds.
QString DuplicateSpellText(const tSpell& spell, bool adding);

// The question asked before an ineligible spell is let into a book, whatever
// the rules' reason.
std::string InvalidSpellText(const std::string& spellName);

// The question before an ineligible spell goes in: information box, OK and Cancel.
AdmitIneligibleFn OfferQuestion(Prompter& prompter, QWidget* parent);

// The same questions for one batch of spells (an import, a drop): from the
// second question on, the box also offers "OK to All" and "Cancel All", which
// answer the rest of the batch without asking. Make one for each batch. The
// "Working..." box of the batch, when given, steps aside while a box shows.
AdmitIneligibleFn OfferBatchQuestion(Prompter& prompter, QWidget* parent,
                                     WorkingScope* working = nullptr);

} // namespace vellumar
