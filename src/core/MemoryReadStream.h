#pragma once
// A read-only stream over bytes in memory, for binary files read whole: far fewer calls
// into the C library than reading a file field by field. Text scanning and writing are
// not offered (they fail and set the error flag).
#include <string>
#include <string_view>

#include "core/Stream.h"

class MemoryReadStream : public Stream {
public:
    explicit MemoryReadStream(std::string bytes) : bytes_(std::move(bytes)) {}
    // The whole file; a file that cannot be read gives a stream that is not open.
    static MemoryReadStream FromFile(std::string_view path);

    bool IsOpen() const { return open_; }

    Stream& Close() override;
    bool AtEnd() override { return position_ >= bytes_.size(); }
    bool IsGood() override { return open_ && !error_ && !AtEnd(); }
    Stream& ClearError() override;
    Stream& Flush() override { return *this; }
    Stream& Seek(int32_t offset, int origin) override;
    Stream& Read(void* buffer, int count) override;
    Stream& Write(const void* buffer, int count) override;
    int PeekChar() override;
    Stream& ReadChar(char& c) override;
    int GetChar() override;
    Stream& ReadLine(char* buffer, int size) override;

protected:
    bool ScanSigned(int, long long&) override { return false; }
    bool ScanUnsigned(int, unsigned long long&) override { return false; }
    bool ScanFloat(float&) override { return false; }
    bool ScanDouble(double&) override { return false; }
    bool ScanLongDouble(long double&) override { return false; }
    bool PutText(const char*, int) override { return false; }

private:
    MemoryReadStream() : open_(false) {}

    std::string bytes_;
    size_t position_ = 0;
    bool open_ = true;
};
