#include "core/MemoryBlock.h"

#include <algorithm>
#include <cassert>
#include <iterator>

#include "core/Debugger.h"

MemoryBlock::MemoryBlock(const char* name, int perBlock, int initialBlocks)
    : name_(name), perBlock_(std::max(perBlock, 1)), initialBlocks_(initialBlocks) {}

MemoryBlock::~MemoryBlock() {
    // Only the typed pool can free its blocks; it clears itself before this runs.
    assert(blocks_.Count() == 0);
}

void MemoryBlock::Preallocate() {
    for (int i = 0; i < initialBlocks_; ++i) AddBlock();
}

void MemoryBlock::AddBlock() {
    void* block = NewBlock();
    const int number = blocks_.Append(block);
    blockStarts_[reinterpret_cast<uintptr_t>(block)] = number;
    states_.resize(states_.size() + static_cast<std::size_t>(perBlock_), State::kFree);
    for (int i = 0; i < perBlock_; ++i) free_.Append(number * perBlock_ + i);
}

void* MemoryBlock::Allocate() {
    if (free_.Count() == 0) AddBlock();
    const int last = free_.Count() - 1;
    const int index = free_[last];
    free_.SetSize(last);
    states_[static_cast<std::size_t>(index)] = State::kInUse;
    return Element(index);
}

void MemoryBlock::Release(void* object) {
    const int index = IndexOf(object);
    if (index < 0) {
        LogRefusedRelease("an object that is not from this pool");
        return;
    }
    State& state = states_[static_cast<std::size_t>(index)];
    if (state != State::kInUse) {
        LogRefusedRelease(state == State::kPending ? "an object twice before a flush" : "an object that is not in use");
        return;
    }
    state = State::kPending;
    pending_.Append(index);
}

void MemoryBlock::Flush() {
    for (int index : pending_) {
        free_.Append(index);
        states_[static_cast<std::size_t>(index)] = State::kFree;
    }
    pending_.Clear();
    capacity_ = blocks_.Count() * perBlock_;
}

void* MemoryBlock::ElementAt(int i) const {
    if (i < 0 || i >= blocks_.Count() * perBlock_) {
        assert(!"MemoryBlock::ElementAt index out of range");
        return nullptr;
    }
    return Element(i);
}

void* MemoryBlock::Element(int i) const {
    char* block = static_cast<char*>(blocks_[i / perBlock_]);
    return block + static_cast<std::ptrdiff_t>(i % perBlock_) * ElementSize();
}

void MemoryBlock::Clear() {
    Flush();
    for (void* block : blocks_) DeleteBlock(block);
    blocks_.Clear();
    free_.Clear();
    states_.clear();
    blockStarts_.clear();
    lastBlock_ = -1;
    capacity_ = 0;
}

int MemoryBlock::IndexOf(const void* object) {
    // Addresses compared as numbers: the pointer may belong to no block at all.
    const uintptr_t address = reinterpret_cast<uintptr_t>(object);
    if (lastBlock_ >= 0) {
        if (const int index = IndexWithin(lastBlock_, address); index >= 0) return index;
    }
    auto after = blockStarts_.upper_bound(address);
    if (after == blockStarts_.begin()) return -1;
    const int number = std::prev(after)->second;
    const int index = IndexWithin(number, address);
    if (index >= 0) lastBlock_ = number;
    return index;
}

int MemoryBlock::IndexWithin(int number, uintptr_t address) const {
    const uintptr_t start = reinterpret_cast<uintptr_t>(blocks_[number]);
    if (address < start) return -1;
    const uintptr_t offset = address - start;
    const uintptr_t size = static_cast<uintptr_t>(ElementSize());
    if (offset >= static_cast<uintptr_t>(perBlock_) * size || offset % size != 0) return -1;
    return number * perBlock_ + static_cast<int>(offset / size);
}

void MemoryBlock::LogRefusedRelease(const char* why) const {
    Debugger& log = Debugger::Instance();
    log << "MemoryBlock \"" << name_.CStr() << "\": ignored the release of " << why << "\n";
    log.Flush();
}
