#include "platform/qt/file_dialog.h"

namespace vellumar {

QList<FileFilter> QtFileFilters(const QString& pipeFilter) {
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QList<FileFilter> filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        FileFilter filter;
        filter.description = parts[i];
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            // Linux names are case-sensitive; the user's "*.SPB" files are not.
            for (const QString& variant : {pattern, pattern.toLower(), pattern.toUpper()})
                if (!filter.patterns.contains(variant)) filter.patterns << variant;
        }
        filter.qtFilter =
            QStringLiteral("%1 (%2)").arg(parts[i], filter.patterns.join(QLatin1Char(' ')));
        filters << filter;
    }
    return filters;
}

} // namespace vellumar
