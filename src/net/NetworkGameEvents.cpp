// The network game's battle events: the serving game turns the world's hooks into timed
// messages, and a client applies them when its clock reaches their stamps.
#include <algorithm>
#include <unordered_map>

#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "net/NetworkGame.h"
#include "units/Vorn.h"
#include "units/VornAction.h"
#include "world/Arena.h"
#include "world/Debris.h"
#include "world/ExplosionField.h"
#include "world/Meteor.h"
#include "world/ObjectKind.h"
#include "world/ScorchMark.h"
#include "world/SoccerBall.h"

namespace {

using Kind = NetworkEventKind;

// A catch-up never spends more than the frame and half a second more.
constexpr float kMaxCatchUpSeconds = 0.5f;

template <typename T>
T* FindById(int kind, uint32_t id) {
    if (gArena == nullptr) return nullptr;
    return static_cast<T*>(gArena->FindObjectByKindAndId(kind, static_cast<int>(id)));
}

float ArenaSize() { return gArena != nullptr ? std::max(gArena->WorldWidth(), gArena->WorldHeight()) : 0.0f; }

bool IsSignal(Kind kind) { return kind >= Kind::Signal1On && kind <= Kind::Signal2Off; }

}  // namespace

void NetworkGame::Send(NetworkEvent& event, float time) {
    event.time = time;
    networker_.SendTimedEvent(event);
}

// --- the hooks (serving only)

void NetworkGame::OnDebrisSpawned(Vorn* vorn, int32_t, const Array<Debris*>& debris) {
    if (!IsNetworkServer() || vorn == nullptr) return;
    outgoing_.Reset();
    outgoing_.kind = Kind::Debris;
    outgoing_.objectId = static_cast<uint32_t>(vorn->id);
    outgoing_.vectorA = vorn->position;
    for (const Debris* piece : debris) {
        outgoing_.listA.push_back(piece->position);
        outgoing_.listB.push_back(piece->velocity);
    }
    Send(outgoing_, vorn->CurrentTime());
}

void NetworkGame::OnHealthChanged(WorldObject* object, Player* attacker, const Vector3& point, float amount,
                                  int32_t code) {
    if (!IsNetworkServer() || object == nullptr || code < 0 || code > 3) return;
    outgoing_.Reset();
    outgoing_.kind = static_cast<Kind>(static_cast<uint32_t>(Kind::DamageHeal) + static_cast<uint32_t>(code));
    outgoing_.value = static_cast<uint32_t>(object->id);
    outgoing_.player = AddressOf(attacker);
    outgoing_.vectorA = point;
    outgoing_.float2 = amount;
    Send(outgoing_, object->CurrentTime());
}

void NetworkGame::OnObjectDestroyed(WorldObject* object) {
    if (!IsNetworkServer() || object == nullptr || networker_.State() != SessionState::ServerPlaying) return;
    outgoing_.Reset();
    outgoing_.kind = Kind::ObjectDestroyed;
    outgoing_.value = static_cast<uint32_t>(object->id);
    outgoing_.player = AddressOf(object->lastAttacker);
    Send(outgoing_, clock + frameTime);
}

void NetworkGame::OnScorchMark(ScorchMark* scorch) {
    if (!IsNetworkServer() || scorch == nullptr) return;
    outgoing_.Reset();
    outgoing_.kind = Kind::ScorchMark;
    outgoing_.vectorA = scorch->position;
    outgoing_.float1 = scorch->size;
    Send(outgoing_, scorch->CurrentTime());
}

void NetworkGame::OnVornAction(Vorn* vorn, const Vector3& position, VornAction* action, float vornTime) {
    if (!IsNetworkServer() || vorn == nullptr || action == nullptr || action->sent) return;
    action->timeStamp = vornTime;
    action->vornId = vorn->id;
    action->startPosition = position;
    action->startHeading = vorn->heading;
    action->sent = 1;
    outgoing_.Reset();
    outgoing_.kind = Kind::VornAction;
    outgoing_.actionKind = static_cast<uint32_t>(action->kind);
    outgoing_.objectId = static_cast<uint32_t>(vorn->id);
    outgoing_.actionFlag = action->firstOfPattern;
    outgoing_.vectorA = position;
    outgoing_.actionValue = vorn->heading;
    outgoing_.vectorB = action->pointA;
    outgoing_.vectorD = action->pointB;
    outgoing_.value = static_cast<uint32_t>(action->shotId);
    outgoing_.weaponFlag = action->shotFlag;
    outgoing_.float1 = action->timerValue;
    outgoing_.listA.assign(action->shotData.begin(), action->shotData.end());
    Send(outgoing_, vornTime);
}

void NetworkGame::OnBlastAdded(ExplosionField* explosion) {
    if (!IsNetworkServer() || explosion == nullptr) return;
    outgoing_.Reset();
    outgoing_.kind = Kind::Explosion;
    outgoing_.player = AddressOf(explosion->owner);
    outgoing_.vectorA = explosion->position;
    outgoing_.float1 = explosion->GetRadius();
    outgoing_.vectorB = explosion->direction;
    Send(outgoing_, explosion->CurrentTime());
}

void NetworkGame::OnMeteorAdded(Meteor* meteor, int32_t, float, int32_t) {
    if (!IsNetworkServer() || meteor == nullptr) return;
    outgoing_.Reset();
    outgoing_.kind = Kind::Meteor;
    outgoing_.vectorA = meteor->position;
    outgoing_.vectorC = meteor->velocity;
    outgoing_.float2 = meteor->speed;
    outgoing_.float1 = meteor->scale;
    Send(outgoing_, meteor->CurrentTime());
}

void NetworkGame::OnBallSpawned(SoccerBall* ball) {
    Game::OnBallSpawned(ball);
    if (!IsNetworkServer() || ball == nullptr) return;
    outgoing_.Reset();
    outgoing_.kind = Kind::BallSpawned;
    outgoing_.value = static_cast<uint32_t>(ball->id);
    outgoing_.vectorA = ball->position;
    Send(outgoing_, ball->CurrentTime());
}

void NetworkGame::OnBallPickedUp(Vorn* vorn, SoccerBall* ball, float vornTime) {
    Game::OnBallPickedUp(vorn, ball, vornTime);
    if (!IsNetworkServer() || vorn == nullptr || ball == nullptr) return;
    outgoing_.Reset();
    outgoing_.kind = Kind::BallPickedUp;
    outgoing_.objectId = static_cast<uint32_t>(vorn->id);
    outgoing_.value = static_cast<uint32_t>(ball->id);
    Send(outgoing_, vornTime);
}

void NetworkGame::OnBallPutInPlay(Vorn* vorn, SoccerBall* ball, float vornTime) {
    Game::OnBallPutInPlay(vorn, ball, vornTime);
    if (!IsNetworkServer() || vorn == nullptr || ball == nullptr) return;
    outgoing_.Reset();
    outgoing_.kind = Kind::BallReleased;
    outgoing_.objectId = static_cast<uint32_t>(vorn->id);
    outgoing_.value = static_cast<uint32_t>(ball->id);
    outgoing_.vectorA = ball->position;
    outgoing_.vectorC = ball->velocity;
    Send(outgoing_, vornTime);
}

// Only the server runs the stuck kick and the contacts between units, so a client's
// airborne units drift from the server's: each take-off, bounce, kick and landing is sent
// with where the unit is and how it moves.
void NetworkGame::ReportAirborneChanges() {
    if (!IsNetworkServer() || gArena == nullptr) return;
    std::unordered_map<int32_t, AirState> now;
    for (WorldObject* object : gArena->Objects()) {
        if (object->kind != kKindVorn || object->removed) continue;
        const auto& unit = *static_cast<const Vorn*>(object);
        const AirState state{!unit.onGround, unit.stuckCount};
        now[unit.id] = state;
        const auto before = airStates_.find(unit.id);
        const AirState previous = before != airStates_.end() ? before->second : AirState{};
        if (state.airborne == previous.airborne && (!state.airborne || state.bounces == previous.bounces)) continue;
        outgoing_.Reset();
        outgoing_.kind = Kind::AirborneUpdate;
        outgoing_.objectId = static_cast<uint32_t>(unit.id);
        outgoing_.vectorA = unit.position;
        outgoing_.vectorC = unit.velocity;
        Send(outgoing_, unit.CurrentTime());
    }
    airStates_ = std::move(now);
}

void NetworkGame::OnBallUpdate(SoccerBall* ball) {
    Game::OnBallUpdate(ball);
    if (!IsNetworkServer() || ball == nullptr) return;
    outgoing_.Reset();
    outgoing_.kind = Kind::BallUpdate;
    outgoing_.value = static_cast<uint32_t>(ball->id);
    outgoing_.vectorA = ball->position;
    outgoing_.vectorC = ball->velocity;
    Send(outgoing_, ball->CurrentTime());
}

void NetworkGame::OnGoalScored(Player* kicker, Player* goalOwner, SoccerBall* ball) {
    Game::OnGoalScored(kicker, goalOwner, ball);
    if (!IsNetworkServer() || ball == nullptr) return;
    outgoing_.Reset();
    outgoing_.kind = Kind::GoalScored;
    outgoing_.player = AddressOf(kicker);
    outgoing_.secondPlayer = AddressOf(goalOwner);
    outgoing_.value = static_cast<uint32_t>(ball->id);
    outgoing_.vectorA = ball->position;
    Send(outgoing_, ball->CurrentTime());
}

void NetworkGame::OnSignalChanged(Player* player, int32_t which, uint8_t value) {
    if (!IsNetworkServer() || player == nullptr) return;
    outgoing_.Reset();
    if (which == 0)
        outgoing_.kind = value ? Kind::Signal1On : Kind::Signal1Off;
    else
        outgoing_.kind = value ? Kind::Signal2On : Kind::Signal2Off;
    outgoing_.player = AddressOf(player);
    Send(outgoing_, clock);
}

void NetworkGame::RequestSignal(Player* player, int32_t which, uint8_t value) {
    if (IsNetworkClient()) {
        networker_.SendSignalRequest(static_cast<uint32_t>(which), value != 0);
        return;
    }
    if (player == nullptr) return;
    if (which == 0)
        player->SetSignal1(value != 0);
    else
        player->SetSignal2(value != 0);
    OnSignalChanged(player, which, value);
}

// --- applying (client)

void NetworkGame::Apply(const NetworkEvent& event) {
    if (gArena == nullptr) return;
    switch (event.kind) {
        case Kind::VornAction: {
            Vorn* unit = FindById<Vorn>(kKindVorn, event.objectId);
            if (unit == nullptr) return;
            VornAction* action = gArena->NewVornAction();
            action->kind = static_cast<int32_t>(event.actionKind);
            action->vornId = static_cast<int32_t>(event.objectId);
            action->startPosition = event.vectorA;
            action->startHeading = event.actionValue;
            action->pointA = event.vectorB;
            action->pointB = event.vectorD;
            action->timerValue = event.float1;
            action->shotId = static_cast<int32_t>(event.value);
            action->shotFlag = event.weaponFlag;
            action->firstOfPattern = event.actionFlag;
            action->shotData.Clear();
            for (const Vector3& point : event.listA) action->shotData.Append(point);
            action->timeStamp = std::max(event.time, clock - kMaxCatchUpSeconds);
            action->received = 1;
            unit->BeginAction(action);
            return;
        }
        case Kind::DamageHeal:
        case Kind::DamageBlast:
        case Kind::DamageFlame:
        case Kind::DamageOther: {
            WorldObject* object = gArena->FindObjectById(static_cast<int>(event.value));
            if (object == nullptr) return;
            if (event.float2 < 0.0f) {
                object->SetHealth(-event.float2);
                return;
            }
            object->TakeDamage(PlayerAt(event.player), event.vectorA, event.float2,
                               static_cast<int>(event.kind) - static_cast<int>(Kind::DamageHeal));
            return;
        }
        case Kind::ObjectDestroyed: {
            WorldObject* object = gArena->FindObjectById(static_cast<int>(event.value));
            if (object == nullptr) return;
            object->lastAttacker = PlayerAt(event.player);
            object->Remove(0);
            if (object->active) gArena->RemoveObject(object, false);
            return;
        }
        case Kind::Explosion: {
            ExplosionField* blast = gArena->NewExplosionField();
            const float radius = std::clamp(event.float1, 0.0f, ArenaSize());
            blast->Start(PlayerAt(event.player), event.vectorA, 0.0f, radius, radius, event.vectorB, 0);
            gArena->AddObject(blast);
            return;
        }
        case Kind::Debris: {
            Vorn* unit = FindById<Vorn>(kKindVorn, event.objectId);
            if (unit == nullptr) return;
            Vector3Array positions;
            Vector3Array velocities;
            for (const Vector3& point : event.listA) positions.Append(point);
            for (const Vector3& speed : event.listB) velocities.Append(speed);
            gArena->SpawnDebrisFromModel(unit, 0, &positions, &velocities);
            return;
        }
        case Kind::ScorchMark:
            gArena->AddScorchMark(event.vectorA, std::clamp(event.float1, 0.0f, ArenaSize()));
            return;
        case Kind::Meteor: gArena->AddMeteor(event.vectorA, event.vectorC, event.float2, event.float1); return;
        case Kind::Results: ApplyResults(event); return;
        case Kind::FlushObjects:
            gArena->RemoveFlaggedObjects(false);
            gArena->FlushObjectPools();
            return;
        case Kind::AirborneUpdate: {
            Vorn* unit = FindById<Vorn>(kKindVorn, event.objectId);
            if (unit == nullptr) return;
            unit->PlaceAt(event.vectorA);
            unit->SetVelocity(event.vectorC);
            unit->SetTimeBudget(std::clamp(frameTime - (event.time - clock), 0.0f, frameTime + kMaxCatchUpSeconds));
            if (!(event.vectorC == Vector3())) {
                unit->AirborneStep();
                return;
            }
            // Still in the air (held there at its launch, say): it waits there, as the
            // server's does, until the server sends it moving.
            if (!unit->onGround) return;
            // The server's unit came down here: it stands, as a landing leaves it.
            unit->stuckCount = 0;
            if (unit->animationState != Vorn::kAnimIdle) unit->SetAnimationState(Vorn::kAnimIdle);
            return;
        }
        default:
            if (IsSignal(event.kind)) {
                Player* player = PlayerAt(event.player);
                if (player == nullptr) return;
                const bool on = event.kind == Kind::Signal1On || event.kind == Kind::Signal2On;
                if (event.kind == Kind::Signal1On || event.kind == Kind::Signal1Off)
                    player->SetSignal1(on);
                else
                    player->SetSignal2(on);
                return;
            }
            ApplyBallEvent(event);
            return;
    }
}

void NetworkGame::ApplyBallEvent(const NetworkEvent& event) {
    switch (event.kind) {
        case Kind::BallSpawned: {
            SoccerBall* ball = gArena->NewSoccerBall();
            gArena->AddObject(ball);
            ball->id = static_cast<int32_t>(event.value);
            ball->PlaceAt(event.vectorA);
            return;
        }
        case Kind::BallPickedUp: {
            Vorn* unit = FindById<Vorn>(kKindVorn, event.objectId);
            SoccerBall* ball = FindById<SoccerBall>(kKindSoccerBall, event.value);
            if (unit != nullptr && ball != nullptr) unit->PickUpBall(ball);
            return;
        }
        case Kind::BallReleased: {
            Vorn* unit = FindById<Vorn>(kKindVorn, event.objectId);
            if (unit == nullptr) return;
            SoccerBall* ball = gArena->NewSoccerBall();
            ball->id = static_cast<int32_t>(event.value);
            unit->PutBallInPlay(ball, unit->owner, event.vectorA, event.vectorC, event.actionFlag != 0);
            ball->id = static_cast<int32_t>(event.value);
            return;
        }
        case Kind::BallUpdate: {
            SoccerBall* ball = FindById<SoccerBall>(kKindSoccerBall, event.value);
            if (ball == nullptr) return;
            ball->PlaceAt(event.vectorA);
            ball->SetVelocity(event.vectorC);
            ball->SetTimeBudget(std::clamp(frameTime - (event.time - clock), 0.0f, frameTime + kMaxCatchUpSeconds));
            return;
        }
        case Kind::GoalScored: {
            SoccerBall* ball = FindById<SoccerBall>(kKindSoccerBall, event.value);
            if (ball == nullptr) return;
            ball->lastKicker = PlayerAt(event.player);
            ball->PlaceAt(event.vectorA);
            ball->ScoreGoal(PlayerAt(event.secondPlayer));
            return;
        }
        default: return;
    }
}

void NetworkGame::ApplyResults(const NetworkEvent& event) {
    for (const NetworkResult& result : event.results) {
        SessionPlayer* player = networker_.FindPlayer(result.player);
        if (player == nullptr || player->record == nullptr) continue;
        Player& record = *player->record;
        record.won = result.winner;
        record.kills = static_cast<int32_t>(std::min<uint32_t>(result.kills, INT32_MAX));
        record.losses = static_cast<int32_t>(std::min<uint32_t>(result.losses, INT32_MAX));
        record.goalCount = static_cast<int32_t>(std::min<uint32_t>(result.goals, INT32_MAX));
        record.vornsAlive = static_cast<int32_t>(std::min<uint32_t>(result.unitsAlive, INT32_MAX));
        player->greatestHeight = result.greatestHeight;
        record.greatestHeight = result.greatestHeight;
    }
    SetScoringSuspended(true);
    endDelay_ = kEndDelaySeconds;
    PlaySound(GetLocalPlayer().won ? "Win.ogg" : "Lose.ogg");
}
