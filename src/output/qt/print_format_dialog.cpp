#include "output/qt/print_format_dialog.h"

#include "platform/qt/fitted_labels.h"
#include "platform/qt/help_topics.h"
#include "platform/qt/ok_cancel_buttons.h"
#include "platform/qt/tab_order.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>
#include <utility>

namespace vellumar {

TfrmPrintFormat::TfrmPrintFormat(OutputFormat& format, QWidget* parent)
    : QDialog(parent), format_(format) {
    setWindowTitle(QStringLiteral("Output Format"));
    setObjectName(QStringLiteral("frmPrintFormat"));
    setProperty("helpTopic", int(TopicOutputFormat));

    grpColumns = new QGroupBox(QStringLiteral("# of Columns"), this);
    grpColumns->setObjectName(QStringLiteral("grpColumns"));
    columnButtons_ = new QButtonGroup(this);
    auto* columnsLayout = new QVBoxLayout(grpColumns);
    const char* const choices[] = {"None", "One (1)", "Two (2)", "Three (3)", "Four (4)"};
    for (int i = 0; i < 5; ++i) {
        auto* choice = new QRadioButton(QString::fromLatin1(choices[i]), grpColumns);
        columnButtons_->addButton(choice, i);
        columnsLayout->addWidget(choice);
    }
    const int columns = format_.Columns >= 0 && format_.Columns <= 4 ? format_.Columns : 0;
    columnButtons_->button(columns)->setChecked(true);
    TabToCheckedButton(*columnButtons_);
    connect(columnButtons_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) format_.Columns = id;
    });

    auto makeCheck = [this](const char* name, const QString& caption, bool& field) {
        auto* box = new QCheckBox(caption, this);
        box->setObjectName(QString::fromLatin1(name));
        box->setChecked(field);
        connect(box, &QCheckBox::toggled, this, [&field](bool on) { field = on; });
        return box;
    };
    cbBookPage =
        makeCheck("cbBookPage", QStringLiteral("Include Book && Page"), format_.IncludeBookPage);
    cbCategory =
        makeCheck("cbCategory", QStringLiteral("Include Category"), format_.IncludeCategory);
    cbFrequency =
        makeCheck("cbFrequency", QStringLiteral("Include Frequency"), format_.IncludeFrequency);
    cbSpellTexts =
        makeCheck("cbSpellTexts", QStringLiteral("&Spell texts"), format_.IncludeSpellTexts);

    std::tie(bnOK, bnCancel) = AddOkCancelButtons(*this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(bnOK);
    buttons->addWidget(bnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grpColumns);
    layout->addWidget(cbBookPage);
    layout->addWidget(cbCategory);
    layout->addWidget(cbFrequency);
    layout->addWidget(cbSpellTexts);
    layout->addLayout(buttons);
    // A fixed dialog frame: the layout's size, not resizable.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QRadioButton* TfrmPrintFormat::ColumnChoice(int index) const {
    return qobject_cast<QRadioButton*>(columnButtons_->button(index));
}

void TfrmPrintFormat::showEvent(QShowEvent* event) {
    // The controls alone make a dialog narrower than its title; at its first
    // showing, not at start-up, so that no font is loaded before.
    if (!std::exchange(titleFitted_, true)) {
        auto* box = static_cast<QVBoxLayout*>(layout());
        const QMargins margins = box->contentsMargins();
        box->addStrut(TitleBarWidth(*this) - margins.left() - margins.right());
        box->activate();
    }
    QDialog::showEvent(event);
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

} // namespace vellumar
