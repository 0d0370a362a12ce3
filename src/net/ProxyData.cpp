#include "net/ProxyData.h"

#include <cstdlib>

#include "platform/net/SystemProxy.h"

namespace {

// A decimal port of 1..65535 and nothing else, or -1.
int32_t ParsePort(const std::string& text) {
    if (text.empty() || text.size() > 5) return -1;
    int32_t port = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return -1;
        port = port * 10 + (c - '0');
    }
    return port >= 1 && port <= 65535 ? port : -1;
}

}  // namespace

void ProxyData::Set(const std::string& text) {
    TurnOff();
    if (text.empty()) return;
    const size_t colon = text.find(':');
    const std::string host = text.substr(0, colon);
    const int32_t port = colon == std::string::npos ? defaultPort_ : ParsePort(text.substr(colon + 1));
    if (host.empty() || port < 0) return;
    host_ = host;
    port_ = port;
    enabled_ = true;
}

void ProxyData::TurnOff() {
    enabled_ = false;
    host_.clear();
    port_ = -1;
}

void ProxyData::ApplyServerText(const std::string& text, SocksProxyData& socks, HTTPProxyData& http) {
    if (text.find('=') == std::string::npos && text.find(';') == std::string::npos) {
        const std::string scheme = "http://";
        http.Set(text.compare(0, scheme.size(), scheme) == 0 ? text.substr(scheme.size()) : text);
        return;
    }
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(';', start);
        if (end == std::string::npos) end = text.size();
        const std::string piece = text.substr(start, end - start);
        if (piece.compare(0, 5, "http=") == 0)
            http.Set(piece.substr(5));
        else if (piece.compare(0, 6, "socks=") == 0)
            socks.Set(piece.substr(6));
        start = end + 1;
    }
}

void ProxyData::ReadSystemProxy(const std::string& optionsProxyServer, SocksProxyData& socks, HTTPProxyData& http) {
    const std::string text = optionsProxyServer.empty() ? sock::SystemProxyServer() : optionsProxyServer;
    if (!text.empty()) ApplyServerText(text, socks, http);
}
