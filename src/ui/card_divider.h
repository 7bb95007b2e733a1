#pragma once
// The divider between a list window's spell list and the card below it. The
// mouse drags it; Tab reaches it and the arrow keys move it. It keeps the
// card's share of the room while the window grows or shrinks, and says when
// the user put it somewhere new: once a drag, when the button is let go.

#include <QSplitter>

namespace vellumar {

class CardDivider : public QSplitter {
    Q_OBJECT
public:
    // Shares in thousandths of the room of the list and the card together.
    static constexpr int WholeShare = 1000;
    static constexpr int MinShare = 50;
    static constexpr int MaxShare = 950;
    // Until the user moves it the card gets three fifths: in a window of the
    // usual size, enough for its fields and the start of its text.
    static constexpr int DefaultShare = WholeShare * 3 / 5;

    // Takes `list` above and `card` below.
    CardDivider(QWidget* list, QWidget* card, QWidget* parent);

    // The card's share, held to MinShare..MaxShare.
    int CardShare() const { return share_; }
    void SetCardShare(int share);
    // Sizes the two to the share again (after the card was shown).
    void KeepShare();

    // What the handle tells when the user let go of it or moved it by a key.
    void UserMoved();

signals:
    // The user put the divider at a new share.
    void CardShareChosen(int share);

protected:
    QSplitterHandle* createHandle() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void TakeShare();

    int share_ = DefaultShare;
    int chosen_ = DefaultShare;
};

} // namespace vellumar
