#include "files/spell_texts_file.h"
#include "output/spell_card.h"

#include "file_test_support.h"

#include <gtest/gtest.h>

namespace vellumar {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

// `count` members "<prefix>N"<value>, apart by commas.
std::string Members(const std::string& prefix, int count, const std::string& value) {
    std::string members;
    for (int i = 0; i < count; ++i)
        members += (i ? ", \"" : "\"") + prefix + std::to_string(i) + "\"" + value;
    return members;
}

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
        {"[\n 7\n]", "line 2, column 2: each spell's text must be a JSON object"},
        {"[{\"name\": \"A\", \"level\": 1},\n {\"name\": \"B\", \"level\": 10}]",
         "line 2, column 2: \"level\" must be 1 to 9, not 10"},
        {"[{\"name\": \"A\", \"level\": 1, \"ritual\": \"yes\"}]",
         "line 1, column 2: \"ritual\" must be true or false"},
        {"[{\"level\": 1}]", "line 1, column 2: \"name\" must be"},
        {"[{\"name\": \"A\", \"level\": 1,\n \"x\": 1e999}]",
         "line 2, column 11: number overflow parsing '1e999'"},
        {"[{\"name\": \"A\", \"level\": 1, \"x\": " + std::string(31, '[') + std::string(31, ']') +
             "}]",
         "line 1, column 63: nested deeper than 32 levels"},
        {"[{\"name\": \"A\", \"level\": 1, \"x\": {" + Members("k", 1025, ": 0") + "}}]",
         "line 1, column 11212: more than 1024 keys in one object"},
        {"[{\"name\": \"A\", \"level\": 1, " + Members("u", 1013, ": 0") + "}]",
         "line 1, column 2: more than 1012 fields this program does not know"},
        {"[{\"name\": \"A\", \"level\": 1, \"x\": \"\xC0\xAF\"}]",
         "line 1, column 34: a text that is not UTF-8"},
    };
    for (const auto& file : broken) {
        const std::string path = folder.File("broken.json");
        WriteBytes(path, file.content);
        auto read = ReadSpellTexts(path);
        EXPECT_FALSE(read) << file.content;
        EXPECT_EQ(read.Reason().substr(0, file.reason.size()), file.reason) << read.Reason();
    }
}

// An entry as the writer writes one without texts, `others` after its known fields.
std::string Entry(const std::string& name, int level, const std::string& others = "") {
    return "  {\n    \"name\": \"" + name + "\",\n    \"level\": " + std::to_string(level) +
           ",\n    \"school\": \"\",\n    \"casting_time\": \"\",\n    \"range\": \"\",\n    "
           "\"components\": [],\n    \"material\": \"\",\n    \"ritual\": false,\n    "
           "\"concentration\": false,\n    \"duration\": \"\",\n    \"description\": [],\n    "
           "\"higher_levels\": []" +
           others + "\n  }";
}

// What the program does not use is kept as written, and a save writes it back
// unchanged; the reader names each such entry or field.
TEST(SpellTextsFile, ASaveLosesNothingItRead) {
    const struct {
        std::string file;
        std::string name; // single-byte, of level 9
        std::vector<std::string> warnings;
    } rows[] = {
        {"[\n" +
             Entry("Wish", 9,
                   ",\n    \"id\": 123456789012345678901234567890,\n    \"id\": "
                   "-0.5e-400,\n    \"x\": {\"a\": 1,  \"a\": [2]}") +
             "\n]\n",
         "Wish",
         {}},
        {"[\n" + Entry("Wish", 9) + ",\n" + Entry("WISH", 9, ",\n    \"x\": 1") + "\n]\n",
         "Wish",
         {"line 16, column 3: a second text of \"WISH\" is kept in the file but not used"}},
        {"[\n" + Entry("Wish \u2605 Variant", 9) + "\n]\n",
         "Wish ? Variant",
         {"line 2, column 3: the name \"Wish \u2605 Variant\" has characters a spell list cannot "
          "hold"}},
        {"[\n" + Entry("Wish", 9, ",\n    \"school\": \"Evocation\"") + "\n]\n",
         "Wish",
         {"line 15, column 5: a second \"school\" is kept in the file but not used"}},
    };
    TempFolder folder;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        WriteBytes(folder.File("texts.json"), row.file);
        const auto read = ReadSpellTexts(folder.File("texts.json"));
        ASSERT_TRUE(read) << read.Reason();
        EXPECT_EQ(read.Warnings(), row.warnings);
        ASSERT_NE(read->Find(9, row.name), nullptr);
        EXPECT_EQ(read->Find(9, row.name)->School, "");
        ASSERT_TRUE(WriteSpellTexts(*read, folder.File("saved.json")));
        EXPECT_EQ(ReadBytes(folder.File("saved.json")), row.file);
    }
}

// What its reader would refuse is not written, and the old file stays.
TEST(SpellTextsFile, RefusesToWriteWhatCannotBeReadBack) {
    const std::vector<JsonMember> others[] = {
        {{"\"x\"", std::string(31, '[') + std::string(31, ']')}},
        {{"\"x\"", "{"}},
        {{"x", "1"}},
        std::vector<JsonMember>(1013, {"\"x\"", "1"}),
    };
    TempFolder folder;
    const std::string path = folder.File("texts.json");
    for (const auto& fields : others) {
        WriteBytes(path, "old");
        SpellTexts texts;
        SpellText text;
        text.OtherFields = fields;
        texts.Set(1, "Alarm", text);
        const FileStatus written = WriteSpellTexts(texts, path);
        EXPECT_EQ(written.Failure(), FileFailure::CannotWrite) << fields[0].Value;
        EXPECT_EQ(written.Reason().rfind("the text of \"Alarm\" has ", 0), 0u) << written.Reason();
        EXPECT_EQ(ReadBytes(path), "old");
    }
}

} // namespace
} // namespace vellumar
