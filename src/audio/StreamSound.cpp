#include "audio/StreamSound.h"

#include <algorithm>

#include "core/ThrowError.h"
#include "platform/sound/Result.h"

StreamSound::StreamSound() = default;

StreamSound::~StreamSound() {
    if (reader_) reader_->Close();
}

void StreamSound::Reset() {
    Sound::Reset();
    nextHalf_ = 0;
    ended_ = false;
    silenceWritten_ = false;
    // A reader that cannot go back has nothing more to give: the stream plays silence
    // and ends.
    if (!reader_ || !reader_->Reset()) ended_ = true;
}

void StreamSound::Fill() {
    Reset();
    FillHalf();
}

void StreamSound::Stop() {
    if (!active_) return;
    active_ = false;
    Sound::Stop();
}

void StreamSound::FillHalf() {
    snd::LockedRegion region;
    if (!Lock(uint32_t(nextHalf_) * kHalfBytes, kHalfBytes, region)) return;
    if (region.part1 == nullptr || region.bytes1 != kHalfBytes || region.bytes2 != 0) {
        // The half stays due; the next pass tries again.
        Unlock(region);
        return;
    }
    if (ended_) {
        std::fill_n(region.part1, kHalfBytes, buffer_->Format().SilenceByte());
        silenceWritten_ = true;
    } else {
        ReadHalf(region.part1);
    }
    Unlock(region);
    nextHalf_ ^= 1;
}

void StreamSound::ReadHalf(uint8_t* half) {
    uint32_t stored = reader_ ? reader_->Read(half, kHalfBytes) : 0;
    while (stored < kHalfBytes && looping_) {
        // After a rewind that yields nothing, no rewind ever will: the stream ends
        // instead of trying again under the manager's lock.
        if (!reader_->Reset()) break;
        const uint32_t got = reader_->Read(half + stored, kHalfBytes - stored);
        if (got == 0) break;
        stored += got;
    }
    if (stored == kHalfBytes) return;
    std::fill(half + stored, half + kHalfBytes, buffer_->Format().SilenceByte());
    ended_ = true;
}

void StreamSound::Update(bool checkCursor) {
    if (!active_) return;
    switch (RestoreBuffer(1)) {
        case Restore::StillLost: return;
        case Restore::Restored:
            // The loss stopped the buffer; the refill started the stream over.
            if (buffer_->Play(snd::kPlayLooping) != snd::Result::Ok) active_ = false;
            return;
        case Restore::NotLost: break;
    }
    if (checkCursor) {
        const uint32_t cursor = buffer_->CurrentPosition().play;
        const bool duePlaying = nextHalf_ == 0 ? cursor < kHalfBytes : cursor >= kHalfBytes;
        if (duePlaying) return;
    }
    if (silenceWritten_) {
        // The cursor entered the half of pure silence: every sample has been heard.
        active_ = false;
        Sound::Stop();
        return;
    }
    FillHalf();
}

bool StreamSound::Play() {
    if (active_) return true;
    if (!buffer_ || RestoreBuffer(1) == Restore::StillLost) return false;
    active_ = true;
    Fill();
    const snd::Result result = buffer_->Play(snd::kPlayLooping);
    if (result == snd::Result::BufferLost) {
        active_ = false;
        return false;
    }
    if (!snd::Succeeded(result)) {
        active_ = false;
        RaiseError(__LINE__, "StreamSound", String("StreamSound::Play()") + snd::ResultText(result), int32_t(result));
    }
    return true;
}
