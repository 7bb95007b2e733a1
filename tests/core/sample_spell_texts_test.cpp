#include "file_test_support.h"
#include "files/spell_file.h"
#include "files/spell_texts_file.h"
#include "output/spell_card_text.h"
#include "output/spellbook_text.h"

#include <nlohmann/json.hpp>

using namespace vellumar;

static const std::string Master = VELLUMAR_SOURCE_DIR "/resources/MASTER.DAT";

// The sample's companion equals the SRD details field for field, in MASTER.DAT's order.
TEST(SampleSpellTexts, EqualTheDetailsAndFollowEverySpellInABooksText) {
    const auto list = ReadSpellList(Master);
    const auto texts = ReadSpellTexts(CompanionTextsPath(Master));
    std::ifstream file(VELLUMAR_SOURCE_DIR "/resources/data/srd-wizard-spell-details.json");
    const auto details = nlohmann::json::parse(file);
    ASSERT_TRUE(list && texts && texts.Warnings().empty() && list->Count() == 190);
    ASSERT_TRUE(details.size() == 190 && texts->Size() == 190);
    list->First();
    for (auto entry = texts->All().begin(); const auto& want : details) {
        const auto& [key, text] = *entry++;
        const nlohmann::json read = {key.Name,         key.Level,        text.School,
                                     text.CastingTime, text.Range,       text.Components,
                                     text.Material,    text.Ritual,      text.Concentration,
                                     text.Duration,    text.Description, text.HigherLevels};
        nlohmann::json wanted;
        for (const char* field :
             {"name", "level", "school", "casting_time", "range", "components", "material",
              "ritual", "concentration", "duration", "description", "higher_levels"})
            wanted.push_back(want.at(field));
        EXPECT_EQ(read, wanted);
        EXPECT_TRUE(text.OtherFields.empty() && want.size() == wanted.size()) << key.Name;
        EXPECT_EQ(std::pair(list->CurrentSpell()->Level, list->CurrentSpell()->Name),
                  std::pair(key.Level, key.Name));
        list->Next();
    }
    const test::TempFolder folder;
    ASSERT_TRUE(WriteSpellTexts(*texts, folder.File("texts.json")));
    EXPECT_EQ(test::ReadBytes(folder.File("texts.json")),
              test::ReadBytes(CompanionTextsPath(Master)));
    // With "Spell texts" on, a book of the whole sample follows every spell with its card.
    OutputFormat format;
    format.IncludeSpellTexts = true;
    const std::vector<std::string> lines = BuildSpellbookText(*list, "Sample", format, &*texts);
    auto from = lines.begin();
    for (const auto& [key, text] : texts->All()) {
        const std::vector<std::string> card =
            CardTextLines(MakeSpellCard(key.Level, key.Name, text));
        const auto found = std::search(from, lines.end(), card.begin(), card.end());
        ASSERT_NE(found, lines.end()) << key.Name;
        EXPECT_EQ(found[-1].rfind(key.Name, 0), 0u) << found[-1];
        from = found + std::ptrdiff_t(card.size());
    }
}
