// The arena's spawners and positional sounds: sounds heard from the listener (volume by
// distance, pan by the offset to the right, across the edge from the near image),
// tracked until they end, and recorded while the game runs without a sound device;
// marks, rings, balls and the debris of a broken unit.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "audio/EffectSounds.h"
#include "audio/Sound.h"
#include "audio/Sounder.h"
#include "engine/Mesh.h"
#include "engine/ModelNode.h"
#include "platform/sound/NullSoundDevice.h"
#include "support/ArenaFixture.h"
#include "support/TempFolder.h"
#include "units/Vorn.h"
#include "world/Debris.h"
#include "world/ScorchMark.h"
#include "world/SoccerBall.h"
#include "world/WaterRing.h"

namespace {

void Put16(std::string& out, uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void Put32(std::string& out, uint32_t v) {
    Put16(out, static_cast<uint16_t>(v & 0xFFFF));
    Put16(out, static_cast<uint16_t>(v >> 16));
}

// One second of 16-bit stereo silence at 22050 Hz.
std::string SilentWave() {
    const uint32_t bytes = 22050 * 4;
    std::string out = "RIFF";
    Put32(out, 36 + bytes);
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, 2);
    Put32(out, 22050);
    Put32(out, 22050 * 4);
    Put16(out, 4);
    Put16(out, 16);
    out += "data";
    Put32(out, bytes);
    out.append(bytes, '\0');
    return out;
}

class SpawnGame : public RecordingGame {
public:
    void OnDebrisSpawned(Vorn* unit, int32_t cause, const Array<Debris*>& debris) override {
        debrisUnit = unit;
        debrisCause = cause;
        debrisCount = debris.Count();
    }
    void OnBallSpawned(SoccerBall* ball) override { spawnedBall = ball; }

    Vorn* debrisUnit = nullptr;
    int32_t debrisCause = -1;
    int debrisCount = -1;
    SoccerBall* spawnedBall = nullptr;
};

class SpawnersTest : public ArenaFixture {
protected:
    void SetUp() override {
        ArenaFixture::SetUp();
        SetCurrentGame(&spawns);
        RecordEffectSoundRequests(true);
    }

    void TearDown() override {
        RecordEffectSoundRequests(false);
        ArenaFixture::TearDown();
    }

    SpawnGame spawns;
};

// A real sound manager on the null device, with one loaded effect.
class PositionalSoundTest : public SpawnersTest {
protected:
    void SetUp() override {
        SpawnersTest::SetUp();
        auto device = std::make_unique<snd::NullSoundDevice>();
        device_ = device.get();
        sounder_.Init(std::move(device));
        SetEffectSounder(&sounder_);
        platform_test::WriteRaw(folder_ / "beep.wav", SilentWave());
        sound_ = LoadEffectSound(String((folder_ / "beep.wav").c_str()));
        record_ = GetEffectSound(sound_);
        arena->listenerPosition = Vector3(10, 10, 0);
        arena->listenerRight = Vector2(1, 0);
    }

    void TearDown() override {
        SetEffectSounder(nullptr);
        SpawnersTest::TearDown();
    }

    float HeardAt(const Vector3& point) {
        record_->SetPosition(point);
        record_->SetVolumeFactor(1.0f);
        return arena->PositionSound(record_, true);
    }

    platform_test::TempFolder folder_;
    Sounder sounder_;
    snd::NullSoundDevice* device_ = nullptr;
    int32_t sound_ = -1;
    Sound* record_ = nullptr;
};

TEST_F(PositionalSoundTest, VolumeFallsWithDistanceAndPanFollowsTheRightHandOffset) {
    ASSERT_NE(record_->Buffer(), nullptr);
    // 60 right and 80 ahead: 100 away, 0.6 of the volume; 60 - 5 (dead zone) over 75.
    EXPECT_NEAR(HeardAt(Vector3(70, 90, 7)), 0.6f, 1e-5f);
    EXPECT_NEAR(record_->Volume(), 0.6f, 1e-4f);
    EXPECT_NEAR(record_->Pan(), 55.0f / 75.0f, 1e-4f);
    // 3 to the right: inside the dead zone, centred.
    EXPECT_NEAR(HeardAt(Vector3(13, 10, 0)), 0.988f, 1e-5f);
    EXPECT_FLOAT_EQ(record_->Pan(), 0.0f);
    // 78 to the left: (78 - 5) / 75 to the left.
    EXPECT_NEAR(HeardAt(Vector3(-68, 10, 0)), 1.0f - 0.004f * 78.0f, 1e-5f);
    EXPECT_NEAR(record_->Pan(), -73.0f / 75.0f, 1e-4f);
    // The arena's effect volume scales everything.
    arena->effectVolume = 0.5f;
    EXPECT_NEAR(HeardAt(Vector3(13, 10, 0)), 0.494f, 1e-5f);
}

TEST_F(PositionalSoundTest, SoundAcrossTheEdgeIsHeardFromItsNearImage) {
    // x = 155 is 15 to the left across the edge of the 160-wide arena, not 145 right.
    EXPECT_NEAR(HeardAt(Vector3(155, 10, 0)), 1.0f - 0.004f * 15.0f, 1e-5f);
    EXPECT_NEAR(record_->Pan(), -10.0f / 75.0f, 1e-4f);
}

TEST_F(PositionalSoundTest, PlayingTrackedSoundIsNotRestartedAndFinishedSoundsLeaveTheList) {
    arena->PlaySoundAtPoint(sound_, Vector3(60, 10, 0), 0.5f);
    ASSERT_TRUE(record_->IsPlaying());
    EXPECT_TRUE(record_->IsTracked());
    ASSERT_EQ(GetEffectSoundRequests().size(), 1u);
    // 50 away: 0.8 of the factor 0.5.
    EXPECT_NEAR(GetEffectSoundRequests()[0].volume, 0.4f, 1e-5f);
    arena->PlaySoundAt(sound_, 1.0f, 0);
    EXPECT_EQ(GetEffectSoundRequests().size(), 1u);
    EXPECT_FLOAT_EQ(record_->VolumeFactor(), 0.5f);

    // The listener walks up to it: the next frame's update follows.
    arena->listenerPosition = Vector3(60, 10, 0);
    arena->UpdateSounds();
    EXPECT_NEAR(record_->Volume(), 0.5f, 1e-4f);
    EXPECT_EQ(arena->trackedSounds.Count(), 1);

    device_->Advance(22050 + 100);
    ASSERT_FALSE(record_->IsPlaying());
    arena->UpdateSounds();
    EXPECT_EQ(arena->trackedSounds.Count(), 0);
    EXPECT_FALSE(record_->IsTracked());
}

TEST_F(SpawnersTest, WithoutASoundDeviceSoundsAreSilentButTheRequestsAreKept) {
    const int32_t sound = LoadEffectSound("Sounds\\SpawnerProbe.ogg");
    EXPECT_EQ(LoadEffectSound("SOUNDS\\spawnerprobe.OGG"), sound);
    arena->listenerPosition = Vector3(10, 10, 0);
    arena->PlaySoundAtPoint(sound, Vector3(10, 60, 0), 1.0f);
    ASSERT_EQ(GetEffectSoundRequests().size(), 1u);
    EXPECT_EQ(GetEffectSoundRequests()[0].name, String("SOUNDS\\SPAWNERPROBE.OGG"));
    EXPECT_NEAR(GetEffectSoundRequests()[0].volume, 0.8f, 1e-5f);
    EXPECT_FALSE(IsEffectSoundPlaying(sound));
    // Not playing: the next update drops it.
    arena->UpdateSounds();
    EXPECT_EQ(arena->trackedSounds.Count(), 0);
    PlayEffectSound(-1, 1.0f, 0);
    PlayEffectSound(1 << 20, 1.0f, 0);
    EXPECT_EQ(GetEffectSoundRequests().size(), 1u);
}

TEST_F(SpawnersTest, MarksAndRingsAreListedWhereAskedWithTheirSize) {
    ScorchMark* scorch = arena->AddScorchMark(Vector3(30, 40, 0), 6.0f);
    EXPECT_GE(arena->FindObjectIndex(scorch), 0);
    EXPECT_FLOAT_EQ(scorch->size, 6.0f);
    EXPECT_FLOAT_EQ(scorch->position.x, 30.0f);
    WaterRing* ring = arena->AddWaterRing(nullptr, Vector3(50, 40, 0), 1.5f);
    EXPECT_GE(arena->FindObjectIndex(ring), 0);
    EXPECT_FLOAT_EQ(ring->shape.Radius(), 1.5f);
    EXPECT_EQ(arena->CountObjectsOfKind(kKindSmokePuff), 0);
    arena->AddSmokePuff(Vector3(70, 40, 3), 1.0f);
    EXPECT_EQ(arena->CountObjectsOfKind(kKindSmokePuff), 1);
}

TEST_F(SpawnersTest, NewBallRestsListedAndReportedWithTheGivenId) {
    SoccerBall* ball = arena->SpawnSoccerBall(Vector3(40, 40, 0), 77);
    EXPECT_EQ(ball->id, 77);
    EXPECT_EQ(spawns.spawnedBall, ball);
    EXPECT_GE(arena->FindObjectIndex(ball), 0);
    EXPECT_FLOAT_EQ(ball->velocity.Length(), 0.0f);
    EXPECT_EQ(ball->lastKicker, nullptr);
    const int32_t poolId = arena->SpawnSoccerBall(Vector3(80, 40, 0), -1)->id;
    EXPECT_NE(poolId, -1);
}

class DebrisSpawnTest : public SpawnersTest {
protected:
    // A body of four parts: one real, one collapsed to a point, one scaled to nothing and
    // one without vertices.
    void SetUp() override {
        SpawnersTest::SetUp();
        real_.AddPosition(Vector3(-0.5f, 0, 0));
        real_.AddPosition(Vector3(0.5f, 0, 0));
        point_.AddPosition(Vector3(0.2f, 0.2f, 0.2f));
        point_.AddPosition(Vector3(0.2f, 0.2f, 0.2f));
        flat_.AddPosition(Vector3(-1, 0, 0));
        flat_.AddPosition(Vector3(1, 0, 0));
        AddPart(&real_, Vector3(0, 0, 1))->local.SetTranslation(Vector3(0, 0, 1));
        AddPart(&point_, Vector3());
        AddPart(&flat_, Vector3())->local = Matrix4::Zero();
        AddPart(&empty_, Vector3());
    }

    ModelNode* AddPart(Mesh* mesh, const Vector3&) {
        ModelNode* node = body_.AddChild(std::make_unique<ModelNode>());
        node->mesh = mesh;
        return node;
    }

    Vorn* UnitAt(float x, float y) {
        Vorn* unit = arena->NewVorn(0);
        unit->bodyModel = &body_;
        arena->AddObject(unit);
        unit->PlaceAt(Vector3(x, y, 0));
        unit->ResetHealth(1.0f);
        return unit;
    }

    ModelNode body_;
    Mesh real_;
    Mesh point_;
    Mesh flat_;
    Mesh empty_;
};

TEST_F(DebrisSpawnTest, OnlyPartsWithSizeAndVerticesBecomeDebris) {
    Vorn* unit = UnitAt(40, 40);
    EXPECT_EQ(arena->SpawnDebrisFromModel(unit, 2, nullptr, nullptr), 1);
    EXPECT_EQ(spawns.debrisUnit, unit);
    EXPECT_EQ(spawns.debrisCause, 2);
    EXPECT_EQ(spawns.debrisCount, 1);
    ASSERT_EQ(arena->CountObjectsOfKind(kKindDebris), 1);
    auto* debris = static_cast<Debris*>(arena->NearestObjectOfKind(Vector3(40, 40, 0), nullptr, kKindDebris));
    ASSERT_NE(debris, nullptr);
    EXPECT_FLOAT_EQ(debris->shape.Radius(), 0.5f);
    // Thrown out at 5 to 10 units a second.
    EXPECT_GE(debris->velocity.Length(), 5.0f - 1e-4f);
    EXPECT_LE(debris->velocity.Length(), 10.0f + 1e-4f);
}

TEST_F(DebrisSpawnTest, ReplayedDebrisTakesTheServersPlacesAndSpeeds) {
    Vorn* unit = UnitAt(40, 40);
    Vector3Array positions;
    Vector3Array velocities;
    positions.Append(Vector3(60, 60, 5));
    velocities.Append(Vector3(0, 3, 4));
    EXPECT_EQ(arena->SpawnDebrisFromModel(unit, 0, &positions, &velocities), 1);
    auto* debris = static_cast<Debris*>(arena->NearestObjectOfKind(Vector3(60, 60, 0), nullptr, kKindDebris));
    ASSERT_NE(debris, nullptr);
    EXPECT_FLOAT_EQ(debris->position.x, 60.0f);
    EXPECT_FLOAT_EQ(debris->velocity.Length(), 5.0f);
}

TEST_F(DebrisSpawnTest, UnitKilledByDamageBreaksIntoDebrisAndStopsItsSounds) {
    Vorn* unit = UnitAt(40, 40);
    ASSERT_TRUE(unit->onGround);
    unit->TakeDamage(nullptr, Vector3(38, 40, 0), 5.0f, 0);
    EXPECT_TRUE(unit->removed);
    EXPECT_EQ(spawns.debrisUnit, unit);
    EXPECT_EQ(arena->CountObjectsOfKind(kKindDebris), 1);
    EXPECT_FALSE(IsEffectSoundPlaying(unit->sounds[Vorn::kSoundSizzle]));
}

}  // namespace
