#pragma once
// Options, Reopen Books at Start: the spellbook windows open at a clean exit,
// remembered in the settings and opened again at the next start.

#include <vector>

namespace vellumar {

class BookWindow;
class FileStatus;
class ProgramSettings;
class TfrmMain;

// Remembers the files of the windows, in their order, each with the level it
// shows; a window without a file ("untitled") is left out.
FileStatus RememberOpenBooks(const std::vector<BookWindow*>& windows, ProgramSettings& settings);

// Opens the books remembered, in order, each as File, Open does (a book that
// cannot be read gives Open's box and the others still open), each showing
// its level.
void ReopenBooks(TfrmMain& frame, const ProgramSettings& settings);

} // namespace vellumar
