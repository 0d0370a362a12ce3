#include "net/NetIOStream.h"

#include <algorithm>
#include <cstring>

#include "platform/net/Socket.h"

namespace {

constexpr size_t kWritePiece = 1024;
// Receives that return nothing before the stream counts as ended.
constexpr int kEmptyReceives = 3;

}  // namespace

bool NetIOStream::WaitFor(bool writable) {
    if (socket_->Wait(writable ? sock::Readiness::Writable : sock::Readiness::Readable, timeoutSeconds_ * 1000)) {
        return true;
    }
    failed_ = true;
    return false;
}

int64_t NetIOStream::Write(const char* bytes, size_t count) {
    size_t sent = 0;
    while (sent < count) {
        if (!WaitFor(true)) return -1;
        size_t moved = 0;
        const sock::IoStatus status = socket_->SendSome(bytes + sent, std::min(kWritePiece, count - sent), moved);
        if (status == sock::IoStatus::WouldBlock) continue;
        if (status != sock::IoStatus::Done) {
            failed_ = true;
            return -1;
        }
        sent += moved;
    }
    return static_cast<int64_t>(sent);
}

int NetIOStream::Filled(int count) {
    position_ = 0;
    count_ = std::max(count, 0);
    return count;
}

int NetIOStream::Fill() {
    for (int attempt = 0; attempt < kEmptyReceives; ++attempt) {
        if (!WaitFor(false)) return Filled(-1);
        size_t got = 0;
        const sock::IoStatus status = socket_->ReceiveSome(buffer_, kBufferSize, got);
        if (status == sock::IoStatus::Done) return Filled(static_cast<int>(got));
        if (status == sock::IoStatus::Closed) return Filled(-1);
        if (status == sock::IoStatus::Failed) {
            failed_ = true;
            return Filled(-1);
        }
    }
    return Filled(-1);
}

int NetIOStream::ReadLine(std::string& line, size_t maxChars) {
    line.clear();
    while (line.size() < maxChars) {
        if (!HasBuffered() && Fill() <= 0) return line.empty() ? -1 : static_cast<int>(line.size());
        const char c = buffer_[position_++];
        line += c;
        if (c == '\n') break;
    }
    return static_cast<int>(line.size());
}

int NetIOStream::Read(char* bytes, size_t size) {
    if (!HasBuffered() && Fill() < 0) return -1;
    const size_t count = std::min(size, static_cast<size_t>(count_ - position_));
    std::memcpy(bytes, buffer_ + position_, count);
    position_ += static_cast<int>(count);
    return static_cast<int>(count);
}
