#include "ui/about_box.h"

#include "program_version.h"
#include "ui/window_placement.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vellumar {

QString SrdAttribution() {
    return QStringLiteral(
        "This work includes material taken from the System Reference Document 5.1 "
        "(\u201cSRD 5.1\u201d) by Wizards of the Coast LLC and available at "
        "https://dnd.wizards.com/resources/systems-reference-document. The SRD 5.1 is "
        "licensed under the Creative Commons Attribution 4.0 International License "
        "available at https://creativecommons.org/licenses/by/4.0/legalcode.\n\n"
        "Spell names, levels, schools, class lists and rules texts were extracted from "
        "the SRD 5.1 and reformatted.");
}

TfrmAbout::TfrmAbout(const QIcon& image, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Vellumar"));

    auto* panel = new QFrame(this);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    auto* name = new QLabel(QString::fromLatin1(ProductName), panel);
    auto* version =
        new QLabel(QStringLiteral("Version ") + QString::fromLatin1(ProgramVersion), panel);
    for (QLabel* label : {name, version}) {
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
    }
    auto* picture = new QLabel(panel);
    picture->setPixmap(image.pixmap(96, 96));
    picture->setAlignment(Qt::AlignCenter);
    auto* attribution = new QLabel(SrdAttribution(), panel);
    attribution->setWordWrap(true);
    attribution->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont small = attribution->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    attribution->setFont(small);

    auto* grid = new QGridLayout(panel);
    grid->addWidget(name, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(version, 0, 1, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(picture, 1, 0, 1, 2);
    grid->addWidget(attribution, 2, 0, 1, 2);

    bnOK = new QPushButton(QStringLiteral("OK"), this);
    bnOK->setDefault(true);
    connect(bnOK, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bnOK);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addLayout(buttons);
    attribution->setFixedWidth(380);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    CentreOnScreen(*this);
    bnOK->setFocus();
}

} // namespace vellumar
