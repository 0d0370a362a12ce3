#pragma once
// Cookies an HTTP exchange sends, and where the cookies a reply sets go.
#include <string>
#include <vector>

struct Cookie {
    std::string name;
    std::string value;
    std::string domain;  // a host, "*" for every host, or ".suffix" for its sub-hosts
};

class CookieJar {
public:
    virtual ~CookieJar() = default;
    // One "set-cookie" header's text after its prefix, for the host that was asked.
    virtual void SetCookie(const std::string& text, const std::string& requestHost) = 0;
    virtual const std::vector<Cookie>& Cookies() const = 0;
};
