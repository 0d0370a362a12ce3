// The current game mode: clock, flags and the world-event hooks.
#include "game/Game.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "game/GameListener.h"
#include "world/SoccerBall.h"

namespace {
Game* gCurrentGame = nullptr;

// Every ball hook counts as a report of the ball: the serving game's periodic report
// waits from the last one.
void MarkBallReported(SoccerBall* ball, float clock) {
    if (ball != nullptr) ball->lastReportTime = clock;
}
}  // namespace

Game* CurrentGame() { return gCurrentGame; }

void SetCurrentGame(Game* game) { gCurrentGame = game; }

bool IsCurrentGameClient() { return gCurrentGame != nullptr && gCurrentGame->IsNetworkClient(); }

Game::Game() = default;

Game::~Game() {
    if (gCurrentGame == this) gCurrentGame = nullptr;
}

void Game::AdvanceClock(float elapsedSeconds) {
    clock += frameTime;
    if (!std::isfinite(elapsedSeconds)) elapsedSeconds = kMinFrameTime;
    frameTime = std::clamp(elapsedSeconds, kMinFrameTime, kMaxFrameTime);
}

void Game::SetPaused(bool paused) {
    playerPaused = paused ? 1 : 0;
    if (GameListener* listener = GetGameListener()) listener->OnControlsChanged();
}

void Game::SetBattleOver(uint8_t over) { battleOver = over; }

bool Game::IsWeaponAllowed(int32_t kind) const {
    if (kind < 0 || kind >= kWeaponKindCount) return false;
    return weaponAllowed[kind] != 0;
}

void Game::SetAllWeaponsAllowed(bool allowed) {
    std::fill(std::begin(weaponAllowed), std::end(weaponAllowed), uint8_t(allowed ? 1 : 0));
}

void Game::SelectVorn(Vorn* vorn) { selectedVorn = vorn; }

bool Game::IsSimulationPaused() const {
    if (stepOneFrame != 0) return false;
    return playerPaused != 0 || debugPaused != 0;
}

void Game::DispatchEvents() {}

bool Game::IsNetworkClient() const { return false; }

bool Game::IsNetworkServer() const { return false; }

bool Game::SendsEditedVornsToKillTray() const { return false; }

void Game::OnDebrisSpawned(Vorn*, int32_t, const Array<Debris*>&) {}

void Game::OnHealthChanged(WorldObject*, Player*, const Vector3&, float, int32_t) {}

void Game::OnObjectDestroyed(WorldObject*) {}

void Game::OnScorchMark(ScorchMark*) {}

void Game::OnVornAction(Vorn*, const Vector3&, VornAction*, float) {}

void Game::OnBlastAdded(ExplosionField*) {}

void Game::OnMeteorAdded(Meteor*, int32_t, float, int32_t) {}

void Game::OnBallSpawned(SoccerBall* ball) { MarkBallReported(ball, clock); }

void Game::OnBallPickedUp(Vorn*, SoccerBall* ball, float) { MarkBallReported(ball, clock); }

void Game::OnBallPutInPlay(Vorn*, SoccerBall* ball, float) { MarkBallReported(ball, clock); }

void Game::OnBallUpdate(SoccerBall* ball) { MarkBallReported(ball, clock); }

void Game::OnGoalScored(Player*, Player*, SoccerBall* ball) { MarkBallReported(ball, clock); }

void Game::OnSignalChanged(Player*, int32_t, uint8_t) {}

void Game::RequestSignal(Player*, int32_t, uint8_t) {}
