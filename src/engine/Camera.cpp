#include "engine/Camera.h"

#include <algorithm>
#include <cmath>

#include "core/MathUtil.h"
#include "core/Triangle.h"

namespace {

// Parallel or zero inputs give a zero axis rather than NaN, which would poison every
// matrix built from it.
Vector3 NormalizedOrZero(const Vector3& v) {
    const float length = v.Length();
    return length > 0.0f ? v / length : Vector3();
}

float RowLength(const Matrix4& m, int row) {
    const float* r = &m.m[4 * row];
    return std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2] + r[3] * r[3]);
}

// Matrix4Invert's singular test is absolute, and the view-projection of a pixel view of
// a large screen has a determinant near 0.000005: it would come back as the zero matrix.
// The inverse of a copy scaled to rows of about unit length, scaled back, has none of that.
Matrix4 InvertScaleFree(const Matrix4& m) {
    const float product = RowLength(m, 0) * RowLength(m, 1) * RowLength(m, 2) * RowLength(m, 3);
    if (!(product > 0.0f) || !std::isfinite(product)) return Matrix4::Zero();
    const float s = 1.0f / std::sqrt(std::sqrt(product));
    Matrix4 scaled;
    for (int i = 0; i < 16; ++i) scaled.m[i] = m.m[i] * s;
    Matrix4 inverse = Matrix4Invert(scaled);
    for (float& element : inverse.m) element *= s;
    return inverse;
}

// A viewport side of at least one pixel, so an unset or inverted viewport cannot divide
// by zero.
float Extent(int32_t low, int32_t high) { return float(std::max(high - low + 1, 1)); }

Plane PlaneThrough(const Vector3& normal, const Vector3& point) { return Plane::FromNormalAndPoint(normal, point); }

}  // namespace

void Camera::SetPosition(const Vector3& position) {
    eye = position;
    viewChanged = true;
    frustumChanged = true;
}

void Camera::SetDirection(const Vector3& viewDirection) {
    direction = viewDirection;
    viewChanged = true;
    frustumChanged = true;
    axesChanged = true;
}

void Camera::SetUp(const Vector3& upHint) {
    up = upHint;
    viewChanged = true;
    frustumChanged = true;
    axesChanged = true;
}

void Camera::SetAspect(float ratio) {
    viewWidth = viewHeight * ratio;
    projectionChanged = true;
    frustumChanged = true;
}

void Camera::SetFieldOfView(float angle) {
    const float ratio = viewHeight != 0.0f ? viewWidth / viewHeight : 1.0f;
    const float n = EffectiveNear();
    viewHeight = std::tan(angle * 0.5f) * (n + n);
    viewWidth = viewHeight * ratio;
    projectionChanged = true;
    frustumChanged = true;
}

void Camera::SetScreenView(const IntRect& rect, bool setViewport) {
    const float width = float(rect.right - rect.left + 1);
    const float height = float(rect.bottom - rect.top + 1);
    kind = kOrthographic;
    eye = Vector3(width * 0.5f + float(rect.left), height * 0.5f + float(rect.top), 0.0f);
    direction = Vector3(0.0f, 0.0f, 1.0f);
    // Up along -y makes screen y grow downward.
    up = Vector3(0.0f, -1.0f, 0.0f);
    nearPlane = 0.0f;
    farPlane = 1.0f;
    viewWidth = width;
    viewHeight = height;
    if (setViewport) viewport = rect;
    projectionChanged = true;
    viewChanged = true;
    frustumChanged = true;
    axesChanged = true;
}

void Camera::SetScreenViewSize(const Point& size, bool setViewport) {
    SetScreenView(IntRect(0, 0, size.x - 1, size.y - 1), setViewport);
}

void Camera::AddClipPlane(const Plane& plane) {
    if (clipPlanes.Count() >= kMaxClipPlanes) return;
    clipPlaneMask |= 1u << clipPlanes.Count();
    clipPlanes.Append(plane);
}

void Camera::ClearClipPlanes() {
    clipPlaneMask = 0;
    clipPlanes.Clear();
}

float Camera::EffectiveNear() const {
    return kind == kPerspective ? std::max(nearPlane, kMinPerspectiveNear) : nearPlane;
}

void Camera::UpdateProjection() {
    if (!projectionChanged) return;
    const float n = EffectiveNear();
    const float f = farPlane;
    projection = Matrix4::Zero();
    if (kind == kPerspective) {
        projection.m[0] = 2.0f * n / viewWidth;
        projection.m[5] = 2.0f * n / viewHeight;
        projection.m[10] = f / (n - f);
        projection.m[11] = -1.0f;
        projection.m[14] = n * f / (n - f);
    } else {
        projection.m[0] = 2.0f / viewWidth;
        projection.m[5] = 2.0f / viewHeight;
        projection.m[10] = 1.0f / (n - f);
        projection.m[14] = n / (n - f);
        projection.m[15] = 1.0f;
    }
    projectionChanged = false;
    viewProjectionChanged = true;
    inverseChanged = true;
}

void Camera::UpdateView() {
    if (!viewChanged) return;
    Vector3 r;
    Vector3 u;
    Vector3 b;
    GetAxes(r, u, b);
    view = Matrix4();
    view.m[0] = r.x;
    view.m[1] = u.x;
    view.m[2] = b.x;
    view.m[4] = r.y;
    view.m[5] = u.y;
    view.m[6] = b.y;
    view.m[8] = r.z;
    view.m[9] = u.z;
    view.m[10] = b.z;
    view.m[12] = -r.Dot(eye);
    view.m[13] = -u.Dot(eye);
    view.m[14] = -b.Dot(eye);
    viewChanged = false;
    viewProjectionChanged = true;
    inverseChanged = true;
}

void Camera::UpdateViewProjection() {
    UpdateProjection();
    UpdateView();
    if (!viewProjectionChanged) return;
    viewProjection = Matrix4::Multiply(view, projection);
    viewProjectionChanged = false;
    inverseChanged = true;
}

void Camera::UpdateInverse() {
    UpdateViewProjection();
    if (!inverseChanged) return;
    inverseViewProjection = InvertScaleFree(viewProjection);
    inverseChanged = false;
}

void Camera::GetAxes(Vector3& right, Vector3& upOut, Vector3& back) {
    if (axesChanged) {
        backAxis = NormalizedOrZero(-direction);
        rightAxis = NormalizedOrZero(up.Cross(backAxis));
        upAxis = backAxis.Cross(rightAxis);
        axesChanged = false;
    }
    right = rightAxis;
    upOut = upAxis;
    back = backAxis;
}

void Camera::TransformVector4(const float v[4], const Matrix4& m, float out[4]) {
    for (int j = 0; j < 4; ++j) {
        out[j] = v[0] * m.m[j] + v[1] * m.m[4 + j] + v[2] * m.m[8 + j] + v[3] * m.m[12 + j];
    }
}

Vector2 Camera::NdcToScreen(float x, float y) const {
    return {(x + 1.0f) * 0.5f * Extent(viewport.left, viewport.right) + float(viewport.left),
            0.5f * (1.0f - y) * Extent(viewport.top, viewport.bottom) + float(viewport.top)};
}

Vector2 Camera::ScreenToNdc(float x, float y) const {
    return {2.0f * (x - float(viewport.left)) / Extent(viewport.left, viewport.right) - 1.0f,
            2.0f * (1.0f - (y - float(viewport.top)) / Extent(viewport.top, viewport.bottom)) - 1.0f};
}

Vector3 Camera::Project(const Vector3& world) {
    UpdateViewProjection();
    const float in[4] = {world.x, world.y, world.z, 1.0f};
    float out[4];
    TransformVector4(in, viewProjection, out);
    const Vector2 screen = NdcToScreen(out[0] / out[3], out[1] / out[3]);
    return {screen.x, screen.y, out[2] / out[3]};
}

Vector3 Camera::Unproject(const Vector3& screen) {
    UpdateInverse();
    const Vector2 ndc = ScreenToNdc(screen.x, screen.y);
    const float in[4] = {ndc.x, ndc.y, screen.z, 1.0f};
    float out[4];
    TransformVector4(in, inverseViewProjection, out);
    if (kind != kPerspective) return {out[0], out[1], out[2]};
    return {out[0] / out[3], out[1] / out[3], out[2] / out[3]};
}

Ray Camera::GetPickRay(const Vector2& screen) {
    const Vector3 onNear = Unproject({screen.x, screen.y, 0.0f});
    if (kind == kPerspective) return Ray(eye, NormalizedOrZero(onNear - eye));
    // An orthographic ray starts on the plane of the eye, so that what lies between the
    // eye and the near plane can be picked too.
    const Vector3 normal = NormalizedOrZero(direction);
    const Plane eyePlane(normal, -normal.Dot(eye));
    const Ray along(onNear, direction);
    float t = 0.0f;
    const Vector3 origin = along.IntersectPlane(eyePlane, t) == 3 ? along.PointAt(t) : onNear;
    return Ray(origin, direction);
}

void Camera::UpdateFrustum() {
    if (!frustumChanged) return;
    Vector3 right;
    Vector3 upward;
    Vector3 back;
    GetAxes(right, upward, back);
    const Vector3 forward = -back;
    const float n = EffectiveNear();
    const Vector3 nearCentre = eye + forward * n;
    const Vector3 farCentre = eye + forward * farPlane;
    const float nearHalfWidth = viewWidth * 0.5f;
    const float nearHalfHeight = viewHeight * 0.5f;
    const float spread = kind == kPerspective ? farPlane / n : 1.0f;
    const float farHalfWidth = nearHalfWidth * spread;
    const float farHalfHeight = nearHalfHeight * spread;
    // Corners (-x, -y), (+x, -y), (+x, +y), (-x, +y) of the near and the far rectangle.
    Vector3 nearCorner[4];
    Vector3 farCorner[4];
    const float sx[4] = {-1.0f, 1.0f, 1.0f, -1.0f};
    const float sy[4] = {-1.0f, -1.0f, 1.0f, 1.0f};
    for (int i = 0; i < 4; ++i) {
        nearCorner[i] = nearCentre + right * (sx[i] * nearHalfWidth) + upward * (sy[i] * nearHalfHeight);
        farCorner[i] = farCentre + right * (sx[i] * farHalfWidth) + upward * (sy[i] * farHalfHeight);
    }
    // Each side through three corners, normal pointing into the volume: the corners are
    // handed over as (a, c, b) because TriangleNormal winds the other way.
    const auto side = [](const Vector3& a, const Vector3& b, const Vector3& c) {
        return PlaneThrough(TriangleNormal(a, c, b), a);
    };
    frustumPlanes.Clear();
    frustumPlanes.Append(PlaneThrough(forward, nearCentre));
    frustumPlanes.Append(PlaneThrough(back, farCentre));
    frustumPlanes.Append(side(nearCorner[0], farCorner[3], farCorner[0]));
    frustumPlanes.Append(side(nearCorner[1], farCorner[1], farCorner[2]));
    frustumPlanes.Append(side(nearCorner[0], farCorner[0], farCorner[1]));
    frustumPlanes.Append(side(nearCorner[3], farCorner[2], farCorner[3]));
    frustumChanged = false;
}

int Camera::TestSphere(const Sphere& sphere) {
    UpdateFrustum();
    int result = -1;
    for (const Plane& plane : frustumPlanes) {
        const int side = plane.ClassifySphere(sphere);
        if (side == 1) return 1;
        if (side == 0) result = 0;
    }
    return result;
}

Camera& GetScreenCamera() {
    static Camera screen;
    return screen;
}
