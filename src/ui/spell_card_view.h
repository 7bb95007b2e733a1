#pragma once
// The card pane of both list windows: the current spell's rules text, laid out
// by MakeSpellCard, read-only. Only the current spell's card is built, when
// the current row changes, so a long list costs nothing per row.

#include <QString>
#include <QTextBrowser>
#include <cstdint>
#include <string_view>

namespace vellumar {

class SpellTexts;
struct SpellCard;

// The card as a small HTML page: the title bold and larger, the subtitle
// italic, "Label: value" lines, the paragraphs, tables as tables, and
// "At Higher Levels." bold before its paragraphs.
QString SpellCardHtml(const SpellCard& card);

class SpellCardView : public QTextBrowser {
    Q_OBJECT
public:
    explicit SpellCardView(QWidget* parent = nullptr);

    // The card of the spell of this level and name in `texts`; a spell
    // without a text shows its name and "No rules text.".
    void ShowSpell(int32_t level, std::string_view name, const SpellTexts* texts);
    // Empty: no spell is current.
    void ShowNone();
};

} // namespace vellumar
