// A pattern drawn small into a screen rectangle.
#include "battlefield/PatternThumbnail.h"

#include <numbers>

#include "engine/Renderer.h"
#include "ui/UiServices.h"
#include "units/Pattern.h"

namespace {
constexpr uint32_t kClearTarget = 1;
constexpr uint32_t kClearDepth = 2;
}  // namespace

PatternThumbnail::PatternThumbnail() {
    camera.kind = Camera::kPerspective;
    camera.nearPlane = 0.1f;
    camera.farPlane = 1000.0f;
    camera.SetFieldOfView(std::numbers::pi_v<float> / 4.0f);
    camera.SetAspect(1.0f);
    camera.SetPosition(Vector3(0.0f, 0.0f, kEyeHeight));
    camera.SetDirection(Vector3(0.0f, 0.0f, -1.0f));
    camera.SetUp(Vector3(1.0f, 0.0f, 0.0f));
}

void PatternThumbnail::Draw(const Pattern& pattern, const IntRect& rect, Color clearColour) {
    Renderer& renderer = GetRenderer();
    camera.SetPosition(Vector3(0.0f, 0.0f, kEyeHeight));
    camera.viewport = rect;
    camera.projectionChanged = true;
    renderer.SetCamera(camera);
    const uint32_t flags = clearColour.Alpha() != 0 ? kClearTarget | kClearDepth : kClearDepth;
    renderer.ClearViewport(clearColour, 1.0f, flags);
    renderer.SetWorldTransform(Matrix4());
    // The diagram is drawn in its own colours, whatever light the scene left on.
    renderer.DisableLighting();
    pattern.Draw(kZoom, PatternDrawParts());
    UseScreenCamera();
}
