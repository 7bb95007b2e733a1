#include "ui/spell_commands.h"

#include "model/book_change.h"
#include "model/spell_book.h"
#include "platform/qt/prompter.h"
#include "platform/qt/text_conversion.h"
#include "ui/book_undo.h"
#include "ui/spell_edit_dialog.h"
#include "ui/spell_list.h"
#include "ui/window_placement.h"
#include "ui/working_box.h"

#include <QDialog>
#include <memory>
#include <optional>

namespace vellumar {
namespace {

// Puts the book's cursor on the spell; false when the book no longer holds it.
bool GoToSpell(TSpellBook& book, const tSpell* spell) {
    for (book.First(); book.CurrentSpell(); book.Next())
        if (book.CurrentSpell() == spell) return true;
    return false;
}

// Another spell of the book with the level and name of `edited`, if any.
const tSpell* OtherEqualSpell(TSpellBook& book, const tSpell& edited, const tSpell* self) {
    for (book.First(); const tSpell* held = book.CurrentSpell(); book.Next())
        if (held != self && CompareSpells(edited, *held) == 0) return held;
    return nullptr;
}

// The dialog opens over the window whose spell it edits.
int ShowSpellEdit(TfrmSpellEdit& dialog, Prompter& prompter, QWidget* parent) {
    if (parent) CentreOver(dialog, *parent);
    return prompter.Exec(dialog);
}

} // namespace

QString DuplicateSpellText(const tSpell& spell, bool adding) {
    return QStringLiteral("A spell of level %1 named \"%2\" already exists.\r\n")
               .arg(spell.Level)
               .arg(ToQString(spell.Name)) +
           (adding ? QStringLiteral("The spell was not added.")
                   : QStringLiteral("The spell was not changed."));
}

void StoreSpellText(SpellTexts& texts, const tSpell* from, const tSpell& to, const SpellText& text,
                    BookChange& edits) {
    std::optional<SpellText> old;
    if (from)
        if (const SpellText* held = texts.Find(from->Level, from->Name)) old = *held;
    if (!old && text == SpellText()) return;
    if (from && old && CompareSpells(*from, to) != 0) {
        edits.TextChanged(from->Level, from->Name, old, std::nullopt);
        texts.Remove(from->Level, from->Name);
    }
    std::optional<SpellText> before;
    if (const SpellText* held = texts.Find(to.Level, to.Name)) before = *held;
    edits.TextChanged(to.Level, to.Name, before, text);
    texts.Set(to.Level, to.Name, text);
}

EditResult EditSpellOfBook(TSpellBook& book, tSpell* spell, TfrmSpellEdit& dialog,
                           Prompter& prompter, QWidget* parent, BookChange* edits,
                           SpellTexts* texts) {
    if (!spell || !GoToSpell(book, spell)) return {};
    std::unique_ptr<tSpell> edited = spell->Clone();
    // A copy: the texts may change while the dialog waits.
    std::optional<SpellText> heldText;
    if (const SpellText* held = texts ? texts->Find(spell->Level, spell->Name) : nullptr)
        heldText = *held;
    dialog.LoadSpellIntoDialog(edited.get());
    if (texts) dialog.LoadDetails(heldText ? &*heldText : nullptr);
    if (ShowSpellEdit(dialog, prompter, parent) != QDialog::Accepted)
        return {EditOutcome::Cancelled, spell};
    dialog.ReadSpellFromDialog(edited.get());
    // OK on what was loaded changes nothing: no mark, no Undo step.
    const bool sameText = !texts || dialog.Details() == heldText.value_or(SpellText());
    if (*edited == *spell && sameText) return {EditOutcome::Unchanged, spell};
    // The book holds one spell of a level and name; storing the edit beside
    // another would lose one of them.
    if (OtherEqualSpell(book, *edited, spell)) {
        prompter.Message(parent, BoxKind::Error, BoxButtons::Ok,
                         DuplicateSpellText(*edited, false));
        return {EditOutcome::Refused, spell};
    }
    if (edits) {
        edits->Removed(*spell);
        edits->Added(*edited);
    }
    if (texts) {
        BookChange ignored;
        StoreSpellText(*texts, spell, *edited, dialog.Details(), edits ? *edits : ignored);
    }
    GoToSpell(book, spell);
    book.DeleteCurrent();
    const tSpell* stored = edited.get();
    book.AddSpell(edited);
    return {EditOutcome::Changed, stored};
}

bool EditSpellsOfBook(TSpellBook& book, const std::vector<tSpell*>& spells, TfrmSpellEdit& dialog,
                      Prompter& prompter, QWidget* parent, BookChange* edits,
                      const EditedFn& changed, SpellTexts* texts) {
    std::vector<const tSpell*> now(spells.begin(), spells.end());
    bool any = false;
    for (size_t i = 0; i < spells.size(); ++i) {
        const EditResult result =
            EditSpellOfBook(book, spells[i], dialog, prompter, parent, edits, texts);
        if (result.outcome != EditOutcome::Changed) continue;
        any = true;
        now[i] = result.spell;
        if (changed) changed(now);
    }
    return any;
}

void EditSelectedSpells(TSpellBook& book, const SpellList& list, TfrmSpellEdit& dialog,
                        Prompter& prompter, BookUndo& undo, QWidget* parent,
                        const EditedFn& changed, SpellTexts* texts) {
    BookChange edits(CasterFields::Of(book));
    EditSpellsOfBook(book, list.SelectedSpells(), dialog, prompter, parent, &edits, changed, texts);
    undo.Record(QStringLiteral("Edit Spell Data"), std::move(edits));
}

void CreateNewSpells(TSpellBook& book, TfrmSpellEdit& dialog, Prompter& prompter, QWidget* parent,
                     const std::function<void(const tSpell&)>& added) {
    auto spell = std::make_unique<tSpell>(MinSpellLevel, "", "", 0, FrequencyCommon, "");
    for (;;) {
        dialog.LoadSpellIntoDialog(spell.get());
        if (ShowSpellEdit(dialog, prompter, parent) != QDialog::Accepted) return;
        dialog.ReadSpellFromDialog(spell.get());
        const tSpell* last = spell.get();
        // Looked up first: a refused spell is named as the book holds it.
        const tSpell* held = OtherEqualSpell(book, *spell, nullptr);
        const bool wentIn = book.AddSpell(spell);
        if (wentIn) {
            if (added) added(*last);
        } else {
            prompter.Message(parent, BoxKind::Error, BoxButtons::Ok,
                             DuplicateSpellText(held ? *held : *spell, true));
        }
        const QString another = QStringLiteral("Would you like to add another?");
        if (prompter.Message(parent, BoxKind::Confirmation, BoxButtons::YesNo,
                             wentIn ? QStringLiteral("Spell has been added.\r\n") + another
                                    : another) != Answer::Yes)
            return;
        // Level, book, page, frequency and category carry over to the next one.
        std::unique_ptr<tSpell> next = last->Clone();
        next->Name.clear();
        spell = std::move(next);
    }
}

std::string InvalidSpellText(const std::string& spellName) {
    return "Added spell...\r\n--->  " + spellName + "  <---\r\nis invalid for this spellbook";
}

AdmitIneligibleFn OfferQuestion(Prompter& prompter, QWidget* parent) {
    return [&prompter, parent](const tSpell& spell, Ineligibility) {
        return prompter.Message(parent, BoxKind::Information, BoxButtons::OkCancel,
                                ToQString(InvalidSpellText(spell.Name))) == Answer::Ok;
    };
}

AdmitIneligibleFn OfferBatchQuestion(Prompter& prompter, QWidget* parent, WorkingScope* working) {
    struct Batch {
        bool asked = false;
        std::optional<bool> toAll; // the answer a "to All" button gave the rest
    };
    // Shared by the copies of the function that the batch makes.
    auto batch = std::make_shared<Batch>();
    return [&prompter, parent, working, batch](const tSpell& spell, Ineligibility) {
        // Settled by a "to All": no box, so the "Working..." box stays.
        if (batch->toAll) return *batch->toAll;
        const BoxButtons buttons = batch->asked ? BoxButtons::OkCancelAll : BoxButtons::OkCancel;
        batch->asked = true;
        const auto ask = [&] {
            return prompter.Message(parent, BoxKind::Information, buttons,
                                    ToQString(InvalidSpellText(spell.Name)));
        };
        const Answer answer = working ? working->Aside(ask) : ask();
        if (answer == Answer::OkToAll) batch->toAll = true;
        if (answer == Answer::CancelAll) batch->toAll = false;
        return answer == Answer::Ok || answer == Answer::OkToAll;
    };
}

} // namespace vellumar
