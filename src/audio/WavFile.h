#pragma once
// RIFF WAVE files of linear PCM: 8-bit unsigned or 16-bit signed samples, one or two
// channels. Chunk lengths are checked against the bytes really in the file, so a
// damaged header can neither read past the data nor ask for more than is there.
#include <cstdint>

#include "audio/SoundFile.h"

class WavFile final : public SoundFile {
public:
    explicit WavFile(const String& name);
    ~WavFile() override;

    bool Open() override;
    uint32_t Read(uint8_t* buffer, uint32_t bytes) override;
    bool Reset() override;
    uint32_t GetSize() override { return size_; }
    void Close() override;

private:
    bool ReadHeader();
    bool ReadFormat(uint32_t chunkBytes);
    // Moves to the data of the first chunk with that id between the current position and
    // the end of the RIFF chunk; its length, bounded by the bytes left, or -1.
    int64_t FindChunk(const char id[4]);

    SoundFileInput input_;
    int64_t riffEnd_ = 0;    // offset just past the RIFF chunk's data
    uint32_t dataLeft_ = 0;  // bytes of the data chunk not yet read
    uint32_t size_ = 0;      // bytes of the data chunk
};
