#include "core/Stream.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <type_traits>

#include "core/String.h"

namespace {

// Most formatted items fit this stack buffer; longer ones are formatted again on the heap.
constexpr int kFormatBufferSize = 1024;
// "%" + flags + width + "." + precision + size letters + conversion, with room to spare.
constexpr int kFormatTextSize = 64;

template <typename T>
bool FitsSigned(long long value) {
    return value >= std::numeric_limits<T>::min() && value <= std::numeric_limits<T>::max();
}

// Unsigned reads keep the C library's wrap of a negative text ("-1" reads as the largest
// value) as long as its magnitude fits the type.
template <typename T>
bool FitsUnsigned(unsigned long long value) {
    constexpr unsigned long long max = std::numeric_limits<T>::max();
    return value <= max || value >= ~max;
}

}  // namespace

template <typename T>
Stream& Stream::ReadSigned(T& value, bool alwaysHex) {
    long long read = 0;
    if (!ScanSigned(alwaysHex ? 16 : IntegerBase(), read) || !FitsSigned<T>(read)) {
        error_ = true;
        return *this;
    }
    value = static_cast<T>(read);
    return *this;
}

template <typename T>
Stream& Stream::ReadUnsigned(T& value, bool alwaysHex) {
    unsigned long long read = 0;
    if (!ScanUnsigned(alwaysHex ? 16 : IntegerBase(), read) || !FitsUnsigned<T>(read)) {
        error_ = true;
        return *this;
    }
    value = static_cast<T>(read);
    return *this;
}

template <typename T>
Stream& Stream::ReadFloating(T& value) {
    T read = 0;
    bool converted = false;
    if constexpr (std::is_same_v<T, float>) {
        converted = ScanFloat(read);
    } else if constexpr (std::is_same_v<T, double>) {
        converted = ScanDouble(read);
    } else {
        converted = ScanLongDouble(read);
    }
    if (!converted) {
        error_ = true;
        return *this;
    }
    if (!std::isfinite(read)) {
        ++nonFinite_;
        return *this;
    }
    value = read;
    return *this;
}

Stream& Stream::ReadRawChar(char& value) {
    const int c = GetChar();
    if (c < 0) {
        error_ = true;
        return *this;
    }
    value = static_cast<char>(c);
    return *this;
}

int Stream::IntegerBase() const {
    switch (format_.numberBase) {
        case 1: return 16;
        case 2: return 8;
        default: return 10;
    }
}

Stream& Stream::operator>>(void*& value) {
    unsigned long long address = 0;
    if (!ScanUnsigned(16, address)) {
        error_ = true;
        return *this;
    }
    value = reinterpret_cast<void*>(static_cast<uintptr_t>(address));
    return *this;
}

Stream& Stream::operator>>(long double& value) { return ReadFloating(value); }
Stream& Stream::operator>>(double& value) { return ReadFloating(value); }
Stream& Stream::operator>>(float& value) { return ReadFloating(value); }

Stream& Stream::operator>>(long& value) {
    int32_t read = 0;
    ReadSigned(read);
    if (!error_) {
        value = read;
    }
    return *this;
}

Stream& Stream::operator>>(unsigned long& value) {
    uint32_t read = 0;
    ReadUnsigned(read);
    if (!error_) {
        value = read;
    }
    return *this;
}

Stream& Stream::operator>>(short& value) { return ReadSigned(value); }
Stream& Stream::operator>>(unsigned short& value) { return ReadUnsigned(value); }
Stream& Stream::operator>>(int& value) { return ReadSigned(value); }
Stream& Stream::operator>>(unsigned int& value) { return ReadUnsigned(value); }
Stream& Stream::operator>>(char& value) { return ReadRawChar(value); }

Stream& Stream::operator>>(signed char& value) {
    char c = 0;
    if (!ReadRawChar(c).error_) {
        value = static_cast<signed char>(c);
    }
    return *this;
}

Stream& Stream::operator>>(unsigned char& value) {
    char c = 0;
    if (!ReadRawChar(c).error_) {
        value = static_cast<unsigned char>(c);
    }
    return *this;
}

Stream& Stream::operator>>(bool& value) {
    char c = 0;
    if (!ReadRawChar(c).error_) {
        value = c != '\0';
    }
    return *this;
}

void Stream::BuildFormat(char* out, bool number, bool floating, const char* size, char conversion) const {
    char* p = out;
    *p++ = '%';
    if (format_.rightJustify == 0) {
        *p++ = '-';
    }
    if (number && format_.showSign) {
        *p++ = '+';
    }
    if (number && (floating ? format_.showPoint : format_.showBase)) {
        *p++ = '#';
    }
    if (format_.noWidth == 0) {
        if (format_.zeroFill) {
            *p++ = '0';
        }
        p += std::snprintf(p, 12, "%d", format_.width);
    }
    if (floating && format_.noPrecision == 0) {
        p += std::snprintf(p, 13, ".%d", format_.precision);
    }
    for (; *size != '\0'; ++size) {
        *p++ = *size;
    }
    *p++ = conversion;
    *p = '\0';
}

Stream& Stream::WriteFormatted(const char* format, ...) {
    // A width applies to one item only.
    format_.noWidth = 1;
    char buffer[kFormatBufferSize];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int length = 0;
    {
        CLocaleScope scope;
        length = std::vsnprintf(buffer, sizeof buffer, format, args);
    }
    va_end(args);
    if (length < 0) {
        va_end(again);
        error_ = true;
        return *this;
    }
    if (length < kFormatBufferSize) {
        va_end(again);
        if (!PutText(buffer, length)) {
            error_ = true;
        }
        return *this;
    }
    const auto text = std::make_unique<char[]>(static_cast<size_t>(length) + 1);
    {
        CLocaleScope scope;
        std::vsnprintf(text.get(), static_cast<size_t>(length) + 1, format, again);
    }
    va_end(again);
    if (!PutText(text.get(), length)) {
        error_ = true;
    }
    return *this;
}

Stream& Stream::WriteInteger(int bits, bool isSigned, long long value) {
    char conversion = isSigned ? 'd' : 'u';
    if (format_.numberBase == 1) {
        conversion = format_.upperCase ? 'X' : 'x';
    } else if (format_.numberBase == 2) {
        conversion = 'o';
    }
    if (conversion != 'd' && value < 0) {
        // Hexadecimal and octal show the bits of the value's own width, as "%x" does.
        value = static_cast<long long>(static_cast<unsigned long long>(value) & ((1ull << bits) - 1));
    }
    char format[kFormatTextSize];
    BuildFormat(format, true, false, "ll", conversion);
    return WriteFormatted(format, value);
}

Stream& Stream::WriteFloating(const char* size, long double value) {
    char conversion = format_.upperCase ? 'G' : 'g';
    if (format_.floatStyle == 1) {
        conversion = 'f';
    } else if (format_.floatStyle == 2) {
        conversion = format_.upperCase ? 'E' : 'e';
    }
    char format[kFormatTextSize];
    BuildFormat(format, true, true, size, conversion);
    if (size[0] == 'L') {
        return WriteFormatted(format, value);
    }
    return WriteFormatted(format, static_cast<double>(value));
}

Stream& Stream::WriteChar(char value) {
    char format[kFormatTextSize];
    BuildFormat(format, false, false, "", 'c');
    return WriteFormatted(format, value);
}

Stream& Stream::operator<<(const void* value) {
    char format[kFormatTextSize];
    BuildFormat(format, false, false, "", 'p');
    return WriteFormatted(format, value);
}

Stream& Stream::operator<<(const char* text) {
    if (text == nullptr) {
        text = "";
    }
    if (format_.rightJustify != 0 && format_.noWidth != 0) {
        // The plain "%s" form: the text goes out as it is, at any length.
        if (!PutText(text, static_cast<int>(std::strlen(text)))) {
            error_ = true;
        }
        return *this;
    }
    char format[kFormatTextSize];
    BuildFormat(format, false, false, "", 's');
    return WriteFormatted(format, text);
}

Stream& Stream::operator<<(const String& text) { return *this << text.CStr(); }

Stream& Stream::operator<<(long double value) { return WriteFloating("L", value); }
Stream& Stream::operator<<(double value) { return WriteFloating("", value); }
Stream& Stream::operator<<(float value) { return WriteFloating("", value); }
Stream& Stream::operator<<(long value) { return WriteInteger(32, true, static_cast<int32_t>(value)); }
Stream& Stream::operator<<(unsigned long value) { return WriteInteger(32, false, static_cast<uint32_t>(value)); }
Stream& Stream::operator<<(short value) { return WriteInteger(16, true, value); }
Stream& Stream::operator<<(unsigned short value) { return WriteInteger(16, false, value); }
Stream& Stream::operator<<(int value) { return WriteInteger(32, true, value); }
Stream& Stream::operator<<(unsigned int value) { return WriteInteger(32, false, value); }
Stream& Stream::operator<<(char value) { return WriteChar(value); }
Stream& Stream::operator<<(unsigned char value) { return WriteChar(static_cast<char>(value)); }
Stream& Stream::operator<<(signed char value) { return WriteChar(static_cast<char>(value)); }

Stream& Stream::operator<<(bool value) {
    if (format_.booleanWords) {
        return *this << (value ? "true" : "false");
    }
    return WriteInteger(32, false, value ? 1 : 0);
}

Stream& Stream::Endl(Stream& stream) {
    stream << '\n';
    return stream.Flush();
}

namespace {

// Reads one value, skipping one character at a time whatever cannot start it (such as
// the "<" and "," of the vector text forms).
template <typename T>
Stream& ReadSkipping(Stream& stream, T& value) {
    if (!stream.IsGood()) {
        return stream;
    }
    stream >> value;
    while (!stream.IsGood() && !stream.AtEnd()) {
        stream.ClearError();
        char skipped = 0;
        stream.ReadChar(skipped);
        stream >> value;
    }
    return stream;
}

}  // namespace

Stream& Stream::ReadFloatSkipping(Stream& stream, float& value) { return ReadSkipping(stream, value); }

Stream& Stream::ReadByteSkipping(Stream& stream, unsigned char& value) { return ReadSkipping(stream, value); }
