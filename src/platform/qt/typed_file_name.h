#pragma once
// What a name typed into a file dialog stands for. The user's files carry
// their extensions in any case ("L30.SPB"), while Linux names are
// case-sensitive: a bare name first looks for such a file, and only then gets
// the default extension.

#include <QString>
#include <QStringList>

namespace vellumar {

// `typed` is a path as the dialog gives it. A path that exists, or that has an
// extension, stays as it is. A bare name becomes the existing file of the same
// name whose extension is one of `extensions` (without dots) in any letter
// case, trying them in order; failing that, it gets `defaultSuffix` when there
// is one.
QString ResolveTypedFileName(const QString& typed, const QStringList& extensions,
                             const QString& defaultSuffix);

// The extensions named by file patterns such as "*.SPB" ("*" and "*.*" name none).
QStringList PatternExtensions(const QStringList& patterns);

} // namespace vellumar
