#pragma once
// The help window: the help file (HTML with one anchor "topic-N" per topic)
// opened at a topic number.

#include <QWidget>

class QTextBrowser;

namespace vellumar {

class Prompter;

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    HelpViewer(Prompter& prompter, QWidget* parent = nullptr);

    void SetHelpFile(const QString& path);
    const QString& HelpFile() const { return path_; }
    // Shows the window at the topic; false (after an error box) when the file
    // cannot be read.
    bool ShowTopic(int topic);
    int CurrentTopic() const { return topic_; }

private:
    Prompter& prompter_;
    QTextBrowser* browser_;
    QString path_;
    QString loaded_;
    int topic_ = 0;
};

} // namespace vellumar
