// A battle sound heard through the sound device: the level and the side it comes from
// reach the device's buffer and the mixed output, not only the sound's own record.
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "audio/EffectSounds.h"
#include "audio/Sound.h"
#include "audio/Sounder.h"
#include "platform/sound/NullSoundDevice.h"
#include "platform/sound/SoundBuffer.h"
#include "support/ArenaFixture.h"
#include "support/AudioTestUtil.h"
#include "support/TempFolder.h"

namespace {

// A second of a loud square wave, the same on both sides.
std::string SquareWave() {
    const audio_test::Samples samples = audio_test::MakeSamples(
        22050, 2, [](int frame, int) { return int16_t((frame / 25) % 2 == 0 ? 12000 : -12000); });
    return audio_test::WavBytes(audio_test::WavSpec(), audio_test::SampleBytes16(samples));
}

struct Loudness {
    double left = 0.0;
    double right = 0.0;
};

class PositionalBattleSoundTest : public ArenaFixture {
protected:
    void SetUp() override {
        ArenaFixture::SetUp();
        auto device = std::make_unique<snd::NullSoundDevice>();
        device_ = device.get();
        sounder_.Init(std::move(device));
        SetEffectSounder(&sounder_);
        platform_test::WriteRaw(folder_ / "Shot.wav", SquareWave());
        shot_ = LoadEffectSound(String((folder_ / "Shot.wav").c_str()));
        // The battlefield camera looks along +y from (80, 80): its right hand is +x.
        arena->listenerPosition = Vector3(80, 80, 0);
        arena->listenerRight = Vector2(1, 0);
    }
    void TearDown() override {
        SetEffectSounder(nullptr);
        ArenaFixture::TearDown();
    }

    // Plays the shot at the point as a unit's weapon does, then mixes a tenth of a second.
    Loudness HeardFrom(const Vector3& point) {
        Sound* record = GetEffectSound(shot_);
        record->Stop();
        arena->UpdateSounds();
        arena->PlaySoundAtPoint(shot_, point, 1.0f);
        device_->ClearOutput();
        device_->Advance(device_->PrimaryFormat().rate / 10);
        Loudness heard;
        const std::vector<int16_t>& samples = device_->Output();
        for (size_t i = 0; i + 1 < samples.size(); i += 2) {
            heard.left += std::abs(double(samples[i]));
            heard.right += std::abs(double(samples[i + 1]));
        }
        return heard;
    }
    const snd::SoundBuffer& Buffer() const { return *GetEffectSound(shot_)->Buffer(); }

    platform_test::TempFolder folder_;
    Sounder sounder_;
    snd::NullSoundDevice* device_ = nullptr;
    int32_t shot_ = -1;
};

// 60 units to one side: 1 - 0.004 x 60 = 0.76 of full volume, (60 - 5) / 75 of the way
// over; the device counts both in hundredths.
TEST_F(PositionalBattleSoundTest, AShotLeftOrRightOfTheCameraIsPannedThatWayAtItsDistancesVolume) {
    ASSERT_GE(shot_, 0);
    const Loudness left = HeardFrom(Vector3(20, 80, 0));
    EXPECT_EQ(Buffer().Volume(), -2400);
    EXPECT_EQ(Buffer().Pan(), -7333);
    EXPECT_GT(left.left, 2.0 * left.right);

    const Loudness right = HeardFrom(Vector3(140, 80, 0));
    EXPECT_EQ(Buffer().Volume(), -2400);
    EXPECT_EQ(Buffer().Pan(), 7333);
    EXPECT_GT(right.right, 2.0 * right.left);

    // Straight ahead, near: centred and louder on both sides than the far side above.
    const Loudness ahead = HeardFrom(Vector3(80, 90, 0));
    EXPECT_EQ(Buffer().Pan(), 0);
    EXPECT_NEAR(ahead.left, ahead.right, ahead.left * 0.01);
    EXPECT_GT(ahead.left, left.right);
}

}  // namespace
