#include "ui/book_parm_dialog.h"

#include "model/frequency.h"
#include "model/generalist.h"
#include "model/specialty.h"
#include "platform/qt/fitted_labels.h"
#include "platform/qt/help_topics.h"
#include "platform/qt/ok_cancel_buttons.h"
#include "platform/qt/tab_order.h"
#include "platform/qt/text_conversion.h"
#include "rules/caster_tables.h"
#include "ui/face_coloured_field.h"

#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace vellumar {
namespace {

// Fills a framed radio group with the numbers first..last, column by column.
QButtonGroup* RadioGroup(QWidget* parent, const QRect& frame, int columns, int first, int last) {
    auto* box = new QFrame(parent);
    box->setFrameShape(QFrame::StyledPanel);
    box->setGeometry(frame);
    auto* group = new QButtonGroup(parent);
    const int count = last - first + 1;
    const int rows = (count + columns - 1) / columns;
    const int rowHeight = (frame.height() - 8) / rows;
    const int columnWidth = (frame.width() - 8) / columns;
    for (int i = 0; i < count; ++i) {
        auto* button = new QRadioButton(QString::number(first + i), box);
        button->setGeometry(6 + (i / rows) * columnWidth, 4 + (i % rows) * rowHeight,
                            columnWidth - 2, rowHeight);
        group->addButton(button, i);
    }
    return group;
}

QListWidget* GreyList(QWidget* parent, const QRect& frame) {
    auto* list = new QListWidget(parent);
    list->setGeometry(frame);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    ColourAsFace(*list);
    return list;
}

// A column heading centred over its control, by the label itself: measuring the text here would
// load the small font at start-up, long before the dialog is first shown (showEvent widens a
// heading its font needs wider).
QLabel* Heading(QWidget* parent, const QString& text, int left, int width) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPixelSize(11);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    label->setGeometry(left, 32, width, 17);
    return label;
}

// The heading labels its column; lists and button frames read no buddy for
// their name, so they also carry the heading's text.
void LabelColumn(QLabel* heading, QWidget* column) {
    heading->setBuddy(column);
    column->setAccessibleName(heading->text());
}

} // namespace

TfrmBookParm::TfrmBookParm(const tSpecialtyList& specialties, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      specialties_(specialties) {
    setObjectName(QStringLiteral("frmBookParm"));
    setWindowTitle(QStringLiteral("New Spellbook Parameters"));
    setProperty("helpTopic", int(TopicNewSpellbook));
    QFont small = font();
    small.setPixelSize(12);
    setFont(small);
    setFixedSize(479, 336);

    auto* title = new QLabel(QStringLiteral("Select Options for New Spellbook"), this);
    title->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    title->setGeometry(104, 4, 209, 20);

    QLabel* const casterHeading = Heading(this, QStringLiteral("Caster Level"), 5, 140);
    QLabel* const intelligenceHeading = Heading(this, QStringLiteral("Intelligence"), 155, 46);
    QLabel* const specialtyHeading = Heading(this, QStringLiteral("Specialty"), 216, 129);
    QLabel* const frequencyHeading = Heading(this, QStringLiteral("Spell Frequency"), 352, 117);

    grpCasterLevel = RadioGroup(this, {5, 51, 140, 231}, 3, MinCasterLevel, MaxCasterLevel);
    grpCasterIntelligence =
        RadioGroup(this, {155, 51, 46, 231}, 1, MinIntelligence, MaxIntelligence);
    lbSpecialty = GreyList(this, {216, 56, 129, 225});
    lbSpellFrequency = GreyList(this, {352, 56, 117, 113});
    LabelColumn(casterHeading, grpCasterLevel->button(0)->parentWidget());
    LabelColumn(intelligenceHeading, grpCasterIntelligence->button(0)->parentWidget());
    LabelColumn(specialtyHeading, lbSpecialty);
    LabelColumn(frequencyHeading, lbSpellFrequency);

    std::tie(bnOK, bnCancel) = AddOkCancelButtons(*this);
    bnOK->setGeometry(104, 293, 86, 28);
    bnCancel->setGeometry(216, 293, 97, 28);

    grpCasterLevel->button(0)->setChecked(true);
    grpCasterIntelligence->button(0)->setChecked(true);
    TabToCheckedButton(*grpCasterLevel);
    TabToCheckedButton(*grpCasterIntelligence);
    RebuildSpecialties();
    for (const char* name : FrequencyNamesCommonFirst()) lbSpellFrequency->addItem(name);
    lbSpellFrequency->setCurrentRow(0);
}

void TfrmBookParm::RebuildSpecialties() {
    lbSpecialty->clear();
    for (const std::string& name : specialties_.OfferedSpecialties())
        lbSpecialty->addItem(ToQString(name));
    lbSpecialty->setCurrentRow(0);
}

void TfrmBookParm::showEvent(QShowEvent* event) {
    FitLabelsToText(*this);
    QDialog::showEvent(event);
}

int TfrmBookParm::CasterLevel() const {
    return grpCasterLevel->checkedId() + MinCasterLevel;
}

int TfrmBookParm::Intelligence() const {
    return grpCasterIntelligence->checkedId() + MinIntelligence;
}

QString TfrmBookParm::Specialty() const {
    const QListWidgetItem* item = lbSpecialty->currentItem();
    return item ? item->text() : QString::fromLatin1(Generalist);
}

int TfrmBookParm::FrequencyPosition() const {
    return std::max(lbSpellFrequency->currentRow(), 0);
}

} // namespace vellumar
