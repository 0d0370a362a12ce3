#pragma once
// A stream over a zero-terminated text in memory.
//
// An owned buffer starts at 2048 bytes and grows in steps of 1024 before each write, so
// that the written item plus a margin of 1024 bytes always fits. A caller's buffer never
// grows: a write takes only the space left (the last byte stays the terminator) and sets
// the error flag when cut short. While a stream uses a caller's buffer the buffer belongs
// to the stream: the stream keeps the text length and does not look for outside changes.
#include <cstdint>

#include "core/Stream.h"

class StringStream : public Stream {
public:
    static constexpr int kInitialCapacity = 2048;
    static constexpr int kGrowStep = 1024;
    static constexpr int kFreeMargin = 1024;
    // Mode of the caller-buffer constructor that appends to the text already there.
    static constexpr int kAppend = 1;

    // An owned, empty text.
    StringStream();
    // An owned copy of `text`, read from its start.
    explicit StringStream(const char* text);
    // The caller's buffer of `size` bytes; its last byte is set to zero. Mode kAppend puts
    // the position at the end of the text already there, any other mode at 0.
    StringStream(char* buffer, int size, int mode);
    ~StringStream() override;

    // The text written so far (up to the first zero byte); null after Close.
    const char* Text() const { return text_; }
    int TextLength() const { return length_; }
    int Position() const { return position_; }
    // Bytes owned; 0 for a caller's buffer.
    int Capacity() const { return capacity_; }

    // Frees an owned buffer; a caller's buffer is left alone.
    Stream& Close() override;
    bool AtEnd() override;
    bool IsGood() override;
    Stream& ClearError() override;
    Stream& Flush() override;
    Stream& Seek(int32_t offset, int origin) override;
    Stream& Read(void* buffer, int count) override;
    Stream& Write(const void* buffer, int count) override;
    int PeekChar() override;
    // At the end: 255 and the error flag.
    Stream& ReadChar(char& c) override;
    int GetChar() override;
    Stream& ReadLine(char* buffer, int size) override;

protected:
    bool ScanSigned(int base, long long& value) override;
    bool ScanUnsigned(int base, unsigned long long& value) override;
    bool ScanFloat(float& value) override;
    bool ScanDouble(double& value) override;
    bool ScanLongDouble(long double& value) override;
    bool PutText(const char* text, int length) override;

    // Ends the text at the position.
    void Terminate();

private:
    template <typename T, typename Parse>
    bool Scan(T& value, Parse parse);
    // Bytes of `count` that can be written at the position, growing an owned buffer.
    int Room(int count);
    void Grow(int capacity);

    char* text_ = nullptr;
    int32_t capacity_ = 0;
    int32_t position_ = 0;
    int32_t length_ = 0;      // bytes before the first zero
    int32_t bufferSize_ = 0;  // bytes of the buffer, owned or not
};
