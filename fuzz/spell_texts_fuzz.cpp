// ReadSpellTexts on any file: it never crashes; what it reads is written
// without failing, read back the same with as many warnings (what it keeps
// but does not use stays in the file), and written again byte for byte, so a
// companion file settles after one save.

#include "files/spell_texts_file.h"
#include "fuzz_support.h"

#include <fstream>
#include <iterator>

using namespace vellumar;
using namespace vellumar::fuzz;

namespace {

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ScratchFile file("texts");
    static ScratchFile saved("texts-saved");
    static ScratchFile again("texts-again");
    const auto texts = ReadSpellTexts(file.Write(data, size));
    Check(!texts.Reason().starts_with("[json."), "the reader took a text its library refuses");
    if (!texts) return 0;

    Check(bool(WriteSpellTexts(*texts, saved.Path())), "the texts cannot be saved");
    const auto read = ReadSpellTexts(saved.Path());
    Check(read && *read == *texts, "saved texts read back differently");
    Check(read.Warnings().size() == texts.Warnings().size(),
          "saved texts read back with other warnings");
    Check(bool(WriteSpellTexts(*read, again.Path())), "the texts cannot be saved again");
    Check(Bytes(saved.Path()) == Bytes(again.Path()), "a second save changes the file");
    return 0;
}
