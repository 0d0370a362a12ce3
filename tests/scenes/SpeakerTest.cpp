// The guide's lip sync: phoneme files read and sampled, the two speech tools run over a
// sound made here, the mouth following the sound, and the pointing arm's key blend.
#include <cmath>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "PhonemeAnalysis.h"
#include "SpeechWave.h"
#include "platform/sys/FileSystem.h"
#include "platform/sys/Process.h"
#include "modes/MissionGame.h"
#include "scenes/Speaker.h"
#include "support/AudioTestUtil.h"
#include "support/RuntimeCopy.h"
#include "support/WorkingFolder.h"

namespace {

using audio_test::TempFolder;

constexpr int kRate = 22050;

void WriteText(const std::filesystem::path& path, const std::string& text) { std::ofstream(path) << text; }

// Runs the tools from the runtime folder, where the game finds them.
class SpeechTools : public ::testing::Test {
protected:
    // The tools copied from the runtime folder into a Speech folder of the test's own: the
    // lip sync writes its hint file there, where tests running beside this one would race.
    SpeechTools() : runtime_(WithSpeechTools(tools_)) {}

    static std::string WithSpeechTools(const TempFolder& folder) {
        const std::filesystem::path speech = std::filesystem::path(folder.Path()) / "Speech";
        std::filesystem::create_directories(speech);
        for (const char* tool : {"oggdec", "phonemes"}) {
            std::filesystem::copy_file(runtime_test::BuiltRuntimeFolder() / "Speech" / tool, speech / tool);
        }
        return folder.Path();
    }

    // The speech line as an Ogg file in the test's folder; the phoneme file made from it.
    std::string MakePhonemes(const std::vector<float>& samples, const std::string& hint, int rate = kRate) {
        const std::string speech = folder_ / "Line One.ogg";
        audio_test::WriteFile(speech, audio_test::EncodeOgg(samples, 1, rate));
        Speaker::MakePhonemeFile(speech, hint, true);
        EXPECT_FALSE(sys::Exists(Speaker::SiblingPath(speech, "wav")));
        return Speaker::SiblingPath(speech, "phn");
    }

    // A phoneme file: times in order, the last one at the end time, every name known.
    static void ExpectWellFormed(const std::string& path, int32_t lengthMs) {
        std::ifstream in(path);
        std::string word;
        int32_t end = -1;
        ASSERT_TRUE(in >> word >> end);
        EXPECT_NEAR(end, lengthMs, 25);
        int32_t previous = -1;
        std::string name;
        int32_t start = 0;
        while (in >> name >> start) {
            EXPECT_GE(PhonemeTable::Find(name), 0) << name;
            EXPECT_GT(start, previous);
            previous = start;
        }
        EXPECT_EQ(previous, end);
    }

    TempFolder tools_;
    TempFolder folder_;
    app_test::WorkingFolder runtime_;
};

TEST(SpeakerTest, PhonemeAtSamplesTheFileAndBoundsTheMouth) {
    TempFolder folder;
    const std::string path = folder / "line.phn";
    WriteText(path, "x 900 aa 0 qq 100 m 300 _ 900 ee 950");
    Speaker speaker;
    ASSERT_TRUE(speaker.LoadPhonemes(path));
    EXPECT_EQ(speaker.Phonemes().size(), 3u);  // the unknown name skipped, reading ends at 900
    EXPECT_FLOAT_EQ(speaker.PhonemeAt(0.2f)->closure, 0.15f);
    EXPECT_FLOAT_EQ(speaker.PhonemeAt(0.5f)->closure, 1.0f);
    EXPECT_STREQ(speaker.PhonemeAt(1.0f)->name, "_");
    EXPECT_STREQ(speaker.PhonemeAt(-0.1f)->name, "_");
    WriteText(path, "x 900 aa 500 _ 900");
    ASSERT_TRUE(speaker.LoadPhonemes(path));
    EXPECT_EQ(speaker.PhonemeAt(0.3f), nullptr);  // fully open until the first phoneme
    EXPECT_FALSE(speaker.LoadPhonemes(folder / "none.phn"));
    EXPECT_STREQ(speaker.PhonemeAt(0.3f)->name, "_");
}

TEST(SpeakerTest, MouthMovesOnlyWithBothTalkKeys) {
    TempFolder folder;
    const std::string path = folder / "line.phn";
    WriteText(path, "x 900 aa 0 _ 900");
    Speaker speaker;
    speaker.SetPoseKeys({Vector3(0, 0, 0), Vector3(0, 0, -1)}, 8);
    ASSERT_TRUE(speaker.LoadPhonemes(path));
    speaker.Update(0.1f);
    EXPECT_NEAR(speaker.MouthPosition().z, -0.85f, 1e-5f);
    speaker.SetPoseKeys({Vector3(0, 0, 0)}, 7);
    EXPECT_FALSE(speaker.CanPoint());
    speaker.Update(0.1f);
    EXPECT_EQ(speaker.MouthPosition(), Vector3());
}

TEST(SpeakerTest, PointingBlendsNeighbourKeysByAngle) {
    const float step = 6.28318530718f / 8.0f;
    const PointBlend between = Speaker::PointingBlend(2.25f * step);
    EXPECT_EQ(between.key, 2);
    EXPECT_EQ(between.nextKey, 3);
    EXPECT_NEAR(between.fraction, 0.25f, 1e-4f);
    const PointBlend wrapped = Speaker::PointingBlend(-0.5f * step);
    EXPECT_EQ(wrapped.key, 7);
    EXPECT_EQ(wrapped.nextKey, 0);
    EXPECT_NEAR(wrapped.fraction, 0.5f, 1e-4f);
    EXPECT_EQ(Speaker::PointingBlend(NAN).key, 0);
}

TEST(SpeakerTest, SiblingPathsReplaceTheWholeExtension) {
    EXPECT_EQ(Speaker::SiblingPath("Speech/a.b/Line.OGG", "phn"), "Speech/a.b/Line.phn");
    EXPECT_EQ(Speaker::SiblingPath("Speech/Line.vorbis", "wav"), "Speech/Line.wav");
    EXPECT_EQ(Speaker::SiblingPath("Speech.d/Line", "phn"), "");
    EXPECT_EQ(Speaker::SiblingPath(".ogg", "phn"), "");
}

// Half a second of silence, half a second of a loud buzzing vowel, half a second of silence.
std::vector<float> VowelBetweenSilences() {
    std::vector<float> samples(static_cast<size_t>(kRate) * 3 / 2, 0.0f);
    for (size_t i = kRate / 2; i < static_cast<size_t>(kRate); ++i) {
        const double t = static_cast<double>(i) / kRate;
        samples[i] = static_cast<float>(0.5 * std::sin(2 * M_PI * 150 * t) + 0.3 * std::sin(2 * M_PI * 450 * t) +
                                        0.2 * std::sin(2 * M_PI * 750 * t));
    }
    return samples;
}

TEST_F(SpeechTools, MouthOpensOnLoudVoicedSoundAndClosesInSilence) {
    const std::string phonemes = MakePhonemes(VowelBetweenSilences(), "");
    ExpectWellFormed(phonemes, 1500);
    Speaker speaker;
    ASSERT_TRUE(speaker.LoadPhonemes(phonemes));
    EXPECT_FLOAT_EQ(speaker.PhonemeAt(0.25f)->closure, 1.0f);
    EXPECT_LT(speaker.PhonemeAt(0.75f)->closure, 0.5f);
    EXPECT_FLOAT_EQ(speaker.PhonemeAt(1.3f)->closure, 1.0f);
    // A phoneme file newer than its speech is kept unless the making is forced.
    WriteText(phonemes, "x 10 m 0 _ 10");
    Speaker::MakePhonemeFile(folder_ / "Line One.ogg", "", false);
    EXPECT_EQ(platform_test::ReadRaw(phonemes), "x 10 m 0 _ 10");
}

TEST_F(SpeechTools, AHintForAnotherFileGivesAnEmptyResult) {
    speech::Wave wave;
    wave.rate = kRate;
    EXPECT_EQ(speech::AnalysePhonemes(wave).marks.size(), 1u);  // a silent, empty sound
    // The hint names the decoded file, so it fits; the retry path is the tool's empty
    // answer to a hint for another file.
    const std::string phonemes = MakePhonemes(VowelBetweenSilences(), "Ah.");
    ExpectWellFormed(phonemes, 1500);
    const std::string wav = folder_ / "other.wav";
    const std::string hint = folder_ / "hint.txt";
    const std::string out = folder_ / "other.phn";
    ASSERT_TRUE(speech::WriteWave(wav, kRate, 1, std::vector<int16_t>(kRate, 8000)));
    WriteText(hint, "another.wav:Ah.\n");
    sys::RunAndWait({"Speech/phonemes", "-h", hint, "-o", out, wav}, true);
    Speaker speaker;
    EXPECT_FALSE(speaker.LoadPhonemes(out));
}

// Saying a line makes nothing: the mission mode's phoneme pass makes the files ahead of
// time, each with its line's text as hint.
TEST_F(SpeechTools, SayingALineMakesNoPhonemeFileThePhonemePassDoes) {
    std::filesystem::create_directories(std::filesystem::path(tools_.Path()) / "Speech" / "English");
    audio_test::WriteFile(tools_ / "Speech/English/Ford.OGG",
                          audio_test::EncodeOgg(VowelBetweenSilences(), 1, kRate));
    Speaker speaker;
    speaker.Say("Speech/English/Ford.OGG", false);
    speaker.Stop();
    EXPECT_FALSE(sys::Exists("Speech/English/Ford.phn"));

    TextPage hint;
    hint.lines.Append("Cross at the ford.");
    hint.speech = "Ford";
    MissionSettings mission;
    mission.losingTexts.Append(Array<TextPage>());
    mission.losingTexts[0].Append(hint);
    MissionGame::MakePhonemeFiles(mission, false);
    ExpectWellFormed(tools_ / "Speech/English/Ford.phn", 1500);
    EXPECT_EQ(platform_test::ReadRaw(tools_ / "Speech/hint.txt"), "Ford.wav:Cross at the ford.\n");
}

TEST_F(SpeechTools, ASpokenSentenceGivesAnOrderedPhonemeFile) {
    const std::string spoken = folder_ / "spoken.wav";
    if (!sys::RunAndWait({"espeak-ng", "-w", spoken, "Welcome back, commander. Your squad is ready."}, true) ||
        !std::filesystem::exists(spoken)) {
        GTEST_SKIP() << "no speech synthesiser";
    }
    speech::Wave wave;
    ASSERT_TRUE(speech::ReadWave(spoken, wave));
    std::vector<float> samples;
    for (int16_t sample : wave.samples) {
        samples.push_back(static_cast<float>(sample) / 32768.0f);
    }
    const std::string phonemes = MakePhonemes(samples, "Welcome back, commander. Your squad is ready.", wave.rate);
    ExpectWellFormed(phonemes, static_cast<int32_t>(samples.size() * 1000 / wave.rate));
    Speaker speaker;
    ASSERT_TRUE(speaker.LoadPhonemes(phonemes));
    int32_t open = 0;
    for (const auto& phoneme : speaker.Phonemes()) {
        open += PhonemeTable::Row(phoneme.index).closure < 0.5f ? 1 : 0;
    }
    EXPECT_GT(open, 2);
}

}  // namespace
