#pragma once
// Conversion between the program's single-byte Windows-1252 text and QString
// for what output puts on screen, paper and the clipboard.

#include <QString>

#include <string>
#include <string_view>

namespace vellumar {

QString Cp1252ToQString(std::string_view bytes);
// Characters that Windows-1252 cannot hold become "?".
std::string QStringToCp1252(const QString& text);

} // namespace vellumar
