#pragma once
// One proxy of the HTTP client: on or off, its host and port. The SOCKS and HTTP proxies
// differ only in their default ports.
#include <cstdint>
#include <string>

class SocksProxyData;
class HTTPProxyData;

class ProxyData {
public:
    // Sets both proxies from a proxy-server text: "host:port" (an optional "http://"
    // before it) for the HTTP proxy, or pieces split at ';' where "http=" and "socks="
    // name each.
    static void ApplyServerText(const std::string& text, SocksProxyData& socks, HTTPProxyData& http);
    // The proxies the user chose: the options' proxy-server text when it is not empty,
    // otherwise the system's (the environment).
    static void ReadSystemProxy(const std::string& optionsProxyServer, SocksProxyData& socks, HTTPProxyData& http);

    explicit ProxyData(int32_t defaultPort) : defaultPort_(defaultPort) {}
    virtual ~ProxyData() = default;

    // "host" or "host:port"; empty turns the proxy off, and so does a port that is not a
    // number in 1..65535.
    virtual void Set(const std::string& text);
    void TurnOff();

    bool Enabled() const { return enabled_; }
    const std::string& Host() const { return host_; }
    int32_t Port() const { return port_; }

private:
    bool enabled_ = false;
    std::string host_;
    int32_t port_ = -1;
    int32_t defaultPort_;
};

class SocksProxyData : public ProxyData {
public:
    SocksProxyData() : ProxyData(1080) {}
};

class HTTPProxyData : public ProxyData {
public:
    HTTPProxyData() : ProxyData(80) {}
};
