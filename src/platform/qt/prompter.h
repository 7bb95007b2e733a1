#pragma once
// Every message box, file, font and print dialog and every modal showing of our
// own dialogs goes through one Prompter, so that tests can answer them.

#include <QString>
#include <QStringList>

class QColor;
class QDialog;
class QFont;
class QPrinter;
class QWidget;

namespace vellumar {

enum class BoxKind { Error, Information, Confirmation, Warning };
// YesNoDefaultNo: a question whose Yes loses data, so that Enter answers No.
// OkCancelAll: a question of a batch, whose "to All" answers settle the rest.
enum class BoxButtons { Ok, OkCancel, YesNo, YesNoCancel, YesNoDefaultNo, OkCancelAll };
enum class Answer { Ok, Cancel, Yes, No, OkToAll, CancelAll };

struct FileDialogSpec {
    QString title;
    // Pairs of description and pattern separated by "|", e.g. "*.SPB (Spellbook Files)|*.SPB".
    QString filter;
    QString defaultSuffix; // added to a name typed without one
    QString directory;     // starting folder
    QString fileName;      // preset name
    bool mustExist = false;
    bool confirmOverwrite = false;
};

class Prompter {
public:
    virtual ~Prompter() = default;
    // Title defaults to the application title. The informative text stands
    // under the text, in smaller print: the details, such as the system's reason.
    virtual Answer Message(QWidget* parent, BoxKind kind, BoxButtons buttons, const QString& text,
                           const QString& title = QString(),
                           const QString& informative = QString()) = 0;
    // The chosen path, or an empty text on Cancel.
    virtual QString OpenFile(QWidget* parent, const FileDialogSpec& request) = 0;
    virtual QString SaveFile(QWidget* parent, const FileDialogSpec& request) = 0;
    // A folder, or an empty text on Cancel.
    virtual QString ChooseFolder(QWidget* parent, const QString& title, const QString& start) = 0;
    // The font dialog, with the text colour beside the font. True when the user
    // chose; the font and its colour are then in `font` and `colour`.
    virtual bool ChooseFont(QWidget* parent, QFont& font, QColor& colour) = 0;
    // The platform print dialog; true when the user chose to print.
    virtual bool PrintDialog(QWidget* parent, QPrinter& printer) = 0;
    // Printer Setup: the printer (or PDF output) and its page, on OK; prints nothing.
    virtual bool PrinterSetup(QWidget* parent, QPrinter& printer) = 0;
    // Shows one of our own dialogs modally; returns QDialog::Accepted or Rejected.
    virtual int Exec(QDialog& dialog) = 0;
};

} // namespace vellumar
