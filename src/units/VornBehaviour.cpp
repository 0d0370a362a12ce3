// The unit's per-tick loop: timers, pattern choice, the action queue and the actions,
// and the client's replay of the actions the server sends.
#include <algorithm>
#include <cmath>

#include "core/Debugger.h"
#include "core/MathUtil.h"
#include "game/Game.h"
#include "game/Player.h"
#include "units/Action.h"
#include "units/ChassisTable.h"
#include "units/PathPoint.h"
#include "units/Pattern.h"
#include "units/PatternMatcher.h"
#include "units/Vorn.h"
#include "units/VornAction.h"
#include "units/WeaponTable.h"
#include "world/Arena.h"
#include "world/Beacon.h"
#include "world/TerrainType.h"

namespace {

// What one pattern choice costs, so that a unit chooses at most once per tick.
constexpr float kChoiceCost = 0.01f;
// What every instant action costs.
constexpr float kInstantActionCost = 0.01f;
// Actions performed per unit per tick before the rest of the budget is written off: a
// step that neither spends time nor finishes must not hold the whole arena.
constexpr int kMaxActionsPerTick = 1000;
// A client replays a received action over at most one frame and this much more of a
// late time stamp.
constexpr float kMaxReplayLag = 0.5f;
constexpr float kSlowGroundFactor = 0.75f;
constexpr float kBallCarryFactor = 0.85f;
constexpr float kMoodSeconds = 3.0f;
constexpr float kEndPoseMoodSeconds = 10000.0f;
constexpr float kTeleportFadeSeconds = 0.5f;
// The fade level moves toward the timer by at most this much per second.
constexpr float kTeleportFadeChase = 3.0f;

Game* TheGame() { return CurrentGame(); }

float FrameTime() {
    const Game* game = TheGame();
    return game != nullptr ? game->frameTime : Game::kMinFrameTime;
}

}  // namespace

void Vorn::Update(bool paused) {
    Game* game = TheGame();
    const bool client = IsCurrentGameClient();
    if (!client || game->clock >= 0.0f) {
        AdvanceTimers();
    } else {
        // A client's clock starts a lag below 0, behind the server's; a launched unit's
        // delay counts from that start, so that it ends when the server's does.
        CountDownDelay();
    }
    if (!paused) {
        if (teleportFadeTimer > 0.0f && teleportFadeActive == 0) {
            teleportFadeActive = 1;
        }
        if (delayTimer <= 0.0f && !client) {
            if (currentPattern == nullptr && animationHeld == 0 && animationState != kAnimIdle) {
                SetAnimationState(kAnimIdle);
            }
            ApplyGroundEffects();
            ClearPerTickFlags();
            TickLoop();
        } else if (delayTimer <= 0.0f) {
            if (game->clock > 0.0f && !onGround) {
                AirborneStep();
            }
            if (actionBegunThisFrame == 0 && currentAction != nullptr) {
                BeginAction(currentAction);
            }
        }
        if (teleportFadeDue != 0) {
            teleportFadeDue = 0;
            StartTeleportFade();
        }
        if (carryingBall != 0) {
            if (ballCreditTicks > 0) {
                --ballCreditTicks;
            }
            if (ballCreditTicks == 0) {
                ballCreditPlayer = nullptr;
            }
        }
    } else {
        if (delayTimer <= 0.0f && !client && onGround && actionQueue.IsEmpty() && HasEnabledPattern()) {
            ChoosePattern();
        }
        SetTimeBudget(0.0f);
    }
    UpdateBodyAndBall();
    if (paused) {
        OnPlaced();
    }
    SpendAllTime();
    speedFactor = 1.0f;
    inStaticFieldThisTick = 0;
}

void Vorn::AdvanceTimers() {
    const float frame = FrameTime();
    if (healthBarTimer > 0.0f) {
        healthBarTimer -= frame;
    }
    if (moodTimer > 0.0f) {
        moodTimer -= frame;
        if (moodTimer <= 0.0f) {
            SetMood(1, kMoodSeconds);
        }
    }
    if (teleportFadeActive != 0) {
        teleportFadeTimer -= frame;
        // The level chases the timer at a bounded rate, so it peaks well short of full:
        // a unit starting a pattern flickers, it never vanishes.
        const float step = kTeleportFadeChase * frame;
        teleportFadeLevel += std::clamp(std::max(0.0f, teleportFadeTimer) - teleportFadeLevel, -step, step);
        if (teleportFadeTimer <= 0.0f) {
            teleportFadeTimer = 0.0f;
            teleportFadeLevel = 0.0f;
            teleportFadeActive = 0;
        }
    }
    conditionals[kSignal1] = owner != nullptr ? owner->signal1 : 0;
    conditionals[kSignal2] = owner != nullptr ? owner->signal2 : 0;
    CountDownDelay();
    for (int place = 0; place < kWeaponPlaces; ++place) {
        Weapon& weapon = weapons[place];
        if (weapon.kind == kWeaponPropeller && weapon.flightTimer > 0.0f) {
            weapon.flightTimer -= frame;
        }
        if (onGround && weapon.laserModelDue != 0) {
            SetWeaponModel(place, kWeaponLaser);
            weapon.showsLaserModel = 1;
            weapon.laserModelDue = 0;
        }
    }
    StepBodySway();
    UpdateAnimation();
}

void Vorn::CountDownDelay() {
    const float frame = FrameTime();
    if (delayTimer <= frame) {
        // A delay already below zero must not hand the unit extra budget.
        SpendTime(std::max(delayTimer, 0.0f));
        delayTimer = 0.0f;
    } else {
        delayTimer -= frame;
    }
}

void Vorn::ClearPerTickFlags() {
    choseThisTick = 0;
    doneThisTick = 0;
    bumpedThisTick = 0;
    actionsThisTick = 0;
}

void Vorn::TickLoop() {
    while (doneThisTick == 0) {
        if (!onGround) {
            AirborneStep();
        } else if (!ChooseWhenIdle()) {
            break;
        }
        if (doneThisTick == 0 && onGround) {
            if (currentPattern == nullptr) {
                doneThisTick = 1;
            } else {
                SavePreviousState();
                RunActions();
            }
        }
        if (timeBudget <= 0.0f) {
            SetTimeBudget(0.0f);
            doneThisTick = 1;
        }
    }
}

// With an empty queue: chooses a pattern (at most once a tick); false when the tick is
// over for the unit.
bool Vorn::ChooseWhenIdle() {
    if (!actionQueue.IsEmpty()) {
        return true;
    }
    if (choseThisTick != 0 || timeBudget < kChoiceCost) {
        doneThisTick = 1;
        return false;
    }
    SetCurrentPattern(nullptr);
    Game* game = TheGame();
    if (game == nullptr || game->battleOver == 0) {
        ChoosePattern();
        SpendTime(kChoiceCost);
        if (game != nullptr && game->selectedVorn == this) {
            HoldArenaForWatchedUnit();
            doneThisTick = 1;
        }
    } else if (endPoseSet == 0) {
        IdleWithoutPattern();
    }
    return true;
}

void Vorn::RunActions() {
    while (timeBudget > 0.0f && currentAction != nullptr && doneThisTick == 0) {
        if (++actionsThisTick > kMaxActionsPerTick) {
            Debugger::Instance() << "Vorn " << name << ": " << kMaxActionsPerTick
                                 << " actions in one tick; the rest of its budget is dropped\n";
            Debugger::Instance().Flush();
            SpendAllTime();
            doneThisTick = 1;
            return;
        }
        PerformAction(currentAction);
    }
}

void Vorn::ReportAction(VornAction* action, float time) {
    if (Game* game = TheGame()) {
        game->OnVornAction(this, position, action, time);
    }
}

void Vorn::PerformAction(VornAction* action) {
    const float time = CurrentTime();
    switch (action->kind) {
        case VornAction::kWalk:
            // Reported before the step: a finished step returns the record to its pool.
            ReportAction(action, time);
            ShowPatternStart(action);
            StepWalk(action);
            break;
        case VornAction::kTurnToFace:
            ReportAction(action, time);
            ShowPatternStart(action);
            StepTurn(action);
            break;
        case VornAction::kFire1:
        case VornAction::kFire2:
        case VornAction::kFire1Up:
        case VornAction::kFire2Up: PerformFireAction(action, time); break;
        case VornAction::kSetSwitch1:
        case VornAction::kClearSwitch1:
        case VornAction::kSetSwitch2:
        case VornAction::kClearSwitch2:
        case VornAction::kSetSignal1:
        case VornAction::kClearSignal1:
        case VornAction::kSetSignal2:
        case VornAction::kClearSignal2:
        case VornAction::kClearBeacon:
        case VornAction::kSetTimer:
            ApplyInstantAction(action, false);
            ReportAction(action, time);
            ShowPatternStart(action);
            SpendTime(kInstantActionCost);
            NextAction();
            break;
        default:
            // A kind from a damaged record or peer does nothing and costs nothing.
            NextAction();
            break;
    }
}

// The effect of an instant action; a client removes a beacon without reporting it.
void Vorn::ApplyInstantAction(VornAction* action, bool replay) {
    const int32_t actionKind = action->kind;
    switch (actionKind) {
        case VornAction::kSetSwitch1:
        case VornAction::kClearSwitch1: conditionals[kSwitch1] = actionKind == VornAction::kSetSwitch1 ? 1 : 0; break;
        case VornAction::kSetSwitch2:
        case VornAction::kClearSwitch2: conditionals[kSwitch2] = actionKind == VornAction::kSetSwitch2 ? 1 : 0; break;
        case VornAction::kSetSignal1:
        case VornAction::kClearSignal1:
        case VornAction::kSetSignal2:
        case VornAction::kClearSignal2: ApplySignalAction(actionKind, replay); break;
        case VornAction::kClearBeacon:
            if (beacon != nullptr) {
                beacon->Remove(0);
                beacon = nullptr;
            }
            break;
        case VornAction::kSetTimer: setTimer = action->timerValue; break;
        default: break;
    }
}

void Vorn::ApplySignalAction(int32_t actionKind, bool replay) {
    const bool on = actionKind == VornAction::kSetSignal1 || actionKind == VornAction::kSetSignal2;
    const int32_t which = actionKind <= VornAction::kClearSignal1 ? 0 : 1;
    // On a client the server's player flags arrive by the network; only a replay of the
    // server's action sets them.
    if (owner == nullptr || (IsCurrentGameClient() && !replay)) {
        return;
    }
    if (which == 0) {
        owner->SetSignal1(on);
    } else {
        owner->SetSignal2(on);
    }
    Game* game = TheGame();
    if (replay && game != nullptr && game->IsNetworkServer()) {
        game->OnSignalChanged(owner, which, on ? 1 : 0);
    }
}

template <class Fire>
bool Vorn::FireActionWeapon(VornAction* action, Fire fire) {
    const int place = action->WeaponPlace();
    if (place >= weaponPlaceCount) {
        NextAction();
        return false;
    }
    Weapon& weapon = weapons[place];
    const bool aimHigh = action->AimsHigh() || weapon.kind == kWeaponPropeller;
    if (weapon.kind == kWeaponExplosive && weapon.IsOutOfAmmo()) {
        NextAction();
        return false;
    }
    // An emptied weapon fires as a laser; its own kind is kept for after the shot.
    const int32_t ownKind = weapon.kind;
    if (weapon.IsOutOfAmmo()) {
        weapon.kind = kWeaponLaser;
    }
    fire(weapon, aimHigh);
    weapon.kind = ownKind;
    ShowLaserWhenEmptyLauncher(place);
    return true;
}

void Vorn::PerformFireAction(VornAction* action, float time) {
    FireActionWeapon(action,
                     [&](Weapon& weapon, bool aimHigh) { FireWeaponAction(time, weapon, action->pointA, aimHigh); });
}

void Vorn::ShowLaserWhenEmptyLauncher(int place) {
    Weapon& weapon = weapons[place];
    if (weapon.kind == kWeaponVornLauncher && weapon.IsOutOfAmmo() && weapon.showsLaserModel == 0) {
        SetWeaponModel(place, kWeaponLaser);
        weapon.showsLaserModel = 1;
    }
}

void Vorn::FireWeaponAction(float time, Weapon& weapon, const Vector3& target, bool aimHigh) {
    if (!weapon.IsReloading()) {
        const Game* game = TheGame();
        if (game == nullptr || game->IsWeaponAllowed(weapon.kind)) {
            FireWeapon(time, weapon, AimPointFor(weapon.kind, target), aimHigh, -1, 0, nullptr);
            // Only a shot the peers are sent shows a start: one dropped or not allowed is
            // never sent, nor is a kick (the ball's own moves tell the peers of it).
            if (weapon.kind != kWeaponKicker) ShowPatternStart(currentAction);
        }
        NextAction();
        return;
    }
    if (weapon.WaitsForReload()) {
        SpendTime(speedFactor * timeBudget < weapon.reloadTimer ? timeBudget : weapon.reloadTimer);
    } else {
        NextAction();
    }
    if (animationState != kAnimIdle) {
        SetAnimationState(kAnimIdle);
    }
}

void Vorn::FireWeapon(float time, Weapon& weapon, const Vector3& aimPoint, bool aimHigh, int32_t shotId,
                      uint8_t shotFlag, const Vector3Array* shotData) {
    AimWeaponPlace(weapon, aimHigh, aimPoint);
    weapon.Fire(time, aimPoint, aimHigh, shotId, shotFlag, shotData);
    if (!weapon.IsOutOfAmmo() || weapon.kind == kWeaponLaser) {
        return;
    }
    if (weapon.kind == kWeaponPropeller) {
        weapon.laserModelDue = 1;
        return;
    }
    SetWeaponModel(static_cast<int32_t>(&weapon - weapons), kWeaponLaser);
    weapon.showsLaserModel = 1;
}

void Vorn::NextAction() {
    if (IsCurrentGameClient()) {
        if (currentAction != nullptr) {
            gArena->FreeVornAction(currentAction);
        }
        currentAction = nullptr;
        return;
    }
    if (actionQueue.IsEmpty()) {
        currentAction = nullptr;
        return;
    }
    gArena->FreeVornAction(actionQueue[0]);
    actionQueue.RemoveAt(0);
    currentAction = actionQueue.IsEmpty() ? nullptr : actionQueue[0];
}

void Vorn::ClearActionQueue() {
    bool currentQueued = false;
    for (VornAction* action : actionQueue) {
        currentQueued = currentQueued || action == currentAction;
        gArena->FreeVornAction(action);
    }
    if (currentAction != nullptr && !currentQueued) {
        gArena->FreeVornAction(currentAction);
    }
    actionQueue.Clear();
    currentAction = nullptr;
}

void Vorn::SetCurrentPattern(Pattern* pattern) {
    currentPattern = pattern;
    ClearActionQueue();
}

void Vorn::ChoosePattern() {
    if (!HasEnabledPattern()) {
        currentPattern = nullptr;
    } else {
        UpdateInWaterOrStaticField();
        if (gPatternMatcher != nullptr) {
            gPatternMatcher->Evaluate(*this);
        }
        choseThisTick = 1;
        currentAction = actionQueue.IsEmpty() ? nullptr : actionQueue[0];
    }
    Game* game = TheGame();
    if (game != nullptr && game->selectedVorn == this) {
        game->selectedVornChosePattern = 1;
    }
}

VornAction* Vorn::QueueRecord(int32_t actionKind) {
    VornAction* record = gArena->NewVornAction();
    record->kind = actionKind;
    record->startPosition = position;
    record->startHeading = heading;
    actionQueue.Append(record);
    record->firstOfPattern = actionQueue.Count() == 1 ? 1 : 0;
    return record;
}

void Vorn::QueuePatternActions(const Array<PathPoint*>& path) {
    ClearActionQueue();
    for (int i = 0; i < path.Count(); ++i) {
        for (const Action* action : path[i]->actions) {
            // A slot without an action (or with a kind from nowhere) queues nothing.
            if (action->kind < 0 || action->kind >= kActionKindCount) {
                continue;
            }
            VornAction* record = QueueRecord(action->kind + 1);
            if (record->kind == VornAction::kTurnToFace) {
                record->pointA = position;
                record->pointB = action->worldPoint;
            } else if (record->IsFire()) {
                record->pointA = action->worldPoint;
            } else if (record->kind == VornAction::kSetTimer) {
                record->timerValue = action->seconds;
            }
        }
        if (i + 1 < path.Count()) {
            QueueWalk(*path[i], *path[i + 1]);
        }
    }
    // The queue's head is the current action wherever the queue was built from.
    currentAction = actionQueue.IsEmpty() ? nullptr : actionQueue[0];
}

void Vorn::QueueWalk(const PathPoint& from, const PathPoint& to) {
    VornAction* record = QueueRecord(VornAction::kWalk);
    record->startPosition = from.worldPosition;
    record->pointA = to.worldPosition;
    if (to.HasFacing()) {
        record->pointB = to.worldFacing;
        return;
    }
    // Without a facing handle the unit keeps facing the way it walked.
    const Vector3 a = gArena->NearestImage(position, to.worldPosition);
    const Vector3 b = gArena->NearestImage(position, from.worldPosition);
    const Vector2 d(a.x - b.x, a.y - b.y);
    const float length = d.Length();
    record->pointB =
        FloatNearZero(length) ? to.worldPosition : to.worldPosition + Vector3(d.x / length, d.y / length, 0.0f);
}

bool Vorn::SpendTimeRunning(float seconds) {
    SetTimeBudget(timeBudget - seconds);
    UpdateWeapons(seconds);
    if (setTimer > 0.0f) {
        setTimer -= seconds;
        // The timer counts as expired one step early, when what is left fits in a step.
        if (setTimer <= seconds) {
            conditionals[kTimerExpired] = 1;
        }
    }
    conditionals[kTimerRunning] = setTimer > 0.0f ? 1 : 0;
    return conditionals[kTimerRunning] != 0;
}

void Vorn::UpdateWeapons(float seconds) {
    const Game* game = TheGame();
    if (game != nullptr && game->IsSimulationPaused()) {
        return;
    }
    for (Weapon& weapon : weapons) {
        weapon.Update(seconds * speedFactor);
    }
    conditionals[kReloading1] = weapons[0].IsReloading() ? 1 : 0;
    conditionals[kOutOfAmmo1] = weapons[0].IsOutOfAmmo() ? 1 : 0;
    conditionals[kReloading2] = weapons[1].IsReloading() ? 1 : 0;
    conditionals[kOutOfAmmo2] = weapons[1].IsOutOfAmmo() ? 1 : 0;
}

void Vorn::BeginAction(VornAction* action) {
    ApplyGroundEffects();
    actionBegunThisFrame = 1;
    if (currentAction != nullptr && currentAction != action) {
        NextAction();
    }
    currentAction = action;
    if (action->firstOfPattern != 0) {
        // Received before the update, shown by it: the server's unit starts its fade
        // after its timers moved, in the tick it performs the action.
        teleportFadeDue = 1;
        action->firstOfPattern = 0;
    }
    if (action->sent == 0) {
        PlaceAt(action->startPosition);
        SetAngle(action->startHeading);
        // Where the server's unit stood: a replayed step that gives up returns here, as
        // the server's own steps return to where they began.
        SavePreviousState();
    }
    switch (action->kind) {
        case VornAction::kWalk:
        case VornAction::kTurnToFace: ReplayStep(action); break;
        case VornAction::kFire1:
        case VornAction::kFire2:
        case VornAction::kFire1Up:
        case VornAction::kFire2Up: BeginFireAction(action); break;
        default:
            ApplyInstantAction(action, true);
            NextAction();
            break;
    }
    SetTimeBudget(0.0f);
    UpdateInWaterOrStaticField();
}

// Read where the unit decides: when it chooses a pattern, or when a client applies a
// received action.
void Vorn::UpdateInWaterOrStaticField() {
    const int32_t ground = gArena->GetTerrainType(position.x, position.y);
    inWaterOrStaticField = inStaticFieldThisTick != 0 || IsWaterTerrain(ground) ? 1 : 0;
}

// A received walk or turn runs for the part of the frame after its time stamp, kept
// within a frame and a half second so that a stamp from the future or a stale one
// neither walks backwards nor jumps.
void Vorn::ReplayStep(VornAction* action) {
    const Game* game = TheGame();
    const float frame = FrameTime();
    if (action->sent == 0) {
        const float clock = game != nullptr ? game->clock : 0.0f;
        const float budget = frame - (action->timeStamp - clock);
        SetTimeBudget(std::isfinite(budget) ? std::clamp(budget, 0.0f, frame + kMaxReplayLag) : 0.0f);
        action->sent = 1;
    } else {
        SetTimeBudget(frame);
    }
    if (action->kind == VornAction::kWalk) {
        StepWalk(action);
    } else {
        StepTurn(action);
    }
}

void Vorn::BeginFireAction(VornAction* action) {
    const bool fired = FireActionWeapon(action, [&](Weapon& weapon, bool aimHigh) {
        FireWeapon(action->timeStamp, weapon, action->pointA, aimHigh, action->shotId, action->shotFlag,
                   &action->shotData);
    });
    if (fired) {
        NextAction();
    }
}

void Vorn::ApplyGroundEffects() {
    if (!onGround) {
        return;
    }
    const int32_t ground = gArena->GetTerrainType(position.x, position.y);
    Game* game = TheGame();
    if (IsLavaTerrain(ground) && !IsCurrentGameClient()) {
        const float amount = FrameTime();
        TakeDamage(owner, position, amount, 1);
        if (game != nullptr && game->IsNetworkServer()) {
            game->OnHealthChanged(this, owner, position, amount, 1);
        }
    }
    if (IsSlowTerrain(ground)) {
        speedFactor *= kSlowGroundFactor;
    }
    if (carryingBall != 0) {
        speedFactor *= kBallCarryFactor;
    }
    if (animationState == kAnimKick || animationState == kAnimFlying) {
        SetAnimationState(kAnimIdle);
    }
}

void Vorn::HoldArenaForWatchedUnit() {
    const float used = FrameTime() - timeBudget;
    const int index = gArena->FindObjectIndex(this);
    for (int i = 0; i < gArena->ObjectCount(); ++i) {
        WorldObject* object = gArena->ObjectAt(i);
        if (i < index) {
            object->startDelay = timeBudget;
        } else if (i > index) {
            object->SetTimeBudget(used);
        }
    }
    SetTimeBudget(0.0f);
    SpendTime(0.0f);
}

void Vorn::IdleWithoutPattern() {
    const bool won = owner != nullptr && owner->won != 0;
    const int32_t newMood = won ? 1 : 2;
    const int32_t pose = won ? kAnimVictoryWaiting : kAnimDefeatWaiting;
    SetMood(newMood, kEndPoseMoodSeconds);
    if (animationState != pose) {
        SetAnimationState(pose);
        PickIdleDelay();
    }
    endPoseSet = 1;
}

void Vorn::ClearOneShotConditionals() {
    conditionals[kInjured] = 0;
    conditionals[kTimerExpired] = 0;
}

void Vorn::StartTeleportFade() { teleportFadeTimer = kTeleportFadeSeconds; }

void Vorn::ShowPatternStart(VornAction* action) {
    if (action == nullptr || action->firstOfPattern == 0) {
        return;
    }
    action->firstOfPattern = 0;
    StartTeleportFade();
}
