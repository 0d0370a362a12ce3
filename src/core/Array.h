#pragma once
// Growable arrays with the program's growth and slot rules: capacity doubles (or becomes
// exactly n from empty), storage never shrinks, and slots past the count keep their old
// elements, so growing again within the capacity shows them again.
//
// Element types must be default-constructible and copy-assignable. Storage is allocated
// value-initialised for the whole capacity: class elements constructed, numbers and
// pointers zero. Elements are copied by assignment.
//
// A bad index is a programming error: it asserts in debug builds and the operation does
// nothing in release builds (operator[] is not checked).
#include <cassert>
#include <cstdint>

#include "core/String.h"

template <typename T>
class Array {
public:
    Array() = default;
    // Count 0 with room for `capacity` elements.
    explicit Array(int capacity) { Allocate(capacity); }
    Array(const Array& other) { Assign(other); }
    ~Array() { delete[] elements_; }
    Array& operator=(const Array& other) {
        Assign(other);
        return *this;
    }

    int Count() const { return count_; }
    int Capacity() const { return capacity_; }
    bool IsEmpty() const { return count_ == 0; }
    T* Data() { return elements_; }
    const T* Data() const { return elements_; }
    T& operator[](int i) { return elements_[i]; }
    const T& operator[](int i) const { return elements_[i]; }
    T* begin() { return elements_; }
    T* end() { return elements_ + count_; }
    const T* begin() const { return elements_; }
    const T* end() const { return elements_ + count_; }

    // Sets the count to n by the growth rule; true when the storage was reallocated.
    bool Reserve(int n) {
        if (n < 0) {
            assert(!"negative array size");
            return false;
        }
        if (n <= capacity_) {
            count_ = n;
            return false;
        }
        int capacity = capacity_;
        if (capacity == 0) {
            capacity = n;
        }
        while (capacity < n) {
            capacity = Doubled(capacity, n);
        }
        Reallocate(capacity, count_);
        count_ = n;
        return true;
    }
    void SetSize(int n) { Reserve(n); }

    // Grows and sets the count when n exceeds the capacity (true); otherwise changes
    // nothing and the caller sets the count itself (false).
    bool EnsureSize(int n) {
        if (n <= capacity_) {
            return false;
        }
        return Reserve(n);
    }

    // Count 0; the storage and the old elements stay.
    void Clear() { count_ = 0; }

    // Appends a copy and returns its index.
    int Append(const T& value) {
        const int index = count_;
        if (index < capacity_) {
            count_ = index + 1;
            if (&elements_[index] != &value) {
                elements_[index] = value;
            }
            return index;
        }
        // The value may live in the storage that growing frees.
        const T copy = value;
        Reserve(index + 1);
        elements_[index] = copy;
        return index;
    }
    int Add(const T& value) { return Append(value); }

    int Find(const T& value) const {
        for (int i = 0; i < count_; ++i) {
            if (elements_[i] == value) {
                return i;
            }
        }
        return -1;
    }

    // Appends the value unless present; the index either way.
    int AddUnique(const T& value) {
        const int index = Find(value);
        return index >= 0 ? index : Append(value);
    }

    // Moves the elements above i down by one.
    void RemoveAt(int i) {
        if (i < 0 || i >= count_) {
            assert(!"RemoveAt index out of range");
            return;
        }
        for (int j = i + 1; j < count_; ++j) {
            elements_[j - 1] = elements_[j];
        }
        --count_;
    }

    // Copy assignment: new storage of the source's capacity only when ours is below the
    // source's count.
    void Assign(const Array& other) {
        if (&other == this) {
            return;
        }
        if (capacity_ < other.count_) {
            delete[] elements_;
            elements_ = nullptr;
            capacity_ = 0;
            Allocate(other.capacity_);
        }
        count_ = other.count_;
        for (int i = 0; i < count_; ++i) {
            elements_[i] = other.elements_[i];
        }
    }

protected:
    void Allocate(int capacity) {
        if (capacity > 0) {
            elements_ = new T[capacity]();
            capacity_ = capacity;
        }
    }

    void Reallocate(int capacity, int keep) {
        T* elements = new T[capacity]();
        for (int i = 0; i < keep; ++i) {
            elements[i] = elements_[i];
        }
        delete[] elements_;
        elements_ = elements;
        capacity_ = capacity;
    }

    // Doubling stops short of overflow: the last step goes straight to n.
    static int Doubled(int capacity, int n) { return capacity > INT32_MAX / 2 ? n : capacity * 2; }

    int count_ = 0;
    int capacity_ = 0;
    T* elements_ = nullptr;
};

// An array whose storage is always exactly Count() elements (none for 0).
template <typename T>
class ExactArray {
public:
    ExactArray() = default;
    explicit ExactArray(int count) { SetSize(count); }
    ExactArray(const ExactArray& other) { *this = other; }
    ~ExactArray() { delete[] elements_; }

    // Reallocates to exactly the source count when the counts differ.
    ExactArray& operator=(const ExactArray& other) {
        if (&other == this) {
            return *this;
        }
        if (count_ != other.count_) {
            delete[] elements_;
            elements_ = other.count_ > 0 ? new T[other.count_]() : nullptr;
            count_ = other.count_;
        }
        for (int i = 0; i < count_; ++i) {
            elements_[i] = other.elements_[i];
        }
        return *this;
    }

    // New storage of exactly n elements keeping the common prefix; n < 1 frees it all.
    void SetSize(int n) {
        if (n < 0) {
            n = 0;
        }
        if (n == count_) {
            return;
        }
        T* elements = n > 0 ? new T[n]() : nullptr;
        const int keep = n < count_ ? n : count_;
        for (int i = 0; i < keep; ++i) {
            elements[i] = elements_[i];
        }
        delete[] elements_;
        elements_ = elements;
        count_ = n;
    }

    int Count() const { return count_; }
    T* Data() { return elements_; }
    const T* Data() const { return elements_; }
    T& operator[](int i) { return elements_[i]; }
    const T& operator[](int i) const { return elements_[i]; }
    T* begin() { return elements_; }
    T* end() { return elements_ + count_; }
    const T* begin() const { return elements_; }
    const T* end() const { return elements_ + count_; }

private:
    int count_ = 0;
    T* elements_ = nullptr;
};

// Two 32-bit values (8 bytes), as stored in pair lists.
struct IntPair {
    int32_t first = 0;
    int32_t second = 0;
    bool operator==(const IntPair&) const = default;
};

class StringArray : public Array<String> {
public:
    StringArray() = default;
    // `count` empty strings.
    explicit StringArray(int count) { Reserve(count); }
};

class IntArray : public Array<int32_t> {
public:
    using Array::Array;
    using Array::operator=;
    IntArray() = default;
    // Storage of exactly the source count when the counts differ, then every element.
    IntArray& operator=(const ExactArray<int32_t>& other);
};

inline IntArray& IntArray::operator=(const ExactArray<int32_t>& other) {
    if (count_ != other.Count()) {
        delete[] elements_;
        elements_ = nullptr;
        capacity_ = 0;
        Allocate(other.Count());
    }
    count_ = other.Count();
    for (int i = 0; i < count_; ++i) {
        elements_[i] = other[i];
    }
    return *this;
}

class UIntArray : public Array<uint32_t> {
public:
    using Array::Array;
};

class FloatArray : public Array<float> {
public:
    using Array::Array;
};

class ByteArray : public Array<uint8_t> {
public:
    using Array::Array;
};

class IntPairArray : public Array<IntPair> {
public:
    using Array::Array;
};

class PointerArray : public Array<void*> {
public:
    using Array::Array;
};
