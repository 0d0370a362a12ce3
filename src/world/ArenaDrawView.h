#pragma once
// What the arena drawing needs of the window that shows it: where the camera looks and
// what the window marks. The battlefield window implements it.
#include <cstdint>

#include "core/Array.h"
#include "core/Vector3.h"

class WorldObject;

// The passes of one arena frame, in drawing order.
enum class ArenaPass : int32_t {
    kWireFrame,
    kVisibleCells,
    kTerrain,
    kDrawLists,
    kGroundDecals,
    kBases,
    kPointMarkers,
    kBeaconsAndGoals,
    kUnitDecals,
    kSelectionDecals,
    kSolidObjects,
    kHighlights,
    kTransparentEffects,
    kDebuggedPattern,
    kCollisionShapes,
    kUnitOverlays,
    kRestore,
};

class ArenaDrawView {
public:
    virtual ~ArenaDrawView() = default;
    // Where the camera's view meets the horizontal plane at the height, in any order.
    virtual void ViewCornersAtHeight(float height, Vector3 (&corners)[4]) const = 0;
    // The ground point the camera looks at.
    virtual Vector3 CameraTarget() const = 0;
    // The launch and fly-by markers are shown (the training game).
    virtual bool ShowsPointMarkers() const { return false; }
    // The mouse is in its highlight mode.
    virtual bool HighlightsUnderMouse() const { return false; }
    // The objects selected in the window, and the unit the open unit editor shows.
    virtual void SelectedObjects(Array<WorldObject*>& out) const { out.Clear(); }
    virtual WorldObject* EditedUnit() const { return nullptr; }
    // Each pass begins with its renderer states set.
    virtual void OnPass(ArenaPass) {}
};
