#include "Music.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "AudioEncoding.h"
#include "Output.h"
#include "platform/sys/Random.h"

namespace assetgen {
namespace {

enum class Drums { None, Soft, Driving, March };

struct Style {
    float tempo;                   // beats a minute
    float root;                    // hertz of the key's root
    std::vector<int> progression;  // chord roots in semitones, one a bar
    std::vector<int> scale;
    Drums drums;
    Wave lead;
    float melodyDensity;  // chance of a note on each eighth of the motif
    bool majorChords;
};

const std::vector<int> kMinor = {0, 2, 3, 5, 7, 8, 10};
const std::vector<int> kPhrygian = {0, 1, 3, 5, 7, 8, 10};
const std::vector<int> kDorian = {0, 2, 3, 5, 7, 9, 10};
const std::vector<int> kMajor = {0, 2, 4, 5, 7, 9, 11};
const std::vector<int> kLydian = {0, 2, 4, 6, 7, 9, 11};

// Two pieces a mood, told apart by the digit that ends the song's name.
Style StyleFor(MusicMood mood, bool second) {
    switch (mood) {
        case MusicMood::War:
            return second
                       ? Style{120, 98, {0, 1, 0, 8, 0, 1, 10, 7}, kPhrygian, Drums::March, Wave::Saw, 0.55f, false}
                       : Style{132, 110, {0, 0, 8, 10, 0, 0, 3, 10}, kMinor, Drums::Driving, Wave::Square, 0.6f, false};
        case MusicMood::Sneak:
            return second ? Style{72, 87.3f, {0, 0, 5, 3, 0, 10, 8, 7}, kMinor, Drums::None, Wave::Sine, 0.3f, false}
                          : Style{84, 98, {0, 3, 0, 5, 0, 3, 8, 7}, kDorian, Drums::Soft, Wave::Triangle, 0.25f, false};
        case MusicMood::Menu:
            return second ? Style{92, 146.8f, {0, 7, 9, 5, 0, 2, 5, 7}, kLydian, Drums::Soft, Wave::Sine, 0.45f, true}
                          : Style{100,  130.8f, {0, 5, 7, 0, 9, 5, 7, 7}, kMajor, Drums::Driving, Wave::Triangle,
                                  0.4f, true};
    }
    return {};
}

float Hertz(float root, int semitones) { return root * std::pow(2.0f, semitones / 12.0f); }

float Chance() { return float(sys::Rand()) / sys::kRandMax; }

// Adds a mono sound into a stereo loop at a time, wrapping past the end, panned -1..1.
// Tails that run past the end sound again at the start, so the piece repeats seamlessly.
void Place(Samples& loop, const Samples& sound, float at, float gain, float pan) {
    const std::size_t frames = loop.size() / 2;
    const std::size_t start = std::size_t(at * kSoundRate);
    const float left = gain * std::sqrt(0.5f * (1 - pan)), right = gain * std::sqrt(0.5f * (1 + pan));
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const std::size_t f = (start + i) % frames;
        loop[2 * f] += sound[i] * left;
        loop[2 * f + 1] += sound[i] * right;
    }
}

// A one-pole low-pass, to take the buzz off saw basses and leads.
Samples Mellow(Samples sound, float cutoff) {
    const float k = 1.0f - std::exp(-2.0f * float(M_PI) * cutoff / kSoundRate);
    float low = 0;
    for (float& s : sound) s = low += k * (s - low);
    return sound;
}

// The scale note nearest a semitone offset, so melodies moved with the chords stay in key.
int InScale(const std::vector<int>& scale, int semitones) {
    const int octave = (semitones >= 0 ? semitones : semitones - 11) / 12;
    const int within = semitones - octave * 12;
    int best = scale[0];
    for (int degree : scale)
        if (std::abs(degree - within) < std::abs(best - within)) best = degree;
    return octave * 12 + best;
}

class Composer {
public:
    Composer(MusicMood mood, bool second) : style_(StyleFor(mood, second)), mood_(mood), beat_(60.0f / style_.tempo) {
        // Whole rounds of the progression, enough for at least 64 s.
        const float round = float(style_.progression.size()) * 4 * beat_;
        rounds_ = std::max(2, int(std::ceil(64.0f / round)));
        loop_.assign(std::size_t(rounds_ * round * kSoundRate) * 2, 0.0f);
        MakeMotif();
    }

    Samples Compose() {
        const int bars = rounds_ * int(style_.progression.size());
        for (int bar = 0; bar < bars; ++bar) {
            // The arrangement builds up over the rounds and thins out again in the last, so
            // the loop point falls where the piece is quiet as at its start.
            const int round = bar / int(style_.progression.size());
            const int layers = round == rounds_ - 1 ? 1 : std::min(round + 1, 3);
            Bar(bar, layers);
        }
        Normalise(loop_, 0.7f);
        return std::move(loop_);
    }

private:
    void MakeMotif() {
        motif_.clear();
        int degree = 0;
        for (int e = 0; e < 16; ++e) {
            if (Chance() > style_.melodyDensity && e % 4 != 0) {
                motif_.push_back(kRest);
                continue;
            }
            degree = std::clamp(degree + int(sys::Rand() % 5) - 2, -2, 9);
            motif_.push_back(degree);
        }
    }

    void Bar(int bar, int layers) {
        const int chord = style_.progression[bar % style_.progression.size()];
        const float start = bar * 4 * beat_;
        Pad(chord, start);
        Bass(chord, start, layers);
        if (layers >= 2) Arpeggio(chord, start);
        if (layers >= 3 || (layers == 2 && bar % 2 == 1)) Melody(chord, start, bar / 2 % 2 == 1);
        Percussion(start, layers);
    }

    void Pad(int chord, float start) {
        const int third = style_.majorChords ? 4 : 3;
        for (int interval : {0, third, 7}) {
            const float hertz = Hertz(style_.root * 2, chord + interval);
            // Two voices a hair apart give the pad its slow shimmer.
            for (float detune : {0.997f, 1.003f}) {
                Place(loop_,
                      Tone({4 * beat_, hertz * detune, hertz * detune, Wave::Triangle, 0.4f, 0.25f, 0, 0, 0.14f}),
                      start, 1, detune < 1 ? -0.5f : 0.5f);
            }
        }
    }

    void Bass(int chord, float start, int layers) {
        const int notes = mood_ == MusicMood::Sneak ? 2 : (layers >= 2 ? 8 : 4);
        const float step = 4 * beat_ / notes;
        for (int n = 0; n < notes; ++n) {
            const int interval = (n % 4 == 2) ? 7 : (n % 8 == 7 ? 12 : 0);
            const float hertz = Hertz(style_.root / 2, chord + interval);
            Place(loop_, Mellow(Tone({step * 0.95f, hertz, hertz, Wave::Saw, 0.005f, 2.5f, 0, 0, 0.45f}), 700),
                  start + n * step, 1, 0);
        }
    }

    void Arpeggio(int chord, float start) {
        const int third = style_.majorChords ? 4 : 3;
        const int pattern[] = {0, third, 7, 12, 7, third, 0, 7};
        for (int n = 0; n < 8; ++n) {
            const float hertz = Hertz(style_.root * 4, chord + pattern[n]);
            Place(loop_, Tone({beat_ * 0.6f, hertz, hertz, Wave::Sine, 0.002f, 7, 0, 0, 0.12f}), start + n * beat_ / 2,
                  1, n % 2 ? 0.6f : -0.6f);
        }
    }

    void Melody(int chord, float start, bool answer) {
        for (int e = 0; e < 8; ++e) {
            const int degree = motif_[(answer ? 8 : 0) + e];
            if (degree == kRest) continue;
            // Degrees count up the scale; the motif follows the chord root, kept in key.
            const int octave = (degree + 14) / 7 - 2;
            const int fromRoot = style_.scale[(degree + 14) % 7] + 12 * octave;
            const int semitones = InScale(style_.scale, fromRoot + (chord > 6 ? chord - 12 : chord));
            const float hertz = Hertz(style_.root * 4, semitones);
            const float length = beat_ * (e + 1 < 8 && motif_[(answer ? 8 : 0) + e + 1] == kRest ? 0.95f : 0.48f);
            Place(loop_,
                  Mellow(Tone({length, hertz, hertz, style_.lead, 0.01f, 3, 5.5f, 0.008f, 0.16f}),
                         style_.lead == Wave::Sine ? 8000 : 2500),
                  start + e * beat_ / 2, 1, 0.15f);
        }
    }

    void Percussion(float start, int layers) {
        switch (style_.drums) {
            case Drums::None:
                // A muffled heartbeat on the first beat, and a tick on the third.
                Place(loop_, Tone({0.2f, 70, 45, Wave::Sine, 0.002f, 18, 0, 0, 0.5f}), start, 1, 0);
                Place(loop_, Noise({0.05f, 4000, 3000, 1500, 0.001f, 60, 0.12f}), start + 2 * beat_, 1, 0.3f);
                return;
            case Drums::Soft:
                Place(loop_, Tone({0.25f, 90, 45, Wave::Sine, 0.002f, 14, 0, 0, 0.55f}), start, 1, 0);
                for (int e = 0; e < 8 && layers >= 2; ++e)
                    Place(loop_, Noise({0.04f, 9000, 8000, 5000, 0.001f, 70, e % 2 ? 0.08f : 0.14f}),
                          start + e * beat_ / 2, 1, 0.4f);
                return;
            case Drums::Driving:
            case Drums::March: break;
        }
        for (int b = 0; b < 4; ++b) {
            Place(loop_, Tone({0.25f, 110, 45, Wave::Sine, 0.001f, 14, 0, 0, 0.8f}), start + b * beat_, 1, 0);
            Place(loop_, Noise({0.06f, 9000, 7000, 4000, 0.001f, 50, 0.22f}), start + (b + 0.5f) * beat_, 1, 0.3f);
            if (b % 2 == 1)
                Place(loop_, Noise({0.18f, 5000, 2000, 800, 0.001f, 18, 0.45f}), start + b * beat_, 1, -0.1f);
            // The march rolls its snare into every other beat.
            if (style_.drums == Drums::March && layers >= 2 && b % 2 == 0)
                for (int r = 1; r <= 3; ++r)
                    Place(loop_, Noise({0.06f, 5000, 2000, 800, 0.001f, 40, 0.1f * r}),
                          start + (b + 0.6f + 0.1f * r) * beat_, 1, -0.1f);
        }
    }

    static constexpr int kRest = -100;

    Style style_;
    MusicMood mood_;
    float beat_;
    int rounds_ = 2;
    std::vector<int> motif_;
    Samples loop_;
};

}  // namespace

Samples ComposeMusic(const std::string& songName, MusicMood mood) {
    sys::SRand(SeedFor(songName));
    const bool second = !songName.empty() && std::isdigit((unsigned char)songName.back()) && songName.back() != '1';
    return Composer(mood, second).Compose();
}

}  // namespace assetgen
