#include "core/Geometry.h"

#include <algorithm>
#include <cmath>

#include "core/MathUtil.h"
#include "core/Plane.h"

namespace {

float Cross2(const Vector2& a, const Vector2& b) { return a.x * b.y - a.y * b.x; }

float Clamp01(float t) { return std::clamp(t, 0.0f, 1.0f); }

// The radial offset w (of length d) kept within radius r: a point on an end disc.
Vector3 ClampRadial(const Vector3& w, float d, float r) { return d <= r ? w : w * (r / d); }

// A unit vector perpendicular to the unit axis u.
Vector3 Perpendicular(const Vector3& u) {
    const Vector3 helper = std::fabs(u.z) < 0.9f ? Vector3(0, 0, 1) : Vector3(1, 0, 0);
    return u.Cross(helper).Normalized();
}

// Circular segment cut from a circle of radius r by a chord at signed distance h from
// its centre.
float CircularSegmentArea(float r, float h) {
    const float cosine = std::clamp(h / r, -1.0f, 1.0f);
    return r * r * std::acos(cosine) - h * std::sqrt(std::max(r * r - h * h, 0.0f));
}

}  // namespace

float Line2::ProjectParam(const Vector2& p) const {
    const float lengthSquared = direction.LengthSquared();
    if (lengthSquared == 0.0f) {
        return 0.0f;
    }
    return direction.Dot(p - point) / lengthSquared;
}

int Line2::Side(const Vector2& p) const {
    const float cross = Cross2(direction, p - point);
    return (cross > 0.0f) - (cross < 0.0f);
}

int LineClosestApproach(const Ray& a, const Ray& b, float& ta, float& tb) {
    if (a.direction.IsNearZero() || b.direction.IsNearZero()) {
        return 1;
    }
    if (FloatNearZero(a.direction.Normalized().Cross(b.direction.Normalized()).LengthSquared())) {
        return 1;
    }
    const Vector3 r = a.origin - b.origin;
    const float aa = a.direction.Dot(a.direction);
    const float ab = a.direction.Dot(b.direction);
    const float bb = b.direction.Dot(b.direction);
    const float ar = a.direction.Dot(r);
    const float br = b.direction.Dot(r);
    const float denominator = aa * bb - ab * ab;
    ta = (ab * br - bb * ar) / denominator;
    tb = (aa * br - ab * ar) / denominator;
    return 0;
}

int IntersectLineSphere(const Ray& ray, const Sphere& sphere, float& t0, float& t1) {
    const Vector3 offset = ray.origin - sphere.centre;
    const float a = ray.direction.Dot(ray.direction);
    const float b = 2.0f * ray.direction.Dot(offset);
    const float c = offset.Dot(offset) - sphere.radius * sphere.radius;
    const float discriminant = b * b - 4.0f * a * c;
    if (discriminant < 0.0f || a == 0.0f) {
        return 0;
    }
    const float root = std::sqrt(discriminant);
    const float first = (-b - root) / (2.0f * a);
    const float second = (-b + root) / (2.0f * a);
    const bool firstNearer = std::fabs(first) <= std::fabs(second);
    t0 = firstNearer ? first : second;
    t1 = firstNearer ? second : first;
    return 3;
}

int IntersectRaySphere(const Ray& ray, const Sphere& sphere, float& t0, float& t1, int& side) {
    float r0 = 0.0f;
    float r1 = 0.0f;
    if (IntersectLineSphere(ray, sphere, r0, r1) == 0) {
        return 0;
    }
    const float lo = std::min(r0, r1);
    const float hi = std::max(r0, r1);
    if (hi < 0.0f) {
        return 0;
    }
    if (lo >= 0.0f) {
        side = 2;
        t0 = r0;
        t1 = r1;
        return 3;
    }
    side = 1;
    t0 = hi;
    t1 = lo;
    return 3;
}

int IntersectSegmentSphere(const Segment& segment, const Sphere& sphere, float& t0, float& t1, int& side) {
    float r0 = 0.0f;
    float r1 = 0.0f;
    if (IntersectLineSphere(segment.ToRay(), sphere, r0, r1) == 0) {
        return 0;
    }
    const float lo = std::min(r0, r1);
    const float hi = std::max(r0, r1);
    const bool loOnSegment = lo >= 0.0f && lo <= 1.0f;
    const bool hiOnSegment = hi >= 0.0f && hi <= 1.0f;
    if (!loOnSegment && !hiOnSegment) {
        return 0;
    }
    side = lo >= 0.0f ? 2 : 1;
    t0 = loOnSegment ? lo : hi;
    t1 = loOnSegment ? hi : lo;
    return 3;
}

float SegmentParam(const Vector3& start, const Vector3& end, const Vector3& p) {
    const Vector3 direction = end - start;
    const float lengthSquared = direction.LengthSquared();
    if (lengthSquared == 0.0f) {
        return 0.0f;
    }
    return Clamp01(direction.Dot(p - start) / lengthSquared);
}

float SegmentParam(const Vector2& start, const Vector2& end, const Vector2& p) {
    const Vector2 direction = end - start;
    const float lengthSquared = direction.LengthSquared();
    if (lengthSquared == 0.0f) {
        return 0.0f;
    }
    return Clamp01(direction.Dot(p - start) / lengthSquared);
}

float SegmentSegmentClosest(const Segment& a, const Segment& b, float& ta, float& tb) {
    const Vector3 d1 = a.Direction();
    const Vector3 d2 = b.Direction();
    const Vector3 r = a.start - b.start;
    const float aa = d1.Dot(d1);
    const float bb = d2.Dot(d2);
    const float f = d2.Dot(r);
    if (aa == 0.0f && bb == 0.0f) {
        ta = 0.0f;
        tb = 0.0f;
    } else if (aa == 0.0f) {
        ta = 0.0f;
        tb = Clamp01(f / bb);
    } else {
        const float c = d1.Dot(r);
        if (bb == 0.0f) {
            tb = 0.0f;
            ta = Clamp01(-c / aa);
        } else {
            const float ab = d1.Dot(d2);
            const float denominator = aa * bb - ab * ab;
            // Parallel segments: any point of a will do; start from its first end.
            ta = denominator > 0.0f ? Clamp01((ab * f - c * bb) / denominator) : 0.0f;
            tb = (ab * ta + f) / bb;
            if (tb < 0.0f) {
                tb = 0.0f;
                ta = Clamp01(-c / aa);
            } else if (tb > 1.0f) {
                tb = 1.0f;
                ta = Clamp01((ab - c) / aa);
            }
        }
    }
    return a.PointAt(ta).Distance(b.PointAt(tb));
}

float SegmentLineClosest(const Segment& s, const Ray& line, float& ts, float& tl) {
    const Vector3 d1 = s.Direction();
    const Vector3 d2 = line.direction;
    const Vector3 r = s.start - line.origin;
    const float aa = d1.Dot(d1);
    const float bb = d2.Dot(d2);
    if (bb == 0.0f) {
        tl = 0.0f;
        ts = SegmentParam(s.start, s.end, line.origin);
    } else if (aa == 0.0f) {
        ts = 0.0f;
        tl = line.ClosestParam(s.start);
    } else {
        // The distance is convex in ts, so clamping the free optimum to the segment
        // gives the constrained one.
        const float ab = d1.Dot(d2);
        const float c = d1.Dot(r);
        const float f = d2.Dot(r);
        const float denominator = aa * bb - ab * ab;
        ts = denominator > 0.0f ? Clamp01((ab * f - c * bb) / denominator) : 0.0f;
        tl = (ab * ts + f) / bb;
    }
    return s.PointAt(ts).Distance(line.PointAt(tl));
}

int CylindersIntersect(const Cylinder& a, const Cylinder& b) {
    float ta = 0.0f;
    float tb = 0.0f;
    const float distance = SegmentSegmentClosest({a.first, a.second}, {b.first, b.second}, ta, tb);
    return distance <= a.radius + b.radius ? 3 : 0;
}

int RayHitsCylinder(const Ray& ray, const Cylinder& cylinder, float& t) {
    float ts = 0.0f;
    float tl = 0.0f;
    if (SegmentLineClosest({cylinder.first, cylinder.second}, ray, ts, tl) > cylinder.radius) {
        return 0;
    }
    t = tl;
    return 3;
}

Vector3 NearestPointOnCylinder(const Cylinder& cylinder, const Vector3& p) {
    const Vector3 axis = cylinder.second - cylinder.first;
    const float length = axis.Length();
    // A flat cylinder stands upright, like every object that carries one.
    const Vector3 u = length > 0.0f ? axis / length : Vector3(0, 0, 1);
    const Vector3 relative = p - cylinder.first;
    const float t = relative.Dot(u);
    const Vector3 w = relative - u * t;
    const float d = w.Length();
    const float r = cylinder.radius;
    if (t < 0.0f) {
        return cylinder.first + ClampRadial(w, d, r);
    }
    if (t > length) {
        return cylinder.second + ClampRadial(w, d, r);
    }
    const Vector3 onAxis = cylinder.first + u * t;
    if (d > r) {
        return onAxis + w * (r / d);
    }
    // Inside: the nearest of the side wall and the two end discs.
    const float toSide = r - d;
    const float toFirst = t;
    const float toSecond = length - t;
    if (toSide <= toFirst && toSide <= toSecond) {
        const Vector3 outward = FloatNearZero(d) ? Perpendicular(u) : w / d;
        return onAxis + outward * r;
    }
    return toSecond <= toFirst ? cylinder.second + w : cylinder.first + w;
}

Vector3 NearestPointOnTriangle(const Triangle& triangle, const Vector3& p, Vector3* weights) {
    const Vector3 e0 = triangle.b - triangle.a;
    const Vector3 e1 = triangle.c - triangle.a;
    const Vector3 q = p - triangle.a;
    const float d00 = e0.Dot(e0);
    const float d01 = e0.Dot(e1);
    const float d11 = e1.Dot(e1);
    const float denominator = d00 * d11 - d01 * d01;
    Vector3 found;
    if (denominator != 0.0f) {
        // Weights of the projection of p on the plane, in the frame of the two edges.
        const float d20 = q.Dot(e0);
        const float d21 = q.Dot(e1);
        const float v = (d11 * d20 - d01 * d21) / denominator;
        const float w = (d00 * d21 - d01 * d20) / denominator;
        found = {1.0f - v - w, v, w};
    }
    if (denominator == 0.0f || SignTest(found) == 1) {
        // Outside: the nearest point of the three edges, each as weights of its ends.
        const Vector3* corners[3] = {&triangle.a, &triangle.b, &triangle.c};
        float best = kFloatMax;
        for (int edge = 0; edge < 3; ++edge) {
            const int next = (edge + 1) % 3;
            const float t = SegmentParam(*corners[edge], *corners[next], p);
            const float distance = p.DistanceSquared(*corners[edge] + (*corners[next] - *corners[edge]) * t);
            if (distance < best) {
                best = distance;
                float edgeWeights[3] = {0, 0, 0};
                edgeWeights[edge] = 1.0f - t;
                edgeWeights[next] = t;
                found = {edgeWeights[0], edgeWeights[1], edgeWeights[2]};
            }
        }
    }
    if (weights != nullptr) {
        *weights = found;
    }
    return triangle.a * found.x + triangle.b * found.y + triangle.c * found.z;
}

int SegmentsCross2D(const Vector2& a0, const Vector2& a1, const Vector2& b0, const Vector2& b1, float& ta, float& tb) {
    const Vector2 r = a1 - a0;
    const Vector2 s = b1 - b0;
    const float denominator = Cross2(r, s);
    if (FloatNearZero(denominator)) {
        return 0;
    }
    const Vector2 q = b0 - a0;
    ta = Cross2(q, s) / denominator;
    tb = Cross2(q, r) / denominator;
    return ta >= 0.0f && ta <= 1.0f && tb >= 0.0f && tb <= 1.0f ? 3 : 0;
}

float CircleOverlapArea(const Vector3& a, const Vector3& b) {
    const float d = Vector2(a.x, a.y).Distance(Vector2(b.x, b.y));
    if (d >= a.z + b.z) {
        return 0.0f;
    }
    if (d <= std::fabs(a.z - b.z)) {
        const float smaller = std::min(a.z, b.z);
        return kPi * smaller * smaller;
    }
    // The common chord lies at distance h from a's centre and d - h from b's.
    const float h = (d * d + a.z * a.z - b.z * b.z) / (2.0f * d);
    return CircularSegmentArea(a.z, h) + CircularSegmentArea(b.z, d - h);
}

Vector3 Barycentric2D(const Vector2& p, const Vector2& a, const Vector2& b, const Vector2& c) {
    const float area = Cross2(b - a, c - a);
    if (area == 0.0f) {
        return {};
    }
    return {Cross2(b - p, c - p) / area, Cross2(c - p, a - p) / area, Cross2(a - p, b - p) / area};
}

int SignTest(const Vector3& weights) {
    if (weights.x < 0.0f || weights.y < 0.0f || weights.z < 0.0f) {
        return 1;
    }
    if (weights.x <= Tolerance || weights.y <= Tolerance || weights.z <= Tolerance) {
        return 0;
    }
    return -1;
}

Vector3 BoundingCircle(std::span<const Vector2> points) {
    if (points.empty()) {
        return {0, 0, -1};
    }
    // The wider of the extreme pairs along x and y, then grown point by point.
    const Vector2* lo[2] = {&points[0], &points[0]};
    const Vector2* hi[2] = {&points[0], &points[0]};
    for (const Vector2& p : points) {
        lo[0] = p.x < lo[0]->x ? &p : lo[0];
        hi[0] = p.x > hi[0]->x ? &p : hi[0];
        lo[1] = p.y < lo[1]->y ? &p : lo[1];
        hi[1] = p.y > hi[1]->y ? &p : hi[1];
    }
    const int pair = lo[1]->DistanceSquared(*hi[1]) > lo[0]->DistanceSquared(*hi[0]) ? 1 : 0;
    Vector2 centre = (*lo[pair] + *hi[pair]) * 0.5f;
    float radius = lo[pair]->Distance(*hi[pair]) * 0.5f;
    for (const Vector2& p : points) {
        const float d = centre.Distance(p);
        if (d > radius) {
            const float grown = (d + radius) / 2.0f;
            centre = (centre * grown + p * (d - grown)).DivideBy(d);
            radius = grown;
        }
    }
    return {centre.x, centre.y, radius};
}
