#pragma once
// The one place where the program's single-byte Windows-1252 text meets QString.

#include <QString>
#include <string>
#include <string_view>

namespace vellumar {

QString ToQString(std::string_view text);
// Characters without a Windows-1252 byte become "?"; control characters (line
// breaks, Ctrl-Z, NUL and the rest below 32) become blanks, so that typed or
// pasted text can never break a file apart.
std::string FromQString(const QString& text);

// File names are not text of the code page: they pass as the file system's
// bytes, also those that are not UTF-8 (each such byte becomes a lone surrogate
// U+DC80 to U+DCFF in the QString, shown as a replacement character).
std::string ToPath(const QString& path);
QString FromPath(const std::string& path);

} // namespace vellumar
