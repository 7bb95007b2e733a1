#pragma once
// The one conversion between the program's single-byte text (Windows-1252, as
// the files hold it) and Qt's strings.

#include <QString>
#include <string>
#include <string_view>

namespace vellumar {

QString ToQString(std::string_view bytes);

// Text typed into a field, as bytes: a character the code page lacks becomes
// "?", and NUL, CR, LF and Ctrl-Z are dropped, because each would cut or end a
// line of a file. Multi-line text is split into lines before it comes here.
std::string FromQString(const QString& text);

} // namespace vellumar
