#include "Synth.h"

#include <algorithm>
#include <cmath>

#include "AudioEncoding.h"
#include "platform/sys/Random.h"

namespace assetgen {
namespace {

float Oscillator(Wave wave, double phase) {
    const double f = phase - std::floor(phase);
    switch (wave) {
        case Wave::Sine: return float(std::sin(2 * M_PI * f));
        case Wave::Square: return f < 0.5 ? 0.7f : -0.7f;
        case Wave::Saw: return float(2 * f - 1) * 0.8f;
        case Wave::Triangle: return float(f < 0.5 ? 4 * f - 1 : 3 - 4 * f);
    }
    return 0;
}

float Envelope(float t, float attack, float decay) {
    const float rise = attack > 0 ? std::min(t / attack, 1.0f) : 1.0f;
    return rise * std::exp(-decay * t);
}

std::size_t Frames(float seconds) { return std::size_t(std::max(0.0f, seconds) * kSoundRate); }

}  // namespace

Samples Tone(const ToneSpec& spec) {
    Samples out(Frames(spec.seconds));
    double phase = 0;
    const double ratio = spec.endHertz / spec.startHertz;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const float t = float(i) / kSoundRate;
        double hertz = spec.startHertz * std::pow(ratio, t / spec.seconds);
        if (spec.vibratoDepth > 0) hertz *= 1 + spec.vibratoDepth * std::sin(2 * M_PI * spec.vibratoHertz * t);
        phase += hertz / kSoundRate;
        // A short release at the end avoids a click when the tone stops.
        const float release = std::min(1.0f, (spec.seconds - t) / 0.01f);
        out[i] = spec.gain * Oscillator(spec.wave, phase) * Envelope(t, spec.attack, spec.decay) * release;
    }
    return out;
}

Samples Noise(const NoiseSpec& spec) {
    Samples out(Frames(spec.seconds));
    float low = 0, high = 0, previous = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const float t = float(i) / kSoundRate;
        const float white = 2.0f * sys::Rand() / sys::kRandMax - 1.0f;
        const float cutoff = spec.startCutoff + (spec.endCutoff - spec.startCutoff) * t / spec.seconds;
        const float k = 1.0f - std::exp(-2.0f * float(M_PI) * cutoff / kSoundRate);
        low += k * (white - low);
        float value = low;
        if (spec.highPass > 0) {
            const float kh = std::exp(-2.0f * float(M_PI) * spec.highPass / kSoundRate);
            high = kh * (high + value - previous);
            previous = value;
            value = high;
        }
        const float release = std::min(1.0f, (spec.seconds - t) / 0.01f);
        out[i] = spec.gain * value * Envelope(t, spec.attack, spec.decay) * release;
    }
    return out;
}

Samples Silence(float seconds) { return Samples(Frames(seconds)); }

void MixInto(Samples& target, const Samples& source, float offsetSeconds, float gain) {
    const std::size_t offset = Frames(offsetSeconds);
    if (target.size() < offset + source.size()) target.resize(offset + source.size());
    for (std::size_t i = 0; i < source.size(); ++i) target[offset + i] += source[i] * gain;
}

void Normalise(Samples& samples, float peak) {
    float loudest = 0;
    for (float s : samples) loudest = std::max(loudest, std::fabs(s));
    if (loudest <= 0) return;
    for (float& s : samples) s *= peak / loudest;
}

void MakeSeamless(Samples& samples, float fadeSeconds) {
    const std::size_t fade = std::min(Frames(fadeSeconds), samples.size() / 2);
    const std::size_t keep = samples.size() - fade;
    for (std::size_t i = 0; i < fade; ++i) {
        const float t = float(i) / fade;
        samples[i] = samples[i] * t + samples[keep + i] * (1 - t);
    }
    samples.resize(keep);
}

void Tremolo(Samples& samples, float hertz, float depth) {
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] *= 1 - depth * 0.5f * (1 + std::sin(2 * float(M_PI) * hertz * i / kSoundRate));
}

Samples Resample(const Samples& samples, int fromRate, int toRate) {
    if (fromRate == toRate || samples.empty()) return samples;
    Samples out(std::size_t(double(samples.size()) * toRate / fromRate));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double at = double(i) * fromRate / toRate;
        const std::size_t j = std::min(std::size_t(at), samples.size() - 1);
        const std::size_t k = std::min(j + 1, samples.size() - 1);
        const float f = float(at - double(j));
        out[i] = samples[j] * (1 - f) + samples[k] * f;
    }
    return out;
}

}  // namespace assetgen
