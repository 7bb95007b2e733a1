#pragma once
// Printer Setup: chooses the printer (or PDF output) and its page; nothing is
// printed from here. The print dialog of a later Print starts from this choice.

#include <QDialog>
#include <QPageLayout>
#include <QPrinter>

class QComboBox;
class QLabel;
class QPushButton;

namespace vellumar {

class PrinterSetupDialog : public QDialog {
    Q_OBJECT
public:
    // The entry of the printer list that stands for writing a PDF file.
    static QString PdfEntry() { return QStringLiteral("PDF file"); }

    // Works on `printer` directly; Cancel puts back what it was.
    PrinterSetupDialog(QPrinter& printer, QWidget* parent = nullptr);

    void done(int result) override;

    QComboBox* cbPrinter;
    QComboBox* cbOrientation;
    QLabel* lblPage;
    QPushButton* bnPageSetup;
    QPushButton* bnOK;
    QPushButton* bnCancel;

private:
    void cbPrinterChange();
    void cbOrientationChange();
    void bnPageSetupClick();
    void ShowPage();

    struct Saved {
        QPrinter::OutputFormat format;
        QString printerName;
        QString outputFileName;
        QPageLayout layout;
    };
    QPrinter& printer_;
    Saved saved_;
};

} // namespace vellumar
