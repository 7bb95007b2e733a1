#include "files/paired_write.h"

#include "file_test_support.h"
#include "files/safe_write.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vellumar;
using namespace vellumar::test;

namespace {

struct KillRow {
    int stopAfter; // 0: the write ran to its end
    bool oldFilesThere;
};

class PairedWriteKillTest : public ::testing::TestWithParam<KillRow> {};

// Wherever the writing process stops, the next reading finds both files old or both new.
TEST_P(PairedWriteKillTest, NextReadingFindsAWholePair) {
    const auto [stopAfter, oldFilesThere] = GetParam();
    TempFolder folder;
    const std::string list = folder.File("LIST.DAT");
    const std::string texts = folder.File("LIST.DAT.texts.json");
    if (oldFilesThere) {
        WriteBytes(list, "old list");
        WriteBytes(texts, "old texts");
    }
    SetPairedWriteStopForTesting(stopAfter);
    const PairWritten written = WriteFilePair(list, "new list", texts, "new texts");
    SetPairedWriteStopForTesting(0);
    EXPECT_EQ(bool(written), stopAfter == 0);

    ASSERT_TRUE(FinishPairedWrite(list, texts));
    const bool renamed = stopAfter == 0 || stopAfter >= 3; // the journal was written
    const std::string old = oldFilesThere ? "old " : "";
    EXPECT_EQ(ReadBytes(list), renamed ? "new list" : old.empty() ? "" : old + "list");
    EXPECT_EQ(ReadBytes(texts), renamed ? "new texts" : old.empty() ? "" : old + "texts");
    EXPECT_FALSE(std::filesystem::exists(WriterFileBeside(list, "journal")));
    if (renamed) {
        EXPECT_EQ(EntriesIn(folder.Path()), 2u) << "no temporary file is left";
    }
}

INSTANTIATE_TEST_SUITE_P(Steps, PairedWriteKillTest,
                         ::testing::Values(KillRow{0, true}, KillRow{1, true}, KillRow{2, true},
                                           KillRow{3, true}, KillRow{4, true}, KillRow{5, true},
                                           KillRow{4, false}));

// A failed second file leaves both as they were; a journal this program did
// not write renames nothing.
TEST(PairedWrite, FailureAndForeignJournalChangeNothing) {
    TempFolder folder;
    const std::string list = folder.File("LIST.DAT");
    const std::string texts = folder.File("texts");
    WriteBytes(list, "old list");
    std::filesystem::create_directory(texts); // the careful writer refuses a folder
    const PairWritten written = WriteFilePair(list, "new list", texts, "new texts");
    EXPECT_TRUE(written.first);
    EXPECT_FALSE(written.second);
    EXPECT_EQ(ReadBytes(list), "old list");
    EXPECT_EQ(EntriesIn(folder.Path()), 2u);

    const std::string journal = WriterFileBeside(list, "journal");
    WriteBytes(journal, "not a journal");
    EXPECT_FALSE(FinishPairedWrite(list, texts));
    EXPECT_FALSE(WriteFilePair(list, "new list", texts, "new texts").first);
    EXPECT_EQ(ReadBytes(list), "old list");
    EXPECT_TRUE(std::filesystem::exists(journal));
}

} // namespace
