#include "platform/net/SystemProxy.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

namespace sock {
namespace {

std::string Environment(const char* lower, const char* upper) {
    if (const char* value = std::getenv(lower); value != nullptr && *value != '\0') return value;
    if (const char* value = std::getenv(upper); value != nullptr && *value != '\0') return value;
    return {};
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        const char c = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
        if (c != prefix[i]) return false;
    }
    return true;
}

// "scheme://user@host:port/path" -> "host:port".
std::string HostAndPort(std::string_view url) {
    if (const size_t scheme = url.find("://"); scheme != std::string_view::npos) url.remove_prefix(scheme + 3);
    if (const size_t path = url.find('/'); path != std::string_view::npos) url = url.substr(0, path);
    if (const size_t user = url.rfind('@'); user != std::string_view::npos) url.remove_prefix(user + 1);
    return std::string(url);
}

}  // namespace

std::string SystemProxyServer() {
    if (const std::string http = Environment("http_proxy", "HTTP_PROXY"); !http.empty()) {
        const std::string host = HostAndPort(http);
        if (!host.empty()) return "http=" + host;
    }
    for (const char* name : {"socks_proxy", "all_proxy"}) {
        const std::string value =
            Environment(name, name == std::string_view("socks_proxy") ? "SOCKS_PROXY" : "ALL_PROXY");
        if (!StartsWithNoCase(value, "socks4://")) continue;
        const std::string host = HostAndPort(value);
        if (!host.empty()) return "socks=" + host;
    }
    return {};
}

std::string CurrentUserName() {
    passwd entry{};
    passwd* found = nullptr;
    char buffer[1024];
    if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr && found->pw_name) {
        return found->pw_name;
    }
    if (const char* user = std::getenv("USER")) return user;
    return {};
}

}  // namespace sock
