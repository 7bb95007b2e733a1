#include "platform/qt/help_viewer.h"

#include "platform/qt/command_table.h"
#include "platform/qt/field_labels.h"
#include "platform/qt/prompter.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

namespace vellumar {
namespace {

// The frame of a window `want` big beside `dialog` on `screen`: next to it on
// the first side with room for the whole window (right, left, below, above),
// else on the side with the most room, made smaller to fit there; level with
// the dialog as far as the screen allows.
QRect BesideDialog(const QRect& dialog, const QRect& screen, QSize want) {
    constexpr int Gap = 8;
    const QRect spaces[] = {
        QRect(QPoint(dialog.right() + 1 + Gap, screen.top()), screen.bottomRight()),
        QRect(screen.topLeft(), QPoint(dialog.left() - 1 - Gap, screen.bottom())),
        QRect(QPoint(screen.left(), dialog.bottom() + 1 + Gap), screen.bottomRight()),
        QRect(screen.topLeft(), QPoint(screen.right(), dialog.top() - 1 - Gap)),
    };
    QRect best(screen.topLeft(), want.boundedTo(screen.size()));
    qint64 bestArea = -1;
    for (const QRect& space : spaces) {
        if (space.isEmpty()) continue;
        const QSize size = want.boundedTo(space.size());
        // Clamped into the space, the dialog's corner lands beside the dialog.
        const QPoint corner(
            std::clamp(dialog.left(), space.left(), space.right() + 1 - size.width()),
            std::clamp(dialog.top(), space.top(), space.bottom() + 1 - size.height()));
        if (size == want) return {corner, size};
        const qint64 area = qint64(size.width()) * size.height();
        if (area > bestArea) {
            bestArea = area;
            best = QRect(corner, size);
        }
    }
    return best;
}

} // namespace

HelpViewer::HelpViewer(Prompter& prompter, QWidget* home)
    : QWidget(home, Qt::Window), prompter_(prompter), home_(home),
      browser_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Vellumar Help"));
    browser_->setObjectName(QStringLiteral("memHelp"));
    browser_->setAccessibleName(QStringLiteral("Help text"));
    browser_->setOpenExternalLinks(true);
    browser_->document()->setDocumentMargin(12);

    tbHelp = new QToolBar(this);
    tbHelp->setObjectName(QStringLiteral("tbHelp"));
    tbHelp->setToolButtonStyle(Qt::ToolButtonTextOnly);
    NameToolBarExtension(*tbHelp);

    // The find bar under the text, shown by Find and hidden by Esc.
    pnlFind = new QWidget(this);
    pnlFind->setObjectName(QStringLiteral("pnlFind"));
    ebFind = new QLineEdit(pnlFind);
    ebFind->setObjectName(QStringLiteral("ebFind"));
    AddClearButton(*ebFind);
    ebFind->installEventFilter(this);
    auto* findLabel = new QLabel(QStringLiteral("&Find:"), pnlFind);
    findLabel->setBuddy(ebFind);
    auto* bnPrevious = new QPushButton(pnlFind);
    bnPrevious->setObjectName(QStringLiteral("bnFindPrevious"));
    auto* bnNext = new QPushButton(pnlFind);
    bnNext->setObjectName(QStringLiteral("bnFindNext"));

    using W = HelpViewer;
    // clang-format off
    const CommandActions actions = AddCommands<W>(*this, {
        {.place = tbHelp, .text = "&Back", .handler = [](W& help) { help.browser_->backward(); }, .keys = QKeySequence::Back, .id = "actBack"},
        {.place = tbHelp, .text = "&Forward", .handler = [](W& help) { help.browser_->forward(); }, .keys = QKeySequence::Forward, .id = "actForward"},
        {.place = tbHelp},
        {.place = tbHelp, .text = "F&ind", .handler = &W::ShowFindBar, .keys = QKeySequence::Find, .id = "actFind"},

        {.place = bnPrevious, .text = "&Previous", .handler = [](W& help) { help.FindNext(true); }},
        {.place = bnNext, .text = "&Next", .handler = [](W& help) { help.FindNext(); }},
    });
    // clang-format on
    actBack = actions.At("actBack");
    actForward = actions.At("actForward");
    actFind = actions.At("actFind");
    actBack->setEnabled(false);
    actForward->setEnabled(false);
    for (QAction* action : {actBack, actForward, actFind})
        action->setShortcutContext(Qt::WindowShortcut);
    connect(browser_, &QTextBrowser::backwardAvailable, actBack, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, actForward, &QAction::setEnabled);

    connect(ebFind, &QLineEdit::returnPressed, this, [this] { FindNext(); });
    connect(ebFind, &QLineEdit::textEdited, this, [this] {
        // Typing searches from the place found so far, so the match grows in
        // place; a place out of view gives way to the top of the view.
        QTextCursor cursor = browser_->textCursor();
        if (!browser_->viewport()->rect().intersects(browser_->cursorRect()))
            cursor = browser_->cursorForPosition(QPoint(0, 0));
        cursor.setPosition(cursor.selectionStart());
        browser_->setTextCursor(cursor);
        FindNext();
    });
    auto* findLayout = new QHBoxLayout(pnlFind);
    findLayout->setContentsMargins(6, 3, 6, 3);
    findLayout->addWidget(findLabel);
    findLayout->addWidget(ebFind, 1);
    findLayout->addWidget(bnPrevious);
    findLayout->addWidget(bnNext);
    pnlFind->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tbHelp);
    layout->addWidget(browser_, 1);
    layout->addWidget(pnlFind);
    resize(640, 520);
}

void HelpViewer::SetHelpFile(const QString& path) {
    path_ = path;
}

bool HelpViewer::ShowTopic(int topic) {
    if (!QFileInfo(path_).isReadable() || !QFileInfo(path_).isFile()) {
        prompter_.Message(QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                                            : home_.data(),
                          BoxKind::Error, BoxButtons::Ok,
                          QStringLiteral("Cannot open the help file\r\n") + path_);
        return false;
    }
    FollowModalDialog();
    // Beside the dialog it explains, never over it.
    if (QWidget* modal = QApplication::activeModalWidget();
        modal && (!isVisible() || frameGeometry().intersects(modal->frameGeometry())))
        PlaceBeside(*modal);
    show();
    raise();
    activateWindow();
    // After show(), so that the document has its layout to scroll in. Each
    // topic is a step of the history that Back and Forward walk.
    QUrl url = QUrl::fromLocalFile(path_);
    url.setFragment(QStringLiteral("topic-%1").arg(topic));
    if (loaded_ != path_) browser_->clearHistory();
    browser_->setSource(url, QTextDocument::HtmlResource);
    loaded_ = path_;
    browser_->scrollToAnchor(url.fragment());
    topic_ = topic;
    return true;
}

bool HelpViewer::FindNext(bool backward) {
    const QString text = ebFind->text();
    if (text.isEmpty()) {
        ShowFindResult(true);
        return false;
    }
    // A search starts where the reader is, not where the text cursor was left.
    if (!browser_->viewport()->rect().intersects(browser_->cursorRect()))
        browser_->setTextCursor(browser_->cursorForPosition(QPoint(0, 0)));
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    bool found = browser_->find(text, flags);
    if (!found) {
        // Round again from the other end.
        QTextCursor cursor = browser_->textCursor();
        cursor.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
        browser_->setTextCursor(cursor);
        found = browser_->find(text, flags);
    }
    ShowFindResult(found);
    return found;
}

void HelpViewer::ShowFindBar() {
    pnlFind->show();
    ebFind->setFocus(Qt::ShortcutFocusReason);
    ebFind->selectAll();
}

void HelpViewer::ShowFindResult(bool found) {
    // Found: the scheme's own colours again. Not found: a pale red with dark
    // text, readable in a light scheme and a dark one alike.
    QPalette palette;
    if (!found) {
        palette.setColor(QPalette::Base, QColor(255, 200, 200));
        palette.setColor(QPalette::Text, Qt::black);
    }
    ebFind->setPalette(palette);
}

void HelpViewer::FollowModalDialog() {
    QWidget* modal = QApplication::activeModalWidget();
    MoveTo(modal ? modal : home_.data());
    if (modal && modal_ != modal) {
        modal_ = modal;
        modal->installEventFilter(this);
    }
}

void HelpViewer::MoveTo(QWidget* owner) {
    if (parentWidget() == owner) return;
    // A window on the screen stays where it is (its frame included); one never
    // shown is left to the window manager to place.
    const bool visible = isVisible();
    const QPoint where = pos();
    const QSize size = this->size();
    setParent(owner, Qt::Window);
    resize(size);
    if (visible) {
        move(where);
        show();
    }
}

void HelpViewer::PlaceBeside(const QWidget& dialog) {
    const QScreen* screen = dialog.screen() ? dialog.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    // The window frame as the window manager draws it: ours once shown, until
    // then the dialog's, which the same window manager framed.
    const QWidget& framed = isVisible() ? static_cast<const QWidget&>(*this) : dialog;
    const QMargins frame(framed.geometry().left() - framed.frameGeometry().left(),
                         framed.geometry().top() - framed.frameGeometry().top(),
                         framed.frameGeometry().right() - framed.geometry().right(),
                         framed.frameGeometry().bottom() - framed.geometry().bottom());
    const QRect place =
        BesideDialog(dialog.frameGeometry(), screen->availableGeometry(), size().grownBy(frame));
    resize(place.size().shrunkBy(frame));
    move(place.topLeft());
}

bool HelpViewer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ebFind && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        pnlFind->hide();
        browser_->setFocus();
        return true;
    }
    // The dialog the help joined is closing: back to the dialog under it, or home.
    if (watched == modal_ && event->type() == QEvent::Hide) {
        modal_->removeEventFilter(this);
        modal_ = nullptr;
        QWidget* next = QApplication::activeModalWidget();
        if (next == watched) next = nullptr;
        MoveTo(next ? next : home_.data());
        if (next) {
            modal_ = next;
            next->installEventFilter(this);
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vellumar
