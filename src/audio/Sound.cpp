#include "audio/Sound.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "audio/SoundFile.h"
#include "core/ThrowError.h"
#include "platform/sound/Result.h"

namespace {

// Settings closer than this to the stored ones are not sent to the buffer again.
constexpr float kSettingTolerance = 0.00001f;
// The device's attenuation range, in hundredths of a decibel.
constexpr float kAttenuationSteps = 10000.0f;
constexpr auto kRestoreWait = std::chrono::milliseconds(10);

[[noreturn]] void Fail(int line, const char* prefix, snd::Result result) {
    RaiseError(line, "Sound", String(prefix) + snd::ResultText(result), int32_t(result));
}

void Check(int line, const char* prefix, snd::Result result) {
    if (!snd::Succeeded(result)) Fail(line, prefix, result);
}

// Volumes and pans come from products of user factors; a value out of range is held at
// the range's end, and one that is no number at all is taken as 0.
float ClampSetting(float value, float low, float high) {
    return std::isfinite(value) ? std::clamp(value, low, high) : 0.0f;
}

}  // namespace

Sound::Sound() = default;

Sound::~Sound() = default;

Sound& Sound::operator=(const Sound& other) {
    if (this == &other) return *this;
    buffer_.reset();
    has3D_ = false;
    name_ = other.name_;
    position_ = other.position_;
    kind_ = other.kind_;
    volume_ = other.volume_;
    pan_ = other.pan_;
    return *this;
}

void Sound::Reset() {
    if (buffer_) Check(__LINE__, "Sound::Reset() - SetCurrentPosition(): ", buffer_->SetCurrentPosition(0));
}

void Sound::Fill() {
    if (!buffer_) return;
    snd::LockedRegion region;
    if (!Lock(0, GetSize(), region)) return;
    const uint32_t dataBytes = region.bytes1 > uint32_t(padLength_) ? region.bytes1 - uint32_t(padLength_) : 0;
    uint32_t stored = 0;
    std::unique_ptr<SoundFile> reader = SoundFile::Make(name_);
    // A file changed since the buffer was made is not poured into a buffer of another format.
    if (reader->Open() && reader->Format() == buffer_->Format()) {
        stored = reader->Read(region.part1, dataBytes);
    }
    reader->Close();
    // Whatever the file did not deliver is silence, never the buffer's old contents.
    std::fill(region.part1 + stored, region.part1 + region.bytes1, silenceByte_);
    Unlock(region);
    Reset();
}

void Sound::Stop() {
    if (buffer_) buffer_->Stop();
}

void Sound::SetPosition(const Vector3& position) {
    position_ = position;
    if (!has3D_ || !buffer_) return;
    // A place that is no number stays unsent: the device keeps the last good one.
    if (!std::isfinite(position.x) || !std::isfinite(position.y) || !std::isfinite(position.z)) return;
    Check(__LINE__, "Sound::SetPosition() - SetPosition(): ",
          buffer_->SetPosition3D(position.x, position.y, position.z, snd::Apply::Deferred));
    changed3D_ = true;
    anyPositionChanged_ = true;
}

void Sound::SetVolume(float volume) {
    const float v = ClampSetting(volume, 0.0f, 1.0f);
    if (!buffer_ || std::fabs(v - volume_) <= kSettingTolerance) return;
    const int32_t hundredths = int32_t(v * kAttenuationSteps + 0.5f) - int32_t(kAttenuationSteps);
    Check(__LINE__, "Sound::SetVolume() - SetVolume(): ", buffer_->SetVolume(hundredths));
    volume_ = v;
}

void Sound::SetPan(float pan) {
    const float p = ClampSetting(pan, -1.0f, 1.0f);
    if (kind_ != kPanned || !buffer_ || std::fabs(p - pan_) <= kSettingTolerance) return;
    Check(__LINE__, "Sound::SetPan() - SetPan(): ", buffer_->SetPan(int32_t(p * kAttenuationSteps)));
    pan_ = p;
}

void Sound::SetKind(int32_t kind) {
    buffer_.reset();
    has3D_ = false;
    kind_ = kind;
}

void Sound::SetBuffer(std::unique_ptr<snd::SoundBuffer> buffer) {
    buffer_ = std::move(buffer);
    has3D_ = false;
}

void Sound::SetPadding(int32_t padLength, uint8_t silenceByte) {
    padLength_ = padLength;
    silenceByte_ = silenceByte;
}

void Sound::Init3D() {
    if (kind_ < kPositional || !buffer_) return;
    if ((buffer_->Flags() & snd::kCtrl3D) == 0) {
        has3D_ = false;
        Fail(__LINE__, "Sound::Init3D() - QueryInterface(): ", snd::Result::Unsupported);
    }
    has3D_ = true;
}

uint32_t Sound::GetSize() const { return buffer_ ? buffer_->Bytes() : 0; }

uint32_t Sound::GetStatus() const { return buffer_ ? buffer_->Status() : 0; }

bool Sound::IsPlaying() const { return (GetStatus() & snd::kStatusPlaying) != 0; }

Sound::Restore Sound::RestoreBuffer(int attempts) {
    if ((GetStatus() & snd::kStatusLost) == 0) return Restore::NotLost;
    for (int attempt = 1;; ++attempt) {
        const snd::Result result = buffer_->Restore();
        if (result == snd::Result::Ok) break;
        if (result != snd::Result::BufferLost) Fail(__LINE__, "Sound::RestoreBuffer() - Restore(): ", result);
        // The device may keep the memory for as long as another program holds it; the
        // caller tries again later rather than wait without end.
        if (attempt >= attempts) return Restore::StillLost;
        std::this_thread::sleep_for(kRestoreWait);
    }
    Fill();
    return Restore::Restored;
}

bool Sound::Lock(uint32_t offset, uint32_t bytes, snd::LockedRegion& region) {
    region = {};
    if (!buffer_) return false;
    const snd::Result result = buffer_->Lock(offset, bytes, region);
    if (result == snd::Result::BufferLost) return false;
    Check(__LINE__, "Sound::Lock() - Lock(): ", result);
    return true;
}

void Sound::Unlock(const snd::LockedRegion& region) {
    if (buffer_) Check(__LINE__, "Sound::Unlock() - Unlock(): ", buffer_->Unlock(region));
}

void StopSound(Sound* sound) {
    if (sound != nullptr) sound->Stop();
}
