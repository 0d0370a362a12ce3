#include "platform/net/Socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/net/NetLimits.h"

namespace sock {
namespace {

// Errors that mean "nothing now" rather than a broken connection.
bool IsTransient(int error) { return error == EAGAIN || error == EWOULDBLOCK || error == EINTR; }

sockaddr_in ToSockaddr(const Ipv4Address& address) {
    sockaddr_in raw{};
    raw.sin_family = AF_INET;
    raw.sin_addr.s_addr = address.ip;
    raw.sin_port = htons(address.port);
    return raw;
}

// Read size per receive call.
constexpr size_t kReadChunk = 64u * 1024u;

}  // namespace

Socket::~Socket() { Close(); }

bool Socket::Create() {
    Close();
    handle_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    nonBlocking_ = false;
    if (handle_ < 0) return false;
    // Dead peers are also noticed by our own silence limit; the system's probes help
    // where the game is idle.
    const int on = 1;
    ::setsockopt(handle_, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    ::setsockopt(handle_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return true;
}

bool Socket::SetNonBlocking(bool nonBlocking) {
    if (handle_ < 0) return false;
    const int flags = ::fcntl(handle_, F_GETFL, 0);
    if (flags < 0) return false;
    const int wanted = nonBlocking ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
    if (::fcntl(handle_, F_SETFL, wanted) < 0) return false;
    nonBlocking_ = nonBlocking;
    return true;
}

ConnectStatus Socket::Connect(const Ipv4Address& address) {
    if (handle_ < 0) return ConnectStatus::Failed;
    const sockaddr_in raw = ToSockaddr(address);
    if (::connect(handle_, reinterpret_cast<const sockaddr*>(&raw), sizeof raw) == 0) return ConnectStatus::Connected;
    if (errno == EINPROGRESS || errno == EALREADY || errno == EWOULDBLOCK || errno == EINTR) {
        return ConnectStatus::InProgress;
    }
    return ConnectStatus::Failed;
}

int Socket::ConnectError() const {
    if (handle_ < 0) return EBADF;
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(handle_, SOL_SOCKET, SO_ERROR, &error, &size) != 0) return errno;
    return error;
}

bool Socket::Wait(Readiness readiness, int timeoutMs) const {
    if (handle_ < 0) return false;
    pollfd entry{handle_, static_cast<short>(readiness == Readiness::Readable ? POLLIN : POLLOUT), 0};
    for (;;) {
        const int ready = ::poll(&entry, 1, timeoutMs);
        if (ready < 0 && errno == EINTR) continue;
        // An error or hang-up counts as ready: the next call reports what happened.
        return ready > 0;
    }
}

bool Socket::Listen(uint16_t port, int backlog) {
    listenError_ = 0;
    if (handle_ < 0 && !Create()) {
        listenError_ = errno;
        return false;
    }
    const int on = 1;
    ::setsockopt(handle_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    const sockaddr_in raw = ToSockaddr({htonl(INADDR_ANY), port});
    if (::bind(handle_, reinterpret_cast<const sockaddr*>(&raw), sizeof raw) != 0 || ::listen(handle_, backlog) != 0) {
        listenError_ = errno;
        Close();
        return false;
    }
    return true;
}

std::unique_ptr<Socket> Socket::Accept(Ipv4Address& peer) {
    if (handle_ < 0) return nullptr;
    sockaddr_storage raw{};
    socklen_t size = sizeof raw;
    const int accepted = ::accept4(handle_, reinterpret_cast<sockaddr*>(&raw), &size, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (accepted < 0) return nullptr;
    auto socket = std::make_unique<Socket>(accepted);
    if (raw.ss_family != AF_INET) return nullptr;  // closed by the destructor
    socket->nonBlocking_ = true;
    const auto* inet = reinterpret_cast<const sockaddr_in*>(&raw);
    peer.ip = inet->sin_addr.s_addr;
    peer.port = ntohs(inet->sin_port);
    const int on = 1;
    ::setsockopt(accepted, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    ::setsockopt(accepted, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return socket;
}

uint16_t Socket::LocalPort() const {
    sockaddr_in raw{};
    socklen_t size = sizeof raw;
    if (handle_ < 0 || ::getsockname(handle_, reinterpret_cast<sockaddr*>(&raw), &size) != 0) return 0;
    return ntohs(raw.sin_port);
}

void Socket::ShutdownSend() {
    if (handle_ >= 0) ::shutdown(handle_, SHUT_WR);
}

void Socket::ShutdownBoth() {
    if (handle_ >= 0) ::shutdown(handle_, SHUT_RDWR);
}

bool Socket::Close() {
    std::vector<uint8_t>().swap(output_);
    outputStart_ = 0;
    input_.Clear();
    if (handle_ < 0) return false;
    const bool closed = ::close(handle_) == 0;
    handle_ = -1;
    return closed;
}

IoStatus Socket::SendSome(const void* data, size_t count, size_t& moved) {
    moved = 0;
    if (handle_ < 0) return IoStatus::Failed;
    if (count == 0) return IoStatus::Done;
    const ssize_t sent = ::send(handle_, data, count, MSG_NOSIGNAL);
    if (sent < 0) return IsTransient(errno) ? IoStatus::WouldBlock : IoStatus::Failed;
    moved = static_cast<size_t>(sent);
    return IoStatus::Done;
}

IoStatus Socket::ReceiveSome(void* data, size_t count, size_t& moved) {
    moved = 0;
    if (handle_ < 0 || count == 0) return IoStatus::Failed;
    const ssize_t got = ::recv(handle_, data, count, 0);
    if (got < 0) return IsTransient(errno) ? IoStatus::WouldBlock : IoStatus::Failed;
    if (got == 0) return IoStatus::Closed;
    moved = static_cast<size_t>(got);
    return IoStatus::Done;
}

bool Socket::QueueFrame(const uint8_t* payload, size_t length) {
    if (length > kMaxFrameBytes) return false;
    if (outputStart_ > 0 && outputStart_ >= PendingOutput()) {
        output_.erase(output_.begin(), output_.begin() + static_cast<std::ptrdiff_t>(outputStart_));
        outputStart_ = 0;
    }
    uint8_t header[4];
    PutFrameLength(header, static_cast<uint32_t>(length));
    output_.insert(output_.end(), header, header + 4);
    output_.insert(output_.end(), payload, payload + length);
    return true;
}

IoStatus Socket::FlushOutput() {
    while (PendingOutput() > 0) {
        size_t sent = 0;
        const IoStatus status = SendSome(output_.data() + outputStart_, PendingOutput(), sent);
        if (status != IoStatus::Done) return status;
        outputStart_ += sent;
    }
    if (output_.capacity() > kKeptBufferBytes)
        std::vector<uint8_t>().swap(output_);
    else
        output_.clear();
    outputStart_ = 0;
    return IoStatus::Done;
}

IoStatus Socket::ReceiveAvailable(size_t maxBytes, size_t& received) {
    received = 0;
    while (received < maxBytes) {
        const size_t want = std::min(kReadChunk, maxBytes - received);
        uint8_t* area = input_.Reserve(want);
        size_t got = 0;
        const IoStatus status = ReceiveSome(area, want, got);
        input_.Commit(got);
        received += got;
        if (status != IoStatus::Done) return status;
        if (got < want) break;
    }
    return IoStatus::Done;
}

}  // namespace sock
