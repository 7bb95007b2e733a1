#include "platform/qt/help_viewer.h"

#include "platform/qt/prompter.h"

#include <QFile>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace vellumar {

HelpViewer::HelpViewer(Prompter& prompter, QWidget* parent)
    : QWidget(parent, Qt::Window), prompter_(prompter), browser_(new QTextBrowser(this)) {
    setWindowTitle(QStringLiteral("Vellumar Help"));
    browser_->setOpenExternalLinks(true);
    browser_->document()->setDocumentMargin(12);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 520);
}

void HelpViewer::SetHelpFile(const QString& path) {
    path_ = path;
}

bool HelpViewer::ShowTopic(int topic) {
    if (loaded_ != path_) {
        QFile file(path_);
        if (!file.open(QIODevice::ReadOnly)) {
            prompter_.Message(parentWidget(), BoxKind::Error, BoxButtons::Ok,
                              QStringLiteral("Cannot open the help file\r\n") + path_);
            return false;
        }
        browser_->setHtml(QString::fromUtf8(file.readAll()));
        loaded_ = path_;
    }
    topic_ = topic;
    show();
    raise();
    activateWindow();
    // After show(), so that the document has its layout to scroll in.
    browser_->scrollToAnchor(QStringLiteral("topic-%1").arg(topic));
    return true;
}

} // namespace vellumar
