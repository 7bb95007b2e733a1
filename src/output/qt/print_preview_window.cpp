#include "output/qt/print_preview_window.h"

#include "output/page_layout.h"
#include "output/qt/book_rendering.h"
#include "output/qt/output_font.h"
#include "output/qt/print_format_dialog.h"
#include "platform/qt/command_table.h"
#include "platform/qt/dialog_button.h"
#include "platform/qt/help_topics.h"
#include "platform/qt/prompter.h"
#include "platform/qt/tab_order.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPixmap>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace vellumar {

TfrmPrintPreview::TfrmPrintPreview(Prompter& prompter, OutputFormat& format,
                                   TfrmPrintFormat& formatDialog, QPrinter& printer,
                                   std::function<ActiveBook()> activeBook,
                                   std::function<void()> printerSetup, QWidget* parent)
    : QDialog(parent), prompter_(prompter), format_(format), formatDialog_(formatDialog),
      printer_(printer), activeBook_(std::move(activeBook)),
      printerSetup_(std::move(printerSetup)) {
    setWindowTitle(QStringLiteral("Print Preview"));
    setObjectName(QStringLiteral("frmPrintPreview"));
    setProperty("helpTopic", int(TopicPrintPreview));
    setSizeGripEnabled(true);

    auto* menuBar = new QMenuBar(this);
    auto* buttonBar = new QHBoxLayout;
    const std::pair<QPushButton**, const char*> fields[] = {
        {&bnFont, "bnFont"},   {&bnFormat, "bnFormat"}, {&bnPrinterSetup, "bnPrinterSetup"},
        {&bnPrint, "bnPrint"}, {&bnExit, "bnExit"},
    };
    auto makeButton = [](QPushButton** field, const char* name, QHBoxLayout* bar, QWidget* parent) {
        *field = new QPushButton(parent);
        (*field)->setObjectName(QString::fromLatin1(name));
        (*field)->setAutoDefault(false);
        bar->addWidget(*field);
    };
    for (const auto& [field, name] : fields) makeButton(field, name, buttonBar, this);
    for (QPushButton* button : {bnFont, bnFormat, bnPrinterSetup, bnPrint}) OpensDialog(*button);

    pnlPages = new QWidget(this);
    pnlPages->setObjectName(QStringLiteral("pnlPages"));
    auto* pageBar = new QHBoxLayout(pnlPages);
    pageBar->setContentsMargins(QMargins());
    makeButton(&bnPreviousPage, "bnPreviousPage", pageBar, pnlPages);
    lblPage = new QLabel(pnlPages);
    lblPage->setObjectName(QStringLiteral("lblPage"));
    pageBar->addWidget(lblPage);
    makeButton(&bnNextPage, "bnNextPage", pageBar, pnlPages);
    pageBar->addStretch();
    pnlPages->hide();
    using W = TfrmPrintPreview;
    // clang-format off
    AddCommands<W>(*this, {
        {.place = bnFont, .text = "Change Font", .handler = &W::mnuFontClick},
        {.place = bnFormat, .text = "Output Format", .handler = &W::mnuFormatClick},
        {.place = bnPrinterSetup, .text = "Printer Setup", .handler = &W::mnuPrinterSetupClick},
        {.place = bnPrint, .text = "Print", .handler = &W::mnuPrintClick},
        {.place = bnExit, .text = "E&xit", .handler = &W::mnuExitClick},

        {.place = menuBar, .text = "&Font", .handler = &W::mnuFontClick, .id = "mnuFont"},
        {.place = menuBar, .text = "F&ormat", .handler = &W::mnuFormatClick, .id = "mnuFormat"},
        {.place = menuBar, .text = "Printer &Setup", .handler = &W::mnuPrinterSetupClick, .id = "mnuPrinterSetup"},
        {.place = menuBar, .text = "&Print", .handler = &W::mnuPrintClick, .id = "mnuPrint"},
        {.place = menuBar, .text = "E&xit", .handler = &W::mnuExitClick, .id = "mnuExit"},

        {.place = bnPreviousPage, .text = "Pre&vious Page", .handler = &W::bnPreviousPageClick},
        {.place = bnNextPage, .text = "&Next Page", .handler = &W::bnNextPageClick},
        // Keys of the page bar, alive only while it shows.
        {.place = pnlPages, .text = "Previous Page", .handler = &W::bnPreviousPageClick, .keys = Qt::Key_PageUp},
        {.place = pnlPages, .text = "Next Page", .handler = &W::bnNextPageClick, .keys = Qt::Key_PageDown},
        {.place = pnlPages, .text = "First Page", .handler = &W::FirstPage, .keys = Qt::Key_Home},
        {.place = pnlPages, .text = "Last Page", .handler = &W::LastPage, .keys = Qt::Key_End},
    });
    // clang-format on
    buttonBar->addStretch();
    // Alt+X belongs to both Exit captions; two owners would make Qt treat it as
    // ambiguous and run neither, so the menu alone answers it.
    bnExit->setShortcut(QKeySequence());

    imgPreview = new QLabel;
    imgPreview->setObjectName(QStringLiteral("imgPreview"));
    imgPreview->setFixedSize(PreviewSize);
    imgPreview->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    sbPreview = new QScrollArea(this);
    sbPreview->setObjectName(QStringLiteral("sbPreview"));
    sbPreview->setWidget(imgPreview);
    sbPreview->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addLayout(buttonBar);
    layout->addWidget(pnlPages);
    layout->addWidget(sbPreview, 1);
    ChainTabOrder(
        {bnFont, bnFormat, bnPrinterSetup, bnPrint, bnExit, bnPreviousPage, bnNextPage, sbPreview});
    resize(714, 668);
}

void TfrmPrintPreview::RenderPreview() {
    const ActiveBook active = activeBook_ ? activeBook_() : ActiveBook{};
    paged_ = format_.IncludeSpellTexts && active.book;
    if (!paged_) {
        pnlPages->hide();
        pages_.Clear();
        page_ = 0;
        ShowPicture(active);
        return;
    }
    pages_.Update(*active.book, active.caption, active.texts, format_, printer_, layingOut_);
    pnlPages->show();
    ShowPage(page_);
}

void TfrmPrintPreview::ShowPicture(const ActiveBook& active) {
    image_ = RenderPreviewImage(PreviewSize, active.book, active.caption, format_, active.texts);
    imgPreview->setFixedSize(PreviewSize);
    imgPreview->setPixmap(QPixmap::fromImage(image_));
    sbPreview->setAccessibleDescription(QString());
}

void TfrmPrintPreview::ShowPage(int page) {
    if (!paged_) return;
    const int count = pages_.Count();
    const int shown = page_;
    page_ = std::clamp(page, 0, count - 1);
    // Drawn at the screen's own pixels, so that a page stays sharp on a
    // high-density screen.
    const qreal ratio = imgPreview->devicePixelRatioF();
    shownDotsPerInch_ = PageDotsPerInch();
    image_ = pages_.PageImage(page_, shownDotsPerInch_ * ratio);
    QPixmap pixmap = QPixmap::fromImage(image_);
    pixmap.setDevicePixelRatio(ratio);
    imgPreview->setFixedSize(pixmap.deviceIndependentSize().toSize());
    imgPreview->setPixmap(pixmap);
    const QString where = QStringLiteral("Page %1 of %2").arg(page_ + 1).arg(count);
    lblPage->setText(where);
    sbPreview->setAccessibleDescription(where);
    const bool back = page_ > 0;
    const bool forward = page_ + 1 < count;
    // A page button that can go no further hands the focus to the other one.
    if (bnPreviousPage->hasFocus() && !back && forward) {
        bnNextPage->setEnabled(true);
        bnNextPage->setFocus();
    }
    if (bnNextPage->hasFocus() && !forward && back) {
        bnPreviousPage->setEnabled(true);
        bnPreviousPage->setFocus();
    }
    bnPreviousPage->setEnabled(back);
    bnNextPage->setEnabled(forward);
    if (page_ != shown) sbPreview->verticalScrollBar()->setValue(0);
}

// The page as wide as the scrolling area leaves room for beside its
// vertical scroll bar, and never larger than on paper.
double TfrmPrintPreview::PageDotsPerInch() const {
    const int room = sbPreview->width() - 2 * sbPreview->frameWidth() -
                     sbPreview->verticalScrollBar()->sizeHint().width();
    const double inches = pages_.PaperWidthInches();
    const double most = LayoutParams::ScreenDotsPerInch;
    return inches > 0 ? std::clamp(room / inches, 1.0, most) : most;
}

void TfrmPrintPreview::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (paged_ && PageDotsPerInch() != shownDotsPerInch_) ShowPage(page_);
}

bool TfrmPrintPreview::PrintSpellbook(const std::function<void(bool printing)>& printing) {
    // Print runs from the spellbook window without this window ever showing.
    QWidget* owner = isVisible() ? this : parentWidget();
    if (!suggestedPdf_.isEmpty()) SuggestPdfFile(printer_, suggestedPdf_);
    if (!prompter_.PrintDialog(owner, printer_)) return false;
    const ActiveBook active = activeBook_ ? activeBook_() : ActiveBook{};
    if (!active.book) return false;
    if (printing) printing(true);
    const bool printed =
        static_cast<bool>(PrintBook(printer_, *active.book, active.caption, format_, active.texts));
    if (printing) printing(false);
    if (!printed) {
        // The classic box, whatever part of the job failed.
        prompter_.Message(owner, BoxKind::Error, BoxButtons::Ok,
                          QStringLiteral("The print job could not be started."));
        return false;
    }
    return true;
}

void TfrmPrintPreview::mnuFontClick() {
    QFont font = ToQFont(format_.Font, FontScale::Points);
    QColor colour = OutputFontColour(format_.Font);
    if (!prompter_.ChooseFont(this, font, colour)) return;
    TakeChosenFont(font, format_.Font);
    TakeChosenColour(colour, format_.Font);
    RenderPreview();
}

void TfrmPrintPreview::mnuFormatClick() {
    if (prompter_.Exec(formatDialog_) == QDialog::Accepted) RenderPreview();
}

void TfrmPrintPreview::mnuPrinterSetupClick() {
    if (printerSetup_) printerSetup_();
    RenderPreview();
}

bool TfrmPrintPreview::event(QEvent* event) {
    // Every activation takes the active book again: it or the settings may have
    // changed while another window was in front.
    if (event->type() == QEvent::WindowActivate) RenderPreview();
    return QDialog::event(event);
}

} // namespace vellumar
