// The mixer's cost per second of 22050 Hz output, for 1, 8 and 32 playing voices. The
// voices mix the formats the game plays: 16-bit mono and stereo effects at 22050 Hz, and
// 11025 and 44100 Hz sounds that need resampling. "core_percent" is the share of one core
// the mixer takes while playing in real time (the target is at most 2 % for 32 voices).
#include <chrono>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "platform/sound/NullSoundDevice.h"

namespace {

constexpr uint32_t kOutputFrames = 22050;

std::unique_ptr<snd::SoundBuffer> MakeVoice(snd::SoundDevice& device, int index) {
    static const snd::PcmFormat kFormats[] = {
        {1, 22050, 16}, {2, 22050, 16}, {1, 11025, 16}, {1, 44100, 16}, {1, 22050, 8}};
    const snd::PcmFormat format = kFormats[index % 5];
    const uint32_t bytes = format.BytesPerSecond();
    snd::BufferResult made = device.CreateBuffer({format, bytes, snd::kCtrlVolume | snd::kCtrlPan});
    snd::LockedRegion region;
    made.buffer->Lock(0, bytes, region);
    for (uint32_t i = 0; i < region.bytes1; ++i) region.part1[i] = uint8_t(i * 7 + uint32_t(index));
    made.buffer->Unlock(region);
    made.buffer->SetVolume(-100 * (index % 10));
    made.buffer->SetPan(1000 * (index % 7) - 3000);
    made.buffer->Play(snd::kPlayLooping);
    return std::move(made.buffer);
}

void BM_MixOneSecond(benchmark::State& state) {
    snd::NullSoundDevice device;
    std::vector<std::unique_ptr<snd::SoundBuffer>> voices;
    for (int i = 0; i < state.range(0); ++i) voices.push_back(MakeVoice(device, i));
    device.Advance(kOutputFrames);  // sizes the output once
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        device.ClearOutput();
        device.Advance(kOutputFrames);
        benchmark::DoNotOptimize(device.Output().data());
    }
    // Each iteration mixes one second of output, so seconds per iteration is the core share.
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    state.counters["core_percent"] = 100.0 * spent.count() / double(state.iterations());
}

BENCHMARK(BM_MixOneSecond)->Arg(1)->Arg(8)->Arg(32)->Unit(benchmark::kMicrosecond);

}  // namespace
