// The battlefield window's drawing: the camera's frame step, the arena, the paint
// brush's markers, the selection circle, the frame meter and the pointer's coordinates.
#include <algorithm>
#include <cmath>

#include "battlefield/ArenaWindow.h"
#include "battlefield/PaintTray.h"
#include "battlefield/VornWindow.h"
#include "core/Geometry.h"
#include "core/Plane.h"
#include "core/Ray.h"
#include "core/TextTable.h"
#include "engine/AssetPaths.h"
#include "engine/Camera.h"
#include "engine/ModelNode.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "game/Game.h"
#include "platform/window/Keys.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "units/Vorn.h"
#include "world/Arena.h"

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr float kMarkerLift = 0.25f;
constexpr float kListenerZoomScale = 17.5f;
constexpr float kFrameMeterText = 1.0f;
constexpr float kCoordinateTextScale = 0.65f;
constexpr int32_t kFramesPerMeterUpdate = 9;

Vector2 GroundHeading(const WindowCamera& camera) {
    const Vector3 heading = camera.motionMode == WindowCamera::kTilted ? camera.direction : camera.up;
    Vector2 ground(heading.x, heading.y);
    if (ground.Length() < 0.00001f) return Vector2(0.0f, 1.0f);
    ground.Normalize();
    return ground;
}

// Where the ray meets the plane z = height; a ray that never comes down to it is cut at
// the far plane, so a corner above the horizon still bounds the view.
Vector3 RayAtHeight(const Ray& ray, float height, float farPlane) {
    const Plane plane(Vector3(0.0f, 0.0f, 1.0f), -height);
    float t = 0.0f;
    if (ray.IntersectPlane(plane, t) == 3 && t > 0.0f) return ray.PointAt(t);
    Vector3 along = ray.direction;
    along.Normalize();
    Vector3 far = ray.origin + along * farPlane;
    far.z = height;
    return far;
}

}  // namespace

void ArenaWindow::ViewCornersAtHeight(float height, Vector3 (&corners)[4]) const {
    WindowCamera& view = *camera;
    const float xs[4] = {float(left), float(right), float(right), float(left)};
    const float ys[4] = {float(top), float(top), float(bottom), float(bottom)};
    for (int i = 0; i < 4; ++i) {
        corners[i] = RayAtHeight(view.GetPickRay(Vector2(xs[i], ys[i])), height, view.farPlane);
    }
}

Vector3 ArenaWindow::CameraTarget() const {
    const Vector3& target = camera->target;
    if (gArena == nullptr) return target;
    // Where the middle of the view meets the ground, seen from the eye as it is drawn.
    const Ray ray = camera->GetPickRay(Vector2(float(left + right) * 0.5f, float(top + bottom) * 0.5f));
    const Vector3 middle = RayAtHeight(ray, 0.0f, camera->farPlane);
    if (!std::isfinite(middle.x) || !std::isfinite(middle.y)) return target;
    return gArena->NearestImage(middle, target);
}

bool ArenaWindow::ShowsPointMarkers() const {
    const Game* game = CurrentGame();
    return game != nullptr && game->modeName.EqualsNoCase("TrainingGame");
}

bool ArenaWindow::HighlightsUnderMouse() const { return GetMouse().mode == Mouse::kModeHighlight; }

WorldObject* ArenaWindow::EditedUnit() const {
    const VornWindow& editor = GetVornWindow();
    return editor.open ? editor.vorn : nullptr;
}

void ArenaWindow::ReleaseResources() {
    markersLoaded_ = false;
    ballMarker_ = brushMarker_ = arrowMarker_ = nullptr;
    Window::ReleaseResources();
}

void ArenaWindow::LoadMarkerModels() {
    if (markersLoaded_) return;
    markersLoaded_ = true;
    Renderer& renderer = GetRenderer();
    ballMarker_ = renderer.LoadModel(ActorModelPath("YellowBall"), 1.0f, 0.0f, 2);
    brushMarker_ = renderer.LoadModel(ActorModelPath("RedBall"), 1.0f, 0.0f, 2);
    arrowMarker_ = renderer.LoadModel(ActorModelPath("Arrowhead"), 1.0f, 0.0f, 2);
    // The arrow is modelled standing up; a quarter turn about its own Y axis lays it on
    // the ground pointing along +x, the heading the ground line turns it to.
    if (arrowMarker_ != nullptr) arrowMarker_->local = Matrix::RotationY(-kPi / 2.0f);
}

void ArenaWindow::StepCamera() { camera->StepFrame(FrameTime()); }

void ArenaWindow::SetSoundListener() {
    if (gArena == nullptr) return;
    const Vector2 side = GroundHeading(*camera).Rotated(-kPi / 2.0f);
    const Vector3 centre = PointerGroundPoint(GetCenter().x, GetCenter().y);
    const float range = camera->maximumHeight - camera->minimumHeight;
    const float relativeZoom = range > 0.0f ? (camera->zoom - camera->minimumHeight) / range : 0.0f;
    gArena->listenerRight = side;
    gArena->listenerPosition = Vector3(centre.x, centre.y, relativeZoom * kListenerZoomScale);
}

void ArenaWindow::DrawContents() {
    StepCamera();
    Renderer& renderer = GetRenderer();
    renderer.SetCamera(*camera);
    SetSoundListener();
    pulsePhase += FrameTime() * 4.0f;
    while (pulsePhase > 1.0f) pulsePhase -= 1.0f;
    circlePhase += kPi * 0.25f * FrameTime();
    if (gArena != nullptr) {
        gArena->UpdateSounds();
        gArena->Draw(*this);
    }
    renderer.SetCamera(*camera);
    LoadMarkerModels();
    if (GetPaintTray().open) DrawBrushMarkers();
    if (bandActive) DrawBandCircle();
    UseScreenCamera();
    renderer.SetAlphaBlend();
    renderer.DisableLighting();
    if (frameMeterShown) UpdateFrameMeter();
    if (GetMouse().IsKeyHeld(win::kKeyShift) && GetMouse().IsKeyHeld(win::kKeyControl)) DrawPointerCoordinates();
    renderer.SetBlendOff();
}

void ArenaWindow::DrawMarkerAt(ModelNode* model, const Vector3& point, float angle) {
    if (model == nullptr || gArena == nullptr) return;
    Renderer& renderer = GetRenderer();
    for (int i = 0; i < 9; ++i) {
        Matrix4 matrix = Matrix::RotationZ(angle);
        matrix.SetTranslation(gArena->ImageOfPoint(point, i));
        renderer.SetWorldTransform(matrix);
        renderer.RenderModel(model, false, true);
    }
    renderer.SetWorldTransform(Matrix4());
}

void ArenaWindow::DrawBrushMarkers() {
    if (gArena == nullptr) return;
    const PaintTray& tray = GetPaintTray();
    const Terrain& terrain = gArena->GetTerrain();
    const float radius = tray.brush.radius;
    const Vector3 at = pointerGroundPoint;
    brushMarkers.Clear();
    if (tray.brush.shape == 0) {
        terrain.CellsUnderCircle(Vector3(at.x, at.y, radius), brushMarkers);
    } else {
        terrain.CellsUnderRect(::Rect{at.x - radius, at.y - radius, at.x + radius, at.y + radius}, brushMarkers);
    }
    if (brushMarker_ == nullptr) return;
    GetRenderer().EnableLighting();
    for (const TerrainPoint& point : brushMarkers) {
        const float x = float(point.i) * Terrain::kCellSize;
        const float y = float(point.j) * Terrain::kCellSize;
        DrawMarkerAt(brushMarker_, Vector3(x, y, gArena->GetGroundHeight(x, y)), 0.0f);
    }
}

void ArenaWindow::DrawBandCircle() {
    if (ballMarker_ == nullptr || gArena == nullptr) return;
    const Vector3 end = gArena->NearestImage(bandStart, pointerGroundPoint);
    const Vector2 start(bandStart.x, bandStart.y);
    const Vector2 centre = (start + Vector2(end.x, end.y)) * 0.5f;
    const float radius = (start - centre).Length();
    const int32_t count = std::max(6, int32_t(std::lround(2.0f * radius * kPi / 5.0f)));
    GetRenderer().EnableLighting();
    for (int32_t i = 0; i < count; ++i) {
        const float angle = circlePhase + 2.0f * kPi * float(i) / float(count);
        const Vector2 point = centre + Vector2(std::cos(angle), std::sin(angle)) * radius;
        DrawMarkerAt(ballMarker_, Vector3(point.x, point.y, gArena->GetGroundHeight(point.x, point.y) + kMarkerLift),
                     0.0f);
    }
}

void ArenaWindow::DrawGroundLine(const Vector3& start, const Vector3& end) {
    if (gArena == nullptr) return;
    const Vector2 along(end.x - start.x, end.y - start.y);
    const int32_t count = int32_t(std::floor(along.Length()));
    if (count < 1) return;
    LoadMarkerModels();
    const float heading = std::atan2(along.y, along.x);
    for (int32_t i = 0; i < count; ++i) {
        const Vector2 point = Vector2(start.x, start.y) + along * ((float(i) + pulsePhase) / float(count));
        DrawMarkerAt(arrowMarker_, Vector3(point.x, point.y, gArena->GetGroundHeight(point.x, point.y) + kMarkerLift),
                     heading);
    }
}

void ArenaWindow::UpdateFrameMeter() {
    ++frameCount;
    frameMeterTime += FrameTime();
    if (frameCount > kFramesPerMeterUpdate && frameMeterTime > 0.0f) {
        framesPerSecond = float(frameCount) / frameMeterTime;
        frameMeterColour = framesPerSecond < 10.0f   ? Color(0xFFFF0000)
                           : framesPerSecond < 20.0f ? Color(0xFFFFFF00)
                                                     : Color(0xFF00FF00);
        frameMeterText = GetLanguageText("FPS") + " " + GetLanguageText("AltSeparator") + " " +
                         String::FromFloat(framesPerSecond, 2);
        frameCount = 0;
        frameMeterTime = 0.0f;
    }
    if (!frameMeterText.IsEmpty()) DrawUiText(frameMeterText, 10.0f, 10.0f, frameMeterColour, kFrameMeterText);
}

void ArenaWindow::DrawPointerCoordinates() {
    const Vector3 at = WrapPoint(pointerGroundPoint);
    const Point pointer = GetMouse().position;
    const String separator = GetLanguageText("Separator") + " ";
    const String text = String::FromFloat(at.x, -1) + separator + String::FromFloat(at.y, -1) + separator +
                        String::FromFloat(at.z, -1) + GetLanguageText("LeftBracket") + String::FromInt(pointer.x) +
                        separator + String::FromInt(pointer.y) + GetLanguageText("RightBracket");
    DrawUiText(text, float(GetCenter().x), float(GetCenter().y), Color(0xFFFFFFFF), kCoordinateTextScale);
}
