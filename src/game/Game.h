#pragma once
// The current game mode: clock, flags and the world-event hooks. The world reaches the
// one current game through CurrentGame(); the modes derive from this class and override
// the hooks (the network game forwards them to its peers).
#include <cstdint>

#include "core/Array.h"
#include "core/Vector3.h"

class Debris;
class ExplosionField;
class Meteor;
class Player;
class ScorchMark;
class SoccerBall;
class Vorn;
class VornAction;
class WorldObject;

class Game {
public:
    static constexpr int kWeaponKindCount = 12;
    // A frame counts at least 0.01 s and at most 0.5 s: after a long stall the world takes
    // one bounded step instead of moving objects through each other.
    static constexpr float kMinFrameTime = 0.01f;
    static constexpr float kMaxFrameTime = 0.5f;

    Game();
    virtual ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // The clock takes the previous frame's time (so it trails real time by one frame); the
    // new frame time is the elapsed time kept within kMinFrameTime..kMaxFrameTime, and a
    // non-finite elapsed time counts as the shortest frame.
    void AdvanceClock(float elapsedSeconds);
    // The control tray shows the new state.
    virtual void SetPaused(bool paused);
    void SetBattleOver(uint8_t over);
    // Kinds outside 0..11 are never allowed.
    bool IsWeaponAllowed(int32_t kind) const;
    void SetAllWeaponsAllowed(bool allowed);

    // Makes the unit (or none) the selected unit, the one the pattern debugger shows.
    void SelectVorn(Vorn* vorn);
    // The unit being debugged is the selected unit.
    Vorn* DebuggedVorn() const { return selectedVorn; }

    // Paused by the player or held by the debugger, unless one step was asked for.
    bool IsSimulationPaused() const;

    // Hands every pending event to its target window.
    virtual void DispatchEvents();
    virtual bool IsNetworkClient() const;
    virtual bool IsNetworkServer() const;
    // Whether edited units removed from the battlefield go to the kill tray (the training
    // game, and the tutorial game while its script asks for it).
    virtual bool SendsEditedVornsToKillTray() const;

    // World-event hooks: the world reports what it creates and changes.
    virtual void OnDebrisSpawned(Vorn* vorn, int32_t cause, const Array<Debris*>& debris);
    // Code 0 is a heal (no attacker, zero point, minus the new health); 1..3 are damage.
    virtual void OnHealthChanged(WorldObject* object, Player* attacker, const Vector3& point, float amount,
                                 int32_t code);
    // Only for synced kinds going back to their pool.
    virtual void OnObjectDestroyed(WorldObject* object);
    virtual void OnScorchMark(ScorchMark* scorch);
    virtual void OnVornAction(Vorn* vorn, const Vector3& position, VornAction* action, float vornTime);
    virtual void OnBlastAdded(ExplosionField* explosion);
    virtual void OnMeteorAdded(Meteor* meteor, int32_t sound, float volume, int32_t unused);
    virtual void OnBallSpawned(SoccerBall* ball);
    virtual void OnBallPickedUp(Vorn* vorn, SoccerBall* ball, float vornTime);
    virtual void OnBallPutInPlay(Vorn* vorn, SoccerBall* ball, float vornTime);
    virtual void OnBallUpdate(SoccerBall* ball);
    virtual void OnGoalScored(Player* kicker, Player* goalOwner, SoccerBall* ball);
    virtual void OnSignalChanged(Player* player, int32_t which, uint8_t value);
    // The control tray asks for a signal change; the serving game decides it.
    virtual void RequestSignal(Player* player, int32_t which, uint8_t value);

    float clock = 0.0f;                    // game seconds; negative on a client until the server starts it
    float frameTime = kMinFrameTime;       // seconds of the last frame, kMinFrameTime..kMaxFrameTime
    Vorn* selectedVorn = nullptr;          // the unit the pattern debugger shows
    uint8_t selectedVornChosePattern = 0;  // raised when the selected unit chooses a pattern
    uint8_t battleOver = 0;                // no pattern choices, end poses, no kills or losses counted
    // A new game waits for the player to start it.
    uint8_t playerPaused = 1;
    uint8_t debugPaused = 0;               // held by the pattern debugger
    uint8_t stepOneFrame = 0;              // lifts the debug hold for one world step
    Vorn* lastDamagedVorn = nullptr;       // the remembered unit, cleared when it is removed
    Player* firstPlayer = nullptr;
    Player* secondPlayer = nullptr;
    uint8_t weaponAllowed[kWeaponKindCount] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
};

// The one current game, or none before start-up chooses a mode.
Game* CurrentGame();
void SetCurrentGame(Game* game);
// True while the current game is a network client, whose server owns the world's outcomes.
bool IsCurrentGameClient();
