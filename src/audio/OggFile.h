#pragma once
// Ogg Vorbis files decoded through vorbisfile into 16-bit signed little-endian PCM,
// reading the file through the game's own file layer.
#include <cstdint>

// The library's header would otherwise define callback tables we never use.
#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include "audio/SoundFile.h"

class OggFile final : public SoundFile {
public:
    explicit OggFile(const String& name);
    ~OggFile() override;

    bool Open() override;
    uint32_t Read(uint8_t* buffer, uint32_t bytes) override;
    bool Reset() override;
    // Decodes the whole file once to count its bytes, then rewinds.
    uint32_t GetSize() override;
    void Close() override;

private:
    bool ProducesOpenedFormat();

    SoundFileInput input_;
    OggVorbis_File vorbis_{};
    bool open_ = false;
    // A damaged page ended the data; set until Reset.
    bool failed_ = false;
};
