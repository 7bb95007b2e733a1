#include "ui/spell_book_window.h"

#include "files/recovery_file.h"
#include "files/spell_file.h"
#include "model/generalist.h"
#include "model/specialty.h"
#include "model/spell_book.h"
#include "output/qt/print_preview_window.h"
#include "platform/qt/command_table.h"
#include "platform/qt/help_topics.h"
#include "platform/qt/prompter.h"
#include "platform/qt/text_conversion.h"
#include "rules/caster_tables.h"
#include "rules/eligibility.h"
#include "rules/fill.h"
#include "ui/book_undo.h"
#include "ui/face_coloured_field.h"
#include "ui/focus_leave_rule.h"
#include "ui/level_panel.h"
#include "ui/new_book_choices.h"
#include "ui/recovery_keeper.h"
#include "ui/spell_book_files.h"
#include "ui/spell_book_window_context.h"
#include "ui/spell_commands.h"
#include "ui/spell_filter_bar.h"
#include "ui/spell_list_pane.h"
#include "ui/spin_edit.h"
#include "ui/undo_commands.h"
#include "ui/working_box.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScopedValueRollback>
#include <QToolBar>
#include <QUndoStack>

#include <algorithm>
#include <optional>

namespace vellumar {
namespace {

const QString Untitled = QStringLiteral("untitled");

// Changes of one caster field in a row are one Undo step.
enum CasterField { LevelField, IntelligenceField, SpecialtyField, FrequencyField };

} // namespace

TfrmSpellBook::TfrmSpellBook(SpellBookWindowContext& context, QWidget* parent)
    : QWidget(parent), context_(context),
      book_(std::make_unique<TSpellBook>(MinCasterLevel, MinIntelligence, FrequencyCommon,
                                         Generalist)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmSpellBook"));
    setProperty("helpTopic", int(TopicSpellBook));
    recovery_ = new RecoveryKeeper(
        context_, [this](RecoveryInfo& info) { return RecoverySnapshot(info); }, this);
    undo_ =
        new BookUndo([this] { return book_.get(); },
                     [this](const BookChange& change, bool undone) { ShowChange(change, undone); },
                     [this](bool modified) { SetModified(modified); }, this);
    BuildControls();
    BuildCommands();
    SetCaption(Untitled);
    // No narrower than the tool bar, so that no button is cut off, nor than
    // the caster controls beside it.
    int right = tbSpellBook->sizeHint().width();
    for (const QWidget* control :
         std::initializer_list<const QWidget*>{cbSpellFrequency, ebSpellsPerDay})
        right = std::max(right, control->geometry().right() + 1 + 6);
    setMinimumSize(right, 275);

    FillSpecialtyItems();
    cbWizardSpecialty->setEditText(QString::fromLatin1(Generalist));
    for (const char* name : FrequencyNamesCommonFirst()) cbSpellFrequency->addItem(name);
    cbSpellFrequency->setCurrentIndex(0);
    SetSpellLevel(1);
    pane_->Redraw();

    // Connected after the controls are filled, so that a new book starts unchanged.
    connect(spnWizardLevel, &SpinEdit::Changed, this, &TfrmSpellBook::spnWizardLevelChange);
    connect(spnWizardIntelligence, &SpinEdit::Changed, this,
            &TfrmSpellBook::spnWizardIntelligenceChange);
    connect(cbWizardSpecialty, &QComboBox::editTextChanged, this,
            &TfrmSpellBook::cbWizardSpecialtyChange);
    connect(cbSpellFrequency, &QComboBox::currentIndexChanged, this,
            &TfrmSpellBook::cbSpellFrequencyChange);
    // The question about an unknown specialty, once the user moved on.
    new FocusLeaveRule(
        cbWizardSpecialty, this, [this] { return closing_; }, [this] { cbWizardSpecialtyExit(); });
    undo_->SealOnFocusOut({spnWizardLevel, spnWizardIntelligence, cbWizardSpecialty});
    // Undoing and redoing change the book too, also where the mark stays. (The
    // keeper, made before the stack, goes first and takes the connection along.)
    connect(&undo_->Stack(), &QUndoStack::indexChanged, recovery_,
            [this] { recovery_->Changed(book_->Modified); });
    resize(550, 539);
}

TfrmSpellBook::~TfrmSpellBook() = default;

const QWidget& TfrmSpellBook::ToolBar() const {
    return *tbSpellBook;
}

void TfrmSpellBook::FillSpecialtyItems() {
    const QSignalBlocker blocker(cbWizardSpecialty);
    const QString text = cbWizardSpecialty->currentText();
    cbWizardSpecialty->clear();
    for (const std::string& name : context_.SpecialtyTable().OfferedSpecialties())
        cbWizardSpecialty->addItem(ToQString(name));
    cbWizardSpecialty->setEditText(text);
}

void TfrmSpellBook::ReplaceBook(std::unique_ptr<TSpellBook> book) {
    if (!book) return;
    lbSpells->ShowNone();
    book_ = std::move(book);
}

void TfrmSpellBook::ShowCasterFields() {
    spnWizardLevel->setValue(book_->CasterLevel);
    spnWizardIntelligence->setValue(book_->Intelligence);
    // The book holds what the window shows, also where a file held a value
    // outside the fields' limits.
    book_->CasterLevel = spnWizardLevel->value();
    book_->Intelligence = spnWizardIntelligence->value();
    cbWizardSpecialty->setEditText(ToQString(book_->Specialty));
    cbSpellFrequency->setCurrentIndex(FrequencyRow(book_->SpellFrequency));
}

void TfrmSpellBook::ShowBookParameters() {
    ShowCasterFields();
    SetSpellLevel(1);
    pane_->Redraw();
    // The book just put in is where Undo stops; its saved state is set by
    // whoever put it in (SetModified).
    undo_->Restart(false);
}

void TfrmSpellBook::PutBook(std::unique_ptr<TSpellBook> book, const QString& caption,
                            bool modified) {
    ReplaceBook(std::move(book));
    ShowBookParameters();
    SetModified(modified);
    if (!caption.isEmpty()) SetCaption(caption);
}

void TfrmSpellBook::ShowChange(const BookChange& change, bool undone) {
    ShowCasterFields();
    pane_->ShowChange(change, undone);
}

void TfrmSpellBook::StartNewBook(const NewBookChoices& choices) {
    book_->CasterLevel = choices.casterLevel;
    book_->Intelligence = choices.intelligence;
    book_->Specialty = FromQString(choices.specialty);
    book_->SpellFrequency = choices.spellFrequency;
    choices_ = "caster level " + std::to_string(choices.casterLevel) + ", Intelligence " +
               std::to_string(choices.intelligence) + ", specialty " +
               FromQString(choices.specialty) + ", frequency " +
               std::to_string(choices.spellFrequency);
    mnuFillBookClick();
    // The filled book is where Undo stops.
    ShowBookParameters();
    // By its text: the dialog's rows and the box's items need not stand in the same order.
    const int specialty = cbWizardSpecialty->findText(choices.specialty);
    if (specialty >= 0) cbWizardSpecialty->setCurrentIndex(specialty);
    SetModified(true);
}

void TfrmSpellBook::SetCaption(const QString& caption) {
    caption_ = caption;
    setWindowTitle(caption + QStringLiteral("[*]"));
}

void TfrmSpellBook::SetModified(bool modified) {
    book_->Modified = modified;
    setWindowModified(modified);
    if (!modified) undo_->MarkSaved();
    recovery_->Changed(modified);
}

std::string TfrmSpellBook::RecoverySnapshot(RecoveryInfo& info) {
    info.kind = RecoveryKind::Book;
    info.path = caption_ == Untitled ? std::string() : ToPath(caption_);
    info.caption = ToPath(caption_);
    info.spells = book_->Count();
    info.choices = choices_.value_or(std::string());
    // What Save writes: a caster field still being typed takes its limits
    // there (SpinEdit::Settle); the window's fields are left as they are.
    const int32_t level = book_->CasterLevel;
    const int32_t intelligence = book_->Intelligence;
    book_->CasterLevel = std::clamp(level, spnWizardLevel->minimum(), spnWizardLevel->maximum());
    book_->Intelligence = std::clamp(intelligence, spnWizardIntelligence->minimum(),
                                     spnWizardIntelligence->maximum());
    std::string body = SpellbookFileText(*book_);
    book_->CasterLevel = level;
    book_->Intelligence = intelligence;
    return body;
}

bool TfrmSpellBook::IsModified() const {
    return book_->Modified;
}

void TfrmSpellBook::spnWizardLevelChange() {
    const BookStep step(*undo_, "Wizard Level", LevelField);
    SetModified(true);
    book_->CasterLevel = spnWizardLevel->TypedValue(1);
    pane_->Redraw();
}

void TfrmSpellBook::spnWizardIntelligenceChange() {
    const BookStep step(*undo_, "Intelligence", IntelligenceField);
    SetModified(true);
    book_->Intelligence = spnWizardIntelligence->TypedValue(9);
}

void TfrmSpellBook::cbWizardSpecialtyChange() {
    const BookStep step(*undo_, "Specialty", SpecialtyField);
    SetModified(true);
    book_->Specialty = FromQString(cbWizardSpecialty->currentText());
    pane_->Redraw();
}

void TfrmSpellBook::cbWizardSpecialtyExit() {
    const QString text = cbWizardSpecialty->currentText();
    // "Would you like modify" is intended: the classic question, word for word.
    if (text == QLatin1String(Generalist) ||
        context_.SpecialtyTable().FindByName(FromQString(text)))
        return;
    const QString question = QStringLiteral("The specialty \"") + text +
                             QStringLiteral("\" does not exist on the current specialty list.") +
                             QStringLiteral("\r\nWould you like modify the specialty list?");
    if (context_.Prompts().Message(this, BoxKind::Confirmation, BoxButtons::YesNo, question) ==
        Answer::Yes)
        context_.EditSpecialties();
}

void TfrmSpellBook::cbSpellFrequencyChange() {
    const BookStep step(*undo_, "Spell Frequency", FrequencyField);
    book_->SpellFrequency = FrequencyOfRow(cbSpellFrequency->currentIndex());
    SetModified(true);
}

void TfrmSpellBook::mnuFillBookClick() {
    const BookStep step(*undo_, "Fill Book");
    WorkingScope working(context_.Working(), QStringLiteral("Filling Spellbook"));
    FillSpellbook(book_.get(), context_.MasterList(), &context_.SpecialtyTable(), context_.Odds());
    SetModified(true);
    pane_->Redraw();
}

void TfrmSpellBook::mnuValidateBookClick() {
    const BookStep step(*undo_, "Validate Book");
    ValidateBook(*book_, &context_.SpecialtyTable());
    // Also when nothing went: the book has been through the rules.
    SetModified(true);
    pane_->Redraw();
}

void TfrmSpellBook::mnuClearBookClick() {
    if (context_.Prompts().Message(this, BoxKind::Confirmation, BoxButtons::OkCancel,
                                   QStringLiteral("This will remove all spells from the "
                                                  "Spellbook!\r\nAre you sure you want to "
                                                  "continue?")) != Answer::Ok)
        return;
    const BookStep step(*undo_, "Clear Book");
    auto empty = std::make_unique<TSpellBook>(book_->CasterLevel, book_->Intelligence,
                                              FrequencyOfRow(cbSpellFrequency->currentIndex()),
                                              book_->Specialty);
    lbSpells->ShowNone();
    book_ = std::move(empty);
    SetModified(true);
    pane_->Redraw();
}

void TfrmSpellBook::mnuAddSelectedSpellClick() {
    context_.ShowMasterListAt(SpellLevel());
}

void TfrmSpellBook::mnuAddRandomSpellClick() {
    const BookStep step(*undo_, "Add Random Spell");
    Prompter& prompter = context_.Prompts();
    const RandomSpellResult result =
        AddRandomSpell(*book_, context_.MasterList(), &context_.SpecialtyTable(), context_.Odds(),
                       SpellLevel(), OfferQuestion(prompter, this));
    if (result.outcome == RandomSpellOutcome::NoMasterList)
        prompter.Message(this, BoxKind::Error, BoxButtons::Ok,
                         QStringLiteral("No Master list available"));
    const tSpell* added = result.spell;
    if (!added) return;
    SetModified(true);
    // The new row goes to the spell's place; the rest of the list stays as it
    // is, unless the filter hid the spell and had to go.
    if (pnlFilter->Reveal({added}))
        lbSpells->SelectSpells({added});
    else
        lbSpells->ShowInserted(added);
}

void TfrmSpellBook::mnuDeleteSpellClick() {
    const BookStep step(*undo_, "Delete Spell");
    if (lbSpells->DeleteSelected() > 0) SetModified(true);
}

void TfrmSpellBook::mnuEditSpellClick() {
    // Redrawn after each spell that changed (its row must not outlive it),
    // with the rows being edited still selected.
    EditSelectedSpells(*book_, *lbSpells, context_.SpellEdit(), context_.Prompts(), *undo_, this,
                       [this](const std::vector<const tSpell*>& spells) {
                           SetModified(true);
                           pane_->ShowSelected(spells);
                       });
}

void TfrmSpellBook::mnuCreateNewSpellClick() {
    CreateNewSpells(
        *book_, context_.SpellEdit(), context_.Prompts(), this, [this](const tSpell& spell) {
            SetModified(true);
            undo_->Record(QStringLiteral("Create New Spell"), SpellAdded(*book_, spell));
            pane_->ShowAdded({&spell});
        });
}

void TfrmSpellBook::mnuCreateScrollClick() {
    context_.CreateScroll(*book_);
}

std::vector<const tSpell*> TfrmSpellBook::OfferBatch(const std::vector<const tSpell*>& spells,
                                                     WorkingScope& working) {
    // Every question first, then the spells let in go in together; the list
    // is drawn once, afterwards, by the caller.
    return OfferSpellsToBook(spells, *book_, &context_.SpecialtyTable(),
                             OfferBatchQuestion(context_.Prompts(), this, &working));
}

std::vector<const tSpell*> TfrmSpellBook::OfferSpells(const std::vector<tSpell*>& spells) {
    WorkingScope working(context_.Working(), QStringLiteral("Adding Spells"),
                         spells.size() > ManySpells);
    const BookStep step(*undo_, "Add Spells to Book");
    std::vector<const tSpell*> added = OfferBatch({spells.begin(), spells.end()}, working);
    if (!added.empty()) SetModified(true);
    pane_->ShowAdded(added);
    return added;
}

void TfrmSpellBook::AddFromMasterList(const std::vector<tSpell*>& spells) {
    if (spells.empty()) return;
    // The level of the rows; with every level shown, that of the first one chosen.
    SetSpellLevel(spells.front()->Level);
    pane_->Redraw();
    // Many rows are one batch, as an import is: "OK to All" from the second question on.
    OfferSpells(spells);
}

void TfrmSpellBook::lbSpellsDragDrop(SpellList& source) {
    if (&source == lbSpells) return;
    const std::vector<tSpell*> dropped = source.SelectedSpells();
    if (dropped.empty()) return;
    WorkingScope working(context_.Working(), QStringLiteral("Adding Spells"),
                         dropped.size() > ManySpells);
    const BookStep step(*undo_, "Drop Spells");
    const std::vector<const tSpell*> added = OfferBatch({dropped.begin(), dropped.end()}, working);
    // Every dropped spell marks the book, let in or not.
    SetModified(true);
    if (!added.empty()) {
        // The level of the last spell that went in, not of a refused one.
        pane_->ShowAdded(added);
        return;
    }
    SetSpellLevel(dropped.back()->Level);
    pane_->Redraw();
}

void TfrmSpellBook::mnuImportSpellsClick() {
    const std::unique_ptr<TSpellBook> read = AskSpellsToImport(context_, this);
    if (!read) return;
    std::vector<const tSpell*> spells;
    spells.reserve(size_t(read->Count()));
    for (read->First(); const tSpell* spell = read->CurrentSpell(); read->Next())
        spells.push_back(spell);
    WorkingScope working(context_.Working(), QStringLiteral("Importing Spells"),
                         spells.size() > ManySpells);
    const BookStep step(*undo_, "Import Spells");
    if (!OfferBatch(spells, working).empty()) SetModified(true);
    pane_->Redraw();
}

void TfrmSpellBook::mnuNewClick() {
    context_.NewBook();
}

void TfrmSpellBook::mnuOpenClick() {
    context_.OpenBook();
}

bool TfrmSpellBook::WriteTo(const QString& path) {
    // A caster level or Intelligence still being typed (0, 35) would make a
    // book that no reader takes back: the fields take their limits first.
    spnWizardLevel->Settle();
    spnWizardIntelligence->Settle();
    if (!WriteBookFile(context_, this, *book_, path)) return false;
    SetModified(false);
    context_.NoteRecentBook(path);
    return true;
}

void TfrmSpellBook::mnuSaveClick() {
    if (caption_ != Untitled)
        WriteTo(caption_);
    else
        mnuSaveAsClick();
}

void TfrmSpellBook::mnuSaveAsClick() {
    const QString path = AskSaveAsPath(context_, this, caption_, caption_ == Untitled);
    if (path.isEmpty()) return;
    if (WriteTo(path)) SetCaption(QFileInfo(path).absoluteFilePath());
}

void TfrmSpellBook::mnuCloseClick() {
    // Closing the frame's child window closes this one through it.
    if (QWidget* frame = parentWidget())
        frame->close();
    else
        close();
}

void TfrmSpellBook::mnuExitClick() {
    context_.ExitProgram();
}

void TfrmSpellBook::mnuUndoClick() {
    undo_->Undo();
}

void TfrmSpellBook::mnuRedoClick() {
    undo_->Redo();
}

void TfrmSpellBook::mnuSpellTextClick() {
    pane_->SetCardShown(mnuSpellText->isChecked());
    context_.SetSpellTextShown(this, mnuSpellText->isChecked());
}

bool TfrmSpellBook::FormCloseQuery() {
    if (!book_->Modified) return true;
    // The focus leaves the specialty box for the question; that asks nothing.
    const QScopedValueRollback<bool> asking(closing_, true);
    const QString question = QStringLiteral("Spellbook:\r\n") + caption_ +
                             QStringLiteral("\r\nhas not been saved. Do you wish to save it now?");
    switch (context_.Prompts().Message(this, BoxKind::Confirmation, BoxButtons::YesNoCancel,
                                       question)) {
    case Answer::Yes:
        mnuSaveClick();
        return !book_->Modified;
    case Answer::No:
        return true;
    default:
        return false;
    }
}

void TfrmSpellBook::closeEvent(QCloseEvent* event) {
    if (closeApproved_ || FormCloseQuery()) {
        closing_ = true;
        event->accept();
        if (closed_) closed_();
    } else
        event->ignore();
}

void TfrmSpellBook::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

void TfrmSpellBook::contextMenuEvent(QContextMenuEvent* event) {
    pmnu_->exec(event->globalPos());
}

} // namespace vellumar
