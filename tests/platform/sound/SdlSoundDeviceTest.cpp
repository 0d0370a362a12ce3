// The SDL backend through SDL's own headless drivers: "disk" writes the mixed output to a
// file, "dummy" is the silent fallback.
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include "SoundTestUtil.h"
#include "platform/sound/SoundDevice.h"

namespace {

using namespace sound_test;
using Samples = std::vector<int16_t>;

// Sets an environment variable for the test's duration and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name)
    {
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (old_) ::setenv(name_, old_->c_str(), 1);
        else ::unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

class TempFolder {
public:
    TempFolder()
    {
        const char* base = std::getenv("VORNS_TEST_TMP");
        const std::filesystem::path parent = (base != nullptr && *base != '\0')
                                                 ? std::filesystem::path(base)
                                                 : std::filesystem::temp_directory_path();
        std::filesystem::create_directories(parent);
        std::string pattern = (parent / "sound-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

bool WaitUntilStopped(const snd::SoundBuffer& buffer)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (buffer.IsPlaying()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

Samples ReadSamples(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Samples samples(bytes.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = int16_t(uint16_t(uint8_t(bytes[2 * i]) | (uint8_t(bytes[2 * i + 1]) << 8)));
    }
    return samples;
}

// A 441 Hz tone, left and right at different levels, starting on a non-zero sample so
// its start can be found in the output.
Samples Tone(int frames)
{
    Samples samples;
    for (int i = 0; i < frames; ++i) {
        const double s = std::sin(2.0 * M_PI * 441.0 * (i + 0.5) / 22050.0);
        samples.push_back(int16_t(std::lround(12000.0 * s)));
        samples.push_back(int16_t(std::lround(-6000.0 * s)));
    }
    return samples;
}

TEST(SdlSoundDevice, DiskDriverWritesThePlayedTone)
{
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
    const Samples written = ReadSamples(file);
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

TEST(SdlSoundDevice, FallsBackToTheSilentDummyDriver)
{
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
