#include "ui/spell_list_pane.h"

#include "model/spell_book.h"
#include "ui/book_undo.h"
#include "ui/card_divider.h"
#include "ui/level_panel.h"
#include "ui/spell_card_view.h"
#include "ui/spell_filter_bar.h"
#include "ui/spell_list.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <algorithm>

namespace vellumar {

SpellListPane::SpellListPane(QWidget* window, QWidget* client, bool withAllLevels,
                             std::function<TSpellBook*()> book)
    : QObject(client), book_(std::move(book)), levels_(new LevelPanel(client)),
      filter_(new SpellFilterBar(window, withAllLevels, client)), list_(new SpellList(client)),
      card_(new SpellCardView(client)), divider_(new CardDivider(list_, card_, client)) {
    list_->setObjectName(QStringLiteral("lbSpells"));
    // Tab goes from the list to the divider, then into the card.
    QWidget::setTabOrder(list_, divider_->handle(1));
    QWidget::setTabOrder(divider_->handle(1), card_);
    connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &SpellListPane::ShowCurrentText);
    connect(LevelButtons(), &QButtonGroup::idClicked, this, &SpellListPane::Redraw);
    connect(filter_, &SpellFilterBar::Changed, this, &SpellListPane::Redraw);
}

QButtonGroup* SpellListPane::LevelButtons() const {
    return levels_->Buttons();
}

int SpellListPane::SpellLevel() const {
    return std::max(LevelButtons()->checkedId(), MinSpellLevel);
}

void SpellListPane::SetSpellLevel(int level) {
    if (QAbstractButton* button = LevelButtons()->button(level)) button->setChecked(true);
}

void SpellListPane::Redraw() {
    list_->ShowSpells(book_(), filter_->AllLevels() ? SpellListModel::AllLevels : SpellLevel(),
                      filter_->Filter());
    // A reset model moves the current row without a word.
    ShowCurrentText();
    emit Redrawn();
}

void SpellListPane::SetTexts(std::function<const SpellTexts*()> texts) {
    texts_ = std::move(texts);
    filter_->SetTexts(texts_);
    ShowCurrentText();
}

void SpellListPane::SetCardShown(bool shown) {
    cardShown_ = shown;
    card_->setVisible(shown);
    divider_->KeepShare();
    ShowCurrentText();
}

void SpellListPane::ShowCurrentText() {
    // A hidden card is not built: it would cost a layout per row walked.
    if (!cardShown_) return;
    const QModelIndex current = list_->currentIndex();
    const tSpell* spell = current.isValid() ? list_->Model().SpellOfRow(current.row()) : nullptr;
    if (!spell) {
        card_->ShowNone();
        return;
    }
    card_->ShowSpell(spell->Level, spell->Name, texts_ ? texts_() : nullptr);
}

void SpellListPane::ShowAdded(const std::vector<const tSpell*>& spells) {
    if (spells.empty()) return;
    if (!filter_->AllLevels()) SetSpellLevel(spells.back()->Level);
    filter_->Reveal(spells);
    Redraw();
    list_->SelectSpells(spells);
}

void SpellListPane::ShowChange(const BookChange& change, bool undone) {
    const std::vector<const tSpell*> back = SpellsBack(change, undone);
    if (back.empty()) {
        // Only taken out: where they were.
        SetSpellLevel(change.LevelToShow(SpellLevel()));
        Redraw();
        return;
    }
    // What came back is shown as an add shows it, in either direction: an
    // edit's old and new level differ, and only the one that came back holds rows.
    ShowSelected(back);
}

void SpellListPane::ShowSelected(const std::vector<const tSpell*>& spells) {
    if (spells.empty()) {
        Redraw();
        return;
    }
    const int shown = SpellLevel();
    const bool onShown = std::any_of(spells.begin(), spells.end(), [shown](const tSpell* spell) {
        return spell->Level == shown;
    });
    if (!filter_->AllLevels() && !onShown) SetSpellLevel(spells.front()->Level);
    filter_->Reveal(spells);
    Redraw();
    list_->SelectSpells(spells);
}

void SpellListPane::LayOut(int left, int filterTop, int width, int bottom) {
    filter_->setGeometry(left, filterTop, width, SpellFilterBar::Height);
    // The list starts where it always did; the divider shares the room below
    // between it and the card (the list takes it all while the card is hidden).
    const int top = filterTop + SpellFilterBar::Height + 4;
    divider_->setGeometry(left, top, width, std::max(bottom - top, 0));
}

} // namespace vellumar
