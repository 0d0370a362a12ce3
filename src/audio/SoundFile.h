#pragma once
// Readers of sample data from disk. A reader is chosen by the file's extension: "ogg" in
// any case decodes Ogg Vorbis, anything else is read as a RIFF WAVE file. There are no
// program resources to fall back on: a file that is missing or damaged is refused with a
// line in the debug log, and the sound made from it simply fails to load.
#include <cstdint>
#include <memory>
#include <optional>

#include "core/String.h"
#include "platform/sound/PcmFormat.h"

class FileStream;

// A file opened for reading that knows its size and position, so that readers can bound
// every declared length by the bytes really there and ask for exact partial reads.
class SoundFileInput {
public:
    SoundFileInput();
    ~SoundFileInput();
    SoundFileInput(const SoundFileInput&) = delete;
    SoundFileInput& operator=(const SoundFileInput&) = delete;

    bool Open(const String& path);
    void Close();
    bool IsOpen() const { return stream_ != nullptr; }

    // Reads up to bytes, never past the end; the count read. A failing read leaves the
    // file at its end, so nothing more comes from it.
    uint32_t Read(void* buffer, uint32_t bytes);
    // Moves to an absolute offset within the file; false (and no move) outside it.
    bool Seek(int64_t offset);
    int64_t Position() const { return position_; }
    int64_t Size() const { return size_; }
    int64_t BytesLeft() const { return size_ - position_; }

private:
    std::unique_ptr<FileStream> stream_;
    int64_t size_ = 0;
    int64_t position_ = 0;
};

class SoundFile {
public:
    explicit SoundFile(const String& name);
    virtual ~SoundFile();
    SoundFile(const SoundFile&) = delete;
    SoundFile& operator=(const SoundFile&) = delete;

    // The reader for the name's extension, not yet opened.
    static std::unique_ptr<SoundFile> Make(const String& name);

    // Opens the file and reads its format; false, with the reason in the debug log, when
    // the file is missing, damaged or in a format the device cannot play.
    virtual bool Open() = 0;
    // Stores up to bytes of samples; the count stored, 0 at the end of the data.
    virtual uint32_t Read(uint8_t* buffer, uint32_t bytes) = 0;
    // Back to the first sample; false when the file cannot go back.
    virtual bool Reset() = 0;
    // Bytes of sample data.
    virtual uint32_t GetSize() = 0;
    virtual void Close() = 0;
    virtual void FreeFormat();

    const String& Name() const { return name_; }
    // Set between a successful Open and FreeFormat.
    const std::optional<snd::PcmFormat>& Format() const { return format_; }
    uint8_t SilenceByte() const;

protected:
    // Writes "message (file name)" to the debug log.
    void Refuse(const String& message) const;

    String name_;
    std::optional<snd::PcmFormat> format_;
};
