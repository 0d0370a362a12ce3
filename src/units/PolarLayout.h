#pragma once
// Objects around a unit as the unit sees them: each object's distance and angle from the
// unit, an order of the objects around it, and the pairwise relations between them. A
// pattern keeps one for its objects and the matcher one for the world around the unit
// being evaluated; both are built by the same rules so that the matcher can compare
// them entry by entry and pair by pair.
//
// Coordinates are pattern coordinates: the unit at the origin facing +x, angles from +x
// toward +y in [0, 2 pi). "Position" means a place in the layout order (0 to n - 1).
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/Array.h"
#include "core/Vector2.h"

class Pattern;
class WorldObject;

// One object of a layout, copied by value.
struct PolarEntry {
    int32_t index = 0;  // in the source list (pattern objects, or the matcher's gathered list)
    float x = 0.0f;
    float y = 0.0f;
    float distance = 0.0f;
    float radius = 0.0f;
    float angle = 0.0f;  // 0 at the origin
    uint8_t solid = 0;
};

// The in-place quicksort of the layouts and the matcher. Its exact form decides the order
// of equal keys, and with it the tie-breaks of the matcher's pairing, so it must not be
// replaced by another sort. The range lo..hi is inclusive; key(item) gives a float.
// The pivot comes from lo, mid and hi (not a true median); the left part is sorted
// recursively and the right one in the same call.
template <typename T, typename Key>
void QuickSortByFloat(T* items, int lo, int hi, Key key) {
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        int pivot = lo;
        if (mid != lo) {
            if (key(items[mid]) <= key(items[lo])) {
                pivot = key(items[hi]) <= key(items[lo]) ? hi : lo;
            } else {
                pivot = key(items[hi]) <= key(items[mid]) ? hi : mid;
            }
        }
        const float pivotKey = key(items[pivot]);
        int i = hi + 1;
        int j = lo - 1;
        for (;;) {
            do {
                --i;
            } while (key(items[i]) > pivotKey);
            do {
                ++j;
            } while (key(items[j]) < pivotKey);
            if (j >= i) {
                break;
            }
            const T swap = items[i];
            items[i] = items[j];
            items[j] = swap;
        }
        QuickSortByFloat(items, lo, i, key);
        lo = i + 1;
    }
}

// QuickSortByFloat's order, reached in fewer steps: where no two keys are equal that
// order is the one ascending order, which a library sort (a plain insertion for a few
// items) finds as well. Where two keys are equal, or a key is no number, the quicksort
// decides after all, from the items as they came (kept in `original`).
template <typename T, typename Key>
void SortByFloat(T* items, int count, Key key, Array<T>& original) {
    constexpr int kInsertionLimit = 24;
    for (int k = 0; k < count; ++k) {
        if (std::isnan(key(items[k]))) {
            QuickSortByFloat(items, 0, count - 1, key);
            return;
        }
    }
    original.Reserve(count);
    std::copy(items, items + count, original.Data());
    if (count <= kInsertionLimit) {
        for (int k = 1; k < count; ++k) {
            const T item = items[k];
            const float itemKey = key(item);
            int at = k;
            for (; at > 0 && itemKey < key(items[at - 1]); --at) {
                items[at] = items[at - 1];
            }
            items[at] = item;
        }
    } else {
        std::sort(items, items + count, [&](const T& a, const T& b) { return key(a) < key(b); });
    }
    for (int k = 1; k < count; ++k) {
        if (!(key(items[k - 1]) < key(items[k]))) {
            std::copy(original.Data(), original.Data() + count, items);
            QuickSortByFloat(items, 0, count - 1, key);
            return;
        }
    }
}

class PolarLayout {
public:
    PolarLayout();

    // Own radius 1.4; one entry per pattern object except the own object, in list order.
    void Build(const Pattern& pattern);
    // Own radius = the unit's radius; one entry per listed object except the unit, placed
    // at its facing origin (its position in the unit's pattern coordinates).
    void BuildFromWorld(const WorldObject& unit, const Array<WorldObject*>& objects);

    // Building by hand: Begin, AddEntry for each object in source order, then Complete.
    void Begin(float ownRadius);
    void AddEntry(int32_t index, const Vector2& position, float radius, bool solid);
    // Sizes the matrices, orders the entries around the unit and computes the relations.
    void Complete();

    // The position of the entry with that source index; -1 when there is none.
    int32_t FindPosition(int32_t index) const;

    int Size() const { return size_; }
    float OwnRadius() const { return ownRadius_; }
    const PolarEntry& EntryAt(int position) const { return entries_[order_[position]]; }
    // The entries in source order.
    const PolarEntry& SourceEntry(int i) const { return entries_[i]; }

    // The relations of one ordered pair of positions (r != c). For r > c the value of
    // the pair (c, r) is at [r][c]; R1 and R2 are stored negated at [c][r].
    struct Relation {
        float angle = 0.0f;     // A: angle difference
        float distance = 0.0f;  // D: distance difference
        // R1: side of the unit relative to the directed pair line; 0 when unit and pair
        // are in line.
        int8_t r1 = 0;
        // R2: where the unit's foot lies along the pair line: -2 behind, 2 beyond,
        // 0 between, -1 / 1 at the first / second object.
        int8_t r2 = 0;
        int8_t r3 = 0;  // R3: 1 overlapping, -1 apart, 0 when both are solid
        // R1, R2 and R3 as one number from 1 to kCodes - 1 (CodeOf); 0 until related.
        uint8_t code = 0;

        static constexpr int kCodes = 46;
        static constexpr uint8_t CodeOf(int r1, int r2, int r3) {
            return static_cast<uint8_t>(1 + (r1 + 1) * 15 + (r2 + 2) * 3 + (r3 + 1));
        }
    };
    // Pairs are related on first use: the matcher reads only the pairs it matches, and a
    // crowded world has far more.
    const Relation& Pair(int r, int c) const {
        const Relation& relation = relations_[r * size_ + c];
        if (relation.code == 0) {
            Relate(r < c ? r : c, r < c ? c : r);
        }
        return relation;
    }
    // A pair already related by Pair; the cells of a row follow each other.
    const Relation& RelatedPair(int r, int c) const { return relations_[r * size_ + c]; }
    float A(int r, int c) const { return Pair(r, c).angle; }
    float D(int r, int c) const { return Pair(r, c).distance; }
    int8_t R1(int r, int c) const { return Pair(r, c).r1; }
    int8_t R2(int r, int c) const { return Pair(r, c).r2; }
    int8_t R3(int r, int c) const { return Pair(r, c).r3; }
    // 1 touching the unit, -1 apart, 0 for a solid object.
    int8_t Touch(int position) const { return touch_[position]; }

    // Capacities, for checks that a warm layout allocates nothing.
    int MatrixCapacity() const { return relations_.Capacity() + related_.Capacity(); }

private:
    void OrderAroundUnit(const Array<int32_t>& sorted);
    // Fills the relations of positions p < q, both ways.
    void Relate(int p, int q) const;

    float ownRadius_ = 0.0f;
    int32_t size_ = 0;
    Array<PolarEntry> entries_;
    Array<int32_t> order_;  // entry indices in layout order
    mutable Array<Relation> relations_;
    // The matrix cells related since the last Complete.
    mutable Array<int32_t> related_;
    Array<int8_t> touch_;
};
