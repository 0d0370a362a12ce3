// The SDL backend through SDL's own headless drivers: "disk" writes the mixed output to a
// file, "dummy" is the silent fallback.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sound/SoundDevice.h"
#include "support/ScopedEnv.h"
#include "support/SoundTestUtil.h"
#include "support/TempFolder.h"

namespace {

using namespace sound_test;
using platform_test::ScopedEnv;
using platform_test::TempFolder;
using Samples = std::vector<int16_t>;

bool WaitUntilStopped(const snd::SoundBuffer& buffer) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (buffer.IsPlaying()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// A 441 Hz tone, left and right at different levels, starting on a non-zero sample so
// its start can be found in the output.
Samples Tone(int frames) {
    Samples samples;
    for (int i = 0; i < frames; ++i) {
        const double s = std::sin(2.0 * M_PI * 441.0 * (i + 0.5) / 22050.0);
        samples.push_back(int16_t(std::lround(12000.0 * s)));
        samples.push_back(int16_t(std::lround(-6000.0 * s)));
    }
    return samples;
}

TEST(SdlSoundDevice, DiskDriverWritesThePlayedTone) {
    TempFolder folder;
    const std::string file = folder / "output.raw";
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv target("SDL_DISKAUDIOFILE", file);
    ScopedEnv delay("SDL_DISKAUDIODELAY", "0");
    const Samples tone = Tone(2205);
    {
        snd::DeviceResult opened = snd::OpenSoundDevice(snd::DeviceKind::Sdl);
        ASSERT_EQ(opened.result, snd::Result::Ok);
        if (std::string(opened.device->DriverName()) != "disk") {
            GTEST_SKIP() << "SDL has no disk audio driver here: " << opened.device->DriverName();
        }
        EXPECT_FALSE(opened.device->IsSilent());
        auto buffer = Make16(*opened.device, tone, 2);
        buffer->Play(snd::kPlayOnce);
        ASSERT_TRUE(WaitUntilStopped(*buffer));
    }
    const Samples written = ReadSamples16(file);
    size_t start = 0;
    while (start < written.size() && written[start] == 0) ++start;
    ASSERT_EQ(start % 2, 0u) << "the tone must start on a left sample";
    ASSERT_GE(written.size() - start, tone.size());
    EXPECT_EQ(Samples(written.begin() + long(start), written.begin() + long(start + tone.size())), tone);
    // Silence follows the tone: it was played once.
    const size_t after = start + tone.size();
    EXPECT_EQ(Samples(written.begin() + long(after), written.begin() + long(std::min(written.size(), after + 64))),
              Samples(std::min<size_t>(written.size() - after, 64), 0));
}

TEST(SdlSoundDevice, FallsBackToTheSilentDummyDriver) {
    ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    snd::DeviceResult opened = snd::OpenSoundDevice(snd::DeviceKind::Sdl);
    ASSERT_EQ(opened.result, snd::Result::Ok);
    EXPECT_STREQ(opened.device->DriverName(), "dummy");
    EXPECT_TRUE(opened.device->IsSilent());
    EXPECT_EQ(opened.device->PrimaryFormat(), snd::kPrimaryFormat);

    // The silent device keeps time: a tenth of a second plays and ends.
    auto buffer = Make16(*opened.device, Samples(2205, 1000));
    buffer->Play(snd::kPlayOnce);
    EXPECT_TRUE(WaitUntilStopped(*buffer));
}

}  // namespace
