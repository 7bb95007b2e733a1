#include "ui/last_session.h"

#include "files/file_result.h"
#include "model/spell_book.h"
#include "platform/program_settings.h"
#include "platform/qt/text_conversion.h"
#include "ui/book_window.h"
#include "ui/frame_window.h"

#include <QDir>
#include <algorithm>

namespace vellumar {

FileStatus RememberOpenBooks(const std::vector<BookWindow*>& windows, ProgramSettings& settings) {
    std::vector<ProgramSettings::OpenBook> books;
    for (const BookWindow* window : windows)
        // A book read or saved has its full path as the caption; "untitled" is none.
        if (QDir::isAbsolutePath(window->Caption()))
            books.push_back({ToPath(window->Caption()), window->SpellLevel()});
    return settings.SetLastOpenBooks(books);
}

void ReopenBooks(TfrmMain& frame, const ProgramSettings& settings) {
    for (const ProgramSettings::OpenBook& book : settings.LastOpenBooks()) {
        if (!frame.OpenSpellbookFile(FromPath(book.path))) continue;
        // The window just opened is the newest.
        frame.SpellBookWindows().back()->ShowSpellLevel(
            std::clamp(book.level, MinSpellLevel, MaxSpellLevel));
    }
}

} // namespace vellumar
