#include "platform/sound/SoundBuffer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace snd {

using Guard = std::lock_guard<std::mutex>;

SoundBuffer::SoundBuffer(std::shared_ptr<Mixer> mixer, std::shared_ptr<SampleData> data, uint32_t flags)
    : mixer_(std::move(mixer)), format_(data->format), bytes_(uint32_t(data->bytes.size())), flags_(flags) {
    voice_.data = std::move(data);
    voice_.positional = (flags & kCtrl3D) != 0;
    Guard guard(mixer_->Mutex());
    mixer_->Refresh(voice_);
    mixer_->Attach(&voice_);
}

SoundBuffer::~SoundBuffer() {
    Guard guard(mixer_->Mutex());
    mixer_->Detach(&voice_);
}

Result SoundBuffer::Lock(uint32_t offset, uint32_t bytes, LockedRegion& region) {
    region = {};
    if (offset >= bytes_ || bytes == 0 || bytes > bytes_) return Result::InvalidParam;
    Guard guard(mixer_->Mutex());
    if (voice_.lost) return Result::BufferLost;
    if (locked_) return Result::InvalidCall;
    const uint32_t first = std::min(bytes, bytes_ - offset);
    const uint8_t* samples = voice_.data->bytes.data();
    staging_.resize(bytes);
    std::memcpy(staging_.data(), samples + offset, first);
    std::memcpy(staging_.data() + first, samples, bytes - first);
    region.part1 = staging_.data();
    region.bytes1 = first;
    if (first < bytes) {
        region.part2 = staging_.data() + first;
        region.bytes2 = bytes - first;
    }
    locked_ = true;
    lockOffset_ = offset;
    lockedRegion_ = region;
    return Result::Ok;
}

Result SoundBuffer::Unlock(const LockedRegion& region) {
    Guard guard(mixer_->Mutex());
    const LockedRegion& held = lockedRegion_;
    if (!locked_ || region.part1 != held.part1 || region.part2 != held.part2 || region.bytes1 > held.bytes1 ||
        region.bytes2 > held.bytes2) {
        return Result::InvalidCall;
    }
    locked_ = false;
    // A buffer lost while locked has no samples to write into; Restore and a refill follow.
    if (voice_.lost) return Result::Ok;
    uint8_t* samples = voice_.data->bytes.data();
    std::memcpy(samples + lockOffset_, held.part1, region.bytes1);
    if (region.bytes2 > 0) std::memcpy(samples, held.part2, region.bytes2);
    return Result::Ok;
}

Result SoundBuffer::Play(uint32_t playFlags) {
    Guard guard(mixer_->Mutex());
    if (voice_.lost) return Result::BufferLost;
    voice_.looping = (playFlags & kPlayLooping) != 0;
    voice_.playing = true;
    return Result::Ok;
}

void SoundBuffer::Stop() {
    Guard guard(mixer_->Mutex());
    voice_.playing = false;
}

Result SoundBuffer::SetCurrentPosition(uint32_t offset) {
    if (offset >= bytes_) return Result::InvalidParam;
    Guard guard(mixer_->Mutex());
    const uint32_t frame = std::min(offset / format_.BlockAlign(), voice_.data->frames - 1);
    voice_.position = uint64_t(frame) << 32;
    return Result::Ok;
}

Cursors SoundBuffer::CurrentPosition() const {
    Guard guard(mixer_->Mutex());
    const uint32_t frames = voice_.data->frames;
    const uint32_t frame = uint32_t(voice_.position >> 32);
    Cursors cursors;
    cursors.play = frame * format_.BlockAlign();
    cursors.write = voice_.playing ? (frame + 2) % frames * format_.BlockAlign() : cursors.play;
    return cursors;
}

uint32_t SoundBuffer::Status() const {
    Guard guard(mixer_->Mutex());
    uint32_t status = 0;
    if (voice_.playing) status |= kStatusPlaying;
    if (voice_.playing && voice_.looping) status |= kStatusLooping;
    if (voice_.lost) status |= kStatusLost;
    return status;
}

Result SoundBuffer::SetVolume(int32_t hundredths) {
    if ((flags_ & kCtrlVolume) == 0) return Result::Unsupported;
    Guard guard(mixer_->Mutex());
    voice_.volume = std::clamp(hundredths, kVolumeMin, kVolumeMax);
    mixer_->Refresh(voice_);
    return Result::Ok;
}

int32_t SoundBuffer::Volume() const {
    Guard guard(mixer_->Mutex());
    return voice_.volume;
}

Result SoundBuffer::SetPan(int32_t hundredths) {
    if ((flags_ & kCtrlPan) == 0) return Result::Unsupported;
    Guard guard(mixer_->Mutex());
    voice_.pan = std::clamp(hundredths, kPanLeft, kPanRight);
    mixer_->Refresh(voice_);
    return Result::Ok;
}

int32_t SoundBuffer::Pan() const {
    Guard guard(mixer_->Mutex());
    return voice_.pan;
}

Result SoundBuffer::SetFrequency(uint32_t hertz) {
    if ((flags_ & kCtrlFrequency) == 0) return Result::Unsupported;
    if (hertz != 0 && (hertz < kMinRate || hertz > kMaxRate)) return Result::InvalidParam;
    Guard guard(mixer_->Mutex());
    voice_.frequency = hertz;
    mixer_->Refresh(voice_);
    return Result::Ok;
}

uint32_t SoundBuffer::Frequency() const {
    Guard guard(mixer_->Mutex());
    return voice_.frequency != 0 ? voice_.frequency : format_.rate;
}

Result SoundBuffer::SetPosition3D(float x, float y, float z, Apply apply) {
    if ((flags_ & kCtrl3D) == 0) return Result::Unsupported;
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) return Result::InvalidParam;
    Guard guard(mixer_->Mutex());
    if (apply == Apply::Deferred) {
        voice_.pendingPlace = {x, y, z};
        voice_.placePending = true;
        return Result::Ok;
    }
    voice_.place = {x, y, z};
    voice_.placePending = false;
    mixer_->Refresh(voice_);
    return Result::Ok;
}

Point3 SoundBuffer::Position3D() const {
    Guard guard(mixer_->Mutex());
    return voice_.place;
}

Result SoundBuffer::Restore() {
    Guard guard(mixer_->Mutex());
    if (!voice_.lost) return Result::Ok;
    if (mixer_->LossActive()) return Result::BufferLost;
    voice_.lost = false;
    return Result::Ok;
}

}  // namespace snd
