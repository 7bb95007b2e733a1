// ParseSpellLine on any bytes: a spell it makes is a valid one, and for a line
// as the readers deliver them (no line end or Ctrl-Z in it) its written line
// reads back as the same spell.

#include "files/fields.h"
#include "files/spell_file.h"
#include "fuzz_support.h"

using namespace vellumar;
using vellumar::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    SplitFields(line);
    const auto spell = ParseSpellLine(line);
    if (!spell) return 0;
    Check(spell->Level >= MinSpellLevel && spell->Level <= MaxSpellLevel, "level outside 1..9");
    Check(!spell->Name.empty(), "spell without a name");
    Check(spell->Frequency >= FrequencyRestricted && spell->Frequency <= FrequencyCommon,
          "frequency code outside -4..0");

    const std::string written = SpellLine(*spell);
    Check(written.find_first_of(std::string_view("\r\n\x1a\0", 4)) == std::string::npos,
          "a written spell line holds a line end, Ctrl-Z or NUL");
    if (line.find_first_of("\r\n\x1a") != std::string_view::npos) return 0;
    const auto again = ParseSpellLine(written);
    Check(again != nullptr, "a written spell line gives no spell");
    Check(again->Level == spell->Level && again->Name == spell->Name &&
              again->Book == spell->Book && again->Page == spell->Page &&
              again->Frequency == spell->Frequency && again->Category == spell->Category,
          "a written spell line reads back differently");
    return 0;
}
