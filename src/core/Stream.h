#pragma once
// The one serialisation interface: files, texts in memory and the console are read and
// written through it. A stream never throws: every failing operation sets a sticky error
// flag, which the caller tests once after a batch of reads or writes. A failed typed read
// leaves its target unchanged.
//
// Text forms follow the C library's formatted input and output in the "C" locale. Fields
// of `long` type are 32-bit in every file (they are read and written as 32-bit values).
// A floating-point number that is not finite ("nan", "inf", an overflow) is unreadable
// without being an error: it is consumed, the target keeps its value, reading goes on,
// and the stream counts it so that the loader can name the file in the log.
#include <cstdint>

class String;

// The format state that builds every typed read and write. The program keeps the
// defaults, which give the plain forms ("%d", "%g", "%u" for booleans...).
struct StreamFormat {
    bool booleanWords = false;  // "true"/"false" instead of 1/0 on writes
    bool showBase = false;      // "#" on integer writes
    bool showPoint = false;     // "#" on floating-point writes
    bool showSign = false;      // "+" on number writes
    bool upperCase = false;     // "X", "E", "G" on writes
    bool zeroFill = false;      // "0" before a pending width
    int32_t numberBase = 0;     // 0 decimal, 1 hexadecimal, 2 octal
    int32_t floatStyle = 0;     // 0 general, 1 fixed, 2 scientific
    int32_t rightJustify = 1;   // 0 adds "-"
    int32_t noPrecision = 1;    // 0 writes "." and the precision into float formats
    int32_t precision = 0;
    int32_t noWidth = 1;  // 0: the width applies to the next formatted write only
    int32_t width = 0;
};

class Stream {
public:
    Stream() = default;
    virtual ~Stream() = default;
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    virtual Stream& Close() = 0;
    virtual bool AtEnd() = 0;
    // True when the stream can be read on: open, no error, not at the end.
    virtual bool IsGood() = 0;
    virtual Stream& ClearError() = 0;
    virtual Stream& Flush() = 0;
    // origin: 0 start, 1 current position, 2 end.
    virtual Stream& Seek(int32_t offset, int origin) = 0;
    // Raw blocks; the error flag is set when fewer bytes than asked were moved.
    virtual Stream& Read(void* buffer, int count) = 0;
    virtual Stream& Write(const void* buffer, int count) = 0;
    // The next byte 0..255 without consuming it; -1 at the end.
    virtual int PeekChar() = 0;
    // The next byte into c; at the end c becomes 255 and the error flag is set.
    virtual Stream& ReadChar(char& c) = 0;
    // The next byte 0..255; -1 at the end.
    virtual int GetChar() = 0;
    // A line of at most size - 1 characters without its "\n" or "\r\n". A line longer
    // than that is cut and LastLineCut() tells so; the rest follows on the next call.
    virtual Stream& ReadLine(char* buffer, int size) = 0;

    Stream& operator>>(void*& value);
    Stream& operator>>(long double& value);
    Stream& operator>>(double& value);
    Stream& operator>>(float& value);
    Stream& operator>>(long& value);
    Stream& operator>>(unsigned long& value);
    Stream& operator>>(short& value);
    Stream& operator>>(unsigned short& value);
    Stream& operator>>(int& value);
    Stream& operator>>(unsigned int& value);
    Stream& operator>>(char& value);
    Stream& operator>>(signed char& value);
    Stream& operator>>(unsigned char& value);
    // One raw byte, true unless zero: for binary forms only (text forms read integers).
    Stream& operator>>(bool& value);

    Stream& operator<<(const void* value);
    Stream& operator<<(const char* text);
    Stream& operator<<(const String& text);
    Stream& operator<<(long double value);
    Stream& operator<<(double value);
    Stream& operator<<(float value);
    Stream& operator<<(long value);
    Stream& operator<<(unsigned long value);
    Stream& operator<<(short value);
    Stream& operator<<(unsigned short value);
    Stream& operator<<(int value);
    Stream& operator<<(unsigned int value);
    Stream& operator<<(char value);
    Stream& operator<<(unsigned char value);
    Stream& operator<<(signed char value);
    Stream& operator<<(bool value);
    Stream& operator<<(Stream& (*manipulator)(Stream&)) { return manipulator(*this); }

    // A line feed, then Flush.
    static Stream& Endl(Stream& stream);
    // Read a float (a byte) skipping one by one the characters that cannot start one,
    // such as "<" and ",".
    static Stream& ReadFloatSkipping(Stream& stream, float& value);
    static Stream& ReadByteSkipping(Stream& stream, unsigned char& value);

    bool HasError() const { return error_; }
    void SetError() { error_ = true; }
    // Numbers passed over for not being finite since the stream was made.
    int NonFiniteCount() const { return nonFinite_; }
    void CountNonFinite() { ++nonFinite_; }
    bool LastLineCut() const { return lineCut_; }
    StreamFormat& Format() { return format_; }
    const StreamFormat& Format() const { return format_; }

protected:
    // Formatted input primitives of the concrete streams: each skips leading white space,
    // converts one value and reports whether one was converted.
    virtual bool ScanSigned(int base, long long& value) = 0;
    virtual bool ScanUnsigned(int base, unsigned long long& value) = 0;
    virtual bool ScanFloat(float& value) = 0;
    virtual bool ScanDouble(double& value) = 0;
    virtual bool ScanLongDouble(long double& value) = 0;
    // Puts formatted text at the current position; false when it was not all written.
    virtual bool PutText(const char* text, int length) = 0;

    bool error_ = false;
    bool lineCut_ = false;
    int nonFinite_ = 0;

private:
    template <typename T>
    Stream& ReadSigned(T& value, bool alwaysHex = false);
    template <typename T>
    Stream& ReadUnsigned(T& value, bool alwaysHex = false);
    template <typename T>
    Stream& ReadFloating(T& value);
    Stream& ReadRawChar(char& value);

    Stream& WriteInteger(int bits, bool isSigned, long long value);
    Stream& WriteFloating(const char* size, long double value);
    Stream& WriteChar(char value);
    Stream& WriteFormatted(const char* format, ...) __attribute__((format(printf, 2, 3)));

    int IntegerBase() const;
    void BuildFormat(char* out, bool number, bool floating, const char* size, char conversion) const;

    StreamFormat format_;
};

inline Stream& Endl(Stream& stream) { return Stream::Endl(stream); }
