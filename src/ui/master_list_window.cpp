#include "ui/master_list_window.h"

#include "files/spell_file.h"
#include "model/spell_book.h"
#include "output/item_text.h"
#include "platform/ini_file.h"
#include "platform/master_file.h"
#include "platform/program_folder.h"
#include "platform/qt/file_problem.h"
#include "platform/qt/prompter.h"
#include "platform/qt/svg_icon.h"
#include "platform/qt/text_conversion.h"
#include "ui/app_context.h"
#include "ui/frame_window.h"
#include "ui/spell_book_window.h"
#include "ui/spell_commands.h"
#include "ui/working_box.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QToolButton>

#include <filesystem>
#include <optional>

namespace vellumar {
namespace {

namespace fs = std::filesystem;

constexpr int PanelHeight = 44;
constexpr int LevelsTop = PanelHeight + 2;
constexpr int ListTop = LevelsTop + 48;

} // namespace

TfrmMasterList::TfrmMasterList(AppContext& context, QWidget* parent)
    : QMainWindow(parent), context_(context) {
    setObjectName(QStringLiteral("frmMasterList"));
    setWindowTitle(QStringLiteral("Master Spell List"));
    setProperty("helpTopic", int(TopicMasterList));
    BuildControls();
    BuildMenus();
    resize(440, 480);
    Load(QStringLiteral("Loading Master Spell List"));
    lbSpells->SetDragCursor(context_.SpellCursor());
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
    struct Button {
        QToolButton** field;
        const char* name;
        const char* icon;
        const char* text;
        const char* hint;
        void (TfrmMasterList::*handler)();
    };
    const Button table[] = {
        {&bnAddToBook, "bnAddToBook", ":/icons/spell_add.svg", "Add Spells to Book",
         "Add Spells to Book", &TfrmMasterList::mnuAddToBookClick},
        {&bnEditSpell, "bnEditSpell", ":/icons/spell_edit.svg", "Edit Spell", "Edit Spell",
         &TfrmMasterList::mnuEditSpellClick},
        {&bnDeleteSpell, "bnDeleteSpell", ":/icons/spell_delete.svg", "Delete Spell",
         "Delete Spell", &TfrmMasterList::mnuDeleteSpellClick},
        {&bnAddNewSpell, "bnAddNewSpell", ":/icons/spell_new.svg", "Add New Spell", "Add New Spell",
         &TfrmMasterList::mnuAddNewSpellClick},
        {&bnExit, "bnExit", ":/icons/exit.svg", "E&xit", "Close Master Spell List",
         &TfrmMasterList::mnuExitClick},
    };
    for (const Button& b : table) {
        auto* button = new QToolButton(panel);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setIcon(SvgIcon(QString::fromLatin1(b.icon)));
        button->setIconSize(QSize(24, 24));
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        if (b.field == &bnExit) {
            // The one button with a caption.
            button->setText(QString::fromLatin1(b.text));
            button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
            buttons->addStretch();
        }
        button->setToolTip(QString::fromLatin1(b.hint));
        connect(button, &QToolButton::clicked, this, b.handler);
        buttons->addWidget(button);
        *b.field = button;
    }

    auto* levels = new QGroupBox(QStringLiteral("Spell Level"), client);
    levels->setObjectName(QStringLiteral("grpSpellLevel"));
    levels->setGeometry(6, LevelsTop, 334, 44);
    levels_ = levels;
    grpSpellLevel = new QButtonGroup(this);
    for (int level = MinSpellLevel; level <= MaxSpellLevel; ++level) {
        auto* button = new QRadioButton(QString::number(level), levels);
        button->setGeometry(8 + (level - 1) * 36, 18, 34, 20);
        grpSpellLevel->addButton(button, level);
    }
    SetSpellLevel(1);
    connect(grpSpellLevel, &QButtonGroup::idClicked, this, &TfrmMasterList::grpSpellLevelClick);

    lbSpells = new SpellList(*this, client);
    lbSpells->setObjectName(QStringLiteral("lbSpells"));
    connect(lbSpells, &QListWidget::itemDoubleClicked, this, &TfrmMasterList::mnuAddToBookClick);
}

void TfrmMasterList::BuildMenus() {
    auto add = [this](QMenu* menu, const QString& text, void (TfrmMasterList::*handler)(),
                      const QKeySequence& key = {}) {
        QAction* action = menu->addAction(text);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    add(mnuFile, QStringLiteral("&Add Spells to Book"), &TfrmMasterList::mnuAddToBookClick);
    mnuFile->addSeparator();
    add(mnuFile, QStringLiteral("&Current Master File is..."),
        &TfrmMasterList::mnuCurrentMasterFileClick);
    mnuSaveMasterFile = mnuFile->addAction(QStringLiteral("&Save Master File"));
    connect(mnuSaveMasterFile, &QAction::triggered, this, [this] { mnuSaveMasterFileClick(); });
    // Intended: this menu's access key is M, the frame's "Set Master &File..." F.
    add(mnuFile, QStringLiteral("Set &Master File..."), &TfrmMasterList::mnuSetMasterFileClick);
    mnuFile->addSeparator();
    add(mnuFile, QStringLiteral("E&xit"), &TfrmMasterList::mnuExitClick);

    mnuEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
    add(mnuEdit, QStringLiteral("&Edit Spell Data"), &TfrmMasterList::mnuEditSpellClick);
    add(mnuEdit, QStringLiteral("&Add New Spell"), &TfrmMasterList::mnuAddNewSpellClick,
        QKeySequence(Qt::Key_Insert));
    add(mnuEdit, QStringLiteral("&Delete Spell"), &TfrmMasterList::mnuDeleteSpellClick,
        QKeySequence(Qt::Key_Delete));

    pmnuMaster = new QMenu(this);
    add(pmnuMaster, QStringLiteral("Edit Spell Data"), &TfrmMasterList::mnuEditSpellClick);
    add(pmnuMaster, QStringLiteral("Add New Spell"), &TfrmMasterList::mnuAddNewSpellClick);
    add(pmnuMaster, QStringLiteral("Delete Spell"), &TfrmMasterList::mnuDeleteSpellClick);
    pmnuMaster->addSeparator();
    add(pmnuMaster, QStringLiteral("Current Master File is..."),
        &TfrmMasterList::mnuCurrentMasterFileClick);
    // Always enabled here, unlike its twin in the File menu.
    QAction* save = pmnuMaster->addAction(QStringLiteral("Save Master File"));
    connect(save, &QAction::triggered, this, [this] { mnuSaveMasterFileClick(); });
    add(pmnuMaster, QStringLiteral("Set Master File"), &TfrmMasterList::mnuSetMasterFileClick);
}

std::string TfrmMasterList::MasterFilePath() const {
    const std::string name =
        context_.SettingsFile().ReadString("Vellumar", "MasterFile", DefaultMasterFileName);
    if (name.empty() || fs::path(name).is_absolute()) return name;
    if (bareFolder_.empty()) {
        std::error_code ec;
        std::string working = fs::current_path(ec).string();
        if (working.empty() || working.back() != '/') working += '/';
        bareFolder_ = MasterFileFolder(name, working, ProgramFolder());
    }
    return bareFolder_ + name;
}

void TfrmMasterList::Load(const QString& task) {
    const std::string path = MasterFilePath();
    FileStatus failure;
    {
        WorkingScope working(context_.Working(), task);
        list_.reset();
        auto read = ReadSpellList(path);
        list_ = read.Take();
        failure = read.Status();
        SetModified(false);
        grpSpellLevelClick();
    }
    // A missing file is a list not yet made; one that is there but cannot be
    // read is the user's, and must not be written over unasked.
    unreadPath_ = failure || failure.Missing() ? std::string() : path;
    if (!unreadPath_.empty())
        context_.prompter().Message(this, BoxKind::Error, BoxButtons::Ok,
                                    QStringLiteral("Error Reading Master Spell List\r\n") +
                                        FromPath(path),
                                    QString(), FileProblemText(failure));
}

void TfrmMasterList::SetModified(bool modified) {
    if (list_) list_->Modified = modified;
    mnuSaveMasterFile->setEnabled(list_ && list_->Modified);
}

int TfrmMasterList::SpellLevel() const {
    return std::max(grpSpellLevel->checkedId(), MinSpellLevel);
}

void TfrmMasterList::SetSpellLevel(int level) {
    if (QAbstractButton* button = grpSpellLevel->button(level)) button->setChecked(true);
}

void TfrmMasterList::grpSpellLevelClick() {
    lbSpells->clear();
    if (!list_) return;
    const int level = SpellLevel();
    const int count = list_->CountOfLevel(level);
    for (int k = 0; k < count; ++k)
        if (const tSpell* spell = list_->SpellAt(level, k))
            lbSpells->addItem(ToQString(SpellItemRow(*spell)));
    lbSpells->clearSelection();
}

void TfrmMasterList::mnuAddToBookClick() {
    const std::vector<tSpell*> spells = lbSpells->SelectedSpells();
    TfrmSpellBook* target = context_.Frame().ActiveSpellBook();
    if (spells.empty() || !target) return;
    target->SetSpellLevel(SpellLevel());
    target->grpSpellLevelClick();
    for (const tSpell* spell : spells) target->OfferSpell(spell);
}

void TfrmMasterList::mnuEditSpellClick() {
    if (!list_) return;
    if (EditSpellsOfBook(*list_, lbSpells->SelectedSpells(), context_.SpellEdit(),
                         context_.prompter(), this)) {
        SetModified(true);
        grpSpellLevelClick();
    }
}

void TfrmMasterList::mnuAddNewSpellClick() {
    // A list that could not be read is empty, and the user may start one.
    if (!list_) list_ = std::make_unique<TSpellBook>();
    CreateNewSpells(*list_, context_.SpellEdit(), context_.prompter(), this, [this] {
        SetModified(true);
        grpSpellLevelClick();
    });
}

void TfrmMasterList::mnuDeleteSpellClick() {
    if (list_ && DeleteSelectedRows(*lbSpells, *list_, SpellLevel()) > 0) SetModified(true);
}

bool TfrmMasterList::mnuSaveMasterFileClick() {
    // Nothing was read, so there is nothing to write over the file with.
    if (!list_) return true;
    const std::string path = MasterFilePath();
    if (!MayReplace(path)) return false;
    if (const FileStatus written = WriteSpellList(*list_, path); !written)
        return SaveMasterFileElsewhere(path, written);
    unreadPath_.clear();
    SetModified(false);
    return true;
}

bool TfrmMasterList::MayReplace(const std::string& path) {
    std::error_code ec;
    if (path != unreadPath_ || !fs::exists(path, ec)) return true;
    return context_.prompter().Message(
               this, BoxKind::Confirmation, BoxButtons::YesNoDefaultNo,
               QStringLiteral("The Master Spell File\r\n") + FromPath(path) +
                   QStringLiteral("\r\ncould not be read. Do you wish to replace it?")) ==
           Answer::Yes;
}

// The installed sample list is read-only, and a disk may refuse the file: the
// user's edits go to a file of their choice, which becomes the master file.
bool TfrmMasterList::SaveMasterFileElsewhere(const std::string& failedPath,
                                             const FileStatus& failure) {
    const Answer answer = context_.prompter().Message(
        this, BoxKind::Confirmation, BoxButtons::YesNo,
        QStringLiteral("Error Writing Master Spell File\r\n") + FromPath(failedPath) +
            QStringLiteral("\r\nDo you wish to save the Master Spell List to another file?"),
        QString(), FileProblemText(failure));
    if (answer != Answer::Yes) return false;
    FileDialogSpec request;
    request.title = QStringLiteral("Save Master File");
    request.filter = QStringLiteral("*.DAT (data files)|*.dat|*.* (all files)|*.*");
    request.defaultSuffix = QStringLiteral("dat");
    request.directory = QDir::homePath();
    request.fileName = QFileInfo(FromPath(failedPath)).fileName();
    request.confirmOverwrite = true;
    const QString chosen = context_.prompter().SaveFile(this, request);
    if (chosen.isEmpty()) return false;
    const std::string path = ToPath(QFileInfo(chosen).absoluteFilePath());
    if (const FileStatus written = WriteSpellList(*list_, path); !written) {
        context_.prompter().Message(this, BoxKind::Error, BoxButtons::Ok,
                                    QStringLiteral("Error Writing Master Spell File\r\n") +
                                        FromPath(path),
                                    QString(), FileProblemText(written));
        return false;
    }
    SetModified(false);
    // The list is safe in its new file even if the setting cannot be stored.
    context_.WriteSetting(this, "Vellumar", "MasterFile", path);
    return true;
}

void TfrmMasterList::mnuCurrentMasterFileClick() {
    // "Master.dat", not the default file's "MASTER.DAT", is intended: the classic text.
    const std::string name =
        context_.SettingsFile().ReadString("Vellumar", "MasterFile", "Master.dat");
    context_.prompter().Message(this, BoxKind::Information, BoxButtons::Ok,
                                QStringLiteral("The current Master Spell File is:\r\n") +
                                    FromPath(name));
}

void TfrmMasterList::mnuSetMasterFileClick() {
    const QString current = FromPath(MasterFilePath());
    FileDialogSpec request;
    request.title = QStringLiteral("Set Master File");
    request.filter = QStringLiteral(
        "*.DAT (data files)|*.dat|*.SPB (spellbook files)|*.spb|*.* (all files)|*.*");
    request.mustExist = true;
    if (current.isEmpty()) {
        request.directory = QDir::currentPath();
    } else {
        const QFileInfo file(current);
        request.directory = file.absolutePath();
        request.fileName = file.fileName();
    }
    const QString chosen = context_.prompter().OpenFile(this, request);
    if (chosen.isEmpty()) return;

    if (list_ && list_->Modified) {
        switch (context_.prompter().Message(
            this, BoxKind::Confirmation, BoxButtons::YesNoCancel,
            QStringLiteral("Master Spell File has been changed.\r\nDo you wish to save it now?"))) {
        case Answer::Yes:
            // A save that failed keeps the changes and the old file.
            if (!mnuSaveMasterFileClick()) return;
            break;
        case Answer::No:
            break;
        default:
            return;
        }
    }
    const QString full = QFileInfo(chosen).absoluteFilePath();
    if (!context_.WriteSetting(this, "Vellumar", "MasterFile", ToPath(full))) return;
    Load(QStringLiteral("Loading Master Spell List"));
}

bool TfrmMasterList::FormCloseQuery() {
    if (!list_ || !list_->Modified) return true;
    switch (context_.prompter().Message(
        this, BoxKind::Confirmation, BoxButtons::YesNoCancel,
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
    client->setMinimumSize(levels_->geometry().right() + 1 + 5, 170);
    if (auto* panel = client->findChild<QFrame*>(QStringLiteral("pnlButtons")))
        panel->setGeometry(0, 0, client->width(), PanelHeight);
    lbSpells->setGeometry(6, ListTop, std::max(client->width() - 20, 0),
                          std::max(client->height() - ListTop, 0));
}

void TfrmMasterList::contextMenuEvent(QContextMenuEvent* event) {
    pmnuMaster->exec(event->globalPos());
}

} // namespace vellumar
