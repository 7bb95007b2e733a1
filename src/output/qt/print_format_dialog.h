#pragma once
// The Output Format dialog: columns, the details that follow each spell's
// name, and whether each spell's card follows it. Its controls are the program's OutputFormat,
// edited in place, so a change holds even when the dialog is cancelled; OK and Cancel only tell the
// command that showed it whether to go on. Created once and shown again and again.

#include "output/output_format.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace vellumar {

class TfrmPrintFormat : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPrintFormat(OutputFormat& format, QWidget* parent = nullptr);

    OutputFormat& Format() { return format_; }
    // The choice of `Columns` = index, 0 ("None") to 4 ("Four (4)").
    QRadioButton* ColumnChoice(int index) const;

    QGroupBox* grpColumns;
    QCheckBox* cbBookPage;
    QCheckBox* cbCategory;
    QCheckBox* cbFrequency;
    QCheckBox* cbSpellTexts;
    QPushButton* bnOK;
    QPushButton* bnCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    OutputFormat& format_;
    QButtonGroup* columnButtons_;
    bool titleFitted_ = false;
};

} // namespace vellumar
