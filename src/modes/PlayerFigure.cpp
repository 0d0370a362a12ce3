// The player's avatar.
#include "modes/PlayerFigure.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "core/Angles.h"
#include "core/FileHelpers.h"
#include "core/MathUtil.h"
#include "engine/AssetPaths.h"
#include "engine/Material.h"
#include "engine/Mesh.h"
#include "engine/ModelNode.h"
#include "engine/SharedMeshes.h"
#include "game/Player.h"
#include "platform/gfx/Device.h"
#include "units/ChassisTable.h"
#include "units/OwnerColours.h"
#include "units/Vorn.h"
#include "world/Arena.h"

namespace {

constexpr float kMoodForever = 10000.0f;
constexpr float kShadowSizePerRadius = 2.4f;
// Bodies whose colour stands out from black by less than 3 : 1 stand on a pool of light:
// a dim ring round a lighter disc, each a stack of strips about four pixels high.
constexpr float kLeastContrastOnBlack = 3.0f;
const Color kPoolRim = Color::FromRGBA(88, 88, 96, 255);
const Color kPoolMiddle = Color::FromRGBA(150, 150, 160, 255);
constexpr float kPoolRadiusShare = 0.48f;
constexpr float kPoolMiddleShare = 0.82f;
constexpr float kPoolStripPixels = 4.0f;
constexpr int32_t kLeastPoolStrips = 8;

gfx::ColorValue Grey(float level) { return gfx::ColorValue{level, level, level, 1.0f}; }

struct FigureEntry {
    Player* player;
    std::unique_ptr<PlayerFigure> figure;
};

// Never destroyed: records that die during static destruction (a network session's
// players) still let go of their figures.
std::vector<FigureEntry>& Figures() {
    static auto* figures = new std::vector<FigureEntry>();
    return *figures;
}

// Into [0, 2 pi), so that a figure spun for hours keeps its precision.
float WrapAngle(float angle) {
    const float folded = std::fmod(angle, kTwoPi);
    return folded < 0.0f ? folded + kTwoPi : folded;
}

float TurnRate() {
    const ChassisDefinition* row = ChassisTable::Row(0);
    return row != nullptr ? row->turnRate : kPi;
}

}  // namespace

PlayerFigure::PlayerFigure(Player& owner) : owner_(owner) {
    Vector3 direction(-1.0f, 0.4f, -0.5f);
    direction.Normalize();
    keyLight_.type = gfx::LightType::Directional;
    keyLight_.direction = direction;
    keyLight_.diffuse = Grey(1.0f);
    keyLight_.specular = Grey(1.0f);
    keyLight_.ambient = Grey(96.0f / 255.0f);
    spotLight_.type = gfx::LightType::Spot;
    spotLight_.position = Vector3(0.0f, 0.0f, 3.5f);
    spotLight_.direction = Vector3(0.0f, 0.0f, -1.0f);
    spotLight_.range = 500.0f;
    spotLight_.falloff = 1.0f;
    spotLight_.attenuation0 = 0.5f;
    spotLight_.theta = 0.0f;
    spotLight_.phi = 1.05f;
    spotLight_.diffuse = Grey(1.0f);
    spotLight_.specular = Grey(1.0f);
    spotLight_.ambient = Grey(64.0f / 255.0f);
    cameraOffset = Vector3(Radius() * kViewDistance, 0.0f, 0.0f);
}

PlayerFigure::~PlayerFigure() { ReleaseVorn(); }

void PlayerFigure::ReleaseVorn() {
    if (vorn_ != nullptr && gArena != nullptr) gArena->DestroyObject(vorn_, false);
    vorn_ = nullptr;
}

float PlayerFigure::Radius() const {
    const ChassisDefinition* row = ChassisTable::Row(vorn_ != nullptr ? vorn_->chassisType : 0);
    return row != nullptr && row->scale > 0.0f ? row->scale : kChassisRadiusBySize[0];
}

Vorn* PlayerFigure::GetVorn() {
    // A unit made under an earlier renderer holds models that went with it, and its arena
    // may have gone too: it is forgotten, not touched.
    if (vorn_ != nullptr && !madeUnderThisRenderer_.IsSet()) vorn_ = nullptr;
    if (vorn_ != nullptr || gArena == nullptr) return vorn_;
    madeUnderThisRenderer_.Set();
    vorn_ = gArena->NewVorn(0);
    vorn_->SetPlayer(&owner_);
    vorn_->BuildBody(0);
    vorn_->SetMood(1, 3.0f);
    // A new unit may already hold mood 1, which the mood change alone would not show.
    if (const ChassisDefinition* row = ChassisTable::Row(vorn_->chassisType)) {
        Vorn::SetFaceMood(vorn_->bodyModel, *row, vorn_->mood, vorn_->mouthVariant, vorn_->eyeVariant);
    }
    cameraOffset = Vector3(Radius() * kViewDistance, 0.0f, 0.0f);
    return vorn_;
}

void PlayerFigure::ChangeChassis(int32_t chassis) {
    Vorn* vorn = GetVorn();
    if (vorn == nullptr || !ChassisTable::IsValid(chassis)) return;
    vorn->BuildBody(chassis);
    SetViewAngle(0.0f);
}

void PlayerFigure::SetPose(int32_t newPose) {
    poseTimer = 0.0f;
    if (newPose < kIdle || newPose > kWalkOut) return;
    pose = newPose;
    Vorn* vorn = GetVorn();
    const auto animate = [vorn](int32_t state) {
        if (vorn != nullptr) vorn->SetAnimationState(state);
    };
    const auto mood = [vorn](int32_t value) {
        if (vorn != nullptr) vorn->SetMood(value, kMoodForever);
    };
    switch (pose) {
        case kIdle:
            animate(Vorn::kAnimIdle);
            mood(1);
            position = Vector3();
            break;
        case kWalkIn:
            animate(Vorn::kAnimWalk);
            position = Vector3(kOffStageX, 0.0f, 0.0f);
            break;
        case kCheer:
            animate(Vorn::kAnimSimpleVictoryWaiting);
            mood(1);
            break;
        case kSulk:
            animate(Vorn::kAnimDefeatWaiting);
            mood(2);
            break;
        case kWalkOut:
            animate(Vorn::kAnimWalk);
            position = Vector3();
            break;
    }
}

void PlayerFigure::SetViewAngle(float angle) {
    const float distance = Radius() * kViewDistance;
    cameraOffset = Vector3(std::cos(angle) * distance, std::sin(angle) * distance, 0.0f);
}

void PlayerFigure::Update(float dt) {
    if (!std::isfinite(dt)) return;
    Vorn* vorn = GetVorn();
    const bool animated = vorn != nullptr && vorn->bodyModel != nullptr && !vorn->bodyModel->Animations().IsEmpty();
    if (!animated) {
        heading = WrapAngle(heading + dt);
    } else {
        vorn->bodyAnimation.Advance(dt);
    }
    switch (pose) {
        case kIdle: WalkToward(Vector3(), dt); break;
        case kWalkIn:
            poseTimer += dt;
            if (poseTimer < kWalkSeconds) {
                WalkToward(Vector3(kOffStageX * (1.0f - poseTimer / kWalkSeconds), 0.0f, 0.0f), dt);
            } else {
                SetPose(kIdle);
            }
            break;
        case kWalkOut: {
            poseTimer += dt;
            const float done = std::min(poseTimer / kWalkSeconds, 1.0f);
            WalkToward(Vector3(kOffStageX * done, 0.0f, 0.0f), dt);
            break;
        }
        default: break;
    }
    if (vorn == nullptr) return;
    vorn->heading = heading;
    vorn->position = position;
    vorn->UpdateAnimation();
}

void PlayerFigure::WalkToward(const Vector3& point, float dt) {
    const Vector3 step = point - position;
    if (step.x * step.x + step.y * step.y > 1e-8f) {
        const float turn = AngleDifference(heading, std::atan2(step.y, step.x));
        const float limit = TurnRate() * std::abs(dt);
        heading = WrapAngle(heading + std::clamp(turn, -limit, limit));
    }
    Move(point - position);
}

void PlayerFigure::Move(const Vector3& displacement) {
    position += displacement;
    if (vorn_ == nullptr || vorn_->rollRadius <= 0.0f) return;
    // The body rolls along the ground it covers, as a unit does in battle.
    vorn_->roll = Quaternion::Multiply(Vorn::RollQuaternion(displacement, vorn_->rollRadius), vorn_->roll);
}

float PlayerFigure::AspectOf(const IntRect& area) {
    const int32_t width = std::max(area.right - area.left + 1, 1);
    const int32_t height = std::max(area.bottom - area.top + 1, 1);
    return float(width) / float(height);
}

bool PlayerFigure::StandsOnLight(Color body) {
    return ContrastRatio(RelativeLuminance(body), 0.0f) < kLeastContrastOnBlack;
}

void PlayerFigure::DrawLightPool() {
    const float cx = 0.5f * static_cast<float>(rect.left + rect.right + 1);
    const float cy = 0.5f * static_cast<float>(rect.top + rect.bottom + 1);
    const float outer =
        kPoolRadiusShare * static_cast<float>(std::min(rect.right - rect.left, rect.bottom - rect.top) + 1);
    gfx::Device& device = GetRenderer().GetDevice();
    for (const auto& [radius, colour] :
         {std::pair{outer, kPoolRim}, std::pair{outer * kPoolMiddleShare, kPoolMiddle}}) {
        std::vector<gfx::ClearRect> strips;
        const int32_t count = std::max(kLeastPoolStrips, static_cast<int32_t>(2.0f * radius / kPoolStripPixels));
        const float height = 2.0f * radius / static_cast<float>(count);
        for (int32_t k = 0; k < count; ++k) {
            const float top = cy - radius + height * static_cast<float>(k);
            const float dy = top + 0.5f * height - cy;
            const float half = std::sqrt(std::max(radius * radius - dy * dy, 0.0f));
            strips.push_back(gfx::ClearRect{
                static_cast<int32_t>(std::lround(cx - half)), static_cast<int32_t>(std::lround(top)),
                static_cast<int32_t>(std::lround(cx + half)), static_cast<int32_t>(std::lround(top + height))});
        }
        (void)device.Clear(strips, gfx::kClearTarget, colour, 1.0f);
    }
}

void PlayerFigure::Draw(float frameTime) {
    Update(frameTime);
    Vorn* vorn = GetVorn();
    // Without an arena there is no unit to show.
    if (vorn == nullptr) return;
    Renderer& renderer = GetRenderer();
    const Camera saved = renderer.GetCamera();
    // The body is modelled about its centre, so the camera at the centre's height
    // frames it whole, from head to feet.
    const Vector3 target = position;
    camera_.kind = Camera::kPerspective;
    camera_.eye = target + cameraOffset;
    camera_.direction = target - camera_.eye;
    camera_.up = Vector3(0.0f, 0.0f, 1.0f);
    camera_.nearPlane = 0.1f;
    camera_.farPlane = 100.0f;
    camera_.viewport = rect;
    camera_.SetAspect(AspectOf(rect));
    camera_.SetFieldOfView(kFieldOfView * kPi / 180.0f);
    camera_.projectionChanged = true;
    camera_.viewChanged = true;
    renderer.SetCamera(camera_);
    renderer.ClearViewport(Color(0u), 1.0f, 2);
    if (StandsOnLight(owner_.primaryColor)) DrawLightPool();
    renderer.EnableLighting();
    renderer.SetLight(keyLight_, true, 0);
    renderer.SetLight(spotLight_, true, 1);
    if (vorn->bodyModel != nullptr) {
        owner_.ApplyColors();
        // The body's painted parts share one picture per family; it shows this owner's colours.
        ApplyOwnerColours(vorn->chassisType, owner_);
        Matrix4 world = Matrix::RotationZ(heading);
        world.Translate(position);
        renderer.SetWorldTransform(world);
        renderer.RenderModel(vorn->bodyModel, true, false);
    }
    DrawShadow();
    renderer.SetLight(spotLight_, false, 1);
    renderer.SetWorldTransform(Matrix4());
    Camera restored = saved;
    renderer.SetCamera(restored);
}

void PlayerFigure::DrawShadow() {
    if (shadow_ == nullptr && FileExists(TexturePath("GenericShadow.tga"))) shadow_ = GetGenericShadowMesh();
    if (shadow_ == nullptr) return;
    Renderer& renderer = GetRenderer();
    Matrix4 world;
    world.SetScale(Radius() * kShadowSizePerRadius);
    // On the floor the feet stand on, a little above it so that it does not flicker.
    world.Translate(position + Vector3(0.0f, 0.0f, 0.01f - Radius()));
    renderer.SetWorldTransform(world);
    renderer.SetAlphaBlend();
    renderer.RenderMesh(shadow_, false);
    renderer.SetBlendOff();
}

PlayerFigure& GetPlayerFigure(Player& player) {
    for (FigureEntry& entry : Figures()) {
        if (entry.player == &player) return *entry.figure;
    }
    Figures().push_back(FigureEntry{&player, std::make_unique<PlayerFigure>(player)});
    return *Figures().back().figure;
}

void ReleasePlayerFigure(Player& player) {
    std::vector<FigureEntry>& figures = Figures();
    figures.erase(std::remove_if(figures.begin(), figures.end(),
                                 [&player](const FigureEntry& entry) { return entry.player == &player; }),
                  figures.end());
}

void ReleasePlayerFigures() { Figures().clear(); }
