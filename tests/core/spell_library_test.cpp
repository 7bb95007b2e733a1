// The spell library: a master list and its texts loaded, what a save would do
// with the companion and what it does, and a save cut short finished at the
// next load.

#include "library/spell_library.h"

#include "file_test_support.h"
#include "files/paired_write.h"
#include "files/spell_texts_file.h"

#include <gtest/gtest.h>

using namespace vellumar;
using namespace vellumar::test;

namespace {

const std::string List = "1,\"Alarm\",\"SRD\",1,\"C\",\"Abjuration\"\r\n"
                         "3,\"Fireball\",\"SRD\",2,\"C\",\"Evocation\"\r\n \r\n";
const std::string Texts = R"([{"name": "Fireball", "level": 3, "range": "150 feet"}])";

struct CompanionRow {
    const char* companion; // beside the list when it is loaded; null: none
    TextsRead when;
    const char* putBack; // written beside it after the load; null: nothing
    CompanionSave save;
    bool readingToSay; // a failure or what the reader left out, not yet said
};

class SpellLibraryCompanion : public ::testing::TestWithParam<CompanionRow> {};

// Texts never read are never written unasked; those read go with the list.
TEST_P(SpellLibraryCompanion, SavesTheTextsOnlyWhenTheyAreItsOwn) {
    const CompanionRow& row = GetParam();
    TempFolder folder;
    const std::string working = folder.Path().string() + "/";
    const std::string path = working + "MASTER.DAT";
    const std::string companion = path + ".texts.json";
    WriteBytes(path, List);
    if (row.companion) WriteBytes(companion, row.companion);
    SpellLibrary library(nullptr, working, working);
    const LibraryLoad loaded = library.Load(row.when);
    ASSERT_EQ(loaded.path, path);
    ASSERT_TRUE(loaded.list && library.List());
    if (row.putBack) WriteBytes(companion, row.putBack);

    EXPECT_EQ(library.Companion(path), row.save); // reads texts put off
    EXPECT_EQ(library.TakeTextsReading().has_value(), row.readingToSay);
    const std::string before = ReadBytes(companion);
    const bool withTexts = row.save == CompanionSave::Ours; // the user says No to the others
    const LibrarySaved saved = library.Save(path, withTexts);
    EXPECT_TRUE(saved.list);
    EXPECT_EQ(saved.texts.has_value(), withTexts);
    EXPECT_EQ(ReadBytes(path), List);
    if (withTexts)
        EXPECT_TRUE(*ReadSpellTexts(companion).Take() == library.Texts());
    else
        EXPECT_EQ(ReadBytes(companion), before);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SpellLibraryCompanion,
    ::testing::Values(
        CompanionRow{Texts.c_str(), TextsRead::Now, nullptr, CompanionSave::Ours, false},
        CompanionRow{Texts.c_str(), TextsRead::Later, nullptr, CompanionSave::Ours, false},
        CompanionRow{"[ broken", TextsRead::Later, nullptr, CompanionSave::Unread, true},
        CompanionRow{nullptr, TextsRead::Now, Texts.c_str(), CompanionSave::NotRead, false},
        CompanionRow{nullptr, TextsRead::Now, nullptr, CompanionSave::None, false}));

class SpellLibraryKill : public ::testing::TestWithParam<int> {};

// A save stopped as a kill would stop it: the next load finds both files
// old, or (once the journal was written) both new.
TEST_P(SpellLibraryKill, NextLoadFindsAWholePair) {
    const int stopAfter = GetParam();
    TempFolder folder;
    const std::string path = folder.File("LIST.DAT");
    WriteBytes(path, List);
    SpellLibrary library;
    ASSERT_TRUE(library.LoadFrom(path, TextsRead::Now).list);
    const tSpell web(2, "Web", "SRD", 3, 0, "Conjuration");
    library.List()->AddCopy(&web);
    SpellText text;
    text.Range = "60 feet";
    library.Texts().Set(2, "Web", text);
    SetPairedWriteStopForTesting(stopAfter);
    (void)library.Save(path, true);
    SetPairedWriteStopForTesting(0);

    SpellLibrary next;
    const LibraryLoad loaded = next.LoadFrom(path, TextsRead::Now);
    EXPECT_TRUE(loaded.finished && loaded.list && loaded.texts);
    const bool renamed = stopAfter >= 3;
    EXPECT_EQ(next.List()->Count(), renamed ? 3 : 2);
    EXPECT_EQ(next.Texts().Find(2, "Web") != nullptr, renamed);
}

INSTANTIATE_TEST_SUITE_P(Steps, SpellLibraryKill, ::testing::Values(2, 4));

} // namespace
