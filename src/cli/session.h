#pragma once
// What a command works with besides its arguments: the streams, the locale's
// encoding and the staged standard input and output.
//
// Text crosses into and out of the files' Windows-1252 at these edges: an
// argument is converted from the locale's encoding when it is stored, printed
// text to it when it is shown. A locale whose encoding is not UTF-8 passes the
// bytes through unchanged.

#include "cli/standard_streams.h"

#include <iosfwd>
#include <string>

namespace vellumar::cli {

class Session {
public:
    Session(std::ostream& out, std::ostream& err, bool localeIsUtf8)
        : out(out), err(err), localeIsUtf8_(localeIsUtf8) {}

    // Text of the files, as the terminal shows it.
    std::string Shown(const std::string& stored) const;
    // An argument as the files store it; warns, naming the text, when a
    // character cannot be stored and becomes "?". Control characters become blanks.
    std::string Stored(const std::string& what, const std::string& typed);
    void Warn(const std::string& message);

    std::ostream& out;
    std::ostream& err;
    StagedFiles files;

private:
    bool localeIsUtf8_;
};

// Whether the locale set from the environment encodes text as UTF-8.
bool LocaleIsUtf8();

} // namespace vellumar::cli
