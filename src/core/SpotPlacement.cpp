// Placing marker circles around a circle without covering one another.
#include "core/SpotPlacement.h"

#include <algorithm>
#include <cmath>

#include "core/Geometry.h"
#include "core/MathUtil.h"

namespace {

constexpr float kMarkerRadius = 0.5f;
constexpr int kSpotTries = 16;

}  // namespace

float MaxCircleOverlap(const Vector3& circle, const Vector3Array& circles) {
    float largest = 0.0f;
    for (const Vector3& other : circles) largest = std::max(largest, CircleOverlapArea(circle, other));
    return largest;
}

Vector2 FindFreeSpotAround(const Vector3& centre, float& angle, float scale, Vector3Array& markers) {
    const float step = kTwoPi / float(kSpotTries);
    // A marker may cover a fifth of another before the spot counts as taken.
    const float areaLimit = 0.2f * (kPi * kMarkerRadius * kMarkerRadius);
    const Vector2 c(centre.x, centre.y);
    const float r = centre.z;
    float bestOverlap = kFloatMax;
    Vector2 bestInner;
    Vector2 bestOuter;
    float bestAngle = angle;
    float theta = angle;
    for (int i = 0; i < kSpotTries; ++i) {
        const Vector2 u(std::sin(theta), -std::cos(theta));
        const Vector2 inner = c + u * (r + kMarkerRadius);
        const Vector2 outer = c + u * (scale * (r + kMarkerRadius));
        const float overlap = MaxCircleOverlap(Vector3(inner.x, inner.y, kMarkerRadius), markers);
        if (overlap < areaLimit) {
            markers.Append(Vector3(inner.x, inner.y, kMarkerRadius));
            angle = theta;
            return outer;
        }
        if (overlap < bestOverlap) {
            bestOverlap = overlap;
            bestInner = inner;
            bestOuter = outer;
            bestAngle = theta;
        }
        theta += theta >= 0.0f ? step : -step;
    }
    markers.Append(Vector3(bestInner.x, bestInner.y, kMarkerRadius));
    angle = bestAngle;
    return bestOuter;
}
