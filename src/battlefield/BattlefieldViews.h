#pragma once
// Shows what the arena and the game report in the battlefield's windows and trays: the
// selection and the camera's follow, the unit editor and the debugger, the mini-map, the
// kill tray, the object, unit and squad trays, the scenario list, the control tray and
// the scoreboard. The shell makes one at start-up and attaches it to the arena.
#include "game/GameListener.h"
#include "world/ArenaViewListener.h"

class Arena;

class BattlefieldViews : public ArenaViewListener, public GameListener {
public:
    BattlefieldViews() = default;
    ~BattlefieldViews() = default;
    BattlefieldViews(const BattlefieldViews&) = delete;
    BattlefieldViews& operator=(const BattlefieldViews&) = delete;

    // Registers with the arena and as the game's listener; Detach undoes both.
    void Attach(Arena& arena);
    void Detach(Arena& arena);

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
};
