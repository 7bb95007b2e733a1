#include "ui/scroll_parm_dialog.h"

#include "platform/qt/help_topics.h"
#include "platform/qt/prompter.h"
#include "ui/spin_edit.h"
#include "ui/window_placement.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace vellumar {

TfrmScrollParm::TfrmScrollParm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmScrollParm"));
    setWindowTitle(QStringLiteral("Scroll Spells"));
    setProperty("helpTopic", int(TopicScroll));

    auto* prompt =
        new QLabel(QStringLiteral("Choose the number of spells to select from each level"));
    prompt->setObjectName(QStringLiteral("lblPrompt"));
    prompt->setAlignment(Qt::AlignCenter);
    prompt->setWordWrap(true);

    auto* box = new QGroupBox;
    box->setObjectName(QStringLiteral("grpLevels"));
    auto* grid = new QGridLayout(box);
    grid->setColumnStretch(0, 1);
    for (int level = MinSpellLevel; level <= MaxSpellLevel; ++level) {
        auto* label = new QLabel(QStringLiteral("Level %1").arg(level));
        label->setObjectName(QStringLiteral("lblLevel%1").arg(level));
        auto* spin = new SpinEdit(0, 0);
        spin->setObjectName(QStringLiteral("spnLevel%1").arg(level));
        spin->setMinimumWidth(64);
        label->setBuddy(spin);
        grid->addWidget(label, level - 1, 0);
        grid->addWidget(spin, level - 1, 1);
        labels_[size_t(level - 1)] = label;
        spins_[size_t(level - 1)] = spin;
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->setCenterButtons(true);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("bnOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("bnCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(box);
    layout->addWidget(buttons);
    // Fixed border: the size follows the rows shown and cannot be dragged.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setMinimumWidth(240);
}

std::optional<ScrollLevelCounts> AskScrollCounts(Prompter& prompter, const TSpellBook& source,
                                                 QWidget* parent) {
    TfrmScrollParm dialog(parent);
    for (int level = MinSpellLevel; level <= MaxSpellLevel; ++level) {
        SpinEdit* spin = dialog.LevelSpin(level);
        const int32_t count = source.CountOfLevel(level);
        spin->setRange(0, std::max(count, 0));
        spin->setValue(0);
        const bool offered = count > 0;
        dialog.LevelLabel(level)->setVisible(offered);
        spin->setVisible(offered);
    }
    CentreOnParent(dialog);
    if (prompter.Exec(dialog) != QDialog::Accepted) return std::nullopt;

    ScrollLevelCounts counts{};
    for (int level = MinSpellLevel; level <= MaxSpellLevel; ++level)
        // An emptied field asks for no spells of its level.
        counts[size_t(level - 1)] =
            std::clamp<int32_t>(dialog.LevelSpin(level)->TypedValue(0), 0,
                                std::max<int32_t>(source.CountOfLevel(level), 0));
    return counts;
}

} // namespace vellumar
