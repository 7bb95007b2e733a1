#include "platform/qt/typed_file_name.h"

#include <QDir>
#include <QFileInfo>

namespace vellumar {

QString ResolveTypedFileName(const QString& typed, const QStringList& extensions,
                             const QString& defaultSuffix) {
    const QFileInfo file(typed);
    if (typed.isEmpty() || file.exists() || !file.suffix().isEmpty() || file.fileName().isEmpty())
        return typed;
    const QDir folder = file.dir();
    const QStringList entries = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& extension : extensions) {
        const QString wanted = file.fileName() + QLatin1Char('.') + extension;
        if (entries.contains(wanted)) return folder.filePath(wanted);
        for (const QString& entry : entries)
            if (entry.compare(wanted, Qt::CaseInsensitive) == 0 &&
                entry.startsWith(file.fileName()))
                return folder.filePath(entry);
    }
    return defaultSuffix.isEmpty() ? typed : typed + QLatin1Char('.') + defaultSuffix;
}

QStringList PatternExtensions(const QStringList& patterns) {
    QStringList extensions;
    for (const QString& pattern : patterns) {
        if (!pattern.startsWith(QStringLiteral("*."))) continue;
        const QString extension = pattern.mid(2);
        if (extension.isEmpty() || extension.contains(QLatin1Char('*')) ||
            extension.contains(QLatin1Char('?')))
            continue;
        if (!extensions.contains(extension, Qt::CaseInsensitive)) extensions << extension;
    }
    return extensions;
}

} // namespace vellumar
