#pragma once
// How many pages a PDF file holds, counted from its page objects; -1 when the
// file cannot be read or is no PDF. Enough for the files Qt writes.

#include <fstream>
#include <iterator>
#include <regex>
#include <string>

inline int PdfPageCount(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (bytes.rfind("%PDF-", 0) != 0) return -1;
    static const std::regex page("/Type\\s*/Page(?![A-Za-z])");
    return int(std::distance(std::sregex_iterator(bytes.begin(), bytes.end(), page),
                             std::sregex_iterator()));
}
