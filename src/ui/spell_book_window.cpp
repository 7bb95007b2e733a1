#include "ui/spell_book_window.h"

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

namespace vellumar {
namespace {

const QString Untitled = QStringLiteral("untitled");
constexpr int ListTop = 160;

// Changes of one caster field in a row are one Undo step.
enum CasterField { LevelField, IntelligenceField, SpecialtyField, FrequencyField };

QFont PixelFont(const QFont& base, int pixels) {
    QFont font(base);
    font.setPixelSize(pixels);
    return font;
}

QLabel* Label(QWidget* parent, const QString& text, const QRect& frame, Qt::Alignment align) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(frame);
    label->setAlignment(align | Qt::AlignVCenter);
    return label;
}

} // namespace

int SpellsPerDayFigure(const TSpellBook& book, int spellLevel) {
    const int value = SpellsPerDay(book.CasterLevel, spellLevel);
    return value != 0 && !IsGeneralist(book.Specialty) ? value + 1 : value;
}

TfrmSpellBook::TfrmSpellBook(SpellBookWindowContext& context, QWidget* parent)
    : QWidget(parent), context_(context),
      book_(std::make_unique<TSpellBook>(MinCasterLevel, MinIntelligence, FrequencyCommon,
                                         Generalist)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmSpellBook"));
    setProperty("helpTopic", int(TopicSpellBook));
    setFont(PixelFont(font(), 14));
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
    grpSpellLevelClick();

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
    resize(550, 539);
}

TfrmSpellBook::~TfrmSpellBook() = default;

void TfrmSpellBook::BuildControls() {
    const QFont small = PixelFont(font(), 12);
    tbSpellBook = new QToolBar(this);
    tbSpellBook->setObjectName(QStringLiteral("tbSpellBook"));
    tbSpellBook->setIconSize(QSize(24, 24));
    tbSpellBook->setMovable(false);
    tbSpellBook->setFloatable(false);

    Label(this, QStringLiteral("Wizard Level:"), {6, 55, 92, 20}, Qt::AlignRight)->setFont(small);
    spnWizardLevel = new SpinEdit(MinCasterLevel, MaxCasterLevel, this);
    spnWizardLevel->setGeometry(102, 51, 40, 26);

    Label(this, QStringLiteral("Intelligence:"), {171, 55, 81, 20}, Qt::AlignRight)->setFont(small);
    spnWizardIntelligence = new SpinEdit(MinIntelligence, MaxIntelligence, this);
    spnWizardIntelligence->setGeometry(256, 51, 39, 26);

    Label(this, QStringLiteral("Specialty:"), {7, 87, 66, 20}, Qt::AlignLeft)->setFont(small);
    cbWizardSpecialty = new QComboBox(this);
    cbWizardSpecialty->setEditable(true);
    cbWizardSpecialty->setInsertPolicy(QComboBox::NoInsert);
    cbWizardSpecialty->setMaxVisibleItems(9);
    cbWizardSpecialty->setGeometry(77, 83, 196, 26);

    // This label and its box keep the window's larger font.
    Label(this, QStringLiteral("Spell Frequency: "), {285, 87, 113, 20}, Qt::AlignLeft);
    cbSpellFrequency = new QComboBox(this);
    cbSpellFrequency->setGeometry(400, 83, 105, 26);

    pane_ = new SpellListPane(this, this, false, [this] { return book_.get(); });
    connect(pane_, &SpellListPane::Redrawn, this, [this] {
        ebSpellsPerDay->setText(QString::number(SpellsPerDayFigure(*book_, SpellLevel())));
        setWindowModified(book_->Modified);
    });
    LevelPanel* levels = pane_->Levels();
    grpSpellLevel = pane_->LevelButtons();

    Label(this, QStringLiteral("# per day:"), {370, 128, 72, 20}, Qt::AlignLeft)->setFont(small);
    ebSpellsPerDay = new QLineEdit(this);
    ebSpellsPerDay->setGeometry(445, 126, 26, 24);
    ebSpellsPerDay->setReadOnly(true);
    ebSpellsPerDay->setFocusPolicy(Qt::NoFocus);
    ebSpellsPerDay->setAlignment(Qt::AlignCenter);
    QFont bold = small;
    bold.setBold(true);
    ebSpellsPerDay->setFont(bold);
    ColourAsFace(*ebSpellsPerDay);

    pnlFilter = pane_->FilterBar();
    lbSpells = pane_->List();
    lbSpells->setGeometry(6, ListTop, 499, 241);
    lbSpells->SetDragCursor([this] { return context_.SpellCursor(); });
    lbSpells->SetDropHandler([this](SpellList& source) { lbSpellsDragDrop(source); });
    connect(lbSpells, &QAbstractItemView::doubleClicked, this, &TfrmSpellBook::mnuEditSpellClick);

    for (QWidget* control : std::initializer_list<QWidget*>{
             spnWizardLevel, spnWizardIntelligence, cbWizardSpecialty, levels, pnlFilter, lbSpells})
        control->setFont(small);
    // Sized once its font is known; the list starts below it.
    const QSize levelsSize = levels->sizeHint().expandedTo(QSize(334, 33));
    levels->setGeometry(6, 115, levelsSize.width(), levelsSize.height());
    listTop_ = std::max(ListTop, levels->geometry().bottom() + 6);
    FormResize();
    setTabOrder(spnWizardLevel, spnWizardIntelligence);
    setTabOrder(spnWizardIntelligence, cbWizardSpecialty);
    setTabOrder(cbWizardSpecialty, cbSpellFrequency);
    setTabOrder(cbSpellFrequency, grpSpellLevel->button(1));
    setTabOrder(grpSpellLevel->button(1), pnlFilter->edFilter);
    setTabOrder(pnlFilter->edFilter, lbSpells);
}

void TfrmSpellBook::BuildCommands() {
    using W = TfrmSpellBook;
    mnuFile_ = new QMenu(QStringLiteral("&File"), this);
    mnuEdit_ = new QMenu(QStringLiteral("&Edit"), this);
    pmnu_ = new QMenu(this);
    QMenu* const file = mnuFile_;
    QMenu* const edit = mnuEdit_;
    QMenu* const popup = pmnu_;
    QToolBar* const tools = tbSpellBook;
    auto icon = [this](const char* name) { return context_.Icon(QString::fromLatin1(name)); };
    // clang-format off
    AddCommands<W>(*this, {
        {.place = file, .text = "&New", .handler = &W::mnuNewClick, .keys = {Qt::Key_F4, QKeySequence::New}},
        {.place = file, .text = "&Open", .handler = &W::mnuOpenClick, .keys = QKeySequence::Open},
        {.place = file, .text = "&Save", .handler = &W::mnuSaveClick, .keys = {Qt::Key_F2, QKeySequence::Save}},
        {.place = file, .text = "Save &As", .handler = &W::mnuSaveAsClick, .keys = QKeySequence::SaveAs},
        {.place = file, .text = "&Close", .handler = &W::mnuCloseClick, .keys = {QKeySequence(Qt::CTRL | Qt::Key_F4), QKeySequence::Close}},
        {.place = file},
        {.place = file, .text = "&Import Spells", .handler = &W::mnuImportSpellsClick},
        {.place = file, .text = "&Export Spell", .handler = &W::mnuExportSpellClick},
        {.place = file},
        {.place = file, .text = "Copy to Cli&pboard", .handler = &W::mnuCopytoClipboardClick, .hint = "Copy Spellbook to Clipboard"},
        {.place = file, .text = "Printer Setup...", .handler = &W::mnuPrinterSetupClick, .hint = "Select and Configure Printer"},
        {.place = file, .text = "&Print Preview/Format...", .handler = &W::mnuPrintPreviewClick, .hint = "Preview & Format Output"},
        {.place = file, .text = "Prin&t", .handler = &W::mnuPrintClick, .keys = QKeySequence::Print, .hint = "Print Spellbook"},
        {.place = file, .text = "Export as P&DF...", .handler = &W::mnuExportPdfClick, .hint = "Write Spellbook as PDF"},
        {.place = file},
        {.place = file, .text = "E&xit", .handler = &W::mnuExitClick, .keys = QKeySequence::Quit},

        {.place = edit, .text = "&Fill Book", .handler = &W::mnuFillBookClick},
        {.place = edit, .text = "&Validate Book", .handler = &W::mnuValidateBookClick},
        {.place = edit, .text = "&Clear Book", .handler = &W::mnuClearBookClick},
        {.place = edit},
        {.place = edit, .text = "&Add Selected Spell", .handler = &W::mnuAddSelectedSpellClick},
        {.place = edit, .text = "Add &Random Spell", .handler = &W::mnuAddRandomSpellClick, .keys = Qt::Key_Insert},
        {.place = edit},
        {.place = edit, .text = "&Delete Spell", .handler = &W::mnuDeleteSpellClick, .keys = Qt::Key_Delete},
        {.place = edit, .text = "&Edit Spell Data", .handler = &W::mnuEditSpellClick},
        {.place = edit, .text = "Create &New Spell", .handler = &W::mnuCreateNewSpellClick},
        {.place = edit},
        {.place = edit, .text = "Create &Scroll", .handler = &W::mnuCreateScrollClick},
        {.place = edit},
        // Undo and Redo end this menu (AddUndoCommands below).

        {.place = popup, .text = "Save Spellbook", .handler = &W::mnuSaveClick},
        {.place = popup, .text = "Validate Spellbook", .handler = &W::mnuValidateBookClick},
        {.place = popup, .text = "Erase Spellbook", .handler = &W::mnuClearBookClick},
        {.place = popup},
        {.place = popup, .text = "Add Random Spell", .handler = &W::mnuAddRandomSpellClick},
        {.place = popup, .text = "Add Selected Spell", .handler = &W::mnuAddSelectedSpellClick},
        {.place = popup, .text = "Delete Spell", .handler = &W::mnuDeleteSpellClick},
        {.place = popup, .text = "Edit Spell Data", .handler = &W::mnuEditSpellClick},
        {.place = popup},
        {.place = popup, .text = "Create Scroll", .handler = &W::mnuCreateScrollClick},

        // Tool bar actions carry no keys: several windows show their tool
        // bars at once, and a key held by each would answer none of them.
        {.place = tools, .text = "New Spellbook", .handler = &W::mnuNewClick, .picture = icon("new"), .id = "bnNew"},
        {.place = tools, .text = "Open Spellbook", .handler = &W::mnuOpenClick, .picture = icon("open"), .id = "bnOpen"},
        {.place = tools, .text = "Save Spellbook", .handler = &W::mnuSaveClick, .picture = icon("save"), .id = "bnSave"},
        {.place = tools},
        {.place = tools, .text = "Fill Spellbook", .handler = &W::mnuFillBookClick, .picture = icon("fill"), .id = "bnBookFill"},
        {.place = tools, .text = "Validate Spellbook", .handler = &W::mnuValidateBookClick, .picture = icon("validate"), .id = "bnBookValidate"},
        {.place = tools, .text = "Erase Spellbook", .handler = &W::mnuClearBookClick, .picture = icon("erase"), .id = "bnBookErase"},
        {.place = tools},
        {.place = tools, .text = "Add Spell", .handler = &W::mnuAddSelectedSpellClick, .picture = icon("spell_add"), .id = "bnSpellAdd"},
        {.place = tools, .text = "Add Random Spell", .handler = &W::mnuAddRandomSpellClick, .picture = icon("spell_random"), .id = "bnSpellAddRandom"},
        {.place = tools, .text = "Delete Spell", .handler = &W::mnuDeleteSpellClick, .picture = icon("spell_delete"), .id = "bnSpellDelete"},
        {.place = tools},
        {.place = tools, .text = "Edit Spell Data", .handler = &W::mnuEditSpellClick, .picture = icon("spell_edit"), .id = "bnSpellEdit"},
        {.place = tools, .text = "Create New Spell", .handler = &W::mnuCreateNewSpellClick, .picture = icon("spell_new"), .id = "bnAddNewSpell"},
        {.place = tools},
        {.place = tools, .text = "Copy to Clipboard", .handler = &W::mnuCopytoClipboardClick, .picture = icon("clipboard"), .id = "bnClipboard"},
        {.place = tools, .text = "Preview/Format Output", .handler = &W::mnuPrintPreviewClick, .picture = icon("preview"), .id = "bnPrintPreview"},
        {.place = tools, .text = "Print Spellbook", .handler = &W::mnuPrintClick, .picture = icon("print"), .id = "bnPrint"},
    });
    // clang-format on
    // "&Redo" would share its letter with "Add &Random Spell".
    AddUndoCommands(*this, edit, *undo_, "Red&o");
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
    grpSpellLevelClick();
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
}

bool TfrmSpellBook::IsModified() const {
    return book_->Modified;
}

int TfrmSpellBook::SpellLevel() const {
    return pane_->SpellLevel();
}

void TfrmSpellBook::SetSpellLevel(int level) {
    pane_->SetSpellLevel(level);
}

void TfrmSpellBook::grpSpellLevelClick() {
    pane_->Redraw();
}

void TfrmSpellBook::spnWizardLevelChange() {
    const BookStep step(*undo_, "Wizard Level", LevelField);
    SetModified(true);
    book_->CasterLevel = spnWizardLevel->TypedValue(1);
    grpSpellLevelClick();
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
    grpSpellLevelClick();
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
    if (context_.prompter().Message(this, BoxKind::Confirmation, BoxButtons::YesNo, question) ==
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
    FillSpellbook(book_.get(), context_.MasterList(), &context_.SpecialtyTable());
    SetModified(true);
    grpSpellLevelClick();
}

void TfrmSpellBook::mnuValidateBookClick() {
    const BookStep step(*undo_, "Validate Book");
    ValidateBook(*book_, &context_.SpecialtyTable());
    // Also when nothing went: the book has been through the rules.
    SetModified(true);
    grpSpellLevelClick();
}

void TfrmSpellBook::mnuClearBookClick() {
    if (context_.prompter().Message(this, BoxKind::Confirmation, BoxButtons::OkCancel,
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
    grpSpellLevelClick();
}

void TfrmSpellBook::mnuAddSelectedSpellClick() {
    context_.ShowMasterListAt(SpellLevel());
}

void TfrmSpellBook::mnuAddRandomSpellClick() {
    const BookStep step(*undo_, "Add Random Spell");
    Prompter& prompter = context_.prompter();
    const int level = SpellLevel();
    const tSpell* added =
        AddRandomSpell(*book_, context_.MasterList(), &context_.SpecialtyTable(), level,
                       OfferQuestion(prompter, this), [this, &prompter](const std::string& text) {
                           prompter.Message(this, BoxKind::Error, BoxButtons::Ok, ToQString(text));
                       });
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
    // Redrawn after each spell that changed: its row must not outlive it.
    EditSelectedSpells(*book_, *lbSpells, context_.SpellEdit(), context_.prompter(), *undo_, this,
                       [this] {
                           SetModified(true);
                           grpSpellLevelClick();
                       });
}

void TfrmSpellBook::mnuCreateNewSpellClick() {
    CreateNewSpells(
        *book_, context_.SpellEdit(), context_.prompter(), this, [this](const tSpell& spell) {
            SetModified(true);
            undo_->Record(QStringLiteral("Create New Spell"), SpellAdded(*book_, spell));
            pane_->ShowAdded({&spell});
        });
}

void TfrmSpellBook::mnuCreateScrollClick() {
    context_.CreateScroll(*book_);
}

ConfirmFn TfrmSpellBook::BatchQuestion() {
    // The rows are drawn once after a batch, and before each of its questions,
    // so that the list behind a box shows what went in so far.
    return [this, ask = OfferBatchQuestion(context_.prompter(), this)](const std::string& text) {
        grpSpellLevelClick();
        return ask(text);
    };
}

std::vector<const tSpell*> TfrmSpellBook::OfferSpells(const std::vector<tSpell*>& spells) {
    const BookStep step(*undo_, "Add Spells to Book");
    const ConfirmFn question = BatchQuestion();
    std::vector<const tSpell*> added;
    for (const tSpell* spell : spells)
        if (OfferSpellToBook(spell, *book_, &context_.SpecialtyTable(), question))
            added.push_back(spell);
    if (!added.empty()) SetModified(true);
    pane_->ShowAdded(added);
    return added;
}

void TfrmSpellBook::AddFromMasterList(const std::vector<tSpell*>& spells) {
    if (spells.empty()) return;
    // The level of the rows; with every level shown, that of the first one chosen.
    SetSpellLevel(spells.front()->Level);
    grpSpellLevelClick();
    // Many rows are one batch, as an import is: "OK to All" from the second question on.
    OfferSpells(spells);
}

void TfrmSpellBook::lbSpellsDragDrop(SpellList& source) {
    if (&source == lbSpells) return;
    const BookStep step(*undo_, "Drop Spells");
    const ConfirmFn question = BatchQuestion();
    std::vector<const tSpell*> added;
    for (const tSpell* spell : source.SelectedSpells()) {
        if (OfferSpellToBook(spell, *book_, &context_.SpecialtyTable(), question))
            added.push_back(spell);
        // The level of the dragged spell is shown afterwards, whether or not it went in.
        SetSpellLevel(spell->Level);
        SetModified(true);
    }
    pnlFilter->Reveal(added);
    grpSpellLevelClick();
    lbSpells->SelectSpells(added);
}

void TfrmSpellBook::mnuImportSpellsClick() {
    const std::unique_ptr<TSpellBook> read = AskSpellsToImport(context_, this);
    if (!read) return;
    const ConfirmFn question = BatchQuestion();
    const BookStep step(*undo_, "Import Spells");
    for (read->First(); const tSpell* spell = read->CurrentSpell(); read->Next())
        OfferSpellToBook(spell, *book_, &context_.SpecialtyTable(), question);
    SetModified(book_->Modified);
    grpSpellLevelClick();
}

void TfrmSpellBook::mnuExportSpellClick() {
    ExportSpells(context_, this, *book_);
}

void TfrmSpellBook::mnuCopytoClipboardClick() {
    CopyBookToClipboard(context_, *book_, caption_);
}

void TfrmSpellBook::mnuPrinterSetupClick() {
    context_.PrinterSetup();
}

void TfrmSpellBook::mnuPrintPreviewClick() {
    const std::unique_ptr<TfrmPrintPreview> preview = MakeBookPreview(
        context_, this,
        [this] {
            return ActiveBook{book_.get(), caption_};
        },
        caption_);
    context_.prompter().Exec(*preview);
}

void TfrmSpellBook::mnuPrintClick() {
    MakeBookPreview(
        context_, this,
        [this] {
            return ActiveBook{book_.get(), caption_};
        },
        caption_)
        ->PrintSpellbook();
}

void TfrmSpellBook::mnuExportPdfClick() {
    ExportBookAsPdf(context_, this, *book_, caption_);
}

void TfrmSpellBook::mnuNewClick() {
    context_.NewBook();
}

void TfrmSpellBook::mnuOpenClick() {
    context_.OpenBook();
}

bool TfrmSpellBook::WriteTo(const QString& path) {
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

bool TfrmSpellBook::FormCloseQuery() {
    if (!book_->Modified) return true;
    // The focus leaves the specialty box for the question; that asks nothing.
    const QScopedValueRollback<bool> asking(closing_, true);
    const QString question = QStringLiteral("Spellbook:\r\n") + caption_ +
                             QStringLiteral("\r\nhas not been saved. Do you wish to save it now?");
    switch (context_.prompter().Message(this, BoxKind::Confirmation, BoxButtons::YesNoCancel,
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

void TfrmSpellBook::FormResize() {
    tbSpellBook->setGeometry(0, 0, width(), 45);
    // The filter field stands where the list would begin; the list starts below it.
    pane_->LayOut(6, listTop_, std::max(width() - 20, 0), height());
}

void TfrmSpellBook::contextMenuEvent(QContextMenuEvent* event) {
    pmnu_->exec(event->globalPos());
}

} // namespace vellumar
