// ReadSpellList on any file: a valid book, the same whatever the read buffer
// size, and a read failure part-way reported, never a crash or a leak.

#include "files/line_reader.h"
#include "files/spell_file.h"
#include "fuzz_support.h"

using namespace vellumar;
using namespace vellumar::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ScratchFile file("list");
    const std::string& path = file.Write(data, size);

    auto book = ReadSpellList(path);
    Check(book != nullptr, "an existing file gives no list");
    Check(book->CasterLevel == 0 && book->Intelligence == 0 && book->SpellFrequency == 0 &&
              book->Specialty.empty(),
          "a list has caster parameters");
    const BookSnapshot whole = Snapshot(*book);

    SetReadChunkBytesForTesting(SmallChunkFor(data, size));
    book = ReadSpellList(path);
    Check(book && Snapshot(*book) == whole, "the buffer size changes what a list reads");

    SetReadFailureAfterBytesForTesting(FailureOffsetFor(data, size));
    book = ReadSpellList(path);
    if (book) Snapshot(*book);
    SetReadFailureAfterBytesForTesting(-1);
    SetReadChunkBytesForTesting(0);
    return 0;
}
