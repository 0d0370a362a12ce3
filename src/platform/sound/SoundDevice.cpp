#include "platform/sound/SoundDevice.h"

#include <new>
#include <utility>

#include "platform/sound/NullSoundDevice.h"
#include "platform/sound/SdlSoundDevice.h"

namespace snd {
namespace {

// The usual range of audio hardware; SDL converts when the hardware differs.
constexpr uint32_t kMinOutputRate = 8000;
constexpr uint32_t kMaxOutputRate = 192000;

Result CheckDesc(const BufferDesc& desc) {
    if (!IsValidFormat(desc.format)) return Result::InvalidParam;
    if (desc.bytes < desc.format.BlockAlign() || desc.bytes > kMaxBufferBytes) return Result::InvalidParam;
    if ((desc.flags & ~uint32_t(kAllBufferFlags)) != 0) return Result::InvalidParam;
    // A positional buffer takes its pan from its place.
    if ((desc.flags & kCtrlPan) && (desc.flags & kCtrl3D)) return Result::InvalidParam;
    return Result::Ok;
}

}  // namespace

SoundDevice::SoundDevice(uint32_t outputRate) : mixer_(std::make_shared<Mixer>(outputRate)) {}

SoundDevice::~SoundDevice() = default;

PcmFormat SoundDevice::PrimaryFormat() const { return PcmFormat{2, mixer_->OutputRate(), 16}; }

BufferResult SoundDevice::CreateBuffer(const BufferDesc& desc) {
    BufferResult made;
    made.result = CheckDesc(desc);
    if (made.result != Result::Ok) return made;
    try {
        auto data = std::make_shared<SampleData>();
        data->format = desc.format;
        data->frames = desc.bytes / desc.format.BlockAlign();
        data->bytes.assign(desc.bytes, desc.format.SilenceByte());
        made.buffer.reset(new SoundBuffer(mixer_, std::move(data), desc.flags));
    } catch (const std::bad_alloc&) {
        made.result = Result::OutOfMemory;
    }
    return made;
}

BufferResult SoundDevice::DuplicateBuffer(const SoundBuffer& original) {
    BufferResult made;
    if (original.mixer_ != mixer_) {
        made.result = Result::InvalidParam;
        return made;
    }
    Voice settings;
    {
        std::lock_guard<std::mutex> guard(mixer_->Mutex());
        if (original.voice_.lost) {
            made.result = Result::BufferLost;
            return made;
        }
        settings = original.voice_;
    }
    try {
        made.buffer.reset(new SoundBuffer(mixer_, settings.data, original.flags_));
    } catch (const std::bad_alloc&) {
        made.result = Result::OutOfMemory;
        return made;
    }
    Voice& copy = made.buffer->voice_;
    std::lock_guard<std::mutex> guard(mixer_->Mutex());
    copy.frequency = settings.frequency;
    copy.volume = settings.volume;
    copy.pan = settings.pan;
    copy.place = settings.place;
    mixer_->Refresh(copy);
    return made;
}

void SoundDevice::CommitDeferredSettings() {
    std::lock_guard<std::mutex> guard(mixer_->Mutex());
    mixer_->CommitDeferred();
}

DeviceResult OpenSoundDevice(DeviceKind kind, uint32_t outputRate) {
    DeviceResult opened;
    if (outputRate < kMinOutputRate || outputRate > kMaxOutputRate) {
        opened.result = Result::InvalidParam;
        return opened;
    }
    if (kind == DeviceKind::Null) {
        opened.device = std::make_unique<NullSoundDevice>(outputRate);
        return opened;
    }
    return SdlSoundDevice::Open(outputRate);
}

}  // namespace snd
