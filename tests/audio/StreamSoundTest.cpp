// Streams on the null device: the test advances the output clock and runs the streaming
// thread's passes itself, so every refill happens at a known cursor and the streamed
// output can be compared with the file sample by sample.
#include <atomic>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "audio/Sounder.h"
#include "platform/sound/NullSoundDevice.h"
#include "support/AudioTestUtil.h"

namespace {

using namespace audio_test;

// Output frames between two passes: well inside a half of the ring (5120 stereo frames).
constexpr uint32_t kPassFrames = 1000;

class StreamTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto device = std::make_unique<snd::NullSoundDevice>();
        device_ = device.get();
        sounder_.Init(std::move(device));
    }

    String File(const std::string& name, const std::string& bytes) {
        WriteFile(folder_ / name, bytes);
        return String((folder_ / name).c_str());
    }

    // Advances and refills until the stream ends (or the frame budget runs out).
    Samples PlayOut(StreamSound* stream, uint32_t maxFrames) {
        device_->ClearOutput();
        for (uint32_t frames = 0; frames < maxFrames && sounder_.IsStreamActive(stream); frames += kPassFrames) {
            device_->Advance(kPassFrames);
            sounder_.UpdateStreams();
        }
        return device_->Output();
    }

    Samples Advance(uint32_t frames) {
        device_->ClearOutput();
        for (uint32_t done = 0; done < frames; done += kPassFrames) {
            device_->Advance(kPassFrames);
            sounder_.UpdateStreams();
        }
        return device_->Output();
    }

    TempFolder folder_;
    Sounder sounder_;
    snd::NullSoundDevice* device_ = nullptr;
};

TEST_F(StreamTest, OggStreamPlaysEverySampleOnceAcrossTheRingThenEnds) {
    const std::string ogg = EncodeOgg(ToneFloats(40000, 2, 22050, 330.0), 2, 22050);
    const Samples reference = DecodeOgg(ogg);
    ASSERT_GT(2 * reference.size(), 3u * StreamSound::kRingBytes);  // several trips round the ring
    StreamSound* stream = sounder_.LoadStream(File("Music.ogg", ogg), Sound::kPanned, true);
    ASSERT_NE(stream->Buffer(), nullptr);
    EXPECT_EQ(stream->GetSize(), StreamSound::kRingBytes);
    EXPECT_FALSE(sounder_.IsStreamActive(stream));

    sounder_.PlayStream(stream, 1.0f, 0);
    EXPECT_TRUE(sounder_.IsStreamActive(stream));
    EXPECT_EQ(sounder_.ActiveStreamCount(), 1);
    const Samples out = PlayOut(stream, 200000);

    ASSERT_GE(out.size(), reference.size());
    EXPECT_TRUE(Samples(out.begin(), out.begin() + long(reference.size())) == reference)
        << "streamed samples differ from the decoded file";
    EXPECT_EQ(Samples(out.begin() + long(reference.size()), out.end()), Samples(out.size() - reference.size(), 0));
    // It stopped once the cursor entered the half of silence, not a whole ring later.
    EXPECT_LE(out.size() - reference.size(), 2u * (StreamSound::kHalfBytes / 4 + 2 * kPassFrames));
    EXPECT_TRUE(stream->HasEnded());
    EXPECT_FALSE(stream->IsPlaying());
    EXPECT_EQ(sounder_.ActiveStreamCount(), 0);
    EXPECT_EQ(Advance(2000), Samples(4000, 0));

    // Played again it starts over from the first sample.
    sounder_.PlayStream(stream, 1.0f, 0);
    const Samples again = PlayOut(stream, 200000);
    EXPECT_TRUE(Samples(again.begin(), again.begin() + long(reference.size())) == reference);
}

TEST_F(StreamTest, LoopingStreamRewindsWithoutGapsOrRepeats) {
    // 3000 frames: shorter than a half, so each half holds the data more than once.
    const Samples data = MakeSamples(3000, 2, [](int i, int c) { return int16_t(c == 0 ? i + 1 : -i - 1); });
    StreamSound* stream =
        sounder_.LoadStream(File("loop.wav", WavBytes({}, SampleBytes16(data))), Sound::kPanned, true);
    sounder_.PlayStream(stream, 1.0f, Sounder::kLoop);
    const Samples out = Advance(40000);
    for (size_t i = 0; i < out.size(); ++i) {
        ASSERT_EQ(out[i], data[i % data.size()]) << "sample " << i;
    }
    EXPECT_TRUE(sounder_.IsStreamActive(stream));
    EXPECT_FALSE(stream->HasEnded());

    // Played once, the same file is its data, then silence, then the end.
    sounder_.StopStream(stream);
    EXPECT_FALSE(sounder_.IsStreamActive(stream));
    sounder_.PlayStream(stream, 1.0f, 0);
    const Samples once = PlayOut(stream, 100000);
    EXPECT_EQ(Samples(once.begin(), once.begin() + long(data.size())), data);
    EXPECT_EQ(Samples(once.begin() + long(data.size()), once.end()), Samples(once.size() - data.size(), 0));
    EXPECT_FALSE(sounder_.IsStreamActive(stream));
}

TEST_F(StreamTest, PlayingAnActiveStreamChangesOnlyVolumeAndLooping) {
    const Samples data = MakeSamples(30000, 2, [](int i, int) { return int16_t(i % 20000); });
    StreamSound* stream =
        sounder_.LoadStream(File("speech.wav", WavBytes({}, SampleBytes16(data))), Sound::kPlain, true);
    sounder_.PlayStream(stream, 1.0f, Sounder::kLoop);
    Advance(3000);
    sounder_.PlayStream(stream, 0.0f, 0);
    EXPECT_FALSE(stream->IsLooping());
    EXPECT_EQ(stream->Buffer()->Volume(), -10000);
    // Not restarted: the cursor is where the clock left it.
    EXPECT_EQ(stream->Buffer()->CurrentPosition().play, 3000u * 4);
    EXPECT_EQ(sounder_.ActiveStreamCount(), 1);
}

TEST_F(StreamTest, ReaderWithoutDataEndsALoopInsteadOfSpinning) {
    const std::string empty = EncodeOgg({}, 2, 22050);
    ASSERT_FALSE(empty.empty());
    StreamSound* stream = sounder_.LoadStream(File("empty.ogg", empty), Sound::kPanned, true);
    ASSERT_NE(stream->Buffer(), nullptr);
    sounder_.PlayStream(stream, 1.0f, Sounder::kLoop);
    EXPECT_TRUE(stream->HasEnded());
    const Samples out = PlayOut(stream, 100000);
    EXPECT_FALSE(sounder_.IsStreamActive(stream));
    EXPECT_EQ(out, Samples(out.size(), 0));
}

TEST_F(StreamTest, SharedStreamsAreCountedAndDestroyedByTheLastRelease) {
    const Samples data = MakeSamples(30000, 2, [](int, int) { return int16_t(500); });
    const String name = File("Line.wav", WavBytes({}, SampleBytes16(data)));
    StreamSound* first = sounder_.LoadStream(name, Sound::kPlain, true);
    StreamSound* second = sounder_.LoadStream(String(name).Lowered(), Sound::kPlain, true);
    ASSERT_EQ(first, second);
    EXPECT_EQ(first->References(), 2);
    EXPECT_EQ(sounder_.StreamCount(), 1);

    sounder_.PlayStream(first, 1.0f, Sounder::kLoop);
    sounder_.ReleaseStream(first);
    // The other holder still has it, playing.
    EXPECT_EQ(sounder_.StreamCount(), 1);
    EXPECT_TRUE(sounder_.IsStreamActive(second));
    EXPECT_EQ(Advance(1000), Samples(2000, 500));

    sounder_.ReleaseStream(second);
    EXPECT_EQ(sounder_.StreamCount(), 0);
    EXPECT_TRUE(sounder_.StreamTable().empty());
    EXPECT_EQ(sounder_.ActiveStreamCount(), 0);
    EXPECT_EQ(Advance(1000), Samples(2000, 0));

    // Unshared loads are separate objects.
    StreamSound* a = sounder_.LoadStream(name, Sound::kPlain, false);
    StreamSound* b = sounder_.LoadStream(name, Sound::kPlain, false);
    EXPECT_NE(a, b);
    EXPECT_EQ(sounder_.StreamTable().size(), 2u);
    EXPECT_EQ(sounder_.LoadStream("", Sound::kPlain, true), nullptr);
}

TEST_F(StreamTest, MissingOrDamagedStreamFilesNeverPlay) {
    LogCapture log;
    StreamSound* missing = sounder_.LoadStream((folder_ / "none.ogg").c_str(), Sound::kPanned, true);
    StreamSound* damaged =
        sounder_.LoadStream(File("bad.ogg", "OggS" + std::string(5000, '\x33')), Sound::kPanned, true);
    for (StreamSound* stream : {missing, damaged}) {
        ASSERT_NE(stream, nullptr);
        sounder_.PlayStream(stream, 1.0f, Sounder::kLoop);
        EXPECT_FALSE(sounder_.IsStreamActive(stream));
    }
    EXPECT_TRUE(log.Contains("OggFile::Open() - File does not exist: "));
    EXPECT_TRUE(log.Contains("OggFile::Open() - Not a .ogg file"));
    EXPECT_EQ(Advance(1000), Samples(2000, 0));
    sounder_.ReleaseStream(missing);
    sounder_.ReleaseStream(damaged);
    EXPECT_EQ(sounder_.StreamCount(), 0);
}

TEST_F(StreamTest, LostStreamStartsOverOnceTheDeviceGivesItBack) {
    const Samples data = MakeSamples(30000, 2, [](int i, int) { return int16_t(i + 1); });
    StreamSound* stream =
        sounder_.LoadStream(File("lost.wav", WavBytes({}, SampleBytes16(data))), Sound::kPanned, true);
    sounder_.PlayStream(stream, 1.0f, 0);
    Advance(2000);
    device_->SimulateLoss(true);
    EXPECT_EQ(Advance(2000), Samples(4000, 0));
    EXPECT_TRUE(sounder_.IsStreamActive(stream));
    device_->SimulateLoss(false);
    sounder_.UpdateStreams();
    const Samples out = Advance(2000);
    EXPECT_EQ(Samples(out.begin(), out.begin() + 4), (Samples{1, 1, 2, 2}));
}

// The streaming thread refills while the main thread plays, stops and releases streams
// and a second thread drives the output clock.
TEST_F(StreamTest, StopAndReleaseWhileTheThreadRunsNeverDeadlock) {
    const String wav = File("m.wav", WavBytes({}, SampleBytes16(Samples(2 * 30000, 100))));
    const String ogg = File("m.ogg", EncodeOgg(ToneFloats(20000, 2, 22050, 200.0), 2, 22050));
    std::atomic<bool> running{true};
    std::thread clock([&] {
        while (running) {
            device_->Advance(256);
            device_->ClearOutput();
            std::this_thread::sleep_for(std::chrono::microseconds(300));
        }
    });
    sounder_.StartStreamThread();
    for (int round = 0; round < 150; ++round) {
        StreamSound* stream = sounder_.LoadStream(round % 2 == 0 ? wav : ogg, Sound::kPanned, round % 3 == 0);
        StreamSound* other = sounder_.LoadStream(ogg, Sound::kPlain, false);
        sounder_.PlayStream(stream, 1.0f, round % 2);
        sounder_.PlayStream(other, 0.5f, Sounder::kLoop);
        std::this_thread::sleep_for(std::chrono::microseconds(200 * (round % 7)));
        if (round % 4 == 0) sounder_.StopStream(stream);
        sounder_.PlayStream(stream, 0.7f, Sounder::kLoop);
        sounder_.ReleaseStream(other);
        sounder_.ReleaseStream(stream);
    }
    EXPECT_EQ(sounder_.StreamCount(), 0);
    EXPECT_EQ(sounder_.ActiveStreamCount(), 0);
    // Shutting down with streams playing stops the thread before the device goes.
    StreamSound* last = sounder_.LoadStream(ogg, Sound::kPanned, true);
    sounder_.PlayStream(last, 1.0f, Sounder::kLoop);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    running = false;
    clock.join();
    sounder_.Shutdown();
    EXPECT_EQ(sounder_.StreamCount(), 0);
    EXPECT_EQ(sounder_.Device(), nullptr);
}

TEST(StreamThread, ShutdownWithActiveStreamsRepeatedly) {
    TempFolder folder;
    WriteFile(folder / "s.wav", WavBytes({}, SampleBytes16(Samples(2 * 30000, 9))));
    for (int round = 0; round < 40; ++round) {
        Sounder sounder;
        sounder.Init(std::make_unique<snd::NullSoundDevice>());
        sounder.StartStreamThread();
        StreamSound* stream = sounder.LoadStream((folder / "s.wav").c_str(), Sound::kPanned, true);
        sounder.PlayStream(stream, 1.0f, round % 2);
        if (round % 3 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
}

}  // namespace

TEST_F(StreamTest, PlayingOutTheNullDeviceEndsALineAfterItsOwnLengthAndNoSooner) {
    // Two seconds of speech at 22050 Hz, played out a fiftieth of a second at a time as a
    // game frame would; the line ends within the ring's silent half after its samples.
    const Samples data = MakeSamples(44100, 2, [](int, int) { return int16_t(700); });
    StreamSound* line = sounder_.LoadStream(File("line.wav", WavBytes({}, SampleBytes16(data))), Sound::kPlain, true);
    sounder_.PlayStream(line, 1.0f, 0);
    int frames = 0;
    while (sounder_.IsStreamActive(line) && frames < 1000) {
        sounder_.PlayOut(0.02);
        ++frames;
    }
    EXPECT_GE(frames, 100);
    EXPECT_LE(frames, 100 + 25);
    // Nothing of it was kept: a long run does not pile up output.
    EXPECT_TRUE(device_->Output().empty());
}
