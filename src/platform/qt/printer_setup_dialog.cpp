#include "platform/qt/printer_setup_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace vellumar {

namespace {

// Qt's page setup dialog leaves some labels without their field. On Linux a
// screen reader names a combo box only by a label that has it as buddy (its
// accessible name is its value), so each such label takes the field beside it.
void LabelTheFields(QDialog& dialog) {
    for (auto* grid : dialog.findChildren<QGridLayout*>())
        for (int k = 0; k < grid->count(); ++k) {
            auto* label = qobject_cast<QLabel*>(grid->itemAt(k)->widget());
            if (!label || label->buddy() || label->text().isEmpty()) continue;
            int row = 0, column = 0, rows = 0, columns = 0;
            grid->getItemPosition(k, &row, &column, &rows, &columns);
            const QLayoutItem* field = grid->itemAtPosition(row, column + columns);
            if (field && field->widget() && field->widget()->focusPolicy() & Qt::TabFocus)
                label->setBuddy(field->widget());
        }
}

} // namespace

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
    bnPageSetup = new QPushButton(QStringLiteral("&Page Setup..."));
    bnPageSetup->setObjectName(QStringLiteral("bnPageSetup"));
    bnPageSetup->setAutoDefault(false);

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
    LabelTheFields(pageSetup);
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
