#include "core/MemoryBlock.h"

#include <gtest/gtest.h>

#include <string>

#include "core/Debugger.h"

namespace {

struct Record {
    int value = 7;
};

VORNS_MEMORY_BLOCK(Record, 5, 2);

// Counts constructions and destructions to show that blocks are made and freed whole.
struct Counted {
    static inline int alive = 0;
    Counted() { ++alive; }
    ~Counted() { --alive; }
};

class MemoryBlockTest : public ::testing::Test {
protected:
    void SetUp() override {
        Debugger::Instance().SetCallback([this](const char* text) { log_ += text; });
    }
    void TearDown() override { Debugger::Instance().SetCallback(nullptr); }

    std::string log_;
};

TEST_F(MemoryBlockTest, HandsOutTheLastBlockFirstThenGrows) {
    TypedMemoryBlock<Record> pool("Record", 1, 2);
    pool.Preallocate();
    EXPECT_EQ(pool.BlockCount(), 2);
    Record* first = pool.Allocate();
    Record* second = pool.Allocate();
    EXPECT_EQ(first, pool.ElementAt(1));
    EXPECT_EQ(second, pool.ElementAt(0));
    Record* third = pool.Allocate();
    EXPECT_EQ(pool.BlockCount(), 3);
    EXPECT_EQ(third, pool.ElementAt(2));
    EXPECT_EQ(third->value, 7);
}

TEST_F(MemoryBlockTest, WithinABlockTheLastElementComesFirst) {
    RecordMemoryBlock pool;
    EXPECT_STREQ(pool.Name().CStr(), "Record");
    Record* first = pool.Allocate();
    Record* second = pool.Allocate();
    EXPECT_EQ(pool.BlockCount(), 1);
    EXPECT_EQ(first, pool.ElementAt(4));
    EXPECT_EQ(second, pool.ElementAt(3));
}

TEST_F(MemoryBlockTest, ReleasedObjectsComeBackOnlyAfterTheFlushInReverseOrder) {
    TypedMemoryBlock<Record> pool("Record", 4, 1);
    Record* a = pool.Allocate();
    Record* b = pool.Allocate();
    pool.Release(a);
    pool.Release(b);
    Record* c = pool.Allocate();
    EXPECT_NE(c, a);
    EXPECT_NE(c, b);
    pool.Flush();
    EXPECT_EQ(pool.Allocate(), b);
    EXPECT_EQ(pool.Allocate(), a);
}

TEST_F(MemoryBlockTest, AllocateReturnsTheObjectAsItWasLeft) {
    TypedMemoryBlock<Record> pool("Record", 1, 0);
    Record* a = pool.Allocate();
    a->value = 99;
    pool.Release(a);
    pool.Flush();
    EXPECT_EQ(pool.Allocate()->value, 99);
}

TEST_F(MemoryBlockTest, SecondReleaseBeforeAFlushIsIgnoredAndLogged) {
    TypedMemoryBlock<Record> pool("Record", 2, 1);
    Record* a = pool.Allocate();
    pool.Release(a);
    pool.Release(a);
    EXPECT_EQ(pool.PendingCount(), 1);
    EXPECT_NE(log_.find("\"Record\""), std::string::npos);
    EXPECT_NE(log_.find("twice"), std::string::npos);
    pool.Flush();
    // Handed out once only: the next allocation after it is the other element.
    EXPECT_EQ(pool.Allocate(), a);
    EXPECT_NE(pool.Allocate(), a);
}

TEST_F(MemoryBlockTest, ReleasingAFreeOrForeignObjectIsIgnored) {
    TypedMemoryBlock<Record> pool("Record", 2, 1);
    pool.Preallocate();
    Record outsider;
    pool.Release(&outsider);
    pool.Release(pool.ElementAt(0));
    pool.Release(nullptr);
    EXPECT_EQ(pool.PendingCount(), 0);
    EXPECT_EQ(pool.FreeCount(), 2);
    EXPECT_NE(log_.find("not from this pool"), std::string::npos);
    EXPECT_NE(log_.find("not in use"), std::string::npos);
}

// A release first looks in the block of the one before: an object of another block, or
// an address inside that block between two elements, must not pass for one of its own.
TEST_F(MemoryBlockTest, ReleasesFindTheirOwnBlockAfterAnother) {
    TypedMemoryBlock<Record> pool("Record", 3, 2);
    pool.Preallocate();
    Record* objects[6];
    for (Record*& object : objects) object = pool.Allocate();
    pool.Release(objects[0]);
    pool.Release(reinterpret_cast<Record*>(reinterpret_cast<char*>(objects[1]) + 1));
    EXPECT_NE(log_.find("not from this pool"), std::string::npos);
    for (int i = 5; i >= 1; --i) pool.Release(objects[i]);
    pool.Release(objects[3]);
    EXPECT_NE(log_.find("twice"), std::string::npos);
    EXPECT_EQ(pool.PendingCount(), 6);
    pool.Flush();
    EXPECT_EQ(pool.Allocate(), objects[1]);
    EXPECT_EQ(pool.Allocate(), objects[2]);
}

TEST_F(MemoryBlockTest, CapacityReadsMinusOneUntilTheFirstFlush) {
    TypedMemoryBlock<Record> pool("Record", 5, 3);
    pool.Preallocate();
    EXPECT_EQ(pool.Capacity(), -1);
    pool.Flush();
    EXPECT_EQ(pool.Capacity(), 15);
}

TEST_F(MemoryBlockTest, ElementAtCountsAcrossBlocks) {
    TypedMemoryBlock<Record> pool("Record", 5, 2);
    pool.Preallocate();
    Record* second = pool.ElementAt(5);
    EXPECT_EQ(pool.ElementAt(7), second + 2);
    EXPECT_EQ(pool.ElementAt(4), pool.ElementAt(0) + 4);
}

TEST_F(MemoryBlockTest, ZeroPerBlockMeansOne) {
    TypedMemoryBlock<Record> pool("Record", 0, 1);
    EXPECT_EQ(pool.PerBlock(), 1);
    EXPECT_NE(pool.Allocate(), nullptr);
    EXPECT_NE(pool.Allocate(), nullptr);
    EXPECT_EQ(pool.BlockCount(), 2);
}

TEST_F(MemoryBlockTest, ClearFreesEveryBlockAndTheDestructorToo) {
    {
        TypedMemoryBlock<Counted> pool("Counted", 10, 2);
        pool.Preallocate();
        EXPECT_EQ(Counted::alive, 20);
        pool.Release(pool.Allocate());
        pool.Clear();
        EXPECT_EQ(Counted::alive, 0);
        EXPECT_EQ(pool.FreeCount(), 0);
        EXPECT_EQ(pool.PendingCount(), 0);
        pool.Allocate();
        EXPECT_EQ(Counted::alive, 10);
    }
    EXPECT_EQ(Counted::alive, 0);
}

}  // namespace
