#include "output/qt/print_preview_window.h"

#include "output/qt/book_rendering.h"
#include "output/qt/output_font.h"
#include "output/qt/print_format_dialog.h"
#include "platform/qt/command_table.h"
#include "platform/qt/help_topics.h"
#include "platform/qt/prompter.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPixmap>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
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
    for (const auto& [field, name] : fields) {
        *field = new QPushButton(this);
        (*field)->setObjectName(QString::fromLatin1(name));
        (*field)->setAutoDefault(false);
        buttonBar->addWidget(*field);
    }
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
    layout->addWidget(sbPreview, 1);
    resize(714, 668);
}

void TfrmPrintPreview::RenderPreview() {
    const ActiveBook active = activeBook_ ? activeBook_() : ActiveBook{};
    image_ = RenderPreviewImage(PreviewSize, active.book, active.caption, format_, active.texts);
    imgPreview->setPixmap(QPixmap::fromImage(image_));
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
