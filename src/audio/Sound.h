#pragma once
// One playable buffer of the sound device and the settings last applied to it. The sound
// manager makes every Sound, gives it its buffer and fills it; a sound whose file could
// not be read has no buffer and stays silent, and every operation on it does nothing.
#include <cstdint>
#include <memory>

#include "core/String.h"
#include "core/Vector3.h"
#include "platform/sound/SoundBuffer.h"

class Sound {
public:
    enum Kind : int32_t {
        kPlain = 1,
        kPanned = 2,
        kPositional = 3,
    };

    // What RestoreBuffer found.
    enum class Restore {
        NotLost,
        Restored,   // given back and refilled
        StillLost,  // the device still holds its memory; try again later
    };

    Sound();
    virtual ~Sound();
    Sound(const Sound&) = delete;
    // Drops this sound's buffer, then takes the other's name, position, kind, volume and
    // pan; the copy has no buffer until the manager gives it one.
    Sound& operator=(const Sound& other);

    // Back to the first sample.
    virtual void Reset();
    // Reads the sound's file into its buffer, silence after the data.
    virtual void Fill();
    virtual void Stop();

    // Stores the place; a positional sound is moved there at the next commit of the
    // manager's play operations.
    void SetPosition(const Vector3& position);
    // 0 silent .. 1 full level, clamped; a change of 0.00001 or less is not sent.
    void SetVolume(float volume);
    // -1 left .. 1 right, clamped; only panned sounds take it.
    void SetPan(float pan);
    // Releases the buffer and stores the kind; the manager makes the new buffer.
    void SetKind(int32_t kind);
    // Takes the buffer the manager made for this sound.
    void SetBuffer(std::unique_ptr<snd::SoundBuffer> buffer);
    void Init3D();

    uint32_t GetSize() const;
    uint32_t GetStatus() const;
    bool IsPlaying() const;
    // Gives a lost buffer back and refills it, waiting up to attempts x 10 ms while the
    // device keeps it.
    Restore RestoreBuffer(int attempts);

    // The parts of the buffer from offset; false (no parts) when the buffer is lost.
    bool Lock(uint32_t offset, uint32_t bytes, snd::LockedRegion& region);
    void Unlock(const snd::LockedRegion& region);

    const String& Name() const { return name_; }
    void SetName(const String& name) { name_ = name; }
    int32_t Kind() const { return kind_; }
    float Volume() const { return volume_; }
    float Pan() const { return pan_; }
    const Vector3& Position() const { return position_; }
    snd::SoundBuffer* Buffer() { return buffer_.get(); }
    const snd::SoundBuffer* Buffer() const { return buffer_.get(); }
    bool Has3D() const { return has3D_; }
    bool Changed3D() const { return changed3D_; }
    void ClearChanged3D() { changed3D_ = false; }
    void SetPadding(int32_t padLength, uint8_t silenceByte);

    // The arena's positional sounds: the sound's own volume factor, and whether the sound
    // is in the arena's tracked list.
    float VolumeFactor() const { return volumeFactor_; }
    void SetVolumeFactor(float factor) { volumeFactor_ = factor; }
    bool IsTracked() const { return tracked_; }
    void SetTracked(bool tracked) { tracked_ = tracked; }

    // A positional sound was moved since the manager last committed the places. Only the
    // main thread touches it.
    static bool AnyPositionChanged() { return anyPositionChanged_; }
    static void ClearAnyPositionChanged() { anyPositionChanged_ = false; }

protected:
    String name_;
    int32_t kind_ = kPanned;
    std::unique_ptr<snd::SoundBuffer> buffer_;

private:
    Vector3 position_;
    int32_t padLength_ = 0;
    uint8_t silenceByte_ = 0;
    float volume_ = 1.0f;
    float pan_ = 0.0f;
    bool changed3D_ = false;
    bool has3D_ = false;
    float volumeFactor_ = 1.0f;
    bool tracked_ = false;

    static inline bool anyPositionChanged_ = false;
};

// Stops a sound or a stream.
void StopSound(Sound* sound);
