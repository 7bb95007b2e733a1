#include "ui/frequency_odds_dialog.h"

#include "model/spell.h"
#include "platform/qt/file_problem.h"
#include "platform/qt/help_topics.h"
#include "platform/qt/prompter.h"
#include "ui/window_placement.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <algorithm>
#include <functional>
#include <optional>

namespace vellumar {
namespace {

// A whole number, or none for any other text (an empty field among them).
std::optional<int32_t> WholeNumber(const QString& text, int32_t low, int32_t high) {
    static const QRegularExpression number(QStringLiteral("^-?[0-9]+$"));
    if (!number.match(text).hasMatch()) return std::nullopt;
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    if (!ok) return text.startsWith(QLatin1Char('-')) ? low : high; // too long for any type
    return int32_t(std::clamp<qlonglong>(value, low, high));
}

// Lets any whole number be typed, so that 0 or 40000 is brought to the nearer
// bound instead of refusing the keystroke; an empty field shows the default
// again when it loses the focus.
class OddsSpinBox : public QSpinBox {
public:
    explicit OddsSpinBox(std::function<int32_t()> fallback) : fallback_(std::move(fallback)) {}
    QLineEdit* Editor() const { return lineEdit(); }

protected:
    QValidator::State validate(QString& input, int&) const override {
        if (input.isEmpty() || input == QLatin1String("-")) return QValidator::Intermediate;
        return WholeNumber(input, minimum(), maximum()) ? QValidator::Acceptable
                                                        : QValidator::Invalid;
    }
    int valueFromText(const QString& text) const override {
        return WholeNumber(text, minimum(), maximum()).value_or(fallback_());
    }
    void fixup(QString& input) const override {
        if (!WholeNumber(input, minimum(), maximum())) input = QString::number(fallback_());
    }

private:
    std::function<int32_t()> fallback_;
};

} // namespace

TfrmFrequencyOdds::TfrmFrequencyOdds(FrequencyOddsTable& odds, const FrequencyOddsTable& defaults,
                                     WriteOddsSetting writeOdds, QString settingsPath,
                                     Prompter& prompter, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      odds_(odds), defaults_(defaults), writeOdds_(std::move(writeOdds)),
      settingsPath_(std::move(settingsPath)), prompter_(prompter) {
    setObjectName(QStringLiteral("frmFrequencyOdds"));
    setWindowTitle(QStringLiteral("Spell Frequency Odds"));
    setProperty("helpTopic", int(TopicOdds));
    setFixedSize(288, 135);

    auto* frequencyLabel = new QLabel(QStringLiteral("Spell Frequency"), this);
    frequencyLabel->setGeometry(8, 4, 135, 16);
    lbFrequency = new QListWidget(this);
    // A list reads no buddy for its name.
    lbFrequency->setAccessibleName(frequencyLabel->text());
    lbFrequency->setObjectName(QStringLiteral("lbFrequency"));
    lbFrequency->setGeometry(8, 22, 135, 97);
    lbFrequency->setSelectionMode(QAbstractItemView::SingleSelection);
    frequencyLabel->setBuddy(lbFrequency);

    auto* oddsLabel = new QLabel(QStringLiteral("Selection Odds"), this);
    oddsLabel->setGeometry(160, 4, 120, 16);
    auto* oneIn = new QLabel(QStringLiteral("1 in "), this);
    oneIn->setGeometry(160, 22, 28, 24);
    auto* spin = new OddsSpinBox([this] { return defaults_[size_t(SelectedEntry())]; });
    spin->setParent(this);
    spnOdds = spin;
    spnOdds->setObjectName(QStringLiteral("spnOdds"));
    spnOdds->setGeometry(188, 22, 92, 24);
    spnOdds->setRange(MinOdds, MaxOdds);
    spnOdds->setSingleStep(1);
    oddsLabel->setBuddy(spnOdds);

    bnDefault = new QPushButton(QStringLiteral("&Default Values"), this);
    bnDefault->setObjectName(QStringLiteral("bnDefault"));
    bnDefault->setGeometry(160, 58, 120, 27);
    bnDefault->setAutoDefault(false);
    bnOK = new QPushButton(QStringLiteral("OK"), this);
    bnOK->setObjectName(QStringLiteral("bnOK"));
    bnOK->setGeometry(160, 94, 120, 27);
    bnOK->setDefault(true);

    for (const char* name : FrequencyNamesCommonFirst())
        lbFrequency->addItem(QString::fromLatin1(name));
    lbFrequency->setCurrentRow(0);

    connect(lbFrequency, &QListWidget::currentRowChanged, this, [this] { lbFrequencyClick(); });
    // A click beside the selected row (or Ctrl+click on it) would leave none selected.
    connect(lbFrequency, &QListWidget::itemSelectionChanged, this, [this] {
        if (lbFrequency->selectedItems().isEmpty())
            lbFrequency->item(std::max(lbFrequency->currentRow(), 0))->setSelected(true);
    });
    connect(spin->Editor(), &QLineEdit::textChanged, this,
            [this](const QString& text) { spnOddsChange(text); });
    // An arrow step sets the field's text with the editor's signals blocked.
    connect(spnOdds, &QSpinBox::valueChanged, this,
            [this](int value) { spnOddsChange(QString::number(value)); });
    connect(bnDefault, &QPushButton::clicked, this, [this] { bnDefaultClick(); });
    connect(bnOK, &QPushButton::clicked, this, [this] { bnOKClick(); });

    lbFrequencyClick();
}

int TfrmFrequencyOdds::SelectedEntry() const {
    return int(FrequencyEntryOfRow(lbFrequency->currentRow()));
}

void TfrmFrequencyOdds::lbFrequencyClick() {
    spnOdds->setValue(odds_[size_t(SelectedEntry())]);
}

void TfrmFrequencyOdds::spnOddsChange(const QString& text) {
    const size_t entry = size_t(SelectedEntry());
    odds_[entry] = WholeNumber(text, MinOdds, MaxOdds).value_or(defaults_[entry]);
}

void TfrmFrequencyOdds::bnDefaultClick() {
    odds_ = defaults_;
    lbFrequencyClick();
}

void TfrmFrequencyOdds::bnOKClick() {
    // Restricted first, so that a new section lists the keys in table order.
    for (size_t entry = 0; entry < odds_.size(); ++entry) {
        if (const FileStatus written = writeOdds_(entry, odds_[entry]); !written) {
            prompter_.Message(this, BoxKind::Error, BoxButtons::Ok,
                              QStringLiteral("Unable to write to %1").arg(settingsPath_), QString(),
                              FileProblemText(written));
            break;
        }
    }
    accept();
}

void ShowFrequencyOdds(FrequencyOddsTable& odds, const FrequencyOddsTable& defaults,
                       WriteOddsSetting writeOdds, const QString& settingsPath, Prompter& prompter,
                       QWidget* parent) {
    TfrmFrequencyOdds dialog(odds, defaults, std::move(writeOdds), settingsPath, prompter, parent);
    CentreOnParent(dialog);
    prompter.Exec(dialog);
}

} // namespace vellumar
