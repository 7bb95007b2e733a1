#include "ui/frame_window.h"

#include "files/specialty_file.h"
#include "files/spell_file.h"
#include "model/spell_book.h"
#include "platform/help_topics.h"
#include "platform/program_folder.h"
#include "platform/program_settings.h"
#include "platform/qt/command_table.h"
#include "platform/qt/file_problem.h"
#include "platform/qt/help_viewer.h"
#include "platform/qt/prompter.h"
#include "platform/qt/text_conversion.h"
#include "program_version.h"
#include "rules/odds.h"
#include "rules/scroll.h"
#include "ui/about_box.h"
#include "ui/book_parm_dialog.h"
#include "ui/data_directory_dialog.h"
#include "ui/frame_window_context.h"
#include "ui/frequency_odds_dialog.h"
#include "ui/master_list_window.h"
#include "ui/scroll_parm_dialog.h"
#include "ui/specialty_maintenance_dialog.h"
#include "ui/spell_book_window.h"
#include "ui/working_box.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QStandardPaths>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <optional>

namespace vellumar {

TfrmMain::TfrmMain(FrameWindowContext& context, QWidget* parent)
    : QMainWindow(parent), context_(context), mdiArea_(new QMdiArea(this)) {
    context_.SetFrame(this);
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromLatin1(ProductName));
    setProperty("helpTopic", int(TopicFrame));
    setAcceptDrops(true);

    auto* working = new TfrmWorking(this);
    context_.SetWorking(working);
    ReadSettings();

    setCentralWidget(mdiArea_);
    mdiArea_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(mdiArea_, &QWidget::customContextMenuRequested, this, &TfrmMain::ShowClientPopup);
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &TfrmMain::MergeMenus);
    BuildToolBar();
    BuildMenus();
    MergeMenus();
}

TfrmMain::~TfrmMain() {
    // The children go after this destructor; their signals must not reach a half-gone frame.
    for (TfrmSpellBook* window : windows_) disconnect(window, nullptr, this, nullptr);
    disconnect(mdiArea_, nullptr, this, nullptr);
}

void TfrmMain::ReadSettings() {
    const QString folder = context_.ProgramFolder();
    const QString settingsFolder = context_.SettingsFolder();
    context_.OpenSettings(ToPath(settingsFolder + QString::fromLatin1(ProgramSettings::FileName)));
    const ProgramSettings& settings = context_.Settings();
    FrequencyOddsTable& odds = context_.Odds();
    for (size_t k = 0; k < odds.size(); ++k)
        odds[k] = ClampedOdds(settings.Odds(k, DefaultFrequencyOdds[k]));
    dataDirectory_ = FromPath(settings.DataDirectory(ToPath(DefaultDataDirectory())));
    context_.SetHelpFile(folder + QStringLiteral("Vellumar.HLP"));
    // A missing or unreadable file gives the built-in table, without a word.
    context_.SetLoadedSpecialties(
        ReadSpecialtyFile(ToPath(settingsFolder + QStringLiteral("Specialty.dat"))).Take());
}

void TfrmMain::BuildToolBar() {
    tbMain_ = addToolBar(QStringLiteral("Vellumar"));
    tbMain_->setObjectName(QStringLiteral("tbMain"));
    tbMain_->setMovable(false);
    tbMain_->setFloatable(false);
    tbMain_->setIconSize(QSize(28, 28));
}

void TfrmMain::BuildMenus() {
    using W = TfrmMain;
    mnuFile_ = new QMenu(QStringLiteral("&File"), this);
    mnuOptions_ = new QMenu(QStringLiteral("&Options"), this);
    mnuWindow_ = new QMenu(QStringLiteral("&Window"), this);
    mnuHelp_ = new QMenu(QStringLiteral("&Help"), this);
    pmnuClient_ = new QMenu(this);
    QMenu* const file = mnuFile_;
    QMenu* const options = mnuOptions_;
    QMenu* const help = mnuHelp_;
    QMenu* const popup = pmnuClient_;
    QToolBar* const tools = tbMain_;
    AddCommands<W>(*this, {
                              {tools,
                               "New Spellbook",
                               &W::NewChild,
                               {},
                               nullptr,
                               context_.Icon(QStringLiteral("new")),
                               "bnNew"},
                              {tools,
                               "Open Spellbook",
                               &W::mnuOpenSpellbookClick,
                               {},
                               nullptr,
                               context_.Icon(QStringLiteral("open")),
                               "bnOpen"},

                              {file, "&New", &W::NewChild, {Qt::Key_F4, QKeySequence::New}},
                              {file, "&Open", &W::mnuOpenSpellbookClick, QKeySequence::Open},
                              {file},
                              {file, "Printer Setup...", &W::mnuPrinterSetupClick},
                              {file},
                              {file, "E&xit", &W::mnuExitClick, QKeySequence::Quit},

                              {options, "Set Master &File...", &W::mnuSetMasterFileClick},
                              {options, "&View Master List...", &W::mnuViewMasterListClick},
                              {options},
                              {options, "Set &Data Directory...", &W::mnuDataDirectoriesClick},
                              {options, "Set Spell Selection &Odds...", &W::mnuSetOddsClick},
                              {options, "Set Specialties...", &W::mnuSetSpecialtiesClick},

                              {help, "&Contents", &W::mnuHelpContentsClick},
                              {help},
                              {help, "&About", &W::mnuAboutClick},

                              {popup, "New Spellbook...", &W::NewChild},
                              {popup, "Open Spellbook...", &W::mnuOpenSpellbookClick},
                              {popup},
                              {popup, "View Master List", &W::mnuViewMasterListClick},
                              {popup, "Set Master File...", &W::mnuSetMasterFileClick},
                              {popup},
                              {popup, "Set Data Directory...", &W::mnuDataDirectoriesClick},
                              {popup, "Set Spell Selection Odds...", &W::mnuSetOddsClick},
                              {popup, "Set Specialties...", &W::mnuSetSpecialtiesClick},
                          });
    ListRecentBooks(mnuFile_);
    connect(mnuWindow_, &QMenu::aboutToShow, this, &TfrmMain::FillWindowMenu);
    FillWindowMenu();
}

// While a spellbook window is active its File menu takes the place of the
// frame's, and its Edit menu stands right after it.
void TfrmMain::MergeMenus() {
    QMenuBar* bar = menuBar();
    bar->clear();
    if (TfrmSpellBook* book = ActiveSpellBook()) {
        bar->addMenu(book->FileMenu());
        bar->addMenu(book->EditMenu());
    } else {
        bar->addMenu(mnuFile_);
    }
    bar->addMenu(mnuOptions_);
    bar->addMenu(mnuWindow_);
    bar->addMenu(mnuHelp_);
}

void TfrmMain::FillWindowMenu() {
    mnuWindow_->clear();
    AddCommands<TfrmMain>(*this, {{mnuWindow_, "&Arrange", &TfrmMain::mnuArrangeClick}});
    const std::vector<TfrmSpellBook*> windows = SpellBookWindows();
    if (!windows.empty()) mnuWindow_->addSeparator();
    const TfrmSpellBook* active = ActiveSpellBook();
    for (TfrmSpellBook* window : windows) {
        QAction* item = mnuWindow_->addAction(window->Caption());
        item->setCheckable(true);
        item->setChecked(window == active);
        connect(item, &QAction::triggered, this, [this, window] {
            for (TfrmSpellBook* open : SpellBookWindows())
                if (open == window)
                    mdiArea_->setActiveSubWindow(
                        qobject_cast<QMdiSubWindow*>(window->parentWidget()));
        });
    }
}

void TfrmMain::ShowClientPopup(const QPoint& position) {
    pmnuClient_->popup(mdiArea_->mapToGlobal(position));
}

std::vector<TfrmSpellBook*> TfrmMain::SpellBookWindows() const {
    return windows_;
}

TfrmSpellBook* TfrmMain::ActiveSpellBook() const {
    QMdiSubWindow* sub = mdiArea_->currentSubWindow();
    auto* book = sub ? qobject_cast<TfrmSpellBook*>(sub->widget()) : nullptr;
    return std::find(windows_.begin(), windows_.end(), book) != windows_.end() ? book : nullptr;
}

TfrmSpellBook* TfrmMain::CreateSpellBookWindow() {
    auto* window = new TfrmSpellBook(context_.SpellBookContext());
    QMdiSubWindow* sub = mdiArea_->addSubWindow(window);
    sub->setWindowIcon(context_.Icon(QStringLiteral("book")));
    // The frame around the window's own minimum, so that no resize cuts its tool bar.
    sub->setMinimumSize(sub->minimumSizeHint());
    sub->resize(QSize(550, 539).expandedTo(sub->minimumSize()));
    windows_.push_back(window);
    ListRecentBooks(window->FileMenu());
    connect(window, &TfrmSpellBook::Closed, this, &TfrmMain::SpellBookClosed);
    connect(window, &QObject::destroyed, this, [this, window] { SpellBookClosed(window); });
    tbMain_->hide();
    window->show();
    mdiArea_->setActiveSubWindow(sub);
    MergeMenus();
    return window;
}

void TfrmMain::SpellBookClosed(TfrmSpellBook* window) {
    const auto it = std::find(windows_.begin(), windows_.end(), window);
    if (it == windows_.end()) return;
    windows_.erase(it);
    disconnect(window, nullptr, this, nullptr);
    if (windows_.empty()) tbMain_->show();
    MergeMenus();
}

void TfrmMain::NewChild() {
    TfrmBookParm& dialog = context_.BookParm();
    if (context_.prompter().Exec(dialog) != QDialog::Accepted) return;
    CreateSpellBookWindow()->StartNewBook(dialog.Choices());
}

void TfrmMain::mnuOpenSpellbookClick() {
    FileDialogSpec request;
    request.title = QStringLiteral("Open Spellbook");
    request.filter = QStringLiteral("*.SPB (Spellbook Files)|*.SPB|*.* (All Files)|*.*");
    request.defaultSuffix = QStringLiteral("spb");
    request.directory = dataDirectory_;
    request.mustExist = true;
    const QString path = context_.prompter().OpenFile(this, request);
    if (path.isEmpty()) return;
    OpenDroppedFiles({path});
}

void TfrmMain::OpenDroppedFiles(const QStringList& paths) {
    for (const QString& path : paths) {
        OpenSpellbookFile(path);
        // For the rest of the run, whether or not the file could be read.
        dataDirectory_ = QFileInfo(path).absolutePath() + QLatin1Char('/');
    }
}

QStringList TfrmMain::DroppedFiles(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    return paths;
}

void TfrmMain::dragEnterEvent(QDragEnterEvent* event) {
    dragMoveEvent(event);
}

void TfrmMain::dragMoveEvent(QDragMoveEvent* event) {
    if (DroppedFiles(event->mimeData()).isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void TfrmMain::dropEvent(QDropEvent* event) {
    const QStringList paths = DroppedFiles(event->mimeData());
    if (paths.isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // Error boxes wait until the file manager's drag has let go of the mouse.
    QTimer::singleShot(0, this, [this, paths] { OpenDroppedFiles(paths); });
}

bool TfrmMain::OpenSpellbookFile(const QString& path) {
    const QString fullPath = QFileInfo(path).absoluteFilePath();
    std::optional<FileResult<TSpellBook>> book;
    {
        WorkingScope working(context_.Working(), QStringLiteral("Loading Spellbook"));
        book.emplace(ReadSpellbookFile(ToPath(fullPath)));
    }
    if (!*book) {
        // With several books named at start-up, the file tells which one failed.
        context_.prompter().Message(this, BoxKind::Error, BoxButtons::Ok,
                                    QStringLiteral("Error Reading Spellbook File"), QString(),
                                    FileProblemText(fullPath, book->Status()));
        return false;
    }
    TfrmSpellBook* window = CreateSpellBookWindow();
    window->ReplaceBook(book->Take());
    window->ShowBookParameters();
    window->SetModified(false);
    window->SetCaption(fullPath);
    NoteRecentBook(fullPath);
    return true;
}

void TfrmMain::OpenRecentBook(const QString& path) {
    if (OpenSpellbookFile(path)) return;
    if (!QFileInfo::exists(path))
        context_.ReportRecentBooksWrite(this, context_.Settings().RemoveRecentBook(ToPath(path)));
}

void TfrmMain::NoteRecentBook(const QString& path) {
    // The list is a convenience: a settings file that cannot be written costs
    // one box in a run, not one at every Open.
    context_.ReportRecentBooksWrite(
        this, context_.Settings().AddRecentBook(ToPath(QFileInfo(path).absoluteFilePath())));
}

void TfrmMain::ListRecentBooks(QMenu* file) {
    // Filled when shown: the list may have changed in any window since.
    connect(file, &QMenu::aboutToShow, file, [this, file] { FillRecentBooks(file); });
}

// The books stand between the last separator of the menu (the one before Exit)
// and a separator of their own.
void TfrmMain::FillRecentBooks(QMenu* file) {
    static const char* const RecentProperty = "recentBook";
    for (QAction* action : file->actions())
        if (action->property(RecentProperty).isValid()) delete action;
    QAction* before = nullptr;
    for (QAction* action : file->actions())
        if (action->isSeparator()) before = action;
    const std::vector<std::string> books = context_.Settings().RecentBooks();
    if (!before || books.empty()) return;
    QAction* separator = file->insertSeparator(before);
    separator->setProperty(RecentProperty, true);
    int number = 0;
    for (const std::string& book : books) {
        const QString path = FromPath(book);
        // A "&" of the path is a letter, not an access key.
        const QString text = QStringLiteral("&%1 ").arg(++number) +
                             QString(path).replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto* item = new QAction(text, file);
        item->setProperty(RecentProperty, path);
        connect(item, &QAction::triggered, this, [this, path] { OpenRecentBook(path); });
        file->insertAction(before, item);
    }
}

void TfrmMain::mnuArrangeClick() {
    mdiArea_->cascadeSubWindows();
    for (QMdiSubWindow* sub : mdiArea_->subWindowList())
        if (qobject_cast<TfrmSpellBook*>(sub->widget()))
            sub->resize(QSize(480, 540).expandedTo(sub->minimumSize()));
}

QString TfrmMain::DefaultDataDirectory() const {
    return FromPath(vellumar::DefaultDataDirectory(
        ToPath(context_.ProgramFolder()),
        ToPath(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)),
        CurrentFolderEnvironment()));
}

void TfrmMain::mnuDataDirectoriesClick() {
    const QString folder = DefaultDataDirectory();
    const QString setting = FromPath(context_.Settings().DataDirectory(ToPath(folder)));
    TfrmDataDirectory dialog(TfrmDataDirectory::CanOpen(setting) ? setting : folder, this);
    if (context_.prompter().Exec(dialog) != QDialog::Accepted) return;
    const QString chosen = dialog.SelectedFolder();
    if (!context_.WriteSetting(this, &ProgramSettings::SetDataDirectory, ToPath(chosen))) return;
    dataDirectory_ = chosen;
}

void TfrmMain::mnuPrinterSetupClick() {
    context_.prompter().PrinterSetup(this, context_.Printer());
}

void TfrmMain::mnuSetSpecialtiesClick() {
    context_.SpecialtyMaintenance().ShowModal();
}

void TfrmMain::mnuSetOddsClick() {
    ProgramSettings& settings = context_.Settings();
    ShowFrequencyOdds(
        context_.Odds(), DefaultFrequencyOdds,
        [&settings](size_t entry, int32_t value) { return settings.SetOdds(entry, value); },
        FromPath(settings.Path()), context_.prompter(), this);
}

void TfrmMain::mnuViewMasterListClick() {
    if (TfrmMasterList* window = context_.MasterListWindow()) {
        window->show();
        window->raise();
        window->activateWindow();
    }
}

void TfrmMain::mnuSetMasterFileClick() {
    if (TfrmMasterList* window = context_.MasterListWindow()) window->mnuSetMasterFileClick();
}

void TfrmMain::CreateScroll() {
    if (TfrmSpellBook* source = ActiveSpellBook()) CreateScroll(*source);
}

void TfrmMain::CreateScroll(TfrmSpellBook& source) {
    const std::optional<ScrollLevelCounts> counts =
        AskScrollCounts(context_.prompter(), source.Book(), this);
    if (!counts) return;
    WorkingScope working(context_.Working(), QStringLiteral("Creating Scroll"));
    std::unique_ptr<TSpellBook> scroll = DrawScroll(source.Book(), *counts);
    TfrmSpellBook* window = CreateSpellBookWindow();
    window->ReplaceBook(std::move(scroll));
    window->ShowBookParameters();
    window->SetModified(true);
}

void TfrmMain::mnuExitClick() {
    close();
}

void TfrmMain::mnuHelpContentsClick() {
    context_.Help().ShowTopic(TopicFrame);
}

void TfrmMain::mnuAboutClick() {
    TfrmAbout about(context_.Icon(QStringLiteral("about")), this);
    context_.prompter().Exec(about);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    // Every spellbook window first, then the master list; the first refusal
    // keeps the program as it was.
    const std::vector<TfrmSpellBook*> windows = SpellBookWindows();
    for (TfrmSpellBook* window : windows) {
        if (!window->FormCloseQuery()) {
            event->ignore();
            return;
        }
    }
    if (masterListCloseQuery_ && !masterListCloseQuery_()) {
        event->ignore();
        return;
    }
    for (TfrmSpellBook* window : windows) window->ApproveClose();
    // Without its question: the master list has been asked above.
    if (TfrmMasterList* masterList = context_.MasterListWindow()) masterList->hide();
    if (QWidget* help = findChild<HelpViewer*>()) help->close();
    event->accept();
}

} // namespace vellumar
