// One frame of the battlefield: the cells in view, each object once per visible image,
// drawn kind by kind with each pass's renderer states.
#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "core/MathUtil.h"
#include "core/Matrix4.h"
#include "engine/Renderer.h"
#include "engine/SceneLighting.h"
#include "game/Game.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/ArenaDrawView.h"
#include "world/FlyByPoint.h"
#include "world/LaunchPoint.h"
#include "world/ObjectKind.h"
#include "world/Terrain.h"
#include "world/WorldObject.h"

namespace {

// The view corners are taken at the terrain's lowest and highest heights, and the box
// they span is widened so that objects standing over its edge are drawn too.
constexpr float kViewMargin = 16.0f;
// Near the horizon the corners run away; no view covers more map copies than this.
constexpr int kMaxViewCopies = 3;
constexpr float kSelectionSizeFactor = 0.16f;
// Fly-by markers: their number as a digit decal of 2 x 2 units, the texture alone.
constexpr float kFlyByHalf = 1.0f;
constexpr uint32_t kFlyByDecalMode = 2;
const Color kCollisionDebugColour = Color::FromRGBA(255, 0, 255, 96);

constexpr int kGroundDecalKinds[] = {kKindGooField, kKindStaticField, kKindHealthField, kKindScorchMark,
                                     kKindWaterRing};
constexpr int kBaseKinds[] = {kKindVorn, kKindMissile,    kKindDebris,         kKindRock,  kKindSolarCharger,
                              kKindTree, kKindSoccerBall, kKindFieldGenerator, kKindMeteor};
constexpr int kMarkerKinds[] = {kKindBeacon, kKindGoal};
constexpr int kSolidKinds[] = {kKindVorn,       kKindMissile, kKindSolarCharger, kKindRock,          kKindTree,
                               kKindSoccerBall, kKindDebris,  kKindMeteor,       kKindFieldGenerator};
constexpr int kHighlightKinds[] = {kKindVorn, kKindTree, kKindRock, kKindSolarCharger, kKindSoccerBall, kKindGoal};
constexpr int kTransparentKinds[] = {kKindLaserBeam, kKindExplosionField, kKindShrapnel,
                                     kKindSmokePuff, kKindFlameBall,      kKindFirePuff};

int WrapCell(int value) { return ((value % kGridSize) + kGridSize) % kGridSize; }

bool IsFinite(const Vector3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

}  // namespace

IntRect Arena::ComputeVisibleCells(const ArenaDrawView& view) const {
    const Point target = CellOfPoint(view.CameraTarget());
    constexpr int kHalfSpan = kMaxViewCopies * kGridSize / 2;
    const IntRect limit(target.x - kHalfSpan, target.y - kHalfSpan, target.x + kHalfSpan - 1, target.y + kHalfSpan - 1);
    float minX = kFloatMax, minY = kFloatMax, maxX = -kFloatMax, maxY = -kFloatMax;
    for (float height : {-Terrain::kMaxHeight, Terrain::kMaxHeight}) {
        Vector3 corners[4];
        view.ViewCornersAtHeight(height, corners);
        for (const Vector3& corner : corners) {
            if (!IsFinite(corner)) return limit;
            minX = std::min(minX, corner.x);
            minY = std::min(minY, corner.y);
            maxX = std::max(maxX, corner.x);
            maxY = std::max(maxY, corner.y);
        }
    }
    const Point low = CellOfPoint(Vector3(minX - kViewMargin, minY - kViewMargin, 0.0f));
    const Point high = CellOfPoint(Vector3(maxX + kViewMargin, maxY + kViewMargin, 0.0f));
    IntRect cells(std::max(low.x, limit.left), std::max(low.y, limit.top), std::min(high.x, limit.right),
                  std::min(high.y, limit.bottom));
    if (cells.left > cells.right || cells.top > cells.bottom) return limit;
    return cells;
}

void Arena::AddToDrawList(WorldObject* object, const Vector3& image) {
    if (!IsKindInRange(object->kind)) return;
    drawLists[object->kind].Append(DrawEntry{object, image});
    object->points.Append(image);
}

void Arena::FillDrawLists() {
    for (Array<DrawEntry>& list : drawLists) list.Clear();
    for (WorldObject* object : objects_) object->points.Clear();
    for (int x = visibleCells.left; x <= visibleCells.right; ++x) {
        for (int y = visibleCells.top; y <= visibleCells.bottom; ++y) {
            ::GridCell& cell = GridCell(x, y);
            const Vector3 offset = CellImageOffset(x, y);
            for (WorldObject* object : cell) {
                // From its home cell only, so an object is drawn once per image.
                if (object->gridCell != &cell) continue;
                AddToDrawList(object, object->position + offset);
            }
        }
    }
}

void Arena::DrawKind(int kind) {
    for (const DrawEntry& entry : drawLists[kind]) entry.object->Draw(entry.position);
}

void Arena::DrawUnits(void (Vorn::*pass)(const Vector3&)) {
    for (const DrawEntry& entry : drawLists[kKindVorn]) {
        // Only units take the unit passes, whatever else claims their kind.
        if (auto* unit = dynamic_cast<Vorn*>(entry.object)) (unit->*pass)(entry.position);
    }
}

void Arena::DrawKindBases(int kind) {
    for (const DrawEntry& entry : drawLists[kind]) {
        if (entry.object->IsReady()) entry.object->DrawShadowDecals(entry.position);
    }
}

void Arena::DrawKindHighlight(int kind) {
    for (const DrawEntry& entry : drawLists[kind]) {
        if (entry.object == mouseHighlight) DrawSelectionDecal(*entry.object, entry.position);
    }
}

void Arena::DrawMarkerAtImages(const Vector3& point, const std::function<void(const Vector3&)>& drawAt) {
    const Point home = CellOfPoint(point);
    for (int x = visibleCells.left; x <= visibleCells.right; ++x) {
        for (int y = visibleCells.top; y <= visibleCells.bottom; ++y) {
            if (WrapCell(x) != WrapCell(home.x) || WrapCell(y) != WrapCell(home.y)) continue;
            drawAt(point + CellImageOffset(x, y) - CellImageOffset(home.x, home.y));
        }
    }
}

void Arena::DrawSelectionDecal(const WorldObject& object, const Vector3& image) {
    static SharedTextureSlot ringSlot;
    const TextureHandle ring = LoadSharedTexture("Highlight.tga", ringSlot);
    const float half = std::max(object.shape.Radius(), 1.0f) * (1.0f + kSelectionSizeFactor);
    Matrix4 shift;
    shift.SetTranslation(image - object.position);
    GetRenderer().SetWorldTransform(shift);
    const Rect square{object.position.x - half, object.position.y - half, object.position.x + half,
                      object.position.y + half};
    terrain_->DrawDecal(square, ring, Color(0xFFFFFFFFu), false, 0.0f, 1.0f);
    terrain_->RenderDecalMesh();
}

void Arena::DrawSelectionDecals(const ArenaDrawView& view) {
    auto underAllImages = [this](const WorldObject* object) {
        if (object == nullptr) return;
        for (const Vector3& image : object->points) DrawSelectionDecal(*object, image);
    };
    const Game* game = CurrentGame();
    underAllImages(game != nullptr ? game->DebuggedVorn() : nullptr);
    underAllImages(view.EditedUnit());
    Array<WorldObject*> selected;
    view.SelectedObjects(selected);
    for (const WorldObject* object : selected) underAllImages(object);
}

void Arena::Draw(ArenaDrawView& view) {
    Renderer& renderer = GetRenderer();
    const bool lightingWas = renderer.IsLightingOn();
    const bool zWriteWas = renderer.IsZWriteOn();
    auto begin = [&view](ArenaPass pass) { view.OnPass(pass); };

    if (wireFrame) renderer.SetWireFrame(true);
    begin(ArenaPass::kWireFrame);
    visibleCells = ComputeVisibleCells(view);
    begin(ArenaPass::kVisibleCells);

    renderer.SetWorldTransform(Matrix4());
    renderer.SetZWrite(true);
    renderer.DisableLighting();
    begin(ArenaPass::kTerrain);
    const float cellW = WorldWidth() / kGridSize, cellH = WorldHeight() / kGridSize;
    terrain_->Draw(Rect{float(visibleCells.left) * cellW, float(visibleCells.top) * cellH,
                        float(visibleCells.right + 1) * cellW, float(visibleCells.bottom + 1) * cellH});

    FillDrawLists();
    BeginWalk();
    begin(ArenaPass::kDrawLists);

    renderer.SetZWrite(false);
    renderer.SetAlphaBlend();
    begin(ArenaPass::kGroundDecals);
    // A field's bubbles go to the device together, when the next decal is drawn.
    renderer.BeginParticleBatch();
    for (int kind : kGroundDecalKinds) {
        // The fields' bubbles switch blending off behind them.
        renderer.SetAlphaBlend();
        DrawKind(kind);
    }
    renderer.EndParticleBatch();
    begin(ArenaPass::kBases);
    terrain_->BeginDecalBatch();
    for (int kind : kBaseKinds) DrawKindBases(kind);
    terrain_->EndDecalBatch();
    begin(ArenaPass::kPointMarkers);
    if (view.ShowsPointMarkers()) DrawPointMarkers();
    begin(ArenaPass::kBeaconsAndGoals);
    for (int kind : kMarkerKinds) DrawKind(kind);
    begin(ArenaPass::kUnitDecals);
    DrawUnits(&Vorn::DrawTeleportDecal);
    DrawUnits(&Vorn::DrawPatternBackgroundDecal);
    begin(ArenaPass::kSelectionDecals);
    DrawSelectionDecals(view);

    renderer.SetZWrite(true);
    renderer.SetBlendOff();
    UseSceneLight();
    renderer.EnableLighting();
    renderer.SetNormalize(renormaliseNormals);
    begin(ArenaPass::kSolidObjects);
    for (int kind : kSolidKinds) DrawKind(kind);
    renderer.SetNormalize(false);

    renderer.DisableLighting();
    renderer.SetZWrite(false);
    renderer.SetAlphaBlend();
    begin(ArenaPass::kHighlights);
    if (view.HighlightsUnderMouse()) {
        for (int kind : kHighlightKinds) DrawKindHighlight(kind);
    }
    begin(ArenaPass::kTransparentEffects);
    // The effects are particles: gathered, uploaded once and drawn a run at a time.
    renderer.BeginParticleBatch();
    for (int kind : kTransparentKinds) DrawKind(kind);
    renderer.EndParticleBatch();
    begin(ArenaPass::kDebuggedPattern);
    const Game* game = CurrentGame();
    if (game != nullptr && game->debugPaused != 0) DrawUnits(&Vorn::DrawDebuggedPattern);
    renderer.SetAlphaBlend();
    begin(ArenaPass::kCollisionShapes);
    if (collisionDebug) DrawCollisionShapes();
    renderer.SetAlphaBlend();
    begin(ArenaPass::kUnitOverlays);
    DrawUnits(&Vorn::DrawOverlays);

    renderer.SetWorldTransform(Matrix4());
    renderer.SetBlendOff();
    renderer.SetWireFrame(false);
    renderer.SetZWrite(zWriteWas);
    renderer.SetLighting(lightingWas);
    begin(ArenaPass::kRestore);
}

void Arena::DrawPointMarkers() {
    for (const LaunchPoint* point : launchPoints) {
        DrawMarkerAtImages(Vector3(point->position.x, point->position.y, 0.0f), [point](const Vector3& image) {
            LaunchPoint shifted = *point;
            shifted.position = Vector2(image.x, image.y);
            shifted.Draw();
        });
    }
    for (int i = 0; i < flyByPoints.Count(); ++i) {
        const FlyByPoint* point = flyByPoints[i];
        const TextureHandle digit = FlyByDigit(i % 10);
        if (digit == nullptr) continue;
        DrawMarkerAtImages(point->position, [this, point, digit](const Vector3& image) {
            Matrix4 shift;
            shift.SetTranslation(image - point->position);
            GetRenderer().SetWorldTransform(shift);
            const Rect square{point->position.x - kFlyByHalf, point->position.y - kFlyByHalf,
                              point->position.x + kFlyByHalf, point->position.y + kFlyByHalf};
            terrain_->DrawDecal(square, digit, Color(0xFFFFFFFFu), true, 0.0f, 1.0f, kFlyByDecalMode);
            terrain_->RenderDecalMesh();
        });
    }
}

TextureHandle Arena::FlyByDigit(int digit) {
    static SharedTextureSlot digits[10];
    if (digit < 0 || digit >= 10) return nullptr;
    return LoadSharedTexture((String::FromInt(digit) + "Button.tga").CStr(), digits[digit]);
}

void Arena::AnimateLiquids(float seconds) {
    if (terrain_ != nullptr) terrain_->AnimateLiquids(seconds);
}

void Arena::DrawCollisionShapes() {
    for (WorldObject* object : objects_) {
        for (const Vector3& image : object->points)
            object->shape.DrawDebug(kCollisionDebugColour, image - object->position);
    }
}
