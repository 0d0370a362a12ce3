#include "audio/SoundFile.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <system_error>

#include "audio/OggFile.h"
#include "audio/WavFile.h"
#include "core/Debugger.h"
#include "core/FileStream.h"
#include "platform/sys/Paths.h"

namespace {

// The file layer seeks with 32-bit offsets; no sound of the game comes near this.
constexpr int64_t kMaxFileBytes = INT32_MAX;

}  // namespace

SoundFileInput::SoundFileInput() = default;

SoundFileInput::~SoundFileInput() = default;

bool SoundFileInput::Open(const String& path) {
    Close();
    auto stream = std::make_unique<FileStream>(path.CStr(), "rb");
    if (!stream->IsOpen()) return false;
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(sys::ResolvePath(path.CStr()), error);
    if (error || size > uintmax_t(kMaxFileBytes)) return false;
    stream_ = std::move(stream);
    size_ = int64_t(size);
    position_ = 0;
    return true;
}

void SoundFileInput::Close() {
    stream_.reset();
    size_ = 0;
    position_ = 0;
}

uint32_t SoundFileInput::Read(void* buffer, uint32_t bytes) {
    if (stream_ == nullptr) return 0;
    const uint32_t count = uint32_t(std::min<int64_t>(bytes, BytesLeft()));
    if (count == 0) return 0;
    stream_->Read(buffer, int(count));
    if (stream_->HasError()) {
        // How much of a short read arrived is unknown: the file changed under us.
        position_ = size_;
        return 0;
    }
    position_ += count;
    return count;
}

bool SoundFileInput::Seek(int64_t offset) {
    if (stream_ == nullptr || offset < 0 || offset > size_) return false;
    stream_->ClearError();
    stream_->Seek(int32_t(offset), 0);
    if (stream_->HasError()) return false;
    position_ = offset;
    return true;
}

SoundFile::SoundFile(const String& name) : name_(name) {}

SoundFile::~SoundFile() = default;

std::unique_ptr<SoundFile> SoundFile::Make(const String& name) {
    if (name.Extension().EqualsNoCase("ogg")) return std::make_unique<OggFile>(name);
    return std::make_unique<WavFile>(name);
}

void SoundFile::FreeFormat() { format_.reset(); }

uint8_t SoundFile::SilenceByte() const { return format_ && format_->bits == 8 ? 0x80 : 0; }

void SoundFile::Refuse(const String& message) const {
    Debugger::Instance().Line((message + " (" + name_ + ")").CStr());
}
