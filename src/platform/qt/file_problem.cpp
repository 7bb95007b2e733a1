#include "platform/qt/file_problem.h"

#include "platform/qt/prompter.h"
#include "platform/qt/text_conversion.h"

#include <QSet>
#include <QStringList>

namespace vellumar {

QString FileProblemText(const FileStatus& status) {
    // The system's error texts come in the locale's encoding.
    return QString::fromLocal8Bit(status.Reason());
}

QString FileProblemText(const QString& path, const FileStatus& status) {
    return path + QLatin1Char('\n') + FileProblemText(status);
}

void ReportLinesLeftOut(Prompter& prompter, QWidget* parent, const QString& path,
                        const std::vector<std::string>& warnings) {
    if (warnings.empty()) return;
    constexpr size_t Shown = 5;
    QSet<QString> lines; // a line may have more than one warning
    QStringList details;
    for (const std::string& warning : warnings) {
        const QString text = ToQString(warning);
        lines.insert(text.section(QLatin1Char(':'), 0, 0));
        if (static_cast<size_t>(details.size()) < Shown) details << text;
    }
    if (warnings.size() > Shown)
        details << QStringLiteral("and %1 more").arg(warnings.size() - Shown);
    details << QString() << QStringLiteral("Saving will write the file without what was left out.");
    prompter.Message(parent, BoxKind::Warning, BoxButtons::Ok,
                     QStringLiteral("%1 of this file %2 left out or changed in reading:\r\n%3")
                         .arg(lines.size() == 1 ? QStringLiteral("1 line")
                                                : QStringLiteral("%1 lines").arg(lines.size()),
                              lines.size() == 1 ? QStringLiteral("was") : QStringLiteral("were"),
                              path),
                     QString(), details.join(QLatin1Char('\n')));
}

void ReportSavedWithWarnings(Prompter& prompter, QWidget* parent, const QString& path,
                             const FileStatus& written) {
    if (!written || written.Warnings().empty()) return;
    QStringList details;
    for (const std::string& warning : written.Warnings()) details << ToQString(warning);
    prompter.Message(parent, BoxKind::Warning, BoxButtons::Ok,
                     QStringLiteral("The file\r\n%1\r\nwas saved, but:").arg(path), QString(),
                     details.join(QLatin1Char('\n')));
}

} // namespace vellumar
