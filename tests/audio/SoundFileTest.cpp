// The readers: our own RIFF WAVE parser and the Ogg Vorbis decoder, on files made here.
#include <gtest/gtest.h>

#include "audio/OggFile.h"
#include "audio/SoundFile.h"
#include "audio/WavFile.h"
#include "support/AudioTestUtil.h"

namespace {

using namespace audio_test;

std::string ReadAll(SoundFile& file, uint32_t step) {
    std::string out;
    std::string chunk(step, '\0');
    while (uint32_t got = file.Read(reinterpret_cast<uint8_t*>(chunk.data()), step)) out.append(chunk, 0, got);
    return out;
}

// The Ogg page checksum: CRC-32 with polynomial 0x04C11DB7, no reflection, start 0.
uint32_t OggChecksum(const std::string& page) {
    uint32_t crc = 0;
    for (const char byte : page) {
        crc ^= uint32_t(uint8_t(byte)) << 24;
        for (int bit = 0; bit < 8; ++bit) crc = crc & 0x80000000u ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    return crc;
}

// The file with its last page's granule position set to 0 and the page's checksum made
// good again: every page still decodes, but the stream claims no length, so it cannot
// be rewound by time.
std::string WithoutLength(std::string ogg) {
    size_t last = 0;
    for (size_t at = 0; at + 27 <= ogg.size();) {
        last = at;
        const size_t segments = uint8_t(ogg[at + 26]);
        size_t body = 0;
        for (size_t k = 0; k < segments; ++k) body += uint8_t(ogg[at + 27 + k]);
        at += 27 + segments + body;
    }
    ogg.replace(last + 6, 8, std::string(8, '\0'));
    ogg.replace(last + 22, 4, std::string(4, '\0'));
    const uint32_t crc = OggChecksum(ogg.substr(last));
    for (int k = 0; k < 4; ++k) ogg[last + 22 + k] = char(crc >> (8 * k));
    return ogg;
}

TEST(SoundFile, ReaderIsChosenByExtensionIgnoringCase) {
    EXPECT_NE(dynamic_cast<OggFile*>(SoundFile::Make("Sounds\\Countdown.ogg").get()), nullptr);
    EXPECT_NE(dynamic_cast<OggFile*>(SoundFile::Make("SOUNDS\\COUNTDOWN.OGG").get()), nullptr);
    EXPECT_NE(dynamic_cast<WavFile*>(SoundFile::Make("Sounds\\Tone.WAV").get()), nullptr);
    EXPECT_NE(dynamic_cast<WavFile*>(SoundFile::Make("Sounds\\Tone").get()), nullptr);
    EXPECT_NE(dynamic_cast<WavFile*>(SoundFile::Make("Sounds.ogg\\Tone").get()), nullptr);
}

TEST(WavFile, ReadsPcmThroughTheCaseInsensitivePathsAndSkipsOtherChunks) {
    TempFolder folder;
    const std::string data = "\x01\x02\x03\x04\x05\x06\x07\x08";
    std::string bytes = WavBytes({1, 1, 11025, 16}, data);
    // A "LIST" chunk of odd length (with its pad byte) between "fmt " and "data".
    bytes.insert(36, std::string("LIST\x03\x00\x00\x00"
                                 "abc\x00",
                                 12));
    bytes.replace(4, 4, std::string("\x38\x00\x00\x00", 4));
    WriteFile(folder / "Tone.wav", bytes);

    WavFile file(String((folder / "TONE.WAV").c_str()));
    ASSERT_TRUE(file.Open());
    EXPECT_EQ(*file.Format(), (snd::PcmFormat{1, 11025, 16}));
    EXPECT_EQ(file.SilenceByte(), 0);
    EXPECT_EQ(file.GetSize(), 8u);
    EXPECT_EQ(ReadAll(file, 3), data);
    ASSERT_TRUE(file.Reset());
    EXPECT_EQ(ReadAll(file, 100), data);
    file.Close();
    EXPECT_FALSE(file.Format().has_value());
}

TEST(WavFile, DataSizeIsBoundedByTheFileAndCutToWholeFrames) {
    TempFolder folder;
    std::string bytes = WavBytes({1, 2, 22050, 16}, std::string(11, 'x'));
    bytes.replace(40, 4, "\xF0\xFF\xFF\xFF");  // the data chunk claims almost 4 GiB
    WriteFile(folder / "huge.wav", bytes);
    WavFile file(String((folder / "huge.wav").c_str()));
    ASSERT_TRUE(file.Open());
    EXPECT_EQ(file.GetSize(), 8u);  // 11 bytes present, two whole 4-byte frames
    EXPECT_EQ(ReadAll(file, 64).size(), 8u);
}

TEST(WavFile, DamagedFilesAreRefusedWithTheirReason) {
    struct Case {
        const char* name;
        std::string bytes;
        const char* reason;
    };
    const std::string good = WavBytes({1, 1, 22050, 8}, std::string(100, '\x90'));
    std::string shortFormat = good;
    shortFormat.replace(16, 4, std::string("\x0E\x00\x00\x00", 4));
    std::string noData = good.substr(0, 36) + "junk" + good.substr(40);
    const Case cases[] = {
        {"missing.wav", "", "WavFile::Open() - File does not exist"},
        {"truncated.wav", good.substr(0, 10), "WavFile::ReadHeader() - read(): the file ends inside the RIFF header"},
        {"notriff.wav", "RIFX" + good.substr(4), "WavFile::ReadHeader() - not a RIFF WAVE file"},
        {"nofmt.wav", good.substr(0, 12), "WavFile::ReadHeader() - no \"fmt \" chunk"},
        {"shortfmt.wav", shortFormat, "WavFile::ReadFormat() - the format chunk is shorter than 16 bytes"},
        {"cutfmt.wav", good.substr(0, 28), "WavFile::ReadFormat() - read(): the file ends inside the format chunk"},
        {"float.wav", WavBytes({3, 1, 22050, 32}, std::string(64, '\0')), "unsupported format tag 3"},
        {"nochannels.wav", WavBytes({1, 0, 22050, 16}, std::string(64, '\0')), "0 channels"},
        {"sixchannels.wav", WavBytes({1, 6, 22050, 16}, std::string(64, '\0')), "6 channels"},
        {"absurdrate.wav", WavBytes({1, 1, 4000000, 8}, std::string(64, '\0')), "4000000 Hz"},
        {"twelvebits.wav", WavBytes({1, 1, 22050, 12}, std::string(64, '\0')), "12 bits"},
        {"nodata.wav", noData, "WavFile::Reset() - no \"data\" chunk"},
        {"empty.wav", WavBytes({1, 1, 22050, 8}, ""), "WavFile::Open() - No size"},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.bytes.size() > 0) WriteFile(folder / c.name, c.bytes);
        LogCapture log;
        WavFile file(String((folder / c.name).c_str()));
        EXPECT_FALSE(file.Open());
        EXPECT_TRUE(log.Contains(c.reason)) << log.Text();
        EXPECT_TRUE(log.Contains(c.name)) << log.Text();
        EXPECT_FALSE(file.Format().has_value());
        uint8_t byte = 0;
        EXPECT_EQ(file.Read(&byte, 1), 0u);
    }
}

TEST(OggFile, DecodesSixteenBitLittleEndianAsTheReferenceDecoderDoes) {
    TempFolder folder;
    for (const int channels : {1, 2}) {
        SCOPED_TRACE(channels);
        const std::string ogg = EncodeOgg(ToneFloats(30000, channels, 44100, 440.0), channels, 44100);
        ASSERT_FALSE(ogg.empty());
        WriteFile(folder / "tone.ogg", ogg);
        const Samples reference = DecodeOgg(ogg);
        ASSERT_GT(reference.size(), 20000u);

        OggFile file(String((folder / "TONE.OGG").c_str()));
        ASSERT_TRUE(file.Open());
        EXPECT_EQ(*file.Format(), (snd::PcmFormat{uint16_t(channels), 44100, 16}));
        EXPECT_EQ(file.GetSize(), 2 * reference.size());
        // GetSize rewound: the reads start at the first sample again.
        const std::string decoded = ReadAll(file, 20480);
        EXPECT_EQ(decoded, SampleBytes16(reference));
        ASSERT_TRUE(file.Reset());
        EXPECT_EQ(ReadAll(file, 777), decoded);
    }
}

TEST(OggFile, DamagedFilesAreRefused) {
    TempFolder folder;
    const std::string ogg = EncodeOgg(ToneFloats(5000, 2, 22050, 440.0), 2, 22050);
    const std::string surround = EncodeOgg(ToneFloats(5000, 3, 22050, 440.0), 3, 22050);
    ASSERT_FALSE(surround.empty());
    struct Case {
        const char* name;
        std::string bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"missing.ogg", "", "OggFile::Open() - File does not exist: "},
        {"header.ogg", ogg.substr(0, 100), "OggFile::Open() - Not a .ogg file"},
        {"wave.ogg", WavBytes({1, 1, 22050, 8}, std::string(100, '\x90')), "OggFile::Open() - Not a .ogg file"},
        {"surround.ogg", surround, "3 channels"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.bytes.empty()) WriteFile(folder / c.name, c.bytes);
        LogCapture log;
        OggFile file(String((folder / c.name).c_str()));
        EXPECT_FALSE(file.Open());
        EXPECT_TRUE(log.Contains(c.reason)) << log.Text();
        uint8_t byte = 0;
        EXPECT_EQ(file.Read(&byte, 1), 0u);
    }
}

TEST(OggFile, CorruptedOrCutPagesEndTheDataWithoutNoise) {
    TempFolder folder;
    const std::string ogg = EncodeOgg(ToneFloats(44100, 2, 22050, 440.0), 2, 22050);
    const Samples reference = DecodeOgg(ogg);
    std::string damaged = ogg;
    for (size_t i = ogg.size() / 2; i < ogg.size() / 2 + 200; ++i) damaged[i] = char(damaged[i] ^ 0x5A);
    WriteFile(folder / "damaged.ogg", damaged);
    WriteFile(folder / "cut.ogg", ogg.substr(0, ogg.size() * 2 / 3));
    for (const char* name : {"damaged.ogg", "cut.ogg"}) {
        SCOPED_TRACE(name);
        OggFile file(String((folder / name).c_str()));
        ASSERT_TRUE(file.Open());
        const std::string decoded = ReadAll(file, 20480);
        // Whole frames, less than the undamaged file, and what came before the damage is
        // the reference's own start.
        EXPECT_EQ(decoded.size() % 4, 0u);
        EXPECT_LT(decoded.size(), 2 * reference.size());
        const size_t prefix = std::min<size_t>(decoded.size(), 2 * reference.size() / 4);
        EXPECT_EQ(decoded.substr(0, prefix), SampleBytes16(reference).substr(0, prefix));
    }
}

TEST(OggFile, SizeAgreesWithTheDataWhenRewindingFails) {
    TempFolder folder;
    WriteFile(folder / "nolength.ogg", WithoutLength(EncodeOgg(ToneFloats(22050, 1, 22050, 440.0), 1, 22050)));
    OggFile file(String((folder / "nolength.ogg").c_str()));
    ASSERT_TRUE(file.Open());
    const uint32_t size = file.GetSize();
    const std::string decoded = ReadAll(file, 4096);
    EXPECT_GT(decoded.size(), 0u);
    EXPECT_EQ(size, decoded.size());
    ASSERT_TRUE(file.Reset());
    EXPECT_EQ(ReadAll(file, 20480), decoded);
}

}  // namespace
