// Objects around a unit in polar form, ordered around it, with their pairwise relations.
#include "units/PolarLayout.h"

#include <cmath>

#include "core/Geometry.h"
#include "core/MathUtil.h"
#include "units/Pattern.h"
#include "units/PatternObject.h"
#include "world/ObjectKind.h"
#include "world/WorldObject.h"

namespace {

// The radius of the unit in a pattern: the own object's.
constexpr float kPatternOwnRadius = 1.4f;
// The order starts after the largest gap between neighbours only when that gap stands
// out: at least this many times the second largest and at least a sixth of a turn.
constexpr float kGapDominance = 1.5f;
constexpr float kMinStartGap = kPi / 3.0f;
// Margin around an object within which the unit's line of sight counts as passing it.
constexpr float kSightMargin = 0.5f;

// An entry's angle beside its index, so that the sort compares without reaching into
// the entries; it makes the same comparisons and swaps as a sort of the indices.
struct AngleKey {
    float angle = 0.0f;
    int32_t index = 0;
};

// Shared by every build: layouts are built one at a time on the main thread.
Array<AngleKey>& KeyWork() {
    static Array<AngleKey> work;
    return work;
}

Array<AngleKey>& KeysAsTheyCame() {
    static Array<AngleKey> work;
    return work;
}

Array<int32_t>& SortWork() {
    static Array<int32_t> work;
    return work;
}

float PolarAngle(float x, float y, float distance) {
    if (distance <= kDefaultTolerance) {
        return 0.0f;
    }
    const float angle = std::acos(x / distance);
    return y < 0.0f ? kTwoPi - angle : angle;
}

bool Within(float t, float radius) { return -radius <= t && t <= radius; }

// Inline into both builders: the world's layout makes one for every gathered object.
[[gnu::always_inline]] inline PolarEntry MakeEntry(int32_t index, const Vector2& position, float radius, bool solid) {
    PolarEntry entry;
    entry.index = index;
    entry.x = position.x;
    entry.y = position.y;
    entry.distance = std::sqrt(position.x * position.x + position.y * position.y);
    entry.radius = radius;
    entry.angle = PolarAngle(position.x, position.y, entry.distance);
    entry.solid = solid ? 1 : 0;
    return entry;
}

}  // namespace

PolarLayout::PolarLayout() : relations_(64), related_(64), touch_(8) {}

void PolarLayout::Begin(float ownRadius) {
    ownRadius_ = ownRadius;
    size_ = 0;
    entries_.Clear();
}

void PolarLayout::AddEntry(int32_t index, const Vector2& position, float radius, bool solid) {
    entries_.Append(MakeEntry(index, position, radius, solid));
}

void PolarLayout::Build(const Pattern& pattern) {
    Begin(kPatternOwnRadius);
    for (int i = 0; i < pattern.objects.Count(); ++i) {
        const PatternObject* object = pattern.objects[i];
        if (object == nullptr || object == pattern.ownObject) {
            continue;
        }
        const PatternObjectKindInfo& info = PatternKindInfo(object->kind);
        AddEntry(i, object->position, info.radius, info.exclusive);
    }
    Complete();
}

void PolarLayout::BuildFromWorld(const WorldObject& unit, const Array<WorldObject*>& objects) {
    Begin(unit.GetRadius());
    for (int i = 0; i < objects.Count(); ++i) {
        const WorldObject* object = objects[i];
        if (object == &unit) {
            continue;
        }
        entries_.Append(MakeEntry(i, object->facingOrigin, object->GetRadius(), IsSolidKind(object->kind)));
    }
    Complete();
}

void PolarLayout::Complete() {
    // Only the pairs related since the last layout are marked; clearing just those keeps
    // a crowded layout from touching every cell of its matrix.
    for (const int32_t k : related_) {
        relations_[k].code = 0;
    }
    related_.Clear();
    size_ = entries_.Count();
    relations_.Reserve(size_ * size_);
    touch_.Reserve(size_);

    Array<AngleKey>& keys = KeyWork();
    keys.Reserve(size_);
    for (int i = 0; i < size_; ++i) {
        keys[i] = {entries_[i].angle, i};
    }
    const auto angleOf = [](const AngleKey& key) { return key.angle; };
    SortByFloat(keys.Data(), size_, angleOf, KeysAsTheyCame());
    Array<int32_t>& sorted = SortWork();
    sorted.Reserve(size_);
    for (int i = 0; i < size_; ++i) {
        sorted[i] = keys[i].index;
    }
    OrderAroundUnit(sorted);

    for (int p = 0; p < size_; ++p) {
        const PolarEntry& a = EntryAt(p);
        const float r0 = ownRadius_;
        const float d2 = a.x * a.x + a.y * a.y;
        touch_[p] = a.solid ? 0 : (d2 <= r0 * r0 || d2 <= a.radius * a.radius ? 1 : -1);
    }
}

void PolarLayout::OrderAroundUnit(const Array<int32_t>& sorted) {
    const int n = size_;
    order_.Reserve(n);
    if (n == 0) {
        return;
    }
    auto angleAt = [&](int k) { return entries_[sorted[k]].angle; };
    float largest = 0.0f;
    float second = 0.0f;
    int start = 0;
    auto consider = [&](float gap, int at) {
        if (gap >= largest) {
            second = largest;
            largest = gap;
            start = at;
        } else if (gap >= second) {
            second = gap;
        }
    };
    for (int k = 1; k < n; ++k) {
        consider(angleAt(k) - angleAt(k - 1), k);
    }
    if (n > 1) {
        consider(kTwoPi - (angleAt(n - 1) - angleAt(0)), 0);
    }
    int begin = start;
    if (!(largest >= kGapDominance * second && largest >= kMinStartGap)) {
        // No clear gap: begin straight behind the unit.
        begin = n - 1;
        for (int k = 0; k < n; ++k) {
            if (angleAt(k) > kPi) {
                begin = k;
                break;
            }
        }
    }
    for (int k = 0; k < n; ++k) {
        order_[k] = sorted[(begin + k) % n];
    }
}

void PolarLayout::Relate(int p, int q) const {
    const PolarEntry& a = EntryAt(p);
    const PolarEntry& b = EntryAt(q);
    const float r0 = ownRadius_;
    Relation& forward = relations_[q * size_ + p];
    Relation& backward = relations_[p * size_ + q];

    float angle = std::fabs(a.angle - b.angle);
    if (angle > kPi) {
        angle = kTwoPi - angle;
    }
    const float distance = std::fabs(a.distance - b.distance);

    const Vector2 pa(a.x, a.y);
    const Vector2 pb(b.x, b.y);
    const Vector2 delta = pb - pa;
    const float len = delta.Length();
    int8_t orientation = 0;
    int8_t along = 0;
    int8_t overlap = 1;
    if (len > kDefaultTolerance) {
        const Vector2 u = delta.DivideBy(len);
        const float t = u.Dot(-pa);
        const bool behind = t < 0.0f;
        const bool beyond = t > len;
        bool between = !behind && !beyond;
        const bool nearA = Within(t, a.radius) || Within(t, r0);
        const bool nearB = Within(t - len, b.radius) || Within(t - len, r0);
        if (nearA && nearB) {
            between = true;
            along = behind ? -2 : (beyond ? 2 : 0);
        } else if (nearA) {
            between = false;
            along = -1;
        } else if (nearB) {
            between = false;
            along = 1;
        } else {
            along = behind ? -2 : (beyond ? 2 : 0);
        }

        const int side = Line2{pa, u}.Side(Vector2());
        if (between) {
            const Vector2 foot = pa + u * t;
            const float reach = r0 + kSightMargin;
            orientation = foot.LengthSquared() <= reach * reach ? 0 : static_cast<int8_t>(side);
        } else if (pa.LengthSquared() > (a.radius + r0) * (a.radius + r0) &&
                   pb.LengthSquared() > (b.radius + r0) * (b.radius + r0)) {
            // Does one object stand on the unit's line of sight to the other?
            Vector2 c;
            float d2 = 0.0f;
            float radius = 0.0f;
            if (behind || nearA) {
                c = pb * SegmentParam(Vector2(), pb, pa);
                d2 = (c - pa).LengthSquared();
                radius = a.radius + kSightMargin;
            } else {
                c = pa * SegmentParam(Vector2(), pa, pb);
                d2 = (c - pb).LengthSquared();
                radius = b.radius + kSightMargin;
            }
            orientation = d2 <= radius * radius ? 0 : static_cast<int8_t>(side);
        }
        const float len2 = len * len;
        overlap = len2 <= a.radius * a.radius || len2 <= b.radius * b.radius ? 1 : -1;
    }
    if (a.solid && b.solid) {
        overlap = 0;
    }
    forward = {angle, distance, orientation, along, overlap, Relation::CodeOf(orientation, along, overlap)};
    backward = {angle,
                distance,
                static_cast<int8_t>(-orientation),
                static_cast<int8_t>(-along),
                overlap,
                Relation::CodeOf(-orientation, -along, overlap)};
    related_.Append(q * size_ + p);
    related_.Append(p * size_ + q);
}

int32_t PolarLayout::FindPosition(int32_t index) const {
    for (int p = 0; p < size_; ++p) {
        if (EntryAt(p).index == index) {
            return p;
        }
    }
    return -1;
}
