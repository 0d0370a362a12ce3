#include <gtest/gtest.h>

#include <limits>

#include "net/MessageCode.h"
#include "net/NetworkEventCodec.h"

namespace {

using Kind = NetworkEventKind;

NetworkEvent Sample(Kind kind) {
    NetworkEvent event;
    event.kind = kind;
    event.time = 12.25f;
    event.value = 77;
    event.objectId = 42;
    event.player = {0x0100007F, 4000};
    event.secondPlayer = {0, 29999};
    event.vectorA = {1, 2, 3};
    event.vectorB = {4, 5, 6};
    event.vectorC = {7, 8, 9};
    event.vectorD = {10, 11, 12};
    event.float1 = 2.5f;
    event.float2 = -10.0f;
    event.actionValue = 1.25f;
    event.actionFlag = 1;
    event.weaponFlag = 1;
    return event;
}

// Writes the event and reads it back as a client would.
NetworkEvent RoundTrip(const NetworkEvent& event) {
    MessageWriter out;
    EXPECT_TRUE(NetworkEventCodec::Write(event, out));
    MessageReader in(out.Bytes().data(), out.Size());
    NetworkEvent back;
    EXPECT_TRUE(NetworkEventCodec::Read(in.ReadU8(), in, back));
    EXPECT_TRUE(in.AtEnd() && !in.Failed());
    return back;
}

TEST(NetworkEventCodecTest, EveryKindSurvivesTheWireWithTheFieldsItCarries) {
    for (Kind kind : {Kind::DamageHeal, Kind::DamageBlast, Kind::DamageFlame, Kind::DamageOther, Kind::ObjectDestroyed,
                      Kind::Explosion, Kind::ScorchMark, Kind::Meteor, Kind::BallSpawned, Kind::BallPickedUp,
                      Kind::BallReleased, Kind::BallUpdate, Kind::GoalScored, Kind::Signal1On, Kind::Signal1Off,
                      Kind::Signal2On, Kind::Signal2Off, Kind::FlushObjects, Kind::AirborneUpdate}) {
        const NetworkEvent back = RoundTrip(Sample(kind));
        EXPECT_EQ(back.kind, kind);
        EXPECT_EQ(back.time, 12.25f);
    }
    const NetworkEvent damage = RoundTrip(Sample(Kind::DamageFlame));
    EXPECT_EQ(damage.value, 77u);
    EXPECT_EQ(damage.player, (sock::Ipv4Address{0x0100007F, 4000}));
    EXPECT_EQ(damage.float2, -10.0f);
    const NetworkEvent goal = RoundTrip(Sample(Kind::GoalScored));
    EXPECT_EQ(goal.secondPlayer.port, 29999);
    EXPECT_EQ(goal.vectorA.z, 3.0f);

    NetworkEvent shot = Sample(Kind::VornAction);
    shot.actionKind = 11;
    shot.listA = {{1, 1, 1}, {2, 2, 2}};
    const NetworkEvent shotBack = RoundTrip(shot);
    EXPECT_EQ(shotBack.listA.size(), 2u);
    EXPECT_EQ(shotBack.value, 77u);
    EXPECT_EQ(shotBack.vectorB.y, 5.0f);

    NetworkEvent debris = Sample(Kind::Debris);
    debris.listA = {{1, 0, 0}, {2, 0, 0}, {3, 0, 0}};
    debris.listB = {{0, 1, 0}, {0, 2, 0}, {0, 3, 0}};
    EXPECT_EQ(RoundTrip(debris).listB[2].y, 3.0f);

    NetworkEvent results = Sample(Kind::Results);
    results.results.push_back({{5, 6}, 1, 2, 3, 4, 5, 6.5f});
    EXPECT_EQ(RoundTrip(results).results[0].greatestHeight, 6.5f);
}

TEST(NetworkEventCodecTest, HostileFieldsAreRefusedBeforeTheyAllocate) {
    auto refused = [](const MessageWriter& out) {
        MessageReader in(out.Bytes().data(), out.Size());
        NetworkEvent event;
        return !NetworkEventCodec::Read(in.ReadU8(), in, event) && in.Failed();
    };
    MessageWriter hugeDebris;
    hugeDebris.PutU8(CodeByte(MessageCode::Debris));
    hugeDebris.PutF32(1);
    hugeDebris.PutU32(1);
    hugeDebris.PutVector({});
    hugeDebris.PutU32(0xFFFFFFFF);
    EXPECT_TRUE(refused(hugeDebris));

    MessageWriter badAction;
    badAction.PutU8(CodeByte(MessageCode::VornAction));
    badAction.PutF32(1);
    badAction.PutU32(16);
    EXPECT_TRUE(refused(badAction));

    MessageWriter nanStamp;
    nanStamp.PutU8(CodeByte(MessageCode::ScorchMark));
    nanStamp.PutF32(std::numeric_limits<float>::infinity());
    EXPECT_TRUE(refused(nanStamp));

    MessageWriter tooManyResults;
    tooManyResults.PutU8(CodeByte(MessageCode::Results));
    tooManyResults.PutF32(1);
    tooManyResults.PutU32(10);
    for (int i = 0; i < 10 * 27; ++i) tooManyResults.PutU8(0);
    EXPECT_TRUE(refused(tooManyResults));

    MessageWriter notTimed;
    notTimed.PutU8(CodeByte(MessageCode::TimeSync));
    notTimed.PutF32(1);
    EXPECT_TRUE(refused(notTimed));
}

}  // namespace
