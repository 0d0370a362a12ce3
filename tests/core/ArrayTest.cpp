#include "core/Array.h"

#include <gtest/gtest.h>

namespace {

TEST(ArrayTest, CapacityDoublesOrBecomesExactlyTheSizeFromEmpty) {
    FloatArray a;
    EXPECT_TRUE(a.Reserve(3));
    EXPECT_EQ(a.Capacity(), 3);
    EXPECT_FALSE(a.Reserve(2));
    EXPECT_EQ(a.Count(), 2);
    EXPECT_TRUE(a.Reserve(4));
    EXPECT_EQ(a.Capacity(), 6);
    EXPECT_TRUE(a.Reserve(25));
    EXPECT_EQ(a.Capacity(), 48);

    UIntArray u;
    for (uint32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(u.Append(i * 10), static_cast<int>(i));
    }
    EXPECT_EQ(u.Capacity(), 8);  // 1, 2, 4, 8
    EXPECT_EQ(u[4], 40u);

    const IntArray room(10);
    EXPECT_EQ(room.Count(), 0);
    EXPECT_EQ(room.Capacity(), 10);
}

TEST(ArrayTest, ShrunkSlotsKeepTheirElements) {
    StringArray names;
    names.Add(String("first"));
    names.Add(String("second"));
    names.SetSize(1);
    EXPECT_EQ(names.Count(), 1);
    names.SetSize(2);
    EXPECT_EQ(names[1], "second");

    // Growing past the capacity copies only the elements in use.
    IntArray numbers;
    numbers.Append(1);
    numbers.Append(2);
    numbers.Reserve(1);
    numbers.Reserve(3);
    EXPECT_EQ(numbers[1], 0);
    EXPECT_EQ(numbers[2], 0);
}

TEST(ArrayTest, EnsureSizeSetsTheCountOnlyWhenItGrows) {
    PointerArray pointers;
    EXPECT_TRUE(pointers.EnsureSize(2));
    EXPECT_EQ(pointers.Count(), 2);
    EXPECT_EQ(pointers[0], nullptr);
    EXPECT_EQ(pointers[1], nullptr);
    EXPECT_FALSE(pointers.EnsureSize(1));
    EXPECT_EQ(pointers.Count(), 2);  // the caller sets the count itself
}

TEST(ArrayTest, AppendOfItsOwnElementSurvivesGrowth) {
    StringArray words;
    words.Add(String("echo"));
    for (int i = 0; i < 6; ++i) {
        words.Append(words[0]);
    }
    EXPECT_EQ(words.Count(), 7);
    EXPECT_EQ(words[6], "echo");

    IntPairArray pairs;
    pairs.Append({1, 2});
    pairs.Append(pairs[0]);
    EXPECT_EQ(pairs[1].second, 2);
}

TEST(ArrayTest, FindAndAddUnique) {
    StringArray names(3);
    EXPECT_EQ(names.Count(), 3);
    EXPECT_TRUE(names[2].IsEmpty());
    names[1] = "Tank";
    EXPECT_EQ(names.Find(String("Tank")), 1);
    EXPECT_EQ(names.Find(String("tank")), -1);  // byte compare

    int a = 0;
    int b = 0;
    PointerArray pointers;
    EXPECT_EQ(pointers.AddUnique(&a), 0);
    EXPECT_EQ(pointers.AddUnique(&b), 1);
    EXPECT_EQ(pointers.AddUnique(&a), 0);
    EXPECT_EQ(pointers.Count(), 2);
}

TEST(ArrayTest, RemoveAtShiftsDownAndIgnoresBadIndices) {
    IntArray numbers;
    for (int i = 0; i < 4; ++i) {
        numbers.Append(i);
    }
    numbers.RemoveAt(1);
    ASSERT_EQ(numbers.Count(), 3);
    EXPECT_EQ(numbers[0], 0);
    EXPECT_EQ(numbers[1], 2);
    EXPECT_EQ(numbers[2], 3);
#ifdef NDEBUG
    numbers.RemoveAt(3);
    numbers.RemoveAt(-1);
    EXPECT_EQ(numbers.Count(), 3);
#else
    EXPECT_DEATH(numbers.RemoveAt(3), "");
#endif
}

TEST(ArrayTest, CopyAssignmentReallocatesOnlyWhenTooSmall) {
    StringArray source;
    for (const char* word : {"a", "b", "c"}) {
        source.Add(String(word));
    }  // capacity 4
    StringArray small;
    small.Add(String("x"));
    small.Assign(source);
    EXPECT_EQ(small.Count(), 3);
    EXPECT_EQ(small.Capacity(), 4);
    EXPECT_EQ(small[2], "c");

    StringArray large(8);
    large = source;
    EXPECT_EQ(large.Count(), 3);
    EXPECT_EQ(large.Capacity(), 8);
    EXPECT_EQ(large[7], "");  // slots past the count keep what they held

    large.Assign(large);
    EXPECT_EQ(large.Count(), 3);
}

TEST(ArrayTest, ExactArraysHoldExactlyTheirCount) {
    ExactArray<int32_t> exact;
    exact.SetSize(3);
    exact[0] = 7;
    exact[2] = 9;
    exact.SetSize(2);
    EXPECT_EQ(exact.Count(), 2);
    EXPECT_EQ(exact[0], 7);
    exact.SetSize(0);
    EXPECT_EQ(exact.Data(), nullptr);

    ExactArray<int32_t> source(3);
    source[1] = 5;
    IntArray numbers;
    numbers.Append(1);
    numbers = source;
    EXPECT_EQ(numbers.Count(), 3);
    EXPECT_EQ(numbers.Capacity(), 3);
    EXPECT_EQ(numbers[1], 5);

    ExactArray<int32_t> copy;
    copy = source;
    EXPECT_EQ(copy.Count(), 3);
    EXPECT_EQ(copy[1], 5);
}

TEST(ArrayTest, ByteArraysAppendAndReserve) {
    ByteArray bytes;
    EXPECT_EQ(bytes.Append(0xFF), 0);
    EXPECT_EQ(bytes.Append(1), 1);
    EXPECT_FALSE(bytes.Reserve(1));
    EXPECT_EQ(bytes.Count(), 1);
    EXPECT_EQ(bytes[0], 0xFF);
}

}  // namespace
