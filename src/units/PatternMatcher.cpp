// The pattern matcher: gathering, pairing, scoring and the choice of a pattern. Placing
// the chosen pattern in the world is in PatternPlacement.cpp.
#include "units/PatternMatcher.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "core/Geometry.h"
#include "core/MathUtil.h"
#include "game/Game.h"
#include "platform/sys/Random.h"
#include "units/ChassisTable.h"
#include "units/MapConditional.h"
#include "units/Pattern.h"
#include "units/PatternLimits.h"
#include "units/PatternObject.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/Beacon.h"
#include "world/Goal.h"
#include "world/ObjectKind.h"
#include "world/TerrainType.h"
#include "world/WorldObject.h"

PatternMatcher* gPatternMatcher = nullptr;

namespace {

// The pattern area is the square -25..25 around the unit.
constexpr float kAreaHalf = 25.0f;
// Objects within 20 of the unit take part as they are (squared: 400); goals and
// beacons farther out are seen on the edge of the pattern area.
constexpr float kNearDistance = 20.0f;
constexpr float kNearDistance2 = kNearDistance * kNearDistance;
// Weights of the cost, in units of the scale s.
constexpr float kUnmatchedObjectWeight = 8.0f;
constexpr float kPropertyWeight = 0.5f;
constexpr float kConditionalWeight = 3000.0f;
constexpr int64_t kPriorityWeight = -300;
// A full turn of misplacement or misfacing costs as much as 20 units of distance.
constexpr float kAngleWeight = 20.0f;
constexpr float kDisagreementWeight = 1.5f;
// Map conditionals are not scaled: a failing one outweighs any geometry.
constexpr float kMapConditionFailure = 3000.0f;
// Terrain is sampled over a circle of the size of a path point.
constexpr float kMapSampleRadius = 1.4f;

enum MoveKind : int32_t { kNoMove = 0, kExchange, kTake };

int32_t SaturateToInt32(int64_t value) {
    if (value > INT32_MAX) {
        return INT32_MAX;
    }
    if (value < INT32_MIN) {
        return INT32_MIN;
    }
    return static_cast<int32_t>(value);
}

// Truncation toward zero; the values here stay far inside 64 bits, and a non-finite one
// counts as 0.
int64_t TruncateToInt64(float value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    if (std::fabs(value) >= 9.0e18f) {
        return value > 0.0f ? INT64_MAX : INT64_MIN;
    }
    return static_cast<int64_t>(value);
}

// priority x -300 x s: the integer product first, then the float product, as the scores
// were always made; in 64 bits so that no priority a file holds can overflow.
float PriorityTerm(int32_t priority, float scale) {
    return static_cast<float>(static_cast<int64_t>(priority) * kPriorityWeight) * scale;
}

// The slots in use; a count outside 0..16 would index past the unit's patterns.
int PatternSlots(const Vorn& unit) { return std::clamp(unit.patternCount, 0, Vorn::kMaxPatterns); }

bool IsBeaconOrGoal(const WorldObject& object) { return object.kind == kKindBeacon || object.kind == kKindGoal; }

const Player* BeaconPlayer(const WorldObject& beacon) { return static_cast<const Beacon&>(beacon).ownerPlayer; }

const Player* GoalPlayer(const WorldObject& goal) { return static_cast<const Goal&>(goal).owner; }

float GroundDistance2(const Vector3& a, const Vector3& b) {
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    return dx * dx + dy * dy;
}

// Polar angle in [0, 2 pi) of a point given with its length; 0 at the origin.
float PolarAngleOf(const Vector2& p, float length) {
    if (length <= kDefaultTolerance) {
        return 0.0f;
    }
    const float angle = std::acos(std::fmax(-1.0f, std::fmin(1.0f, p.x / length)));
    return p.y < 0.0f ? kTwoPi - angle : angle;
}

// acos(fmax(-1, fmin(1, x))) without the calls: a NaN becomes 1.
float ClampedAcos(float x) {
    if (std::isnan(x)) {
        return std::acos(1.0f);
    }
    return std::acos(x < -1.0f ? -1.0f : (x > 1.0f ? 1.0f : x));
}

bool NearZero2D(const Vector2& p) { return FloatNearZero(p.x) && FloatNearZero(p.y); }

// Nearness of an object that must be near or far alike in pattern and world.
constexpr uint8_t kNearBoth = 0;
constexpr uint8_t kNear = 1;
constexpr uint8_t kFar = 2;
constexpr uint8_t kAllProperties = 0xFF;
// A unit always has one of injured and not injured, so no unit has no properties.
constexpr uint8_t kPropertiesUnknown = 0;

// The properties of a world unit, one bit per pattern property, as PropertyTest asks.
uint8_t UnitProperties(const Vorn& w) {
    const int32_t size = ChassisTable::SizeClass(w.chassisType);
    const bool holds[kPatternPropertyCount] = {
        w.health != w.maxHealth, w.health == w.maxHealth, size == 0, size == 1, size == 2, w.vip != 0, w.vip == 0,
        w.carryingBall != 0,
    };
    uint8_t bits = 0;
    for (int i = 0; i < kPatternPropertyCount; ++i) {
        bits |= holds[i] ? uint8_t(1u << i) : 0;
    }
    return bits;
}

uint8_t PropertyMask(const PatternObject& p) {
    uint8_t bits = 0;
    for (int i = 0; i < kPatternPropertyCount; ++i) {
        bits |= p.properties[i] ? uint8_t(1u << i) : 0;
    }
    return bits;
}

// A pair's agreements e and disagreement weight f from its relations on both sides and
// its touch terms.
struct RelationCounts {
    int e = 0;
    int f = 0;
};

// How one object's touch of the unit compares between pattern and world: 0 no term,
// 1 an agreement, 2 a touch the pattern has and the world lacks (a disagreement).
constexpr int TouchClass(int8_t pattern, int8_t world) {
    if (pattern == world && pattern != 0) {
        return 1;
    }
    return pattern == 1 && world != 1 ? 2 : 0;
}

// e and f of a pair for everything they depend on: the touch classes of its two objects,
// whether the pattern side lets the side rule fail, and the relation codes of both sides.
// An entry holds e in its low four bits and f above them; a row is the world codes for
// the rest.
class RelationTable {
public:
    static constexpr int kCodes = PolarLayout::Relation::kCodes;
    // The distance between the rows of successive touch classes of the first object.
    static constexpr int kFirstTouchStep = 3 * 2 * kCodes * kCodes;

    constexpr RelationTable() {
        for (int first = 0; first < 3; ++first) {
            for (int second = 0; second < 3; ++second) {
                for (int side = 0; side < 2; ++side) {
                    for (int r1p = -1; r1p <= 1; ++r1p) {
                        for (int r2p = -2; r2p <= 2; ++r2p) {
                            for (int r3p = -1; r3p <= 1; ++r3p) {
                                const int row =
                                    Row(first, second, side != 0, PolarLayout::Relation::CodeOf(r1p, r2p, r3p));
                                FillRow(row, first, second, side != 0, r1p, r2p, r3p);
                            }
                        }
                    }
                }
            }
        }
    }

    static constexpr int Row(int firstTouch, int secondTouch, bool sidePossible, uint8_t patternCode) {
        return (((firstTouch * 3 + secondTouch) * 2 + (sidePossible ? 1 : 0)) * kCodes + patternCode) * kCodes;
    }
    constexpr uint8_t At(int row, uint8_t worldCode) const { return entries_[row + worldCode]; }

private:
    constexpr void FillRow(int row, int first, int second, bool side, int r1p, int r2p, int r3p) {
        const int agreements = (first == 1) + (second == 1);
        const int mismatches = (first == 2) + (second == 2);
        for (int r1w = -1; r1w <= 1; ++r1w) {
            for (int r2w = -2; r2w <= 2; ++r2w) {
                for (int r3w = -1; r3w <= 1; ++r3w) {
                    const bool m0 = side && (r1w != 0 || r2p != r2w);
                    const bool m1 = r3p == 1 && r3w != 1;
                    int e = 0;
                    int f = 0;
                    if (m0 || m1 || mismatches != 0) {
                        f = (m0 ? 2 : 1) + m1 + mismatches;
                    } else {
                        e = (r1p == r1w) + (r2p == r2w) + (r3p == r3w && r3p != 0) + agreements;
                    }
                    entries_[row + PolarLayout::Relation::CodeOf(r1w, r2w, r3w)] = static_cast<uint8_t>(f << 4 | e);
                }
            }
        }
    }

    uint8_t entries_[3 * kFirstTouchStep] = {};
};

constexpr RelationTable kRelationTable;

[[gnu::always_inline]] inline RelationCounts CountsOf(uint8_t entry) { return {entry & 15, entry >> 4}; }

// The side rule can fail only where the pattern sees the pair in line, apart, and neither
// object touching the unit.
[[gnu::always_inline]] inline bool SidePossible(const PolarLayout::Relation& rp, int8_t ta, int8_t tb) {
    return rp.r1 == 0 && rp.r3 <= 0 && ta <= 0 && tb <= 0;
}

}  // namespace

PatternMatcher::PatternMatcher()
    : worldLines_(Pattern::LineRoom(kMaxPatternObjects)),
      compatible_(64),
      candidates_(64),
      visitingOrder_(8),
      done_(8),
      group_(8),
      groupPattern_(8),
      groupWorld_(8),
      positionObject_(8),
      objectPosition_(9),
      propertyTerms_(9),
      pairTerms_(64),
      pairValues_(64),
      committedPartner_(8),
      matchedPositions_(8),
      matchedPartners_(8),
      takePairs_(8) {
    if (!(scale_ > 0.0f)) {
        // The two side lengths of the pattern area, doubled.
        scale_ = 2.0f * ((kAreaHalf - (-kAreaHalf)) + (kAreaHalf - (-kAreaHalf)));
    }
    angleScale_ = static_cast<double>(kAngleWeight) / scale_;
    distanceScale_ = 1.0 / scale_;
}

PatternMatcher::~PatternMatcher() = default;

int64_t PatternMatcher::WorkCapacity() const {
    return int64_t(worldObjects_.Capacity()) + worldLayout_.MatrixCapacity() + pickList_.Capacity() +
           worldLines_.Capacity() + savedPlaces_.Capacity() + compatible_.Capacity() + candidates_.Capacity() +
           candidatesAsTheyCame_.Capacity() + visitingOrder_.Capacity() + done_.Capacity() + group_.Capacity() +
           groupPattern_.Capacity() + groupWorld_.Capacity() + worldAt_.Capacity() + worldTraits_.Capacity() +
           unmatchedSums_.Capacity() + positionObject_.Capacity() + objectPosition_.Capacity() +
           propertyTerms_.Capacity() + pairTerms_.Capacity() + pairValues_.Capacity() + matchedPositions_.Capacity() +
           matchedPartners_.Capacity() + committedPartner_.Capacity() + takePairs_.Capacity() + takes_.Capacity() +
           takeSums_.Capacity();
}

// The run.

void PatternMatcher::Evaluate(Vorn& unit) {
    unit.SetCurrentPattern(nullptr);
    unitMatrix_ = unit.BuildWorldMatrix();
    inverseUnitMatrix_ = Matrix4Invert(unitMatrix_);

    savedPlaces_.Clear();
    for (int left = gArena->BeaconAndGoalCount(), i = 0; left > 0 && i < gArena->ObjectCount(); ++i) {
        WorldObject* object = gArena->ObjectAt(i);
        if (IsBeaconOrGoal(*object)) {
            savedPlaces_.Append({object, object->position});
            PullIntoView(unit, *object);
            --left;
        }
    }
    Gather(unit);

    // Nothing of the run changes which patterns are enabled: asked once per slot.
    enabled_ = 0;
    for (int i = 0; i < PatternSlots(unit); ++i) {
        enabled_ |= unit.PatternAt(i).IsEnabled() ? 1u << i : 0u;
    }
    for (int i = 0; i < PatternSlots(unit); ++i) {
        Pattern& pattern = unit.PatternAt(i);
        pattern.score = kNoScore;
        pattern.valid = 1;
        if (IsEnabledSlot(i)) {
            Assign(unit, pattern);
            pattern.score = Cost(unit, pattern, true);
        }
    }
    for (int i = 0; i < PatternSlots(unit); ++i) {
        Pattern& pattern = unit.PatternAt(i);
        if (IsEnabledSlot(i) && pattern.mapConditionals.Count() > 0) {
            ApplyMapConditionals(unit, pattern);
        }
    }
    for (int i = 0; i < PatternSlots(unit); ++i) {
        Pattern& pattern = unit.PatternAt(i);
        if (IsEnabledSlot(i) && pattern.valid) {
            pattern.score = SaturateToInt32(pattern.score + TruncateToInt64(PriorityTerm(pattern.priority, scale_)));
        }
    }

    Pattern* chosen = Choose(unit);
    PlacePattern(unit, chosen);
    const Game* game = CurrentGame();
    if (game != nullptr && game->selectedVorn == &unit) {
        // The debugger shows every pattern placed; the chosen one is placed last so that
        // it ends as the unit's current pattern with its actions queued.
        for (int i = 0; i < PatternSlots(unit); ++i) {
            Pattern& pattern = unit.PatternAt(i);
            if (&pattern != chosen && pattern.IsEnabled()) {
                PlacePattern(unit, &pattern);
            }
        }
        PlacePattern(unit, chosen);
    }

    RestoreSavedPlaces();
    unit.ClearOneShotConditionals();
}

void PatternMatcher::PullIntoView(const Vorn& unit, WorldObject& object) {
    const Vector3 image = gArena->NearestImage(unit.position, object.position);
    object.previousPosition = image;
    if ((image - unit.position).LengthSquared() < kNearDistance2) {
        object.SetPosition(gArena->GroundPoint(image.x, image.y));
        return;
    }
    static const Vector3 kCorners[4] = {{-kAreaHalf, -kAreaHalf, 0.0f},
                                        {-kAreaHalf, kAreaHalf, 0.0f},
                                        {kAreaHalf, kAreaHalf, 0.0f},
                                        {kAreaHalf, -kAreaHalf, 0.0f}};
    Vector2 corners[4];
    for (int k = 0; k < 4; ++k) {
        const Vector3 c = TransformPoint(unitMatrix_, kCorners[k]);
        corners[k] = Vector2(c.x, c.y);
    }
    const Vector2 from(image.x, image.y);
    const Vector2 to(unit.position.x, unit.position.y);
    float nearest = kFloatMax;
    for (int k = 0; k < 4; ++k) {
        float ta = 0.0f;
        float tb = 0.0f;
        if (SegmentsCross2D(from, to, corners[k], corners[(k + 1) % 4], ta, tb) == 3 && ta < nearest) {
            nearest = ta;
        }
    }
    if (nearest == kFloatMax) {
        object.SetPosition(gArena->GroundPoint(image.x, image.y));
        return;
    }
    // Seen where the straight line from it to the unit enters the pattern area.
    const Vector3 edge = image + (unit.position - image) * nearest;
    object.SetPosition(gArena->GroundPoint(edge.x, edge.y));
    object.previousPosition = object.position;
}

void PatternMatcher::RestoreSavedPlaces() {
    for (const SavedPlace& place : savedPlaces_) {
        place.object->SetPosition(place.position);
    }
}

void PatternMatcher::Gather(Vorn& unit) {
    worldObjects_.Clear();
    const int32_t stamp = static_cast<int32_t>(gArena->BeginWalk());
    // The unit's own image nearest itself is where it stands now, whatever it did
    // earlier in the tick.
    unit.previousPosition = unit.position;
    GatherGoalsAndBeacons(unit, stamp);
    GatherGrid(unit, stamp);
    worldLayout_.BuildFromWorld(unit, worldObjects_);

    const int nW = worldLayout_.Size();
    worldAt_.Reserve(nW);
    for (int j = 0; j < nW; ++j) {
        worldAt_[j] = worldObjects_[worldLayout_.EntryAt(j).index];
    }
    DescribeWorld(unit);
    // The cost adds s once per unmatched world object, one addition at a time; the
    // running sums for every count are the same additions made once per run.
    unitGathered_ = worldObjects_.Find(&unit) >= 0;
    unmatchedSums_.Reserve(worldObjects_.Count() + 1);
    unmatchedSums_[0] = 0.0f;
    for (int k = 1; k <= worldObjects_.Count(); ++k) {
        unmatchedSums_[k] = unmatchedSums_[k - 1] + scale_;
    }
    preparedPattern_ = nullptr;
}

// Inline in the gathering walks: most gathered objects come from the grid's cells.
[[gnu::always_inline]] inline void PatternMatcher::AddObject(WorldObject* object) {
    worldObjects_.Append(object);
    const Vector3& image = object->previousPosition;
    const Vector3 local = TransformPoint(inverseUnitMatrix_, Vector3(image.x, image.y, 0.0f));
    object->facingOrigin = Vector2(local.x, local.y);
}

void PatternMatcher::GatherGoalsAndBeacons(const Vorn& unit, int32_t stamp) {
    WorldObject* beacon = nullptr;
    WorldObject* friendGoal = nullptr;
    WorldObject* enemyGoal = nullptr;
    float beaconDistance = kFloatMax;
    float friendDistance = kFloatMax;
    float enemyDistance = kFloatMax;
    auto keepNearer = [&](WorldObject* object, const Vector3& saved, WorldObject*& kept, float& keptDistance) {
        const float distance = (gArena->NearestImage(unit.position, saved) - unit.position).Length();
        if (distance < keptDistance) {
            kept = object;
            keptDistance = distance;
        }
    };
    // The saved places are the arena's beacons and goals in list order.
    for (const SavedPlace& place : savedPlaces_) {
        WorldObject* object = place.object;
        object->visitStamp = stamp;
        if (object->kind == kKindBeacon) {
            if (unit.owner != nullptr && BeaconPlayer(*object) == unit.owner) {
                keepNearer(object, place.position, beacon, beaconDistance);
            }
        } else if (GoalPlayer(*object) == unit.owner) {
            keepNearer(object, place.position, friendGoal, friendDistance);
        } else {
            keepNearer(object, place.position, enemyGoal, enemyDistance);
        }
    }
    for (WorldObject* object : {beacon, friendGoal, enemyGoal}) {
        if (object != nullptr) {
            AddObject(object);
        }
    }
}

void PatternMatcher::GatherGrid(const Vorn& unit, int32_t stamp) {
    const Vector3 reach(kNearDistance, kNearDistance, 0.0f);
    const Point low = gArena->CellOfPoint(unit.position - reach);
    const Point high = gArena->CellOfPoint(unit.position + reach);
    // More than a whole grid's width would only meet the same cells again.
    const int lastX = high.x - low.x >= kGridSize ? low.x + kGridSize - 1 : high.x;
    const int lastY = high.y - low.y >= kGridSize ? low.y + kGridSize - 1 : high.y;
    // Read once: the stores to the objects below would make the compiler read them again.
    const float width = gArena->WorldWidth();
    const float height = gArena->WorldHeight();
    for (int x = low.x; x <= lastX; ++x) {
        for (int y = low.y; y <= lastY; ++y) {
            for (WorldObject* object : gArena->BodyCell(x, y)) {
                if (object->visitStamp == stamp) {
                    continue;
                }
                object->visitStamp = stamp;
                if (!IsPatternTargetKind(object->kind)) {
                    continue;
                }
                if (object->kind == kKindVorn &&
                    (!object->onGround || static_cast<const Vorn*>(object)->delayTimer > 0.0f)) {
                    continue;
                }
                object->previousPosition = gArena->NearestImageIn(unit.position, object->position, width, height);
                if (GroundDistance2(object->previousPosition, unit.position) < kNearDistance2) {
                    AddObject(object);
                }
            }
        }
    }
}

// Only a pattern object with a facing handle reads the facing, so it is worked out once
// per run for the world objects such a pattern object meets, from the same places the
// gathering saw: nothing moves during a run.
const WorldObject& PatternMatcher::FacedWorldAt(int32_t worldPosition) {
    WorldObject& object = WorldAt(worldPosition);
    uint8_t& faced = worldTraits_[worldPosition].faced;
    if (faced) {
        return object;
    }
    const Vector3 ahead = object.previousPosition + object.GetHeadingVector();
    object.FaceDirection(TransformPoint(inverseUnitMatrix_, Vector3(ahead.x, ahead.y, 0.0f)));
    faced = 1;
    return object;
}

// Pairing.

bool PatternMatcher::PairTest(const Vorn& unit, const PatternObject& p, const WorldObject& w) const {
    auto distanceRule = [&]() {
        const bool nearInPattern = p.position.LengthSquared() < kNearDistance2;
        const bool nearInWorld = GroundDistance2(w.position, unit.position) < kNearDistance2;
        return nearInPattern == nearInWorld;
    };
    switch (p.kind) {
        case kPatternTree: return w.kind == kKindTree;
        case kPatternSolarCharger: return w.kind == kKindSolarCharger;
        case kPatternRock: return w.kind == kKindRock;
        case kPatternBeacon:
            return w.kind == kKindBeacon && unit.owner != nullptr && BeaconPlayer(w) == unit.owner && distanceRule();
        case kPatternHealthField: return w.kind == kKindHealthField;
        case kPatternGooField: return w.kind == kKindGooField;
        case kPatternStaticField: return w.kind == kKindStaticField;
        case kPatternFriend:
            return w.kind == kKindVorn && static_cast<const Vorn&>(w).owner == unit.owner &&
                   PropertyTest(static_cast<const Vorn&>(w), p);
        case kPatternEnemy:
            return w.kind == kKindVorn && static_cast<const Vorn&>(w).owner != unit.owner &&
                   PropertyTest(static_cast<const Vorn&>(w), p);
        case kPatternSoccerBall: return w.kind == kKindSoccerBall;
        case kPatternFriendGoal: return w.kind == kKindGoal && GoalPlayer(w) == unit.owner && distanceRule();
        case kPatternEnemyGoal: return w.kind == kKindGoal && GoalPlayer(w) != unit.owner && distanceRule();
        default: return false;
    }
}

bool PatternMatcher::PropertyTest(const Vorn& w, const PatternObject& p) {
    const uint8_t wanted = PropertyMask(p);
    return (wanted & UnitProperties(w)) == wanted;
}

// PairTest's rules, split into what depends on the world object alone: asked of every
// pattern object of every pattern, they are worked out once per run.
void PatternMatcher::DescribeWorld(const Vorn& unit) {
    const int nW = worldLayout_.Size();
    worldTraits_.Reserve(nW);
    for (int j = 0; j < nW; ++j) {
        const WorldObject& w = WorldAt(j);
        WorldTraits traits;
        traits.properties = kAllProperties;
        traits.nearZero = NearZero2D(w.facingOrigin) ? 1 : 0;
        auto nearness = [&]() { return GroundDistance2(w.position, unit.position) < kNearDistance2 ? kNear : kFar; };
        switch (w.kind) {
            case kKindTree: traits.kind = kPatternTree; break;
            case kKindSolarCharger: traits.kind = kPatternSolarCharger; break;
            case kKindRock: traits.kind = kPatternRock; break;
            case kKindHealthField: traits.kind = kPatternHealthField; break;
            case kKindGooField: traits.kind = kPatternGooField; break;
            case kKindStaticField: traits.kind = kPatternStaticField; break;
            case kKindSoccerBall: traits.kind = kPatternSoccerBall; break;
            case kKindBeacon:
                if (unit.owner != nullptr && BeaconPlayer(w) == unit.owner) {
                    traits.kind = kPatternBeacon;
                    traits.nearness = nearness();
                }
                break;
            case kKindGoal:
                traits.kind = GoalPlayer(w) == unit.owner ? kPatternFriendGoal : kPatternEnemyGoal;
                traits.nearness = nearness();
                break;
            case kKindVorn: {
                const Vorn& other = static_cast<const Vorn&>(w);
                traits.kind = other.owner == unit.owner ? kPatternFriend : kPatternEnemy;
                // Worked out when a pattern object first asks for properties.
                traits.properties = kPropertiesUnknown;
                break;
            }
            default: break;
        }
        worldTraits_[j] = traits;
    }
}

PatternObject& PatternMatcher::PatternAt(int position) const { return *positionObject_[position]; }

WorldObject& PatternMatcher::WorldAt(int position) const { return *worldAt_[position]; }

bool PatternMatcher::Compatible(int32_t worldPosition, int32_t patternPosition, int32_t patternCount) const {
    return compatible_[worldPosition * patternCount + patternPosition] != 0;
}

void PatternMatcher::Match(PatternObject& p, int32_t worldPosition) {
    WorldObject& w = WorldAt(worldPosition);
    p.linkedObject = &w;
    p.matchedIndex = worldPosition;
    w.matchedPatternObject = &p;
}

void PatternMatcher::Unmatch(PatternObject& p) {
    if (p.linkedObject != nullptr && p.linkedObject->matchedPatternObject == &p) {
        p.linkedObject->matchedPatternObject = nullptr;
    }
    p.linkedObject = nullptr;
    p.matchedIndex = -1;
}

void PatternMatcher::Assign(Vorn& unit, Pattern& pattern) {
    ResetMatches(unit, pattern);
    Prepare(pattern);
    pairValuesValid_ = false;
    const int nP = pattern.Layout().Size();
    const int nW = worldLayout_.Size();
    compatible_.Reserve(nP * nW);
    candidates_.Clear();
    done_.Reserve(nP);
    group_.Reserve(nP);
    groupPattern_.Reserve(nP);
    groupWorld_.Reserve(nW);
    BuildCandidates(pattern);
    GreedyPass(pattern);
    Improve(unit, pattern);
}

void PatternMatcher::ResetMatches(Vorn& unit, Pattern& pattern) {
    for (PatternObject* p : pattern.objects) {
        p->matchedIndex = -1;
        p->linkedObject = nullptr;
    }
    for (WorldObject* w : worldObjects_) {
        w->matchIndex = -1;
        w->matchedPatternObject = nullptr;
    }
    if (pattern.ownObject != nullptr) {
        pattern.ownObject->linkedObject = &unit;
        unit.matchedPatternObject = pattern.ownObject;
    }
}

void PatternMatcher::Prepare(const Pattern& pattern) {
    const PolarLayout& layout = pattern.Layout();
    const int nP = layout.Size();
    const int count = pattern.objects.Count();
    positionObject_.Reserve(nP);
    visitingOrder_.Reserve(nP);
    matchedPositions_.Reserve(nP);
    matchedPartners_.Reserve(nP);
    objectPosition_.Reserve(count);
    propertyTerms_.Reserve(count);
    for (int i = 0; i < count; ++i) {
        objectPosition_[i] = -1;
        propertyTerms_[i] = -kPropertyWeight * scale_ * static_cast<float>(pattern.objects[i]->PropertyCount());
    }
    positionTraits_.Reserve(nP);
    for (int i = 0; i < nP; ++i) {
        const int32_t index = layout.EntryAt(i).index;
        positionObject_[i] = pattern.objects[index];
        positionTraits_[i] = {static_cast<uint8_t>(positionObject_[i]->HasFacing() ? 1 : 0),
                              static_cast<uint8_t>(NearZero2D(positionObject_[i]->position) ? 1 : 0)};
        objectPosition_[index] = i;
        visitingOrder_[i] = i;
    }
    pairTerms_.Reserve(nP * worldLayout_.Size());
    for (PairTerms& terms : pairTerms_) {
        terms.ready = 0;
    }
    preparedPattern_ = &pattern;
}

// The placement and facing terms of a pattern object on a world object depend on that
// pair alone, and the improvement loop asks for the same pairs again and again.
const PatternMatcher::PairTerms& PatternMatcher::TermsOf(int32_t patternPosition, int32_t worldPosition) {
    PairTerms& terms = pairTerms_[worldPosition * positionObject_.Count() + patternPosition];
    if (terms.ready) {
        return terms;
    }
    const PatternObject& p = PatternAt(patternPosition);
    const PositionTraits& traits = positionTraits_[patternPosition];
    const Vector2& P = p.position;
    const Vector2& L = WorldAt(worldPosition).facingOrigin;
    // The layouts hold both lengths, worked out as Length() does.
    const float lengthP = preparedPattern_->Layout().EntryAt(patternPosition).distance;
    const float lengthL = worldLayout_.EntryAt(worldPosition).distance;
    float alpha = 0.0f;
    if (!traits.nearZero && !worldTraits_[worldPosition].nearZero) {
        alpha = ClampedAcos(P.DivideBy(lengthP).Dot(L.DivideBy(lengthL)));
    }
    terms.placement = std::fabs(lengthL - lengthP) + kAngleWeight * alpha / kTwoPi;
    terms.hasFacing = traits.hasFacing;
    if (terms.hasFacing) {
        // The world object's heading, turned from where it stands to where the pattern
        // expects it, against the facing the pattern asks for.
        const float delta = PolarAngleOf(P, lengthP) - PolarAngleOf(L, lengthL);
        const Vector2 h = FacedWorldAt(worldPosition).GetFacingVector();
        const float cosDelta = std::cos(delta);
        const float sinDelta = std::sin(delta);
        const Vector2 turned(h.x * cosDelta - h.y * sinDelta, h.x * sinDelta + h.y * cosDelta);
        terms.facing = kAngleWeight * ClampedAcos(turned.Dot(p.FacingDirection()));
    }
    terms.ready = 1;
    return terms;
}

void PatternMatcher::BuildCandidates(Pattern& pattern) {
    const PolarLayout& layout = pattern.Layout();
    const int nP = layout.Size();
    const int nW = worldLayout_.Size();
    for (int i = 0; i < nP; ++i) {
        const PatternObject& p = PatternAt(i);
        const int32_t kind = p.kind;
        const uint8_t wanted = PropertyMask(p);
        const uint8_t nearness = p.position.LengthSquared() < kNearDistance2 ? kNear : kFar;
        for (int j = 0; j < nW; ++j) {
            // PairTest(unit, p, WorldAt(j)) from the run's traits of the world object.
            WorldTraits& traits = worldTraits_[j];
            bool pair = traits.kind == kind && traits.kind >= 0 &&
                        (traits.nearness == kNearBoth || traits.nearness == nearness);
            if (pair && wanted != 0) {
                if (traits.properties == kPropertiesUnknown) {
                    traits.properties = UnitProperties(static_cast<const Vorn&>(WorldAt(j)));
                }
                pair = (traits.properties & wanted) == wanted;
            }
            compatible_[j * nP + i] = pair ? 1 : 0;
            if (pair) {
                candidates_.Append({i, j, 0.0f});
            }
        }
    }
    for (int i = 0; i < nP; ++i) {
        done_[i] = 0;
    }
    for (MatchCandidate& candidate : candidates_) {
        float d = std::fabs(layout.EntryAt(candidate.i).angle - worldLayout_.EntryAt(candidate.j).angle);
        if (d > kPi) {
            d = kTwoPi - d;
        }
        candidate.angleDifference = d;
    }
    const auto differenceOf = [](const MatchCandidate& c) { return c.angleDifference; };
    SortByFloat(candidates_.Data(), candidates_.Count(), differenceOf, candidatesAsTheyCame_);
}

void PatternMatcher::GreedyPass(Pattern& pattern) {
    for (int c = 0; c < candidates_.Count(); ++c) {
        const MatchCandidate candidate = candidates_[c];
        if (done_[candidate.i] || PatternAt(candidate.i).linkedObject != nullptr ||
            WorldAt(candidate.j).matchedPatternObject != nullptr) {
            continue;
        }
        TakeGroup(pattern, c);
    }
}

void PatternMatcher::TakeGroup(Pattern& pattern, int c) {
    const int nP = pattern.Layout().Size();
    const MatchCandidate first = candidates_[c];
    PatternObject& p = PatternAt(first.i);
    groupPattern_.Clear();
    groupWorld_.Clear();
    groupPattern_.Append(first.i);
    groupWorld_.Append(first.j);
    done_[first.i] = 1;
    Match(p, first.j);

    // Objects alike to p take world objects in the order the angles chose them.
    bool alike = false;
    for (int i2 = 0; i2 < nP; ++i2) {
        group_[i2] = 0;
        const PatternObject& q = PatternAt(i2);
        if (!done_[i2] && q.kind == p.kind && q.SameProperties(p)) {
            done_[i2] = 1;
            group_[i2] = 1;
            alike = true;
        }
    }
    if (!alike) {
        return;
    }
    for (int c2 = c + 1; c2 < candidates_.Count(); ++c2) {
        const MatchCandidate next = candidates_[c2];
        PatternObject& q = PatternAt(next.i);
        if (group_[next.i] && q.linkedObject == nullptr && WorldAt(next.j).matchedPatternObject == nullptr) {
            groupPattern_.Append(next.i);
            groupWorld_.Append(next.j);
            Match(q, next.j);
            group_[next.i] = 0;
        }
    }
    // ...and pair with them again in the layouts' order.
    SortInts(groupPattern_.Data(), 0, groupPattern_.Count() - 1);
    SortInts(groupWorld_.Data(), 0, groupWorld_.Count() - 1);
    for (int k = 0; k < groupPattern_.Count(); ++k) {
        Match(PatternAt(groupPattern_[k]), groupWorld_[k]);
    }
}

// Improvement: the costliest object not yet settled tries every exchange and take that
// its compatibility allows, and the best one that lowers the cost is kept.

void PatternMatcher::Improve(Vorn& unit, Pattern& pattern) {
    const int nP = pattern.Layout().Size();
    for (int i = 0; i < nP; ++i) {
        visitingOrder_[i] = i;
        done_[i] = 0;
    }
    int32_t best = Cost(unit, pattern, false);
    differingConditionals_ = 0;
    for (int c = 0; c < kConditionalCount; ++c) {
        differingConditionals_ += pattern.conditionals.flags[c] != unit.conditionals[c];
    }
    Commit(pattern);
    int previous = -1;
    for (;;) {
        const int k = PickCostliest(pattern);
        if (k < 0) {
            pairValuesValid_ = false;
            return;
        }
        if (k == previous) {
            done_[visitingOrder_[k]] = 1;
            continue;
        }
        previous = k;
        Move bestMove;
        TryMoves(unit, pattern, k, best, bestMove);
        ApplyMove(k, bestMove);
        if (bestMove.kind != kNoMove) {
            Commit(pattern);
        }
    }
}

int PatternMatcher::PickCostliest(const Pattern& pattern) const {
    int picked = -1;
    float largest = 0.0f;
    for (int k = 0; k < pattern.Layout().Size(); ++k) {
        const int position = visitingOrder_[k];
        if (done_[position]) {
            continue;
        }
        const float cost = PatternAt(position).cost;
        if (picked < 0 || cost > largest) {
            picked = k;
            largest = cost;
        }
    }
    return picked;
}

void PatternMatcher::TryMoves(Vorn& unit, Pattern& pattern, int k, int32_t& best, Move& bestMove) {
    const int nP = pattern.Layout().Size();
    const int nW = worldLayout_.Size();
    const int32_t position = visitingOrder_[k];
    const PatternObject& p = PatternAt(position);
    const int32_t jp = p.matchedIndex;
    // The exchanges' bounds move p in beside every other position, as its takes do.
    preparedTakes_ = -1;
    if (pairValuesValid_ && nP >= 2) {
        PrepareTakes(pattern, position);
    }
    for (int m = 0; m < nP; ++m) {
        if (m == k) {
            continue;
        }
        const int32_t jq = PatternAt(visitingOrder_[m]).matchedIndex;
        bool allowed = false;
        if (jp < 0) {
            allowed = jq >= 0 && Compatible(jq, position, nP);
        } else if (jq < 0) {
            allowed = Compatible(jp, visitingOrder_[m], nP);
        } else {
            allowed = Compatible(jq, position, nP) && Compatible(jp, visitingOrder_[m], nP);
        }
        if (allowed) {
            TryMove(unit, pattern, k, {kExchange, m}, best, bestMove, false);
        }
    }
    // The world objects p may take; while their trials run, each is put back as it was.
    takes_.Reserve(nW);
    int takeCount = 0;
    for (int j = 0; j < nW; ++j) {
        if (j != jp && WorldAt(j).matchedPatternObject == nullptr && Compatible(j, position, nP)) {
            takes_[takeCount++] = j;
        }
    }
    takes_.Reserve(takeCount);
    const bool bounded = pairValuesValid_ && nP >= 2 && takeCount > 0;
    if (bounded) {
        takeObjectIndex_ = pattern.Layout().EntryAt(position).index;
        BoundTakes(pattern, position);
    }
    for (int t = 0; t < takeCount; ++t) {
        // A take's placement and geometry only add to its cost: one ruled out without them
        // is ruled out.
        if (bounded &&
            (TakeReaches(t, 0.0, 0.0, best) || TakeReaches(t, TakePlacement(position, t), TakeGeometry(t), best))) {
            continue;
        }
        TryMove(unit, pattern, k, {kTake, takes_[t]}, best, bestMove, bounded);
    }
}

// The pair terms of every take of position x at once: pair by pair with the other
// matched positions, each over all the world objects tried, which are a row of the world
// relations. Every take moves x alone, so its old share comes out of the committed parts
// once, and what Reaches adds up besides the pair and placement terms is the same for
// every take.
void PatternMatcher::BoundTakes(const Pattern& pattern, int x) {
    CostParts base = committed_;
    MoveOut(pattern, x, -1, base);
    if (preparedTakes_ != x) {
        PrepareTakes(pattern, x);
    }
    const int count = takes_.Count();
    takeSums_.Reserve(count);
    for (int t = 0; t < count; ++t) {
        TakeSum& sum = takeSums_[t];
        sum = TakeSum();
        sum.tableOffset = TouchClass(takeTouch_, worldLayout_.Touch(takes_[t])) * RelationTable::kFirstTouchStep;
    }
    // Related first, so that the sums below run without calls.
    for (const TakePair& pair : takePairs_) {
        for (int t = 0; t < count; ++t) {
            worldLayout_.Pair(pair.world, takes_[t]);
        }
    }
    // The placement and geometry are left for the takes that the counts alone cannot rule
    // out.
    for (const TakePair& pair : takePairs_) {
        const PolarLayout::Relation* relations = &worldLayout_.RelatedPair(pair.world, 0);
        for (int t = 0; t < count; ++t) {
            TakeSum& sum = takeSums_[t];
            const RelationCounts counts =
                CountsOf(kRelationTable.At(pair.tableRow + sum.tableOffset, relations[takes_[t]].code));
            sum.agreements += counts.e;
            sum.disagreements += counts.f;
        }
    }
    PrepareTakeBound(pattern, base);
}

// Reaches' sums for the takes of one visit, with the parts that do not depend on the
// world object taken added up once. Every take matches the moving position, and its
// placement and pair terms are never negative, so their absolute values are themselves.
void PatternMatcher::PrepareTakeBound(const Pattern& pattern, const CostParts& base) {
    const int nP = positionObject_.Count();
    const double s = scale_;
    const double unmatchedWorld = static_cast<double>(worldObjects_.Count() - base.matchedWorld - 1) * s;
    const double objectTerms = base.objectTerms + static_cast<double>(propertyTerms_[takeObjectIndex_]);
    const double conditionals = differingConditionals_ * static_cast<double>(kConditionalWeight * scale_);
    const double priority = static_cast<double>(PriorityTerm(pattern.priority, scale_));
    TakeBound& bound = takeBound_;
    bound.exact = unmatchedWorld + objectTerms + base.placement + conditionals +
                  s * (static_cast<double>(kDisagreementWeight) * base.disagreements - base.agreements + base.geometry);
    bound.largest = unmatchedWorld +
                    s * (kDisagreementWeight * base.disagreements + base.agreements + std::fabs(base.geometry)) +
                    pattern.objects.Count() * static_cast<double>(kUnmatchedObjectWeight * scale_) +
                    std::fabs(objectTerms) + std::fabs(base.placement) + conditionals + std::fabs(priority);
    bound.operations = 2.0 * nP * nP + worldObjects_.Count() + 4.0 * pattern.objects.Count() + kConditionalCount + 8.0;
    bound.disagreements = base.disagreements;
    bound.priority = base.unmatchedObjects == 0 && differingConditionals_ == 0 ? priority : 0.0;
}

double PatternMatcher::TakePlacement(int x, int t) {
    const PairTerms& terms = TermsOf(x, takes_[t]);
    return static_cast<double>(terms.placement) + (terms.hasFacing ? terms.facing : 0.0f);
}

// The geometry of take t's pairs, in double (see EstimatedGeometry).
double PatternMatcher::TakeGeometry(int t) const {
    const int32_t j = takes_[t];
    double geometry = 0.0;
    for (const TakePair& pair : takePairs_) {
        geometry += EstimatedGeometry(pair.pattern, worldLayout_.RelatedPair(pair.world, j));
    }
    return geometry;
}

// Whether the take t of BoundTakes, with its placement terms and its pairs' geometry,
// surely costs at least `best` (see Reaches). The result only grows with either.
bool PatternMatcher::TakeReaches(int t, double placement, double geometry, int32_t best) const {
    const TakeSum& sum = takeSums_[t];
    const TakeBound& bound = takeBound_;
    const double s = scale_;
    const bool fits = bound.disagreements + sum.disagreements == 0.0;
    const double exact =
        bound.exact + placement +
        s * (static_cast<double>(kDisagreementWeight) * sum.disagreements - sum.agreements + geometry) +
        (fits ? bound.priority : 0.0);
    const double largest =
        bound.largest + placement + s * (kDisagreementWeight * sum.disagreements + sum.agreements + geometry);
    const double error = 2.0 * bound.operations * largest * 0x1.0p-24 + 8.0 * s * geometry * 0x1.0p-24 + 1.0;
    return exact - error >= static_cast<double>(best);
}

void PatternMatcher::TryMove(Vorn& unit, Pattern& pattern, int k, const Move& move, int32_t& best, Move& bestMove,
                             bool bounded) {
    PatternObject& p = PatternAt(visitingOrder_[k]);
    const int32_t oldMatch = p.matchedIndex;
    changed_[0] = visitingOrder_[k];
    changed_[1] = move.kind == kExchange ? visitingOrder_[move.other] : -1;
    ApplyMove(k, move);
    const bool exchangeBounded = move.kind == kExchange && pairValuesValid_ && positionObject_.Count() >= 2;
    if (bounded || !exchangeBounded || !SurelyNotBelow(pattern, best)) {
        if (bounded || exchangeBounded) {
            // A trial that a bound let through mostly lowers the cost: the object costs
            // are written at once, and put back when it does not.
            SaveCosts(pattern);
            const int32_t c = TruncateToInt(CostSum(unit, pattern, false, true));
            if (c < best) {
                best = c;
                bestMove = move;
            } else {
                RestoreCosts(pattern);
            }
        } else {
            // Object costs matter only for the best trial: the others would put them back.
            const int32_t c = TruncateToInt(CostSum(unit, pattern, false, false));
            if (c < best) {
                best = c;
                bestMove = move;
                CostSum(unit, pattern, false, true);
            }
        }
    }
    // Undo: an exchange is its own inverse; a take gives the world object back.
    if (move.kind == kExchange) {
        ApplyMove(k, move);
    } else {
        Unmatch(p);
        if (oldMatch >= 0) {
            Match(p, oldMatch);
        }
    }
    changed_[0] = -1;
    changed_[1] = -1;
}

void PatternMatcher::SaveCosts(const Pattern& pattern) {
    const int count = pattern.objects.Count();
    savedCosts_.Reserve(count);
    for (int i = 0; i < count; ++i) {
        savedCosts_[i] = pattern.objects[i]->cost;
    }
}

void PatternMatcher::RestoreCosts(Pattern& pattern) const {
    for (int i = 0; i < pattern.objects.Count(); ++i) {
        pattern.objects[i]->cost = savedCosts_[i];
    }
}

void PatternMatcher::ApplyMove(int k, const Move& move) {
    if (move.kind == kNoMove) {
        done_[visitingOrder_[k]] = 1;
        return;
    }
    PatternObject& p = PatternAt(visitingOrder_[k]);
    if (move.kind == kTake) {
        Unmatch(p);
        Match(p, move.other);
        return;
    }
    const int m = move.other;
    PatternObject& q = PatternAt(visitingOrder_[m]);
    const int32_t jp = p.matchedIndex;
    const int32_t jq = q.matchedIndex;
    Unmatch(p);
    Unmatch(q);
    if (jq >= 0) {
        Match(p, jq);
    }
    if (jp >= 0) {
        Match(q, jp);
    }
    const int32_t swap = visitingOrder_[k];
    visitingOrder_[k] = visitingOrder_[m];
    visitingOrder_[m] = swap;
}

// Scoring.

int32_t PatternMatcher::Cost(Vorn& unit, Pattern& pattern, bool final) {
    if (preparedPattern_ != &pattern) {
        Prepare(pattern);
    }
    return TruncateToInt(CostSum(unit, pattern, final, true));
}

float PatternMatcher::CostSum(Vorn& unit, Pattern& pattern, bool final, bool objectCosts) {
    const float s = scale_;
    if (objectCosts) {
        for (PatternObject* p : pattern.objects) {
            p->cost = 0.0f;
        }
    }
    bool ok = false;
    const float misfit = objectCosts ? MisfitSum<true>(pattern, ok) : MisfitSum<false>(pattern, ok);

    // Matches are one to one, and the own object's partner is the unit.
    int matchedWorld = 0;
    for (const PatternObject* p : pattern.objects) {
        if (p->linkedObject != nullptr && (p != pattern.ownObject || unitGathered_)) {
            ++matchedWorld;
        }
    }
    float sum = unmatchedSums_[worldObjects_.Count() - matchedWorld];
    sum += misfit * s;
    for (int i = 0; i < pattern.objects.Count(); ++i) {
        PatternObject* p = pattern.objects[i];
        float term = propertyTerms_[i];
        if (p->linkedObject == nullptr) {
            term = kUnmatchedObjectWeight * s;
            ok = false;
        }
        sum += term;
        if (objectCosts) {
            p->cost += term;
        }
    }
    for (int i = 0; i < pattern.objects.Count(); ++i) {
        PatternObject* p = pattern.objects[i];
        if (p == pattern.ownObject || p->linkedObject == nullptr) {
            continue;
        }
        const PairTerms& terms = TermsOf(objectPosition_[i], p->matchedIndex);
        sum += terms.placement;
        if (objectCosts) {
            p->cost += terms.placement;
        }
        if (terms.hasFacing) {
            sum += terms.facing;
            if (objectCosts) {
                p->cost += terms.facing;
            }
        }
    }
    for (int c = 0; c < kConditionalCount; ++c) {
        if (pattern.conditionals.flags[c] != unit.conditionals[c]) {
            sum += kConditionalWeight * s;
            ok = false;
        }
    }
    if (final) {
        pattern.valid = ok ? 1 : 0;
    } else if (ok) {
        sum += PriorityTerm(pattern.priority, s);
    }
    return sum;
}

float PatternMatcher::Misfit(Pattern& pattern, bool& relationsFit) {
    if (preparedPattern_ != &pattern) {
        Prepare(pattern);
    }
    return MisfitSum<true>(pattern, relationsFit);
}

// The pair of pattern positions a, b with world partners ja, jb: its relations on both
// sides, e (agreements) and f (disagreement weight).
// Inlined where the improvement loop calls it pair after pair, so that what stays the
// same from pair to pair is read once.
[[gnu::always_inline]] inline void PatternMatcher::CountRelations(const Pattern& pattern, int a, int b, int ja, int jb,
                                                                  PairRelations& out) const {
    const PolarLayout& pl = pattern.Layout();
    const PolarLayout& wl = worldLayout_;
    const PolarLayout::Relation& rp = pl.Pair(b, a);
    const PolarLayout::Relation& rw = wl.Pair(jb, ja);
    const int8_t ta = pl.Touch(a);
    const int8_t tb = pl.Touch(b);
    const int8_t twa = wl.Touch(ja);
    const int8_t twb = wl.Touch(jb);
    const int row = RelationTable::Row(TouchClass(ta, twa), TouchClass(tb, twb), SidePossible(rp, ta, tb), rp.code);
    const RelationCounts counts = CountsOf(kRelationTable.At(row, rw.code));
    out.pattern = &rp;
    out.world = &rw;
    out.e = counts.e;
    out.f = counts.f;
}

PatternMatcher::PairValue PatternMatcher::RelatePair(const Pattern& pattern, int a, int b, int ja, int jb) const {
    PairRelations relations;
    CountRelations(pattern, a, b, ja, jb, relations);
    PairValue value;
    value.angleTerm = std::fabs(relations.pattern->angle - relations.world->angle) * kAngleWeight / scale_;
    value.distanceTerm = std::fabs(relations.pattern->distance - relations.world->distance) / scale_;
    value.e = static_cast<float>(relations.e);
    value.f = static_cast<float>(relations.f);
    return value;
}

// Every term of a pair is symmetric in the pair (swapping both sides' order negates R1
// and R2 on both sides alike), so one value per unordered pair serves any visiting order.
// Besides the pair values, the committed matching keeps the parts of its cost as exact
// sums (in double), from which a trial's cost follows by the changes of its moved objects.
void PatternMatcher::Commit(const Pattern& pattern) {
    const int nP = pattern.Layout().Size();
    pairValues_.Reserve(nP * nP);
    committedPartner_.Reserve(nP);
    shares_.Reserve(nP);
    committed_ = CostParts();
    for (PairShare& share : shares_) {
        share = PairShare();
    }
    // A pair whose two partners stay as the last commit had them keeps its value.
    const bool reuse = pairValuesValid_;
    for (int a = 0; a < nP; ++a) {
        const int ja = PatternAt(a).matchedIndex;
        const bool keptA = reuse && committedPartner_[a] == ja;
        committedPartner_[a] = ja;
        for (int b = a + 1; b < nP && ja >= 0; ++b) {
            const int jb = PatternAt(b).matchedIndex;
            if (jb < 0) {
                continue;
            }
            PairValue& value = pairValues_[a * nP + b];
            if (!keptA || committedPartner_[b] != jb) {
                value = RelatePair(pattern, a, b, ja, jb);
            }
            committed_.AddPair(value, 1);
            shares_[a].Add(value);
            shares_[b].Add(value);
        }
    }
    for (int i = 0; i < pattern.objects.Count(); ++i) {
        const PatternObject* p = pattern.objects[i];
        const int32_t position = objectPosition_[i];
        const int32_t j = p->linkedObject == nullptr ? -1 : (position >= 0 ? p->matchedIndex : 0);
        committed_.AddObject(*this, position, j, i, 1);
        if (p->linkedObject != nullptr && (p != pattern.ownObject || unitGathered_)) {
            ++committed_.matchedWorld;
        }
    }
    pairValuesValid_ = true;
}

void PatternMatcher::CostParts::AddPair(const PairValue& value, int sign) {
    geometry += sign * (static_cast<double>(value.angleTerm) + value.distanceTerm);
    agreements += sign * static_cast<double>(value.e);
    disagreements += sign * static_cast<double>(value.f);
}

void PatternMatcher::CostParts::AddShare(const PairShare& share, int sign) {
    geometry += sign * share.geometry;
    agreements += sign * share.agreements;
    disagreements += sign * share.disagreements;
}

void PatternMatcher::PairShare::Add(const PairValue& value) {
    geometry += static_cast<double>(value.angleTerm) + value.distanceTerm;
    agreements += value.e;
    disagreements += value.f;
}

// The object at list index i, at layout position `position` (-1 for the own object),
// with world partner j (-1 none).
void PatternMatcher::CostParts::AddObject(PatternMatcher& matcher, int32_t position, int32_t j, int i, int sign,
                                          bool withPlacement) {
    if (j < 0) {
        objectTerms += sign * static_cast<double>(kUnmatchedObjectWeight * matcher.scale_);
        unmatchedObjects += sign;
        return;
    }
    objectTerms += sign * static_cast<double>(matcher.propertyTerms_[i]);
    if (position < 0 || !withPlacement) {
        return;
    }
    const PairTerms& terms = matcher.TermsOf(position, j);
    placement += sign * (static_cast<double>(terms.placement) + (terms.hasFacing ? terms.facing : 0.0f));
}

// A new pair of a trial in the exact sum: its relation counts, and (kWhole) its geometry
// in double (returned), which needs no division.
template <bool kWhole>
[[gnu::always_inline]] inline double PatternMatcher::AddEstimatedPair(const Pattern& pattern, int a, int b, int ja,
                                                                      int jb, CostParts& parts) const {
    PairRelations relations;
    CountRelations(pattern, a, b, ja, jb, relations);
    parts.agreements += relations.e;
    parts.disagreements += relations.f;
    if (!kWhole) {
        return 0.0;
    }
    const double geometry = EstimatedGeometry(*relations.pattern, *relations.world);
    parts.geometry += geometry;
    return geometry;
}

double PatternMatcher::EstimatedGeometry(const PolarLayout::Relation& rp, const PolarLayout::Relation& rw) const {
    const double angle = std::fabs(static_cast<double>(rp.angle) - rw.angle);
    const double distance = std::fabs(static_cast<double>(rp.distance) - rw.distance);
    return angle * angleScale_ + distance * distanceScale_;
}

// Takes position x (with its committed partner) out of the parts: its object terms and
// its pairs with every other matched position but `skip`, from its committed share.
void PatternMatcher::MoveOut(const Pattern& pattern, int x, int skip, CostParts& parts) {
    const int nP = positionObject_.Count();
    const int32_t ox = committedPartner_[x];
    parts.AddObject(*this, x, ox, pattern.Layout().EntryAt(x).index, -1);
    if (ox < 0) {
        return;
    }
    --parts.matchedWorld;
    parts.AddShare(shares_[x], -1);
    if (skip >= 0 && skip != x && committedPartner_[skip] >= 0) {
        parts.AddPair(pairValues_[x < skip ? x * nP + skip : skip * nP + x], 1);
    }
}

// Puts position x back with partner j: its object terms and its pairs with the other
// positions at their committed partners, but `skip`. Returns the estimated geometry.
template <bool kWhole>
double PatternMatcher::MoveIn(const Pattern& pattern, int x, int32_t j, int skip, CostParts& parts) {
    const int nP = positionObject_.Count();
    parts.AddObject(*this, x, j, pattern.Layout().EntryAt(x).index, 1, kWhole);
    if (j < 0) {
        return 0.0;
    }
    ++parts.matchedWorld;
    double geometry = 0.0;
    for (int y = 0; y < nP; ++y) {
        const int32_t jy = committedPartner_[y];
        if (y != x && y != skip && jy >= 0) {
            geometry += AddEstimatedPair<kWhole>(pattern, x, y, j, jy, parts);
        }
    }
    return geometry;
}

// The takes of position x keep every other position at its committed partner, so the
// pattern side of x's pairs and the touch terms of the others are the same for each
// world object tried; only the world relations with it differ.
void PatternMatcher::PrepareTakes(const Pattern& pattern, int x) {
    const PolarLayout& pl = pattern.Layout();
    const int nP = positionObject_.Count();
    const int8_t ta = pl.Touch(x);
    takePairs_.Clear();
    for (int y = 0; y < nP; ++y) {
        const int32_t jy = committedPartner_[y];
        if (y == x || jy < 0) {
            continue;
        }
        const PolarLayout::Relation& rp = pl.Pair(y, x);
        const int8_t tb = pl.Touch(y);
        const int8_t twb = worldLayout_.Touch(jy);
        TakePair pair;
        pair.pattern = rp;
        pair.world = jy;
        pair.tableRow = RelationTable::Row(0, TouchClass(tb, twb), SidePossible(rp, ta, tb), rp.code);
        pair.position = y;
        takePairs_.Append(pair);
    }
    takeTouch_ = ta;
    preparedTakes_ = x;
}

// MoveIn(pattern, x, j, skip, parts) for x prepared by PrepareTakes and j >= 0, adding
// the pairs in the same order.
template <bool kWhole>
double PatternMatcher::MoveInTake(int x, int32_t j, int skip, int objectIndex, CostParts& parts) {
    parts.AddObject(*this, x, j, objectIndex, 1, kWhole);
    ++parts.matchedWorld;
    const int tableOffset = TouchClass(takeTouch_, worldLayout_.Touch(j)) * RelationTable::kFirstTouchStep;
    // Kept in locals so that relating a world pair on first use does not force them
    // through memory; the geometry is added to the parts pair by pair as MoveIn does.
    double partsGeometry = parts.geometry;
    int agreements = 0;
    int disagreements = 0;
    double geometry = 0.0;
    for (const TakePair& pair : takePairs_) {
        if (pair.position == skip) {
            continue;
        }
        const PolarLayout::Relation& rw = worldLayout_.Pair(pair.world, j);
        const RelationCounts counts = CountsOf(kRelationTable.At(pair.tableRow + tableOffset, rw.code));
        agreements += counts.e;
        disagreements += counts.f;
        if (kWhole) {
            const double pairGeometry = EstimatedGeometry(pair.pattern, rw);
            partsGeometry += pairGeometry;
            geometry += pairGeometry;
        }
    }
    parts.geometry = partsGeometry;
    parts.agreements += agreements;
    parts.disagreements += disagreements;
    return geometry;
}

// Whether the exchange now applied surely costs at least `best` (see Reaches). The moved
// objects' placement and their new pairs' geometry only add to the cost, so an exchange
// ruled out without them is ruled out.
bool PatternMatcher::SurelyNotBelow(const Pattern& pattern, int32_t best) {
    return ExchangeReaches<false>(pattern, best) || ExchangeReaches<true>(pattern, best);
}

template <bool kWhole>
bool PatternMatcher::ExchangeReaches(const Pattern& pattern, int32_t best) {
    const int x = changed_[0];
    const int y = changed_[1];
    CostParts trial = committed_;
    MoveOut(pattern, x, y, trial);
    MoveOut(pattern, y, x, trial);
    if (committedPartner_[x] >= 0 && committedPartner_[y] >= 0) {
        const int nP = positionObject_.Count();
        trial.AddPair(pairValues_[x < y ? x * nP + y : y * nP + x], -1);
    }
    const int32_t nx = PatternAt(x).matchedIndex;
    const int32_t ny = PatternAt(y).matchedIndex;
    const double movedX = preparedTakes_ == x && nx >= 0
                              ? MoveInTake<kWhole>(x, nx, y, pattern.Layout().EntryAt(x).index, trial)
                              : MoveIn<kWhole>(pattern, x, nx, y, trial);
    double newGeometry = movedX + MoveIn<kWhole>(pattern, y, ny, x, trial);
    if (nx >= 0 && ny >= 0) {
        newGeometry += AddEstimatedPair<kWhole>(pattern, x, y, nx, ny, trial);
    }
    return Reaches(pattern, trial, newGeometry, best);
}

// Whether a trial whose cost parts are `trial` surely costs at least `best`. Its exact
// cost follows from the parts; the float sum of the same terms differs from it by at
// most one rounding per operation, each below 2^-24 of the largest magnitude involved.
// When the exact value less that bound still reaches `best`, the float sum does too,
// and so does its truncation.
bool PatternMatcher::Reaches(const Pattern& pattern, const CostParts& trial, double newGeometry, int32_t best) const {
    const int nP = positionObject_.Count();
    const double s = scale_;
    const double unmatchedWorld = static_cast<double>(worldObjects_.Count() - trial.matchedWorld) * s;
    const double misfit =
        static_cast<double>(kDisagreementWeight) * trial.disagreements - trial.agreements + trial.geometry;
    const double conditionals = differingConditionals_ * static_cast<double>(kConditionalWeight * scale_);
    const bool ok = trial.disagreements == 0.0 && trial.unmatchedObjects == 0 && differingConditionals_ == 0;
    const double priority = ok ? static_cast<double>(PriorityTerm(pattern.priority, scale_)) : 0.0;
    const double exact = unmatchedWorld + misfit * s + trial.objectTerms + trial.placement + conditionals + priority;

    const double largest =
        unmatchedWorld +
        s * (kDisagreementWeight * trial.disagreements + trial.agreements + std::fabs(trial.geometry)) +
        pattern.objects.Count() * static_cast<double>(kUnmatchedObjectWeight * scale_) + std::fabs(trial.objectTerms) +
        std::fabs(trial.placement) + conditionals + std::fabs(priority);
    const double operations =
        2.0 * nP * nP + worldObjects_.Count() + 4.0 * pattern.objects.Count() + kConditionalCount + 8.0;
    // The new pairs' geometry was taken in double; their float terms differ by at most
    // three roundings each.
    const double bound = 2.0 * operations * largest * 0x1.0p-24 + 8.0 * s * newGeometry * 0x1.0p-24 + 1.0;
    return exact - bound >= static_cast<double>(best);
}

template <bool kObjectCosts>
float PatternMatcher::MisfitSum(Pattern& pattern, bool& relationsFit) {
    const PolarLayout& pl = pattern.Layout();
    const PolarLayout& wl = worldLayout_;
    const int nP = pl.Size();
    float agreements = 0.0f;
    float disagreements = 0.0f;
    float geometry = 0.0f;
    if (nP == 1) {
        PatternObject& p = PatternAt(0);
        if (p.matchedIndex >= 0) {
            const int8_t ta = pl.Touch(0);
            const int8_t tw = wl.Touch(p.matchedIndex);
            const float e = ta == tw && ta != 0 ? 1.0f : 0.0f;
            const float f = ta == 1 && tw != 1 ? 2.0f : 0.0f;
            if (kObjectCosts) {
                p.cost += kDisagreementWeight * f - e;
            }
            agreements += e;
            disagreements += f;
        }
    }
    // The matched objects in visiting order: the pairs are theirs, in that order.
    int32_t* positions = matchedPositions_.Data();
    int32_t* partners = matchedPartners_.Data();
    int matched = 0;
    for (int k = 0; k < nP; ++k) {
        const int32_t j = PatternAt(visitingOrder_[k]).matchedIndex;
        if (j >= 0) {
            positions[matched] = visitingOrder_[k];
            partners[matched] = j;
            ++matched;
        }
    }
    // The pairs of a trial's moved objects are related afresh; the others keep their
    // values from the committed matching.
    auto moved = [this](int position) { return position == changed_[0] || position == changed_[1]; };
    for (int x = 0; x + 1 < matched; ++x) {
        const int a = positions[x];
        const bool movedA = !pairValuesValid_ || moved(a);
        for (int y = x + 1; y < matched; ++y) {
            const int b = positions[y];
            const PairValue value = !movedA && !moved(b) ? pairValues_[a < b ? a * nP + b : b * nP + a]
                                                         : RelatePair(pattern, a, b, partners[x], partners[y]);
            if (kObjectCosts) {
                const float relationTerm = kDisagreementWeight * value.f - value.e;
                for (PatternObject* object : {&PatternAt(a), &PatternAt(b)}) {
                    object->cost += value.angleTerm;
                    object->cost += value.distanceTerm;
                    object->cost += relationTerm;
                }
            }
            geometry += value.angleTerm;
            geometry += value.distanceTerm;
            agreements += value.e;
            disagreements += value.f;
        }
    }
    relationsFit = disagreements == 0.0f;
    return kDisagreementWeight * disagreements - agreements + geometry;
}

// Map conditionals and the choice.

void PatternMatcher::ApplyMapConditionals(Vorn& unit, Pattern& pattern) {
    PlaceProvisionally(unit, pattern);
    const Vector3 here(unit.position.x, unit.position.y, kMapSampleRadius);
    float sum = 0.0f;
    for (const MapConditional* condition : pattern.mapConditionals) {
        const Vector3 q = MapPoint(unit, pattern, condition->position);
        const Vector3 circle(q.x, q.y, kMapSampleRadius);
        int holds = -1;
        switch (condition->kind) {
            case kMapDirtGrassStone: holds = gArena->AreaHasPlainGround(circle); break;
            case kMapSandSnowSwamp: holds = gArena->AreaHasSlowGround(circle); break;
            case kMapLava: holds = gArena->AreaHasLava(circle); break;
            case kMapWater: holds = gArena->AreaHasWater(circle); break;
            case kMapHigher: holds = gArena->AreaMeanHeight(circle) > gArena->AreaMeanHeight(here); break;
            case kMapLower: holds = gArena->AreaMeanHeight(circle) < gArena->AreaMeanHeight(here); break;
            default: break;
        }
        if (holds == 1) {
            sum -= 1.0f;
        } else if (holds == 0) {
            sum += kMapConditionFailure;
            pattern.valid = 0;
        }
    }
    pattern.score = SaturateToInt32(pattern.score + TruncateToInt64(sum));
}

Pattern* PatternMatcher::Choose(Vorn& unit) {
    const bool random = unit.crazy != 0 || IsWaterTerrain(gArena->GetTerrainType(unit.position.x, unit.position.y));
    unit.actingAtRandom = random ? 1 : 0;
    pickList_.Clear();
    int32_t lowest = INT32_MAX;
    for (int i = 0; i < PatternSlots(unit); ++i) {
        const Pattern& pattern = unit.PatternAt(i);
        if (!IsEnabledSlot(i)) {
            continue;
        }
        if (!random) {
            if (pickList_.IsEmpty() || pattern.score < lowest) {
                pickList_.Clear();
                lowest = pattern.score;
            } else if (pattern.score > lowest) {
                continue;
            }
        }
        pickList_.Append(i);
    }
    if (pickList_.IsEmpty()) {
        return nullptr;
    }
    return &unit.PatternAt(pickList_[sys::Rand() % pickList_.Count()]);
}

// The int form of the layouts' quicksort, with its own pivot rule.
void PatternMatcher::SortInts(int32_t* items, int lo, int hi) {
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        int pivot = lo;
        if (mid != lo) {
            if (items[lo] >= items[mid]) {
                pivot = items[lo] >= items[hi] ? hi : lo;
            } else {
                pivot = items[mid] < items[hi] ? mid : hi;
            }
        }
        const int32_t pivotKey = items[pivot];
        int i = hi + 1;
        int j = lo - 1;
        for (;;) {
            do {
                --i;
            } while (items[i] > pivotKey);
            do {
                ++j;
            } while (items[j] < pivotKey);
            if (j >= i) {
                break;
            }
            const int32_t swap = items[i];
            items[i] = items[j];
            items[j] = swap;
        }
        SortInts(items, lo, i);
        lo = i + 1;
    }
}
