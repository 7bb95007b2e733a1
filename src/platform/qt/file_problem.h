#pragma once
// The details under a box about a file that could not be read or written.

#include "files/file_result.h"

#include <QString>

namespace vellumar {

// The reason alone, for a box whose text already names the file.
QString FileProblemText(const FileStatus& status);
// The file's path and the reason, for a box whose text does not name it.
QString FileProblemText(const QString& path, const FileStatus& status);

} // namespace vellumar
