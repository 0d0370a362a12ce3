#include "platform/sound/Mixer.h"

#include <algorithm>
#include <cmath>

namespace snd {
namespace {

// Output frames mixed per pass; bounds the accumulator so the audio thread never allocates.
constexpr uint32_t kChunkFrames = 1024;

// A positional source straight to one side is this many hundredths of a decibel quieter
// in the far ear: a clear direction without losing the sound in either ear.
constexpr double kSidePan = 2000.0;
// Inside this distance a positional source is at full level; beyond it the level falls
// as 1 / distance (6 dB per doubling).
constexpr double kMinDistance = 1.0;

// The bottom of the volume range is silence, as callers expect of "-10000"; the law alone
// would leave a full-scale sample at a third of a step, which adds up over many voices.
double DecibelGain(double hundredths) { return hundredths <= -10000.0 ? 0.0 : std::pow(10.0, hundredths / 2000.0); }

template <int Bits>
float SampleAt(const uint8_t* bytes, uint32_t index) {
    if constexpr (Bits == 8) {
        return float((int(bytes[index]) - 128) * 256);
    } else {
        const uint8_t* p = bytes + 2 * size_t(index);
        return float(int16_t(uint16_t(p[0] | (p[1] << 8))));
    }
}

// Adds one voice into the stereo accumulator. Linear interpolation between a frame and
// the next one: at the end of a looping buffer the next frame is the first, at the end of
// a buffer played once the last frame is held.
template <int Channels, int Bits>
void MixVoice(Voice& voice, float* acc, uint32_t frames) {
    const SampleData& data = *voice.data;
    const uint8_t* bytes = data.bytes.data();
    const uint64_t end = uint64_t(data.frames) << 32;
    const float gainLeft = voice.gainLeft;
    const float gainRight = voice.gainRight;
    uint64_t pos = voice.position;
    for (uint32_t i = 0; i < frames; ++i) {
        const uint32_t index = uint32_t(pos >> 32);
        const uint32_t fraction = uint32_t(pos) >> 8;
        float left = SampleAt<Bits>(bytes, index * Channels);
        float right = Channels == 2 ? SampleAt<Bits>(bytes, index * Channels + 1) : left;
        if (fraction != 0) {
            uint32_t next = index + 1;
            if (next == data.frames) next = voice.looping ? 0 : index;
            const float t = float(fraction) * (1.0f / 16777216.0f);
            const float nextLeft = SampleAt<Bits>(bytes, next * Channels);
            const float nextRight = Channels == 2 ? SampleAt<Bits>(bytes, next * Channels + 1) : nextLeft;
            left += (nextLeft - left) * t;
            right += (nextRight - right) * t;
        }
        acc[2 * i] += left * gainLeft;
        acc[2 * i + 1] += right * gainRight;
        pos += voice.step;
        if (pos < end) continue;
        if (!voice.looping) {
            // Played to its end: it stops, and the next Play starts it from the beginning.
            voice.playing = false;
            pos = 0;
            break;
        }
        pos %= end;
    }
    voice.position = pos;
}

void MixAny(Voice& voice, float* acc, uint32_t frames) {
    const PcmFormat& f = voice.data->format;
    if (f.channels == 1 && f.bits == 8) return MixVoice<1, 8>(voice, acc, frames);
    if (f.channels == 1) return MixVoice<1, 16>(voice, acc, frames);
    if (f.bits == 8) return MixVoice<2, 8>(voice, acc, frames);
    MixVoice<2, 16>(voice, acc, frames);
}

}  // namespace

Mixer::Mixer(uint32_t outputRate) : outputRate_(outputRate), accumulator_(2 * kChunkFrames) {}

void Mixer::Attach(Voice* voice) { voices_.push_back(voice); }

void Mixer::Detach(Voice* voice) { voices_.erase(std::remove(voices_.begin(), voices_.end(), voice), voices_.end()); }

void Mixer::Refresh(Voice& voice) const {
    const uint32_t rate = voice.frequency != 0 ? voice.frequency : voice.data->format.rate;
    voice.step = (uint64_t(rate) << 32) / outputRate_;

    double level = voice.volume;
    double pan = voice.pan;
    if (voice.positional) {
        const Point3& p = voice.place;
        const double distance = std::sqrt(double(p.x) * p.x + double(p.y) * p.y + double(p.z) * p.z);
        if (distance > kMinDistance) level -= 2000.0 * std::log10(distance / kMinDistance);
        pan = distance > 0 ? kSidePan * p.x / distance : 0.0;
    }
    const double gain = DecibelGain(level);
    voice.gainLeft = float(pan > 0 ? gain * DecibelGain(-pan) : gain);
    voice.gainRight = float(pan < 0 ? gain * DecibelGain(pan) : gain);
}

void Mixer::CommitDeferred() {
    for (Voice* voice : voices_) {
        if (!voice->placePending) continue;
        voice->place = voice->pendingPlace;
        voice->placePending = false;
        Refresh(*voice);
    }
}

void Mixer::SetLoss(bool active) {
    lossActive_ = active;
    if (!active) return;
    for (Voice* voice : voices_) {
        voice->lost = true;
        voice->playing = false;
        SampleData& data = *voice->data;
        std::fill(data.bytes.begin(), data.bytes.end(), data.format.SilenceByte());
    }
}

void Mixer::Mix(int16_t* out, uint32_t frames) {
    std::lock_guard<std::mutex> guard(mutex_);
    while (frames > 0) {
        const uint32_t n = std::min(frames, kChunkFrames);
        MixChunk(out, n);
        out += 2 * size_t(n);
        frames -= n;
    }
}

void Mixer::MixChunk(int16_t* out, uint32_t frames) {
    float* acc = accumulator_.data();
    std::fill_n(acc, 2 * size_t(frames), 0.0f);
    for (Voice* voice : voices_) {
        if (voice->playing) MixAny(*voice, acc, frames);
    }
    for (size_t i = 0; i < 2 * size_t(frames); ++i) {
        out[i] = int16_t(std::lrint(std::clamp(acc[i], -32768.0f, 32767.0f)));
    }
}

}  // namespace snd
