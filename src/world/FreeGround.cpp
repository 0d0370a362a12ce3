#include "world/FreeGround.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The point of the circle nearest to p (any, for p at its centre).
Vector2 NearestOn(const GroundDisc& circle, const Vector2& p) {
    const Vector2 away = p - circle.centre;
    const float length = away.Length();
    if (length < 1e-6f) return circle.centre + Vector2(circle.radius, 0.0f);
    return circle.centre + away * (circle.radius / length);
}

// The points where the two circles cross, appended.
void AddCrossings(const GroundDisc& a, const GroundDisc& b, std::vector<Vector2>& points) {
    const Vector2 between = b.centre - a.centre;
    const float d = between.Length();
    if (d < 1e-6f || d > a.radius + b.radius || d < std::fabs(a.radius - b.radius)) return;
    const float along = (a.radius * a.radius - b.radius * b.radius + d * d) / (2.0f * d);
    const float across = std::sqrt(std::max(a.radius * a.radius - along * along, 0.0f));
    const Vector2 u = between * (1.0f / d);
    const Vector2 foot = a.centre + u * along;
    const Vector2 side(-u.y, u.x);
    points.push_back(foot + side * across);
    points.push_back(foot - side * across);
}

bool IsFree(const Vector2& p, std::span<const GroundDisc> taken, const GroundDisc* bound) {
    if (bound != nullptr && p.Distance(bound->centre) > bound->radius) return false;
    return std::none_of(taken.begin(), taken.end(),
                        [&p](const GroundDisc& disc) { return p.Distance(disc.centre) < disc.radius; });
}

}  // namespace

bool NearestFreePoint(const Vector2& wanted, std::span<const GroundDisc> taken, const GroundDisc* bound, float room,
                      Vector2& place) {
    if (IsFree(wanted, taken, bound)) {
        place = wanted;
        return true;
    }
    // The free ground is the bound less the taken discs. Its point nearest to the wanted
    // one lies on the edge of the bound or of a disc: at the foot of the wanted point
    // there, or where two of the circles cross.
    std::vector<GroundDisc> circles;
    circles.reserve(taken.size() + 1);
    if (bound != nullptr) circles.push_back({bound->centre, bound->radius - room});
    for (const GroundDisc& disc : taken) circles.push_back({disc.centre, disc.radius + room});
    std::vector<Vector2> spots;
    for (size_t i = 0; i < circles.size(); ++i) {
        spots.push_back(NearestOn(circles[i], wanted));
        for (size_t j = i + 1; j < circles.size(); ++j) AddCrossings(circles[i], circles[j], spots);
    }
    std::sort(spots.begin(), spots.end(), [&wanted](const Vector2& a, const Vector2& b) {
        return a.DistanceSquared(wanted) < b.DistanceSquared(wanted);
    });
    for (const Vector2& spot : spots) {
        if (IsFree(spot, taken, bound)) {
            place = spot;
            return true;
        }
    }
    return false;
}
