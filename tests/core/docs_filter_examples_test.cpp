#include "files/spell_file.h"
#include "model/code_page.h"
#include "rules/spell_filter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>

using namespace vellumar;

namespace {

// Every filter example of the user's documents, <code class="filter">...</code>,
// finds at least one spell of the sample master list the program ships.
TEST(DocsFilterExamples, EachFindsSpellsInTheSampleList) {
    const FileResult<TSpellBook> sample =
        ReadSpellList(VELLUMAR_SOURCE_DIR "/resources/MASTER.DAT");
    ASSERT_TRUE(sample);
    const std::regex example(R"re(<code class="filter">([^<]+)</code>)re");
    for (const char* doc : {"README.md", "resources/Vellumar.HLP"}) {
        std::ifstream file(std::string(VELLUMAR_SOURCE_DIR "/") + doc, std::ios::binary);
        const std::string text = (std::ostringstream() << file.rdbuf()).str();
        int examples = 0;
        for (std::sregex_iterator it(text.begin(), text.end(), example), end; it != end; ++it) {
            const std::string typed = Utf8ToCp1252((*it)[1].str()).text;
            EXPECT_FALSE(MatchingSpells(*sample, 0, ParseSpellFilter(typed)).empty())
                << doc << ": " << typed;
            ++examples;
        }
        EXPECT_GE(examples, 3) << doc;
    }
}

} // namespace
