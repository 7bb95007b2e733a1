// IniFile on any settings file: reading never fails, a written value reads back,
// and a write leaves every other setting as it was.

#include "fuzz_support.h"
#include "platform/ini_file.h"

using namespace vellumar;
using namespace vellumar::fuzz;

namespace {

struct Setting {
    const char* section;
    const char* key;
};

constexpr Setting kSettings[] = {
    {"Vellumar", "DataDirectory"},        {"Vellumar", "MasterFile"},
    {"SpellFrequencyOdds", "Restricted"}, {"SpellFrequencyOdds", "Very Rare"},
    {"SpellFrequencyOdds", "Common"},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ScratchFile file("ini");
    IniFile ini(file.Write(data, size));

    std::string before[std::size(kSettings)];
    for (size_t i = 0; i < std::size(kSettings); ++i) {
        before[i] = ini.ReadString(kSettings[i].section, kSettings[i].key, "\x01missing");
        Check(before[i].size() <= IniFile::MaxValueLength, "a value is read past its limit");
        ini.ReadInteger(kSettings[i].section, kSettings[i].key, 7);
    }

    const int32_t odds = static_cast<int32_t>(size * 7919 % 32767) + 1;
    Check(static_cast<bool>(ini.WriteInteger("spellfrequencyodds", "COMMON", odds)),
          "the settings cannot be written");
    Check(ini.ReadInteger("SpellFrequencyOdds", "Common", -1) == odds,
          "a written value does not read back");
    for (size_t i = 0; i < std::size(kSettings); ++i) {
        if (std::string_view(kSettings[i].key) == "Common") continue;
        Check(ini.ReadString(kSettings[i].section, kSettings[i].key, "\x01missing") == before[i],
              "a write changed another setting");
    }
    return 0;
}
