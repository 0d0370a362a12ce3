#pragma once
// Buffered reads and writes of the HTTP client over one socket, which it does not own.
// Every send and receive first waits for the socket at most the time-out, so a silent
// server or proxy ends the exchange instead of freezing the game.
#include <cstddef>
#include <cstdint>
#include <string>

namespace sock {
class Socket;
}

class NetIOStream {
public:
    static constexpr size_t kBufferSize = 8192;

    explicit NetIOStream(sock::Socket* socket) : socket_(socket) {}
    virtual ~NetIOStream() = default;

    void SetTimeout(int seconds) { timeoutSeconds_ = seconds; }
    // A wait ran out, or the connection failed: the exchange did not complete.
    bool Failed() const { return failed_; }

    // Sends in pieces of at most 1024 bytes; the count sent, or -1 on a failure.
    virtual int64_t Write(const char* bytes, size_t count);
    // Refills the buffer from its start: the count received, or -1 when the stream
    // ended (or failed).
    virtual int Fill();

    // Copies up to and including a line feed, at most maxChars bytes; -1 when the stream
    // ends before the first byte.
    int ReadLine(std::string& line, size_t maxChars);
    // Copies at most `size` buffered bytes, filling the buffer first when it is empty;
    // -1 when that fails.
    int Read(char* bytes, size_t size);

protected:
    // For streams that serve their own bytes (tests, fuzzing): their Fill copies into
    // Buffer() and then calls Filled with the count (or -1 at the end).
    char* Buffer() { return buffer_; }
    int Filled(int count);
    void MarkFailed() { failed_ = true; }

private:
    sock::Socket* socket_;
    int count_ = 0;
    int position_ = 0;
    char buffer_[kBufferSize] = {};
    int timeoutSeconds_ = 60;
    bool failed_ = false;

    bool WaitFor(bool writable);
    bool HasBuffered() const { return position_ < count_; }
};
