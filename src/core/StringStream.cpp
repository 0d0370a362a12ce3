#include "core/StringStream.h"

#include <cerrno>
#include <cstring>

#include "core/String.h"

StringStream::StringStream()
    : text_(new char[kInitialCapacity]()), capacity_(kInitialCapacity), bufferSize_(kInitialCapacity) {}

StringStream::StringStream(const char* text) {
    const int length = static_cast<int>(std::strlen(text));
    int capacity = kInitialCapacity;
    while (length + 1 + kFreeMargin >= capacity) {
        capacity += kGrowStep;
    }
    text_ = new char[capacity];
    std::memcpy(text_, text, static_cast<size_t>(length) + 1);
    capacity_ = capacity;
    bufferSize_ = capacity;
    length_ = length;
}

StringStream::StringStream(char* buffer, int size, int mode) {
    if (buffer == nullptr || size < 1) {
        return;
    }
    text_ = buffer;
    bufferSize_ = size;
    text_[size - 1] = '\0';
    length_ = static_cast<int>(std::strlen(text_));
    position_ = mode == kAppend ? length_ : 0;
}

StringStream::~StringStream() { StringStream::Close(); }

Stream& StringStream::Close() {
    if (capacity_ > 0) {
        delete[] text_;
    }
    if (capacity_ > 0 || text_ != nullptr) {
        text_ = nullptr;
        capacity_ = 0;
        bufferSize_ = 0;
        position_ = 0;
        length_ = 0;
    }
    return *this;
}

bool StringStream::AtEnd() { return position_ >= length_; }

bool StringStream::IsGood() { return text_ != nullptr && !AtEnd() && !error_; }

Stream& StringStream::ClearError() {
    error_ = false;
    return *this;
}

Stream& StringStream::Flush() { return *this; }

Stream& StringStream::Seek(int32_t offset, int origin) {
    long long position = offset;
    if (origin == 1) {
        position += position_;
    } else if (origin == 2) {
        position += length_;
    }
    if (position < 0 || position > length_) {
        error_ = true;
        position = position < 0 ? 0 : length_;
    }
    position_ = static_cast<int32_t>(position);
    return *this;
}

Stream& StringStream::Read(void* buffer, int count) {
    const int available = length_ - position_;
    const int taken = count < available ? count : available;
    if (taken > 0) {
        std::memcpy(buffer, text_ + position_, static_cast<size_t>(taken));
        position_ += taken;
    }
    if (taken < count) {
        error_ = true;
    }
    return *this;
}

void StringStream::Grow(int capacity) {
    char* text = new char[capacity];
    std::memcpy(text, text_, static_cast<size_t>(length_) + 1);
    delete[] text_;
    text_ = text;
    capacity_ = capacity;
    bufferSize_ = capacity;
}

int StringStream::Room(int count) {
    if (text_ == nullptr || count <= 0) {
        return 0;
    }
    if (capacity_ > 0) {
        // An owned buffer keeps a free margin after every item, however long.
        int capacity = capacity_;
        while (position_ + count + 1 + kFreeMargin >= capacity) {
            capacity += kGrowStep;
        }
        if (capacity != capacity_) {
            Grow(capacity);
        }
        return count;
    }
    const int left = bufferSize_ - 1 - position_;
    return count < left ? count : left;
}

bool StringStream::PutText(const char* text, int length) {
    const int room = Room(length);
    if (room > 0) {
        std::memmove(text_ + position_, text, static_cast<size_t>(room));
        position_ += room;
        Terminate();
    }
    return room == length;
}

Stream& StringStream::Write(const void* buffer, int count) {
    const int room = Room(count);
    if (room > 0) {
        std::memmove(text_ + position_, buffer, static_cast<size_t>(room));
        // A zero byte among the data ends the text there.
        const void* zero = std::memchr(text_ + position_, 0, static_cast<size_t>(room));
        position_ += room;
        text_[position_] = '\0';
        length_ = zero != nullptr ? static_cast<int>(static_cast<const char*>(zero) - text_) : position_;
    }
    if (room < count) {
        error_ = true;
    }
    return *this;
}

void StringStream::Terminate() {
    if (text_ != nullptr) {
        text_[position_] = '\0';
        length_ = position_;
    }
}

int StringStream::PeekChar() {
    if (text_ == nullptr || AtEnd()) {
        return -1;
    }
    return static_cast<unsigned char>(text_[position_]);
}

int StringStream::GetChar() {
    const int c = PeekChar();
    if (c >= 0) {
        ++position_;
    }
    return c;
}

Stream& StringStream::ReadChar(char& c) {
    const int read = GetChar();
    if (read < 0) {
        error_ = true;
    }
    c = static_cast<char>(read);
    return *this;
}

Stream& StringStream::ReadLine(char* buffer, int size) {
    lineCut_ = false;
    if (size < 1) {
        return *this;
    }
    buffer[0] = '\0';
    if (!IsGood()) {
        return *this;
    }
    int stored = 0;
    while (!AtEnd()) {
        const char c = text_[position_];
        if (c == '\n') {
            ++position_;
            break;
        }
        if (c == '\r' && (position_ + 1 == length_ || text_[position_ + 1] == '\n')) {
            position_ += position_ + 1 == length_ ? 1 : 2;
            break;
        }
        if (stored == size - 1) {
            lineCut_ = true;
            break;
        }
        buffer[stored++] = c;
        ++position_;
    }
    buffer[stored] = '\0';
    return *this;
}

template <typename T, typename Parse>
bool StringStream::Scan(T& value, Parse parse) {
    if (text_ == nullptr || AtEnd()) {
        return false;
    }
    const char* start = text_ + position_;
    char* end = nullptr;
    const T read = parse(start, &end);
    if (end == start) {
        return false;
    }
    value = read;
    position_ += static_cast<int32_t>(end - start);
    return true;
}

// A number beyond 64 bits reads as unreadable rather than as the clamped extreme.
bool StringStream::ScanSigned(int base, long long& value) {
    errno = 0;
    const int32_t start = position_;
    long long read = 0;
    const bool converted = Scan(read, [base](const char* text, char** end) { return TextToInt64(text, end, base); });
    if (converted && errno != ERANGE) {
        value = read;
        return true;
    }
    position_ = start;
    return false;
}

bool StringStream::ScanUnsigned(int base, unsigned long long& value) {
    errno = 0;
    const int32_t start = position_;
    unsigned long long read = 0;
    const bool converted = Scan(read, [base](const char* text, char** end) { return TextToUInt64(text, end, base); });
    if (converted && errno != ERANGE) {
        value = read;
        return true;
    }
    position_ = start;
    return false;
}

bool StringStream::ScanFloat(float& value) { return Scan(value, TextToFloat); }

bool StringStream::ScanDouble(double& value) { return Scan(value, TextToDouble); }

bool StringStream::ScanLongDouble(long double& value) { return Scan(value, TextToLongDouble); }
