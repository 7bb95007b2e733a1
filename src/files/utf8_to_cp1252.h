#pragma once
// UTF-8 text as the Windows-1252 bytes that the program's files hold.

#include <string>
#include <string_view>

namespace vellumar {

// Each character the code page has becomes its byte; an invisible one (a joiner,
// a direction mark) is dropped; any other character, and every byte that is not
// part of a well-formed UTF-8 sequence, becomes "?".
std::string Utf8ToCp1252(std::string_view utf8);

} // namespace vellumar
