// The spellbook window's controls, their places and its command table.

#include "ui/spell_book_window.h"

#include "model/frequency.h"
#include "model/spell_book.h"
#include "platform/program_settings.h"
#include "platform/qt/command_table.h"
#include "platform/qt/field_labels.h"
#include "platform/qt/tab_order.h"
#include "rules/caster_tables.h"
#include "ui/book_undo.h"
#include "ui/card_divider.h"
#include "ui/face_coloured_field.h"
#include "ui/level_panel.h"
#include "ui/spell_book_window_context.h"
#include "ui/spell_card_view.h"
#include "ui/spell_filter_bar.h"
#include "ui/spell_list_pane.h"
#include "ui/spin_edit.h"
#include "ui/undo_commands.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolBar>

namespace vellumar {
namespace {

constexpr int ListTop = 160;

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

void TfrmSpellBook::BuildControls() {
    setFont(PixelFont(font(), 14));
    const QFont small = PixelFont(font(), 12);
    tbSpellBook = new QToolBar(this);
    tbSpellBook->setObjectName(QStringLiteral("tbSpellBook"));
    tbSpellBook->setIconSize(QSize(24, 24));
    tbSpellBook->setMovable(false);
    tbSpellBook->setFloatable(false);
    NameToolBarExtension(*tbSpellBook);

    QLabel* const levelLabel =
        Label(this, QStringLiteral("Wizard Level:"), {6, 55, 92, 20}, Qt::AlignRight);
    levelLabel->setFont(small);
    spnWizardLevel = new SpinEdit(MinCasterLevel, MaxCasterLevel, this);
    levelLabel->setBuddy(spnWizardLevel);
    spnWizardLevel->setGeometry(102, 51, 40, 26);

    QLabel* const intelligenceLabel =
        Label(this, QStringLiteral("Intelligence:"), {171, 55, 81, 20}, Qt::AlignRight);
    intelligenceLabel->setFont(small);
    spnWizardIntelligence = new SpinEdit(MinIntelligence, MaxIntelligence, this);
    intelligenceLabel->setBuddy(spnWizardIntelligence);
    spnWizardIntelligence->setGeometry(256, 51, 39, 26);

    QLabel* const specialtyLabel =
        Label(this, QStringLiteral("Specialty:"), {7, 87, 66, 20}, Qt::AlignLeft);
    specialtyLabel->setFont(small);
    cbWizardSpecialty = new QComboBox(this);
    specialtyLabel->setBuddy(cbWizardSpecialty);
    cbWizardSpecialty->setEditable(true);
    // The field inside the box is read on its own; the label is the box's.
    cbWizardSpecialty->lineEdit()->setAccessibleName(QStringLiteral("Specialty"));
    cbWizardSpecialty->setInsertPolicy(QComboBox::NoInsert);
    cbWizardSpecialty->setMaxVisibleItems(9);
    cbWizardSpecialty->setGeometry(77, 83, 196, 26);

    // This label and its box keep the window's larger font.
    QLabel* const frequencyLabel =
        Label(this, QStringLiteral("Spell Frequency: "), {285, 87, 113, 20}, Qt::AlignLeft);
    cbSpellFrequency = new QComboBox(this);
    frequencyLabel->setBuddy(cbSpellFrequency);
    cbSpellFrequency->setGeometry(400, 83, 105, 26);

    pane_ = new SpellListPane(this, this, false, [this] { return book_.get(); });
    connect(pane_, &SpellListPane::Redrawn, this, [this] {
        ebSpellsPerDay->setText(QString::number(SpellsPerDayFigure(*book_, SpellLevel())));
        setWindowModified(book_->Modified);
    });
    LevelPanel* levels = pane_->Levels();
    grpSpellLevel = pane_->LevelButtons();

    QLabel* const perDayLabel =
        Label(this, QStringLiteral("# per day:"), {370, 128, 72, 20}, Qt::AlignLeft);
    perDayLabel->setFont(small);
    ebSpellsPerDay = new QLineEdit(this);
    perDayLabel->setBuddy(ebSpellsPerDay);
    ebSpellsPerDay->setAccessibleDescription(
        QStringLiteral("How many spells of the shown level the wizard can cast per day"));
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
    lbSpells->setAccessibleName(QStringLiteral("Spells of the book"));
    lbSpells->SetDragCursor([this] { return context_.SpellCursor(); });
    lbSpells->SetDropHandler([this](SpellList& source) { lbSpellsDragDrop(source); });
    connect(lbSpells, &QAbstractItemView::doubleClicked, this, &TfrmSpellBook::mnuEditSpellClick);
    memSpellText = pane_->Card();
    // A book's spell shows the master list's text of the same level and name.
    pane_->SetTexts([this] { return &context_.MasterTexts(); });

    for (QWidget* control : std::initializer_list<QWidget*>{
             spnWizardLevel, spnWizardIntelligence, cbWizardSpecialty, levels, pnlFilter, lbSpells})
        control->setFont(small);
    // Sized once its font is known; the list starts below it.
    const QSize levelsSize = levels->sizeHint().expandedTo(QSize(334, 33));
    levels->setGeometry(6, 115, levelsSize.width(), levelsSize.height());
    listTop_ = std::max(ListTop, levels->geometry().bottom() + 6);
    FormResize();
    // Every level button is in the chain: Tab stops at the chosen one.
    ChainTabOrder({spnWizardLevel, spnWizardIntelligence, cbWizardSpecialty, cbSpellFrequency});
    QWidget* previous = cbSpellFrequency;
    for (QAbstractButton* button : grpSpellLevel->buttons()) {
        setTabOrder(previous, button);
        previous = button;
    }
    ChainTabOrder(
        {previous, pnlFilter->edFilter, lbSpells, pane_->Divider()->handle(1), memSpellText});
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
    const CommandActions actions = AddCommands<W>(*this, {
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
        {.place = edit, .text = "Spell &Text", .handler = &W::mnuSpellTextClick, .keys = Qt::Key_F9, .id = "mnuSpellText"},
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
    mnuSpellText = actions.At("mnuSpellText");
    mnuSpellText->setCheckable(true);
    mnuSpellText->setChecked(context_.SpellTextShown());
    pane_->SetCardShown(mnuSpellText->isChecked());
    CardDivider* divider = pane_->Divider();
    divider->SetCardShare(
        context_.SpellTextShare(ListWindowKind::Spellbook, CardDivider::DefaultShare));
    connect(divider, &CardDivider::CardShareChosen, this, [this](int share) {
        context_.SetSpellTextShare(this, ListWindowKind::Spellbook, share);
    });
}

void TfrmSpellBook::FormResize() {
    tbSpellBook->setGeometry(0, 0, width(), 45);
    // The filter field stands where the list would begin; the list starts below it.
    pane_->LayOut(6, listTop_, std::max(width() - 20, 0), height());
}

} // namespace vellumar
