#include "world/FreeGround.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <numeric>
#include <queue>
#include <utility>
#include <vector>

namespace {

// Beyond this from the wanted point along either axis a centre or radius is not measured:
// the squares of the distances the search works with stay well within a float.
constexpr double kMeasured = 1e18;
// No point farther than this from the wanted one is taken.
constexpr float kFarthest = 4e18f;
// A circle whose edge lies farther than this outside the wanted point touches no point
// within kFarthest of it, even widened by the room.
constexpr double kOutOfReach = double(kFarthest) + kMeasured;
// At most this many rings of grid points are tried around the wanted one.
constexpr int kMostRings = 1024;
// The work of making a point and testing whether it is free, and of queueing and
// trying a free one, in about the time of reading a point of ground. A point on a
// circle is mostly inside a neighbour and costs little; a free one is queued and tried.
constexpr int64_t kMadeWork = 4;
constexpr int64_t kTriedWork = 64;

bool Finite(const GroundDisc& disc) {
    return std::isfinite(disc.centre.x) && std::isfinite(disc.centre.y) && std::isfinite(disc.radius);
}

// Whether the circle is finite and lies within measure of p.
bool Measured(const GroundDisc& circle, const Vector2& p) {
    return std::fabs(double(circle.centre.x) - double(p.x)) <= kMeasured &&
           std::fabs(double(circle.centre.y) - double(p.y)) <= kMeasured && std::fabs(double(circle.radius)) <= kMeasured;
}

// How far the finite circle's edge lies outside p (below 0: p is inside), in doubles,
// which hold any float's square; only sums, products and a root, the same on every machine.
double Outside(const GroundDisc& circle, const Vector2& p) {
    const double x = double(circle.centre.x) - double(p.x);
    const double y = double(circle.centre.y) - double(p.y);
    return std::sqrt(x * x + y * y) - double(circle.radius);
}

// The point of the circle nearest to p (any, for p at its centre).
Vector2 NearestOn(const GroundDisc& circle, const Vector2& p) {
    const Vector2 away = p - circle.centre;
    const float length = away.Length();
    if (length < 1e-6f) return circle.centre + Vector2(circle.radius, 0.0f);
    return circle.centre + away * (circle.radius / length);
}

// The points where the two circles cross, handed to `add`.
template <typename Add>
void AddCrossings(const GroundDisc& a, const GroundDisc& b, Add add) {
    const Vector2 between = b.centre - a.centre;
    const float d = between.Length();
    if (d < 1e-6f || d > a.radius + b.radius || d < std::fabs(a.radius - b.radius)) return;
    const float along = (a.radius * a.radius - b.radius * b.radius + d * d) / (2.0f * d);
    const float across = std::sqrt(std::max(a.radius * a.radius - along * along, 0.0f));
    const Vector2 u = between * (1.0f / d);
    const Vector2 foot = a.centre + u * along;
    const Vector2 side(-u.y, u.x);
    add(foot + side * across);
    add(foot - side * across);
}

// Discs bucketed by centre on a square grid, so that a walk near a point meets only the
// discs of the cells around it. Each cell lists its discs in their order.
class DiscGrid {
public:
    DiscGrid(std::span<const GroundDisc> discs, float cell) : cell_(std::max(cell, 1e-3f)) {
        if (discs.empty()) return;
        low_ = high_ = discs[0].centre;
        for (const GroundDisc& disc : discs) {
            low_ = Vector2(std::min(low_.x, disc.centre.x), std::min(low_.y, disc.centre.y));
            high_ = Vector2(std::max(high_.x, disc.centre.x), std::max(high_.y, disc.centre.y));
        }
        // Never many more cells than discs: sparse discs share wider cells. The counts
        // are reckoned in doubles, which discs however far apart do not overflow.
        const double most = 4.0 * double(discs.size()) + 16.0;
        while (Cells(high_.x - low_.x) * Cells(high_.y - low_.y) > most) cell_ *= 2.0f;
        columns_ = int(Cells(high_.x - low_.x));
        rows_ = int(Cells(high_.y - low_.y));
        first_.assign(size_t(columns_) * size_t(rows_) + 1, 0);
        for (const GroundDisc& disc : discs) ++first_[CellOf(disc.centre) + 1];
        std::partial_sum(first_.begin(), first_.end(), first_.begin());
        members_.resize(discs.size());
        std::vector<int> filled(first_.begin(), first_.end() - 1);
        for (size_t i = 0; i < discs.size(); ++i) members_[size_t(filled[CellOf(discs[i].centre)]++)] = int(i);
    }

    // Calls visit(index) for the discs whose centres may lie within `range` of p, until
    // it answers true; whether one did.
    template <typename Visit>
    bool AnyNear(const Vector2& p, float range, Visit visit) const {
        if (members_.empty()) return false;
        const int x0 = Clamped((p.x - range - low_.x) / cell_, columns_);
        const int x1 = Clamped((p.x + range - low_.x) / cell_, columns_);
        const int y0 = Clamped((p.y - range - low_.y) / cell_, rows_);
        const int y1 = Clamped((p.y + range - low_.y) / cell_, rows_);
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const size_t cell = size_t(y) * size_t(columns_) + size_t(x);
                for (int k = first_[cell]; k < first_[cell + 1]; ++k) {
                    if (visit(members_[size_t(k)])) return true;
                }
            }
        }
        return false;
    }

private:
    double Cells(float span) const { return double(std::floor(span / cell_)) + 1.0; }
    static int Clamped(float cell, int count) { return int(std::clamp(std::floor(cell), 0.0f, float(count - 1))); }
    size_t CellOf(const Vector2& p) const {
        return size_t(Clamped((p.y - low_.y) / cell_, rows_)) * size_t(columns_) +
               size_t(Clamped((p.x - low_.x) / cell_, columns_));
    }

    float cell_;
    Vector2 low_;
    Vector2 high_;
    int columns_ = 0;
    int rows_ = 0;
    std::vector<int> first_;
    std::vector<int> members_;
};

// Whether the circle lies inside one of the areas, by a margin.
// The last areas first: those of the searches just before, most often the nearest.
bool InsideAny(const GroundDisc& circle, std::span<const GroundDisc> areas) {
    return std::any_of(areas.rbegin(), areas.rend(), [&circle](const GroundDisc& area) {
        return circle.centre.Distance(area.centre) + circle.radius < area.radius - 1e-3f;
    });
}
bool InsideAny(const Vector2& p, std::span<const GroundDisc> areas) { return InsideAny(GroundDisc{p, 0.0f}, areas); }

struct Candidate {
    float distanceSquared;
    Vector2 point;
};

// Nearest first; of equally near points, the least x, then y.
struct Farther {
    bool operator()(const Candidate& a, const Candidate& b) const {
        if (a.distanceSquared != b.distanceSquared) return a.distanceSquared > b.distanceSquared;
        if (a.point.x != b.point.x) return a.point.x > b.point.x;
        return a.point.y > b.point.y;
    }
};

// The taken discs ordered by centre, a disc with the centre and radius of one before it
// (a pile on one spot), lying inside a larger one on its centre, or inside a full area
// dropped: the free ground and the edge points that may be free stay the same, once the
// points inside the full areas are taken as not free.
// A disc that is not finite is left out, having no sound place, and so is one lying beyond
// reach of the wanted point; false when one beyond measure reaches near it.
bool DistinctDiscs(const Vector2& wanted, std::span<const GroundDisc> taken, float room,
                   std::span<const GroundDisc> full, std::vector<GroundDisc>& distinct) {
    std::vector<GroundDisc> discs;
    discs.reserve(taken.size());
    for (const GroundDisc& disc : taken) {
        if (!Measured(disc, wanted)) {
            if (!Finite(disc) || Outside(disc, wanted) > kOutOfReach) continue;
            return false;
        }
        if (!InsideAny(GroundDisc{disc.centre, disc.radius + room}, full)) discs.push_back(disc);
    }
    std::sort(discs.begin(), discs.end(), [](const GroundDisc& a, const GroundDisc& b) {
        if (a.centre.x != b.centre.x) return a.centre.x < b.centre.x;
        if (a.centre.y != b.centre.y) return a.centre.y < b.centre.y;
        return a.radius > b.radius;
    });
    distinct.reserve(discs.size());
    size_t largest = 0;
    for (const GroundDisc& disc : discs) {
        if (!distinct.empty() && disc.centre == distinct[largest].centre) {
            const float outer = distinct[largest].radius;
            if (disc.radius == outer || disc.radius + room < outer) continue;
        } else {
            largest = distinct.size();
        }
        distinct.push_back(disc);
    }
    return true;
}

}  // namespace

bool NearestFreePoint(const Vector2& wanted, std::span<const GroundDisc> taken, const GroundDisc* within, float room,
                      Vector2& place, const FreePointRule* rule) {
    if (!std::isfinite(wanted.x) || !std::isfinite(wanted.y) || !(std::fabs(room) <= kMeasured)) return false;
    // A bound that is not finite, or beyond measure, holds no point that can be told
    // free; one holding all ground within reach bounds nothing.
    const GroundDisc* bound = within;
    if (bound != nullptr && !Measured(*bound, wanted)) {
        if (!Finite(*bound) || -Outside(*bound, wanted) <= kOutOfReach) return false;
        bound = nullptr;
    }
    const FreePointRule anyFree;
    const FreePointRule& asked = rule != nullptr ? *rule : anyFree;
    // Full areas only spare work, the ground inside them being taken already: one that
    // cannot be measured is left out.
    std::span<const GroundDisc> full = asked.full;
    std::vector<GroundDisc> measuredFull;
    const auto measured = [&wanted](const GroundDisc& area) { return Measured(area, wanted); };
    if (!std::all_of(full.begin(), full.end(), measured)) {
        std::copy_if(full.begin(), full.end(), std::back_inserter(measuredFull), measured);
        full = measuredFull;
    }
    std::vector<GroundDisc> discs;
    if (!DistinctDiscs(wanted, taken, room, full, discs)) return false;
    float largest = 0.0f;
    for (const GroundDisc& disc : discs) largest = std::max(largest, disc.radius);
    const DiscGrid grid(discs, largest + room);
    // Free with `margin` to spare from every disc and the bound.
    const auto isFree = [&](const Vector2& p, float margin) {
        if (bound != nullptr && p.Distance(bound->centre) > bound->radius - margin) return false;
        return !grid.AnyNear(p, largest + margin,
                             [&](int i) {
                                 return p.Distance(discs[size_t(i)].centre) < discs[size_t(i)].radius + margin;
                             }) &&
               !InsideAny(p, full);
    };
    // Once the work allowed is spent, nothing more is tried.
    const auto charge = [&asked](int64_t work) {
        if (asked.workLeft != nullptr) *asked.workLeft -= work;
    };
    const auto spent = [&asked] { return asked.workLeft != nullptr && *asked.workLeft <= 0; };
    const auto accepted = [&asked, &charge](const Vector2& p) {
        charge(kTriedWork);
        return !asked.accept || asked.accept(p);
    };
    // Rings of points on a grid around the wanted one, begun once a free point is
    // refused: the wanted point itself may be the first, with no disc near it.
    bool sampling = false;
    if (isFree(wanted, 0.0f)) {
        if (asked.metFree != nullptr) *asked.metFree = true;
        if (accepted(wanted)) {
            place = wanted;
            return true;
        }
        sampling = asked.step > 0.0f;
    }

    // The free ground is the bound less the taken discs. Its point nearest to the wanted
    // one lies on the edge of the bound or of a disc: at the foot of the wanted point
    // there, or where two of the circles cross. A point on a circle is no nearer than
    // that circle's edge, so the circles are taken in the order of their edges' distance,
    // and the points found so far nearer than the next edge are tried, nearest first,
    // before it is: the first free one is the nearest. Crossings are made only between
    // circles near enough to cross.
    const size_t count = discs.size();
    std::vector<GroundDisc> circles(count);
    std::vector<float> edge(count + 1, std::numeric_limits<float>::infinity());
    for (size_t i = 0; i < count; ++i) {
        circles[i] = {discs[i].centre, discs[i].radius + room};
        edge[i] = std::fabs(wanted.Distance(circles[i].centre) - circles[i].radius);
    }
    GroundDisc boundCircle{};
    if (bound != nullptr) {
        boundCircle = {bound->centre, bound->radius - room};
        edge[count] = std::fabs(wanted.Distance(boundCircle.centre) - boundCircle.radius);
    }
    std::vector<size_t> order(bound != nullptr ? count + 1 : count);
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&edge](size_t a, size_t b) { return edge[a] < edge[b]; });

    // Whether a free point is free never changes, so each is tested as it is made and
    // only the free ones wait their turn. A point on a disc's circle is tested against
    // that disc's neighbours alone: no other disc reaches it.
    const float reach = std::min(asked.reach, kFarthest);
    const float reachSquared = reach * reach;
    std::priority_queue<Candidate, std::vector<Candidate>, Farther> spots;
    std::vector<std::pair<float, int>> neighbours;
    const auto freeAmongNeighbours = [&](const Vector2& p) {
        if (bound != nullptr && p.Distance(bound->centre) > bound->radius) return false;
        for (const auto& [apart, k] : neighbours) {
            if (p.Distance(discs[size_t(k)].centre) < discs[size_t(k)].radius) return false;
        }
        return !InsideAny(p, full);
    };
    const auto addOnCircle = [&](const Vector2& p) {
        charge(kMadeWork);
        const float d = p.DistanceSquared(wanted);
        if (d <= reachSquared && freeAmongNeighbours(p)) spots.push({d, p});
    };
    const auto addAnywhere = [&](const Vector2& p, float margin) {
        charge(kMadeWork);
        const float d = p.DistanceSquared(wanted);
        if (d <= reachSquared && isFree(p, margin)) spots.push({d, p});
    };
    const auto addOnBound = [&](const Vector2& p) { addAnywhere(p, 0.0f); };
    std::vector<char> active(count, 0);
    bool boundActive = false;
    int ring = 1;
    size_t next = 0;
    constexpr float kNone = std::numeric_limits<float>::infinity();
    for (;;) {
        if (spent()) return false;
        const float nextEdge = next < order.size() && edge[order[next]] <= reach ? edge[order[next]] : kNone;
        const float nextRing =
            sampling && ring <= kMostRings && asked.step * float(ring) <= reach ? asked.step * float(ring) : kNone;
        const float frontier = std::min(nextEdge, nextRing);
        bool refused = false;
        while (!spots.empty() && (frontier == kNone || spots.top().distanceSquared < frontier * frontier)) {
            if (spent()) return false;
            const Candidate spot = spots.top();
            spots.pop();
            if (asked.metFree != nullptr) *asked.metFree = true;
            if (accepted(spot.point)) {
                place = spot.point;
                return true;
            }
            if (!sampling && asked.step > 0.0f) {
                sampling = refused = true;
                break;
            }
        }
        if (refused) continue;
        if (frontier == kNone) return false;
        if (nextRing <= nextEdge) {
            // The square ring of grid points `ring` steps out each way: none nearer than
            // a step times that. Only sums and products, the same on every machine.
            // Along each side, the steps from `first` to `last`.
            const auto side = [&](bool alongX, float at, int first, int last) {
                const GroundBox* box = asked.box;
                // A rectangle leaves out the side, or all but the steps that may reach it
                // (one more each way, against rounding: a point outside is refused anyway).
                if (box != nullptr) {
                    const Vector2 low = box->low - wanted;
                    const Vector2 high = box->high - wanted;
                    const float fixedLow = alongX ? low.y : low.x;
                    const float fixedHigh = alongX ? high.y : high.x;
                    if (at < fixedLow - asked.step || at > fixedHigh + asked.step) return;
                    const float stepsFrom = std::floor((alongX ? low.x : low.y) / asked.step) - 1.0f;
                    const float stepsTo = std::ceil((alongX ? high.x : high.y) / asked.step) + 1.0f;
                    first = int(std::clamp(stepsFrom, float(first), float(last) + 1.0f));
                    last = int(std::clamp(stepsTo, float(first) - 1.0f, float(last)));
                }
                for (int k = first; k <= last && !spent(); ++k) {
                    const float across = asked.step * float(k);
                    addAnywhere(wanted + (alongX ? Vector2(across, at) : Vector2(at, across)), room);
                }
            };
            side(true, -nextRing, -ring, ring);
            side(true, nextRing, -ring, ring);
            side(false, -nextRing, 1 - ring, ring - 1);
            side(false, nextRing, 1 - ring, ring - 1);
            ++ring;
            continue;
        }
        const size_t i = order[next++];
        if (i == count) {
            boundActive = true;
            addOnBound(NearestOn(boundCircle, wanted));
            for (size_t j = 0; j < count; ++j) {
                if (active[j] != 0) AddCrossings(boundCircle, circles[j], addOnBound);
            }
            continue;
        }
        active[i] = 1;
        // Nearest first: a point on the circle is most often inside one of those.
        const float around = circles[i].radius + largest + room;
        neighbours.clear();
        grid.AnyNear(circles[i].centre, around, [&](int near) {
            const float apart = circles[size_t(near)].centre.DistanceSquared(circles[i].centre);
            if (apart <= around * around) neighbours.push_back({apart, near});
            return false;
        });
        std::sort(neighbours.begin(), neighbours.end());
        addOnCircle(NearestOn(circles[i], wanted));
        for (const auto& [apart, near] : neighbours) {
            const size_t j = size_t(near);
            if (spent()) return false;
            if (j != i && active[j] != 0) AddCrossings(circles[std::min(i, j)], circles[std::max(i, j)], addOnCircle);
        }
        if (boundActive) AddCrossings(boundCircle, circles[i], addOnCircle);
    }
}
