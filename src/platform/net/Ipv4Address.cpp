#include "platform/net/Ipv4Address.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstring>
#include <system_error>
#include <thread>

namespace sock {

uint32_t LoopbackIp() { return htonl(INADDR_LOOPBACK); }

std::optional<uint32_t> ParseDottedIpv4(std::string_view text) {
    uint8_t bytes[4] = {};
    size_t pos = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (pos >= text.size() || text[pos] != '.') return std::nullopt;
            ++pos;
        }
        int value = 0;
        size_t digits = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < 3) {
            value = value * 10 + (text[pos] - '0');
            ++pos;
            ++digits;
        }
        if (digits == 0 || value > 255) return std::nullopt;
        bytes[part] = static_cast<uint8_t>(value);
    }
    if (pos != text.size()) return std::nullopt;
    uint32_t ip = 0;
    std::memcpy(&ip, bytes, sizeof ip);
    return ip;
}

std::optional<uint32_t> ResolveIpv4(const std::string& host) {
    if (auto dotted = ParseDottedIpv4(host)) return dotted;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* answer = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &answer) != 0 || answer == nullptr) return std::nullopt;
    std::optional<uint32_t> ip;
    for (addrinfo* entry = answer; entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_family != AF_INET || entry->ai_addr == nullptr) continue;
        ip = reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr.s_addr;
        break;
    }
    freeaddrinfo(answer);
    return ip;
}

Ipv4Lookup::Ipv4Lookup(const std::string& host, Resolver resolver) : shared_(std::make_shared<Shared>()) {
    if (auto dotted = ParseDottedIpv4(host)) {
        shared_->ip = dotted;
        shared_->done.store(true, std::memory_order_release);
        return;
    }
    auto work = [shared = shared_, host, resolver = std::move(resolver)] {
        shared->ip = resolver(host);
        shared->done.store(true, std::memory_order_release);
    };
    try {
        std::thread(work).detach();
    } catch (const std::system_error&) {
        work();  // no thread to be had: the lookup waits here instead
    }
}

std::optional<uint32_t> Ipv4Lookup::Result() const {
    if (!Done()) return std::nullopt;
    return shared_->ip;
}

std::string FormatDotted(uint32_t ip) {
    uint8_t bytes[4];
    std::memcpy(bytes, &ip, sizeof bytes);
    std::string text;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) text += '.';
        text += std::to_string(bytes[i]);
    }
    return text;
}

std::string FormatAddress(uint32_t ip, uint16_t port, char separator) {
    uint8_t bytes[4];
    std::memcpy(bytes, &ip, sizeof bytes);
    std::string text;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) text += separator;
        text += std::to_string(bytes[i]);
    }
    text += separator == '.' ? ':' : separator;
    text += std::to_string(port);
    return text;
}

}  // namespace sock
