// The terrain tools of the battlefield window on a live battlefield: every change of
// heights carries the objects with the ground (each keeps its height above it), and
// objects that end up overlapping are stacked or removed.
#include <algorithm>
#include <cmath>

#include "core/Rect.h"
#include "game/Game.h"
#include "world/Arena.h"
#include "world/ArenaViewListener.h"
#include "world/FlyByPoint.h"
#include "world/LaunchPoint.h"
#include "world/Terrain.h"
#include "world/TerrainBrush.h"
#include "world/WorldObject.h"

namespace {

// Height tools change the ground by this many units a second.
constexpr float kFastHeightRate = 12.0f;
constexpr float kSlowHeightRate = 2.0f;
constexpr int kFirstHeightTool = 8;
constexpr int kLastTool = 11;
constexpr float kSettleStep = 1.0f;
constexpr float kMaxBrushRadius = 640.0f;

// Height change per second of a height tool: raise fast, lower fast, raise slow, lower slow.
float HeightRate(int tool) {
    switch (tool) {
        case 8: return kFastHeightRate;
        case 9: return -kFastHeightRate;
        case 10: return kSlowHeightRate;
        default: return -kSlowHeightRate;
    }
}

bool ChangesHeights(int tool) { return tool == kTerrainSwamp || tool == kTerrainWater || tool >= kFirstHeightTool; }

}  // namespace

void Arena::ApplyTerrainBrush(const Vector3& point, const TerrainBrush& brush) {
    const int tool = brush.tool;
    // The brush may come from a script: a radius beyond the whole map is refused with
    // the unknown tools.
    if (tool < 0 || tool > kLastTool || !std::isfinite(brush.radius) || brush.radius < 0.0f ||
        brush.radius > kMaxBrushRadius) {
        terrain_->Relight();
        return;
    }
    const float r = brush.radius;
    const Vector3 circle(point.x, point.y, r);
    const Rect rect = Rect::FromCorners({point.x - r, point.y - r}, {point.x + r, point.y + r});
    const bool square = brush.shape != 0;
    const bool reseat = ChangesHeights(tool);
    if (reseat) {
        UpdateHeightsAboveGround();
    }
    if (tool < kFirstHeightTool) {
        if (square) {
            terrain_->PaintRect(rect, TerrainType(tool));
        } else {
            terrain_->PaintCircle(circle, TerrainType(tool));
        }
    } else {
        const Game* game = CurrentGame();
        const float dt = game != nullptr ? game->frameTime : Game::kMinFrameTime;
        const float amount = dt * HeightRate(tool);
        if (square) {
            terrain_->RaiseRect(rect, amount, brush.flat);
        } else {
            terrain_->RaiseCircle(circle, amount, brush.flat);
        }
    }
    if (reseat) {
        ReseatObjects();
    }
    terrain_->Relight();
}

void Arena::FillTerrain(int type) {
    if (!IsValidTerrainType(TerrainType(type))) {
        return;
    }
    UpdateHeightsAboveGround();
    terrain_->Fill(TerrainType(type));
    TerrainReplaced();
    ReseatObjects();
}

void Arena::RandomizeTerrain() {
    UpdateHeightsAboveGround();
    terrain_->Randomize();
    TerrainReplaced();
    ReseatObjects();
}

void Arena::TerrainReplaced() {
    terrain_->UpdateShading();
    TellViews([](ArenaViewListener& view) { view.OnTerrainChanged(); });
}

void Arena::ScrollArena(int dx, int dy) {
    terrain_->Scroll(dx, dy);
    terrain_->UpdateShading();
    const Vector3 offset(float(dx) * Terrain::kCellSize, float(dy) * Terrain::kCellSize, 0.0f);
    for (WorldObject* object : objects_) {
        Vector3 moved = WrapPosition(object->position + offset);
        PlaceAboveGround(moved, 0.0f);
        object->PlaceAt(moved);
    }
    RebuildGrid();
    TellViews([](ArenaViewListener& view) { view.OnTerrainChanged(); });
}

void Arena::GrowOrShrinkTerrain(int delta) {
    UpdateHeightsAboveGround();
    terrain_->Resize(terrain_->Width() + delta, terrain_->Height() + delta);
    for (WorldObject* object : objects_) {
        if (!terrain_->ContainsPoint(object->position)) {
            object->Remove(0);
        }
    }
    for (int i = launchPoints.Count() - 1; i >= 0; --i) {
        const Vector2& p = launchPoints[i]->position;
        if (!terrain_->ContainsPoint(Vector3(p.x, p.y, 0.0f))) {
            FreeLaunchPoint(launchPoints[i]);
            launchPoints.RemoveAt(i);
        }
    }
    bool flyByRemoved = false;
    for (int i = flyByPoints.Count() - 1; i >= 0; --i) {
        if (!terrain_->ContainsPoint(flyByPoints[i]->position)) {
            FreeFlyByPoint(flyByPoints[i]);
            flyByPoints.RemoveAt(i);
            flyByRemoved = true;
        }
    }
    RemoveFlaggedObjects(true);
    RebuildGrid();
    ReseatObjects();
    terrain_->UpdateShading();
    if (flyByRemoved && flyByPoints.Count() > 0) {
        BuildFlyByPath(0);
    }
    RemoveFlaggedObjects(true);
    RebuildGrid();
    TellViews([](ArenaViewListener& view) { view.OnTerrainChanged(); });
}

void Arena::ReseatObjects() {
    for (WorldObject* object : objects_) {
        if (object->kind == kKindSmokePuff || object->kind == kKindFirePuff) {
            continue;
        }
        const Vector3& p = object->position;
        object->PlaceAt(Vector3(p.x, p.y, GetGroundHeight(p.x, p.y) + object->heightAboveGround));
    }
    // Spheres first, so that cylinders (which cannot be stacked) meet them settled.
    for (WorldObject* object : objects_) {
        if (object->shape.kind == CollisionShape::kSphere) {
            ResolvePlacementOverlap(object, kSettleStep);
        }
    }
    for (WorldObject* object : objects_) {
        if (object->shape.kind == CollisionShape::kCylinder) {
            ResolvePlacementOverlap(object, kSettleStep);
        }
    }
}
