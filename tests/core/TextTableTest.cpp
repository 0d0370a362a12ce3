// The language table.
#include "core/TextTable.h"

#include <gtest/gtest.h>

namespace {

TEST(TextTableTest, MissingTextKeyGivesTheHashError) {
    EXPECT_EQ(GetLanguageText("NoSuchKey"), "*HashError*");
    EXPECT_EQ(GetLanguageText("None"), "None");
    EXPECT_FALSE(GetLanguageText("NoAmmo").IsEmpty());
}

}  // namespace
