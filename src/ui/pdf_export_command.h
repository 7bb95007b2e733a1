#pragma once
// vellumar --export-pdf: a book written as PDF without any window.

#include "ui/program_command_line.h"

namespace vellumar {

// Reads the book, writes its pages as Print would with the default printer's
// page layout. Needs the application object. Ends with 0, or with 1 and
// a message naming the file and the reason when a file cannot be read or written.
ProgramExit RunPdfExport(const ProgramCommandLine& line);

} // namespace vellumar
