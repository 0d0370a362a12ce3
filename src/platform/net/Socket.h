#pragma once
// One TCP socket over IPv4, and the framed byte stream on it: frames to send are kept in
// an output buffer and leave it only as the system accepts their bytes; received bytes
// are cut into frames by a FrameReader.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/net/FrameReader.h"
#include "platform/net/Ipv4Address.h"

namespace sock {

enum class IoStatus {
    Done,        // bytes moved (or nothing was left to move)
    WouldBlock,  // nothing now; try again when poll says so
    Closed,      // the peer ended the stream in order
    Failed,      // any other error: the connection is gone
};

enum class ConnectStatus { Connected, InProgress, Failed };

// Readiness a caller waits for.
enum class Readiness { Readable, Writable };

class Socket {
public:
    Socket() = default;
    // Takes over an open handle (an accepted connection).
    explicit Socket(int handle) : handle_(handle) {}
    virtual ~Socket();
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    // A new IPv4 stream socket (closed on exec); an open handle is closed first.
    bool Create();
    bool IsOpen() const { return handle_ >= 0; }
    int Handle() const { return handle_; }
    bool SetNonBlocking(bool nonBlocking);
    bool IsNonBlocking() const { return nonBlocking_; }

    // Starts a connect; on a non-blocking socket it usually is InProgress, and completes
    // when the socket turns writable: ConnectError then tells how it ended.
    ConnectStatus Connect(const Ipv4Address& address);
    // The pending error of the socket (0 when a connect succeeded).
    int ConnectError() const;
    // Waits until the socket is ready or the time passes; false on time-out or error.
    bool Wait(Readiness readiness, int timeoutMs) const;

    // Binds every local address on the port (0: any free port) with address reuse and
    // listens. On failure the handle is closed and ListenError tells why (an errno).
    bool Listen(uint16_t port, int backlog);
    int ListenError() const { return listenError_; }
    // The next pending connection, non-blocking and closed on exec; null when none.
    std::unique_ptr<Socket> Accept(Ipv4Address& peer);
    // The locally bound port (host order), 0 when unknown.
    uint16_t LocalPort() const;

    void ShutdownSend();
    void ShutdownBoth();
    // Closes the handle and forgets buffered bytes in both directions.
    bool Close();

    // One send or receive call; `moved` is the count of bytes that went. Sends never
    // raise SIGPIPE; receives are never asked for zero bytes.
    IoStatus SendSome(const void* data, size_t count, size_t& moved);
    IoStatus ReceiveSome(void* data, size_t count, size_t& moved);

    // Appends one whole frame to the output. False (nothing taken) when the payload is
    // over the frame limit.
    bool QueueFrame(const uint8_t* payload, size_t length);
    // Writes as much of the output as the system takes now.
    IoStatus FlushOutput();
    size_t PendingOutput() const { return output_.size() - outputStart_; }
    // Bytes the socket's buffers hold room for, in both directions.
    size_t BufferCapacity() const { return output_.capacity() + input_.Capacity(); }

    // Reads what has arrived, up to `maxBytes`, into the frame reader. `received` says
    // how many bytes came; Closed or Failed end the connection (frames already read stay
    // available).
    IoStatus ReceiveAvailable(size_t maxBytes, size_t& received);
    FrameStatus NextFrame(std::vector<uint8_t>& payload) { return input_.Next(payload); }
    // Received bytes not yet taken as a frame.
    size_t HeldInput() const { return input_.Held(); }

private:
    int handle_ = -1;
    bool nonBlocking_ = false;
    int listenError_ = 0;
    std::vector<uint8_t> output_;
    size_t outputStart_ = 0;  // bytes of output_ already handed to the system
    FrameReader input_;
};

}  // namespace sock
