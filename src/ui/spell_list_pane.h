#pragma once
// The spell list of both list windows: the "Spell Level" buttons, the filter
// field and the list, and the one redraw that ties them together. Its controls
// stand on the window's own client area, where each window places them.

#include <QObject>
#include <functional>
#include <vector>

class QButtonGroup;
class QWidget;

namespace vellumar {

class BookChange;
class CardDivider;
class LevelPanel;
class SpellCardView;
class SpellFilterBar;
class SpellList;
class SpellTexts;
class TSpellBook;
class tSpell;

class SpellListPane : public QObject {
    Q_OBJECT
public:
    // `window` hears Ctrl+F; `withAllLevels` adds the "All levels" switch;
    // `book` is asked for the book shown at each redraw (none shows no rows).
    SpellListPane(QWidget* window, QWidget* client, bool withAllLevels,
                  std::function<TSpellBook*()> book);

    LevelPanel* Levels() const { return levels_; }
    QButtonGroup* LevelButtons() const;
    SpellFilterBar* FilterBar() const { return filter_; }
    SpellList* List() const { return list_; }
    // The card of the current spell, below the list.
    SpellCardView* Card() const { return card_; }
    // What stands between the list and the card, and holds both.
    CardDivider* Divider() const { return divider_; }

    // Where the cards' and the filter's "text:" texts come from (the master
    // list's), asked at each redraw and change of the current row; none shows
    // every spell without a text and lets "text:" find nothing.
    void SetTexts(std::function<const SpellTexts*()> texts);
    // Shows or hides the card below the list; the list takes its room.
    void SetCardShown(bool shown);
    bool CardShown() const { return cardShown_; }
    // The current spell's card anew, after its text changed.
    void ShowCurrentText();

    int SpellLevel() const; // 1 to 9
    void SetSpellLevel(int level);

    // Shows the rows of the level chosen (or of every level) that the filter
    // lets through; no row stays selected.
    void Redraw();
    // Shows spells just put in: the level of the last one (unless every level
    // is shown), a filter that would hide them emptied, and them selected.
    void ShowAdded(const std::vector<const tSpell*>& spells);
    // Shows these spells selected, the first of them current and in view:
    // the level shown stays while it holds any of them, else the level of the
    // first comes up; a filter that would hide them is emptied.
    void ShowSelected(const std::vector<const tSpell*>& spells);
    // After an undone or redone change: the spells that came back selected,
    // their level shown when the level shown has none of them, and a filter
    // that would hide them emptied; a change that only took spells out shows
    // the level they left when the level shown lost none.
    void ShowChange(const BookChange& change, bool undone);

    // The filter field at `filterTop`, the list below it down to `bottom`,
    // sharing that room with the card while it shows, as the divider says.
    void LayOut(int left, int filterTop, int width, int bottom);

signals:
    // After every redraw, for what the window shows beside the list.
    void Redrawn();

private:
    std::function<TSpellBook*()> book_;
    LevelPanel* levels_;
    SpellFilterBar* filter_;
    SpellList* list_;
    SpellCardView* card_;
    CardDivider* divider_;
    std::function<const SpellTexts*()> texts_;
    bool cardShown_ = true;
};

} // namespace vellumar
