#include "ui/frame_window.h"

#include "files/spell_file.h"
#include "model/spell_book.h"
#include "platform/program_folder.h"
#include "platform/program_settings.h"
#include "platform/qt/command_table.h"
#include "platform/qt/field_labels.h"
#include "platform/qt/file_problem.h"
#include "platform/qt/help_topics.h"
#include "platform/qt/help_viewer.h"
#include "platform/qt/prompter.h"
#include "platform/qt/text_conversion.h"
#include "program_version.h"
#include "rules/odds.h"
#include "rules/scroll.h"
#include "ui/about_box.h"
#include "ui/book_window.h"
#include "ui/data_directory_dialog.h"
#include "ui/frame_window_context.h"
#include "ui/frequency_odds_dialog.h"
#include "ui/last_session.h"
#include "ui/new_book_choices.h"
#include "ui/scroll_parm_dialog.h"
#include "ui/window_placement.h"
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
#include <QWindow>
#include <optional>

namespace vellumar {

TfrmMain::TfrmMain(FrameWindowContext& context, QWidget* parent)
    : QMainWindow(parent), context_(context), mdiArea_(new QMdiArea(this)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromLatin1(ProductName));
    setProperty("helpTopic", int(TopicFrame));
    setAcceptDrops(true);
    dataDirectory_ = FromPath(context_.Settings().DataDirectory(ToPath(DefaultDataDirectory())));

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
    for (BookWindow* window : windows_) disconnect(&window->Widget(), nullptr, this, nullptr);
    disconnect(mdiArea_, nullptr, this, nullptr);
}

void TfrmMain::BuildToolBar() {
    tbMain_ = addToolBar(QStringLiteral("Vellumar"));
    tbMain_->setObjectName(QStringLiteral("tbMain"));
    tbMain_->setMovable(false);
    tbMain_->setFloatable(false);
    tbMain_->setIconSize(QSize(28, 28));
    NameToolBarExtension(*tbMain_);
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
    auto icon = [this](const char* name) { return context_.Icon(QString::fromLatin1(name)); };
    // clang-format off
    const CommandActions actions = AddCommands<W>(*this, {
        {.place = tools, .text = "New Spellbook", .handler = &W::NewChild, .picture = icon("new"), .id = "bnNew"},
        {.place = tools, .text = "Open Spellbook", .handler = &W::mnuOpenSpellbookClick, .picture = icon("open"), .id = "bnOpen"},

        {.place = file, .text = "&New", .handler = &W::NewChild, .keys = {Qt::Key_F4, QKeySequence::New}},
        {.place = file, .text = "&Open", .handler = &W::mnuOpenSpellbookClick, .keys = QKeySequence::Open},
        {.place = file},
        {.place = file, .text = "Printer Setup...", .handler = &W::mnuPrinterSetupClick},
        {.place = file},
        {.place = file, .text = "E&xit", .handler = &W::mnuExitClick, .keys = QKeySequence::Quit},

        {.place = options, .text = "Set Master &File...", .handler = &W::mnuSetMasterFileClick},
        {.place = options, .text = "&View Master List...", .handler = &W::mnuViewMasterListClick},
        {.place = options},
        {.place = options, .text = "Set &Data Directory...", .handler = &W::mnuDataDirectoriesClick},
        {.place = options, .text = "Set Spell Selection &Odds...", .handler = &W::mnuSetOddsClick},
        {.place = options, .text = "Set Specialties...", .handler = &W::mnuSetSpecialtiesClick},
        {.place = options},
        {.place = options, .text = "&Keep Recovery Files", .handler = &W::mnuKeepRecoveryFilesClick, .hint = "Keep unsaved work, to offer it again after a crash", .id = "mnuKeepRecoveryFiles"},
        {.place = options, .text = "&Reopen Books at Start", .handler = &W::mnuReopenBooksClick, .id = "mnuReopenBooks"},

        {.place = help, .text = "&Contents", .handler = &W::mnuHelpContentsClick},
        {.place = help},
        {.place = help, .text = "&About", .handler = &W::mnuAboutClick},

        {.place = popup, .text = "New Spellbook...", .handler = &W::NewChild},
        {.place = popup, .text = "Open Spellbook...", .handler = &W::mnuOpenSpellbookClick},
        {.place = popup},
        {.place = popup, .text = "View Master List", .handler = &W::mnuViewMasterListClick},
        {.place = popup, .text = "Set Master File...", .handler = &W::mnuSetMasterFileClick},
        {.place = popup},
        {.place = popup, .text = "Set Data Directory...", .handler = &W::mnuDataDirectoriesClick},
        {.place = popup, .text = "Set Spell Selection Odds...", .handler = &W::mnuSetOddsClick},
        {.place = popup, .text = "Set Specialties...", .handler = &W::mnuSetSpecialtiesClick},
    });
    // clang-format on
    mnuReopenBooks_ = actions.At("mnuReopenBooks");
    mnuReopenBooks_->setCheckable(true);
    mnuReopenBooks_->setChecked(context_.Settings().ReopenBooks(false));
    mnuKeepRecoveryFiles_ = actions.At("mnuKeepRecoveryFiles");
    mnuKeepRecoveryFiles_->setCheckable(true);
    mnuKeepRecoveryFiles_->setChecked(context_.Settings().KeepRecoveryFiles());
    ListRecentBooks(mnuFile_);
    connect(mnuWindow_, &QMenu::aboutToShow, this, &TfrmMain::FillWindowMenu);
    FillWindowMenu();
}

// While a spellbook window is active its File menu takes the place of the
// frame's, and its Edit menu stands right after it.
void TfrmMain::MergeMenus() {
    QMenuBar* bar = menuBar();
    bar->clear();
    if (BookWindow* book = ActiveSpellBook()) {
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
    AddCommands<TfrmMain>(
        *this, {{.place = mnuWindow_, .text = "&Arrange", .handler = &TfrmMain::mnuArrangeClick}});
    const std::vector<BookWindow*> windows = SpellBookWindows();
    if (!windows.empty()) mnuWindow_->addSeparator();
    const BookWindow* active = ActiveSpellBook();
    for (BookWindow* window : windows) {
        // A "&" of the caption is a letter, not an access key.
        QAction* item = mnuWindow_->addAction(
            QString(window->Caption()).replace(QLatin1Char('&'), QStringLiteral("&&")));
        item->setCheckable(true);
        item->setChecked(window == active);
        connect(item, &QAction::triggered, this, [this, window] {
            for (BookWindow* open : SpellBookWindows())
                if (open == window)
                    mdiArea_->setActiveSubWindow(
                        qobject_cast<QMdiSubWindow*>(window->Widget().parentWidget()));
        });
    }
}

void TfrmMain::ShowClientPopup(const QPoint& position) {
    pmnuClient_->popup(mdiArea_->mapToGlobal(position));
}

std::vector<BookWindow*> TfrmMain::SpellBookWindows() const {
    return windows_;
}

BookWindow* TfrmMain::ActiveSpellBook() const {
    QMdiSubWindow* sub = mdiArea_->currentSubWindow();
    if (!sub) return nullptr;
    for (BookWindow* window : windows_)
        if (&window->Widget() == sub->widget()) return window;
    return nullptr;
}

BookPlace TfrmMain::ActiveBookPlace() const {
    auto onScreen = [](const QWidget& widget) {
        return QRect(widget.mapToGlobal(QPoint()), widget.size());
    };
    const QRect client = onScreen(*mdiArea_->viewport());
    // With no book open, the client area's right edge stands for one: a
    // window goes beside it, at the top.
    BookPlace place{QRect(client.topRight(), QSize(0, client.height())), {onScreen(*menuBar())}};
    if (tbMain_->isVisible()) place.commands.push_back(onScreen(*tbMain_));
    if (const BookWindow* book = ActiveSpellBook()) {
        // The part of the book the client area shows.
        place.book = onScreen(*mdiArea_->currentSubWindow()).intersected(client);
        place.commands.push_back(onScreen(book->ToolBar()));
    }
    return place;
}

BookWindow* TfrmMain::CreateSpellBookWindow() {
    BookWindow* window = &context_.NewBookWindow();
    QWidget* widget = &window->Widget();
    QMdiSubWindow* sub = mdiArea_->addSubWindow(widget);
    sub->setWindowIcon(context_.Icon(QStringLiteral("book")));
    // The window's File, Close holds the desktop's Close key (Ctrl+W); the
    // frame's own system menu holding it too would make the key do nothing.
    if (QMenu* system = sub->systemMenu())
        for (QAction* action : system->actions()) action->setShortcuts({});
    // The frame around the window's own minimum, so that no resize cuts its tool bar.
    sub->setMinimumSize(sub->minimumSizeHint());
    sub->resize(QSize(550, 539).expandedTo(sub->minimumSize()));
    windows_.push_back(window);
    ListRecentBooks(window->FileMenu());
    window->WhenClosed([this, window] { SpellBookClosed(window); });
    connect(widget, &QObject::destroyed, this, [this, window] { SpellBookClosed(window); });
    tbMain_->hide();
    widget->show();
    // Placed for its first size, the window may reach past the client area
    // at its own: moved back in, and made smaller only where the area is. A
    // frame not yet on the screen has no final size to go by.
    if (windowHandle() && windowHandle()->isExposed())
        sub->setGeometry(HeldInside(sub->geometry(), mdiArea_->viewport()->rect()));
    mdiArea_->setActiveSubWindow(sub);
    MergeMenus();
    return window;
}

void TfrmMain::SpellBookClosed(BookWindow* window) {
    const auto it = std::find(windows_.begin(), windows_.end(), window);
    if (it == windows_.end()) return;
    windows_.erase(it);
    disconnect(&window->Widget(), nullptr, this, nullptr);
    if (windows_.empty()) tbMain_->show();
    MergeMenus();
}

void TfrmMain::NewChild() {
    const std::optional<NewBookChoices> choices = context_.AskNewBookChoices();
    if (!choices) return;
    CreateSpellBookWindow()->StartNewBook(*choices);
}

void TfrmMain::mnuOpenSpellbookClick() {
    FileDialogSpec request;
    request.title = QStringLiteral("Open Spellbook");
    request.filter = QStringLiteral("*.SPB (Spellbook Files)|*.SPB|*.* (All Files)|*.*");
    request.defaultSuffix = QStringLiteral("spb");
    request.directory = dataDirectory_;
    request.mustExist = true;
    const QString path = context_.Prompts().OpenFile(this, request);
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
        context_.Prompts().Message(this, BoxKind::Error, BoxButtons::Ok,
                                   QStringLiteral("Error Reading Spellbook File"), QString(),
                                   FileProblemText(fullPath, book->Status()));
        return false;
    }
    BookWindow* window = CreateSpellBookWindow();
    window->PutBook(book->Take(), fullPath, false);
    ReportLinesLeftOut(context_.Prompts(), &window->Widget(), fullPath, book->Warnings());
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
        if (std::any_of(windows_.begin(), windows_.end(),
                        [sub](BookWindow* window) { return &window->Widget() == sub->widget(); }))
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
    if (context_.Prompts().Exec(dialog) != QDialog::Accepted) return;
    const QString chosen = dialog.SelectedFolder();
    if (!context_.WriteSetting(this, &ProgramSettings::SetDataDirectory, ToPath(chosen))) return;
    dataDirectory_ = chosen;
}

void TfrmMain::mnuPrinterSetupClick() {
    context_.Prompts().PrinterSetup(this, context_.Printer());
}

void TfrmMain::mnuSetSpecialtiesClick() {
    context_.EditSpecialties();
}

void TfrmMain::mnuSetOddsClick() {
    ProgramSettings& settings = context_.Settings();
    ShowFrequencyOdds(
        context_.Odds(), DefaultFrequencyOdds,
        [&settings](size_t entry, int32_t value) { return settings.SetOdds(entry, value); },
        FromPath(settings.Path()), context_.Prompts(), this);
}

void TfrmMain::mnuReopenBooksClick() {
    // The item shows the setting: after a failed write, as it was.
    const bool on = mnuReopenBooks_->isChecked();
    if (!context_.ReportSettingsWrite(this, context_.Settings().SetReopenBooks(on)))
        mnuReopenBooks_->setChecked(!on);
}

void TfrmMain::mnuKeepRecoveryFilesClick() {
    context_.KeepRecoveryFiles(this, mnuKeepRecoveryFiles_->isChecked());
}

void TfrmMain::mnuViewMasterListClick() {
    context_.ShowMasterList();
}

void TfrmMain::mnuSetMasterFileClick() {
    context_.SetMasterFile();
}

void TfrmMain::CreateScroll() {
    if (BookWindow* source = ActiveSpellBook()) CreateScroll(source->Book());
}

void TfrmMain::CreateScroll(TSpellBook& source) {
    const std::optional<ScrollLevelCounts> counts =
        AskScrollCounts(context_.Prompts(), source, this);
    if (!counts) return;
    WorkingScope working(context_.Working(), QStringLiteral("Creating Scroll"));
    std::unique_ptr<TSpellBook> scroll = DrawScroll(source, *counts);
    CreateSpellBookWindow()->PutBook(std::move(scroll), QString(), true);
}

void TfrmMain::mnuExitClick() {
    close();
}

void TfrmMain::mnuHelpContentsClick() {
    context_.ShowHelpTopic(TopicFrame);
}

void TfrmMain::mnuAboutClick() {
    TfrmAbout about(context_.Icon(QStringLiteral("about")), this);
    context_.Prompts().Exec(about);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    // Every spellbook window first, then the master list; the first refusal
    // keeps the program as it was.
    const std::vector<BookWindow*> windows = SpellBookWindows();
    for (BookWindow* window : windows) {
        if (!window->FormCloseQuery()) {
            event->ignore();
            return;
        }
    }
    if (!context_.MayCloseMasterList()) {
        event->ignore();
        return;
    }
    for (BookWindow* window : windows) window->ApproveClose();
    if (context_.Settings().ReopenBooks(false))
        context_.ReportSettingsWrite(this, RememberOpenBooks(windows, context_.Settings()));
    // Without its question: the master list has been asked above.
    context_.HideMasterList();
    if (QWidget* help = findChild<HelpViewer*>()) help->close();
    event->accept();
}

} // namespace vellumar
