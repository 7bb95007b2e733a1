#pragma once
// The small prompt that asks for a specialty's name when renaming or adding.

#include <QDialog>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vellumar {

class Prompter;

class TfrmSpecialtyName : public QDialog {
    Q_OBJECT
public:
    // Sits 113 pixels right of and 24 below the owner's top-left corner.
    explicit TfrmSpecialtyName(QWidget* owner);

    QLabel* lblPrompt = nullptr;
    QLineEdit* ebSpecialtyName = nullptr;
    QPushButton* bnOK = nullptr;
    QPushButton* bnCancel = nullptr;
};

// Creates the prompt for this one use; the name exactly as typed on OK, none otherwise.
std::optional<std::string> AskSpecialtyName(Prompter& prompter, QWidget* owner,
                                            const QString& caption, const QString& prompt,
                                            const std::string& preset);

} // namespace vellumar
