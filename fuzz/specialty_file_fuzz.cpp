// ReadSpecialtyFile on any file: a list of whole groups, the same whatever the
// read buffer size, nothing when a read fails part-way, and what it read
// written and read again is the same list.

#include "files/line_reader.h"
#include "files/specialty_file.h"
#include "fuzz_support.h"

using namespace vellumar;
using namespace vellumar::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ScratchFile file("specialty");
    static ScratchFile saved("specialty-saved");
    const std::string& path = file.Write(data, size);

    auto list = ReadSpecialtyFile(path);
    Check(list != nullptr, "an existing file gives no specialties");
    Check(list->Count() >= 1, "a specialty file gives no specialty");
    const auto whole = Snapshot(*list);

    SetReadChunkBytesForTesting(SmallChunkFor(data, size));
    auto again = ReadSpecialtyFile(path);
    Check(again && Snapshot(*again) == whole,
          "the buffer size changes what a specialty file reads");
    SetReadFailureAfterBytesForTesting(FailureOffsetFor(data, size));
    again = ReadSpecialtyFile(path);
    // A read that fails gives no table: a part of one would be saved as the whole.
    Check(!again || Snapshot(*again) == whole, "a read failure gives part of a table");
    SetReadFailureAfterBytesForTesting(-1);
    SetReadChunkBytesForTesting(0);

    Check(bool(WriteSpecialtyFile(*list, saved.Path())), "the specialties cannot be saved");
    again = ReadSpecialtyFile(saved.Path());
    Check(again && Snapshot(*again) == whole, "saved specialties read back differently");
    return 0;
}
