#include "net/Protocol_Handler.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "net/Webfetch.h"
#include "platform/net/NetLimits.h"
#include "platform/net/SystemProxy.h"

namespace {

constexpr size_t kMaxSocksUserId = 512;
constexpr uint8_t kSocksGranted = 90;

// A host and port to connect to: 0, or 3 (name too long) or 1 (no address).
int Resolve(const std::string& host, int32_t port, sock::Ipv4Address& address) {
    if (host.size() > sock::kMaxHostNameChars) {
        std::fprintf(stderr, "host name too long.\n");
        return 3;
    }
    const auto ip = sock::ResolveIpv4(host);
    if (!ip) {
        std::fprintf(stderr, "Unable to determine IP address for '%.100s'\n", host.c_str());
        return 1;
    }
    address = {*ip, static_cast<uint16_t>(port)};
    return 0;
}

bool SendAll(sock::Socket& socket, const uint8_t* bytes, size_t count, int timeoutMs) {
    size_t sent = 0;
    while (sent < count) {
        if (!socket.Wait(sock::Readiness::Writable, timeoutMs)) return false;
        size_t moved = 0;
        const sock::IoStatus status = socket.SendSome(bytes + sent, count - sent, moved);
        if (status == sock::IoStatus::Failed || status == sock::IoStatus::Closed) return false;
        sent += moved;
    }
    return true;
}

}  // namespace

Protocol_Handler::Protocol_Handler(Webfetch& owner, const std::string& host, int32_t port)
    : owner_(owner), host_(host), port_(port < 1 ? 80 : port) {}

Protocol_Handler::~Protocol_Handler() = default;

int Protocol_Handler::ChooseAddress(sock::Ipv4Address& target, sock::Ipv4Address& connectTo) {
    SocksProxyData& socks = owner_.Socks();
    HTTPProxyData& http = owner_.Http();
    if (!socks.Host().empty()) {
        if (const int result = Resolve(host_, port_, target)) return result;
        if (Resolve(socks.Host(), socks.Port(), connectTo) != 0) {
            socks.TurnOff();
            return 4;
        }
    }
    if (socks.Enabled()) return 0;
    if (!http.Host().empty() && Resolve(http.Host(), http.Port(), connectTo) != 0) {
        http.TurnOff();
        return 5;
    }
    if (http.Enabled()) return 0;
    if (const int result = Resolve(host_, port_, target)) return result;
    connectTo = target;
    return 0;
}

int Protocol_Handler::Connect(const std::string& hostText) {
    const size_t colon = hostText.find(':');
    host_ = hostText.substr(0, colon);
    if (colon != std::string::npos)
        port_ = static_cast<int32_t>(std::clamp(std::strtol(hostText.c_str() + colon + 1, nullptr, 10), 0L, 65536L));
    if (port_ < 1 || port_ > 65535) return 2;
    sock::Ipv4Address target, connectTo;
    if (const int result = ChooseAddress(target, connectTo)) return result;
    if (!socket_.Create() || !socket_.SetNonBlocking(true)) {
        std::fprintf(stderr, "socket: %.100s\n", std::strerror(errno));
        return 99;
    }
    const int timeoutMs = owner_.Timeout() * 1000;
    sock::ConnectStatus status = socket_.Connect(connectTo);
    if (status == sock::ConnectStatus::InProgress) {
        const bool ready = socket_.Wait(sock::Readiness::Writable, timeoutMs) && socket_.ConnectError() == 0;
        status = ready ? sock::ConnectStatus::Connected : sock::ConnectStatus::Failed;
    }
    if (status != sock::ConnectStatus::Connected) {
        std::fprintf(stderr, "connect %.100s:%d: %.100s\n", sock::FormatDotted(connectTo.ip).c_str(), connectTo.port,
                     std::strerror(socket_.ConnectError() ? socket_.ConnectError() : ETIMEDOUT));
        socket_.Close();
        return 6;
    }
    if (owner_.Socks().Enabled() && SocksConnect(socket_, target, sock::CurrentUserName(), owner_.Timeout()) != 0) {
        socket_.Close();
        return 99;
    }
    return 0;
}

int Protocol_Handler::OpenStream() {
    if (!socket_.IsOpen()) return -1;
    stream_ = std::make_unique<NetIOStream>(&socket_);
    return 0;
}

int Protocol_Handler::SocksConnect(sock::Socket& socket, const sock::Ipv4Address& target, const std::string& userId,
                                   int timeoutSeconds) {
    std::vector<uint8_t> request = {4, 1, static_cast<uint8_t>(target.port >> 8), static_cast<uint8_t>(target.port)};
    const auto* ip = reinterpret_cast<const uint8_t*>(&target.ip);
    request.insert(request.end(), ip, ip + 4);
    const std::string user = userId.substr(0, kMaxSocksUserId);
    request.insert(request.end(), user.begin(), user.end());
    request.push_back(0);
    const int timeoutMs = timeoutSeconds * 1000;
    if (!SendAll(socket, request.data(), request.size(), timeoutMs)) return -300;

    uint8_t reply[8];
    size_t held = 0;
    while (held < sizeof reply) {
        if (!socket.Wait(sock::Readiness::Readable, timeoutMs)) return -300;
        size_t got = 0;
        const sock::IoStatus status = socket.ReceiveSome(reply + held, sizeof reply - held, got);
        if (status == sock::IoStatus::Failed) return -300;
        if (status == sock::IoStatus::Closed) {
            std::fprintf(stderr, "Error talking to socks proxy.\n");
            return -303;
        }
        held += got;
    }
    if (reply[0] != 0 || reply[1] != kSocksGranted) {
        std::fprintf(stderr, "Error talking to socks proxy.\n");
        return reply[0] != 0 ? -301 : -1000 - reply[1];
    }
    return 0;
}
