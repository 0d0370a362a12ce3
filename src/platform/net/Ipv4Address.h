#pragma once
// IPv4 endpoints and name lookup. The address is kept as the system stores it (network
// byte order in memory); the port is kept in host order.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sock {

struct Ipv4Address {
    uint32_t ip = 0;    // network byte order
    uint16_t port = 0;  // host byte order

    bool operator==(const Ipv4Address&) const = default;
};

// The loopback address, in the same order as Ipv4Address::ip.
uint32_t LoopbackIp();

// "a.b.c.d" with four decimal parts of 0..255 and nothing else; no lookup.
std::optional<uint32_t> ParseDottedIpv4(std::string_view text);

// A dotted address directly, else the first IPv4 answer of a name lookup (which blocks).
std::optional<uint32_t> ResolveIpv4(const std::string& host);

// The four bytes in memory order as decimals joined by the separator, then the port:
// after ":" when the separator is ".", else after the separator itself.
std::string FormatAddress(uint32_t ip, uint16_t port, char separator);
// "a.b.c.d" alone.
std::string FormatDotted(uint32_t ip);

}  // namespace sock
