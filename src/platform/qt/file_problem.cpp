#include "platform/qt/file_problem.h"

namespace vellumar {

QString FileProblemText(const FileStatus& status) {
    // The system's error texts come in the locale's encoding.
    return QString::fromLocal8Bit(status.Reason());
}

QString FileProblemText(const QString& path, const FileStatus& status) {
    return path + QLatin1Char('\n') + FileProblemText(status);
}

} // namespace vellumar
