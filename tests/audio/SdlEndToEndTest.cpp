// The whole path through SDL's "disk" driver, which writes the mixed output to a file:
// an effect and a stream are loaded, played by the sound manager (the stream refilled by
// its thread) and found again in the written samples.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include <gtest/gtest.h>

#include "audio/Sounder.h"
#include "support/AudioTestUtil.h"
#include "support/ScopedEnv.h"
#include "support/SoundTestUtil.h"

namespace {

using namespace audio_test;
using platform_test::ScopedEnv;

// Where the expected samples start in the written ones (on a left sample), or npos.
size_t FindStart(const Samples& written, const Samples& expected, size_t probe) {
    for (size_t start = 0; start + probe <= written.size(); start += 2) {
        if (std::equal(expected.begin(), expected.begin() + long(probe), written.begin() + long(start))) return start;
    }
    return std::string::npos;
}

template <typename Done>
bool WaitFor(Done done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

bool OpenDisk(Sounder& sounder) {
    sounder.Init(snd::DeviceKind::Sdl, 2, 22050, 16);
    return std::string(sounder.Device()->DriverName()) == "disk";
}

TEST(SdlEndToEnd, EffectReachesTheDiskDriverUnchanged) {
    TempFolder folder;
    const std::string output = folder / "effect.raw";
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv target("SDL_DISKAUDIOFILE", output);
    ScopedEnv delay("SDL_DISKAUDIODELAY", "0");
    const Samples tone = MakeSamples(4410, 2, [](int i, int c) {
        const double s = std::sin(2.0 * M_PI * 441.0 * (i + 0.5) / 22050.0);
        return int16_t(std::lround((c == 0 ? 12000.0 : -7000.0) * s));
    });
    WriteFile(folder / "Tone.wav", WavBytes({}, SampleBytes16(tone)));
    {
        Sounder sounder;
        if (!OpenDisk(sounder)) GTEST_SKIP() << "SDL has no disk audio driver here";
        Sound* sound = sounder.LoadSound((folder / "TONE.WAV").c_str(), Sound::kPanned, true);
        ASSERT_EQ(sounder.Play(sound, 1.0f, 0), snd::Result::Ok);
        ASSERT_TRUE(WaitFor([&] { return !sound->IsPlaying(); }));
    }
    const Samples written = sound_test::ReadSamples16(output);
    const size_t start = FindStart(written, tone, 64);
    ASSERT_NE(start, std::string::npos);
    ASSERT_GE(written.size(), start + tone.size());
    EXPECT_TRUE(std::equal(tone.begin(), tone.end(), written.begin() + long(start)));
}

TEST(SdlEndToEnd, OggStreamIsRefilledByTheThreadInTime) {
    TempFolder folder;
    const std::string output = folder / "stream.raw";
    // The stream thread refills every 25 ms; without a pace the driver would run through
    // the ring hundreds of times between two refills. 100 ms per 512-frame callback plays
    // a half of the ring a second, so a thread that a loaded machine leaves waiting for
    // most of a second still refills in time.
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv target("SDL_DISKAUDIOFILE", output);
    ScopedEnv delay("SDL_DISKAUDIODELAY", "100");
    const std::string ogg = EncodeOgg(ToneFloats(22050, 2, 22050, 523.0), 2, 22050);
    WriteFile(folder / "Music.ogg", ogg);
    const Samples reference = DecodeOgg(ogg);
    {
        Sounder sounder;
        if (!OpenDisk(sounder)) GTEST_SKIP() << "SDL has no disk audio driver here";
        sounder.StartStreamThread();
        StreamSound* stream = sounder.LoadStream((folder / "music.OGG").c_str(), Sound::kPanned, true);
        sounder.PlayStream(stream, 1.0f, 0);
        ASSERT_TRUE(WaitFor([&] { return !sounder.IsStreamActive(stream); }));
        sounder.ReleaseStream(stream);
    }
    const Samples written = sound_test::ReadSamples16(output);
    const size_t start = FindStart(written, reference, 256);
    ASSERT_NE(start, std::string::npos);
    ASSERT_GE(written.size(), start + reference.size());
    // A late refill would replay a stale half: count the samples that differ.
    size_t differing = 0;
    for (size_t i = 0; i < reference.size(); ++i) differing += written[start + i] != reference[i];
    EXPECT_EQ(differing, 0u);
}

}  // namespace
