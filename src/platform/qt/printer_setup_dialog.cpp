#include "platform/qt/printer_setup_dialog.h"

#include "platform/qt/dialog_button.h"
#include "platform/qt/field_labels.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace vellumar {

PrinterSetupDialog::PrinterSetupDialog(QPrinter& printer, QWidget* parent)
    : QDialog(parent), printer_(printer), saved_{printer.outputFormat(), printer.printerName(),
                                                 printer.outputFileName(), printer.pageLayout()} {
    setObjectName(QStringLiteral("frmPrinterSetup"));
    setWindowTitle(QStringLiteral("Printer Setup"));

    cbPrinter = new QComboBox;
    cbPrinter->setObjectName(QStringLiteral("cbPrinter"));
    cbPrinter->addItems(QPrinterInfo::availablePrinterNames());
    cbPrinter->addItem(PdfEntry());
    const int current = printer.outputFormat() == QPrinter::PdfFormat
                            ? cbPrinter->count() - 1
                            : std::max(0, cbPrinter->findText(printer.printerName()));
    cbPrinter->setCurrentIndex(current);

    cbOrientation = new QComboBox;
    cbOrientation->setObjectName(QStringLiteral("cbOrientation"));
    cbOrientation->addItems({QStringLiteral("Portrait"), QStringLiteral("Landscape")});
    lblPage = new QLabel;
    lblPage->setObjectName(QStringLiteral("lblPage"));
    bnPageSetup = new QPushButton(QStringLiteral("Page &Setup..."));
    bnPageSetup->setObjectName(QStringLiteral("bnPageSetup"));
    bnPageSetup->setAutoDefault(false);
    OpensDialog(*bnPageSetup);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Printer:"), cbPrinter);
    form->addRow(QStringLiteral("&Orientation:"), cbOrientation);
    form->addRow(QStringLiteral("Paper:"), lblPage);
    form->addRow(QString(), bnPageSetup);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    bnOK = buttons->button(QDialogButtonBox::Ok);
    bnOK->setObjectName(QStringLiteral("bnOK"));
    bnCancel = buttons->button(QDialogButtonBox::Cancel);
    bnCancel->setObjectName(QStringLiteral("bnCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cbPrinter, &QComboBox::currentIndexChanged, this, &PrinterSetupDialog::cbPrinterChange);
    connect(cbOrientation, &QComboBox::currentIndexChanged, this,
            &PrinterSetupDialog::cbOrientationChange);
    connect(bnPageSetup, &QPushButton::clicked, this, &PrinterSetupDialog::bnPageSetupClick);
    cbPrinterChange();
}

void PrinterSetupDialog::cbPrinterChange() {
    // The page settings belong to the printer chosen; they go with it.
    const QPageLayout layout = printer_.pageLayout();
    if (cbPrinter->currentText() == PdfEntry() &&
        cbPrinter->currentIndex() == cbPrinter->count() - 1) {
        printer_.setOutputFormat(QPrinter::PdfFormat);
    } else {
        printer_.setOutputFormat(QPrinter::NativeFormat);
        printer_.setPrinterName(cbPrinter->currentText());
    }
    printer_.setPageLayout(layout);
    ShowPage();
}

void PrinterSetupDialog::cbOrientationChange() {
    printer_.setPageOrientation(cbOrientation->currentIndex() == 1 ? QPageLayout::Landscape
                                                                   : QPageLayout::Portrait);
    ShowPage();
}

void PrinterSetupDialog::bnPageSetupClick() {
    QPageSetupDialog pageSetup(&printer_, this);
    // Qt's page setup leaves some labels without their field, and shows its
    // units list without a label.
    BuddyUnlabelledFields(pageSetup);
    if (auto* units = pageSetup.findChild<QComboBox*>(QStringLiteral("unitCombo")))
        NameComboBox(*units, QStringLiteral("Units"));
    pageSetup.exec();
    ShowPage();
}

void PrinterSetupDialog::ShowPage() {
    const QPageLayout layout = printer_.pageLayout();
    const QSignalBlocker block(cbOrientation);
    cbOrientation->setCurrentIndex(layout.orientation() == QPageLayout::Landscape ? 1 : 0);
    lblPage->setText(layout.pageSize().name());
}

void PrinterSetupDialog::done(int result) {
    if (result != Accepted) {
        printer_.setOutputFormat(saved_.format);
        if (saved_.format == QPrinter::NativeFormat) printer_.setPrinterName(saved_.printerName);
        printer_.setOutputFileName(saved_.outputFileName);
        if (saved_.format != printer_.outputFormat()) printer_.setOutputFormat(saved_.format);
        printer_.setPageLayout(saved_.layout);
    }
    QDialog::done(result);
}

} // namespace vellumar
