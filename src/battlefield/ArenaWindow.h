#pragma once
// The battlefield window as the world sees it: the selected objects, the object the
// camera follows, the unit under a right press and the view of the ground.
#include <array>

#include "core/Array.h"
#include "core/Vector3.h"
#include "ui/Window.h"

class Vorn;
class WorldObject;

class ArenaWindow : public Window {
public:
    ArenaWindow() : Window("ArenaWindow") {}

    bool IsSelected(const WorldObject* object) const;
    // Adds the object to the selection once.
    void Select(WorldObject* object);
    void Deselect(const WorldObject* object);
    void ClearSelection();
    const Array<WorldObject*>& Selection() const { return selection_; }

    // The camera follows the object, or nothing.
    void SetFollowObject(WorldObject* object);
    WorldObject* GetFollowObject() const { return followObject_; }

    // Recentre the cameras before and after a scenario load.
    void ResetCameras();
    void ResetCamera();
    int32_t cameraResetCount = 0;

    // The four ground points where the view meets the plane at that height; without a
    // camera the view is the whole arena.
    std::array<Vector3, 4> ViewCornersAtHeight(float height) const;

    // Drops every reference the window keeps to an object leaving the arena: its
    // selection entry, the camera's follow and the right-pressed unit.
    void ForgetObject(const WorldObject* object);

    Vorn* rightPressedVorn = nullptr;  // the unit under the last right press

private:
    Array<WorldObject*> selection_;
    WorldObject* followObject_ = nullptr;
};

ArenaWindow& GetArenaWindow();
