// The current game mode: clock, flags, the event queues and the input step, and the
// world-event hooks.
#include "game/Game.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <sched.h>

#include "audio/EffectSounds.h"
#include "audio/Music.h"
#include "core/Debugger.h"
#include "core/TextTable.h"
#include "engine/AssetPaths.h"
#include "engine/Font.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "game/EventTarget.h"
#include "game/GameListener.h"
#include "game/GameWindows.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "game/Squad.h"
#include "game/TextPage.h"
#include "platform/sys/Clock.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/SoccerBall.h"

namespace {
Game* gCurrentGame = nullptr;
GameWindows* gGameWindows = nullptr;
float gRunTime = 0.0f;

constexpr int32_t kCharacterEnter = 13;
constexpr float kCountdownY = 16.0f;
constexpr float kTimeLeftScale = 0.75f;
// How early a frame's wait wakes before its shortest end.
constexpr float kWakeMargin = 0.001f;

// Every ball hook counts as a report of the ball: the serving game's periodic report
// waits from the last one.
void MarkBallReported(SoccerBall* ball, float clock) {
    if (ball != nullptr) ball->lastReportTime = clock;
}
}  // namespace

Game* CurrentGame() { return gCurrentGame; }

void SetGameWindows(GameWindows* windows) { gGameWindows = windows; }

GameWindows* GetGameWindows() { return gGameWindows; }

float GetRunTime() { return gRunTime; }

void SetCurrentGame(Game* game) { gCurrentGame = game; }

bool IsCurrentGameClient() { return gCurrentGame != nullptr && gCurrentGame->IsNetworkClient(); }

Game::Game() : firstPlayer(&GetLocalPlayer()), secondPlayer(&GetOpponentPlayer()), mouse_(&GetMouse()) {
    eventPool.Preallocate();
    frameTimer.Start();
}

Game::~Game() {
    if (gCurrentGame == this) gCurrentGame = nullptr;
    // The records go back before the pool that holds them is cleared.
    pendingEvents.Clear();
    delayedEvents.Clear();
}

void Game::Begin() {}

void Game::End() {}

void Game::DrawFrame() {}

void Game::AdvanceClock(float elapsedSeconds) {
    clock += frameTime;
    if (!std::isfinite(elapsedSeconds)) elapsedSeconds = kMinFrameTime;
    frameTime = std::clamp(elapsedSeconds, kMinFrameTime, kMaxFrameTime);
}

void Game::AdvanceClock() {
    if (scriptedFrameSeconds > 0.0f) {
        AdvanceClock(scriptedFrameSeconds);
        gRunTime += frameTime;
        return;
    }
    float elapsed = frameTimer.GetDelta();
    // A sleep may overrun by the scheduler's slack: the frame sleeps until its last
    // millisecond and yields through that one, so it still ends on time.
    while (std::isfinite(elapsed) && elapsed < kMinFrameTime) {
        const float spare = kMinFrameTime - elapsed - kWakeMargin;
        if (spare > 0.0f) {
            sys::SleepSeconds(spare);
        } else {
            sched_yield();
        }
        elapsed += frameTimer.GetDelta();
    }
    AdvanceClock(elapsed);
    gRunTime += frameTime;
}

void Game::SetPaused(bool paused) {
    playerPaused = paused ? 1 : 0;
    if (GameListener* listener = GetGameListener()) listener->OnControlsChanged();
}

void Game::SetBattleOver(uint8_t over) { SetScoringSuspended(over != 0); }

void Game::SetScoringSuspended(bool suspended) { battleOver = suspended ? 1 : 0; }

void Game::Launch() {}

bool Game::IsControlAllowed(int32_t) const { return true; }

bool Game::ShowsObjectToolTips() const { return true; }

bool Game::HasMusicSwitch() const { return false; }

void Game::OnMusicSwitched(bool) {}

void ToggleMusic() {
    Game* game = gCurrentGame;
    if (game == nullptr || !game->HasMusicSwitch()) return;
    SetMusicOff(!IsMusicOff());
    game->OnMusicSwitched(!IsMusicOff());
}

bool Game::IsWeaponAllowed(int32_t kind) const {
    if (kind < 0 || kind >= kWeaponKindCount) return false;
    return weaponAllowed[kind] != 0;
}

void Game::SetAllWeaponsAllowed(bool allowed) {
    std::fill(std::begin(weaponAllowed), std::end(weaponAllowed), uint8_t(allowed ? 1 : 0));
}

void Game::SelectVorn(Vorn* vorn) {
    if (selectedVorn != nullptr) {
        selectedVorn->showPatternBackground = 0;
        selectedVorn->showIcons = 0;
    }
    selectedVorn = vorn;
    if (vorn == nullptr) return;
    vorn->showPatternBackground = 1;
    vorn->showIcons = 1;
    vorn->showPatternBubble = 0;
    vorn->ChoosePattern();
}

void Game::RechooseSelectedVornPattern() {
    if (selectedVorn != nullptr) selectedVorn->ChoosePattern();
}

bool Game::IsSimulationPaused() const {
    if (playerPaused != 0) return true;
    if (debugPaused != 0 && stepOneFrame == 0) return true;
    return Mouse::IsPlacingMode(mouse_->mode);
}

// --- events

Event* Game::NewEvent() {
    Event* event = eventPool.Allocate();
    event->Clear();
    event->inPool = false;
    return event;
}

void Game::PostEvent(Event* event) {
    if (event != nullptr) pendingEvents.Append(event);
}

void Game::GiveBack(Event* event) {
    event->Reset();
    eventPool.Release(event);
}

void Game::HandleEvent(Event& event) {
    if (event.target == nullptr) {
        const String line = String("Game: event without a target ignored: ") + Event::TypeName(event.type);
        Debugger::Instance().Line(line.CStr());
        return;
    }
    event.target->HandleCommand(event);
}

void Game::DispatchEvents() {
    // The count is read again before each event: events posted meanwhile go out in
    // this same call.
    int handled = 0;
    for (; handled < pendingEvents.Count() && handled < kMaxEventsPerDispatch; ++handled) {
        HandleEvent(*pendingEvents[handled]);
    }
    if (handled < pendingEvents.Count()) {
        const String line = String("Game: ") + String::FromInt(pendingEvents.Count() - handled) +
                            " events posted during dispatch dropped";
        Debugger::Instance().Line(line.CStr());
    }
    for (Event* event : pendingEvents) GiveBack(event);
    pendingEvents.Clear();
}

void Game::ReleaseDueEvents() {
    const float due = clock + frameTime;
    int kept = 0;
    for (int i = 0; i < delayedEvents.Count(); ++i) {
        Event* event = delayedEvents[i];
        if (event->dueTime < due) {
            pendingEvents.Append(event);
        } else {
            delayedEvents[kept++] = event;
        }
    }
    delayedEvents.SetSize(kept);
}

void Game::ReleaseDelayedEvents() {
    for (Event* event : delayedEvents) GiveBack(event);
    delayedEvents.Clear();
}

void Game::Update() {
    frameCount += 1;
    eventPool.Flush();
}

// --- input

void Game::TakeCharacter(const InputEvent& input) {
    if (gGameWindows != nullptr && gGameWindows->TakesCharacters()) return;
    if (input.code == kCharacterEnter) {
        const String line = chatLine;
        chatLine.Clear();
        Game* current = gCurrentGame != nullptr ? gCurrentGame : this;
        current->ChatCommand(line);
        return;
    }
    chatLine += String::FromChar(char(input.code));
    if (chatLine.CharCount() > kMaxChatLine) chatLine.Clear();
}

void Game::RouteInput(const InputEvent& input) {
    Game* current = gCurrentGame != nullptr ? gCurrentGame : this;
    if (input.kind == kInputPointerMove || input.kind == kInputFrameTick) {
        current->PreviewInputEvent(input);
        if (gGameWindows != nullptr) gGameWindows->BroadcastInput(input);
        return;
    }
    if (current->PreviewInputEvent(input)) return;
    if (gGameWindows != nullptr) gGameWindows->OfferInput(input);
}

void Game::HandleInputEvents(const Array<InputEvent>& inputs) {
    Game* current = gCurrentGame != nullptr ? gCurrentGame : this;
    Mouse& mouse = GetMouse();
    // The mouse's own queue is handled as it came, modifier keys included.
    const bool queued = &inputs == &mouse.Events();
    const int32_t count = inputs.Count();
    for (int32_t i = 0; i < count; ++i) {
        const InputEvent& input = inputs[i];
        if (queued) mouse.HandlingEvent(i);
        // The keys typed into an open name box, its closing Escape and Return among them,
        // are the box's alone: the game's own keys hear none of them. So is the Escape that
        // closes an open list or menu.
        const bool key = input.kind == kInputCharacter ||
                         ((input.kind == kInputDown || input.kind == kInputUp) && input.code > kInputButtonMiddle);
        const bool typed =
            key && gGameWindows != nullptr && (gGameWindows->TakesCharacters() || gGameWindows->ClaimsEscape(input));
        if (input.kind == kInputCharacter) TakeCharacter(input);
        RouteInput(input);
        ReleaseDueEvents();
        DispatchEvents();
        if (input.kind == kInputFrameTick && gGameWindows != nullptr) gGameWindows->HoverAt(input);
        if (!typed) current->PostviewInputEvent(input);
        DispatchEvents();
    }
    if (queued) mouse.DoneHandlingEvents();
}

bool Game::PreviewInputEvent(const InputEvent& input) {
    if (input.kind != kInputUp || input.code != kInputButtonLeft || gGameWindows == nullptr) return false;
    return gGameWindows->PreviewRelease(input);
}

bool Game::PostviewInputEvent(const InputEvent&) { return false; }

bool Game::ChatCommand(const String& line) {
    StringArray words;
    line.Split(words, ' ');
    bool boosts = false;
    for (const String& word : words) boosts = ApplyCheatWord(word) || boosts;
    return boosts;
}

bool Game::ApplyCheatWord(const String& word) {
    Player& local = GetLocalPlayer();
    void (Player::*change)() = nullptr;
    if (word.EqualsNoCase("quab")) change = &Player::UnlockAllUpgradesAndMaxPatterns;
    if (word.EqualsNoCase("zumvite")) change = &Player::MaxAllUpgradeLevels;
    if (word.EqualsNoCase("frabel")) change = &Player::Reset;
    const bool boosts = word.EqualsNoCase("plink");
    if (change == nullptr && !boosts) return false;
    PlayEffectSound(LoadEffectSound(SoundPath("Cheater.ogg")), 1.0f, 0);
    if (boosts) {
        local.boosts += kCheatBoosts;
        return true;
    }
    (local.*change)();
    if (gGameWindows != nullptr) gGameWindows->RefreshAndLayOut();
    return false;
}

// --- drawing

void Game::DrawWindows() {
    if (gGameWindows != nullptr) gGameWindows->RenderWindows();
    IntRect frame;
    if (AdvanceBackgroundFade(frame) && gGameWindows != nullptr) gGameWindows->DrawZoomFrame(frame);
}

void Game::StartBackgroundFade(const IntRect& from, const IntRect& to) {
    zoomFrom = from;
    zoomTo = to;
    zoomTimeLeft = kZoomSeconds;
}

bool Game::AdvanceBackgroundFade(IntRect& rect) {
    zoomTimeLeft -= frameTime;
    if (!(zoomTimeLeft > 0.0f)) return false;
    const float k = (kZoomSeconds - zoomTimeLeft) / kZoomSeconds;
    const auto between = [k](int32_t from, int32_t to) { return int32_t(float(from) + float(to - from) * k); };
    rect = IntRect(between(zoomFrom.left, zoomTo.left), between(zoomFrom.top, zoomTo.top),
                   between(zoomFrom.right, zoomTo.right), between(zoomFrom.bottom, zoomTo.bottom));
    return true;
}

void Game::LoadCountdownAssets() {
    if (digitSprites_[0] != nullptr) return;
    for (int digit = 0; digit < 10; ++digit) {
        digitSprites_[digit] = LoadTexture(32, String::FromInt(digit) + "Button.tga");
    }
    countdownSound_ = LoadEffectSound(SoundPath("Countdown.ogg"));
}

void Game::DrawTimeLeft(float secondsLeft) {
    if (!std::isfinite(secondsLeft)) return;
    const int32_t n = int32_t(std::clamp(secondsLeft + 0.99f, -1.0f, 1.0e9f));
    if (n < 0) return;
    Renderer& renderer = GetRenderer();
    const IntRect& screen = renderer.GetWindowRect();
    const int32_t screenWidth = screen.right - screen.left + 1;
    renderer.SetAlphaBlend();
    if (n <= 9) {
        LoadCountdownAssets();
        if (n != lastDigit) {
            const float volume = gArena != nullptr ? gArena->effectVolume : 1.0f;
            PlayEffectSound(countdownSound_, volume, 0);
            lastDigit = n;
        }
        Sprite& sprite = *digitSprites_[n];
        sprite.x = screenWidth / 2;
        sprite.y = int32_t(kCountdownY);
        renderer.SetWorldTransform(Matrix4());
        renderer.DrawSprite(sprite);
    } else {
        const String text = FormatTimeLeft(n, GetLanguageText("TimeSeparator"));
        Vector2 size;
        GetFont().GetTextWidth(size, text, kTimeLeftScale);
        const Color white = Color::FromRGBA(255, 255, 255, 255);
        renderer.DrawText(text, Vector2((float(screenWidth) - size.x) / 2.0f, 0.0f), GetFont(), white, kTimeLeftScale);
    }
    renderer.SetBlendOff();
}

StringArray Game::PlaceSquadsAtLaunchPoints(Array<Squad*>& squads) {
    StringArray leftOut;
    if (gArena == nullptr) return leftOut;
    const Vector2 centre = gArena->PointAtFraction(0.5f, 0.5f);
    for (Squad* squad : squads) {
        const Vector2 launch = gArena->TakeRandomLaunchPoint();
        const Vector3 ground = gArena->GroundPoint(launch.x, launch.y);
        Player* owner = squad->members.IsEmpty() ? nullptr : squad->members[0]->owner;
        StringArray noRoom;
        const int placed = gArena->PlaceSquadUnits(*squad, ground, owner, true, &noRoom);
        for (const String& name : noRoom) leftOut.Append(name);
        if (placed > 0 && gGameWindows != nullptr) {
            gGameWindows->AimBattlefieldCamera(ground, gArena->GroundPoint(centre.x, centre.y));
        }
    }
    return leftOut;
}

// --- text blocks

bool Game::ReadTextBlockLine(const StringArray& words, Array<TextPage>& pages) {
    if (pages.IsEmpty()) pages.Append(TextPage());
    TextPage* page = &pages[pages.Count() - 1];
    if (words.Count() == 1 && words[0].EqualsNoCase("End")) {
        if (!runningLine.IsEmpty()) page->lines.Append(runningLine);
        runningLine.Clear();
        return true;
    }
    const String first = words.IsEmpty() ? String() : words[0];
    if (first.EqualsNoCase("<BR>")) {
        page->lines.Append(runningLine);
        runningLine.Clear();
    } else if (first.EqualsNoCase("<P>")) {
        page->lines.Append(runningLine);
        page->lines.Append(String());
        runningLine.Clear();
    } else if (first.EqualsNoCase("<S>")) {
        if (words.Count() < 2) {
            Debugger::Instance().Line("Game: a <S> line without its speech clip ignored");
            return false;
        }
        if (!runningLine.IsEmpty()) page->lines.Append(runningLine);
        runningLine.Clear();
        if (page->lines.IsEmpty() && page->speech.IsEmpty()) {
            page->speech = words[1];
        } else {
            TextPage next;
            next.speech = words[1];
            pages.Append(next);
        }
    } else {
        for (const String& word : words) {
            if (!runningLine.IsEmpty()) runningLine += " ";
            runningLine += word;
        }
    }
    return false;
}

String FormatTimeLeft(int32_t seconds, const String& separator) {
    const int32_t rest = seconds % 60;
    const String secondsText = (rest < 10 ? String("0") : String()) + String::FromInt(rest);
    const String minutesText = seconds >= 60 ? String::FromInt(seconds / 60) : String("0");
    return minutesText + separator + secondsText;
}

String JoinWords(const StringArray& words) {
    String joined;
    for (const String& word : words) joined += word + " ";
    return joined;
}

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
