#pragma once
// The about box: name, version, picture, and the attribution of the sample spell data.

#include <QDialog>

class QIcon;
class QPushButton;

namespace vellumar {

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    // `image`: the program's picture, shown at 96 by 96.
    explicit TfrmAbout(const QIcon& image, QWidget* parent = nullptr);

    QPushButton* bnOK;
};

// The attribution the sample master list's licence asks for.
QString SrdAttribution();

} // namespace vellumar
