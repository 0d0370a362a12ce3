#include "Music.h"

#include <cmath>

#include "AudioEncoding.h"
#include "Output.h"
#include "platform/sys/Random.h"

namespace assetgen {
namespace {

struct Style {
    float tempo;                   // beats a minute
    float root;                    // hertz of the key's root
    std::vector<int> progression;  // chord roots in semitones, one a bar
    std::vector<int> scale;
    bool drums;
    float melodyDensity;  // chance of a note on each eighth
};

Style StyleFor(MusicMood mood) {
    switch (mood) {
        case MusicMood::War: return {132, 110, {0, 0, 8, 10, 0, 0, 3, 10}, {0, 2, 3, 5, 7, 8, 10}, true, 0.6f};
        case MusicMood::Sneak: return {84, 98, {0, 3, 0, 5, 0, 3, 8, 7}, {0, 2, 3, 5, 7, 8, 10}, false, 0.25f};
        case MusicMood::Menu: return {100, 130.8f, {0, 5, 7, 0, 9, 5, 7, 7}, {0, 2, 4, 5, 7, 9, 11}, true, 0.4f};
    }
    return {};
}

float Hertz(float root, int semitones) { return root * std::pow(2.0f, semitones / 12.0f); }

// Adds a mono sound into a stereo loop at a time, wrapping past the end, panned -1..1.
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

}  // namespace

Samples ComposeMusic(const std::string& songName, MusicMood mood) {
    sys::SRand(SeedFor(songName));
    const Style style = StyleFor(mood);
    const float beat = 60.0f / style.tempo;
    // Four rounds of the progression: about a minute to a minute and a half a piece.
    const int bars = int(style.progression.size()) * 4;
    const float seconds = bars * 4 * beat;
    Samples loop(std::size_t(seconds * kSoundRate) * 2);

    for (int bar = 0; bar < bars; ++bar) {
        const int chord = style.progression[bar % style.progression.size()];
        const float barStart = bar * 4 * beat;
        // Pad: the chord's triad held through the bar.
        for (int third : {0, 3 + (mood == MusicMood::Menu ? 1 : 0), 7}) {
            const float hertz = Hertz(style.root * 2, chord + third);
            Place(loop, Tone({4 * beat, hertz, hertz, Wave::Triangle, 0.3f, 0.3f, 5, 0.004f, 0.12f}), barStart, 1,
                  third == 7 ? 0.4f : -0.4f);
        }
        // Bass on every beat.
        for (int b = 0; b < 4; ++b) {
            const float hertz = Hertz(style.root / 2, chord + (b == 2 ? 7 : 0));
            Place(loop, Tone({beat * 0.9f, hertz, hertz, Wave::Saw, 0.01f, 3, 0, 0, 0.3f}), barStart + b * beat, 1, 0);
        }
        // Melody: eighth notes drawn from the scale near the chord.
        for (int e = 0; e < 8; ++e) {
            if (float(sys::Rand()) / sys::kRandMax > style.melodyDensity) continue;
            const int degree = style.scale[sys::Rand() % style.scale.size()];
            const float hertz = Hertz(style.root * 4, degree);
            Place(loop, Tone({beat, hertz, hertz, Wave::Square, 0.01f, 5, 6, 0.01f, 0.12f}), barStart + e * beat / 2, 1,
                  0.2f);
        }
        if (!style.drums) {
            Place(loop, Noise({0.08f, 3000, 2000, 1500, 0.001f, 40, 0.15f}), barStart + 2 * beat, 1, 0.3f);
            continue;
        }
        for (int b = 0; b < 4; ++b) {
            Place(loop, Tone({0.25f, 110, 45, Wave::Sine, 0.001f, 14, 0, 0, 0.8f}), barStart + b * beat, 1, 0);
            Place(loop, Noise({0.06f, 9000, 7000, 4000, 0.001f, 50, 0.25f}), barStart + (b + 0.5f) * beat, 1, 0.3f);
            if (b % 2 == 1)
                Place(loop, Noise({0.18f, 5000, 2000, 800, 0.001f, 18, 0.45f}), barStart + b * beat, 1, -0.1f);
        }
    }
    Normalise(loop, 0.7f);
    return loop;
}

}  // namespace assetgen
