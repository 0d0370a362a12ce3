#pragma once
// Music and speech: a file decoded while it plays into a looping ring buffer of two
// halves. While one half plays the streaming thread refills the other; a stream played
// once ends when the play cursor reaches a half of pure silence after its data.
//
// Once a stream is registered with the sound manager, its state (active, looping, the
// halves, the reader) is read and changed only under the manager's lock.
#include <cstdint>
#include <memory>

#include "audio/Sound.h"
#include "audio/SoundFile.h"

class StreamSound final : public Sound {
public:
    // Two halves of about a quarter of a second each at 22050 Hz, 16-bit stereo: room for
    // the 25 ms refill period with a wide margin.
    static constexpr uint32_t kRingBytes = 0xA000;
    static constexpr uint32_t kHalfBytes = 0x5000;

    StreamSound();
    ~StreamSound() override;

    // Rewinds the buffer and the reader; the ring is due from its first half.
    void Reset() override;
    // Reset, then the first half.
    void Fill() override;
    void Stop() override;

    void FillHalf();
    // One visit of the streaming thread: refills the half the cursor has left, or ends a
    // stream whose silence is reached. With checkCursor false the due half is filled at once.
    void Update(bool checkCursor);
    // Starts from the first sample unless already active; false when the buffer is lost
    // or missing (the stream stays inactive).
    bool Play();

    void SetReader(std::unique_ptr<SoundFile> reader) { reader_ = std::move(reader); }
    SoundFile* Reader() { return reader_.get(); }

    bool IsActive() const { return active_; }
    bool IsLooping() const { return looping_; }
    void SetLooping(bool looping) { looping_ = looping; }
    bool HasEnded() const { return ended_; }
    bool SilenceWritten() const { return silenceWritten_; }
    int32_t NextHalf() const { return nextHalf_; }

    // Holders of a shared stream; the manager destroys it when the last one releases it.
    int32_t References() const { return references_; }
    void AddReference() { ++references_; }
    int32_t DropReference() { return --references_; }

private:
    // Reads a whole half, rewinding a looping reader at its end; silence after the data
    // when it runs out.
    void ReadHalf(uint8_t* half);

    std::unique_ptr<SoundFile> reader_;
    int32_t nextHalf_ = 0;
    int32_t references_ = 1;
    bool active_ = false;
    bool ended_ = false;
    bool silenceWritten_ = false;
    bool looping_ = false;
};
