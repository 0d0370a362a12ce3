#pragma once
// One view of the scene: a perspective or orthographic projection, an eye with a viewing
// direction and an up hint, a viewport on the render target, user clip planes and the six
// frustum planes. Matrices, axes and planes are rebuilt lazily behind change flags.
//
// Matrices are in the core's row-vector convention (a point is the row (x, y, z, 1) times
// the matrix) and the projections are the right-handed fixed-function forms with depth 0
// at the near plane and 1 at the far plane; the graphics device converts depth for GL.
#include <cstdint>

#include "core/Array.h"
#include "core/IntRect.h"
#include "core/Matrix4.h"
#include "core/Plane.h"
#include "core/Point.h"
#include "core/Ray.h"
#include "core/Sphere.h"
#include "core/Vector2.h"
#include "core/Vector3.h"

class Camera {
public:
    static constexpr int32_t kOrthographic = 0;
    static constexpr int32_t kPerspective = 1;
    static constexpr int kMaxClipPlanes = 32;
    // A perspective near plane closer than this would divide by zero (far / near, the
    // field of view, the renderer's pixel scale).
    static constexpr float kMinPerspectiveNear = 0.0001f;

    Camera() = default;

    void SetPosition(const Vector3& position);
    void SetDirection(const Vector3& direction);
    void SetUp(const Vector3& up);
    // view width = view height x ratio.
    void SetAspect(float ratio);
    // Vertical angle in radians; the width-to-height ratio of the view stays.
    void SetFieldOfView(float angle);
    // An orthographic pixel view of the rectangle with y growing downward; the viewport
    // becomes the rectangle when setViewport is true.
    void SetScreenView(const IntRect& rect, bool setViewport);
    void SetScreenViewSize(const Point& size, bool setViewport);

    // Ignored once kMaxClipPlanes are present.
    void AddClipPlane(const Plane& plane);
    void ClearClipPlanes();

    // Each rebuilds only when its change flag is set.
    void UpdateProjection();
    void UpdateView();
    void UpdateViewProjection();
    void UpdateInverse();
    void UpdateFrustum();

    // right = normalise(up x back), up' = back x right, back = normalise(-direction).
    void GetAxes(Vector3& right, Vector3& upAxis, Vector3& back);
    // The near distance the projection uses: a perspective camera's is at least
    // kMinPerspectiveNear.
    float EffectiveNear() const;

    // World point to (screen x, screen y, depth 0..1) through the stored viewport.
    Vector3 Project(const Vector3& world);
    // (screen x, screen y, depth 0 near .. 1 far) to a world point.
    Vector3 Unproject(const Vector3& screen);
    Ray GetPickRay(const Vector2& screen);
    // -1 wholly inside the frustum, 0 crossing it, 1 wholly outside.
    int TestSphere(const Sphere& sphere);

    Vector2 NdcToScreen(float x, float y) const;
    Vector2 ScreenToNdc(float x, float y) const;
    // out_j = sum_i v_i m[4i + j].
    static void TransformVector4(const float v[4], const Matrix4& m, float out[4]);

    // Callers that write the fields below directly set the matching flags themselves.
    int32_t kind = kPerspective;
    Vector3 eye;
    Vector3 direction{0.0f, 0.0f, 1.0f};  // into the scene; need not be unit length
    Vector3 up{0.0f, -1.0f, 0.0f};
    float nearPlane = 1.0f;
    float farPlane = 10.0f;
    // Across the near plane (perspective) or the whole box (orthographic).
    float viewWidth = 1.0f;
    float viewHeight = 1.0f;
    // Inclusive pixel bounds; (-1, -1, -1, -1) until set.
    IntRect viewport{-1, -1, -1, -1};
    float depthMin = 0.0f;
    float depthMax = 1.0f;
    uint32_t clipPlaneMask = 0;
    Array<Plane> clipPlanes{4};
    Array<Plane> frustumPlanes{6};  // near, far, left, right, bottom, top; normals inward

    bool projectionChanged = true;
    bool viewChanged = true;
    bool viewProjectionChanged = true;
    bool inverseChanged = true;
    bool frustumChanged = true;
    bool axesChanged = true;

    Matrix4 projection;
    Matrix4 view;
    Matrix4 viewProjection;  // view x projection
    Matrix4 inverseViewProjection;

    Vector3 rightAxis;
    Vector3 upAxis;
    Vector3 backAxis;
};

// The program's one 2-D camera: a pixel view of the whole screen (Camera::SetScreenView),
// sized at start-up and applied before every 2-D drawing step.
Camera& GetScreenCamera();
