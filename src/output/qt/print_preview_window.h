#pragma once
// The Print Preview window: the active spellbook drawn as it will be printed,
// with commands to change the output font and format, set up the printer and print.

#include "model/spell_book.h"
#include "model/spell_text.h"
#include "output/output_format.h"

#include <QDialog>
#include <QImage>
#include <QString>

#include <functional>

class QLabel;
class QPrinter;
class QPushButton;
class QScrollArea;

namespace vellumar {

class Prompter;
class TfrmPrintFormat;

// The book to draw and the caption of the window that holds it; no book draws
// nothing. `texts`, the master list's, give the cards when the format asks for
// spell texts; none gives no cards.
struct ActiveBook {
    TSpellBook* book = nullptr;
    QString caption;
    const SpellTexts* texts = nullptr;
};

class TfrmPrintPreview : public QDialog {
    Q_OBJECT
public:
    static constexpr QSize PreviewSize{551, 442};

    // prompter: font and print dialogs, and the modal showing of `formatDialog`.
    // format: the program's single OutputFormat; Change Font writes its font.
    // formatDialog: the Output Format dialog that edits `format`.
    // printer: the printer that Printer Setup configures and Print prints on.
    // activeBook: asked for the active spellbook window's book and caption each
    //   time the window becomes active and each time Print starts.
    // printerSetup: the frame's Printer Setup command; the preview redraws after it.
    // The window draws nothing until it is activated or RenderPreview is called;
    // Print works without the window ever being shown.
    TfrmPrintPreview(Prompter& prompter, OutputFormat& format, TfrmPrintFormat& formatDialog,
                     QPrinter& printer, std::function<ActiveBook()> activeBook,
                     std::function<void()> printerSetup, QWidget* parent = nullptr);

    // Draws the active book anew on a blank preview image.
    void RenderPreview();
    // The print dialog, then the active book as one print job. True when
    // printed. `printing` hears when the job starts (true) and ends (false).
    bool PrintSpellbook(const std::function<void(bool printing)>& printing = {});

    // The file offered when the book is printed to PDF; none leaves the printer's own.
    void SetSuggestedPdf(const QString& path) { suggestedPdf_ = path; }

    const QImage& PreviewImage() const { return image_; }

    // Commands of the button bar and the menu.
    void mnuFontClick();
    void mnuFormatClick();
    void mnuPrinterSetupClick();
    void mnuPrintClick() { PrintSpellbook(); }
    void mnuExitClick() { close(); }

    QPushButton* bnFont;
    QPushButton* bnFormat;
    QPushButton* bnPrinterSetup;
    QPushButton* bnPrint;
    QPushButton* bnExit;
    QScrollArea* sbPreview;
    QLabel* imgPreview;

protected:
    bool event(QEvent* event) override;

private:
    Prompter& prompter_;
    OutputFormat& format_;
    TfrmPrintFormat& formatDialog_;
    QPrinter& printer_;
    std::function<ActiveBook()> activeBook_;
    std::function<void()> printerSetup_;
    QImage image_;
    QString suggestedPdf_;
};

} // namespace vellumar
