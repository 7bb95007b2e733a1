// Whatever ReadSpellbookFile makes of a file, saving that book and opening the
// saved file gives the same spells and caster fields.

#include "files/spell_file.h"
#include "fuzz_support.h"

using namespace vellumar;
using namespace vellumar::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ScratchFile file("round-trip");
    static ScratchFile saved("round-trip-saved");

    auto book = ReadSpellbookFile(file.Write(data, size));
    if (!book) return 0;
    const BookSnapshot read = Snapshot(*book);
    Check(bool(WriteSpellbookFile(*book, saved.Path())), "the book cannot be saved");
    Check(book->CurrentSpell() == nullptr, "saving leaves the cursor on a spell");
    auto again = ReadSpellbookFile(saved.Path());
    Check(again != nullptr, "a saved book does not open");
    Check(Snapshot(*again) == read, "a saved book reads back differently");
    return 0;
}
