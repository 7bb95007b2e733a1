#pragma once
// vellumar --export-pdf: a book written as PDF without any window.

#include "ui/program_command_line.h"

namespace vellumar {

// Reads the book, writes its pages as Print would with the default printer's
// page layout, and reports a failure on standard error naming the file.
// Needs the application object. Returns the exit code: 0, or 1 when a file
// cannot be read or written.
int RunPdfExport(const ProgramCommandLine& line);

} // namespace vellumar
