#include "audio/Sounder.h"

#include <chrono>

#include "audio/SoundFile.h"
#include "core/Debugger.h"
#include "core/ThrowError.h"
#include "platform/sound/NullSoundDevice.h"
#include "platform/sound/Result.h"

namespace {

// The streaming thread's refill period: well inside the quarter second a half lasts.
constexpr auto kRefillPeriod = std::chrono::milliseconds(25);
// An idle thread looks at the stop flag this often even when nobody wakes it.
constexpr auto kIdleWait = std::chrono::milliseconds(1000);
// The longest step of PlayOut: a twentieth of a second, well inside the half of a
// stream's ring that the refill after it must find still unplayed.
constexpr uint32_t kPlayOutStepsPerSecond = 20;
// How long a play on the main thread waits, 10 ms at a time, for a lost buffer.
constexpr int kPlayRestoreAttempts = 10;

[[noreturn]] void Fail(int line, const String& message, snd::Result result) {
    RaiseError(line, "Sounder", message + snd::ResultText(result), int32_t(result));
}

uint32_t BufferFlags(int32_t kind) {
    const uint32_t placement = kind >= Sound::kPositional ? snd::kCtrl3D : snd::kCtrlPan;
    return placement | snd::kCtrlVolume;
}

}  // namespace

Sounder::Sounder() = default;

Sounder::~Sounder() { Shutdown(); }

void Sounder::Init(snd::DeviceKind kind, int channels, uint32_t samplesPerSecond, int bitsPerSample) {
    // The mixer's output is always 16-bit stereo; only its rate can be chosen.
    if (channels != 2 || bitsPerSample != 16) {
        Fail(__LINE__, "Sounder::Init() - the mixer makes only 16-bit stereo: ", snd::Result::InvalidParam);
    }
    snd::DeviceResult opened = snd::OpenSoundDevice(kind, samplesPerSecond);
    if (!snd::Succeeded(opened.result)) Fail(__LINE__, "Sounder::Init() - snd::OpenSoundDevice(): ", opened.result);
    Init(std::move(opened.device));
}

void Sounder::Init(std::unique_ptr<snd::SoundDevice> device) { device_ = std::move(device); }

void Sounder::StartStreamThread() {
    if (thread_.joinable()) return;
    stop_ = false;
    thread_ = std::thread(&Sounder::StreamThreadProc, this);
}

void Sounder::StopStreamThread() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
    stop_ = false;
}

void Sounder::Shutdown() {
    // The thread goes first: it must not refill a stream while the streams or the
    // device go away.
    StopStreamThread();
    for (auto& sound : sounds_) sound->Stop();
    soundTable_.clear();
    sounds_.clear();
    {
        std::lock_guard<std::mutex> guard(mutex_);
        for (auto& stream : streams_) StopStreamLocked(*stream);
        active_.clear();
    }
    streamTable_.clear();
    streams_.clear();
    device_.reset();
}

void Sounder::StreamThreadProc() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stop_) {
        wake_.wait_for(lock, kIdleWait, [this] { return wakeSignalled_ || stop_; });
        wakeSignalled_ = false;
        while (!stop_ && !active_.empty()) {
            // The wait lets go of the lock; a stop request cuts it short.
            wake_.wait_for(lock, kRefillPeriod, [this] { return stop_; });
            if (!stop_) UpdateStreamsLocked();
        }
    }
}

void Sounder::UpdateStreams() {
    std::lock_guard<std::mutex> guard(mutex_);
    UpdateStreamsLocked();
}

void Sounder::UpdateStreamsLocked() {
    for (size_t i = 0; i < active_.size();) {
        StreamSound* stream = active_[i];
        stream->Update(true);
        if (stream->IsActive()) {
            ++i;
        } else {
            active_.erase(active_.begin() + long(i));
        }
    }
}

void Sounder::PlayOut(double seconds) {
    auto* device = dynamic_cast<snd::NullSoundDevice*>(device_.get());
    if (device == nullptr || !(seconds > 0.0)) return;
    const uint32_t rate = device->PrimaryFormat().rate;
    playOutFrames_ += seconds * rate;
    const uint32_t step = rate / kPlayOutStepsPerSecond;
    while (playOutFrames_ >= 1.0) {
        const uint32_t frames = uint32_t(std::min(playOutFrames_, double(step)));
        device->Play(frames);
        playOutFrames_ -= frames;
        UpdateStreams();
    }
}

int Sounder::ActiveStreamCount() {
    std::lock_guard<std::mutex> guard(mutex_);
    return int(active_.size());
}

Sound* Sounder::LoadSound(const String& name, int32_t kind, bool share) {
    if (name.IsEmpty()) return nullptr;
    const String key = name.Uppered();
    int replace = -1;
    if (share) {
        const int found = FindByName(soundTable_, key.CStr());
        if (found >= 0) {
            if (Sound* duplicate = DuplicateOf(*soundTable_[size_t(found)])) return duplicate;
            replace = found;
        }
    }
    sounds_.push_back(std::make_unique<Sound>());
    Sound* sound = sounds_.back().get();
    sound->SetName(key);
    sound->SetKind(kind);
    // A sound that fails to load stays out of the table, so the next load tries the file again.
    if (!Read(*sound)) return sound;
    if (replace >= 0) {
        soundTable_[size_t(replace)] = sound;
    } else {
        InsertSorted(soundTable_, sound);
    }
    return sound;
}

Sound* Sounder::DuplicateOf(Sound& original) {
    if (!device_ || original.Buffer() == nullptr) return nullptr;
    snd::BufferResult made = device_->DuplicateBuffer(*original.Buffer());
    if (!snd::Succeeded(made.result)) return nullptr;
    sounds_.push_back(std::make_unique<Sound>());
    Sound* copy = sounds_.back().get();
    *copy = original;
    copy->SetBuffer(std::move(made.buffer));
    copy->Init3D();
    return copy;
}

bool Sounder::Read(Sound& sound) {
    if (!device_) {
        Debugger::Instance().Line(("Sounder::Read() - no sound device (" + sound.Name() + ")").CStr());
        return false;
    }
    std::unique_ptr<SoundFile> reader = SoundFile::Make(sound.Name());
    if (!reader->Open()) return false;
    const uint32_t size = reader->GetSize();
    const snd::PcmFormat format = *reader->Format();
    const uint8_t silence = reader->SilenceByte();
    reader->Close();
    if (size > snd::kMaxBufferBytes) {
        Debugger::Instance().Line(
            ("Sounder::Read() - too large for a sound: " + String::FromInt(int(std::min<uint32_t>(size, INT32_MAX))) +
             " bytes (" + sound.Name() + ")")
                .CStr());
        return false;
    }
    sound.SetPadding(size < kMinSoundBytes ? int32_t(kMinSoundBytes - size) : 0, silence);
    const snd::BufferDesc desc{format, std::max(size, kMinSoundBytes), BufferFlags(sound.Kind())};
    snd::BufferResult made = device_->CreateBuffer(desc);
    if (!snd::Succeeded(made.result)) Fail(__LINE__, "Sounder::Read() - CreateSoundBuffer(): ", made.result);
    sound.SetBuffer(std::move(made.buffer));
    sound.Fill();
    sound.Init3D();
    return true;
}

bool Sounder::Read(StreamSound& stream) {
    if (!device_) {
        Debugger::Instance().Line(("Sounder::Read( Stream ) - no sound device (" + stream.Name() + ")").CStr());
        return false;
    }
    std::unique_ptr<SoundFile> reader = SoundFile::Make(stream.Name());
    if (!reader->Open()) return false;
    const uint32_t flags = BufferFlags(stream.Kind()) | snd::kPrecisePosition | snd::kSoftwareMixing;
    const snd::BufferDesc desc{*reader->Format(), StreamSound::kRingBytes, flags};
    snd::BufferResult made = device_->CreateBuffer(desc);
    if (!snd::Succeeded(made.result)) {
        Fail(__LINE__, "Sounder::Read( Stream ) - CreateSoundBuffer(): ", made.result);
    }
    stream.SetReader(std::move(reader));
    stream.SetBuffer(std::move(made.buffer));
    stream.Init3D();
    return true;
}

StreamSound* Sounder::LoadStream(const String& name, int32_t kind, bool share) {
    if (name.IsEmpty()) return nullptr;
    const String key = name.Uppered();
    if (share) {
        const int found = FindByName(streamTable_, key.CStr());
        if (found >= 0) {
            StreamSound* shared = streamTable_[size_t(found)];
            shared->AddReference();
            return shared;
        }
    }
    streams_.push_back(std::make_unique<StreamSound>());
    StreamSound* stream = streams_.back().get();
    stream->SetName(key);
    stream->SetKind(kind);
    if (Read(*stream)) InsertSorted(streamTable_, stream);
    return stream;
}

void Sounder::CommitPlaces(Sound& sound) {
    if (Sound::AnyPositionChanged() && sound.Changed3D() && device_) {
        device_->CommitDeferredSettings();
        Sound::ClearAnyPositionChanged();
    }
    sound.ClearChanged3D();
}

snd::Result Sounder::Play(Sound* sound, float volume, uint32_t playFlags) {
    if (sound == nullptr) return snd::Result::InvalidParam;
    sound->SetVolume(volume);
    CommitPlaces(*sound);
    if (sound->Buffer() == nullptr) return snd::Result::InvalidCall;
    // A playing sound is not restarted: only its volume changed.
    if (sound->IsPlaying()) return snd::Result::Ok;
    if (sound->RestoreBuffer(kPlayRestoreAttempts) == Sound::Restore::StillLost) return snd::Result::BufferLost;
    sound->Reset();
    const snd::Result result = sound->Buffer()->Play(playFlags & snd::kPlayLooping);
    if (result != snd::Result::Ok && result != snd::Result::BufferLost) {
        Fail(__LINE__, "Sounder::Play( Sound )", result);
    }
    return result;
}

void Sounder::PlayStream(StreamSound* stream, float volume, int mode) {
    if (stream == nullptr) return;
    stream->SetVolume(volume);
    CommitPlaces(*stream);
    size_t listed = 0;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        stream->SetLooping(mode == kLoop);
        if (stream->IsActive()) return;
        // Started and filled before it is listed: the thread never sees it half-started.
        if (!stream->Play()) return;
        if (std::find(active_.begin(), active_.end(), stream) == active_.end()) active_.push_back(stream);
        listed = active_.size();
        if (listed == 1) wakeSignalled_ = true;
    }
    if (listed == 1) wake_.notify_all();
}

void Sounder::StopStream(StreamSound* stream) {
    if (stream == nullptr) return;
    std::lock_guard<std::mutex> guard(mutex_);
    StopStreamLocked(*stream);
}

void Sounder::StopStreamLocked(StreamSound& stream) {
    stream.Stop();
    active_.erase(std::remove(active_.begin(), active_.end(), &stream), active_.end());
}

bool Sounder::IsStreamActive(StreamSound* stream) {
    if (stream == nullptr) return false;
    std::lock_guard<std::mutex> guard(mutex_);
    return stream->IsActive();
}

void Sounder::ReleaseStream(StreamSound* stream) {
    const auto owned =
        std::find_if(streams_.begin(), streams_.end(), [stream](const auto& held) { return held.get() == stream; });
    if (owned == streams_.end()) return;
    if (stream->DropReference() > 0) return;
    // Stopped and taken off the active list under the lock: the thread, which visits
    // only listed streams and only under the lock, can no longer reach it.
    StopStream(stream);
    streamTable_.erase(std::remove(streamTable_.begin(), streamTable_.end(), stream), streamTable_.end());
    streams_.erase(owned);
}

void Sounder::ReleaseSound(Sound* sound) {
    const auto owned =
        std::find_if(sounds_.begin(), sounds_.end(), [sound](const auto& held) { return held.get() == sound; });
    if (owned == sounds_.end()) return;
    // The device stops a buffer at once: the mixer reads it under its own lock, so once
    // Stop returns the samples are no longer in use.
    sound->Stop();
    soundTable_.erase(std::remove(soundTable_.begin(), soundTable_.end(), sound), soundTable_.end());
    sounds_.erase(owned);
}
