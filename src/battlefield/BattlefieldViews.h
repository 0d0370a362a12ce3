#pragma once
// Shows what the arena and the game report in the battlefield's windows and trays: the
// selection and the camera's follow, the unit editor and the debugger, the mini-map, the
// kill tray, the object, unit and squad trays, the scenario list, the control tray and
// the scoreboard. The shell makes one at start-up and attaches it to the arena. It also
// gives the window cameras the arena's ground to look at and wrap around.
#include "engine/CameraGround.h"
#include "game/GameListener.h"
#include "world/ArenaViewListener.h"

class Arena;

class BattlefieldViews : public ArenaViewListener, public GameListener, public CameraGround {
public:
    BattlefieldViews() = default;
    ~BattlefieldViews() = default;
    BattlefieldViews(const BattlefieldViews&) = delete;
    BattlefieldViews& operator=(const BattlefieldViews&) = delete;

    // Registers with the arena, as the game's listener and as the cameras' ground;
    // Detach undoes all three.
    void Attach(Arena& arena);
    void Detach(Arena& arena);

    Vector3 WrapPosition(const Vector3& point) const override;
    Vector3 NearestImage(const Vector3& reference, const Vector3& point) const override;
    Vector3 PickGroundPoint(const Ray& ray) const override;

    void OnObjectRemoved(WorldObject& object) override;
    void OnSelectionViewsClosed() override;
    void OnEditedVornKept(Vorn& vorn) override;
    void OnTerrainChanged() override;
    void OnCurrentPlayerChanged() override;
    void OnScenarioNamed(const String& name) override;
    void OnSquadNamed(const String& name) override;
    void OnSquadSaved(const String& name) override;
    void OnScenarioLoadStarted() override;
    void OnScenarioLoaded() override;
    void OnFollowedObjectReplaced(WorldObject* from, WorldObject* to) override;

    void OnControlsChanged() override;
    void OnScoresChanged() override;

private:
    Arena* arena_ = nullptr;
};
