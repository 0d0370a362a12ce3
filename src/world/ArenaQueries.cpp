// What lies where: grid walks, list walks, ground sampling, damage sweeps and blasts,
// and placement of new objects and units.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <span>
#include <utility>
#include <vector>

#include "core/ConsoleStream.h"
#include "core/Geometry.h"
#include "core/MathUtil.h"
#include "core/Segment.h"
#include "core/Sphere.h"
#include "game/Game.h"
#include "platform/sys/Random.h"
#include "units/ChassisTable.h"
#include "units/Vorn.h"
#include "units/VornSummary.h"
#include "world/Arena.h"
#include "world/FreeGround.h"
#include "world/Goal.h"
#include "world/ObjectShape.h"
#include "world/ObjectSpacing.h"
#include "world/Terrain.h"
#include "world/WorldObject.h"

namespace {

// Count menus try this many random spots per object before skipping it.
constexpr int kPlacementTries = 3;
// Count menus around a spot scatter within this radius of it.
constexpr float kPlacementScatter = 20.0f;
// The room a body moved to free ground keeps beyond the margin, so that rounding its place
// does not press it again.
constexpr float kFreeGroundRoom = 0.001f;
// No solid body is wider than the largest robot: a search reaching less than half the
// field's side, less this and the body's own, meets each body at one image only.
constexpr float kWidestBody = kChassisRadiusBySize[2];
// A search's reach stays this far inside the disc of a body's image farther than the
// nearest: more than the placing margin and room.
constexpr float kImageSpare = 1.0f;
// The ground a search keeps to reaches this far past the squares it is worked out from,
// against rounding.
constexpr float kRegionSpare = 1.0f;
// Only points within this of the field's origin are worked out on its grid.
constexpr float kOnGrid = 1e6f;
// With the nearest free ground refused, the search also tries the points of a grid this
// fine (or as fine as the body's radius, when that is wider).
constexpr float kFreeGroundStep = 0.5f;
// Work a free-ground search may always do, however much the searches sharing its work
// did before: enough for about the nearest hundred points of the grid.
constexpr int64_t kSearchAllowance = 10'000;
// The work of a square met by a line (clipped against it, then read), where reading a
// point of ground takes one, as in FreeGround.cpp.
constexpr int64_t kSquareAlongWork = 16;
// The work of the ground a place stands on: its centre's point and the five HazardsUnder
// reads.
constexpr int64_t kPlaceGroundWork = 6;
// A terrain pick that misses nudges the ray this far and tries again, so many times.
constexpr float kPickNudge = 0.1f;
constexpr int kPickTries = 10;
// Each drop onto another object lifts at least once; a pile higher than this many
// objects is left where it is.
constexpr int kMaxStackLifts = 256;

constexpr int kSlowFlag = 1;
constexpr int kLavaFlag = 2;
constexpr int kWaterFlag = 4;
constexpr int kPlainFlag = 8;
constexpr int kHazards = kLavaFlag | kWaterFlag;
// Each grid point owns the square of ground within half a cell of it.
constexpr float kCell = Terrain::kCellSize;

// A walk over more than 32 columns or rows meets the same cells again; cut it there.
int LastCovered(int first, int last) { return last - first >= kGridSize ? first + kGridSize - 1 : last; }

void FirstAndLastEnds(const CollisionShape& shape, Vector3& first, Vector3& last) {
    if (shape.kind == CollisionShape::kCylinder) {
        first = shape.cylinderFirst;
        last = shape.cylinderSecond;
    } else {
        first = shape.sphereCentre;
        last = shape.sphereCentre;
    }
}

CollisionShape ImageNear(const CollisionShape& shape, const Vector3& reference) {
    CollisionShape image = shape;
    image.WrapNear(reference);
    return image;
}

// A sphere holding the whole of a shape; kinds that are neither get no bound.
struct ShapeBound {
    Vector3 centre;
    float radius = 0.0f;
};

[[gnu::always_inline]] inline ShapeBound BoundOf(const CollisionShape& shape) {
    if (shape.kind == CollisionShape::kSphere) {
        return {shape.sphereCentre, std::fabs(shape.sphereRadius)};
    }
    if (shape.kind == CollisionShape::kCylinder) {
        const Vector3 half = (shape.cylinderSecond - shape.cylinderFirst) * 0.5f;
        return {shape.cylinderFirst + half, half.Length() + std::fabs(shape.cylinderRadius)};
    }
    return {Vector3(), kFloatMax};
}

// Room left for the rounding of the exact shape tests, far above it in arena units.
constexpr float kApartMargin = 0.05f;

// Whether two bounds stay apart in every wrapped image of one another: the cheap test
// that spares the exact one (and the wrapping of a copy) for most pairs of a walk. A
// pair it cannot tell apart (or a number that is none) goes on to the exact test.
[[gnu::always_inline]] inline bool SurelyApart(const ShapeBound& a, const ShapeBound& b, float width, float height) {
    const float reach = a.radius + b.radius + kApartMargin;
    auto nearestOffset = [](float d, float period) {
        d = std::fabs(d);
        const float turns = d / period;
        // Within half a period the nearest whole number of turns is none.
        if (turns <= 0.5f) {
            return d;
        }
        return std::fabs(d - period * std::rint(turns));
    };
    const float dx = nearestOffset(a.centre.x - b.centre.x, width);
    const float dy = nearestOffset(a.centre.y - b.centre.y, height);
    const float dz = a.centre.z - b.centre.z;
    return dx * dx + dy * dy + dz * dz > reach * reach;
}

// A sphere is wrapped whole, so the bound of every image is an image of its bound; a
// cylinder's ends are wrapped one by one and its images are not bounded that way.
[[gnu::always_inline]] inline bool ImageSurelyApart(const ShapeBound& moving, const CollisionShape& other, float width, float height) {
    return other.kind == CollisionShape::kSphere && SurelyApart(moving, BoundOf(other), width, height);
}

CollisionShape Shifted(const CollisionShape& shape, const Vector3& offset) {
    CollisionShape moved = shape;
    moved.sphereCentre += offset;
    moved.cylinderFirst += offset;
    moved.cylinderSecond += offset;
    return moved;
}

bool IsPickableKind(int kind) {
    switch (kind) {
        case kKindTree:
        case kKindRock:
        case kKindSolarCharger:
        case kKindVorn:
        case kKindSoccerBall:
        case kKindGoal: return true;
        default: return false;
    }
}

int GroundFlags(int type) {
    int flags = 0;
    flags |= IsSlowTerrain(type) ? kSlowFlag : 0;
    flags |= IsLavaTerrain(type) ? kLavaFlag : 0;
    flags |= IsWaterTerrain(type) ? kWaterFlag : 0;
    return flags == 0 ? kPlainFlag : flags;
}

float RandomFraction() { return static_cast<float>(sys::Rand()) / static_cast<float>(sys::kRandMax); }

// Where the flame path first enters a sphere; the path's end when it starts inside or
// never crosses the surface.
Vector3 PathContact(const Vector3& start, const Vector3& end, const CollisionShape& target) {
    if (target.kind != CollisionShape::kSphere) {
        return end;
    }
    float t0 = 0.0f;
    float t1 = 0.0f;
    int side = 0;
    const Segment path(start, end);
    if (IntersectSegmentSphere(path, Sphere(target.sphereCentre, target.sphereRadius), t0, t1, side) == 3 &&
        side == 2) {
        return path.PointAt(t0);
    }
    return end;
}

Vorn* AsVorn(WorldObject* object) {
    return object != nullptr && object->kind == kKindVorn ? static_cast<Vorn*>(object) : nullptr;
}

}  // namespace

// Walk bookkeeping.

uint32_t Arena::BeginWalk() {
    ++visitStamp_;
    // After 2^32 walks the stamps come round again: an object last tested long ago, or
    // never (-1), would pass for tested in this walk. Forget every stamp and start over.
    if (visitStamp_ == 0xFFFFFFFFu) {
        ResetAllVisitStamps();
        visitStamp_ = 0;
    }
    return visitStamp_;
}

bool Arena::IsVisited(const WorldObject& object) const {
    return static_cast<uint32_t>(object.visitStamp) == visitStamp_;
}

void Arena::MarkVisited(WorldObject& object) const { object.visitStamp = static_cast<int32_t>(visitStamp_); }

template <typename F>
bool Arena::WalkCells(const IntRect& rect, F&& visit, bool bodiesOnly) {
    const int lastX = LastCovered(rect.left, rect.right);
    const int lastY = LastCovered(rect.top, rect.bottom);
    for (int x = rect.left; x <= lastX; ++x) {
        for (int y = rect.top; y <= lastY; ++y) {
            for (WorldObject* object : bodiesOnly ? BodyCell(x, y) : GridCell(x, y)) {
                if (visit(*object)) {
                    return true;
                }
            }
        }
    }
    return false;
}

// Grid walks.

bool Arena::FindFirstHit(WorldObject* mover, const CollisionShape& shape, ContactRecord* hit,
                         const WorldObject* ignored) {
    BeginWalk();
    if (mover != nullptr) {
        MarkVisited(*mover);
    }
    Vector3 first;
    Vector3 last;
    FirstAndLastEnds(shape, first, last);
    const float r = shape.Radius();
    const IntRect rect = BoundsOfCircles(first, last, r);
    // A flame ball meets rocks only: most of its flight crosses cells without any.
    if (mover != nullptr && HitsOnlyRocks(mover->kind) && !AnyRockInCells(rect)) {
        return false;
    }
    const ShapeBound bound = BoundOf(shape);
    const float width = WorldWidth();
    const float height = WorldHeight();
    return WalkCells(rect, [&](WorldObject& object) {
        if (IsVisited(object) || &object == ignored || object.removed) {
            return false;
        }
        MarkVisited(object);
        if (mover != nullptr && !mover->CanCollideWith(object)) {
            return false;
        }
        if (ImageSurelyApart(bound, object.shape, width, height) ||
            !shape.Intersects(ImageNear(object.shape, first), hit)) {
            return false;
        }
        if (hit != nullptr) {
            hit->otherObject = &object;
        }
        return true;
    }, mover != nullptr && HitsOnlyBodies(mover->kind));
}

bool Arena::CheckPlacementFree(WorldObject* object, WorldObject** other) {
    BeginWalk();
    MarkVisited(*object);
    const Vector3 centre = object->position;
    WorldObject* found = nullptr;
    WalkCells(BoundsOfCircle(centre, object->shape.Radius()), [&](WorldObject& candidate) {
        if (IsVisited(candidate) || !IsSolidKind(candidate.kind) || !object->CanCollideWith(candidate)) {
            return false;
        }
        MarkVisited(candidate);
        if (!object->shape.Intersects(ImageNear(candidate.shape, centre), nullptr)) {
            return false;
        }
        found = &candidate;
        return true;
    }, true);
    if (other != nullptr) {
        *other = found;
    }
    return found == nullptr;
}

void Arena::ResolvePlacementOverlap(WorldObject* object, float step) {
    WorldObject* other = nullptr;
    for (int lift = 0; lift < kMaxStackLifts && !CheckPlacementFree(object, &other); ++lift) {
        if (object->shape.kind == CollisionShape::kCylinder) {
            object->Remove(0);
            return;
        }
        const Vector3 above(object->position.x, object->position.y,
                            other->position.z + SeparationDistance(*object, *other, step));
        object->PlaceAt(above);
    }
}

bool Arena::MoveWithCollision(WorldObject* mover, const Vector3& from, const Vector3& to, ContactRecord* hit,
                              const WorldObject* ignored) {
    CollisionShape sweep;
    sweep.SetCylinder(from, NearestImage(from, to), mover != nullptr ? mover->shape.Radius() : 0.0f);
    return !FindFirstHit(mover, sweep, hit, ignored);
}

// Damage.

Array<Arena::DamageHit>& Arena::BeginDamageWalk() {
    if (damageDepth_ == damageHitLists_.Count()) {
        damageHitLists_.Append(new Array<DamageHit>());
    }
    Array<DamageHit>& hits = *damageHitLists_[damageDepth_];
    hits.Clear();
    return hits;
}

void Arena::ApplyDamageHits() {
    // The hits were gathered by a walk that has ended: a death here may place objects,
    // start blasts (which gather on the next list) and walk the grid again.
    const Array<DamageHit>& hits = *damageHitLists_[damageDepth_];
    ++damageDepth_;
    Game* game = CurrentGame();
    for (const DamageHit& hit : hits) {
        WorldObject* victim = hit.victim;
        if (victim->removed || !victim->active || victim->health <= 0.0f) {
            continue;
        }
        const bool report = game != nullptr && IsSyncedKind(victim->kind);
        if (report && hit.reportFirst) {
            game->OnHealthChanged(victim, hit.attacker, hit.reportPoint, hit.amount, hit.reportCode);
        }
        victim->TakeDamage(hit.attacker, hit.point, hit.amount, hit.damageKind);
        if (report && !hit.reportFirst) {
            game->OnHealthChanged(victim, hit.attacker, hit.reportPoint, hit.amount, hit.reportCode);
        }
    }
    --damageDepth_;
}

void Arena::SweepDamage(Player* attacker, WorldObject* mover, float damage, int damageKind) {
    if (IsCurrentGameClient()) {
        return;
    }
    BeginWalk();
    MarkVisited(*mover);
    const Vector3 start = mover->previousShape.Centre();
    const Vector3 end = NearestImage(start, mover->shape.Centre());
    const float length = (end - start).Length();
    const float r = mover->shape.Radius();
    CollisionShape path;
    path.SetCylinder(start, end, r);
    Array<DamageHit>& hits = BeginDamageWalk();
    const bool flame = mover->kind == kKindFlameBall;
    const ShapeBound bound = BoundOf(path);
    const float width = WorldWidth();
    const float height = WorldHeight();
    WalkCells(BoundsOfCircles(start, end, r), [&](WorldObject& object) {
        if (IsVisited(object) || object.health <= 0.0f || object.removed || !IsSolidKind(object.kind) ||
            (flame && object.kind == kKindRock)) {
            return false;
        }
        MarkVisited(object);
        if (ImageSurelyApart(bound, object.shape, width, height)) {
            return false;
        }
        const CollisionShape image = ImageNear(object.shape, start);
        if (!path.Intersects(image, nullptr)) {
            return false;
        }
        // A small object on a long path is in the flame for part of the step only.
        const float diameter = 2.0f * object.shape.Radius();
        const float amount = diameter < length ? damage * (diameter / length) : damage;
        DamageHit hit;
        hit.victim = &object;
        hit.attacker = attacker;
        hit.point = PathContact(start, end, image);
        hit.amount = amount;
        hit.damageKind = damageKind;
        hit.reportPoint = start;
        hit.reportCode = 2;
        hit.reportFirst = true;
        hits.Append(hit);
        return false;
    }, true);
    ApplyDamageHits();
}

void Arena::ApplyBlast(Player* attacker, const Vector3& centre, float damage, float outerRadius, float innerRadius,
                       int damageKind) {
    if (IsCurrentGameClient()) {
        return;
    }
    const float fullRadius = innerRadius + (outerRadius - innerRadius) * 0.1f;
    const float falloff = outerRadius - fullRadius;
    Array<DamageHit>& hits = BeginDamageWalk();
    // The blast is tested at its image nearest each object: far from every image, the
    // object is spared the image and the exact test.
    const ShapeBound blastBound{centre, std::fabs(outerRadius)};
    const float width = WorldWidth();
    const float height = WorldHeight();
    for (WorldObject* object : objects_) {
        if (object->health <= 0.0f || !IsSolidKind(object->kind) || object->kind == kKindDebris ||
            SurelyApart(blastBound, BoundOf(object->shape), width, height)) {
            continue;
        }
        const Vector3 near = NearestImage(object->position, centre);
        CollisionShape blast;
        blast.SetSphere(near, outerRadius);
        if (!blast.Intersects(object->shape, nullptr)) {
            continue;
        }
        const float distance = near.Distance(object->shape.ClosestPointTo(near)) - object->shape.Radius();
        // Without a falloff band the whole blast deals full damage.
        float f = 0.0f;
        if (falloff > Tolerance) {
            f = std::clamp((distance - fullRadius) / falloff, 0.0f, 1.0f);
        }
        DamageHit hit;
        hit.victim = object;
        hit.attacker = attacker;
        hit.point = near;
        hit.amount = (1.0f - f) * damage;
        hit.damageKind = damageKind;
        hit.reportPoint = near;
        hit.reportCode = damageKind;
        hits.Append(hit);
    }
    ApplyDamageHits();
}

// Picking.

WorldObject* Arena::PickObjectOnRay(const Ray& ray) {
    WorldObject* best = nullptr;
    float bestMeasure = kFloatMax;
    for (int cx = visibleCells.left; cx <= visibleCells.right; ++cx) {
        for (int cy = visibleCells.top; cy <= visibleCells.bottom; ++cy) {
            ::GridCell& cell = GridCell(cx, cy);
            const Vector3 offset = CellImageOffset(cx, cy);
            for (WorldObject* object : cell) {
                // Each object once per image: in its home cell only.
                if (!IsPickableKind(object->kind) || object->gridCell != &cell) {
                    continue;
                }
                const CollisionShape image = Shifted(object->shape, offset);
                Vector3 point;
                if (!image.HitByRay(ray, point)) {
                    continue;
                }
                const Ray axis(image.Centre(), ray.direction);
                const float measure = point.DistanceSquared(axis.ClosestPoint(point));
                if (measure < bestMeasure) {
                    bestMeasure = measure;
                    best = object;
                }
            }
        }
    }
    return best;
}

Vorn* Arena::PickVornOnRay(const Ray& ray) { return AsVorn(PickObjectOnRay(ray)); }

// List walks.

bool Arena::IsPlaceFree(const CollisionShape& shape, const WorldObject* ignored) const {
    CollisionShape probe = shape;
    probe.SetRadius(shape.Radius() + kPlacementMargin);
    for (const WorldObject* object : objects_) {
        if (object == ignored || !IsSolidKind(object->kind)) {
            continue;
        }
        if (ImageNear(probe, object->position).Intersects(object->shape, nullptr)) {
            return false;
        }
    }
    return true;
}

namespace {

// Trees, rocks and chargers stand where they are: a body is never moved past one.
// Units, balls and debris are loose bodies, and no wall.
bool IsWallKind(int kind) { return IsSolidKind(kind) && IsGroundBoundKind(kind); }

bool StartsInside(const GroundDisc& disc) { return disc.centre.LengthSquared() < disc.radius * disc.radius; }

// Whether the segment from the origin to `to` passes through the disc. One that starts
// inside it may only leave it: the segment must not come nearer its centre anywhere, and
// the distance along a line shrinks, if at all, from its start.
bool CrossesDisc(const Vector2& to, const GroundDisc& disc) {
    if (StartsInside(disc)) return disc.centre.Dot(to) > 0.0f;
    const float length = to.LengthSquared();
    const float along = length > 0.0f ? std::clamp(disc.centre.Dot(to) / length, 0.0f, 1.0f) : 0.0f;
    return disc.centre.DistanceSquared(to * along) < disc.radius * disc.radius;
}

// Twice the signed area of the triangle a, b, c: its sign tells the side of ab c lies on.
float Orientation(const Vector2& a, const Vector2& b, const Vector2& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

// Whether the segment from the origin to `to` passes strictly from one side of the
// segment ab to the other.
bool CrossesSegment(const Vector2& to, const Vector2& a, const Vector2& b) {
    const Vector2 origin(0.0f, 0.0f);
    const float fromA = Orientation(origin, to, a);
    const float fromB = Orientation(origin, to, b);
    const float atOrigin = Orientation(a, b, origin);
    const float atTo = Orientation(a, b, to);
    return ((fromA > 0.0f && fromB < 0.0f) || (fromA < 0.0f && fromB > 0.0f)) &&
           ((atOrigin > 0.0f && atTo < 0.0f) || (atOrigin < 0.0f && atTo > 0.0f));
}

// Two walls, widened by the body's radius, that overlap leave a gap narrower than the
// body; together they cover the line between their centres. A body starting clear of
// both meets one of them before it reaches that line, but one overlapping a wall could
// slide along it through the gap while still moving away from it: the line bars it.
std::vector<std::pair<Vector2, Vector2>> NarrowGaps(std::span<const GroundDisc> walls) {
    std::vector<std::pair<Vector2, Vector2>> gaps;
    if (std::none_of(walls.begin(), walls.end(), StartsInside)) return gaps;
    for (size_t i = 0; i < walls.size(); ++i) {
        for (size_t j = i + 1; j < walls.size(); ++j) {
            const float apart = walls[i].radius + walls[j].radius;
            if (walls[i].centre.DistanceSquared(walls[j].centre) < apart * apart) {
                gaps.push_back({walls[i].centre, walls[j].centre});
            }
        }
    }
    return gaps;
}

// Whether the segment from the origin to `to` holds a point of the closed square from
// `low` to `high`.
bool MeetsSquare(const Vector2& to, const Vector2& low, const Vector2& high) {
    float first = 0.0f;
    float last = 1.0f;
    const auto clip = [&first, &last](float along, float lowEdge, float highEdge) {
        if (along == 0.0f) return lowEdge <= 0.0f && 0.0f <= highEdge;
        const float a = lowEdge / along;
        const float b = highEdge / along;
        first = std::max(first, std::min(a, b));
        last = std::min(last, std::max(a, b));
        return first <= last;
    };
    return clip(to.x, low.x, high.x) && clip(to.y, low.y, high.y);
}

// The grid point whose square of ground holds the coordinate (unwrapped).
int Owner(float v) { return int(std::floor(v / kCell + 0.5f)); }

// Grid columns and rows, unwrapped, from `low` to `high` of each.
struct GridSpan {
    int lowI;
    int highI;
    int lowJ;
    int highJ;
};

// The rectangle of the squares of ground joined to the square of `seed`'s grid point
// through squares, each sharing an edge or a corner with one before, whose ground has no
// hazard outside `allowed`, among the grid points of `span`. A straight line from the seed
// that meets only such squares ends in one of them. False, `box` untouched, when the
// seed's square is refused (or lies outside the span). Only sums and comparisons of
// whole numbers: the same on every machine. Each square read takes one of `work`: at
// most JoinedGroundWork(span).
bool JoinedGround(const Terrain& terrain, const Vector2& seed, int allowed, const GridSpan& span, GroundBox& box,
                  int64_t& work) {
    const int seedI = Owner(seed.x);
    const int seedJ = Owner(seed.y);
    const auto refused = [&](int i, int j) {
        --work;
        return (GroundFlags(terrain.CellAt(i, j).type) & kHazards & ~allowed) != 0;
    };
    if (seedI < span.lowI || seedI > span.highI || seedJ < span.lowJ || seedJ > span.highJ || refused(seedI, seedJ)) {
        return false;
    }
    box = {{(float(span.lowI) - 0.5f) * kCell, (float(span.lowJ) - 0.5f) * kCell},
           {(float(span.highI) + 0.5f) * kCell, (float(span.highJ) + 0.5f) * kCell}};
    // Open ground most often: the seed's row and column joined to the span's four sides.
    const auto joinedTo = [&](int di, int dj, int last) {
        for (int k = 1; k <= last; ++k) {
            if (refused(seedI + di * k, seedJ + dj * k)) return false;
        }
        return true;
    };
    if (joinedTo(1, 0, span.highI - seedI) && joinedTo(-1, 0, seedI - span.lowI) &&
        joinedTo(0, 1, span.highJ - seedJ) && joinedTo(0, -1, seedJ - span.lowJ)) {
        return true;
    }
    const int columns = span.highI - span.lowI + 1;
    std::vector<char> seen(size_t(columns) * size_t(span.highJ - span.lowJ + 1), 0);
    const auto mark = [&](int i, int j) {
        char& cell = seen[size_t(j - span.lowJ) * size_t(columns) + size_t(i - span.lowI)];
        const bool first = cell == 0;
        cell = 1;
        return first;
    };
    mark(seedI, seedJ);
    std::vector<std::pair<int, int>> open{{seedI, seedJ}};
    GridSpan joined{seedI, seedI, seedJ, seedJ};
    while (!open.empty()) {
        const auto [i, j] = open.back();
        open.pop_back();
        joined = {std::min(joined.lowI, i), std::max(joined.highI, i), std::min(joined.lowJ, j),
                  std::max(joined.highJ, j)};
        // Joined across the whole span: it can grow no wider.
        if (joined.lowI == span.lowI && joined.highI == span.highI && joined.lowJ == span.lowJ &&
            joined.highJ == span.highJ) {
            return true;
        }
        for (int nj = std::max(j - 1, span.lowJ); nj <= std::min(j + 1, span.highJ); ++nj) {
            for (int ni = std::max(i - 1, span.lowI); ni <= std::min(i + 1, span.highI); ++ni) {
                if (!refused(ni, nj) && mark(ni, nj)) open.push_back({ni, nj});
            }
        }
    }
    box = {{(float(joined.lowI) - 0.5f) * kCell, (float(joined.lowJ) - 0.5f) * kCell},
           {(float(joined.highI) + 0.5f) * kCell, (float(joined.highJ) + 0.5f) * kCell}};
    return true;
}

// The most squares JoinedGround reads: each square of the span and its eight
// neighbours, and the seed's row and column.
int64_t JoinedGroundWork(const GridSpan& span) {
    const int64_t columns = int64_t(span.highI) - span.lowI + 1;
    const int64_t rows = int64_t(span.highJ) - span.lowJ + 1;
    return 9 * columns * rows + columns + rows + 1;
}

// How many squares HazardsAlong reads between the two points.
int64_t SquaresAlong(const Vector2& from, const Vector2& to) {
    const int64_t columns = int64_t(Owner(std::max(from.x, to.x))) - Owner(std::min(from.x, to.x)) + 1;
    const int64_t rows = int64_t(Owner(std::max(from.y, to.y))) - Owner(std::min(from.y, to.y)) + 1;
    return columns * rows;
}

}  // namespace

int Arena::HazardsAlong(const Vector2& from, const Vector2& to) const {
    const Vector2 path = to - from;
    int flags = 0;
    for (int i = Owner(std::min(from.x, to.x)); i <= Owner(std::max(from.x, to.x)); ++i) {
        for (int j = Owner(std::min(from.y, to.y)); j <= Owner(std::max(from.y, to.y)); ++j) {
            const Vector2 point(float(i) * kCell, float(j) * kCell);
            const Vector2 half(0.5f * kCell, 0.5f * kCell);
            if (MeetsSquare(path, point - half - from, point + half - from)) {
                flags |= GroundFlags(GetTerrainType(point.x, point.y)) & kHazards;
            }
        }
    }
    return flags;
}

int Arena::HazardsUnder(float x, float y, float radius) const {
    int flags = GroundFlags(GetTerrainType(x, y)) & kHazards;
    const Vector2 corners[4] = {{x - radius, y - radius}, {x - radius, y + radius}, {x + radius, y - radius},
                                {x + radius, y + radius}};
    for (const Vector2& corner : corners) flags |= GroundFlags(GetTerrainType(corner.x, corner.y)) & kHazards;
    return flags;
}

int Arena::HazardsWithin(float x, float y, float reach) const {
    // A square meets the circle only where its point lies within the reach and half the
    // square's diagonal.
    constexpr float kHalfDiagonal = kCell * std::numbers::sqrt2_v<float> / 2.0f;
    Array<TerrainPoint> points;
    terrain_->CellsUnderCircle(Vector3(x, y, reach + kHalfDiagonal), points);
    int flags = 0;
    for (const TerrainPoint& point : points) flags |= GroundFlags(terrain_->CellAt(point).type) & kHazards;
    return flags;
}

bool Arena::FindFreeGround(const Vector3& wanted, float radius, std::span<const WorldObject* const> ignored,
                           const Vector3* within, Vector3& place, GroundSearch* search, const Vector3* reference) const {
    GroundSearch alone;
    GroundSearch& shared = search != nullptr ? *search : alone;
    // The work this search may do: what the shared searches have left, or its allowance.
    // A search on ground whose dry squares join only at their corners, say, may try many
    // points and read many squares for each, and finds nothing after all.
    int64_t work = std::max(shared.workLeft, kSearchAllowance);
    const int64_t given = work;
    const auto spend = [&shared, &work, given] {
        shared.workLeft = std::max(int64_t(0), shared.workLeft - (given - work));
    };
    for (; shared.read < objects_.Count(); ++shared.read) {
        const WorldObject* object = objects_[shared.read];
        if (object->removed || !IsSolidKind(object->kind)) continue;
        shared.bodies.push_back({object, object->position, object->shape.Radius(), IsWallKind(object->kind)});
    }
    const float width = WorldWidth();
    const float height = WorldHeight();
    // Every body is taken at its image nearest the wanted point, and its other images lie
    // at least half the narrower side from that point. Reaching no farther than half that
    // side, less the body's radius, the widest body's and a spare, the search meets each
    // body at one image only: another image's disc keeps the spare clear of every point
    // it takes.
    float reach = std::min(shared.reach, 0.5f * std::min(width, height) - radius - kWidestBody - kImageSpare);
    // Worked out around the wanted point, so that every body is taken at its image
    // nearest it and the numbers stay small.
    const Vector2 from(wanted.x, wanted.y);
    // What the ground allows: where the squad's point is dry, none under the body at all;
    // else no worse than at the wanted point.
    const int centreHere = GroundFlags(GetTerrainType(wanted.x, wanted.y)) & kHazards;
    const bool dryAsked =
        reference != nullptr && (GroundFlags(GetTerrainType(reference->x, reference->y)) & kHazards) == 0;
    const int centreAllowed = dryAsked ? 0 : centreHere;
    const int underAllowed = dryAsked ? 0 : HazardsUnder(wanted.x, wanted.y, radius);
    // One wanted in lava or water beside a dry squad point leaves it on the point's side.
    const bool fromReference = dryAsked && centreHere != 0;
    const Vector3 referenceImage = fromReference ? NearestImage(wanted, *reference) : wanted;
    const Vector2 referenceAt(referenceImage.x, referenceImage.y);
    // A place is reached in a straight line over ground the wanted point allows (and, from
    // a dry squad point, over dry ground): it lies on the ground joined to the wanted
    // point's (and the squad point's) within reach. Only that ground is searched, however
    // large the field, so that a search on a small island in a lake stays small.
    // (Points that are not finite or lie far off the field, which no caller gives, are
    // searched as before.)
    GroundBox region{from - Vector2(reach, reach), from + Vector2(reach, reach)};
    const auto onGrid = [](const Vector2& p) { return std::fabs(p.x) < kOnGrid && std::fabs(p.y) < kOnGrid; };
    const bool gridded = onGrid(from) && onGrid(referenceAt);
    // The ground is worked out only when the search can afford it in full; else the
    // whole reach is searched for as long as the work lasts.
    if (gridded) {
        const GridSpan span{std::min(Owner(region.low.x), Owner(referenceAt.x)) - 1,
                            std::max(Owner(region.high.x), Owner(referenceAt.x)) + 1,
                            std::min(Owner(region.low.y), Owner(referenceAt.y)) - 1,
                            std::max(Owner(region.high.y), Owner(referenceAt.y)) + 1};
        const auto narrow = [&region](const GroundBox& joined) {
            region = {{std::max(region.low.x, joined.low.x - kRegionSpare),
                       std::max(region.low.y, joined.low.y - kRegionSpare)},
                      {std::min(region.high.x, joined.high.x + kRegionSpare),
                       std::min(region.high.y, joined.high.y + kRegionSpare)}};
        };
        GroundBox joined;
        if (work > 2 * JoinedGroundWork(span)) {
            if (JoinedGround(*terrain_, from, centreHere, span, joined, work)) narrow(joined);
            if (fromReference && JoinedGround(*terrain_, referenceAt, 0, span, joined, work)) narrow(joined);
        }
        if (region.low.x > region.high.x || region.low.y > region.high.y) {
            spend();
            return false;
        }
    }
    const Vector2 farthest(std::max(from.x - region.low.x, region.high.x - from.x),
                           std::max(from.y - region.low.y, region.high.y - from.y));
    reach = std::min(reach, farthest.Length());
    std::vector<GroundDisc> taken;
    std::vector<GroundDisc> walls;
    // Along each axis, the wrapped distance of a body that may count is within this and
    // its radius.
    const float nearAlong = reach + radius + kPlacementMargin + 1.0f;
    const auto far = [nearAlong](float d, float size, float extra) {
        float folded = std::fabs(d);
        if (folded >= size) folded = std::fmod(folded, size);
        return std::min(folded, size - folded) > nearAlong + extra;
    };
    for (const GroundSearch::Body& body : shared.bodies) {
        if (far(body.position.x - wanted.x, width, body.radius) || far(body.position.y - wanted.y, height, body.radius) ||
            std::find(ignored.begin(), ignored.end(), body.object) != ignored.end()) {
            continue;
        }
        const Vector3 image = NearestImageIn(wanted, body.position, width, height);
        const Vector2 centre = Vector2(image.x, image.y) - from;
        const GroundDisc disc{centre, body.radius + radius + kPlacementMargin};
        if (centre.Length() < reach + disc.radius) {
            taken.push_back(disc);
            // The moved body sweeps its own disc along the line: a wall widened by its
            // radius, so that it slips between two walls only where it fits.
            if (body.wall) walls.push_back({centre, body.radius + radius});
        }
    }
    GroundDisc bound;
    if (within != nullptr) {
        const Vector3 centre = NearestImage(wanted, Vector3(within->x, within->y, 0.0f));
        bound = {Vector2(centre.x, centre.y) - from, within->z};
    }
    std::vector<GroundDisc> fullNear;
    for (const GroundSearch::Full& ground : shared.full) {
        if (ground.radius > radius) continue;
        const Vector3 centre = NearestImage(wanted, Vector3(ground.area.x, ground.area.y, 0.0f));
        fullNear.push_back({Vector2(centre.x, centre.y) - from, ground.area.z});
    }
    const std::vector<std::pair<Vector2, Vector2>> gaps = NarrowGaps(walls);
    FreePointRule rule;
    rule.reach = reach;
    rule.step = std::max(radius, kFreeGroundStep);
    rule.full = fullNear;
    // The grid around the wanted point, at (0, 0).
    const GroundBox around{region.low - from, region.high - from};
    rule.box = gridded ? &around : nullptr;
    bool metFree = false;
    rule.metFree = &metFree;
    rule.workLeft = &work;
    // Each point of ground read takes one of the work, and each wall and gap passed.
    rule.accept = [&](const Vector2& spot) {
        const Vector2 at = from + spot;
        work -= kPlaceGroundWork;
        const bool wetCentre = (GroundFlags(GetTerrainType(at.x, at.y)) & kHazards & ~centreAllowed) != 0;
        if (wetCentre) return false;
        const bool wetUnder = (HazardsUnder(at.x, at.y, radius) & ~underAllowed) != 0;
        if (wetUnder) return false;
        // A line the work left does not cover is not read: the search ends there.
        const auto afford = [&work](const Vector2& a, const Vector2& b) {
            const int64_t along = kSquareAlongWork * SquaresAlong(a, b);
            work = along <= work ? work - along : 0;
            return work > 0;
        };
        if (!afford(from, at)) return false;
        const bool crossesWet = (HazardsAlong(from, at) & ~centreHere) != 0;
        if (crossesWet) return false;
        if (fromReference && !afford(referenceAt, at)) return false;
        const bool outOfDryLine = fromReference && HazardsAlong(referenceAt, at) != 0;
        if (outOfDryLine) return false;
        work -= int64_t(walls.size() + gaps.size());
        const bool throughWall = std::any_of(walls.begin(), walls.end(),
                                             [&spot](const GroundDisc& wall) { return CrossesDisc(spot, wall); });
        const bool throughGap = std::any_of(gaps.begin(), gaps.end(), [&spot](const auto& gap) {
            return CrossesSegment(spot, gap.first, gap.second);
        });
        return !throughWall && !throughGap;
    };
    Vector2 spot;
    if (!NearestFreePoint(Vector2(0.0f, 0.0f), taken, within != nullptr ? &bound : nullptr, kFreeGroundRoom, spot,
                          &rule)) {
        // Ground is known full only when the search went through it all.
        if (!metFree && within == nullptr && work > 0) shared.full.push_back({Vector3(from.x, from.y, reach), radius});
        spend();
        return false;
    }
    spend();
    const Vector3 ground = WrapPosition(Vector3(from.x + spot.x, from.y + spot.y, 0.0f));
    place = GroundPoint(ground.x, ground.y);
    return true;
}

WorldObject* Arena::NearestObject(const Vector3& point, Vector3* image) const {
    return NearestMatching(point, image, [](const WorldObject&) { return true; });
}

WorldObject* Arena::NearestObjectOfKind(const Vector3& point, Vector3* image, int kind) const {
    return NearestMatching(point, image, [kind](const WorldObject& object) { return object.kind == kind; });
}

Vorn* Arena::NearestVornNamed(const Vector3& point, Vector3* image, const Player* player, const char* name) const {
    const bool anyName = name == nullptr || name[0] == '\0';
    return AsVorn(NearestMatching(point, image, [&](const WorldObject& object) {
        if (object.kind != kKindVorn) {
            return false;
        }
        const auto& vorn = static_cast<const Vorn&>(object);
        return (player == nullptr || vorn.owner == player) && (anyName || vorn.name == name);
    }));
}

template <typename F>
WorldObject* Arena::NearestMatching(const Vector3& point, Vector3* image, F&& matches) const {
    WorldObject* best = nullptr;
    float bestDistance = kFloatMax;
    Vector3 bestImage;
    for (WorldObject* object : objects_) {
        if (!matches(*object)) {
            continue;
        }
        const Vector3 candidate = NearestImage(point, object->position);
        const float distance = point.DistanceSquared(candidate);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = object;
            bestImage = candidate;
        }
    }
    if (image != nullptr && best != nullptr) {
        *image = bestImage;
    }
    return best;
}

// Ground sampling.

bool Arena::SampleHasGround(const Vector3& circle, int flagMask) const {
    const float r = circle.z;
    const Vector2 samples[4] = {{circle.x - r, circle.y - r},
                                {circle.x - r, circle.y + r},
                                {circle.x + r, circle.y - r},
                                {circle.x + r, circle.y + r}};
    for (const Vector2& s : samples) {
        if ((GroundFlags(GetTerrainType(s.x, s.y)) & flagMask) != 0) {
            return true;
        }
    }
    return false;
}

bool Arena::AreaHasPlainGround(const Vector3& circle) const { return SampleHasGround(circle, kPlainFlag); }
bool Arena::AreaHasSlowGround(const Vector3& circle) const { return SampleHasGround(circle, kSlowFlag); }
bool Arena::AreaHasLava(const Vector3& circle) const { return SampleHasGround(circle, kLavaFlag); }
bool Arena::AreaHasWater(const Vector3& circle) const { return SampleHasGround(circle, kWaterFlag); }

float Arena::AreaMeanHeight(const Vector3& circle) const {
    const float r = circle.z;
    const float sum = GetGroundHeight(circle.x, circle.y) + GetGroundHeight(circle.x - r, circle.y - r) +
                      GetGroundHeight(circle.x - r, circle.y + r) + GetGroundHeight(circle.x + r, circle.y - r) +
                      GetGroundHeight(circle.x + r, circle.y + r);
    return sum / 5.0f;
}

CollisionShape Arena::ShapeOnGround(int kind, const Vector2& point, float radius) const {
    return ShapeForObjectKind(kind, GroundPoint(point.x, point.y), radius);
}

Vector3 Arena::PickTerrainPoint(const Ray& ray, float drop) const {
    Vector3 origin = ray.origin;
    origin.z -= drop;
    for (int attempt = 0; attempt < kPickTries; ++attempt) {
        Vector3 point;
        if (terrain_->RayHit(Ray(origin, ray.direction), point) == 3) {
            return point;
        }
        const float dy = RandomFraction() * 2.0f * kPickNudge - kPickNudge;
        const float dx = RandomFraction() * 2.0f * kPickNudge - kPickNudge;
        const float dz = RandomFraction() * 2.0f * kPickNudge - kPickNudge;
        origin += Vector3(dx, dy, dz);
    }
    return {0.0f, 0.0f, terrain_->CellAt(0, 0).height};
}

Vector3 Arena::RandomPoint() const {
    const float fy = RandomFraction();
    const float fx = RandomFraction();
    return {fx * WorldWidth(), fy * WorldHeight(), 0.0f};
}

// Placement.

bool Arena::PlaceObjectAt(int kind, int argument, const Vector3& point) {
    WorldObject* object = nullptr;
    if (kind == kKindGoal) {
        Goal* goal = NewGoal();
        const Game* game = CurrentGame();
        if (game != nullptr) {
            goal->owner = argument == 0 ? game->firstPlayer : game->secondPlayer;
        }
        goal->SetTeam(0);
        object = goal;
    } else if (kind == kKindTree || kind == kKindRock || kind == kKindSolarCharger || kind == kKindSoccerBall) {
        if (!IsPlaceFree(ShapeOnGround(kind, Vector2(point.x, point.y), 0.0f), nullptr)) {
            return false;
        }
        object = NewObjectOfKind(kind);
        object->SetTeam(argument);
    } else {
        return false;
    }
    AddObject(object);
    object->heading = RandomFraction() * kPi;
    object->PlaceAt(GroundPoint(point.x, point.y));
    return true;
}

bool Arena::IsFreeForUnit(const Vector3& point, float radius) const {
    return IsPlaceFree(ShapeOnGround(kKindVorn, Vector2(point.x, point.y), radius), nullptr);
}

void Arena::FinishUnitPlacement(Vorn* unit, const Vector3& point) {
    unit->SetAngle(RandomFraction() * 2.0f * kPi);
    unit->PlaceAt(GroundPoint(point.x, point.y));
}

Vorn* Arena::PlaceVornAt(const String& fileName, const Vector3& point, Player* player) {
    VornSummary summary;
    // A summary that reads but names no chassis would size the test shape from garbage.
    if (!summary.Load(fileName) || summary.chassis < 0 || summary.chassis >= kChassisCount) {
        return nullptr;
    }
    if (!IsFreeForUnit(point, kChassisRadiusBySize[summary.chassis % 3])) {
        return nullptr;
    }
    Vorn* unit = NewVorn(0);
    if (!unit->LoadFile(fileName)) {
        GiveBack(unit);
        return nullptr;
    }
    unit->SetPlayer(player);
    unit->SetDefaults();
    unit->PrepareForBattle();
    FinishUnitPlacement(unit, point);
    ConsoleStream& console = GetConsoleStream();
    console << unit->name << " at ";
    unit->position.WriteText(console);
    console.Flush();
    AddObject(unit);
    return unit;
}

Vorn* Arena::PlaceChassisAt(int chassis, const Vector3& point, Player* player) {
    if (chassis < 0 || chassis >= kChassisCount || !IsFreeForUnit(point, kChassisRadiusBySize[chassis % 3])) {
        return nullptr;
    }
    Vorn* unit = NewVorn(0);
    unit->SetPlayer(player);
    unit->BuildBody(chassis);
    unit->ApplyPatternSlots();
    FinishUnitPlacement(unit, point);
    unit->SetWeaponKind(0, -1);
    unit->SetWeaponKind(1, -1);
    AddObject(unit);
    return unit;
}

template <typename F>
void Arena::PlaceWithTries(int count, const Vector3* centre, F&& placeAt) {
    for (int i = 0; i < count; ++i) {
        for (int attempt = 0; attempt < kPlacementTries; ++attempt) {
            Vector3 spot;
            if (centre != nullptr) {
                const Vector2 p = RandomPointInCircle(Vector3(centre->x, centre->y, kPlacementScatter));
                spot = Vector3(p.x, p.y, 0.0f);
            } else {
                spot = RandomPoint();
            }
            if (placeAt(spot)) {
                break;
            }
        }
    }
}

void Arena::PlaceObjectsAround(int kind, int argument, int count, const Vector3& centre) {
    PlaceWithTries(count, &centre, [&](const Vector3& p) { return PlaceObjectAt(kind, argument, p); });
}

void Arena::PlaceVornsAround(const String& fileName, int count, Player* player, const Vector3& centre) {
    PlaceWithTries(count, &centre, [&](const Vector3& p) { return PlaceVornAt(fileName, p, player) != nullptr; });
}

void Arena::PlaceChassisAround(int chassis, int count, Player* player, const Vector3& centre) {
    PlaceWithTries(count, &centre, [&](const Vector3& p) { return PlaceChassisAt(chassis, p, player) != nullptr; });
}

void Arena::PlaceObjectsRandomly(int kind, int argument, int count) {
    PlaceWithTries(count, nullptr, [&](const Vector3& p) { return PlaceObjectAt(kind, argument, p); });
}

void Arena::PlaceVornsRandomly(const String& fileName, int count, Player* player) {
    PlaceWithTries(count, nullptr, [&](const Vector3& p) { return PlaceVornAt(fileName, p, player) != nullptr; });
}

void Arena::PlaceChassisRandomly(int chassis, int count, Player* player) {
    PlaceWithTries(count, nullptr, [&](const Vector3& p) { return PlaceChassisAt(chassis, p, player) != nullptr; });
}
