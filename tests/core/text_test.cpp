#include "model/text.h"

#include <gtest/gtest.h>

using namespace vellumar;

namespace {

// The order of files folds a to z only; what the user types matches any letter's case.
TEST(TextFolds, FileOrderAToZOnlyUserMatchingEveryLetter) {
    struct Row {
        const char *a, *b;
        int fileOrder;
        bool sameForUser;
    };
    for (const Row& row :
         {Row{"Magic", "mAGIC", 0, true}, Row{"\xC9lan", "\xE9lan", -1, true},
          Row{"\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF", -1, true}, Row{"\xDE", "\xFE", -1, true},
          Row{"\xD7", "\xF7", -1, false}, Row{"\xDF", "SS", 1, false}, Row{"[", "a", 1, false}}) {
        EXPECT_EQ(CompareTextNoCase(row.a, row.b), row.fileOrder) << row.a << " " << row.b;
        EXPECT_EQ(SameTextForUser(row.a, row.b), row.sameForUser) << row.a << " " << row.b;
    }
}

} // namespace
