#include "net/NetworkEventCodec.h"

#include "net/MessageCode.h"
#include "platform/net/NetLimits.h"

namespace NetworkEventCodec {
namespace {

using Kind = NetworkEventKind;

constexpr size_t kVectorBytes = 12;
constexpr size_t kResultBytes = 6 + 1 + 4 * 4 + 4;

bool IsAimedAction(uint32_t actionKind) { return actionKind >= 10 && actionKind <= 13; }
bool IsMoveAction(uint32_t actionKind) { return actionKind <= 1; }
constexpr uint32_t kSetTimerAction = 15;

void PutPoints(const std::vector<Vector3>& points, MessageWriter& out) {
    out.PutU32(static_cast<uint32_t>(points.size()));
    for (const Vector3& point : points) out.PutVector(point);
}

void WriteAction(const NetworkEvent& event, MessageWriter& out) {
    out.PutU32(event.actionKind);
    out.PutU32(event.objectId);
    out.PutU8(event.actionFlag);
    out.PutVector(event.vectorA);
    out.PutF32(event.actionValue);
    if (IsMoveAction(event.actionKind)) {
        out.PutVector(event.vectorB);
        out.PutVector(event.vectorD);
    } else if (IsAimedAction(event.actionKind)) {
        out.PutVector(event.vectorB);
        out.PutU32(event.value);
        out.PutU8(event.weaponFlag);
        PutPoints(event.listA, out);
    } else if (event.actionKind == kSetTimerAction) {
        out.PutF32(event.float1);
    }
}

void WriteResults(const NetworkEvent& event, MessageWriter& out) {
    out.PutU32(static_cast<uint32_t>(event.results.size()));
    for (const NetworkResult& result : event.results) {
        out.PutAddress(result.player);
        out.PutU8(result.winner);
        out.PutU32(result.kills);
        out.PutU32(result.losses);
        out.PutU32(result.goals);
        out.PutU32(result.unitsAlive);
        out.PutF32(result.greatestHeight);
    }
}

// The code of the event's message, or 0xFF when the kind has none.
uint8_t CodeOf(const NetworkEvent& event) {
    const uint32_t kind = static_cast<uint32_t>(event.kind);
    switch (event.kind) {
        case Kind::VornAction: return CodeByte(MessageCode::VornAction);
        case Kind::DamageHeal:
        case Kind::DamageBlast:
        case Kind::DamageFlame:
        case Kind::DamageOther: return static_cast<uint8_t>(CodeByte(MessageCode::Damage) + kind - 1);
        case Kind::ObjectDestroyed: return CodeByte(MessageCode::ObjectDestroyed);
        case Kind::Explosion: return CodeByte(MessageCode::Explosion);
        case Kind::Debris: return CodeByte(MessageCode::Debris);
        case Kind::ScorchMark: return CodeByte(MessageCode::ScorchMark);
        case Kind::Meteor: return CodeByte(MessageCode::Meteor);
        case Kind::BallSpawned: return CodeByte(MessageCode::BallSpawned);
        case Kind::BallPickedUp: return CodeByte(MessageCode::BallPickedUp);
        case Kind::BallReleased: return CodeByte(MessageCode::BallReleased);
        case Kind::BallUpdate: return CodeByte(MessageCode::BallUpdate);
        case Kind::GoalScored: return CodeByte(MessageCode::GoalScored);
        case Kind::Results: return CodeByte(MessageCode::Results);
        case Kind::Signal1On:
        case Kind::Signal1Off:
        case Kind::Signal2On:
        case Kind::Signal2Off: return CodeByte(MessageCode::Signal);
        case Kind::FlushObjects: return CodeByte(MessageCode::FlushObjects);
        case Kind::AirborneUpdate: return CodeByte(MessageCode::AirborneUpdate);
        default: return 0xFF;
    }
}

void WriteFields(uint8_t code, const NetworkEvent& event, MessageWriter& out) {
    switch (static_cast<MessageCode>(code)) {
        case MessageCode::VornAction: WriteAction(event, out); return;
        case MessageCode::Explosion:
            out.PutAddress(event.player);
            out.PutVector(event.vectorA);
            out.PutF32(event.float1);
            out.PutVector(event.vectorB);
            out.PutF32(event.float2);
            return;
        case MessageCode::Debris:
            out.PutU32(event.objectId);
            out.PutVector(event.vectorA);
            out.PutU32(static_cast<uint32_t>(event.listA.size()));
            for (size_t i = 0; i < event.listA.size(); ++i) {
                out.PutVector(event.listA[i]);
                out.PutVector(i < event.listB.size() ? event.listB[i] : Vector3());
            }
            return;
        case MessageCode::ScorchMark:
            out.PutVector(event.vectorA);
            out.PutF32(event.float1);
            return;
        case MessageCode::ObjectDestroyed:
            out.PutAddress(event.player);
            out.PutU32(event.value);
            return;
        case MessageCode::Meteor:
            out.PutVector(event.vectorA);
            out.PutVector(event.vectorC);
            out.PutF32(event.float2);
            out.PutF32(event.float1);
            return;
        case MessageCode::BallSpawned:
            out.PutU32(event.value);
            out.PutVector(event.vectorA);
            return;
        case MessageCode::BallPickedUp:
            out.PutU32(event.objectId);
            out.PutU32(event.value);
            return;
        case MessageCode::BallReleased:
            out.PutU32(event.objectId);
            out.PutU32(event.value);
            out.PutVector(event.vectorA);
            out.PutVector(event.vectorC);
            out.PutU8(event.actionFlag);
            return;
        case MessageCode::BallUpdate:
            out.PutU32(event.value);
            out.PutVector(event.vectorA);
            out.PutVector(event.vectorC);
            return;
        case MessageCode::GoalScored:
            out.PutAddress(event.player);
            out.PutAddress(event.secondPlayer);
            out.PutU32(event.value);
            out.PutVector(event.vectorA);
            return;
        case MessageCode::Results: WriteResults(event, out); return;
        case MessageCode::Signal: {
            const bool second = event.kind == Kind::Signal2On || event.kind == Kind::Signal2Off;
            const bool on = event.kind == Kind::Signal1On || event.kind == Kind::Signal2On;
            out.PutAddress(event.player);
            out.PutU32(second ? 1 : 0);
            out.PutU8(on ? 1 : 0);
            return;
        }
        case MessageCode::AirborneUpdate:
            out.PutU32(event.objectId);
            out.PutVector(event.vectorA);
            out.PutVector(event.vectorC);
            return;
        case MessageCode::FlushObjects: return;
        default:  // the damage codes
            out.PutU32(event.value);
            out.PutAddress(event.player);
            out.PutVector(event.vectorA);
            out.PutF32(event.float2);
            return;
    }
}

bool ReadPoints(MessageReader& in, std::vector<Vector3>& points) {
    const uint32_t count = in.ReadU32();
    if (count > kMaxListPoints || !in.CanHold(count, kVectorBytes)) {
        in.Fail();
        return false;
    }
    points.resize(count);
    for (Vector3& point : points) point = in.ReadVector();
    return !in.Failed();
}

bool ReadAction(MessageReader& in, NetworkEvent& event) {
    event.kind = Kind::VornAction;
    event.actionKind = in.ReadU32();
    if (event.actionKind > kMaxActionKind) {
        in.Fail();
        return false;
    }
    event.objectId = in.ReadU32();
    event.actionFlag = in.ReadU8();
    event.vectorA = in.ReadVector();
    event.actionValue = in.ReadF32();
    if (IsMoveAction(event.actionKind)) {
        event.vectorB = in.ReadVector();
        event.vectorD = in.ReadVector();
    } else if (IsAimedAction(event.actionKind)) {
        event.vectorB = in.ReadVector();
        event.value = in.ReadU32();
        event.weaponFlag = in.ReadU8();
        ReadPoints(in, event.listA);
    } else if (event.actionKind == kSetTimerAction) {
        event.float1 = in.ReadF32();
    }
    return !in.Failed();
}

bool ReadDebris(MessageReader& in, NetworkEvent& event) {
    event.kind = Kind::Debris;
    event.objectId = in.ReadU32();
    event.vectorA = in.ReadVector();
    const uint32_t count = in.ReadU32();
    if (count > kMaxListPoints || !in.CanHold(count, 2 * kVectorBytes)) {
        in.Fail();
        return false;
    }
    event.pieceCount = count;
    event.listA.resize(count);
    event.listB.resize(count);
    for (uint32_t i = 0; i < count; ++i) {
        event.listA[i] = in.ReadVector();
        event.listB[i] = in.ReadVector();
    }
    return !in.Failed();
}

bool ReadResults(MessageReader& in, NetworkEvent& event) {
    event.kind = Kind::Results;
    const uint32_t count = in.ReadU32();
    if (count > static_cast<uint32_t>(sock::kMaxNetworkPlayers) || !in.CanHold(count, kResultBytes)) {
        in.Fail();
        return false;
    }
    event.results.resize(count);
    for (NetworkResult& result : event.results) {
        result.player = in.ReadAddress();
        result.winner = in.ReadU8();
        result.kills = in.ReadU32();
        result.losses = in.ReadU32();
        result.goals = in.ReadU32();
        result.unitsAlive = in.ReadU32();
        result.greatestHeight = in.ReadF32();
    }
    return !in.Failed();
}

bool ReadSignal(MessageReader& in, NetworkEvent& event) {
    event.player = in.ReadAddress();
    const bool second = in.ReadU32() != 0;
    const bool on = in.ReadU8() != 0;
    if (second)
        event.kind = on ? Kind::Signal2On : Kind::Signal2Off;
    else
        event.kind = on ? Kind::Signal1On : Kind::Signal1Off;
    return !in.Failed();
}

bool ReadFields(uint8_t code, MessageReader& in, NetworkEvent& event) {
    switch (static_cast<MessageCode>(code)) {
        case MessageCode::VornAction: return ReadAction(in, event);
        case MessageCode::Debris: return ReadDebris(in, event);
        case MessageCode::Results: return ReadResults(in, event);
        case MessageCode::Signal: return ReadSignal(in, event);
        case MessageCode::Explosion:
            event.kind = Kind::Explosion;
            event.player = in.ReadAddress();
            event.vectorA = in.ReadVector();
            event.float1 = in.ReadF32();
            event.vectorB = in.ReadVector();
            event.float2 = in.ReadF32();
            break;
        case MessageCode::ScorchMark:
            event.kind = Kind::ScorchMark;
            event.vectorA = in.ReadVector();
            event.float1 = in.ReadF32();
            break;
        case MessageCode::ObjectDestroyed:
            event.kind = Kind::ObjectDestroyed;
            event.player = in.ReadAddress();
            event.value = in.ReadU32();
            break;
        case MessageCode::Meteor:
            event.kind = Kind::Meteor;
            event.vectorA = in.ReadVector();
            event.vectorC = in.ReadVector();
            event.float2 = in.ReadF32();
            event.float1 = in.ReadF32();
            break;
        case MessageCode::BallSpawned:
            event.kind = Kind::BallSpawned;
            event.value = in.ReadU32();
            event.vectorA = in.ReadVector();
            break;
        case MessageCode::BallPickedUp:
            event.kind = Kind::BallPickedUp;
            event.objectId = in.ReadU32();
            event.value = in.ReadU32();
            break;
        case MessageCode::BallReleased:
            event.kind = Kind::BallReleased;
            event.objectId = in.ReadU32();
            event.value = in.ReadU32();
            event.vectorA = in.ReadVector();
            event.vectorC = in.ReadVector();
            event.actionFlag = in.ReadU8();
            break;
        case MessageCode::BallUpdate:
            event.kind = Kind::BallUpdate;
            event.value = in.ReadU32();
            event.vectorA = in.ReadVector();
            event.vectorC = in.ReadVector();
            break;
        case MessageCode::GoalScored:
            event.kind = Kind::GoalScored;
            event.player = in.ReadAddress();
            event.secondPlayer = in.ReadAddress();
            event.value = in.ReadU32();
            event.vectorA = in.ReadVector();
            break;
        case MessageCode::FlushObjects: event.kind = Kind::FlushObjects; break;
        case MessageCode::AirborneUpdate:
            event.kind = Kind::AirborneUpdate;
            event.objectId = in.ReadU32();
            event.vectorA = in.ReadVector();
            event.vectorC = in.ReadVector();
            break;
        default:  // the damage codes
            event.kind = static_cast<Kind>(code - CodeByte(MessageCode::Damage) + 1);
            event.value = in.ReadU32();
            event.player = in.ReadAddress();
            event.vectorA = in.ReadVector();
            event.float2 = in.ReadF32();
            break;
    }
    return !in.Failed();
}

}  // namespace

bool IsTimedCode(uint8_t code) {
    if (code >= CodeByte(MessageCode::VornAction) && code <= CodeByte(MessageCode::BallUpdate))
        return code != CodeByte(MessageCode::TimeSync);
    return code == CodeByte(MessageCode::GoalScored) || code == CodeByte(MessageCode::Results) ||
           code == CodeByte(MessageCode::Signal) || code == CodeByte(MessageCode::FlushObjects) ||
           code == CodeByte(MessageCode::AirborneUpdate);
}

bool Write(const NetworkEvent& event, MessageWriter& out) {
    const uint8_t code = CodeOf(event);
    if (code == 0xFF) return false;
    if (event.kind == Kind::VornAction && event.actionKind > kMaxActionKind) return false;
    out.PutU8(code);
    out.PutF32(event.time);
    WriteFields(code, event, out);
    return true;
}

bool Read(uint8_t code, MessageReader& in, NetworkEvent& event) {
    event.Reset();
    if (!IsTimedCode(code)) {
        in.Fail();
        return false;
    }
    event.time = in.ReadF32();
    return ReadFields(code, in, event);
}

}  // namespace NetworkEventCodec
