#include "files/spell_texts_file.h"
#include "output/spell_card.h"

#include "file_test_support.h"

#include <gtest/gtest.h>

namespace vellumar {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

// What the writer makes of one entry with a field it does not know.
const std::string Written = R"([
  {
    "name": "Alarm",
    "level": 1,
    "school": "Abjuration",
    "casting_time": "1 minute",
    "range": "30 feet",
    "components": [
      "V",
      "S",
      "M"
    ],
    "material": "A tiny bell.",
    "ritual": true,
    "concentration": false,
    "duration": "8 hours",
    "description": [
      "You set an alarm.",
      "| d6 | Sound |",
      "|---|---|",
      "| 1 | bell |"
    ],
    "higher_levels": [],
    "source": {
      "page": 114
    }
  }
]
)";

TEST(SpellTextsFile, ReadsWhatItWritesByteForByteKeepingUnknownFields) {
    TempFolder folder;
    const std::string path = folder.File("MASTER.DAT.texts.json");
    WriteBytes(path, Written);
    auto read = ReadSpellTexts(path);
    ASSERT_TRUE(read) << read.Reason();
    const SpellText* alarm = read->Find(1, "ALARM");
    ASSERT_NE(alarm, nullptr);
    EXPECT_TRUE(alarm->Ritual);
    EXPECT_EQ(alarm->Material, "A tiny bell.");

    const SpellCard card = MakeSpellCard(1, "Alarm", *alarm);
    EXPECT_EQ(card.Fields[2].Value, "V, S, M (A tiny bell.)");
    ASSERT_EQ(card.Body.size(), 2u);
    EXPECT_EQ(card.Body[1].Rows,
              (std::vector<std::vector<std::string>>{{"d6", "Sound"}, {"1", "bell"}}));

    const std::string again = folder.File("again.json");
    ASSERT_TRUE(WriteSpellTexts(*read, again));
    EXPECT_EQ(ReadBytes(again), Written);
}

TEST(SpellTextsFile, MissingFileIsNoTextsAndBrokenFilesSayWhere) {
    TempFolder folder;
    auto none = ReadSpellTexts(folder.File("absent.json"));
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->Empty());

    const struct {
        std::string content;
        std::string reason; // how the reason starts
    } broken[] = {
        {"[\n  {\"name\": \"Alarm\",\n   \"level\": 1,,\n", "line 3, column 15: "},
        {"{}", "line 1, column 1: the spell texts must be a JSON array"},
        {"[\n 7\n]", "line 1, column 1: each spell's text must be a JSON object"},
        {"[{\"name\": \"A\", \"level\": 1},\n {\"name\": \"B\", \"level\": 10}]",
         "line 2, column 2: \"level\" must be 1 to 9, not 10"},
        {"[{\"name\": \"A\", \"level\": 1, \"ritual\": \"yes\"}]",
         "line 1, column 2: \"ritual\" must be true or false"},
        {"[{\"level\": 1}]", "line 1, column 2: \"name\" must be"},
        {"[{\"name\": \"A\", \"level\": 1,\n \"x\": 1e999}]",
         "line 2, column 11: number overflow parsing '1e999'"},
    };
    for (const auto& file : broken) {
        const std::string path = folder.File("broken.json");
        WriteBytes(path, file.content);
        auto read = ReadSpellTexts(path);
        EXPECT_FALSE(read) << file.content;
        EXPECT_EQ(read.Reason().substr(0, file.reason.size()), file.reason) << read.Reason();
    }
}

} // namespace
} // namespace vellumar
