// Effects on the null device: loading, sharing, playing, and the mixed output checked
// sample by sample against the device's laws (gain 10^(hundredths / 2000)).
#include <cmath>

#include <gtest/gtest.h>

#include "audio/Sounder.h"
#include "core/ThrowError.h"
#include "platform/sound/NullSoundDevice.h"
#include "support/AudioTestUtil.h"

namespace {

using namespace audio_test;

int16_t Scaled(int sample, int hundredths) {
    const float gain = float(std::pow(10.0, hundredths / 2000.0));
    return int16_t(std::lrint(float(sample) * gain));
}

class SounderTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto device = std::make_unique<snd::NullSoundDevice>();
        device_ = device.get();
        sounder_.Init(std::move(device));
    }

    // A 16-bit stereo effect of the frames at 22050 Hz.
    String Effect(const std::string& name, const Samples& samples, const WavSpec& spec = {}) {
        WriteFile(folder_ / name, WavBytes(spec, SampleBytes16(samples)));
        return String((folder_ / name).c_str());
    }

    Samples Take(uint32_t frames) {
        device_->ClearOutput();
        device_->Advance(frames);
        return device_->Output();
    }

    TempFolder folder_;
    Sounder sounder_;
    snd::NullSoundDevice* device_ = nullptr;
};

TEST_F(SounderTest, ShortEffectIsFollowedBySilenceUpToTheMinimumBuffer) {
    WriteFile(folder_ / "click.wav", WavBytes({1, 1, 22050, 8}, std::string(100, '\xC0')));
    Sound* sound = sounder_.LoadSound((folder_ / "click.wav").c_str(), Sound::kPlain, true);
    ASSERT_NE(sound->Buffer(), nullptr);
    EXPECT_EQ(sound->GetSize(), 8192u);
    ASSERT_EQ(sounder_.Play(sound, 1.0f, 0), snd::Result::Ok);
    const Samples out = Take(8192);
    // 0xC0 is 64 above the 8-bit middle: 64 x 256 in 16 bits; the padding is 0x80, silence.
    EXPECT_EQ(Samples(out.begin(), out.begin() + 200), Samples(200, 16384));
    EXPECT_EQ(Samples(out.begin() + 200, out.end()), Samples(2 * 8092, 0));
    EXPECT_FALSE(sound->IsPlaying());

    // 16-bit data pads with 0.
    const String loud = Effect("loud.wav", Samples(100, 1234), {1, 1, 22050, 16});
    Sound* sixteen = sounder_.LoadSound(loud, Sound::kPlain, true);
    EXPECT_EQ(sixteen->GetSize(), 8192u);
    sounder_.Play(sixteen, 1.0f, 0);
    const Samples out16 = Take(4096);
    EXPECT_EQ(Samples(out16.begin(), out16.begin() + 200), Samples(200, 1234));
    EXPECT_EQ(Samples(out16.begin() + 200, out16.end()), Samples(2 * 4096 - 200, 0));
}

TEST_F(SounderTest, OtherRatesAreResampledToTheOutput) {
    // A ramp at half the output rate: every second output frame lies halfway between two.
    const Samples ramp = MakeSamples(5000, 1, [](int i, int) { return int16_t(i * 4); });
    Sound* slow = sounder_.LoadSound(Effect("slow.wav", ramp, {1, 1, 11025, 16}), Sound::kPlain, true);
    sounder_.Play(slow, 1.0f, 0);
    const Samples out = Take(8);
    EXPECT_EQ(out, (Samples{0, 0, 2, 2, 4, 4, 6, 6, 8, 8, 10, 10, 12, 12, 14, 14}));
    EXPECT_EQ(Take(10000 - 8).size(), 2u * (10000 - 8));
    EXPECT_FALSE(slow->IsPlaying());  // 5000 frames at 11025 Hz last 10000 output frames

    // Stereo at twice the rate: every second frame is heard, left and right kept apart.
    const Samples stereo = MakeSamples(8000, 2, [](int i, int c) { return int16_t(c == 0 ? i : -i); });
    Sound* fast = sounder_.LoadSound(Effect("fast.wav", stereo, {1, 2, 44100, 16}), Sound::kPlain, true);
    sounder_.Play(fast, 1.0f, 0);
    EXPECT_EQ(Take(3), (Samples{0, 0, 2, -2, 4, -4}));
}

TEST_F(SounderTest, LoadingTwiceSharesTheDataAndPlaysIndependently) {
    const String name = Effect("Countdown.wav", Samples(2 * 20000, 1000));
    Sound* first = sounder_.LoadSound(name, Sound::kPanned, true);
    Sound* second = sounder_.LoadSound(String(name).Lowered(), Sound::kPlain, true);
    ASSERT_NE(first, second);
    EXPECT_EQ(sounder_.SoundCount(), 2);
    ASSERT_EQ(sounder_.SoundTable().size(), 1u);
    EXPECT_EQ(sounder_.SoundTable()[0], first);
    EXPECT_EQ(first->Name(), name.Uppered());
    EXPECT_EQ(Sounder::FindByName(sounder_.SoundTable(), name.Uppered().CStr()), 0);
    // The duplicate keeps the original's kind, whatever was asked.
    EXPECT_EQ(second->Kind(), Sound::kPanned);

    sounder_.Play(first, 1.0f, 0);
    Take(1000);
    sounder_.Play(second, 0.5f, 0);
    EXPECT_EQ(Take(1)[0], int16_t(1000 + Scaled(1000, -5000)));
    StopSound(first);
    EXPECT_EQ(Take(1)[0], Scaled(1000, -5000));
    EXPECT_TRUE(second->IsPlaying());

    // Without sharing the file is read again and both stay in the table.
    Sound* third = sounder_.LoadSound(name, Sound::kPanned, false);
    EXPECT_EQ(sounder_.SoundTable().size(), 2u);
    sounder_.ReleaseSound(third);
    sounder_.ReleaseSound(first);
    EXPECT_TRUE(sounder_.SoundTable().empty());
    EXPECT_EQ(sounder_.SoundCount(), 1);
    // The duplicate still plays from the shared samples.
    EXPECT_EQ(Take(1)[0], Scaled(1000, -5000));
    sounder_.ReleaseSound(first);  // not in the list any more: nothing happens
    EXPECT_EQ(sounder_.LoadSound("", Sound::kPanned, true), nullptr);
}

TEST_F(SounderTest, TablesStaySortedByUpperCasedNameInByteOrder) {
    for (const char* name : {"b.wav", "A.wav", "c.wav", "_.wav", "a2.wav"}) {
        sounder_.LoadSound(Effect(name, Samples(200, 1)), Sound::kPlain, true);
    }
    std::vector<std::string> names;
    for (const Sound* sound : sounder_.SoundTable()) names.push_back(sound->Name().FileName().CStr());
    EXPECT_EQ(names, (std::vector<std::string>{"A.WAV", "A2.WAV", "B.WAV", "C.WAV", "_.WAV"}));
    EXPECT_EQ(Sounder::FindByName(sounder_.SoundTable(), "NONE"), -1);
}

TEST_F(SounderTest, PlayingSoundIsNotRestartedOnlyItsVolumeChanges) {
    const Samples ramp = MakeSamples(20000, 2, [](int i, int) { return int16_t(i % 30000); });
    Sound* sound = sounder_.LoadSound(Effect("ramp.wav", ramp), Sound::kPanned, true);
    sounder_.Play(sound, 1.0f, 0);
    Take(500);
    EXPECT_EQ(sounder_.Play(sound, 0.5f, 0), snd::Result::Ok);
    EXPECT_EQ(sound->Volume(), 0.5f);
    EXPECT_EQ(sound->Buffer()->Volume(), -5000);
    EXPECT_EQ(Take(1)[0], Scaled(500, -5000));  // still at frame 500

    // Once ended it starts again from the beginning.
    Take(20000);
    EXPECT_FALSE(sound->IsPlaying());
    sounder_.Play(sound, 1.0f, 0);
    EXPECT_EQ(Take(2), (Samples{0, 0, 1, 1}));
}

TEST_F(SounderTest, VolumeAndPanFollowTheLawAndAreClamped) {
    Sound* sound = sounder_.LoadSound(Effect("v.wav", Samples(2 * 100, 10000)), Sound::kPanned, true);
    snd::SoundBuffer& buffer = *sound->Buffer();
    const std::pair<float, int> volumes[] = {{1.0f, 0}, {0.5f, -5000},   {0.0f, -10000}, {0.25f, -7500},
                                             {1.7f, 0}, {-3.0f, -10000}, {NAN, -10000},  {0.87654f, -1235}};
    for (const auto& [v, hundredths] : volumes) {
        sound->SetVolume(v);
        EXPECT_EQ(buffer.Volume(), hundredths) << v;
        EXPECT_GE(sound->Volume(), 0.0f);
        EXPECT_LE(sound->Volume(), 1.0f);
    }
    // Changes of 0.00001 or less are not sent.
    sound->SetVolume(0.5f);
    buffer.SetVolume(-1);
    sound->SetVolume(0.500005f);
    EXPECT_EQ(buffer.Volume(), -1);

    const std::pair<float, int> pans[] = {{-1.0f, -10000}, {0.5f, 5000},    {-0.33333f, -3333},
                                          {4.0f, 10000},   {-9.0f, -10000}, {INFINITY, 0}};
    for (const auto& [p, hundredths] : pans) {
        sound->SetPan(p);
        EXPECT_EQ(buffer.Pan(), hundredths) << p;
    }

    sound->SetVolume(1.0f);
    sound->SetPan(0.5f);
    sounder_.Play(sound, 1.0f, 0);
    const Samples out = Take(1);
    EXPECT_EQ(out[0], Scaled(10000, -5000));  // the left ear loses what the pan gives the right
    EXPECT_EQ(out[1], 10000);
}

TEST_F(SounderTest, PanOnlyReachesPannedSoundsAndPlacesWaitForThePlayCommit) {
    const String name = Effect("p.wav", Samples(2 * 100, 100), {1, 1, 22050, 16});
    Sound* plain = sounder_.LoadSound(name, Sound::kPlain, false);
    plain->SetPan(1.0f);
    EXPECT_EQ(plain->Pan(), 0.0f);
    EXPECT_EQ(plain->Buffer()->Pan(), 0);

    Sound* placed = sounder_.LoadSound(name, Sound::kPositional, false);
    ASSERT_TRUE(placed->Has3D());
    placed->SetPan(1.0f);
    EXPECT_EQ(placed->Pan(), 0.0f);
    placed->SetPosition({3.0f, 0.0f, 4.0f});
    EXPECT_EQ(placed->Position(), Vector3(3.0f, 0.0f, 4.0f));
    EXPECT_TRUE(Sound::AnyPositionChanged());
    EXPECT_EQ(placed->Buffer()->Position3D().x, 0.0f);  // deferred
    sounder_.Play(placed, 1.0f, 0);
    EXPECT_FALSE(Sound::AnyPositionChanged());
    EXPECT_FALSE(placed->Changed3D());
    EXPECT_EQ(placed->Buffer()->Position3D().z, 4.0f);

    // Without a positional buffer the place is only stored.
    plain->SetPosition({1.0f, 2.0f, 3.0f});
    EXPECT_EQ(plain->Position(), Vector3(1.0f, 2.0f, 3.0f));
    EXPECT_FALSE(plain->Changed3D());
    EXPECT_FALSE(Sound::AnyPositionChanged());

    // The arena's own fields.
    EXPECT_EQ(placed->VolumeFactor(), 1.0f);
    EXPECT_FALSE(placed->IsTracked());
}

TEST_F(SounderTest, FilesThatCannotBeReadGiveSilentSoundsNotErrors) {
    LogCapture log;
    WriteFile(folder_ / "zero.wav", WavBytes({1, 1, 22050, 16}, std::string(1, 'x')));
    for (const char* name : {"absent.wav", "absent.ogg", "zero.wav"}) {
        SCOPED_TRACE(name);
        Sound* sound = sounder_.LoadSound((folder_ / name).c_str(), Sound::kPanned, true);
        ASSERT_NE(sound, nullptr);
        EXPECT_EQ(sound->Buffer(), nullptr);
        EXPECT_NE(sounder_.Play(sound, 1.0f, 0), snd::Result::Ok);
        EXPECT_FALSE(sound->IsPlaying());
        sound->SetVolume(0.3f);
        sound->SetPosition({1, 2, 3});
        StopSound(sound);
    }
    EXPECT_TRUE(log.Contains("WavFile::Open() - File does not exist"));
    EXPECT_TRUE(log.Contains("OggFile::Open() - File does not exist: "));
    EXPECT_TRUE(log.Contains("WavFile::Open() - No size"));
    EXPECT_TRUE(sounder_.SoundTable().empty());
    EXPECT_EQ(Take(100), Samples(200, 0));
}

TEST_F(SounderTest, LostBufferIsRefilledAtTheNextPlayAndAPersistentLossDoesNotHang) {
    Sound* sound = sounder_.LoadSound(Effect("lost.wav", Samples(2 * 9000, 700)), Sound::kPanned, true);
    sounder_.Play(sound, 1.0f, 0);
    device_->SimulateLoss(true);
    EXPECT_FALSE(sound->IsPlaying());
    EXPECT_EQ(sounder_.Play(sound, 1.0f, 0), snd::Result::BufferLost);
    device_->SimulateLoss(false);
    EXPECT_EQ(sounder_.Play(sound, 1.0f, 0), snd::Result::Ok);
    EXPECT_EQ(Take(2), Samples(4, 700));
}

TEST(SounderInit, RefusesAPrimaryFormatTheMixerCannotMake) {
    Sounder sounder;
    try {
        sounder.Init(snd::DeviceKind::Null, 1, 22050, 16);
        FAIL() << "no error raised";
    } catch (const ThrowError& error) {
        EXPECT_STREQ(error.file.CStr(), "Sounder");
        EXPECT_EQ(std::string(error.message.CStr()).rfind("Sounder::Init() - the mixer makes only 16-bit stereo: ", 0),
                  0u);
    }
    try {
        sounder.Init(snd::DeviceKind::Null, 2, 1, 16);
        FAIL() << "no error raised";
    } catch (const ThrowError& error) {
        EXPECT_EQ(std::string(error.message.CStr()).rfind("Sounder::Init() - snd::OpenSoundDevice(): ", 0), 0u);
        EXPECT_EQ(error.code, int32_t(snd::Result::InvalidParam));
    }
    sounder.Init(snd::DeviceKind::Null, 2, 22050, 16);
    ASSERT_NE(sounder.Device(), nullptr);
    EXPECT_STREQ(sounder.Device()->DriverName(), "null");
}

}  // namespace
