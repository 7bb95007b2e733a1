// ReadSpellbookFile on any file: no book or a valid one, the same whatever the
// read buffer size; a read failure part-way never crashes or leaks.

#include "files/line_reader.h"
#include "files/spell_file.h"
#include "fuzz_support.h"

#include <optional>

using namespace vellumar;
using namespace vellumar::fuzz;

namespace {

std::optional<BookSnapshot> Read(const std::string& path) {
    auto book = ReadSpellbookFile(path);
    if (!book) return std::nullopt;
    return Snapshot(*book);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ScratchFile file("book");
    const std::string& path = file.Write(data, size);

    const auto whole = Read(path);
    SetReadChunkBytesForTesting(SmallChunkFor(data, size));
    Check(Read(path) == whole, "the buffer size changes what a spellbook reads");
    SetReadFailureAfterBytesForTesting(FailureOffsetFor(data, size));
    Read(path);
    SetReadFailureAfterBytesForTesting(-1);
    SetReadChunkBytesForTesting(0);
    return 0;
}
