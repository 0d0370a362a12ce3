// Mixing on the null device, checked sample by sample against hand-computed values.
#include <limits>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sound/NullSoundDevice.h"
#include "support/SoundTestUtil.h"

namespace {

using namespace sound_test;
using Samples = std::vector<int16_t>;

// One output frame of a mono buffer holding 10000 at the given volume and pan.
Samples MixedFrame(int32_t volume, int32_t pan) {
    snd::NullSoundDevice device;
    auto buffer = Make16(device, {10000, 10000});
    EXPECT_EQ(buffer->SetVolume(volume), snd::Result::Ok);
    EXPECT_EQ(buffer->SetPan(pan), snd::Result::Ok);
    buffer->Play(snd::kPlayOnce);
    return Mix(device, 1);
}

TEST(Mixer, VolumeIsTheLinearGainOfHundredthsOfADecibel) {
    EXPECT_EQ(MixedFrame(0, 0), (Samples{10000, 10000}));
    // 10000 * 10^(-600 / 2000) = 5011.87
    EXPECT_EQ(MixedFrame(-600, 0), (Samples{5012, 5012}));
    // 10000 * 10^-5 = 0.1: the bottom of the range is silence.
    EXPECT_EQ(MixedFrame(-10000, 0), (Samples{0, 0}));

    // Exactly silent there: many full-scale voices at -10000 add up to nothing.
    snd::NullSoundDevice device;
    std::vector<std::unique_ptr<snd::SoundBuffer>> voices;
    for (int i = 0; i < 8; ++i) {
        voices.push_back(Make16(device, {32767}));
        voices.back()->SetVolume(-10000);
        voices.back()->Play(snd::kPlayOnce);
    }
    EXPECT_EQ(Mix(device, 1), (Samples{0, 0}));
}

TEST(Mixer, PanAttenuatesTheOppositeChannelByTheSameLaw) {
    EXPECT_EQ(MixedFrame(0, -10000), (Samples{10000, 0}));
    EXPECT_EQ(MixedFrame(0, 0), (Samples{10000, 10000}));
    EXPECT_EQ(MixedFrame(0, 10000), (Samples{0, 10000}));
    EXPECT_EQ(MixedFrame(0, -600), (Samples{10000, 5012}));
    // Volume and pan multiply: 10000 * 10^-0.3 * 10^-0.3 = 2511.89 on the left.
    EXPECT_EQ(MixedFrame(-600, 600), (Samples{2512, 5012}));
}

TEST(Mixer, VolumeAndPanAreClampedIntoTheirRanges) {
    EXPECT_EQ(MixedFrame(2500, 0), MixedFrame(0, 0));
    EXPECT_EQ(MixedFrame(-30000, 0), MixedFrame(-10000, 0));
    EXPECT_EQ(MixedFrame(0, 20000), MixedFrame(0, 10000));

    snd::NullSoundDevice device;
    auto buffer = Make16(device, {0, 0});
    buffer->SetVolume(-12345);
    buffer->SetPan(12345);
    EXPECT_EQ(buffer->Volume(), -10000);
    EXPECT_EQ(buffer->Pan(), 10000);
}

TEST(Mixer, EightBitMonoIsUnsignedAndGoesToBothChannels) {
    snd::NullSoundDevice device;
    auto buffer = MakeBuffer(device, {1, 22050, 8}, {0xC0, 0x40, 0xFF, 0x00, 0x80});
    buffer->Play(snd::kPlayOnce);
    EXPECT_EQ(Mix(device, 5), (Samples{16384, 16384, -16384, -16384, 32512, 32512, -32768, -32768, 0, 0}));
}

TEST(Mixer, SixteenBitStereoKeepsItsChannels) {
    snd::NullSoundDevice device;
    auto buffer = Make16(device, {1000, -2000, 30000, -30000, -1, 1}, 2);
    buffer->Play(snd::kPlayOnce);
    EXPECT_EQ(Mix(device, 3), (Samples{1000, -2000, 30000, -30000, -1, 1}));
}

TEST(Mixer, LoopingWrapsAcrossTheBufferEnd) {
    snd::NullSoundDevice device;
    auto buffer = Make16(device, {100, 200, 300, 400});
    buffer->Play(snd::kPlayLooping);
    EXPECT_EQ(Left(Mix(device, 10)), (Samples{100, 200, 300, 400, 100, 200, 300, 400, 100, 200}));
    EXPECT_EQ(buffer->Status(), snd::kStatusPlaying | snd::kStatusLooping);
    EXPECT_EQ(buffer->CurrentPosition().play, 2u * 2);
}

TEST(Mixer, PlayedOnceItStopsAtItsEndAndStartsAgainFromTheBeginning) {
    snd::NullSoundDevice device;
    auto buffer = Make16(device, {100, 200, 300, 400});
    buffer->Play(snd::kPlayOnce);
    EXPECT_EQ(Left(Mix(device, 6)), (Samples{100, 200, 300, 400, 0, 0}));
    EXPECT_FALSE(buffer->IsPlaying());
    EXPECT_EQ(buffer->CurrentPosition().play, 0u);

    buffer->Play(snd::kPlayOnce);
    EXPECT_EQ(Left(Mix(device, 2)), (Samples{100, 200}));
}

TEST(Mixer, StopKeepsThePosition) {
    snd::NullSoundDevice device;
    auto buffer = Make16(device, {100, 200, 300, 400});
    buffer->Play(snd::kPlayOnce);
    Mix(device, 3);
    buffer->Stop();
    EXPECT_EQ(buffer->CurrentPosition().play, 3u * 2);
    EXPECT_EQ(Left(Mix(device, 2)), (Samples{0, 0}));
    buffer->Play(snd::kPlayOnce);
    EXPECT_EQ(Left(Mix(device, 2)), (Samples{400, 0}));
}

TEST(Mixer, PlayingAPlayingBufferDoesNotRestartIt) {
    snd::NullSoundDevice device;
    auto buffer = Make16(device, {100, 200, 300, 400});
    buffer->Play(snd::kPlayOnce);
    Mix(device, 2);
    buffer->Play(snd::kPlayOnce);
    EXPECT_EQ(Left(Mix(device, 2)), (Samples{300, 400}));

    // A second Play only changes the looping choice.
    buffer->Play(snd::kPlayOnce);
    Mix(device, 3);
    buffer->Play(snd::kPlayLooping);
    EXPECT_EQ(Left(Mix(device, 3)), (Samples{400, 100, 200}));
}

TEST(Mixer, DuplicatesShareSamplesButPlayIndependently) {
    snd::NullSoundDevice device;
    auto original = Make16(device, {1000, 2000, 3000, 4000});
    snd::BufferResult dup = device.DuplicateBuffer(*original);
    ASSERT_EQ(dup.result, snd::Result::Ok);
    snd::SoundBuffer& copy = *dup.buffer;

    original->Play(snd::kPlayOnce);
    Mix(device, 2);
    copy.SetVolume(-600);
    copy.Play(snd::kPlayLooping);
    // original frames 3, 4 plus the copy's frames 1, 2 at half level (0.501187).
    EXPECT_EQ(Left(Mix(device, 2)), (Samples{3000 + 501, 4000 + 1002}));
    EXPECT_FALSE(original->IsPlaying());
    EXPECT_TRUE(copy.IsPlaying());
    EXPECT_EQ(original->Volume(), 0);

    // Samples written through one are heard through the other.
    Write(*original, 4, Bytes16({-4000}));
    copy.SetVolume(0);
    EXPECT_EQ(Left(Mix(device, 2)), (Samples{-4000, 4000}));
    copy.Stop();
    EXPECT_FALSE(copy.IsPlaying());
}

TEST(Mixer, DuplicateStartsStoppedWithTheOriginalsSettings) {
    snd::NullSoundDevice device;
    auto original = Make16(device, {1000, 2000, 3000, 4000}, 1, 22050, kVolumePan | snd::kCtrlFrequency);
    original->SetVolume(-600);
    original->SetPan(-10000);
    original->SetFrequency(11025);
    original->Play(snd::kPlayLooping);
    Mix(device, 3);
    snd::BufferResult dup = device.DuplicateBuffer(*original);
    ASSERT_EQ(dup.result, snd::Result::Ok);
    EXPECT_FALSE(dup.buffer->IsPlaying());
    EXPECT_EQ(dup.buffer->CurrentPosition().play, 0u);
    EXPECT_EQ(dup.buffer->Volume(), -600);
    EXPECT_EQ(dup.buffer->Pan(), -10000);
    EXPECT_EQ(dup.buffer->Frequency(), 11025u);
    EXPECT_EQ(dup.buffer->Flags(), original->Flags());
}

TEST(Mixer, ResamplesALowerRateByLinearInterpolation) {
    snd::NullSoundDevice device;
    auto buffer = Make16(device, {0, 1000, 2000, 3000}, 1, 11025);
    buffer->Play(snd::kPlayOnce);
    // Two output frames per source frame; past the last frame it holds its value.
    EXPECT_EQ(Left(Mix(device, 9)), (Samples{0, 500, 1000, 1500, 2000, 2500, 3000, 3000, 0}));
    EXPECT_FALSE(buffer->IsPlaying());

    // Looping interpolates from the last frame back to the first.
    auto loop = Make16(device, {0, 1000}, 1, 11025);
    loop->Play(snd::kPlayLooping);
    EXPECT_EQ(Left(Mix(device, 6)), (Samples{0, 500, 1000, 500, 0, 500}));
}

TEST(Mixer, ResamplesAHigherRateAndKeepsItsDuration) {
    snd::NullSoundDevice device;
    auto buffer = Make16(device, {0, 100, 200, 300, 400, 500, 600, 700}, 1, 44100);
    buffer->Play(snd::kPlayOnce);
    EXPECT_EQ(Left(Mix(device, 5)), (Samples{0, 200, 400, 600, 0}));

    // One second at 44100 Hz lasts one second of output.
    auto second = Make16(device, Samples(44100, 1000), 1, 44100);
    second->Play(snd::kPlayOnce);
    const Samples heard = Left(Mix(device, 22049));
    EXPECT_EQ(heard, Samples(22049, 1000));
    EXPECT_TRUE(second->IsPlaying());
    EXPECT_EQ(Left(Mix(device, 2)), (Samples{1000, 0}));
    EXPECT_FALSE(second->IsPlaying());
}

TEST(Mixer, FrequencyOverridesTheFormatsRate) {
    snd::NullSoundDevice device;
    auto buffer = Make16(device, {0, 1000, 2000}, 1, 22050, snd::kCtrlFrequency);
    EXPECT_EQ(buffer->SetFrequency(11025), snd::Result::Ok);
    buffer->Play(snd::kPlayOnce);
    EXPECT_EQ(Left(Mix(device, 3)), (Samples{0, 500, 1000}));
    EXPECT_EQ(buffer->SetFrequency(0), snd::Result::Ok);
    EXPECT_EQ(buffer->Frequency(), 22050u);
    EXPECT_EQ(Left(Mix(device, 3)), (Samples{1500, 2000, 0}));

    EXPECT_EQ(buffer->SetFrequency(99), snd::Result::InvalidParam);
    EXPECT_EQ(buffer->SetFrequency(200001), snd::Result::InvalidParam);
    auto plain = Make16(device, {0, 0});
    EXPECT_EQ(plain->SetFrequency(11025), snd::Result::Unsupported);
}

TEST(Mixer, AnOutputRateOtherThanTheDefaultResamplesEveryBuffer) {
    snd::DeviceResult opened = snd::OpenSoundDevice(snd::DeviceKind::Null, 44100);
    ASSERT_EQ(opened.result, snd::Result::Ok);
    auto& device = static_cast<snd::NullSoundDevice&>(*opened.device);
    EXPECT_EQ(device.PrimaryFormat(), (snd::PcmFormat{2, 44100, 16}));
    auto buffer = Make16(device, {0, 1000});
    buffer->Play(snd::kPlayOnce);
    EXPECT_EQ(Left(Mix(device, 4)), (Samples{0, 500, 1000, 1000}));

    EXPECT_EQ(snd::OpenSoundDevice(snd::DeviceKind::Null, 7999).result, snd::Result::InvalidParam);
}

TEST(Mixer, LoudVoicesSaturateInsteadOfWrapping) {
    snd::NullSoundDevice device;
    auto a = Make16(device, {30000, -30000, 20000}, 1);
    auto b = Make16(device, {30000, -30000, -20000}, 1);
    a->Play(snd::kPlayOnce);
    b->Play(snd::kPlayOnce);
    EXPECT_EQ(Left(Mix(device, 3)), (Samples{32767, -32768, 0}));
}

TEST(Mixer, PositionalBuffersFallWithDistanceAndPanBySide) {
    snd::NullSoundDevice device;
    auto buffer = Make16(device, Samples(64, 10000), 1, 22050, snd::kCtrlVolume | snd::kCtrl3D);
    buffer->Play(snd::kPlayLooping);
    EXPECT_EQ(Mix(device, 1), (Samples{10000, 10000}));

    // Straight ahead at distance 2: half the amplitude.
    buffer->SetPosition3D(0, 0, 2);
    EXPECT_EQ(Mix(device, 1), (Samples{5000, 5000}));
    // To the right at distance 4: a quarter, and the left ear 20 dB lower.
    buffer->SetPosition3D(4, 0, 0);
    EXPECT_EQ(Mix(device, 1), (Samples{250, 2500}));
    // Within one unit there is no attenuation, only the side.
    buffer->SetPosition3D(-0.5f, 0, 0);
    EXPECT_EQ(Mix(device, 1), (Samples{10000, 1000}));

    // A deferred place waits for the commit.
    buffer->SetPosition3D(0, 0, 2, snd::Apply::Deferred);
    EXPECT_EQ(Mix(device, 1), (Samples{10000, 1000}));
    device.CommitDeferredSettings();
    EXPECT_EQ(Mix(device, 1), (Samples{5000, 5000}));

    EXPECT_EQ(buffer->SetPan(100), snd::Result::Unsupported);
    EXPECT_EQ(buffer->SetPosition3D(0, std::numeric_limits<float>::quiet_NaN(), 0), snd::Result::InvalidParam);
}

}  // namespace
