#pragma once
// The Undo and Redo items of a window that keeps a BookUndo.

#include "platform/qt/command_table.h"
#include "ui/book_undo.h"

#include <QMenu>

namespace vellumar {

// Adds the Undo and Redo items of a window's `undo` to `menu`: they run the
// window's mnuUndoClick and mnuRedoClick and are enabled only while there is
// something to undo or redo. Each window gives its Redo text, so that the
// access letter is one no other item of its menu holds.
template <class Window>
void AddUndoCommands(Window& window, QMenu* menu, const BookUndo& undo, const char* redoText) {
    using W = Window;
    // clang-format off
    const CommandActions actions = AddCommands<W>(window, {
        {.place = menu, .text = "&Undo", .handler = &W::mnuUndoClick, .keys = QKeySequence::Undo, .id = "mnuUndo"},
        {.place = menu, .text = redoText, .handler = &W::mnuRedoClick, .keys = QKeySequence::Redo, .id = "mnuRedo"},
    });
    // clang-format on
    undo.Follow(actions.At("mnuUndo"), actions.At("mnuRedo"));
}

} // namespace vellumar
