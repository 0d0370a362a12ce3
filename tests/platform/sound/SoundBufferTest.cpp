// Buffer creation, locking with wrap-around, cursors, loss and use from two threads.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sound/NullSoundDevice.h"
#include "support/SoundTestUtil.h"

namespace {

using namespace sound_test;
using Samples = std::vector<int16_t>;

TEST(SoundBuffer, CreationRefusesWhatCannotPlay) {
    snd::NullSoundDevice device;
    auto refused = [&](snd::PcmFormat format, uint32_t bytes, uint32_t flags = snd::kCtrlVolume) {
        return device.CreateBuffer({format, bytes, flags}).result == snd::Result::InvalidParam;
    };
    EXPECT_TRUE(refused({3, 22050, 16}, 64));
    EXPECT_TRUE(refused({2, 22050, 24}, 64));
    EXPECT_TRUE(refused({1, 99, 16}, 64));
    EXPECT_TRUE(refused({1, 200001, 16}, 64));
    EXPECT_TRUE(refused({2, 22050, 16}, 3));  // less than one frame
    EXPECT_TRUE(refused({1, 22050, 8}, snd::kMaxBufferBytes + 1));
    EXPECT_TRUE(refused({1, 22050, 8}, 64, 1u << 31));
    EXPECT_TRUE(refused({1, 22050, 8}, 64, snd::kCtrlPan | snd::kCtrl3D));

    snd::BufferResult made = device.CreateBuffer({{1, 100, 8}, 1, 0});
    ASSERT_EQ(made.result, snd::Result::Ok);
    EXPECT_EQ(made.buffer->SetVolume(-100), snd::Result::Unsupported);
    EXPECT_EQ(made.buffer->SetPan(-100), snd::Result::Unsupported);
}

TEST(SoundBuffer, ANewBufferIsSilentInItsOwnFormat) {
    snd::NullSoundDevice device;
    snd::BufferResult made = device.CreateBuffer({{1, 22050, 8}, 16, snd::kCtrlVolume});
    ASSERT_EQ(made.result, snd::Result::Ok);
    snd::LockedRegion region;
    ASSERT_EQ(made.buffer->Lock(0, 16, region), snd::Result::Ok);
    EXPECT_EQ(std::vector<uint8_t>(region.part1, region.part1 + region.bytes1), std::vector<uint8_t>(16, 0x80));
    made.buffer->Unlock(region);
    made.buffer->Play(snd::kPlayOnce);
    EXPECT_EQ(Mix(device, 16), Samples(32, 0));
}

TEST(SoundBuffer, LockWrapsAroundTheEndWhilePlaying) {
    snd::NullSoundDevice device;
    // Eight stereo frames of 4 bytes; frame i holds (i, -i) * 100.
    Samples samples;
    for (int16_t i = 0; i < 8; ++i) {
        samples.push_back(int16_t(i * 100));
        samples.push_back(int16_t(-i * 100));
    }
    auto buffer = Make16(device, samples, 2);
    buffer->Play(snd::kPlayLooping);
    Mix(device, 5);
    const snd::Cursors cursors = buffer->CurrentPosition();
    EXPECT_EQ(cursors.play, 20u);
    EXPECT_EQ(cursors.write, 28u);

    // Frames 6, 7 and then 0, 1: the region wraps.
    snd::LockedRegion region;
    ASSERT_EQ(buffer->Lock(24, 16, region), snd::Result::Ok);
    ASSERT_EQ(region.bytes1, 8u);
    ASSERT_EQ(region.bytes2, 8u);
    ASSERT_NE(region.part2, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(region.part1, region.part1 + 8), Bytes16({600, -600, 700, -700}));
    EXPECT_EQ(std::vector<uint8_t>(region.part2, region.part2 + 8), Bytes16({0, 0, 100, -100}));
    const std::vector<uint8_t> tail = Bytes16({7, 7, 7, 7});
    const std::vector<uint8_t> head = Bytes16({9, 9, 9, 9});
    std::copy(tail.begin(), tail.end(), region.part1);
    std::copy(head.begin(), head.end(), region.part2);
    ASSERT_EQ(buffer->Unlock(region), snd::Result::Ok);

    EXPECT_EQ(Left(Mix(device, 6)), (Samples{500, 7, 7, 9, 9, 200}));
    EXPECT_EQ(buffer->CurrentPosition().play, 3u * 4);
}

TEST(SoundBuffer, UnlockWritesOnlyTheBytesItIsGiven) {
    snd::NullSoundDevice device;
    auto buffer = Make16(device, {1, 2, 3, 4});
    snd::LockedRegion region;
    ASSERT_EQ(buffer->Lock(6, 6, region), snd::Result::Ok);  // frame 3, then frames 0 and 1
    const std::vector<uint8_t> bytes = Bytes16({40, 10, 20});
    std::copy(bytes.begin(), bytes.begin() + 2, region.part1);
    std::copy(bytes.begin() + 2, bytes.end(), region.part2);
    snd::LockedRegion written = region;
    written.bytes2 = 2;  // frame 1 is left as it was
    ASSERT_EQ(buffer->Unlock(written), snd::Result::Ok);
    buffer->Play(snd::kPlayOnce);
    EXPECT_EQ(Left(Mix(device, 4)), (Samples{10, 2, 3, 40}));
}

TEST(SoundBuffer, LockAndUnlockRefuseWhatDoesNotFit) {
    snd::NullSoundDevice device;
    auto buffer = Make16(device, {1, 2, 3, 4});
    snd::LockedRegion region;
    EXPECT_EQ(buffer->Lock(8, 2, region), snd::Result::InvalidParam);
    EXPECT_EQ(buffer->Lock(0, 9, region), snd::Result::InvalidParam);
    EXPECT_EQ(buffer->Lock(0, 0, region), snd::Result::InvalidParam);
    EXPECT_EQ(region.part1, nullptr);

    ASSERT_EQ(buffer->Lock(0, 8, region), snd::Result::Ok);
    snd::LockedRegion again;
    EXPECT_EQ(buffer->Lock(0, 2, again), snd::Result::InvalidCall);
    snd::LockedRegion larger = region;
    larger.bytes1 = 10;
    EXPECT_EQ(buffer->Unlock(larger), snd::Result::InvalidCall);
    EXPECT_EQ(buffer->Unlock(region), snd::Result::Ok);
    EXPECT_EQ(buffer->Unlock(region), snd::Result::InvalidCall);
}

TEST(SoundBuffer, SetCurrentPositionRoundsToAFrameAndRefusesThePastEnd) {
    snd::NullSoundDevice device;
    auto buffer = Make16(device, {100, -100, 200, -200, 300, -300}, 2);
    EXPECT_EQ(buffer->SetCurrentPosition(12), snd::Result::InvalidParam);
    ASSERT_EQ(buffer->SetCurrentPosition(6), snd::Result::Ok);
    EXPECT_EQ(buffer->CurrentPosition().play, 4u);
    EXPECT_EQ(buffer->CurrentPosition().write, 4u);  // stopped: nothing is read ahead
    buffer->Play(snd::kPlayOnce);
    EXPECT_EQ(Mix(device, 2), (Samples{200, -200, 300, -300}));
}

TEST(SoundBuffer, ALostBufferRefusesToPlayUntilRestoredAndRefilled) {
    snd::NullSoundDevice device;
    auto buffer = Make16(device, {1000, 2000, 3000, 4000});
    buffer->Play(snd::kPlayLooping);
    Mix(device, 1);

    device.SimulateLoss(true);
    EXPECT_EQ(buffer->Status(), snd::kStatusLost);
    EXPECT_EQ(Mix(device, 1), (Samples{0, 0}));
    EXPECT_EQ(buffer->Play(snd::kPlayOnce), snd::Result::BufferLost);
    snd::LockedRegion region;
    EXPECT_EQ(buffer->Lock(0, 8, region), snd::Result::BufferLost);
    EXPECT_EQ(region.part1, nullptr);
    EXPECT_EQ(buffer->Restore(), snd::Result::BufferLost);
    EXPECT_EQ(device.DuplicateBuffer(*buffer).result, snd::Result::BufferLost);

    device.SimulateLoss(false);
    EXPECT_EQ(buffer->Restore(), snd::Result::Ok);
    EXPECT_EQ(buffer->Status(), 0u);
    // The samples went with the loss: until refilled the buffer plays silence.
    ASSERT_EQ(buffer->SetCurrentPosition(0), snd::Result::Ok);
    buffer->Play(snd::kPlayOnce);
    EXPECT_EQ(Left(Mix(device, 2)), (Samples{0, 0}));
    Write(*buffer, 0, Bytes16({5, 6, 7, 8}));
    EXPECT_EQ(Left(Mix(device, 2)), (Samples{7, 8}));
}

TEST(SoundBuffer, ABufferMayOutliveItsDevice) {
    std::unique_ptr<snd::SoundBuffer> buffer;
    {
        snd::NullSoundDevice device;
        buffer = Make16(device, {1, 2});
        buffer->Play(snd::kPlayLooping);
        device.Advance(3);
    }
    EXPECT_TRUE(buffer->IsPlaying());
    buffer->Stop();
    EXPECT_FALSE(buffer->IsPlaying());
}

// The streaming pattern: one thread refills the half the play cursor has left while
// another advances the clock. Nothing may tear or deadlock; the cursor stays on a frame.
TEST(SoundBuffer, CursorsAndLocksAreSafeFromAnotherThread) {
    snd::NullSoundDevice device;
    snd::BufferResult made = device.CreateBuffer({{2, 22050, 16}, 4096, snd::kCtrlVolume | snd::kPrecisePosition});
    ASSERT_EQ(made.result, snd::Result::Ok);
    snd::SoundBuffer& buffer = *made.buffer;
    buffer.Play(snd::kPlayLooping);

    std::atomic<bool> done{false};
    std::atomic<int> refills{0};
    std::thread refiller([&] {
        int nextHalf = 0;
        while (!done) {
            const uint32_t play = buffer.CurrentPosition().play;
            if (play % 4 != 0) ADD_FAILURE() << "cursor between frames: " << play;
            if ((play < 2048) == (nextHalf == 0)) continue;
            snd::LockedRegion region;
            if (buffer.Lock(uint32_t(nextHalf) * 2048, 2048, region) != snd::Result::Ok) continue;
            std::fill_n(region.part1, region.bytes1, uint8_t(nextHalf + 1));
            buffer.Unlock(region);
            buffer.SetVolume(-nextHalf * 100);
            nextHalf ^= 1;
            ++refills;
        }
    });
    // The clock runs until the refiller has kept up 50 times; a loaded machine may leave it
    // unscheduled for a long while, so only a generous deadline ends the wait early.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (refills < 50 && std::chrono::steady_clock::now() < deadline) {
        device.Advance(256);
        std::this_thread::yield();
    }
    done = true;
    refiller.join();
    EXPECT_GE(refills.load(), 50);
    EXPECT_TRUE(buffer.IsPlaying());
}

}  // namespace
