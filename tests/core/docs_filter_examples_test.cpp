#include "files/spell_file.h"
#include "files/spell_texts_file.h"
#include "model/code_page.h"
#include "rules/spell_filter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>

using namespace vellumar;

// Each filter example of the user's documents finds a spell of the sample master list.
TEST(DocsFilterExamples, EachFindsSpellsInTheSampleList) {
    const auto sample = ReadSpellList(VELLUMAR_SOURCE_DIR "/resources/MASTER.DAT");
    ASSERT_TRUE(sample);
    const auto texts =
        ReadSpellTexts(CompanionTextsPath(VELLUMAR_SOURCE_DIR "/resources/MASTER.DAT"));
    ASSERT_TRUE(texts);
    const std::regex example(R"re(<code class="filter">([^<]+)</code>)re");
    for (const char* doc : {"/README.md", "/resources/Vellumar.HLP"}) {
        std::ifstream file(VELLUMAR_SOURCE_DIR + std::string(doc), std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(file), {}};
        const std::sregex_iterator first(text.begin(), text.end(), example), end;
        EXPECT_GE(std::distance(first, end), 3) << doc;
        for (auto it = first; it != end; ++it)
            EXPECT_FALSE(
                MatchingSpells(*sample, 0,
                               ParseSpellFilter(Utf8ToCp1252((*it)[1].str()).text, &*texts))
                    .empty())
                << doc << ": " << (*it)[1];
    }
}
