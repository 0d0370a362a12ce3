#pragma once
// A small synthesiser: oscillators with pitch sweeps, filtered noise, envelopes and
// mixing, on mono float buffers at the sound rate. Noise draws from the game's generator,
// so a sound is the same on every run once its seed is set.
#include <vector>

namespace assetgen {

using Samples = std::vector<float>;

enum class Wave { Sine, Square, Saw, Triangle };

struct ToneSpec {
    float seconds = 0.3f;
    float startHertz = 440;
    float endHertz = 440;  // swept exponentially
    Wave wave = Wave::Sine;
    float attack = 0.005f;  // seconds
    float decay = 1.0f;     // exponential fall per second of the amplitude, as a rate
    float vibratoHertz = 0;
    float vibratoDepth = 0;  // fraction of the frequency
    float gain = 0.6f;
};

struct NoiseSpec {
    float seconds = 0.5f;
    float startCutoff = 4000;  // one-pole low-pass, swept linearly
    float endCutoff = 400;
    float highPass = 0;  // cutoff of a one-pole high-pass, 0 for none
    float attack = 0.005f;
    float decay = 4.0f;
    float gain = 0.6f;
};

Samples Tone(const ToneSpec& spec);
Samples Noise(const NoiseSpec& spec);
Samples Silence(float seconds);
// Adds the source into the target from an offset in seconds, growing the target.
void MixInto(Samples& target, const Samples& source, float offsetSeconds, float gain = 1.0f);
// Scales so that the loudest sample reaches the peak.
void Normalise(Samples& samples, float peak = 0.8f);
// Makes the end flow into the start: the last fade seconds are blended over the first
// ones and cut off, so the buffer repeats without a click.
void MakeSeamless(Samples& samples, float fadeSeconds);
// Multiplies by a sine tremolo of the given rate and depth.
void Tremolo(Samples& samples, float hertz, float depth);
// Linear resampling from one rate to another.
Samples Resample(const Samples& samples, int fromRate, int toRate);

}  // namespace assetgen
