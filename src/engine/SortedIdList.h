#pragma once
// Lists of distinct object references kept ascending by address, so that a reference's
// place (and the number a cache gives it) can be found by bisection.
#include <algorithm>
#include <functional>

#include "core/Array.h"

namespace SortedIdList {

// Inserts the reference at its place unless it is there already.
template <class T>
void Insert(Array<T*>& list, T* value) {
    T** first = list.begin();
    T** at = std::lower_bound(first, list.end(), value, std::less<const T*>());
    if (at != list.end() && *at == value) return;
    const int index = int(at - first);
    list.Append(value);
    for (int i = list.Count() - 1; i > index; --i) list[i] = list[i - 1];
    list[index] = value;
}

template <class T>
void Merge(Array<T*>& into, const Array<T*>& more) {
    for (T* value : more) Insert(into, value);
}

// The reference's index, or -1.
template <class T>
int Find(const Array<T*>& list, const T* value) {
    T* const* first = list.begin();
    T* const* at = std::lower_bound(first, list.end(), value, std::less<const T*>());
    return at != list.end() && *at == value ? int(at - first) : -1;
}

}  // namespace SortedIdList
