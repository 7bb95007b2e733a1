#include "ui/spell_edit_dialog.h"

#include "model/spell.h"
#include "model/spell_book.h"
#include "model/spell_text.h"
#include "platform/qt/dialog_button.h"
#include "platform/qt/help_topics.h"
#include "platform/qt/text_conversion.h"
#include "ui/spin_edit.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vellumar {

TfrmSpellEdit::TfrmSpellEdit(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      spnLevel(new SpinEdit(MinSpellLevel, MaxSpellLevel, this)), ebName(new QLineEdit(this)),
      ebBook(new QLineEdit(this)), ebPage(new QLineEdit(this)), ebCategory(new QLineEdit(this)),
      cbFrequency(new QComboBox(this)), details_(std::make_unique<SpellText>()) {
    setObjectName(QStringLiteral("frmSpellEdit"));
    setWindowTitle(QStringLiteral("Edit Spell Data"));
    setProperty("helpTopic", int(TopicSpellEdit));
    for (const char* name : FrequencyNamesCommonFirst()) cbFrequency->addItem(name);
    ebPage->setMaximumWidth(70);
    spnLevel->setFixedWidth(spnLevel->sizeHint().width());
    ebName->setMinimumWidth(260);

    auto* grid = new QGridLayout;
    const std::pair<const char*, QWidget*> rows[] = {
        {"Level", spnLevel}, {"Name", ebName},         {"Book", ebBook},
        {"Page", ebPage},    {"Category", ebCategory}, {"Frequency", cbFrequency},
    };
    int row = 0;
    for (const auto& [text, field] : rows) {
        auto* label = new QLabel(QString::fromLatin1(text), this);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        label->setBuddy(field);
        grid->addWidget(label, row, 0, Qt::AlignRight);
        grid->addWidget(field, row, 1, Qt::AlignLeft);
        ++row;
    }
    auto* buttons = new QDialogButtonBox(this);
    bnOK = buttons->addButton(QDialogButtonBox::Ok);
    bnCancel = buttons->addButton(QDialogButtonBox::Cancel);
    bnDetails = buttons->addButton(QStringLiteral("&Details..."), QDialogButtonBox::ActionRole);
    bnDetails->setObjectName(QStringLiteral("bnDetails"));
    bnDetails->setAutoDefault(false);
    OpensDialog(*bnDetails);
    bnDetails->hide();
    connect(bnDetails, &QPushButton::clicked, this, [this] {
        SpellText text = *details_;
        if (editDetails_ && editDetails_(text)) *details_ = std::move(text);
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // The files drop a spell without a name when they are read back, so such a
    // spell would be lost at the next save: OK waits for a name.
    bnOK->setEnabled(false);
    connect(ebName, &QLineEdit::textChanged, this,
            [this](const QString& name) { bnOK->setEnabled(!name.isEmpty()); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(spnLevel, ebName);
    setTabOrder(ebName, ebBook);
    setTabOrder(ebBook, ebPage);
    setTabOrder(ebPage, ebCategory);
    setTabOrder(ebCategory, cbFrequency);
    setTabOrder(cbFrequency, bnDetails);
}

TfrmSpellEdit::~TfrmSpellEdit() = default;

void TfrmSpellEdit::LoadDetails(const SpellText* text) {
    *details_ = text ? *text : SpellText();
}

void TfrmSpellEdit::OfferDetails(std::function<bool(SpellText&)> edit) {
    editDetails_ = std::move(edit);
    bnDetails->setVisible(bool(editDetails_));
}

void TfrmSpellEdit::LoadSpellIntoDialog(const tSpell* spell) {
    QWidget* fields[] = {spnLevel, ebName, ebBook, ebPage, ebCategory, cbFrequency};
    for (QWidget* field : fields) field->setEnabled(spell != nullptr);
    *details_ = SpellText();
    if (!spell) return;
    spnLevel->setValue(spell->Level);
    ebName->setText(ToQString(spell->Name));
    ebBook->setText(ToQString(spell->Book));
    ebPage->setText(QString::number(spell->Page));
    ebCategory->setText(ToQString(spell->Category));
    cbFrequency->setCurrentIndex(FrequencyRow(spell->Frequency));
    spnLevel->setFocus();
}

void TfrmSpellEdit::ReadSpellFromDialog(tSpell* spell) const {
    if (!spell) return;
    spell->Level = std::clamp(spnLevel->TypedValue(MinSpellLevel), MinSpellLevel, MaxSpellLevel);
    spell->Name = FromQString(ebName->text());
    spell->Book = FromQString(ebBook->text());
    bool ok = false;
    const int page = ebPage->text().toInt(&ok, 10);
    spell->Page = ok ? page : 0;
    spell->Category = FromQString(ebCategory->text());
    spell->Frequency = FrequencyOfRow(cbFrequency->currentIndex());
}

} // namespace vellumar
