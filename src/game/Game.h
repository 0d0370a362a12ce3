#pragma once
// The current game mode: clock, flags, the event queues and the input step, and the
// world-event hooks. The world reaches the one current game through CurrentGame(); the
// modes derive from this class and override the hooks (the network game forwards them to
// its peers).
#include <cstdint>

#include "core/Array.h"
#include "core/IntRect.h"
#include "core/String.h"
#include "core/Timer.h"
#include "core/Vector3.h"
#include "engine/InputEvent.h"
#include "game/Event.h"
#include "game/TextPage.h"

class Debris;
class ExplosionField;
class Meteor;
class Mouse;
class Player;
class ScorchMark;
class Squad;
class SoccerBall;
struct Sprite;
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
    // A scripted run's clock: above 0, every frame lasts this long and none waits, so a
    // run driven frame by frame plays the same battle however busy the machine is.
    static inline float scriptedFrameSeconds = 0.0f;
    // A handler that posts while it is dispatched could otherwise keep one call going for
    // ever.
    static constexpr int kMaxEventsPerDispatch = 10000;
    // A chat line longer than this is dropped: nobody types a cheat word that long.
    static constexpr int kMaxChatLine = 32;
    static constexpr float kZoomSeconds = 0.4f;

    Game();
    virtual ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // The mode becomes the current game, or stops being it.
    virtual void Begin();
    virtual void End();
    // Draws the mode's frame; every mode draws its windows with DrawWindows and adds its
    // own overlays.
    virtual void DrawFrame();

    // The clock takes the previous frame's time (so it trails real time by one frame); the
    // new frame time is the elapsed time kept within kMinFrameTime..kMaxFrameTime, and a
    // non-finite elapsed time counts as the shortest frame.
    void AdvanceClock(float elapsedSeconds);
    // Once per frame: measures the frame with the frame timer, resting until it lasts at
    // least kMinFrameTime, and adds it to the run time.
    virtual void AdvanceClock();
    void SetGameTime(float seconds) { clock = seconds; }

    // --- input and events
    // Hands each record of the mouse's queue to the windows, releasing and dispatching
    // the events they post after every record.
    virtual void HandleInputEvents(const Array<InputEvent>& inputs);
    // Before the windows see a record; true when the mode consumed it.
    virtual bool PreviewInputEvent(const InputEvent& input);
    // After the windows and the first dispatch of a record.
    virtual bool PostviewInputEvent(const InputEvent& input);
    // Gives the event to its target's command handler; an event without a target is
    // logged and ignored.
    virtual void HandleEvent(Event& event);
    // A cleared record from the pool.
    Event* NewEvent();
    void PostEvent(Event* event);
    // Moves the delayed events due before the end of this frame to the pending ones.
    void ReleaseDueEvents();
    // Gives every delayed event back to the pool.
    void ReleaseDelayedEvents();
    // The mode's per-frame step: counts the frame and flushes the event pool.
    virtual void Update();
    // Cheat words typed as a chat line; true when one asked for boosts.
    virtual bool ChatCommand(const String& line);
    // One cheat word's effect on the local player; true for the word that gives boosts.
    bool ApplyCheatWord(const String& word);
    static constexpr int32_t kCheatBoosts = 100;
    virtual void Launch();
    virtual bool IsControlAllowed(int32_t control) const;
    virtual bool ShowsObjectToolTips() const;
    virtual void SetScoringSuspended(bool suspended);
    // The modes with music of their own (the menu and the mission games) answer true and
    // start or stop their songs when the player switches the music.
    virtual bool HasMusicSwitch() const;
    virtual void OnMusicSwitched(bool musicOn);
    // The control tray shows the new state.
    virtual void SetPaused(bool paused);
    // The battle is over: the same as SetScoringSuspended.
    void SetBattleOver(uint8_t over);
    // Kinds outside 0..11 are never allowed.
    bool IsWeaponAllowed(int32_t kind) const;
    void SetAllWeaponsAllowed(bool allowed);

    // Makes the unit (or none) the selected unit, the one the pattern debugger shows: its
    // radar and conditionals show instead of the old selection's, its pattern overlay
    // hides, and it chooses its pattern again.
    void SelectVorn(Vorn* vorn);
    void RechooseSelectedVornPattern();
    // The unit being debugged is the selected unit.
    Vorn* DebuggedVorn() const { return selectedVorn; }

    // Paused by the player, held by the debugger unless one step was asked for, or while
    // the player carries or places something.
    bool IsSimulationPaused() const;

    // Hands every pending event to HandleEvent, also those posted meanwhile, then gives
    // them all back to the pool.
    virtual void DispatchEvents();

    // --- drawing
    // Every open window, back to front, then the zoom frame.
    void DrawWindows();
    void StartBackgroundFade(const IntRect& from, const IntRect& to);
    void StopBackgroundFade() { zoomTimeLeft = 0.0f; }
    // Advances the zoom by the frame time; true with the frame's rectangle while it runs.
    bool AdvanceBackgroundFade(IntRect& rect);
    // The countdown: the digit sprite for the last ten seconds (with the countdown sound
    // when the digit changes), else minutes and seconds as text.
    void DrawTimeLeft(float secondsLeft);

    // Each squad enters at a launch point of its own (a random free one, else a random
    // spot), its units keeping their owners and starting after the launch delay; the
    // battlefield camera then looks from the last launch point to the arena's centre.
    // Gives back the names of the members the field had no room for (logged as well), for
    // the caller to name to the player whose squads they are.
    StringArray PlaceSquadsAtLaunchPoints(Array<Squad*>& squads);

    // --- mission and tutorial text blocks
    // Adds one script line to the text pages; true at the "End" of the block.
    bool ReadTextBlockLine(const StringArray& words, Array<TextPage>& pages);
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
    uint8_t debugPaused = 0;          // held by the pattern debugger
    uint8_t stepOneFrame = 0;         // lifts the debug hold for one world step
    Vorn* lastDamagedVorn = nullptr;  // the remembered unit, cleared when it is removed
    // The friendly and enemy sides: the local and the computer player unless a mode says otherwise.
    Player* firstPlayer = nullptr;
    Player* secondPlayer = nullptr;
    uint8_t weaponAllowed[kWeaponKindCount] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};

    String modeName;         // set by each mode
    int32_t frameCount = 0;  // frames counted by Update
    int32_t lastDigit = -1;  // the digit the countdown shows
    // The pause state the escape menu restores when it closes without leaving.
    uint8_t resumePaused = 0;
    uint8_t meteorsEnabled = 0;  // the current mission's or tutorial stage's meteors
    float meteorDelay = 30.0f;
    IntRect zoomFrom;
    IntRect zoomTo;
    float zoomTimeLeft = 0.0f;
    String chatLine;              // characters typed since the last Enter
    String runningLine;           // the text-block line being gathered
    Array<Event*> pendingEvents;  // in posting order
    Array<Event*> delayedEvents;  // waiting for their due time
    EventMemoryBlock eventPool;
    Timer frameTimer;

private:
    void TakeCharacter(const InputEvent& input);
    void RouteInput(const InputEvent& input);
    void GiveBack(Event* event);
    void LoadCountdownAssets();

    Sprite* digitSprites_[10] = {};
    int32_t countdownSound_ = -1;
    // The one mouse, found once: the world asks about the pause once per object and frame.
    const Mouse* mouse_;
};

// The player's music key: only while the current game has music of its own.
void ToggleMusic();
// Seconds of all frames so far.
float GetRunTime();
// "m" + separator + "ss" for a minute or more, "0" + separator + "ss" below; the
// separator is the language's text.
String FormatTimeLeft(int32_t seconds, const String& separator);
// Each word followed by one blank.
String JoinWords(const StringArray& words);

// The one current game, or none before start-up chooses a mode.
Game* CurrentGame();
void SetCurrentGame(Game* game);
// True while the current game is a network client, whose server owns the world's outcomes.
bool IsCurrentGameClient();
