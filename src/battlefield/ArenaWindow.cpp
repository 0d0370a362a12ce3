// The battlefield window as the world sees it.
#include "battlefield/ArenaWindow.h"

#include "units/Vorn.h"
#include "world/Arena.h"

bool ArenaWindow::IsSelected(const WorldObject* object) const {
    return object != nullptr && selection_.Find(const_cast<WorldObject*>(object)) >= 0;
}

void ArenaWindow::Select(WorldObject* object) {
    if (object != nullptr) selection_.AddUnique(object);
}

void ArenaWindow::Deselect(const WorldObject* object) {
    const int index = selection_.Find(const_cast<WorldObject*>(object));
    if (index >= 0) selection_.RemoveAt(index);
}

void ArenaWindow::ClearSelection() { selection_.Clear(); }

void ArenaWindow::SetFollowObject(WorldObject* object) { followObject_ = object; }

void ArenaWindow::ForgetObject(const WorldObject* object) {
    if (object == nullptr) return;
    Deselect(object);
    if (followObject_ == object) followObject_ = nullptr;
    if (rightPressedVorn == object) rightPressedVorn = nullptr;
}

void ArenaWindow::ResetCameras() { ++cameraResetCount; }

void ArenaWindow::ResetCamera() { ++cameraResetCount; }

std::array<Vector3, 4> ArenaWindow::ViewCornersAtHeight(float height) const {
    const float width = gArena != nullptr ? gArena->WorldWidth() : 0.0f;
    const float depth = gArena != nullptr ? gArena->WorldHeight() : 0.0f;
    return {Vector3(0.0f, 0.0f, height), Vector3(width, 0.0f, height), Vector3(width, depth, height),
            Vector3(0.0f, depth, height)};
}

ArenaWindow& GetArenaWindow() {
    static ArenaWindow window;
    return window;
}
