#pragma once
// The details under a box about a file that could not be read or written.

#include "files/file_result.h"

#include <QString>

#include <string>
#include <vector>

class QWidget;

namespace vellumar {

class Prompter;

// The reason alone, for a box whose text already names the file.
QString FileProblemText(const FileStatus& status);
// The file's path and the reason, for a box whose text does not name it.
QString FileProblemText(const QString& path, const FileStatus& status);

// The one box after a file was read with warnings ("line N: ..."): how many
// lines were left out or changed, the first few of them, and that saving
// keeps the book as read. No box when there are none.
void ReportLinesLeftOut(Prompter& prompter, QWidget* parent, const QString& path,
                        const std::vector<std::string>& warnings);

// The one box after a file was written but lost something on the way (its
// owner, its group, a hard link): which file, and what. No box when nothing was lost.
void ReportSavedWithWarnings(Prompter& prompter, QWidget* parent, const QString& path,
                             const FileStatus& written);

} // namespace vellumar
