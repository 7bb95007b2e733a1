#include "ui/master_list_window.h"

#include "files/recovery_file.h"
#include "files/spell_file.h"
#include "model/spell_book.h"
#include "platform/program_settings.h"
#include "platform/qt/command_table.h"
#include "platform/qt/file_problem.h"
#include "platform/qt/help_topics.h"
#include "platform/qt/prompter.h"
#include "platform/qt/text_conversion.h"
#include "ui/book_undo.h"
#include "ui/card_divider.h"
#include "ui/level_panel.h"
#include "ui/master_list_window_context.h"
#include "ui/recovery_keeper.h"
#include "ui/spell_card_view.h"
#include "ui/spell_commands.h"
#include "ui/spell_details_dialog.h"
#include "ui/spell_edit_dialog.h"
#include "ui/spell_filter_bar.h"
#include "ui/spell_library_model.h"
#include "ui/spell_list_pane.h"
#include "ui/undo_commands.h"
#include "ui/window_placement.h"
#include "ui/working_box.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QToolButton>
#include <QUndoStack>

#include <utility>

namespace vellumar {
namespace {

constexpr int PanelHeight = 44;
constexpr int LevelsTop = PanelHeight + 2;
// The filter field stands where the list would begin; the list starts below it.
constexpr int FilterTop = LevelsTop + 48;

const QString Caption = QStringLiteral("Master Spell List");

// A dialog of the frame, and a box raised over one, hand the focus back to the
// frame when they close, and a window manager (Openbox) then raises the frame
// over this window. While a command of this window runs, the spell edit
// dialog belongs to this window; afterwards the window takes the focus and the
// top back.
class KeepInFront {
public:
    explicit KeepInFront(QWidget& window, QDialog* dialog = nullptr)
        : window_(window), dialog_(dialog), owner_(dialog ? dialog->parentWidget() : nullptr) {
        if (dialog_ && owner_ != &window_) dialog_->setParent(&window_, dialog_->windowFlags());
    }
    ~KeepInFront() {
        if (dialog_ && dialog_->parentWidget() != owner_)
            dialog_->setParent(owner_, dialog_->windowFlags());
        if (!window_.isVisible()) return;
        window_.raise();
        window_.activateWindow();
    }
    KeepInFront(const KeepInFront&) = delete;
    KeepInFront& operator=(const KeepInFront&) = delete;

private:
    QWidget& window_;
    QDialog* dialog_;
    QPointer<QWidget> owner_;
};

// The spell edit dialog offers Details... while a command of this window runs:
// the master list's spells have their texts here, a book's do not.
class DetailsOffer {
public:
    DetailsOffer(TfrmSpellEdit& dialog, std::function<bool(SpellText&)> edit) : dialog_(dialog) {
        dialog_.OfferDetails(std::move(edit));
    }
    ~DetailsOffer() { dialog_.OfferDetails({}); }
    DetailsOffer(const DetailsOffer&) = delete;
    DetailsOffer& operator=(const DetailsOffer&) = delete;

private:
    TfrmSpellEdit& dialog_;
};

} // namespace

// A dialog-type window of the frame: the window manager keeps it above the frame
// (a plain window went behind it at a click on the frame). Not a tool window:
// the frame's keys would work in that too, and clash with this one's Ins and Del.
// No minimise button asked for: minimising it would take the frame along.
TfrmMasterList::TfrmMasterList(MasterListWindowContext& context, QWidget* parent)
    : QMainWindow(parent, Qt::Dialog | Qt::WindowMaximizeButtonHint), context_(context),
      library_(context.MasterLibrary()) {
    setObjectName(QStringLiteral("frmMasterList"));
    setWindowTitle(Caption);
    setProperty("helpTopic", int(TopicMasterList));
    BuildControls();
    recovery_ = new RecoveryKeeper(
        context_,
        [this](RecoveryInfo& info) {
            info.kind = RecoveryKind::List;
            info.path = library_.Core().SavePath();
            info.caption = ToPath(Caption);
            info.spells = MasterList()->Count();
            return SpellListText(*MasterList());
        },
        this);
    recovery_->SetTexts([this](std::optional<std::string>& texts) {
        return library_.Core().RecoveryTexts(library_.Core().SavePath(), texts);
    });
    undo_ = new BookUndo(
        [this] { return MasterList(); },
        [this](const BookChange& change, bool undone) { pane_->ShowChange(change, undone); },
        [this](bool modified) { SetModified(modified); }, this);
    undo_->SetTexts([this] { return &library_.Texts(); });
    BuildMenus();
    resize(440, 480);
    connect(&undo_->Stack(), &QUndoStack::indexChanged, recovery_,
            [this] { recovery_->Changed(MasterList() && MasterList()->Modified); });
    // Its rows hold the list's spells: they go before the list does.
    connect(&library_, &SpellLibraryModel::ListAboutToBeReplaced, lbSpells, &SpellList::ShowNone);
    connect(&library_, &SpellLibraryModel::ListReplaced, pane_, &SpellListPane::Redraw);
    connect(&library_, &SpellLibraryModel::PutOffTextsRead, this, [this] {
        pane_->ShowCurrentText();
        ReportTextsRead();
    });
    connect(&library_, &SpellLibraryModel::Modified, this, &TfrmMasterList::ShowModified);
    // The texts are read when first needed, or once the frame is on screen.
    Load(QStringLiteral("Loading Master Spell List"), TextsRead::Later);
    lbSpells->SetDragCursor([this] { return context_.SpellCursor(); });
}

TfrmMasterList::~TfrmMasterList() = default;

void TfrmMasterList::BuildControls() {
    auto* client = new QWidget(this);
    setCentralWidget(client);
    client->installEventFilter(this);

    auto* panel = new QFrame(client);
    panel->setObjectName(QStringLiteral("pnlButtons"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setGeometry(0, 0, 400, PanelHeight);
    auto* buttons = new QHBoxLayout(panel);
    buttons->setContentsMargins(4, 2, 4, 2);
    const std::pair<QToolButton**, const char*> fields[] = {
        {&bnAddToBook, "bnAddToBook"},
        {&bnEditSpell, "bnEditSpell"},
        {&bnDeleteSpell, "bnDeleteSpell"},
        {&bnAddNewSpell, "bnAddNewSpell"},
        {&bnExit, "bnExit"},
    };
    for (const auto& [field, name] : fields) {
        auto* button = new QToolButton(panel);
        button->setObjectName(QString::fromLatin1(name));
        button->setIconSize(QSize(24, 24));
        button->setAutoRaise(true);
        // Unlike a tool bar's, these take Tab: no command of the window is mouse-only.
        if (field == &bnExit) {
            // The one button with a caption.
            button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
            buttons->addStretch();
        }
        buttons->addWidget(button);
        *field = button;
    }

    pane_ = new SpellListPane(this, client, true, [this] { return MasterList(); });
    LevelPanel* levels = pane_->Levels();
    levels->setGeometry(6, LevelsTop, std::max(334, levels->sizeHint().width()), 44);
    grpSpellLevel = pane_->LevelButtons();
    pnlFilter = pane_->FilterBar();
    lbSpells = pane_->List();
    lbSpells->setAccessibleName(QStringLiteral("Master spell list"));
    connect(lbSpells, &QAbstractItemView::doubleClicked, this, &TfrmMasterList::mnuAddToBookClick);
    memSpellText = pane_->Card();
    pane_->SetTexts([this] { return &library_.Texts(); });
    connect(lbSpells, &SpellList::EnterPressed, this, &TfrmMasterList::mnuAddToBookClick);
}

void TfrmMasterList::BuildMenus() {
    using W = TfrmMasterList;
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
    pmnuMaster = new QMenu(this);
    QMenu* const file = mnuFile;
    QMenu* const edit = mnuEdit;
    QMenu* const popup = pmnuMaster;
    auto icon = [this](const char* name) { return context_.Icon(QString::fromLatin1(name)); };
    // clang-format off
    const CommandActions actions = AddCommands<W>(*this, {
        {.place = bnAddToBook, .text = "Add Spells to Book", .handler = &W::mnuAddToBookClick, .picture = icon("spell_add")},
        {.place = bnEditSpell, .text = "Edit Spell", .handler = &W::mnuEditSpellClick, .picture = icon("spell_edit")},
        {.place = bnDeleteSpell, .text = "Delete Spell", .handler = &W::mnuDeleteSpellClick, .picture = icon("spell_delete")},
        {.place = bnAddNewSpell, .text = "Add New Spell", .handler = &W::mnuAddNewSpellClick, .picture = icon("spell_new")},
        {.place = bnExit, .text = "E&xit", .handler = &W::mnuExitClick, .hint = "Close Master Spell List", .picture = icon("exit")},

        {.place = file, .text = "&Add Spells to Book", .handler = &W::mnuAddToBookClick},
        {.place = file},
        {.place = file, .text = "&Current Master File is...", .handler = &W::mnuCurrentMasterFileClick},
        {.place = file, .text = "&Save Master File", .handler = &W::mnuSaveMasterFileClick, .id = "mnuSaveMasterFile"},
        // Intended: this menu's access key is M, the frame's "Set Master &File..." F.
        {.place = file, .text = "Set &Master File...", .handler = &W::mnuSetMasterFileClick},
        {.place = file},
        {.place = file, .text = "E&xit", .handler = &W::mnuExitClick},

        {.place = edit, .text = "&Edit Spell Data", .handler = &W::mnuEditSpellClick},
        {.place = edit, .text = "&Add New Spell", .handler = &W::mnuAddNewSpellClick, .keys = Qt::Key_Insert},
        {.place = edit, .text = "&Delete Spell", .handler = &W::mnuDeleteSpellClick, .keys = Qt::Key_Delete},
        {.place = edit},
        {.place = edit, .text = "Spell &Text", .handler = &W::mnuSpellTextClick, .keys = Qt::Key_F9, .id = "mnuSpellText"},
        {.place = edit},
        // Undo and Redo end this menu (AddUndoCommands below).

        {.place = popup, .text = "Edit Spell Data", .handler = &W::mnuEditSpellClick},
        {.place = popup, .text = "Add New Spell", .handler = &W::mnuAddNewSpellClick},
        {.place = popup, .text = "Delete Spell", .handler = &W::mnuDeleteSpellClick},
        {.place = popup},
        {.place = popup, .text = "Current Master File is...", .handler = &W::mnuCurrentMasterFileClick},
        // Always enabled here, unlike its twin in the File menu.
        {.place = popup, .text = "Save Master File", .handler = &W::mnuSaveMasterFileClick},
        {.place = popup, .text = "Set Master File", .handler = &W::mnuSetMasterFileClick},
    });
    // clang-format on
    mnuSaveMasterFile = actions.At("mnuSaveMasterFile");
    mnuSpellText = actions.At("mnuSpellText");
    mnuSpellText->setCheckable(true);
    mnuSpellText->setChecked(context_.SpellTextShown());
    pane_->SetCardShown(mnuSpellText->isChecked());
    CardDivider* divider = pane_->Divider();
    divider->SetCardShare(
        context_.SpellTextShare(ListWindowKind::MasterList, CardDivider::DefaultShare));
    connect(divider, &CardDivider::CardShareChosen, this, [this](int share) {
        context_.SetSpellTextShare(this, ListWindowKind::MasterList, share);
    });
    AddUndoCommands(*this, edit, *undo_, "&Redo");
}

std::string TfrmMasterList::MasterFilePath() const {
    return library_.Core().FilePath();
}

void TfrmMasterList::ReportUnfinishedSave(const std::string& path, const FileStatus& finished) {
    if (!finished)
        context_.Prompts().Message(this, BoxKind::Error, BoxButtons::Ok,
                                   QStringLiteral("Error Writing Master Spell File\r\n") +
                                       FromPath(path),
                                   QString(), FileProblemText(finished));
}

void TfrmMasterList::Load(const QString& task, TextsRead when) {
    LibraryLoad loaded;
    {
        WorkingScope working(context_.Working(), task);
        // A save that was cut short is finished first, so that both files match.
        loaded = library_.Load(when);
        SetModified(false);
        undo_->Restart(true);
    }
    ReportUnfinishedSave(loaded.path, loaded.finished);
    // A missing file is a list not yet made; one that is there but cannot be
    // read is the user's, and must not be written over unasked.
    if (loaded.Unread())
        context_.Prompts().Message(this, BoxKind::Error, BoxButtons::Ok,
                                   QStringLiteral("Error Reading Master Spell List\r\n") +
                                       FromPath(loaded.path),
                                   QString(), FileProblemText(loaded.list));
    else
        ReportLinesLeftOut(context_.Prompts(), this, FromPath(loaded.path), loaded.list.Warnings());
    if (when == TextsRead::Now) ReportTextsRead();
}

void TfrmMasterList::ReportTextsRead() {
    const std::optional<TextsReading> reading = library_.Core().TakeTextsReading();
    if (!reading) return;
    const QString companion = FromPath(reading->companion);
    if (reading->status)
        ReportLinesLeftOut(context_.Prompts(), this, companion, reading->status.Warnings());
    else
        context_.Prompts().Message(this, BoxKind::Error, BoxButtons::Ok,
                                   QStringLiteral("Error Reading Spell Texts\r\n") + companion,
                                   QString(), FileProblemText(reading->status));
}

TSpellBook* TfrmMasterList::MasterList() const {
    return library_.List();
}

void TfrmMasterList::SetModified(bool modified) {
    library_.SetModified(modified);
    if (!modified) undo_->MarkSaved();
}

void TfrmMasterList::ShowModified(bool unsaved) {
    mnuSaveMasterFile->setEnabled(unsaved);
    setWindowTitle(unsaved ? Caption + QLatin1Char('*') : Caption);
    recovery_->Changed(unsaved);
}

void TfrmMasterList::PutRecoveredList(std::unique_ptr<TSpellBook> list,
                                      std::unique_ptr<SpellTexts> texts, const std::string& path) {
    const LibraryRecovery recovery = library_.PutRecovered(std::move(list), std::move(texts), path);
    if (recovery.ownFile) {
        ReportUnfinishedSave(path, recovery.finished);
        ReportTextsRead();
    }
    // Never saved, as a new book: undoing does not make it unmodified.
    undo_->Restart(false);
    SetModified(true);
}

void TfrmMasterList::ShowAtLevel(int level) {
    SetSpellLevel(level);
    show();
    raise();
    activateWindow();
    pane_->Redraw();
    // Shown for the user to pick from: the keys go to the list, as after a Tab.
    lbSpells->setFocus(Qt::OtherFocusReason);
    lbSpells->SelectCurrentRow();
}

void TfrmMasterList::mnuAddToBookClick() {
    const std::vector<tSpell*> spells = lbSpells->SelectedSpells();
    if (spells.empty()) return;
    const KeepInFront inFront(*this);
    context_.OfferSpellsToActiveBook(spells);
}

void TfrmMasterList::mnuEditSpellClick() {
    TSpellBook* list = MasterList();
    if (!list) return;
    const KeepInFront inFront(*this, &context_.SpellEdit());
    const DetailsOffer details(context_.SpellEdit(),
                               [this](SpellText& text) { return EditDetails(text); });
    // Redrawn after each spell that changed (its row must not outlive it),
    // with the rows being edited still selected.
    EditSelectedSpells(
        *list, *lbSpells, context_.SpellEdit(), context_.Prompts(), *undo_, this,
        [this](const std::vector<const tSpell*>& spells) {
            SetModified(true);
            pane_->ShowSelected(spells);
        },
        &library_.Texts());
}

bool TfrmMasterList::EditDetails(SpellText& text) {
    TfrmSpellDetails dialog(&context_.SpellEdit());
    dialog.SetSpellName(context_.SpellEdit().ebName->text());
    dialog.LoadTextIntoDialog(text);
    CentreOnParent(dialog);
    if (context_.Prompts().Exec(dialog) != QDialog::Accepted) return false;
    text = dialog.ReadTextFromDialog();
    return true;
}

void TfrmMasterList::mnuAddNewSpellClick() {
    // A list that could not be read is empty, and the user may start one.
    if (!MasterList()) library_.SetList(std::make_unique<TSpellBook>());
    TSpellBook& list = *MasterList();
    const KeepInFront inFront(*this, &context_.SpellEdit());
    const DetailsOffer details(context_.SpellEdit(),
                               [this](SpellText& text) { return EditDetails(text); });
    CreateNewSpells(
        list, context_.SpellEdit(), context_.Prompts(), this, [this, &list](const tSpell& spell) {
            SetModified(true);
            BookChange added = SpellAdded(list, spell);
            StoreSpellText(library_.Texts(), nullptr, spell, context_.SpellEdit().Details(), added);
            undo_->Record(QStringLiteral("Add New Spell"), std::move(added));
            // A spell of another level brings its level up.
            pane_->ShowAdded({&spell});
        });
}

void TfrmMasterList::mnuDeleteSpellClick() {
    if (!MasterList()) return;
    BookChange deleted = library_.Core().PrepareDeletion(lbSpells->SelectedSpells());
    if (lbSpells->DeleteSelected() > 0) SetModified(true);
    undo_->Record(QStringLiteral("Delete Spell"), std::move(deleted));
}

void TfrmMasterList::mnuUndoClick() {
    undo_->Undo();
}

void TfrmMasterList::mnuRedoClick() {
    undo_->Redo();
}

void TfrmMasterList::mnuSpellTextClick() {
    pane_->SetCardShown(mnuSpellText->isChecked());
    context_.SetSpellTextShown(this, mnuSpellText->isChecked());
}

bool TfrmMasterList::FormCloseQuery() {
    if (!MasterList() || !MasterList()->Modified) return true;
    switch (
        context_.Prompts().Message(this, BoxKind::Confirmation, BoxButtons::YesNoCancel,
                                   QStringLiteral("Master Spell List has been changed and has \r\n"
                                                  "not been saved. Do you wish to save it now?"))) {
    case Answer::Yes:
        return mnuSaveMasterFileClick();
    case Answer::No:
        // The changes are thrown away: the list is as last saved again.
        Load(QStringLiteral("Resetting Master Spell List"));
        return true;
    default:
        return false;
    }
}

void TfrmMasterList::closeEvent(QCloseEvent* event) {
    // Accepting only hides the window; the list stays for the run.
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

bool TfrmMasterList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == centralWidget() && event->type() == QEvent::Resize) FormResize();
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMasterList::FormResize() {
    QWidget* client = centralWidget();
    client->setMinimumSize(pane_->Levels()->geometry().right() + 1 + 5, 170);
    if (auto* panel = client->findChild<QFrame*>(QStringLiteral("pnlButtons")))
        panel->setGeometry(0, 0, client->width(), PanelHeight);
    pane_->LayOut(6, FilterTop, std::max(client->width() - 20, 0), client->height());
}

void TfrmMasterList::contextMenuEvent(QContextMenuEvent* event) {
    pmnuMaster->exec(event->globalPos());
}

} // namespace vellumar
