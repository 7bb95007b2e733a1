#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace vellumar {
namespace {

// Between the book and a window beside it.
constexpr int Gap = 4;

// The frame the window manager draws round `window`: its own once it has been
// shown, until then that of `framedLike`, which the same manager framed.
QMargins FrameMargins(const QWidget& window, const QWidget& framedLike) {
    const QWidget& framed = window.frameGeometry() != window.geometry() ? window : framedLike;
    const QRect inner = framed.geometry();
    const QRect outer = framed.frameGeometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

// Puts the window's frame at `outer`, by the window inside it: a move of a
// window never shown yet would place its frame, while its geometry() still
// told where the window is until then.
void PutFrameAt(QWidget& window, const QRect& outer, const QMargins& frame) {
    window.setGeometry(outer.marginsRemoved(frame));
}

void CentreAt(QWidget& dialog, const QPoint& centre, const QScreen* screen,
              const QWidget& framedLike) {
    dialog.adjustSize();
    const QMargins frame = FrameMargins(dialog, framedLike);
    QRect outer(QPoint(), dialog.size().grownBy(frame));
    outer.moveCenter(centre);
    if (screen) outer = HeldInside(outer, screen->availableGeometry());
    PutFrameAt(dialog, outer, frame);
}

// The highest top a window over the columns `left` to `right` may have: below
// each command bar over those columns.
int BelowBars(const std::vector<QRect>& bars, int left, int right, int top) {
    for (const QRect& bar : bars)
        if (bar.left() <= right && bar.right() >= left) top = std::max(top, bar.bottom() + 1);
    return top;
}

// A window `want` big at `left`, as near to `top` as the bars and the screen
// allow, and lower where the screen leaves too little room below the bars.
QRect Column(const BookPlace& place, const QRect& screen, QSize want, int left, int top) {
    const int highest = BelowBars(place.commands, left, left + want.width() - 1, screen.top());
    top = std::max(highest, std::min(top, screen.bottom() + 1 - want.height()));
    want.setHeight(std::min(want.height(), screen.bottom() + 1 - top));
    return {QPoint(left, top), want};
}

bool LeavesFree(const QRect& frame, const BookPlace& place, const QRect& screen) {
    return screen.contains(frame) &&
           std::none_of(place.commands.begin(), place.commands.end(),
                        [&frame](const QRect& bar) { return bar.intersects(frame); });
}

} // namespace

QRect HeldInside(QRect rect, const QRect& room) {
    rect.setSize(rect.size().boundedTo(room.size()));
    rect.moveLeft(std::clamp(rect.left(), room.left(), room.right() + 1 - rect.width()));
    rect.moveTop(std::clamp(rect.top(), room.top(), room.bottom() + 1 - rect.height()));
    return rect;
}

QRect BesideBook(const BookPlace& place, const QRect& screen, QSize want) {
    want = want.boundedTo(screen.size());
    const QRect& book = place.book;
    const int right = book.right() + 1 + Gap;
    if (right + want.width() - 1 <= screen.right())
        return Column(place, screen, want, right, book.top());
    const int left = book.left() - Gap - want.width();
    if (left >= screen.left()) return Column(place, screen, want, left, book.top());
    // Over the book's lower part, level with its right edge.
    const int x = std::clamp(book.right() + 1 - want.width(), screen.left(),
                             screen.right() + 1 - want.width());
    const int bottom = std::min(book.bottom(), screen.bottom());
    return Column(place, screen, want, x, bottom + 1 - want.height());
}

void CentreOnScreen(QWidget& dialog) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QWidget* parent = dialog.parentWidget();
    if (screen)
        CentreAt(dialog, screen->availableGeometry().center(), screen,
                 parent ? *parent->window() : dialog);
}

void CentreOver(QWidget& dialog, const QWidget& over) {
    const QWidget& window = *over.window();
    // A window as the user sees it, frame and all; a widget inside one, its own area.
    const QRect area =
        &over == &window ? window.frameGeometry() : QRect(over.mapToGlobal(QPoint()), over.size());
    const QScreen* screen = QGuiApplication::screenAt(area.center());
    CentreAt(dialog, area.center(), screen ? screen : window.screen(), window);
}

void CentreOnParent(QWidget& dialog) {
    if (const QWidget* parent = dialog.parentWidget())
        CentreOver(dialog, *parent);
    else
        CentreOnScreen(dialog);
}

QPoint PlaceBesideBook(QWidget& window, const BookPlace& place,
                       const std::optional<QPoint>& placedAt) {
    const QWidget& framedLike = window.parentWidget() ? *window.parentWidget()->window() : window;
    const QScreen* screen = QGuiApplication::screenAt(place.book.center());
    if (!screen) screen = framedLike.screen();
    if (!screen) return window.pos();
    const QRect room = screen->availableGeometry();
    const QMargins frame = FrameMargins(window, framedLike);
    const QSize outer = window.size().grownBy(frame);
    const bool moved = placedAt && *placedAt != window.pos();
    if (moved && LeavesFree(QRect(window.pos(), outer), place, room)) return *placedAt;
    const QRect beside = BesideBook(place, room, outer);
    PutFrameAt(window, beside, frame);
    return beside.topLeft();
}

} // namespace vellumar
