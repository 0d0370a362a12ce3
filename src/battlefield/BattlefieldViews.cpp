// Shows what the arena and the game report in the battlefield's windows and trays.
#include "battlefield/BattlefieldViews.h"

#include "battlefield/ArenaWindow.h"
#include "battlefield/ControlTray.h"
#include "battlefield/DebugWindow.h"
#include "battlefield/MiniMap.h"
#include "battlefield/ObjectTray.h"
#include "battlefield/SelectionTray.h"
#include "battlefield/SquadTray.h"
#include "battlefield/VornTray.h"
#include "battlefield/VornWindow.h"
#include "game/Game.h"
#include "game/GameListener.h"
#include "ui/KillTray.h"
#include "ui/ScenarioListBox.h"
#include "ui/Scoreboard.h"
#include "ui/WindowManager.h"
#include "units/Vorn.h"
#include "world/Arena.h"

void BattlefieldViews::Attach(Arena& arena) {
    arena.RegisterViewListener(this);
    SetGameListener(this);
    arena_ = &arena;
    SetCameraGround(this);
}

void BattlefieldViews::Detach(Arena& arena) {
    arena.UnregisterViewListener(this);
    if (GetGameListener() == this) SetGameListener(nullptr);
    if (&GetCameraGround() == this) SetCameraGround(nullptr);
    arena_ = nullptr;
}

Vector3 BattlefieldViews::WrapPosition(const Vector3& point) const {
    return arena_ != nullptr ? arena_->WrapPosition(point) : point;
}

Vector3 BattlefieldViews::NearestImage(const Vector3& reference, const Vector3& point) const {
    return arena_ != nullptr ? arena_->NearestImage(reference, point) : point;
}

Vector3 BattlefieldViews::PickGroundPoint(const Ray& ray) const {
    return arena_ != nullptr ? arena_->PickTerrainPoint(ray, 0.0f) : Vector3();
}

void BattlefieldViews::OnObjectRemoved(WorldObject& object) {
    GetArenaWindow().ForgetObject(&object);
    VornWindow& editor = GetVornWindow();
    if (editor.vorn == &object) {
        editor.vorn = nullptr;
        GetWindowManager().CloseWindow(&editor);
    }
    DebugWindow& debugger = GetDebugWindow();
    if (debugger.vorn == &object) {
        debugger.SetVorn(nullptr);
        GetWindowManager().CloseWindow(&debugger);
    }
    // The debugger shows the game's selected unit, which the arena forgets after this.
    const Game* game = CurrentGame();
    if (game != nullptr && game->selectedVorn == &object) GetWindowManager().CloseWindow(&debugger);
}

void BattlefieldViews::OnSelectionViewsClosed() {
    GetArenaWindow().ClearSelection();
    GetWindowManager().CloseWindow(&GetSelectionTray());
    GetWindowManager().CloseWindow(&GetDebugWindow());
}

void BattlefieldViews::OnEditedVornKept(Vorn& vorn) {
    GetKillTray().AddVorn(&vorn);
    GetWindowManager().OpenWindow(&GetKillTray());
}

void BattlefieldViews::OnTerrainChanged() { GetMiniMap().UpdateTerrainImage(); }

void BattlefieldViews::OnCurrentPlayerChanged() {
    GetControlTray().Refresh();
    GetObjectTray().Refresh();
    GetVornTray().Refresh();
    GetSquadTray().Refresh();
}

void BattlefieldViews::OnScenarioNamed(const String& name) { GetScenarioListBox().MarkMostRecentlyUsed(name); }

void BattlefieldViews::OnSquadNamed(const String& name) { GetSquadTray().MarkMostRecentlyUsed(name); }

void BattlefieldViews::OnSquadSaved(const String& name) {
    SquadTray& tray = GetSquadTray();
    tray.AddSquadFile(name);
    tray.MarkMostRecentlyUsed(name);
}

void BattlefieldViews::OnScenarioLoadStarted() { GetArenaWindow().ResetCameras(); }

void BattlefieldViews::OnScenarioLoaded() { GetArenaWindow().ResetCamera(); }

void BattlefieldViews::OnFollowedObjectReplaced(WorldObject* from, WorldObject* to) {
    ArenaWindow& window = GetArenaWindow();
    if (window.GetFollowObject() == from) window.SetFollowObject(to);
}

void BattlefieldViews::OnControlsChanged() { GetControlTray().Refresh(); }

void BattlefieldViews::OnScoresChanged() { GetScoreboard().Refresh(); }
