#pragma once
// Where the system keeps its proxy settings and the user's name, for the lobby's HTTP
// client. The proxy comes from the environment: http_proxy (or HTTP_PROXY) gives
// "http=host:port"; otherwise socks_proxy (or all_proxy) with a socks4 scheme gives
// "socks=host:port"; otherwise the text is empty (no proxy).
#include <string>

namespace sock {

std::string SystemProxyServer();

// The current user's login name, for the SOCKS request; empty when unknown.
std::string CurrentUserName();

}  // namespace sock
