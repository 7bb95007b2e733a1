#include "ui/spell_filter_bar.h"

#include "platform/qt/field_labels.h"
#include "platform/qt/text_conversion.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

namespace vellumar {
namespace {

bool IsEscape(const QEvent& event) {
    return (event.type() == QEvent::KeyPress || event.type() == QEvent::ShortcutOverride) &&
           static_cast<const QKeyEvent&>(event).key() == Qt::Key_Escape;
}

// What the empty field says, longest first: the first that fits its width
// shows, so that a narrow window gets a whole hint instead of a cut one.
const char* const Hints[] = {
    "Find: words of the name, school:, freq:, book:, text: (Ctrl+F)",
    "Find: name, school:, freq:, book:, text: (Ctrl+F)",
    "Find: name, school:, book:, text: (Ctrl+F)",
    "Find (Ctrl+F)",
};

// A line field that chooses its hint again whenever its width changes.
class HintedField : public QLineEdit {
public:
    explicit HintedField(QWidget* parent) : QLineEdit(parent) {
        setPlaceholderText(QString::fromLatin1(Hints[0]));
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        // Qt's own handler first: it puts the clear button in its place.
        QLineEdit::resizeEvent(event);
        const QString fitting = FittingHint();
        if (fitting != placeholderText()) setPlaceholderText(fitting);
    }

private:
    QString FittingHint() const {
        // Inside the frame and the margins; the clear button keeps its place,
        // hidden or not.
        const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
        int right = width() - frame;
        for (const QToolButton* button : findChildren<QToolButton*>())
            if (button->x() > width() / 2) right = std::min(right, button->x());
        constexpr int QtTextMargin = 2;
        const int room =
            right - frame - 2 * QtTextMargin - textMargins().left() - textMargins().right();
        for (const char* hint : Hints)
            if (fontMetrics().horizontalAdvance(QString::fromLatin1(hint)) <= room)
                return QString::fromLatin1(hint);
        return QString::fromLatin1(Hints[std::size(Hints) - 1]);
    }
};

} // namespace

SpellFilterBar::SpellFilterBar(QWidget* window, bool withAllLevels, QWidget* parent)
    : QWidget(parent), edFilter(new HintedField(this)) {
    setObjectName(QStringLiteral("pnlFilter"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    edFilter->setObjectName(QStringLiteral("edFilter"));
    AddClearButton(*edFilter);
    // The placeholder goes once something is typed, and may be a shorter one;
    // the name and the whole hint stay.
    edFilter->setAccessibleName(QStringLiteral("Filter"));
    edFilter->setAccessibleDescription(QString::fromLatin1(Hints[0]));
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
