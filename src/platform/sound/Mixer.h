#pragma once
// The software mixer that both device backends share. Every buffer is a Voice attached to
// the mixer; the backend asks for output frames (SDL from its audio thread, the null
// device from the test) and the mixer adds the playing voices into 16-bit stereo with
// saturation. One mutex guards every voice and the sample data: callers lock it around
// any change, the mixer holds it for one Mix call and never calls out while holding it.
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/sound/PcmFormat.h"

namespace snd {

// The sample bytes of a buffer; duplicated buffers share one block.
struct SampleData {
    PcmFormat format;
    uint32_t frames = 0;  // whole frames in bytes; a trailing partial frame never plays
    std::vector<uint8_t> bytes;
};

struct Point3 {
    float x = 0, y = 0, z = 0;
};

// The playing state of one buffer.
struct Voice {
    std::shared_ptr<SampleData> data;
    uint64_t position = 0;   // source frames, 32.32 fixed point
    uint64_t step = 0;       // source frames per output frame, 32.32 fixed point
    uint32_t frequency = 0;  // 0 plays at the format's rate
    int32_t volume = 0;      // hundredths of a decibel, -10000..0
    int32_t pan = 0;         // hundredths of a decibel, -10000 (left)..10000 (right)
    bool positional = false;
    Point3 place;
    Point3 pendingPlace;
    bool placePending = false;
    bool playing = false;
    bool looping = false;
    bool lost = false;
    float gainLeft = 1.0f;
    float gainRight = 1.0f;
};

class Mixer {
public:
    explicit Mixer(uint32_t outputRate);
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    uint32_t OutputRate() const { return outputRate_; }
    std::mutex& Mutex() { return mutex_; }

    // The calls below expect the caller to hold Mutex().
    void Attach(Voice* voice);
    void Detach(Voice* voice);
    // Recomputes the step and the channel gains after a change of settings.
    void Refresh(Voice& voice) const;
    // Moves every positional voice to its deferred place.
    void CommitDeferred();
    // While a loss is active every attached voice is lost (stopped, its samples gone)
    // and cannot be restored; ending it lets Restore succeed again.
    void SetLoss(bool active);
    bool LossActive() const { return lossActive_; }

    // Mixes frames of interleaved stereo into out; takes the mutex itself.
    void Mix(int16_t* out, uint32_t frames);

private:
    void MixChunk(int16_t* out, uint32_t frames);

    const uint32_t outputRate_;
    std::mutex mutex_;
    std::vector<Voice*> voices_;
    std::vector<float> accumulator_;
    bool lossActive_ = false;
};

}  // namespace snd
