#pragma once
// The Print Preview window: the active spellbook drawn as it will be printed,
// with commands to change the output font and format, set up the printer and print.

#include "model/spell_book.h"
#include "model/spell_text.h"
#include "output/output_format.h"
#include "output/qt/printed_pages.h"

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

    // Draws the active book anew on a blank preview image. With spell texts
    // the preview is the book's pages as Print lays them out, one at a time,
    // as wide as the window has room for (at most their size on paper), and
    // it stays on the page it showed while that page is still there.
    void RenderPreview();
    // The print dialog, then the active book as one print job. True when
    // printed. `printing` hears when the job starts (true) and ends (false).
    bool PrintSpellbook(const std::function<void(bool printing)>& printing = {});

    // The file offered when the book is printed to PDF; none leaves the printer's own.
    void SetSuggestedPdf(const QString& path) { suggestedPdf_ = path; }

    const QImage& PreviewImage() const { return image_; }

    // The page shown, 0 for the first, and how many there are; none while the
    // preview is the single picture of a book without spell texts.
    int Page() const { return page_; }
    int PageCount() const { return paged_ ? pages_.Count() : 0; }

    // `layingOut` hears when laying out the pages starts (true) and ends
    // (false), which takes a while for a big book.
    void SetLayingOut(std::function<void(bool layingOut)> layingOut) {
        layingOut_ = std::move(layingOut);
    }

    // Commands of the button bar and the menu.
    void mnuFontClick();
    void mnuFormatClick();
    void mnuPrinterSetupClick();
    void mnuPrintClick() { PrintSpellbook(); }
    void mnuExitClick() { close(); }
    // Paging, with spell texts.
    void bnPreviousPageClick() { ShowPage(page_ - 1); }
    void bnNextPageClick() { ShowPage(page_ + 1); }
    void FirstPage() { ShowPage(0); }
    void LastPage() { ShowPage(pages_.Count() - 1); }

    QPushButton* bnFont;
    QPushButton* bnFormat;
    QPushButton* bnPrinterSetup;
    QPushButton* bnPrint;
    QPushButton* bnExit;
    QScrollArea* sbPreview;
    QLabel* imgPreview;
    // The page bar, shown with spell texts only.
    QWidget* pnlPages;
    QPushButton* bnPreviousPage;
    QLabel* lblPage;
    QPushButton* bnNextPage;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowPicture(const ActiveBook& active);
    void ShowPage(int page);
    double PageDotsPerInch() const;

    Prompter& prompter_;
    OutputFormat& format_;
    TfrmPrintFormat& formatDialog_;
    QPrinter& printer_;
    std::function<ActiveBook()> activeBook_;
    std::function<void()> printerSetup_;
    std::function<void(bool)> layingOut_;
    QImage image_;
    QString suggestedPdf_;
    PrintedPages pages_;
    bool paged_ = false;
    int page_ = 0;
    double shownDotsPerInch_ = 0;
};

} // namespace vellumar
