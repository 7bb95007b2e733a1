#include "ui/spell_book_window.h"

#include "files/spell_file.h"
#include "model/generalist.h"
#include "model/specialty.h"
#include "model/spell_book.h"
#include "output/item_text.h"
#include "output/qt/book_rendering.h"
#include "output/qt/clipboard_copy.h"
#include "output/qt/print_format_dialog.h"
#include "output/qt/print_preview_window.h"
#include "platform/help_topics.h"
#include "platform/qt/command_table.h"
#include "platform/qt/file_problem.h"
#include "platform/qt/prompter.h"
#include "platform/qt/text_conversion.h"
#include "rules/caster_tables.h"
#include "rules/eligibility.h"
#include "rules/fill.h"
#include "ui/book_undo.h"
#include "ui/face_coloured_field.h"
#include "ui/frame_window.h"
#include "ui/level_panel.h"
#include "ui/master_list_window.h"
#include "ui/new_book_choices.h"
#include "ui/spell_book_window_context.h"
#include "ui/spell_commands.h"
#include "ui/spell_filter_bar.h"
#include "ui/spin_edit.h"
#include "ui/working_box.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QScopedValueRollback>
#include <QTimer>
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

// The button that moved the focus is up again. A drag swallows its release,
// so the next move or key without a button held counts as well.
bool MouseReleased(const QEvent& event) {
    switch (event.type()) {
    case QEvent::MouseButtonRelease:
        return true;
    case QEvent::MouseMove:
    case QEvent::KeyPress:
        return QGuiApplication::mouseButtons() == Qt::NoButton;
    default:
        return false;
    }
}

} // namespace

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
    connect(grpSpellLevel, &QButtonGroup::idClicked, this, &TfrmSpellBook::grpSpellLevelClick);
    cbWizardSpecialty->installEventFilter(this);
    undo_->SealOnFocusOut({spnWizardLevel, spnWizardIntelligence, cbWizardSpecialty});
    resize(550, 539);
}

TfrmSpellBook::~TfrmSpellBook() {
    if (awaitingRelease_) qApp->removeEventFilter(this);
}

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

    auto* levels = new LevelPanel(this);
    grpSpellLevel = levels->Buttons();

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

    pnlFilter = new SpellFilterBar(this, false, this);
    connect(pnlFilter, &SpellFilterBar::Changed, this, &TfrmSpellBook::grpSpellLevelClick);
    lbSpells = new SpellList(this);
    lbSpells->setObjectName(QStringLiteral("lbSpells"));
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
    AddCommands<W>(
        *this,
        {
            {file, "&New", &W::mnuNewClick, {Qt::Key_F4, QKeySequence::New}},
            {file, "&Open", &W::mnuOpenClick, QKeySequence::Open},
            {file, "&Save", &W::mnuSaveClick, {Qt::Key_F2, QKeySequence::Save}},
            {file, "Save &As", &W::mnuSaveAsClick, QKeySequence::SaveAs},
            {file,
             "&Close",
             &W::mnuCloseClick,
             {QKeySequence(Qt::CTRL | Qt::Key_F4), QKeySequence::Close}},
            {file},
            {file, "&Import Spells", &W::mnuImportSpellsClick},
            {file, "&Export Spell", &W::mnuExportSpellClick},
            {file},
            {file,
             "Copy to Cli&pboard",
             &W::mnuCopytoClipboardClick,
             {},
             "Copy Spellbook to Clipboard"},
            {file,
             "Printer Setup...",
             &W::mnuPrinterSetupClick,
             {},
             "Select and Configure Printer"},
            {file,
             "&Print Preview/Format...",
             &W::mnuPrintPreviewClick,
             {},
             "Preview & Format Output"},
            {file, "Prin&t", &W::mnuPrintClick, QKeySequence::Print, "Print Spellbook"},
            {file, "Export as P&DF...", &W::mnuExportPdfClick, {}, "Write Spellbook as PDF"},
            {file},
            {file, "E&xit", &W::mnuExitClick, QKeySequence::Quit},

            {edit, "&Fill Book", &W::mnuFillBookClick},
            {edit, "&Validate Book", &W::mnuValidateBookClick},
            {edit, "&Clear Book", &W::mnuClearBookClick},
            {edit},
            {edit, "&Add Selected Spell", &W::mnuAddSelectedSpellClick},
            {edit, "Add &Random Spell", &W::mnuAddRandomSpellClick, Qt::Key_Insert},
            {edit},
            {edit, "&Delete Spell", &W::mnuDeleteSpellClick, Qt::Key_Delete},
            {edit, "&Edit Spell Data", &W::mnuEditSpellClick},
            {edit, "Create &New Spell", &W::mnuCreateNewSpellClick},
            {edit},
            {edit, "Create &Scroll", &W::mnuCreateScrollClick},
            {edit},
            {edit, "&Undo", &W::mnuUndoClick, QKeySequence::Undo, nullptr, {}, "mnuUndo"},
            // "&Redo" would share its letter with "Add &Random Spell".
            {edit, "Red&o", &W::mnuRedoClick, QKeySequence::Redo, nullptr, {}, "mnuRedo"},

            {popup, "Save Spellbook", &W::mnuSaveClick},
            {popup, "Validate Spellbook", &W::mnuValidateBookClick},
            {popup, "Erase Spellbook", &W::mnuClearBookClick},
            {popup},
            {popup, "Add Random Spell", &W::mnuAddRandomSpellClick},
            {popup, "Add Selected Spell", &W::mnuAddSelectedSpellClick},
            {popup, "Delete Spell", &W::mnuDeleteSpellClick},
            {popup, "Edit Spell Data", &W::mnuEditSpellClick},
            {popup},
            {popup, "Create Scroll", &W::mnuCreateScrollClick},

            // Tool bar actions carry no keys: several windows show their tool
            // bars at once, and a key held by each would answer none of them.
            {tools, "New Spellbook", &W::mnuNewClick, {}, nullptr, icon("new"), "bnNew"},
            {tools, "Open Spellbook", &W::mnuOpenClick, {}, nullptr, icon("open"), "bnOpen"},
            {tools, "Save Spellbook", &W::mnuSaveClick, {}, nullptr, icon("save"), "bnSave"},
            {tools},
            {tools,
             "Fill Spellbook",
             &W::mnuFillBookClick,
             {},
             nullptr,
             icon("fill"),
             "bnBookFill"},
            {tools,
             "Validate Spellbook",
             &W::mnuValidateBookClick,
             {},
             nullptr,
             icon("validate"),
             "bnBookValidate"},
            {tools,
             "Erase Spellbook",
             &W::mnuClearBookClick,
             {},
             nullptr,
             icon("erase"),
             "bnBookErase"},
            {tools},
            {tools,
             "Add Spell",
             &W::mnuAddSelectedSpellClick,
             {},
             nullptr,
             icon("spell_add"),
             "bnSpellAdd"},
            {tools,
             "Add Random Spell",
             &W::mnuAddRandomSpellClick,
             {},
             nullptr,
             icon("spell_random"),
             "bnSpellAddRandom"},
            {tools,
             "Delete Spell",
             &W::mnuDeleteSpellClick,
             {},
             nullptr,
             icon("spell_delete"),
             "bnSpellDelete"},
            {tools},
            {tools,
             "Edit Spell Data",
             &W::mnuEditSpellClick,
             {},
             nullptr,
             icon("spell_edit"),
             "bnSpellEdit"},
            {tools,
             "Create New Spell",
             &W::mnuCreateNewSpellClick,
             {},
             nullptr,
             icon("spell_new"),
             "bnAddNewSpell"},
            {tools},
            {tools,
             "Copy to Clipboard",
             &W::mnuCopytoClipboardClick,
             {},
             nullptr,
             icon("clipboard"),
             "bnClipboard"},
            {tools,
             "Preview/Format Output",
             &W::mnuPrintPreviewClick,
             {},
             nullptr,
             icon("preview"),
             "bnPrintPreview"},
            {tools, "Print Spellbook", &W::mnuPrintClick, {}, nullptr, icon("print"), "bnPrint"},
        });
    undo_->Follow(edit->findChild<QAction*>(QStringLiteral("mnuUndo")),
                  edit->findChild<QAction*>(QStringLiteral("mnuRedo")));
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

void TfrmSpellBook::ShowChange(const BookChange& change, bool undone) {
    ShowCasterFields();
    SetSpellLevel(change.LevelToShow(SpellLevel()));
    grpSpellLevelClick();
    lbSpells->SelectSpells(SpellsBack(change, undone));
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
    return std::max(grpSpellLevel->checkedId(), 1);
}

void TfrmSpellBook::SetSpellLevel(int level) {
    if (QAbstractButton* button = grpSpellLevel->button(level)) button->setChecked(true);
}

void TfrmSpellBook::grpSpellLevelClick() {
    const int level = SpellLevel();
    lbSpells->ShowSpells(book_.get(), level, pnlFilter->Filter());
    ebSpellsPerDay->setText(QString::number(SpellsPerDayFigure(*book_, level)));
    setWindowModified(book_->Modified);
}

void TfrmSpellBook::ShowAddedSpells(const std::vector<const tSpell*>& spells) {
    if (spells.empty()) return;
    SetSpellLevel(spells.back()->Level);
    pnlFilter->Reveal(spells);
    grpSpellLevelClick();
    lbSpells->SelectSpells(spells);
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
        context_.Frame().mnuSetSpecialtiesClick();
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
    TfrmMasterList* master = context_.MasterListWindow();
    if (!master) return;
    master->SetSpellLevel(SpellLevel());
    master->show();
    master->raise();
    master->activateWindow();
    master->grpSpellLevelClick();
}

void TfrmSpellBook::mnuAddRandomSpellClick() {
    const BookStep step(*undo_, "Add Random Spell");
    Prompter& prompter = context_.prompter();
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
            ShowAddedSpells({&spell});
        });
}

void TfrmSpellBook::mnuCreateScrollClick() {
    context_.Frame().CreateScroll(*this);
}

AdmitIneligibleFn TfrmSpellBook::BatchQuestion() {
    // The rows are drawn once after a batch, and before each of its questions,
    // so that the list behind a box shows what went in so far.
    return [this, ask = OfferBatchQuestion(context_.prompter(), this)](const tSpell& spell,
                                                                       Ineligibility why) {
        grpSpellLevelClick();
        return ask(spell, why);
    };
}

std::vector<const tSpell*> TfrmSpellBook::OfferSpells(const std::vector<tSpell*>& spells) {
    const BookStep step(*undo_, "Add Spells to Book");
    const AdmitIneligibleFn question = BatchQuestion();
    std::vector<const tSpell*> added;
    for (const tSpell* spell : spells)
        if (OfferSpellToBook(spell, *book_, &context_.SpecialtyTable(), question))
            added.push_back(spell);
    if (!added.empty()) SetModified(true);
    ShowAddedSpells(added);
    return added;
}

void TfrmSpellBook::lbSpellsDragDrop(SpellList& source) {
    if (&source == lbSpells) return;
    const BookStep step(*undo_, "Drop Spells");
    const AdmitIneligibleFn question = BatchQuestion();
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
    FileDialogSpec request;
    request.title = QStringLiteral("Import Spells");
    // The lower-case "spellbook Files" is intended, as the classic filter has it.
    request.filter = QStringLiteral(
        "*.SPB (spellbook Files)|*.spb|*.DAT (data files)|*.dat|*.* (all files)|*.*");
    request.directory = context_.Frame().DataDirectory();
    request.mustExist = true;
    const QString path = context_.prompter().OpenFile(this, request);
    if (path.isEmpty()) return;
    auto read = ReadSpellList(ToPath(path));
    if (read.Missing()) return; // gone since it was chosen: nothing to read
    if (!read) {
        // Nothing of the file has been offered yet: the book is as it was.
        context_.prompter().Message(this, BoxKind::Error, BoxButtons::Ok,
                                    QStringLiteral("Error Reading Spell File\r\n") + path,
                                    QString(), FileProblemText(read.Status()));
        return;
    }
    const AdmitIneligibleFn question = BatchQuestion();
    const BookStep step(*undo_, "Import Spells");
    for (read->First(); const tSpell* spell = read->CurrentSpell(); read->Next())
        OfferSpellToBook(spell, *book_, &context_.SpecialtyTable(), question);
    SetModified(book_->Modified);
    grpSpellLevelClick();
}

void TfrmSpellBook::mnuExportSpellClick() {
    FileDialogSpec request;
    request.title = QStringLiteral("Export Spells");
    request.filter = QStringLiteral("*.DAT (data files)|*.DAT|*.* (all files)|*.*");
    request.directory = context_.Frame().DataDirectory();
    request.confirmOverwrite = true;
    const QString path = context_.prompter().SaveFile(this, request);
    if (path.isEmpty()) return;
    if (const FileStatus written = WriteSpellList(*book_, ToPath(path)); !written)
        context_.prompter().Message(this, BoxKind::Error, BoxButtons::Ok,
                                    QStringLiteral("Error Writing Spell File\r\n") + path,
                                    QString(), FileProblemText(written));
}

void TfrmSpellBook::mnuCopytoClipboardClick() {
    TfrmWorking& working = context_.Working();
    CopySpellbookToClipboard(
        context_.prompter(), context_.PrintFormat(), context_.Output(), *book_, caption_,
        [&working] { working.Begin(QStringLiteral("Copying to Clipboard")); },
        [&working] { working.End(); });
}

void TfrmSpellBook::mnuPrinterSetupClick() {
    context_.Frame().mnuPrinterSetupClick();
}

std::unique_ptr<TfrmPrintPreview> TfrmSpellBook::MakePreview() {
    auto preview = std::make_unique<TfrmPrintPreview>(
        context_.prompter(), context_.Output(), context_.PrintFormat(), context_.Printer(),
        [this] {
            return ActiveBook{book_.get(), caption_};
        },
        [this] { context_.Frame().mnuPrinterSetupClick(); }, this);
    preview->SetSuggestedPdf(SuggestedPdfPath(caption_, context_.Frame().DataDirectory()));
    return preview;
}

void TfrmSpellBook::mnuPrintPreviewClick() {
    std::unique_ptr<TfrmPrintPreview> preview = MakePreview();
    context_.prompter().Exec(*preview);
}

void TfrmSpellBook::mnuPrintClick() {
    MakePreview()->PrintSpellbook();
}

void TfrmSpellBook::mnuExportPdfClick() {
    FileDialogSpec request;
    request.title = QStringLiteral("Export as PDF");
    request.filter = QStringLiteral("*.pdf (PDF files)|*.pdf|*.* (all files)|*.*");
    request.defaultSuffix = QStringLiteral("pdf");
    const QString suggested = SuggestedPdfPath(caption_, context_.Frame().DataDirectory());
    request.directory = QFileInfo(suggested).absolutePath();
    request.fileName = QFileInfo(suggested).fileName();
    request.confirmOverwrite = true;
    const QString path = context_.prompter().SaveFile(this, request);
    if (path.isEmpty()) return;
    const QPrinter& printer = context_.Printer();
    const QString problem = ExportBookPdf(path, printer.pageLayout(), printer.resolution(), *book_,
                                          caption_, context_.Output());
    if (!problem.isEmpty())
        context_.prompter().Message(this, BoxKind::Error, BoxButtons::Ok,
                                    QStringLiteral("Error Writing PDF File\r\n") + path, QString(),
                                    problem);
}

void TfrmSpellBook::mnuNewClick() {
    context_.Frame().NewChild();
}

void TfrmSpellBook::mnuOpenClick() {
    context_.Frame().mnuOpenSpellbookClick();
}

bool TfrmSpellBook::WriteTo(const QString& path) {
    if (const FileStatus written = WriteSpellbookFile(*book_, ToPath(path)); !written) {
        // The old file is untouched and the changes are still only here.
        context_.prompter().Message(this, BoxKind::Error, BoxButtons::Ok,
                                    QStringLiteral("Error Writing Spellbook File\r\n") + path,
                                    QString(), FileProblemText(written));
        return false;
    }
    SetModified(false);
    context_.Frame().NoteRecentBook(path);
    return true;
}

void TfrmSpellBook::mnuSaveClick() {
    if (caption_ != Untitled)
        WriteTo(caption_);
    else
        mnuSaveAsClick();
}

void TfrmSpellBook::mnuSaveAsClick() {
    FileDialogSpec request;
    request.title = QStringLiteral("Save Spellbook");
    request.filter = QStringLiteral("*.SPB (Spellbook Files)|*.spb|*.* (All Files)|*.*");
    request.defaultSuffix = QStringLiteral("spb");
    // Another book of the same name would be lost with one click.
    request.confirmOverwrite = true;
    if (caption_ != Untitled) {
        const QFileInfo file(caption_);
        request.directory = file.absolutePath();
        request.fileName = file.fileName();
    } else {
        request.directory = context_.Frame().DataDirectory();
    }
    const QString path = context_.prompter().SaveFile(this, request);
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
    context_.Frame().mnuExitClick();
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
        emit Closed(this);
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
    const int width = std::max(this->width() - 20, 0);
    pnlFilter->setGeometry(6, listTop_, width, SpellFilterBar::Height);
    const int top = listTop_ + SpellFilterBar::Height + 4;
    lbSpells->setGeometry(6, top, width, std::max(height() - top, 0));
}

void TfrmSpellBook::contextMenuEvent(QContextMenuEvent* event) {
    pmnu_->exec(event->globalPos());
}

bool TfrmSpellBook::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cbWizardSpecialty && event->type() == QEvent::FocusOut)
        SpecialtyBoxLeft(static_cast<QFocusEvent*>(event)->reason());
    else if (awaitingRelease_ && MouseReleased(*event)) {
        awaitingRelease_ = false;
        qApp->removeEventFilter(this);
        QTimer::singleShot(0, this, &TfrmSpellBook::AskAfterRelease);
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmSpellBook::SpecialtyBoxLeft(Qt::FocusReason reason) {
    // The focus has already moved on when the box hears of it. Its own list,
    // a box or window that opened, or a closing window is no move of the user.
    const QWidget* now = QApplication::focusWidget();
    if (closing_ || reason == Qt::PopupFocusReason || !now || now == cbWizardSpecialty ||
        !isAncestorOf(now))
        return;
    if (reason == Qt::MouseFocusReason) {
        // A modal question now would take the release, and the click would be lost.
        if (!awaitingRelease_) qApp->installEventFilter(this);
        awaitingRelease_ = true;
        return;
    }
    QTimer::singleShot(0, this, &TfrmSpellBook::AskAfterRelease);
}

void TfrmSpellBook::AskAfterRelease() {
    const QWidget* now = QApplication::focusWidget();
    if (closing_ || !isVisible() || !now || !isAncestorOf(now)) return;
    cbWizardSpecialtyExit();
}

} // namespace vellumar
