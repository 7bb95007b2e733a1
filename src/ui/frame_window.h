#pragma once
// The frame: a multiple-document main window holding the spellbook windows, with
// the commands that belong to no single book.

#include <QMainWindow>
#include <QStringList>
#include <vector>

class QAction;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QMdiArea;
class QMimeData;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace vellumar {

class BookWindow;
struct BookPlace;
class FrameWindowContext;
class TSpellBook;

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    // The settings are open: creation reads the data directory from them.
    explicit TfrmMain(FrameWindowContext& context, QWidget* parent = nullptr);
    ~TfrmMain() override;

    void NewChild();
    void mnuOpenSpellbookClick();
    bool OpenSpellbookFile(const QString& path);
    // Opens a book of the recent list; a file that is gone leaves the list.
    void OpenRecentBook(const QString& path);
    // Puts a book opened or saved at the head of the recent list.
    void NoteRecentBook(const QString& path);
    // Files dropped from a file manager: each opens as Open does, in order.
    void OpenDroppedFiles(const QStringList& paths);
    // The local files a drag carries, empty when it carries none.
    static QStringList DroppedFiles(const QMimeData* data);
    void mnuArrangeClick();
    void mnuDataDirectoriesClick();
    void mnuPrinterSetupClick();
    void mnuExitClick();
    void mnuHelpContentsClick();
    void mnuAboutClick();
    // Shows the specialty maintenance window modally.
    void mnuSetSpecialtiesClick();
    // Creates the odds dialog for one use and shows it modally.
    void mnuSetOddsClick();
    void mnuViewMasterListClick();
    void mnuSetMasterFileClick();
    // Options, Reopen Books at Start: turns the setting on or off.
    void mnuReopenBooksClick();
    // The Options switch of recovery files, kept in the settings.
    void mnuKeepRecoveryFilesClick();
    // A new, empty spellbook window in the frame, active (a recovered book goes in).
    BookWindow* CreateSpellBookWindow();
    // A random scroll from a spellbook window's book, in a new window.
    void CreateScroll(TSpellBook& source);
    // The same for the active spellbook window.
    void CreateScroll();

    // The starting folder of the Open Spellbook dialog.
    const QString& DataDirectory() const { return dataDirectory_; }

    // The open spellbook windows, oldest first, and the active one (or none).
    std::vector<BookWindow*> SpellBookWindows() const;
    BookWindow* ActiveSpellBook() const;
    // Where the active book stands on the screen, and the bars it must leave
    // free for a window opened beside it.
    BookPlace ActiveBookPlace() const;

    QMdiArea* mdiArea() const { return mdiArea_; }
    QToolBar* tbMain() const { return tbMain_; }
    QMenu* ClientPopup() const { return pmnuClient_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Where file dialogs start while the user has set no data directory.
    QString DefaultDataDirectory() const;
    void BuildMenus();
    void BuildToolBar();
    void SpellBookClosed(BookWindow* window);
    void MergeMenus();
    void FillWindowMenu();
    void ShowClientPopup(const QPoint& position);
    // Lists the recent books in a File menu each time it opens.
    void ListRecentBooks(QMenu* file);
    void FillRecentBooks(QMenu* file);

    FrameWindowContext& context_;
    QMdiArea* mdiArea_;
    QToolBar* tbMain_ = nullptr;
    QMenu* mnuFile_ = nullptr;
    QMenu* mnuOptions_ = nullptr;
    QMenu* mnuWindow_ = nullptr;
    QMenu* mnuHelp_ = nullptr;
    QMenu* pmnuClient_ = nullptr;
    QAction* mnuReopenBooks_ = nullptr;
    QAction* mnuKeepRecoveryFiles_ = nullptr;
    QString dataDirectory_;
    std::vector<BookWindow*> windows_;
};

} // namespace vellumar
