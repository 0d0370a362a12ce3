// Drawing a unit: its body in the terrain's light, turned propellers, the VIP star and
// the carried ball; and what the arena's unit passes lay around it: the teleport glow and
// the pattern background on the ground, the debugged pattern, and over the head the
// health bar, the conditional icons, the pattern bubble and the question mark.
#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

#include "core/Matrix4.h"
#include "core/Quaternion.h"
#include "engine/AssetPaths.h"
#include "engine/Camera.h"
#include "engine/Material.h"
#include "engine/Mesh.h"
#include "engine/MeshBatch.h"
#include "engine/ModelNode.h"
#include "engine/Renderer.h"
#include "engine/SceneLighting.h"
#include "engine/Sprite.h"
#include "game/Game.h"
#include "game/Player.h"
#include "units/ChassisTable.h"
#include "units/OwnerColours.h"
#include "units/Pattern.h"
#include "units/PatternIcons.h"
#include "units/UnitPartAtlas.h"
#include "units/Vorn.h"
#include "units/WeaponTable.h"
#include "world/Arena.h"
#include "world/Terrain.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kTeleportTurns = 5.0f;
constexpr float kTeleportDecalHalf = 1.5f;
constexpr float kPatternBackgroundHalf = 20.0f;
constexpr float kPropellerSpin = 15.0f;
constexpr float kStarLift = 1.2f;
constexpr float kBallRadius = 0.75f;
// The upgrade that gives VIP units their star.
constexpr int32_t kStarUpgrade = 72;
constexpr float kBarHeightFactor = 0.18f;
constexpr float kIconSizeFactor = 0.45f;
// The pattern bubble: a square of this many pixels above the unit.
constexpr int kBubblePixels = 96;
// Body parts less than a pixel across on the screen (sockets, and ears and eyebrows
// seen from afar) show at most a speck: they are left out, saving their draws.
constexpr float kSmallestPartPixels = 1.0f;

// The pictures and models every unit draws with, loaded by the first unit that draws
// for each renderer: a restarted renderer has released the old ones.
struct UnitImages {
    RendererMark loaded;  // cleared when the renderer frees what is below
    TextureHandle highlight = nullptr;
    TextureHandle patternBackground = nullptr;
    Sprite* healthBar = nullptr;
    Sprite* questionMark = nullptr;
    Sprite* noAmmo = nullptr;
    Sprite* conditionals[kConditionalCount] = {};
    ModelNode* star = nullptr;
    ModelNode* ball = nullptr;
    float starAngle = 0.0f;
    int32_t starFrame = -1;
};

UnitImages& Images() {
    static UnitImages images;
    if (images.loaded.IsSet()) return images;
    images = UnitImages{};
    images.loaded.Set();
    if (gArena != nullptr) {
        images.highlight = gArena->LoadSharedTexture("Highlight.tga");
        images.patternBackground = gArena->LoadSharedTexture("PatternBackground.tga");
    }
    images.healthBar = LoadIconSprite("HealthBar.tga");
    images.questionMark = LoadIconSprite("QuestionMarkFat.tga");
    images.noAmmo = LoadIconSprite("NoAmmo.tga");
    for (int i = 0; i < kConditionalCount; ++i) images.conditionals[i] = LoadIconSprite(ConditionalButtonNames[i]);
    Renderer& renderer = GetRenderer();
    images.star = renderer.LoadModel(ActorModelPath("Star"), 1.0f, 1.0f, 2);
    images.ball = renderer.LoadModel(ActorModelPath("SoccerBall"), 1.0f, 2.0f * kBallRadius, 2);
    return images;
}

float FrameTime() {
    const Game* game = CurrentGame();
    return game != nullptr ? game->frameTime : 0.0f;
}

Matrix4 RotationOf(const Quaternion& q) {
    Matrix4 m;
    m.FromQuaternion(q);
    return m;
}

// Turns a node about its own origin for one drawing and puts it back afterwards.
class TurnedNode {
public:
    TurnedNode(ModelNode* node, const Matrix4& turn) : node_(node) {
        if (node_ == nullptr) return;
        saved_ = node_->local;
        const Vector3 at = saved_.GetTranslation();
        Matrix4 rotation = saved_;
        rotation.m[12] = rotation.m[13] = rotation.m[14] = 0.0f;
        node_->local = Matrix4::Multiply(rotation, turn);
        node_->local.Translate(at);
    }
    ~TurnedNode() {
        if (node_ != nullptr) node_->local = saved_;
    }
    TurnedNode(const TurnedNode&) = delete;
    TurnedNode& operator=(const TurnedNode&) = delete;

private:
    ModelNode* node_;
    Matrix4 saved_;
};

// Scales the alpha of every material of the tree for one drawing.
class FadedMaterials {
public:
    FadedMaterials(ModelNode* body, float opacity) {
        if (body == nullptr || opacity >= 1.0f) return;
        body->GetMaterials(materials_);
        for (Material* material : materials_) {
            saved_.Append(material->diffuse.a);
            material->diffuse.a *= opacity;
        }
    }
    ~FadedMaterials() {
        for (int i = 0; i < materials_.Count(); ++i) materials_[i]->diffuse.a = saved_[i];
    }
    FadedMaterials(const FadedMaterials&) = delete;
    FadedMaterials& operator=(const FadedMaterials&) = delete;

private:
    Array<Material*> materials_;
    Array<float> saved_;
};

// The turn that takes the vertical into (sway x, sway y, 1).
Matrix4 SwayTilt(const Vector3& sway) {
    Vector3 lean(sway.x, sway.y, 1.0f);
    lean.Normalize();
    return RotationOf(Quaternion::FromTwoVectors(Vector3(0.0f, 0.0f, 1.0f), lean));
}

bool IsAtlasMesh(const ChassisDefinition& row, const Mesh* mesh) {
    for (const RendererRef<Mesh>& atlasMesh : row.atlasMeshes) {
        if (atlasMesh.Get() == mesh) return true;
    }
    return UnitPartAtlas::Holds(mesh);
}

// Draws the tree as the renderer's model drawing does, except that the meshes drawn from
// an atlas go into the batch, in the body's own space, at the level the renderer would
// have drawn them.
void DrawBodyNode(ModelNode* node, const Matrix4& parentToBody, const Matrix4& body, const ChassisDefinition& row,
                  MeshBatch& batch) {
    Renderer& renderer = GetRenderer();
    const Matrix4 toBody = Matrix4MultiplyAffine(node->local, parentToBody);
    if (node->mesh != nullptr) {
        const Matrix4 world = Matrix4MultiplyAffine(toBody, body);
        if (IsAtlasMesh(row, node->mesh)) {
            Mesh* chosen = renderer.ChooseLevel(node->mesh, world);
            if (chosen != nullptr) batch.Add(chosen, toBody);
        } else {
            renderer.SetWorldMatrix(world);
            renderer.RenderMesh(node->mesh, true);
        }
    }
    for (ModelNode* child = node->firstChild; child != nullptr; child = child->nextSibling) {
        DrawBodyNode(child, toBody, body, row, batch);
    }
}

// The parts drawn from its family's atlas or the shared one go through the unit's batch,
// made on the first draw in view.
void DrawBodyTree(ModelNode* root, const Matrix4& body, const ChassisDefinition* row,
                  std::unique_ptr<MeshBatch>& batchOfBody) {
    Renderer& renderer = GetRenderer();
    if (row == nullptr) {
        renderer.SetWorldMatrix(body);
        renderer.RenderModel(root, true, true);
        return;
    }
    if (renderer.IsOutOfView(Sphere::Transform(body, root->bounds))) return;
    if (batchOfBody == nullptr) batchOfBody = std::make_unique<MeshBatch>();
    MeshBatch& batch = *batchOfBody;
    batch.Begin();
    DrawBodyNode(root, Matrix4(), body, *row, batch);
    renderer.SetWorldMatrix(body);
    batch.Draw();
}

// Seen from straight above, marks at the full radius over the head drift away from the
// body with the perspective: there they stand lower.
constexpr float kStraightDownStand = 0.75f;

bool LooksStraightDown(const Camera& camera) {
    const float length = camera.direction.Length();
    return length > 0.0f && camera.direction.z < -0.999f * length;
}

// The point over the head where icons and bars stand: the stand height, then the extra
// rows, in radii.
Vector3 OverHead(const Vector3& point, float radius, float extra, float stand = 1.0f) {
    return point + Vector3(0.0f, 0.0f, radius * (stand + extra));
}

}  // namespace

Matrix4 Vorn::BodyTransform(const Vector3& point) const {
    Matrix4 m = SwayTilt(swayVector);
    if (teleportFadeLevel > 0.0f) {
        const float s = std::clamp(1.0f - teleportFadeLevel, 0.0f, 1.0f);
        Matrix4 shrink;
        shrink.SetScale(s);
        const float spin = 2.0f * kPi * kTeleportTurns * (1.0f - s) * (1.0f - s);
        m = Matrix4::Multiply(Matrix4::Multiply(shrink, Matrix::RotationZ(spin)), m);
    }
    m = Matrix4::Multiply(Matrix::RotationZ(heading), m);
    m.Translate(point);
    return m;
}

void Vorn::Draw(const Vector3& point) {
    Renderer& renderer = GetRenderer();
    renderer.SetLight0Colors(litColour[0], litColour[1]);
    renderer.EnableLighting();
    DrawBody(point);
    UnitImages& images = Images();
    if (vip != 0 && images.star != nullptr && owner != nullptr && owner->HasUpgradeLevel(kStarUpgrade, 0)) {
        const Game* game = CurrentGame();
        const int32_t frame = game != nullptr ? game->frameCount : 0;
        if (frame != images.starFrame) {
            images.starFrame = frame;
            images.starAngle += 2.0f * FrameTime();
        }
        Matrix4 star = Matrix::RotationZ(images.starAngle);
        star.Translate(OverHead(point, GetRadius(), kStarLift));
        renderer.SetWorldTransform(star);
        renderer.RenderModel(images.star, false, true);
    }
    if (carryingBall != 0 && images.ball != nullptr) {
        Matrix4 ball = RotationOf(Quaternion::FromAxisAngle(ballSpin, ballSpin.Length()));
        ball.Translate(CarriedBallPosition() + (point - position));
        renderer.SetWorldTransform(ball);
        renderer.RenderModel(images.ball, false, true);
    }
    UseSceneLight();
}

void Vorn::DrawBody(const Vector3& point) {
    if (bodyModel == nullptr) return;
    // Bodies of one chassis share their meshes, so the owner's colours go in before each draw:
    // a friend and an enemy on the same chassis each show their own.
    if (owner != nullptr) ApplyOwnerColours(chassisType, *owner);
    Renderer& renderer = GetRenderer();
    worldMatrix = BodyTransform(point);
    renderer.SetWorldTransform(worldMatrix);
    // The roll is along the ground, so it is turned into the body's frame.
    const Matrix4 rollInBody =
        Matrix4::Multiply(Matrix4::Multiply(Matrix::RotationZ(heading), RotationOf(roll)), Matrix::RotationZ(-heading));
    TurnedNode rolled(rollRadius > 0.0f ? ballNode : nullptr, rollInBody);
    TurnedNode propellers[kWeaponPlaces] = {
        {weapons[0].kind == kWeaponPropeller && weapons[0].flightTimer > 0.0f ? weaponPlaceNodes[0] : nullptr,
         Matrix::RotationZ(weapons[0].flightTimer * weapons[0].flightTimer * kPropellerSpin)},
        {weapons[1].kind == kWeaponPropeller && weapons[1].flightTimer > 0.0f ? weaponPlaceNodes[1] : nullptr,
         Matrix::RotationZ(weapons[1].flightTimer * weapons[1].flightTimer * kPropellerSpin)}};
    const float smallestWas = renderer.smallestMeshPixels;
    renderer.smallestMeshPixels = kSmallestPartPixels;
    const ChassisDefinition* row = ChassisTable::Row(chassisType);
    if (teleportFadeLevel <= 0.0f) {
        DrawBodyTree(bodyModel, worldMatrix, row, bodyBatch);
    } else {
        FadedMaterials faded(bodyModel, 1.0f - teleportFadeLevel);
        const bool zWrite = renderer.IsZWriteOn();
        renderer.SetAlphaBlend();
        renderer.SetZWrite(false);
        DrawBodyTree(bodyModel, worldMatrix, row, bodyBatch);
        renderer.SetZWrite(zWrite);
        renderer.SetBlendOff();
    }
    renderer.smallestMeshPixels = smallestWas;
}

void Vorn::DrawTeleportDecal(const Vector3& point) {
    const TextureHandle glow = Images().highlight;
    if (teleportFadeActive == 0 || glow == nullptr) return;
    const uint8_t alpha = uint8_t(std::clamp(2.0f * teleportFadeLevel, 0.0f, 1.0f) * 255.0f);
    DrawGroundDecal(point, Vector2(position.x, position.y), kTeleportDecalHalf, glow,
                    Color::FromRGBA(255, 255, 255, alpha), false, 0.0f);
}

void Vorn::DrawPatternBackgroundDecal(const Vector3& point) {
    const TextureHandle background = Images().patternBackground;
    if (showPatternBackground == 0 || background == nullptr) return;
    DrawGroundDecal(point, Vector2(position.x, position.y), kPatternBackgroundHalf, background, Color(0xFFFFFFFFu),
                    false, heading);
}

void Vorn::DrawDebuggedPattern(const Vector3& point) {
    const Game* game = CurrentGame();
    const Pattern* shown = debuggerPattern != nullptr ? debuggerPattern : currentPattern;
    if (game == nullptr || game->DebuggedVorn() != this || shown == nullptr) return;
    const TextureHandle background = Images().patternBackground;
    if (background != nullptr) {
        DrawGroundDecal(point, Vector2(position.x, position.y), kPatternBackgroundHalf, background, Color(0xFFFFFFFFu),
                        false, heading);
    }
    shown->DrawInArena(*this, point, true);
}

void Vorn::DrawOverlays(const Vector3& point) {
    UnitImages& images = Images();
    const float radius = GetRadius();
    const float stand = LooksStraightDown(GetRenderer().GetCamera()) ? kStraightDownStand : 1.0f;
    float lift = 0.15f;
    const bool barShown = (healthBarTimer > 0.0f || showHealthBar != 0) && delayTimer <= 0.0f && health > 0.0f;
    if (barShown && images.healthBar != nullptr) {
        const float width = 2.0f * radius;
        const float height = kBarHeightFactor * radius;
        const float fill = maxHealth > 0.0f ? std::clamp(health / maxHealth, 0.0f, 1.0f) : 0.0f;
        const Vector3 centre = OverHead(point, radius, lift, stand);
        DrawBillboard(images.healthBar, centre, width, height, Color::FromRGBA(40, 40, 40, 200));
        // The filled part keeps its left end where the empty bar starts.
        const Camera& camera = GetRenderer().GetCamera();
        Vector3 right = camera.up.Cross(-camera.direction);
        if (!right.IsNearZero()) right.Normalize();
        const Color colour = Color::FromRGBA(uint8_t(255.0f * (1.0f - fill)), uint8_t(255.0f * fill), 0, 255);
        DrawBillboard(images.healthBar, centre - right * (0.5f * width * (1.0f - fill)), width * fill, height, colour);
        lift += 2.0f * kBarHeightFactor;
    }
    if (showIcons != 0 && owner != nullptr) {
        const float size = kIconSizeFactor * radius;
        int raised = 0;
        for (int i = 0; i < kConditionalCount; ++i) raised += conditionals[i] != 0 && owner->IsItemAvailable(i);
        const Camera& camera = GetRenderer().GetCamera();
        Vector3 right = camera.up.Cross(-camera.direction);
        if (!right.IsNearZero()) right.Normalize();
        const Vector3 row = OverHead(point, radius, lift + kIconSizeFactor * 0.5f, stand);
        int n = 0;
        for (int i = 0; i < kConditionalCount; ++i) {
            if (conditionals[i] == 0 || !owner->IsItemAvailable(i)) continue;
            const float offset = (float(n++) - 0.5f * float(raised - 1)) * size;
            DrawBillboard(images.conditionals[i], row + right * offset, size, size, Color(0xFFFFFFFFu));
        }
        if (raised > 0) lift += kIconSizeFactor;
    }
    if (showPatternBubble != 0 && currentPattern != nullptr) DrawPatternBubble(point, lift + stand - 1.0f);
    if (inWaterOrStaticField != 0) {
        // Pulses with the pattern highlight's phase.
        const float size = radius * (0.8f + 0.3f * std::sin(2.0f * kPi * PatternPulsePhase()));
        DrawBillboard(images.questionMark, OverHead(point, radius, lift + 0.5f * size / radius, stand), size, size,
                      Color(0xFFFFFFFFu));
    }
}

void Vorn::DrawPatternBubble(const Vector3& point, float lift) {
    Renderer& renderer = GetRenderer();
    Camera scene = renderer.GetCamera();
    const Vector3 screen = scene.Project(OverHead(point, GetRadius(), lift + 1.0f));
    if (!std::isfinite(screen.x) || !std::isfinite(screen.y) || screen.z < 0.0f || screen.z > 1.0f) return;
    // One overhead camera for every bubble, looking down on the pattern's square.
    static Camera bubble;
    static bool made = false;
    if (!made) {
        made = true;
        bubble.nearPlane = 0.1f;
        bubble.farPlane = 1000.0f;
        bubble.SetFieldOfView(kPi / 4.0f);
        bubble.SetPosition(Vector3(0.0f, 0.0f, 50.0f));
        bubble.SetDirection(Vector3(0.0f, 0.0f, -1.0f));
        bubble.SetUp(Vector3(1.0f, 0.0f, 0.0f));
    }
    const int half = kBubblePixels / 2;
    const IntRect& window = renderer.GetWindowRect();
    const IntRect rect(int(screen.x) - half, int(screen.y) - kBubblePixels, int(screen.x) + half - 1,
                       int(screen.y) - 1);
    if (rect.left < window.left || rect.top < window.top || rect.right > window.right || rect.bottom > window.bottom) {
        return;
    }
    bubble.viewport = rect;
    bubble.SetAspect(1.0f);
    renderer.SetCamera(bubble);
    // The bubble lies over the battlefield whatever the depth behind it.
    renderer.ClearViewport(Color(0xFF000000u), 1.0f, 2);
    renderer.SetWorldTransform(Matrix4());
    currentPattern->Draw(32.0f, PatternDrawParts());
    renderer.SetCamera(scene);
    renderer.SetAlphaBlend();
}
