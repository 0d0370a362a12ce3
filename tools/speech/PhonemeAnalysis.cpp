// The amplitude and spectrum envelope behind the phoneme maker.
#include "PhonemeAnalysis.h"

#include <algorithm>
#include <cmath>

namespace speech {
namespace {

constexpr int32_t kFrameMs = 20;

struct FrameFeatures {
    float rms = 0.0f;
    float crossings = 0.0f;  // zero crossings per sample
    float low = 0.0f;        // band energies (Goertzel power, summed over probes)
    float mid = 0.0f;
    float high = 0.0f;
};

float Goertzel(const int16_t* samples, size_t count, float frequency, int32_t rate) {
    const float coefficient = 2.0f * std::cos(2.0f * static_cast<float>(M_PI) * frequency / static_cast<float>(rate));
    float previous = 0.0f;
    float beforePrevious = 0.0f;
    for (size_t i = 0; i < count; ++i) {
        const float current = static_cast<float>(samples[i]) + coefficient * previous - beforePrevious;
        beforePrevious = previous;
        previous = current;
    }
    return previous * previous + beforePrevious * beforePrevious - coefficient * previous * beforePrevious;
}

float Band(const int16_t* samples, size_t count, int32_t rate, std::initializer_list<float> probes) {
    float sum = 0.0f;
    for (float frequency : probes) {
        if (frequency < static_cast<float>(rate) * 0.45f) {
            sum += Goertzel(samples, count, frequency, rate);
        }
    }
    return sum;
}

FrameFeatures Measure(const int16_t* samples, size_t count, int32_t rate) {
    FrameFeatures features;
    double energy = 0.0;
    size_t crossings = 0;
    for (size_t i = 0; i < count; ++i) {
        energy += static_cast<double>(samples[i]) * samples[i];
        if (i > 0 && (samples[i] >= 0) != (samples[i - 1] >= 0)) {
            ++crossings;
        }
    }
    features.rms = static_cast<float>(std::sqrt(energy / static_cast<double>(count)));
    features.crossings = static_cast<float>(crossings) / static_cast<float>(count);
    features.low = Band(samples, count, rate, {250.0f, 400.0f, 600.0f, 800.0f});
    features.mid = Band(samples, count, rate, {1000.0f, 1300.0f, 1700.0f, 2200.0f});
    features.high = Band(samples, count, rate, {3000.0f, 4000.0f, 5000.0f, 6500.0f});
    return features;
}

// The label of one frame, `loudness` being its level against the loudest frame.
const char* Classify(const FrameFeatures& f, float loudness) {
    if (f.rms < 250.0f || loudness < 0.08f) {
        return "_";
    }
    if (f.crossings > 0.25f || f.high > f.low + f.mid) {
        return f.high > 2.0f * f.mid ? "s" : "f";
    }
    if (loudness < 0.2f) {
        return "m";
    }
    if (f.low > 3.0f * f.mid) {
        return loudness > 0.5f ? "ao" : "uw";
    }
    if (f.mid > f.low) {
        return "iy";
    }
    if (loudness > 0.6f) {
        return "aa";
    }
    return loudness > 0.4f ? "ae" : "eh";
}

}  // namespace

PhonemeResult AnalysePhonemes(const Wave& wave) {
    PhonemeResult result;
    if (wave.rate <= 0) {
        return result;
    }
    result.endMs = static_cast<int32_t>(static_cast<int64_t>(wave.samples.size()) * 1000 / wave.rate);
    const size_t frameLength = std::max<size_t>(1, static_cast<size_t>(wave.rate) * kFrameMs / 1000);
    std::vector<FrameFeatures> frames;
    for (size_t at = 0; at + frameLength <= wave.samples.size(); at += frameLength) {
        frames.push_back(Measure(wave.samples.data() + at, frameLength, wave.rate));
    }
    float loudest = 1.0f;
    for (const FrameFeatures& f : frames) {
        loudest = std::max(loudest, f.rms);
    }
    for (size_t i = 0; i < frames.size(); ++i) {
        const char* name = Classify(frames[i], frames[i].rms / loudest);
        const int32_t start = static_cast<int32_t>(i) * kFrameMs;
        if (result.marks.empty() || result.marks.back().name != name) {
            result.marks.push_back({name, start});
        }
    }
    if (result.marks.empty() || result.marks.back().startMs < result.endMs) {
        result.marks.push_back({"_", result.endMs});
    } else {
        result.marks.back().name = "_";
    }
    return result;
}

std::string FormatPhonemes(const PhonemeResult& result) {
    std::string text = "phonemes " + std::to_string(result.endMs) + "\n";
    for (const PhonemeMark& mark : result.marks) {
        text += mark.name + " " + std::to_string(mark.startMs) + "\n";
    }
    return text;
}

}  // namespace speech
