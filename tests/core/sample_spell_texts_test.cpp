#include "file_test_support.h"
#include "files/spell_file.h"
#include "files/spell_texts_file.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <utility>
#include <vector>

using namespace vellumar;

// The texts shipped beside the sample master list are the SRD details kept in
// resources/data, field for field, one for each spell of the list, and saving
// them again rewrites the file byte for byte. The details are parsed here
// without the program's reader.
TEST(SampleSpellTexts, EqualTheDetailsForEverySpellOfTheList) {
    const std::string master = VELLUMAR_SOURCE_DIR "/resources/MASTER.DAT";
    const auto list = ReadSpellList(master);
    const auto texts = ReadSpellTexts(CompanionTextsPath(master));
    ASSERT_TRUE(list && texts);
    EXPECT_TRUE(texts.Warnings().empty() && !texts.Missing());
    std::ifstream file(VELLUMAR_SOURCE_DIR "/resources/data/srd-wizard-spell-details.json");
    const auto details = nlohmann::json::parse(file);
    ASSERT_EQ(details.size(), 190U);
    ASSERT_EQ(texts->Size(), details.size());

    std::vector<std::pair<int32_t, std::string>> spells;
    for (list->First(); const tSpell* spell = list->CurrentSpell(); list->Next())
        spells.emplace_back(spell->Level, spell->Name);
    ASSERT_EQ(spells.size(), details.size());
    auto entry = texts->All().begin();
    for (size_t i = 0; i < details.size(); ++i, ++entry) {
        const auto& [key, text] = *entry;
        EXPECT_EQ(std::pair(key.Level, key.Name), spells.at(i));
        const nlohmann::json read = {{"name", key.Name},
                                     {"level", key.Level},
                                     {"school", text.School},
                                     {"casting_time", text.CastingTime},
                                     {"range", text.Range},
                                     {"components", text.Components},
                                     {"material", text.Material},
                                     {"ritual", text.Ritual},
                                     {"duration", text.Duration},
                                     {"concentration", text.Concentration},
                                     {"description", text.Description},
                                     {"higher_levels", text.HigherLevels}};
        EXPECT_EQ(read, details[i]) << key.Name;
        EXPECT_EQ(text.OtherFields, "") << key.Name;
    }

    const test::TempFolder folder;
    ASSERT_TRUE(WriteSpellTexts(*texts, folder.File("texts.json")));
    EXPECT_EQ(test::ReadBytes(folder.File("texts.json")),
              test::ReadBytes(CompanionTextsPath(master)));
}
