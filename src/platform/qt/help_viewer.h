#pragma once
// The help window: the help file (HTML with one anchor "topic-N" per topic)
// opened at a topic number, with Back, Forward and Find. It stays usable while
// a modal dialog is up, since that is when help is asked for most.

#include <QPointer>
#include <QWidget>

class QAction;
class QLineEdit;
class QTextBrowser;
class QToolBar;

namespace vellumar {

class Prompter;

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    // `home`: the window the help belongs to while no modal dialog is up.
    HelpViewer(Prompter& prompter, QWidget* home = nullptr);

    void SetHelpFile(const QString& path);
    const QString& HelpFile() const { return path_; }
    // Shows the window at the topic; false (after an error box) when the file
    // cannot be read.
    bool ShowTopic(int topic);
    int CurrentTopic() const { return topic_; }

    // Finds the next (or previous) place of the find field's text, from the
    // start again after the end. False when the text is nowhere.
    bool FindNext(bool backward = false);

    QTextBrowser* Browser() const { return browser_; }
    QToolBar* tbHelp;
    QAction* actBack;
    QAction* actForward;
    QAction* actFind;
    QWidget* pnlFind;
    QLineEdit* ebFind;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A modal dialog blocks every window outside its own family: while one is
    // up the help window joins it, and goes home again when it closes.
    void FollowModalDialog();
    void MoveTo(QWidget* owner);
    // Puts the window on the dialog's screen beside it, smaller where the
    // screen has no room for it whole.
    void PlaceBeside(const QWidget& dialog);
    void ShowFindBar();
    void ShowFindResult(bool found);

    Prompter& prompter_;
    QPointer<QWidget> home_;
    QPointer<QWidget> modal_;
    QTextBrowser* browser_;
    QString path_;
    QString loaded_;
    int topic_ = 0;
};

} // namespace vellumar
