#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace vellumar;
namespace fs = std::filesystem;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ =
            fs::temp_directory_path() /
            ("vellumar-ini-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        path_ = (dir_ / "Vellumar.INI").string();
    }
    void TearDown() override {
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }
    void Put(const std::string& content) { std::ofstream(path_, std::ios::binary) << content; }
    std::string Content() const {
        std::ifstream in(path_, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    fs::path dir_;
    std::string path_;
};

TEST_F(IniFileTest, MissingFileGivesDefaults) {
    IniFile ini(path_);
    EXPECT_EQ(ini.ReadString("Vellumar", "MasterFile", "MASTER.DAT"), "MASTER.DAT");
    EXPECT_EQ(ini.ReadInteger("SpellFrequencyOdds", "Restricted", 100), 100);
    EXPECT_EQ(ini.Path(), path_);
}

struct IntegerCase {
    const char* value;
    int32_t expected;
};

class IniIntegerTest : public IniFileTest, public ::testing::WithParamInterface<IntegerCase> {};

TEST_P(IniIntegerTest, ReadsDecimalAndHexOrTheDefault) {
    Put(std::string("[SpellFrequencyOdds]\r\nCommon=") + GetParam().value + "\r\n");
    EXPECT_EQ(IniFile(path_).ReadInteger("SpellFrequencyOdds", "Common", 1), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, IniIntegerTest,
    ::testing::Values(IntegerCase{"16", 16}, IntegerCase{"0x10", 16}, IntegerCase{"0X1f", 31},
                      IntegerCase{"-7", -7}, IntegerCase{"+7", 7}, IntegerCase{"  42  ", 42},
                      IntegerCase{"word", 1}, IntegerCase{"", 1}, IntegerCase{"12b", 1},
                      IntegerCase{"0x", 1}, IntegerCase{"0x-5", 1}, IntegerCase{"0xG", 1},
                      IntegerCase{"2147483647", 2147483647}, IntegerCase{"2147483648", 1},
                      IntegerCase{"-2147483649", 1}, IntegerCase{"0x100000000", 1},
                      IntegerCase{"1 2", 1}, IntegerCase{"0x10z", 1}, IntegerCase{"0x1F junk", 1},
                      IntegerCase{" 0x7FFFFFFF ", 2147483647}, IntegerCase{"0x80000000", 1}));

TEST_F(IniFileTest, NamesMatchWithoutRegardToCase) {
    Put("; settings\n[vellumar]\ndatadirectory = /data/books/ \n[SPELLFREQUENCYODDS]\nvery "
        "rare = 0X7\n");
    IniFile ini(path_);
    EXPECT_EQ(ini.ReadString("Vellumar", "DataDirectory", "x"), "/data/books/");
    EXPECT_EQ(ini.ReadInteger("SpellFrequencyOdds", "Very Rare", 20), 7);
    EXPECT_EQ(ini.ReadInteger("SpellFrequencyOdds", "VeryRare", 20), 20);
    EXPECT_EQ(ini.ReadString("Other", "DataDirectory", "x"), "x");
}

TEST_F(IniFileTest, ReadsFirstOccurrenceQuotedValuesAndAnyLineEnd) {
    Put("[Vellumar]\rMasterFile=\"my "
        "list.dat\"\r\nMasterFile=second\n[Vellumar]\nDataDirectory=x\n");
    IniFile ini(path_);
    EXPECT_EQ(ini.ReadString("Vellumar", "MasterFile", ""), "my list.dat");
    // Only the first section of a name is read, as the classic functions do.
    EXPECT_EQ(ini.ReadString("Vellumar", "DataDirectory", "d"), "d");
}

TEST_F(IniFileTest, TextValueIsCutAt1023Characters) {
    Put("[Vellumar]\r\nMasterFile=" + std::string(2000, 'a') + "\r\n");
    EXPECT_EQ(IniFile(path_).ReadString("Vellumar", "MasterFile", ""), std::string(1023, 'a'));
}

TEST_F(IniFileTest, FirstWriteCreatesTheFileWithKeyAsGiven) {
    IniFile ini(path_);
    ASSERT_TRUE(ini.WriteInteger("SpellFrequencyOdds", "Very Rare", 25));
    ASSERT_TRUE(ini.WriteString("Vellumar", "DataDirectory", "/home/a b/"));
    EXPECT_EQ(Content(), "[SpellFrequencyOdds]\r\nVery Rare=25\r\n\r\n[Vellumar]\r\n"
                         "DataDirectory=/home/a b/\r\n");
    EXPECT_EQ(ini.ReadInteger("SpellFrequencyOdds", "very rare", 0), 25);
}

// Saved by an editor that marks UTF-8: the first section is still found, and a
// write keeps the mark with the file's other lines, so that what follows it
// reads the same afterwards; a second mark hides nothing either.
TEST_F(IniFileTest, AByteOrderMarkDoesNotHideTheFirstSection) {
    Put("\xEF\xBB\xBF[Vellumar]\r\nMasterFile=/home/j\xC3\xB6rg/list.dat\r\n"
        "[SpellFrequencyOdds]\r\nRare=7\r\n");
    IniFile ini(path_);
    EXPECT_EQ(ini.ReadString("Vellumar", "MasterFile", ""), "/home/j\xC3\xB6rg/list.dat")
        << "a file name keeps its bytes";
    EXPECT_EQ(ini.ReadInteger("SpellFrequencyOdds", "Rare", 0), 7);
    ASSERT_TRUE(ini.WriteInteger("SpellFrequencyOdds", "Rare", 8));
    EXPECT_EQ(Content(), "\xEF\xBB\xBF[Vellumar]\r\nMasterFile=/home/j\xC3\xB6rg/list.dat\r\n"
                         "[SpellFrequencyOdds]\r\nRare=8\r\n");

    Put("\xEF\xBB\xBF\xEF\xBB\xBF[Vellumar]\r\nDataDirectory=/d/\r\n");
    EXPECT_EQ(ini.ReadString("Vellumar", "DataDirectory", "none"), "none"); // read before
    ASSERT_TRUE(ini.WriteString("Vellumar", "MasterFile", "m.dat"));
    EXPECT_EQ(ini.ReadString("Vellumar", "DataDirectory", "none"), "/d/");
    EXPECT_EQ(ini.ReadString("Vellumar", "MasterFile", ""), "m.dat");
}

TEST_F(IniFileTest, WriteKeepsEveryOtherLine) {
    Put("; my notes\n[Other]\nkeep=me\n\n[vellumar]\nmasterfile=old.dat\n; inside\n"
        "DataDirectory=/x/\n\n[Tail]\nz=1\n");
    IniFile ini(path_);
    ASSERT_TRUE(ini.WriteString("Vellumar", "MasterFile", "new.dat"));
    ASSERT_TRUE(ini.WriteString("Vellumar", "Extra", "e"));
    EXPECT_EQ(Content(),
              "; my notes\r\n[Other]\r\nkeep=me\r\n\r\n[vellumar]\r\nMasterFile=new.dat\r\n"
              "; inside\r\nDataDirectory=/x/\r\nExtra=e\r\n\r\n[Tail]\r\nz=1\r\n");
}

TEST_F(IniFileTest, LineBreaksInAValueCannotSplitTheFile) {
    IniFile ini(path_);
    ASSERT_TRUE(ini.WriteString("Vellumar", "DataDirectory", "a\r\n[Evil]\nb"));
    EXPECT_EQ(ini.ReadString("Vellumar", "DataDirectory", ""), "a  [Evil] b");
    EXPECT_EQ(ini.ReadString("Evil", "b", "none"), "none");
}

TEST_F(IniFileTest, WriteIntoAMissingFolderIsReported) {
    IniFile ini((dir_ / "gone" / "Vellumar.INI").string());
    EXPECT_FALSE(ini.WriteString("Vellumar", "MasterFile", "new.dat"));
    EXPECT_FALSE(fs::exists(dir_ / "gone"));
}

TEST_F(IniFileTest, FailedWriteIsReportedAndKeepsTheOldFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes anywhere";
    Put("[Vellumar]\r\nMasterFile=old.dat\r\n");
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    IniFile ini(path_);
    EXPECT_FALSE(ini.WriteString("Vellumar", "MasterFile", "new.dat"));
    fs::permissions(dir_, fs::perms::owner_all);
    EXPECT_EQ(Content(), "[Vellumar]\r\nMasterFile=old.dat\r\n");
}

TEST_F(IniFileTest, AFolderInThePlaceOfTheFileGivesDefaultsAndRefusesWrites) {
    fs::create_directory(path_);
    IniFile ini(path_);
    EXPECT_EQ(ini.ReadString("Vellumar", "MasterFile", "MASTER.DAT"), "MASTER.DAT");
    EXPECT_EQ(ini.ReadInteger("SpellFrequencyOdds", "Common", 1), 1);
    EXPECT_FALSE(ini.WriteInteger("SpellFrequencyOdds", "Common", 3));
    EXPECT_TRUE(fs::is_directory(path_));
}

TEST_F(IniFileTest, AFileThatCannotBeReadIsNotWrittenOver) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
    Put("; notes\r\n[Vellumar]\r\nMasterFile=old.dat\r\n");
    fs::permissions(path_, fs::perms::owner_write);
    IniFile ini(path_);
    EXPECT_EQ(ini.ReadString("Vellumar", "MasterFile", "default"), "default");
    EXPECT_FALSE(ini.WriteString("Vellumar", "DataDirectory", "/x/"));
    fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Content(), "; notes\r\n[Vellumar]\r\nMasterFile=old.dat\r\n");
}

// A settings file that is a symbolic link: a write makes the missing file at
// its end, and links that loop are refused at once, with their reason.
TEST_F(IniFileTest, AWriteFollowsALinkOrSaysWhyNot) {
    fs::create_symlink("made.ini", path_);
    ASSERT_TRUE(IniFile(path_).WriteString("Vellumar", "MasterFile", "m.dat"));
    EXPECT_EQ(Content(), "[Vellumar]\r\nMasterFile=m.dat\r\n");
    for (const char* to : {"loop.ini", "Vellumar.INI"}) {
        fs::remove(path_);
        fs::create_symlink(to, path_);
        fs::create_symlink("Vellumar.INI", dir_ / "loop.ini");
        EXPECT_EQ(IniFile(path_).WriteString("Vellumar", "MasterFile", "x").Reason(),
                  std::strerror(ELOOP))
            << to;
        fs::remove(dir_ / "loop.ini");
    }
}

// Files that the recent-book keys land in differently: no file, no section,
// a section with some keys and other lines, a byte-order mark, a second
// section of the same name, a value with a line break.
class IniManyKeysTest : public IniFileTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(IniManyKeysTest, WriteAllAtOnceLeavesTheFileOfOneByOneAndReadsBack) {
    const std::vector<std::pair<std::string, std::string>> entries = {
        {"File1", "/b/one.spb"}, {"file3", "two\nlines"}, {"File2", ""}, {"File1", "/b/again.spb"}};
    const std::string start = GetParam();
    const auto prepare = [&] {
        fs::remove(path_);
        if (start != "none") Put(start);
    };
    prepare();
    IniFile ini(path_);
    for (const auto& [key, value] : entries) ASSERT_TRUE(ini.WriteString("Recent", key, value));
    const std::string oneByOne = Content();
    std::vector<std::string> single;
    for (const char* key : {"File1", "File2", "FILE3", "File4"})
        single.push_back(ini.ReadString("Recent", key, "-"));

    prepare();
    ASSERT_TRUE(ini.WriteStrings("Recent", entries));
    EXPECT_EQ(Content(), oneByOne);
    EXPECT_EQ(ini.ReadStrings("Recent", {"File1", "File2", "FILE3", "File4"}, "-"), single);
    EXPECT_EQ(single[0], "/b/again.spb");
}

INSTANTIATE_TEST_SUITE_P(Starts, IniManyKeysTest,
                         ::testing::Values("none", "[Vellumar]\nMasterFile=m.dat",
                                           "; mine\r\n[recent]\r\nFILE2=old\r\n; end\r\n\r\n"
                                           "[Other]\r\nk=v\r\n",
                                           "\xEF\xBB\xBF[Recent]\nFile4=kept\n",
                                           "[Recent]\nFile1=a\n[Recent]\nFile2=b\n"));

} // namespace
