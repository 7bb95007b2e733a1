#pragma once
// Where windows open: a dialog centred on the screen or on the window it
// serves, the master list beside the active book, a new book inside the
// frame. Each keeps the whole window, its frame included, on one screen.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>
#include <vector>

class QWidget;

namespace vellumar {

// What a window opened beside the active book is placed by, in screen
// coordinates: the book's window and the bars the user reaches the commands
// on (the frame's menu bar, its tool bar while shown, the book's tool bar),
// which it never covers.
struct BookPlace {
    QRect book;
    std::vector<QRect> commands;
};

// `rect` moved into `room`, made smaller first where it is larger.
QRect HeldInside(QRect rect, const QRect& room);

// The frame of a window `want` big beside `place.book` on `screen`: to its
// right where the screen has room, else to its left, else over the book's
// lower part; below every command bar it would otherwise cover, and made
// lower where the screen leaves too little room for that.
QRect BesideBook(const BookPlace& place, const QRect& screen, QSize want);

// Both size the dialog first, since a dialog laid out by its layout has no
// final size until then.
void CentreOnScreen(QWidget& dialog);
// Centred over `over` (a window, or a widget inside one), held inside the
// available area of `over`'s screen and made smaller where it is larger.
void CentreOver(QWidget& dialog, const QWidget& over);
// The same over the dialog's parent; on the screen for a dialog without one.
void CentreOnParent(QWidget& dialog);

// Puts a window about to be shown beside the active book, and returns where
// its frame went. One the user has moved since it was put at `placedAt` stays
// where they put it, while that place is on the screen and leaves the command
// bars free.
QPoint PlaceBesideBook(QWidget& window, const BookPlace& place,
                       const std::optional<QPoint>& placedAt);

} // namespace vellumar
