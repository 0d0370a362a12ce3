// The worms window.
#include "screens/WormsWindow.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "core/FileHelpers.h"
#include "engine/AssetPaths.h"
#include "engine/Material.h"
#include "engine/Mesh.h"
#include "engine/ModelNode.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/ScreenLayout.h"
#include "engine/Sprite.h"
#include "game/Event.h"
#include "platform/window/Keys.h"
#include "screens/SceneScreen.h"
#include "ui/ToolTip.h"
#include "ui/UiServices.h"

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr float kLineHalfWidth = 0.05f;
constexpr Color kFreeEdgeColour = Color(0xFF3C3C3C);
constexpr int32_t kResetKey = 'R';

ModelNode* LoadActorModel(const char* name) {
    const String path = ActorModelPath(name);
    if (!FileExists(path)) return nullptr;
    return GetRenderer().LoadModel(path, 1.0f, 1.0f, 0);
}

void SetModelColour(ModelNode* model, Color colour) {
    if (model == nullptr || model->mesh == nullptr) return;
    Material* material = model->mesh->GetMaterial();
    if (material == nullptr) return;
    const gfx::ColorValue value{float(colour.Red()) / 255.0f, float(colour.Green()) / 255.0f,
                                float(colour.Blue()) / 255.0f, 1.0f};
    material->diffuse = value;
    material->ambient = value;
}

Matrix4 Translation(const Vector3& point) {
    Matrix4 matrix;
    matrix[12] = point.x;
    matrix[13] = point.y;
    matrix[14] = point.z;
    return matrix;
}

}  // namespace

WormsWindow::WormsWindow() : Window("WormsWindow") {
    closeButton = true;
    resizable = false;
    Initialize();
    SetFullScreen(true);
    SetUpCamera(overhead_);
    SetUpCamera(tilted_);
    light_.type = gfx::LightType::Directional;
    light_.diffuse = {0.75f, 0.75f, 0.75f, 1.0f};
    light_.direction = Vector3(1.0f, 1.0f, -1.0f).Normalized();
}

void WormsWindow::SetUpCamera(WindowCamera& camera) {
    camera.nearPlane = kNearPlane;
    camera.farPlane = kFarPlane;
    camera.SetFieldOfView(kPi / 4.0f);
    camera.minimumHeight = kMinimumZoom;
    camera.maximumHeight = kMaximumZoom;
    camera.SetZoom(kMaximumZoom);
    camera.SetPosition(Vector3(0.0f, 0.0f, kMaximumZoom));
    // Up the screen is +y: straight down for the overhead camera, 45 degrees down along
    // +y for the tilted one, so that its keys have a ground direction to move along.
    camera.SetHeading(Vector3(0.0f, 1.0f, 0.0f));
    camera.SetTarget(Vector3());
    camera.SetLookAt(Vector3());
}

void WormsWindow::CreateResources() {
    line_.Create(kLineHalfWidth);
    headModel_ = LoadActorModel("WormHead");
    spotModel_ = LoadActorModel("WormGridSpot");
    for (int32_t d = 0; d < WormWorld::kDirectionCount; ++d) {
        digits_[d] =
            CreateUiSprite(kDigitPixels, kDigitPixels, String::FromInt(d + 1) + "Button.tga", Sprite::kAnchorCentre);
    }
}

void WormsWindow::ReleaseResources() {
    line_ = Line3D();
    headModel_ = nullptr;
    spotModel_ = nullptr;
    std::fill(std::begin(digits_), std::end(digits_), nullptr);
    Window::ReleaseResources();
}

void WormsWindow::Refresh() { current_->viewport = Rect(); }

float WormsWindow::FrameTime() const { return ScreenFrameTime(); }

void WormsWindow::PostCameraVector(CameraCommand command, const Vector3& value) {
    switch (command) {
        case CameraCommand::SetCameraView: PostEventVector(kEventSetCameraView, value); break;
        case CameraCommand::SetCameraUp: PostEventVector(kEventSetCameraUp, value); break;
        case CameraCommand::SetCameraTargetPositionDirect:
            PostEventVector(kEventSetCameraTargetPositionDirect, value);
            break;
    }
}

void WormsWindow::PostCameraZoom(float heightChange, int32_t notches) {
    Event* event = PostEventVector(kEventZoomCamera, Vector3(heightChange, 0.0f, 0.0f));
    if (event != nullptr) event->value = notches;
}

bool WormsWindow::HandleMouse(const InputEvent& input) {
    if (input.kind == kInputDown) {
        const bool waiting = world.waiting != WormWorld::kNone;
        // With every worm dead only a reset can start the world again.
        if (input.code == kResetKey && (waiting || world.LivingCount() == 0)) {
            PostEvent(kEventResetWorms);
            return false;
        }
        if (waiting && input.code >= '1' && input.code <= '6') {
            PostEventInt(kEventMakeWormChoice, input.code - '1');
            return false;
        }
        if (waiting && input.code == '0') {
            PostEventInt(kEventMakeWormChoice, -1);
            return false;
        }
        if (waiting && input.code == win::kKeySpace) {
            PostEventInt(kEventSetCameraType, IsTiltedCameraCurrent() ? 0 : 1);
            return false;
        }
    }
    current_->HandleInput(*this, input);
    if (Window::HandleMouse(input)) return true;
    return IsCameraInput(input, GetMouse());
}

void WormsWindow::HandleCommand(Event& event) {
    switch (event.type) {
        case kEventSetCameraType:
            current_ = event.value == 1 ? static_cast<WindowCamera*>(&tilted_) : &overhead_;
            Refresh();
            break;
        case kEventMakeWormChoice: world.MakeChoice(event.value); break;
        case kEventResetWorms: world.Reset(); break;
        case kEventSetCameraView: current_->SetDirection(event.position3); break;
        case kEventSetCameraUp: current_->SetUp(event.position3); break;
        case kEventSetCameraTargetPositionDirect:
            current_->SetTarget(event.position3);
            current_->SetLookAt(event.position3);
            break;
        case kEventZoomCamera:
            if (std::isfinite(event.position3.x)) current_->SetZoom(current_->zoom + event.position3.x);
            break;
        default: Window::HandleCommand(event);
    }
}

void WormsWindow::GetToolTip() { ::GetToolTip().Clear(); }

Vector3 WormsWindow::NodePosition(int32_t x, int32_t y) {
    return Vector3(float(x * 2 - 16), float(y * 2 - 16 + (x % 2 != 0 ? 1 : 0)), 0.0f);
}

void WormsWindow::DrawEdges() {
    for (const WormWorld::Node& node : world.nodes) {
        const Vector3 from = NodePosition(node.x, node.y);
        for (int32_t d = 0; d < WormWorld::kDirectionCount; ++d) {
            // The neighbour unwrapped, so that edges at the border run outwards.
            const Point step = WormWorld::DirectionStep(node.x, d);
            const Vector3 to = NodePosition(node.x + step.x, node.y + step.y);
            const int32_t eater = node.eatenBy[d];
            line_.SetColor(eater == WormWorld::kNone ? kFreeEdgeColour : world.worms[eater].colour);
            line_.SetEndpoints(from, (from + to) * 0.5f);
            line_.Draw();
        }
    }
}

void WormsWindow::DrawModels() {
    Renderer& renderer = GetRenderer();
    for (const WormWorld::Node& node : world.nodes) {
        if (node.filledBy == WormWorld::kNone || spotModel_ == nullptr) continue;
        SetModelColour(spotModel_, world.worms[node.filledBy].colour);
        // The spot's own frame stands a quarter turn about its Y axis.
        Matrix4 placed = Matrix::RotationY(kPi / 2.0f);
        placed *= Translation(NodePosition(node.x, node.y));
        renderer.SetWorldMatrix(placed);
        renderer.RenderModel(spotModel_, true, true);
    }
    for (const WormWorld::Worm& worm : world.worms) {
        if (!worm.alive || headModel_ == nullptr) continue;
        const WormWorld::Node& node = world.nodes[worm.node];
        SetModelColour(headModel_, worm.colour);
        renderer.SetWorldMatrix(Translation(NodePosition(node.x, node.y)));
        renderer.RenderModel(headModel_, true, true);
    }
    renderer.SetWorldMatrix(Matrix4());
}

void WormsWindow::DrawChoices() {
    if (world.waiting == WormWorld::kNone) return;
    const WormWorld::Node& node = world.nodes[world.worms[world.waiting].node];
    Renderer& renderer = GetRenderer();
    Point screen[WormWorld::kDirectionCount];
    for (int32_t d = 0; d < WormWorld::kDirectionCount; ++d) {
        const Point step = WormWorld::DirectionStep(node.x, d);
        const Vector3 projected = current_->Project(NodePosition(node.x + step.x, node.y + step.y));
        screen[d] = Point(int32_t(projected.x), int32_t(projected.y));
    }
    UseScreenCamera();
    renderer.SetAlphaBlend();
    for (int32_t d = 0; d < WormWorld::kDirectionCount; ++d) {
        if (!world.IsFree(world.worms[world.waiting].node, d) || digits_[d] == nullptr) continue;
        digits_[d]->x = screen[d].x;
        digits_[d]->y = screen[d].y;
        renderer.DrawSprite(*digits_[d]);
    }
    renderer.SetBlendOff();
}

void WormsWindow::DrawContents() {
    Renderer& renderer = GetRenderer();
    Refresh();
    current_->StepFrame(FrameTime());
    renderer.SetCamera(*current_);
    renderer.SetWorldMatrix(Matrix4());
    renderer.DisableLighting();
    DrawEdges();
    renderer.EnableLighting();
    renderer.SetLight(light_, true, 0);
    DrawModels();
    // The windows drawn after this one light their models with the program's own light.
    renderer.SetLight(Light(), true, 0);
    renderer.DisableLighting();
    DrawChoices();
}

WormsWindow& GetWormsWindow() {
    static WormsWindow window;
    return window;
}
