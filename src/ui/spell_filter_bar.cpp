#include "ui/spell_filter_bar.h"

#include "platform/qt/field_labels.h"
#include "platform/qt/text_conversion.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>
#include <algorithm>

namespace vellumar {
namespace {

bool IsEscape(const QEvent& event) {
    return (event.type() == QEvent::KeyPress || event.type() == QEvent::ShortcutOverride) &&
           static_cast<const QKeyEvent&>(event).key() == Qt::Key_Escape;
}

} // namespace

SpellFilterBar::SpellFilterBar(QWidget* window, bool withAllLevels, QWidget* parent)
    : QWidget(parent), edFilter(new QLineEdit(this)) {
    setObjectName(QStringLiteral("pnlFilter"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    edFilter->setObjectName(QStringLiteral("edFilter"));
    AddClearButton(*edFilter);
    edFilter->setPlaceholderText(
        QStringLiteral("Find: words of the name, school:, freq:, book:, text: (Ctrl+F)"));
    // The placeholder goes once something is typed; the name stays.
    edFilter->setAccessibleName(QStringLiteral("Filter"));
    edFilter->setAccessibleDescription(edFilter->placeholderText());
    edFilter->installEventFilter(this);
    row->addWidget(edFilter, 1);
    connect(edFilter, &QLineEdit::textChanged, this, &SpellFilterBar::Changed);
    if (withAllLevels) {
        cbAllLevels = new QCheckBox(QStringLiteral("&All levels"), this);
        cbAllLevels->setObjectName(QStringLiteral("cbAllLevels"));
        row->addWidget(cbAllLevels);
        connect(cbAllLevels, &QCheckBox::toggled, this, &SpellFilterBar::Changed);
    }
    auto* find = new QShortcut(QKeySequence::Find, window);
    find->setContext(Qt::WidgetWithChildrenShortcut);
    connect(find, &QShortcut::activated, this, [this] {
        edFilter->setFocus(Qt::ShortcutFocusReason);
        edFilter->selectAll();
    });
}

SpellFilter SpellFilterBar::Filter() const {
    SpellFilter filter = ParseSpellFilter(FromQString(edFilter->text()));
    // Asked for only when a "text:" term needs them: they may not be read yet.
    if (!filter.textWords.empty() && texts_) filter.texts = texts_();
    return filter;
}

bool SpellFilterBar::AllLevels() const {
    return cbAllLevels && cbAllLevels->isChecked();
}

bool SpellFilterBar::Reveal(const std::vector<const tSpell*>& spells) {
    const SpellFilter filter = Filter();
    if (std::all_of(spells.begin(), spells.end(),
                    [&filter](const tSpell* spell) { return filter.Matches(*spell); }))
        return false;
    edFilter->clear();
    return true;
}

bool SpellFilterBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edFilter && IsEscape(*event)) {
        // Taken here, so that no shortcut and no dialog sees it.
        event->accept();
        if (event->type() == QEvent::KeyPress) edFilter->clear();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vellumar
