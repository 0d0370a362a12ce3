// Reading bytes held in memory.
#include "core/MemoryReadStream.h"

#include <cstdio>
#include <cstring>

#include "platform/sys/Paths.h"

MemoryReadStream MemoryReadStream::FromFile(std::string_view path) {
    std::FILE* file = std::fopen(sys::ResolvePath(path).c_str(), "rb");
    if (file == nullptr) return MemoryReadStream();
    std::string bytes;
    char buffer[65536];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return MemoryReadStream();
    return MemoryReadStream(std::move(bytes));
}

Stream& MemoryReadStream::Close() {
    open_ = false;
    bytes_.clear();
    position_ = 0;
    return *this;
}

Stream& MemoryReadStream::ClearError() {
    error_ = false;
    return *this;
}

Stream& MemoryReadStream::Seek(int32_t offset, int origin) {
    const long long base = origin == 0 ? 0 : origin == 1 ? (long long)position_ : (long long)bytes_.size();
    const long long target = base + offset;
    if (target < 0 || target > (long long)bytes_.size()) {
        error_ = true;
        return *this;
    }
    position_ = size_t(target);
    return *this;
}

Stream& MemoryReadStream::Read(void* buffer, int count) {
    if (count <= 0) return *this;
    const size_t left = bytes_.size() - position_;
    const size_t moved = size_t(count) < left ? size_t(count) : left;
    std::memcpy(buffer, bytes_.data() + position_, moved);
    position_ += moved;
    if (moved < size_t(count) || !open_) error_ = true;
    return *this;
}

Stream& MemoryReadStream::Write(const void*, int) {
    error_ = true;
    return *this;
}

int MemoryReadStream::PeekChar() {
    if (AtEnd()) {
        error_ = true;
        return -1;
    }
    return static_cast<unsigned char>(bytes_[position_]);
}

Stream& MemoryReadStream::ReadChar(char& c) {
    const int next = GetChar();
    c = next < 0 ? char(255) : char(next);
    return *this;
}

int MemoryReadStream::GetChar() {
    const int next = PeekChar();
    if (next >= 0) ++position_;
    return next;
}

Stream& MemoryReadStream::ReadLine(char* buffer, int size) {
    lineCut_ = false;
    if (size <= 0) return *this;
    int n = 0;
    while (!AtEnd() && bytes_[position_] != '\n') {
        if (n == size - 1) {
            lineCut_ = true;
            break;
        }
        buffer[n++] = bytes_[position_++];
    }
    if (!lineCut_ && !AtEnd()) ++position_;
    if (n > 0 && buffer[n - 1] == '\r') --n;
    buffer[n] = '\0';
    return *this;
}
