#pragma once
// IPv4 endpoints and name lookup. The address is kept as the system stores it (network
// byte order in memory); the port is kept in host order.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
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

// A name's IPv4 address, looked up on a worker thread so that the caller's frames go on
// meanwhile. A dotted address needs no lookup and is done at once. Destroying the lookup
// before it is done abandons it: the worker finishes on its own, keeping only what it
// shares with this object, and its answer is dropped.
class Ipv4Lookup {
public:
    using Resolver = std::function<std::optional<uint32_t>(const std::string&)>;

    explicit Ipv4Lookup(const std::string& host, Resolver resolver = ResolveIpv4);
    ~Ipv4Lookup() = default;
    Ipv4Lookup(const Ipv4Lookup&) = delete;
    Ipv4Lookup& operator=(const Ipv4Lookup&) = delete;

    bool Done() const { return shared_->done.load(std::memory_order_acquire); }
    // The address found; empty while not done, and when the name has no IPv4 address.
    std::optional<uint32_t> Result() const;

private:
    struct Shared {
        std::atomic<bool> done{false};
        std::optional<uint32_t> ip;
    };
    std::shared_ptr<Shared> shared_;
};

// The four bytes in memory order as decimals joined by the separator, then the port:
// after ":" when the separator is ".", else after the separator itself.
std::string FormatAddress(uint32_t ip, uint16_t port, char separator);
// "a.b.c.d" alone.
std::string FormatDotted(uint32_t ip);

}  // namespace sock
