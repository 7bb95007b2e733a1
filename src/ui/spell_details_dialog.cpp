#include "ui/spell_details_dialog.h"

#include "platform/qt/help_topics.h"
#include "platform/qt/ok_cancel_buttons.h"
#include "platform/qt/tab_order.h"

#include <QAbstractTextDocumentLayout>
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace vellumar {
namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

std::string ToUtf8(const QString& text) {
    return text.toUtf8().toStdString();
}

bool IsTableRow(const std::string& paragraph) {
    return !paragraph.empty() && paragraph.front() == '|';
}

bool Holds(const std::vector<std::string>& components, const char* component) {
    return std::find(components.begin(), components.end(), component) != components.end();
}

// A field read back: the loaded value while the field still shows it.
std::string Field(const QLineEdit* edit, const std::string& loaded) {
    return edit->text() == FromUtf8(loaded) ? loaded : ToUtf8(edit->text());
}

std::vector<std::string> Paragraphs(const QPlainTextEdit* edit,
                                    const std::vector<std::string>& loaded) {
    const QString text = edit->toPlainText();
    return text == ParagraphsText(loaded) ? loaded : TextParagraphs(text);
}

} // namespace

QString ParagraphsText(const std::vector<std::string>& paragraphs) {
    QString text;
    for (size_t i = 0; i < paragraphs.size(); ++i) {
        if (i > 0)
            text += IsTableRow(paragraphs[i - 1]) && IsTableRow(paragraphs[i])
                        ? QStringLiteral("\n")
                        : QStringLiteral("\n\n");
        text += FromUtf8(paragraphs[i]);
    }
    return text;
}

std::vector<std::string> TextParagraphs(const QString& text) {
    std::vector<std::string> paragraphs;
    QString paragraph;
    auto end = [&] {
        if (!paragraph.isEmpty()) paragraphs.push_back(ToUtf8(paragraph));
        paragraph.clear();
    };
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('|'))) end();
        if (line.trimmed().isEmpty()) continue;
        if (!paragraph.isEmpty()) paragraph += QLatin1Char('\n');
        paragraph += line;
        if (line.startsWith(QLatin1Char('|'))) end();
    }
    end();
    return paragraphs;
}

TfrmSpellDetails::TfrmSpellDetails(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      ebSchool(new QLineEdit(this)), ebCastingTime(new QLineEdit(this)),
      ebRange(new QLineEdit(this)), cbVerbal(new QCheckBox(QStringLiteral("&V"), this)),
      cbSomatic(new QCheckBox(QStringLiteral("&S"), this)),
      cbMaterial(new QCheckBox(QStringLiteral("&M"), this)), ebMaterial(new QLineEdit(this)),
      ebDuration(new QLineEdit(this)), cbRitual(new QCheckBox(QStringLiteral("R&itual"), this)),
      cbConcentration(new QCheckBox(QStringLiteral("&Concentration"), this)),
      memDescription(new QPlainTextEdit(this)), memHigherLevels(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("frmSpellDetails"));
    setWindowTitle(QStringLiteral("Spell Details"));
    setProperty("helpTopic", int(TopicSpellEdit));
    cbVerbal->setAccessibleName(QStringLiteral("Verbal"));
    cbSomatic->setAccessibleName(QStringLiteral("Somatic"));
    cbMaterial->setAccessibleName(QStringLiteral("Material component"));
    for (QPlainTextEdit* memo : {memDescription, memHigherLevels}) {
        memo->setTabChangesFocus(true);
        memo->setMinimumWidth(420);
    }
    memDescription->setMinimumHeight(180);
    connect(memHigherLevels->document()->documentLayout(),
            &QAbstractTextDocumentLayout::documentSizeChanged, this,
            &TfrmSpellDetails::FitHigherLevels);
    FitHigherLevels();

    auto* components = new QHBoxLayout;
    for (QCheckBox* box : {cbVerbal, cbSomatic, cbMaterial}) components->addWidget(box);
    components->addStretch();
    auto* marks = new QHBoxLayout;
    marks->addWidget(cbRitual);
    marks->addWidget(cbConcentration);
    marks->addStretch();

    auto* form = new QFormLayout;
    auto row = [this, form](const char* text, QWidget* field) {
        auto* label = new QLabel(QString::fromLatin1(text), this);
        label->setBuddy(field);
        form->addRow(label, field);
    };
    row("Sch&ool:", ebSchool);
    row("Casting &Time:", ebCastingTime);
    row("&Range:", ebRange);
    form->addRow(new QLabel(QStringLiteral("Components:"), this), components);
    row("M&aterial:", ebMaterial);
    row("&Duration:", ebDuration);
    form->addRow(QString(), marks);
    row("D&escription:", memDescription);
    row("At &Higher Levels:", memHigherLevels);

    std::tie(bnOK, bnCancel) = AddOkCancelButtons(*this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bnOK);
    buttons->addWidget(bnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    ChainTabOrder({ebSchool, ebCastingTime, ebRange, cbVerbal, cbSomatic, cbMaterial, ebMaterial,
                   ebDuration, cbRitual, cbConcentration, memDescription, memHigherLevels, bnOK,
                   bnCancel});
}

void TfrmSpellDetails::SetSpellName(const QString& name) {
    setWindowTitle(name.isEmpty() ? QStringLiteral("Spell Details")
                                  : QStringLiteral("Spell Details - ") + name);
}

void TfrmSpellDetails::FitHigherLevels() {
    // Two lines when empty, to type into; beyond eight it scrolls.
    constexpr int FewestLines = 2;
    constexpr int MostLines = 8;
    const QTextDocument& document = *memHigherLevels->document();
    const QAbstractTextDocumentLayout& layout = *document.documentLayout();
    // A plain text layout measures its document in lines, wrapped ones included,
    // and each block in pixels, the last with the margin below it.
    const int lines = int(layout.documentSize().height());
    const qreal margin = document.documentMargin();
    qreal text = -margin;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        text += layout.blockBoundingRect(block).height();
    const qreal line =
        lines > 0 && text > 0 ? text / lines : memHigherLevels->fontMetrics().height();
    // One pixel more, as the scroll bar counts.
    memHigherLevels->setFixedHeight(
        int(std::ceil(std::clamp(lines, FewestLines, MostLines) * line + 2 * margin)) +
        2 * memHigherLevels->frameWidth() + 1);
}

void TfrmSpellDetails::LoadTextIntoDialog(const SpellText& text) {
    loaded_ = text;
    ebSchool->setText(FromUtf8(text.School));
    ebCastingTime->setText(FromUtf8(text.CastingTime));
    ebRange->setText(FromUtf8(text.Range));
    cbVerbal->setChecked(Holds(text.Components, "V"));
    cbSomatic->setChecked(Holds(text.Components, "S"));
    cbMaterial->setChecked(Holds(text.Components, "M"));
    ebMaterial->setText(FromUtf8(text.Material));
    ebDuration->setText(FromUtf8(text.Duration));
    cbRitual->setChecked(text.Ritual);
    cbConcentration->setChecked(text.Concentration);
    memDescription->setPlainText(ParagraphsText(text.Description));
    memHigherLevels->setPlainText(ParagraphsText(text.HigherLevels));
    ebSchool->setFocus();
}

SpellText TfrmSpellDetails::ReadTextFromDialog() const {
    SpellText text = loaded_;
    text.School = Field(ebSchool, loaded_.School);
    text.CastingTime = Field(ebCastingTime, loaded_.CastingTime);
    text.Range = Field(ebRange, loaded_.Range);
    text.Material = Field(ebMaterial, loaded_.Material);
    text.Duration = Field(ebDuration, loaded_.Duration);
    text.Ritual = cbRitual->isChecked();
    text.Concentration = cbConcentration->isChecked();
    const bool sameComponents = cbVerbal->isChecked() == Holds(loaded_.Components, "V") &&
                                cbSomatic->isChecked() == Holds(loaded_.Components, "S") &&
                                cbMaterial->isChecked() == Holds(loaded_.Components, "M");
    if (!sameComponents) {
        text.Components.clear();
        for (const auto& [box, letter] :
             {std::pair{cbVerbal, "V"}, std::pair{cbSomatic, "S"}, std::pair{cbMaterial, "M"}})
            if (box->isChecked()) text.Components.emplace_back(letter);
    }
    text.Description = Paragraphs(memDescription, loaded_.Description);
    text.HigherLevels = Paragraphs(memHigherLevels, loaded_.HigherLevels);
    return text;
}

} // namespace vellumar
