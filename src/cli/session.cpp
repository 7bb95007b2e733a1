#include "cli/session.h"

#include "model/code_page.h"
#include "model/text.h"

#include <langinfo.h>

#include <clocale>
#include <cstring>
#include <ostream>

namespace vellumar::cli {

std::string Session::Shown(const std::string& stored) const {
    return localeIsUtf8_ ? Cp1252ToUtf8(stored) : stored;
}

std::string Session::Stored(const std::string& what, const std::string& typed) {
    // A line break or a Ctrl-Z would break the file apart.
    const std::string clean = BlankControls(typed, Controls::All);
    if (!localeIsUtf8_) return clean;
    const Cp1252Text converted = Utf8ToCp1252(clean);
    if (!converted.lossless)
        Warn(what + " '" + typed + "' has characters a spellbook file cannot hold; stored as '" +
             Shown(converted.text) + "'");
    return converted.text;
}

void Session::Warn(const std::string& message) {
    err << "vellumar-cli: warning: " << message << '\n';
}

bool LocaleIsUtf8() {
    // Only the character type: numbers and messages stay as the C locale has them.
    std::setlocale(LC_CTYPE, "");
    const char* codeset = nl_langinfo(CODESET);
    return codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
}

} // namespace vellumar::cli
