#include "net/Webfetch.h"

#include <cctype>
#include <cstdio>

#include "net/HTTP_Handler.h"
#include "platform/net/NetLimits.h"

namespace {

// Redirects followed one after another before the chain is given up.
constexpr int kMaxRedirects = 5;

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i]))) {
            return false;
        }
    }
    return true;
}

// Blanks and control bytes would end the request line or start new header lines.
bool IsSafeInRequest(const std::string& text) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte == 0x7F) return false;
    }
    return true;
}

}  // namespace

Webfetch::Webfetch(const std::string& optionsProxyServer) : maxBody_(sock::kMaxLobbyReplyBytes) {
    ProxyData::ReadSystemProxy(optionsProxyServer, socks_, http_);
}

void Webfetch::HeaderLine(Protocol_Handler& handler, const std::string& line) {
    if (headerCallback_) headerCallback_(line);
    handler.ParseHeaderLine(line);
}

void Webfetch::Open(int method, const std::string& url, const PostBody* body) {
    OpenWithin(method, url, body, kMaxRedirects);
}

void Webfetch::OpenWithin(int method, const std::string& url, const PostBody* body, int redirectsLeft) {
    result_ = 0;
    httpStatus_ = 0;
    const size_t colon = url.find(':');
    if (colon == std::string::npos) {
        std::fprintf(stderr, "Missing scheme (%s)\n", url.c_str());
        result_ = 2;
        return;
    }
    size_t start = colon + 1;
    while (start < url.size() && url[start] == '/') ++start;
    const size_t slash = url.find('/', start);
    std::string host = url.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    const std::string path = slash == std::string::npos ? "/" : url.substr(slash);
    int32_t port = 0;
    if (const size_t portColon = host.find(':'); portColon != std::string::npos) {
        port = -1;
        const std::string digits = host.substr(portColon + 1);
        if (!digits.empty() && digits.size() <= 5 && digits.find_first_not_of("0123456789") == std::string::npos) {
            port = std::stoi(digits);
        }
        host.resize(portColon);
    }
    if (!StartsWithNoCase(url, "http:")) {
        std::fprintf(stderr, "Unsupported scheme %s\n", url.substr(0, colon).c_str());
        result_ = 2;
        return;
    }
    if (host.empty() || port < 0 || port > 65535 || !IsSafeInRequest(host) || !IsSafeInRequest(path)) {
        std::fprintf(stderr, "Bad address (%s)\n", url.c_str());
        result_ = 2;
        return;
    }
    HTTP_Handler handler(*this, host, port);
    if (const int connected = handler.Connect(texts_.connectHost.empty() ? host : texts_.connectHost)) {
        result_ = connected;
        return;
    }
    if (handler.OpenStream() != 0) {
        result_ = 99;
        return;
    }
    handler.Perform(method, path, body);
    httpStatus_ = handler.Status();
    if (!handler.Completed()) result_ = 99;
    if (handler.Location().empty() || !followRedirects_) return;
    if (redirectsLeft == 0) {
        std::fprintf(stderr, "Too many redirects\n");
        return;
    }
    OpenWithin(static_cast<int>(HttpMethod::Get), handler.Location(), nullptr, redirectsLeft - 1);
}
