#include "world/CollisionShape.h"

#include <cmath>

#include "core/Geometry.h"
#include "core/MathUtil.h"
#include "core/Matrix4.h"
#include "core/Segment.h"
#include "core/String.h"
#include "engine/ActorSet.h"
#include "engine/ModelNode.h"
#include "engine/Renderer.h"
#include "engine/RendererRef.h"
#include "world/Arena.h"

namespace {

bool SegmentIsPoint(const Vector3& direction) { return direction.Length() <= Tolerance; }

// The push direction (scaled by R) when the two centres coincide. Along a segment the
// ground-plane perpendicular keeps the push horizontal; a vertical or point-like
// segment pushes along +X.
Vector3 FallbackPush(const Vector3& segmentDirection, float r) {
    if (SegmentIsPoint(segmentDirection)) {
        return Vector3(r, 0, 0);
    }
    const Vector3 across = Vector3(0, 0, 1).Cross(segmentDirection);
    if (across.IsNearZero()) {
        return Vector3(r, 0, 0);
    }
    return across.Normalized() * r;
}

// Stop and contact of a sphere against a point q of B with B's radius bRadius, once the
// push n (from the moving centre to q) is settled.
void FillPush(const Vector3& q, const Vector3& n, float r, float bRadius, ContactRecord& contact) {
    const Vector3 u = n.Normalized();
    contact.stopPosition = q - u * (r + kContactClearance);
    contact.contactPoint = q - n * (bRadius / r);
}

// A sum of radii this small cannot scale a contact point: the touching point is B's
// centre and the mover stays where it is.
bool FillDegenerate(float r, const Vector3& reference, const Vector3& otherCentre, ContactRecord* contact) {
    if (r > Tolerance) {
        return false;
    }
    if (contact != nullptr) {
        contact->stopPosition = reference;
        contact->contactPoint = otherCentre;
    }
    return true;
}

// The first parameter in 0..1 at which the segment's point lies at distance r from the
// infinite line through b's axis with its foot on b's segment; -1 when there is none.
// Like the sphere test, a segment that starts inside counts its way out.
float FirstBodyCrossing(const Segment& a, const Segment& b, float r) {
    const Vector3 axis = b.Direction();
    const float axisLengthSquared = axis.LengthSquared();
    if (axisLengthSquared == 0.0f) {
        return -1.0f;
    }
    const Vector3 d = a.Direction();
    const Vector3 w = a.start - b.start;
    // Components perpendicular to b's axis.
    const Vector3 dPerp = d - axis * (d.Dot(axis) / axisLengthSquared);
    const Vector3 wPerp = w - axis * (w.Dot(axis) / axisLengthSquared);
    const float qa = dPerp.LengthSquared();
    if (qa == 0.0f) {
        return -1.0f;
    }
    const float qb = 2.0f * dPerp.Dot(wPerp);
    const float qc = wPerp.LengthSquared() - r * r;
    const float discriminant = qb * qb - 4.0f * qa * qc;
    if (discriminant < 0.0f) {
        return -1.0f;
    }
    const float root = std::sqrt(discriminant);
    const float roots[2] = {(-qb - root) / (2.0f * qa), (-qb + root) / (2.0f * qa)};
    for (float t : roots) {
        if (t < 0.0f || t > 1.0f) {
            continue;
        }
        const float foot = (a.PointAt(t) - b.start).Dot(axis) / axisLengthSquared;
        if (foot >= 0.0f && foot <= 1.0f) {
            return t;
        }
    }
    return -1.0f;
}

// The first parameter in 0..1 at which the segment reaches the sphere's surface, -1
// when it never does.
float FirstSphereCrossing(const Segment& a, const Vector3& centre, float r) {
    float t0 = 0.0f;
    float t1 = 0.0f;
    int side = 0;
    if (IntersectSegmentSphere(a, Sphere(centre, r), t0, t1, side) != 3) {
        return -1.0f;
    }
    return t0;
}

Sphere SweptSphere(const Cylinder& c) {
    const Vector3 axis = c.second - c.first;
    return Sphere((c.first + c.second) * 0.5f, c.radius + axis.Length() * 0.5f);
}

// A model of the debug view: the first tree of the actor file, or none when it cannot
// be loaded (then nothing is drawn).
ModelNode* LoadDebugModel(const char* name, float scale) {
    Array<ActorSetEntry> entries;
    return GetRenderer().LoadActorSet(String("Actors\\") + name + ".AN8", entries, scale, false, ModelLoadSettings(),
                                      true, true);
}

// The rotation that turns the Z axis onto the unit direction u, as the rows of a
// row-vector matrix scaled by (sx, sy, sz).
Matrix4 TurnZOnto(const Vector3& u, float sx, float sy, float sz) {
    const Vector3 z(0, 0, 1);
    Vector3 x(1, 0, 0);
    Vector3 y(0, 1, 0);
    if (u.z < -1.0f + Tolerance) {
        // Straight down: half a turn about X.
        y = Vector3(0, -1, 0);
    } else {
        const Vector3 v = z.Cross(u);
        const float k = 1.0f / (1.0f + u.z);
        x = x + v.Cross(x) + v.Cross(v.Cross(x)) * k;
        y = y + v.Cross(y) + v.Cross(v.Cross(y)) * k;
    }
    Matrix4 m;
    const Vector3 rows[3] = {x * sx, y * sy, u * sz};
    for (int r = 0; r < 3; ++r) {
        m[4 * r] = rows[r].x;
        m[4 * r + 1] = rows[r].y;
        m[4 * r + 2] = rows[r].z;
    }
    return m;
}

Sphere AsSphere(const CollisionShape& s) { return Sphere(s.sphereCentre, s.sphereRadius); }

Cylinder AsCylinder(const CollisionShape& s) { return Cylinder{s.cylinderFirst, s.cylinderSecond, s.cylinderRadius}; }

// The four pair tests; a is the moving shape.
bool SphereHitsSphere(const Sphere& a, const Sphere& b, ContactRecord* contact);
bool SphereHitsCylinder(const Sphere& a, const Cylinder& b, ContactRecord* contact);
bool CylinderHitsSphere(const Cylinder& a, const Sphere& b, ContactRecord* contact);
bool CylinderHitsCylinder(const Cylinder& a, const Cylinder& b, ContactRecord* contact);

}  // namespace

void CollisionShape::SetSphere(const Vector3& centre, float radius) {
    kind = kSphere;
    sphereCentre = centre;
    sphereRadius = radius;
}

void CollisionShape::SetCylinder(const Vector3& first, const Vector3& second, float radius) {
    kind = kCylinder;
    cylinderFirst = first;
    cylinderSecond = second;
    cylinderRadius = radius;
}

void CollisionShape::SetRadius(float radius) {
    if (kind == kSphere) {
        sphereRadius = radius;
    } else if (kind == kCylinder) {
        cylinderRadius = radius;
    }
}

CollisionShape::Part CollisionShape::Geometry() const {
    if (kind == kSphere) {
        return {sphereCentre, sphereCentre, sphereRadius};
    }
    return {cylinderFirst, cylinderSecond, cylinderRadius};
}

void CollisionShape::MoveTo(const Vector3& point) {
    if (kind == kSphere) {
        sphereCentre = point;
    } else if (kind == kCylinder) {
        cylinderSecond = point + (cylinderSecond - cylinderFirst);
        cylinderFirst = point;
    }
}

Vector3 CollisionShape::ClosestPointTo(const Vector3& point) const {
    if (kind == kSphere) {
        return sphereCentre;
    }
    if (kind == kCylinder) {
        return Segment(cylinderFirst, cylinderSecond).ClosestPoint(point);
    }
    return Vector3();
}

void CollisionShape::WrapNear(const Vector3& reference) {
    if (gArena == nullptr) {
        return;
    }
    const float width = gArena->WorldWidth();
    const float height = gArena->WorldHeight();
    if (kind == kSphere) {
        sphereCentre = gArena->NearestImageIn(reference, sphereCentre, width, height);
    } else if (kind == kCylinder) {
        cylinderFirst = gArena->NearestImageIn(reference, cylinderFirst, width, height);
        cylinderSecond = gArena->NearestImageIn(reference, cylinderSecond, width, height);
    }
}

void CollisionShape::WrapIntoArena() {
    if (gArena == nullptr) {
        return;
    }
    if (kind == kSphere) {
        sphereCentre = gArena->WrapPosition(sphereCentre);
    } else if (kind == kCylinder) {
        cylinderFirst = gArena->WrapPosition(cylinderFirst);
        cylinderSecond = gArena->WrapPosition(cylinderSecond);
    }
}

bool CollisionShape::Intersects(const CollisionShape& other, ContactRecord* contact) const {
    if (kind == kSphere && other.kind == kSphere) {
        return SphereHitsSphere(AsSphere(*this), AsSphere(other), contact);
    }
    if (kind == kSphere && other.kind == kCylinder) {
        return SphereHitsCylinder(AsSphere(*this), AsCylinder(other), contact);
    }
    if (kind == kCylinder && other.kind == kSphere) {
        return CylinderHitsSphere(AsCylinder(*this), AsSphere(other), contact);
    }
    if (kind == kCylinder && other.kind == kCylinder) {
        return CylinderHitsCylinder(AsCylinder(*this), AsCylinder(other), contact);
    }
    return false;
}

bool CollisionShape::HitByRay(const Ray& ray, Vector3& point) const {
    float t = 0.0f;
    if (kind == kSphere) {
        float t1 = 0.0f;
        int side = 0;
        if (IntersectRaySphere(ray, AsSphere(*this), t, t1, side) != 3) {
            return false;
        }
    } else if (kind == kCylinder) {
        if (RayHitsCylinder(ray, AsCylinder(*this), t) != 3) {
            return false;
        }
    } else {
        return false;
    }
    point = ray.PointAt(t);
    return true;
}

namespace {

bool SphereHitsSphere(const Sphere& a, const Sphere& b, ContactRecord* contact) {
    if (Sphere::Overlaps(a, b) != 3) {
        return false;
    }
    const float r = a.radius + b.radius;
    if (contact == nullptr || FillDegenerate(r, a.centre, b.centre, contact)) {
        return true;
    }
    Vector3 n = b.centre - a.centre;
    if (n.IsNearZero()) {
        n = Vector3(r, 0, 0);
    }
    FillPush(b.centre, n, r, b.radius, *contact);
    return true;
}

bool SphereHitsCylinder(const Sphere& a, const Cylinder& b, ContactRecord* contact) {
    const Segment axis(b.first, b.second);
    const Vector3 q = axis.ClosestPoint(a.centre);
    const float r = a.radius + b.radius;
    if (q.DistanceSquared(a.centre) > r * r) {
        return false;
    }
    const Vector3 bCentre = (b.first + b.second) * 0.5f;
    if (contact == nullptr || FillDegenerate(r, a.centre, bCentre, contact)) {
        return true;
    }
    Vector3 n = q - a.centre;
    if (n.IsNearZero()) {
        n = FallbackPush(axis.Direction(), r);
    }
    FillPush(q, n, r, b.radius, *contact);
    return true;
}

bool CylinderHitsSphere(const Cylinder& a, const Sphere& b, ContactRecord* contact) {
    const Segment path(a.first, a.second);
    if (SegmentIsPoint(path.Direction())) {
        return SphereHitsSphere(SweptSphere(a), b, contact);
    }
    const float r = a.radius + b.radius;
    if (path.ClosestPoint(b.centre).DistanceSquared(b.centre) > r * r) {
        return SphereHitsSphere(Sphere(a.second, a.radius), b, contact) ||
               SphereHitsSphere(Sphere(a.first, a.radius), b, contact);
    }
    if (contact == nullptr || FillDegenerate(r, a.first, b.centre, contact)) {
        return true;
    }
    float t = FirstSphereCrossing(path, b.centre, r);
    if (t < 0.0f) {
        t = 1.0f;
    }
    contact->stopPosition = path.PointPulledBack(t);
    contact->contactPoint = contact->stopPosition + (b.centre - contact->stopPosition) * (a.radius / r);
    return true;
}

bool CylinderHitsCylinder(const Cylinder& a, const Cylinder& b, ContactRecord* contact) {
    const Segment path(a.first, a.second);
    if (SegmentIsPoint(path.Direction())) {
        return SphereHitsCylinder(SweptSphere(a), b, contact);
    }
    const Segment axis(b.first, b.second);
    const float r = a.radius + b.radius;
    float ta = 0.0f;
    float tb = 0.0f;
    if (SegmentSegmentClosest(path, axis, ta, tb) > r) {
        return SphereHitsCylinder(Sphere(b.second, b.radius), a, contact) ||
               SphereHitsCylinder(Sphere(b.first, b.radius), a, contact);
    }
    if (contact == nullptr || FillDegenerate(r, a.first, (b.first + b.second) * 0.5f, contact)) {
        return true;
    }
    // Stop candidates along the path against B widened by A's radius: its body, its
    // first end, its second end. The one nearest the path's start wins; on equal
    // parameters the earlier candidate.
    const float candidates[3] = {FirstBodyCrossing(path, axis, r), FirstSphereCrossing(path, b.first, r),
                                 FirstSphereCrossing(path, b.second, r)};
    int winner = -1;
    for (int k = 0; k < 3; ++k) {
        if (candidates[k] >= 0.0f && (winner < 0 || candidates[k] < candidates[winner])) {
            winner = k;
        }
    }
    const float t = winner < 0 ? 1.0f : candidates[winner];
    const Vector3 stop = path.PointPulledBack(t);
    Vector3 touched = axis.ClosestPoint(stop);
    if (winner == 1) {
        touched = b.first;
    } else if (winner == 2) {
        touched = b.second;
    }
    contact->stopPosition = stop;
    contact->contactPoint = stop + (touched - stop) * (a.radius / r);
    return true;
}

}  // namespace

// The shape models carry no materials of their own: they are drawn in the renderer's
// default material, which takes the shape's colour at half opacity for the draw.
void CollisionShape::DrawDebug(Color colour, const Vector3& offset) const {
    static RendererRef<ModelNode> sphereModel;
    static RendererRef<ModelNode> cylinderModel;
    if (sphereModel == nullptr) sphereModel = LoadDebugModel("CollisionSphere", 0.02f);
    if (cylinderModel == nullptr) cylinderModel = LoadDebugModel("CollisionCylinder", 1.0f);
    ModelNode* model = kind == kSphere ? sphereModel : kind == kCylinder ? cylinderModel : nullptr;
    if (model == nullptr) {
        return;
    }
    Renderer& renderer = GetRenderer();
    renderer.SetAlphaBlend();
    Matrix4 world;
    if (kind == kSphere) {
        world.SetScale(sphereRadius);
        world.Translate(sphereCentre + offset);
    } else {
        const Vector3 axis = cylinderSecond - cylinderFirst;
        const float length = axis.Length();
        const Vector3 u = length > Tolerance ? axis / length : Vector3(0, 0, 1);
        world = TurnZOnto(u, cylinderRadius, cylinderRadius, length);
        world.Translate(cylinderFirst + offset);
    }
    renderer.SetWorldTransform(world);
    Material& standIn = renderer.GetDefaultMaterial();
    const Material saved = standIn;
    const auto rgba = colour.ToFloats();
    const gfx::ColorValue translucent{rgba[0], rgba[1], rgba[2], 128.0f / 255.0f};
    standIn.diffuse = translucent;
    standIn.ambient = translucent;
    renderer.RenderModel(model, true, true);
    standIn = saved;
}
