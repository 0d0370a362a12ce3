#pragma once
// Pools for objects made and dropped many times a second. Objects come in blocks of a
// fixed count and are handed out from a stack of free objects; a released object goes
// back to that stack only at the next flush, so it stays valid until the frame ends.
// Pools never shrink while the program runs; Clear gives all memory back at once.
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "core/Array.h"
#include "core/String.h"

class MemoryBlock {
public:
    // Fewer than 1 object per block counts as 1. Makes no block yet.
    MemoryBlock(const char* name, int perBlock, int initialBlocks);
    virtual ~MemoryBlock();
    MemoryBlock(const MemoryBlock&) = delete;
    MemoryBlock& operator=(const MemoryBlock&) = delete;

    // Makes the initial blocks.
    void Preallocate();
    // The object that went onto the free stack last, making a block when the stack is
    // empty. The object is as its last user left it: callers reset it.
    void* Allocate();
    // The object becomes free at the next flush. Releasing an object that is not in use
    // (twice before a flush, or not from this pool) is ignored and logged.
    void Release(void* object);
    // Every released object becomes free, the last released handed out first.
    void Flush();
    // Element i counted across the blocks in order; null when i is out of range.
    void* ElementAt(int i) const;
    // Flushes and frees every block.
    void Clear();

    const String& Name() const { return name_; }
    int PerBlock() const { return perBlock_; }
    int InitialBlocks() const { return initialBlocks_; }
    // -1 until the first flush, then blocks x objects per block.
    int Capacity() const { return capacity_; }
    int BlockCount() const { return blocks_.Count(); }
    int FreeCount() const { return free_.Count(); }
    int PendingCount() const { return pending_.Count(); }

    // Bytes of one element.
    virtual int ElementSize() const = 0;

protected:
    // One block of PerBlock() default-constructed elements.
    virtual void* NewBlock() = 0;
    // Destroys and frees a block made by NewBlock.
    virtual void DeleteBlock(void* block) = 0;

private:
    enum class State : uint8_t { kFree, kInUse, kPending };

    void AddBlock();
    // Element i as ElementAt counts, i in range.
    void* Element(int i) const;
    // Index of an element of this pool as ElementAt counts; -1 for any other pointer.
    // Tries the block of the last release first: released objects often share a block.
    int IndexOf(const void* object);
    // Index of the element at the address within block number; -1 outside it.
    int IndexWithin(int number, uintptr_t address) const;
    void LogRefusedRelease(const char* why) const;

    // The free and released objects by their index, so handing out and flushing need no
    // search for an object's state.
    Array<int> free_;
    Array<int> pending_;
    Array<void*> blocks_;
    std::vector<State> states_;
    // Start address of each block and its number, to find an element's state.
    std::map<uintptr_t, int> blockStarts_;
    int lastBlock_ = -1;
    String name_;
    int perBlock_;
    int initialBlocks_;
    int capacity_ = -1;
};

// The pool of one element class. Blocks are arrays of T, destroyed through T's
// destructor.
template <typename T>
class TypedMemoryBlock : public MemoryBlock {
public:
    TypedMemoryBlock(const char* name, int perBlock, int initialBlocks) : MemoryBlock(name, perBlock, initialBlocks) {}
    // The base destructor can no longer reach DeleteBlock, so the blocks go here.
    ~TypedMemoryBlock() override { Clear(); }

    T* Allocate() { return static_cast<T*>(MemoryBlock::Allocate()); }
    void Release(T* object) { MemoryBlock::Release(object); }
    T* ElementAt(int i) const { return static_cast<T*>(MemoryBlock::ElementAt(i)); }

    int ElementSize() const override { return static_cast<int>(sizeof(T)); }

protected:
    void* NewBlock() override { return new T[static_cast<std::size_t>(PerBlock())]; }
    void DeleteBlock(void* block) override { delete[] static_cast<T*>(block); }
};

// Declares the pool class <Kind>MemoryBlock named "<Kind>", with the given objects per
// block and initial blocks: VORNS_MEMORY_BLOCK(Vorn, 1, 50); gives VornMemoryBlock.
#define VORNS_MEMORY_BLOCK(Kind, perBlock, initialBlocks)                               \
    class Kind##MemoryBlock : public TypedMemoryBlock<Kind> {                           \
    public:                                                                             \
        Kind##MemoryBlock() : TypedMemoryBlock<Kind>(#Kind, perBlock, initialBlocks) {} \
    }
