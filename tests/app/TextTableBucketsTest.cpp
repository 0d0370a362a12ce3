// The language table's buckets and look-ups.
#include <gtest/gtest.h>

#include "core/TextTable.h"

namespace {

TEST(TextTableBucketsTest, KeysSharingABucketAreFoundByTheirExactSpelling) {
    TextTable table(0);  // no bucket asked for: one, which every key shares
    EXPECT_EQ(table.BucketCount(), 1);
    table.Set("Cancel", "Cancel");
    table.Set("Ok", "Fine");
    table.Set("Ok", "OK");
    ASSERT_NE(table.Find("Ok"), nullptr);
    EXPECT_EQ(*table.Find("Ok"), "OK");
    EXPECT_EQ(*table.Find("Cancel"), "Cancel");
    EXPECT_EQ(table.Find("ok"), nullptr);
    EXPECT_EQ(table.Get("CANCEL"), "*HashError*");

    TextTable language;
    EXPECT_EQ(language.BucketCount(), TextTable::kLanguageBuckets);
    language.Set("Ok", "OK");
    EXPECT_EQ(language.Get("Ok"), "OK");
    bool found = true;
    GetLanguageTextFound("NoSuchKey", found);
    EXPECT_FALSE(found);
    EXPECT_EQ(GetLanguageTextFound("None", found), "None");
    EXPECT_TRUE(found);
}

}  // namespace
