#pragma once
// A small blocking HTTP/1.1 client: one URL per Open, the reply body handed to a data
// consumer. It connects directly or through the user's HTTP or SOCKS version 4 proxy.
// Progress and errors go to standard error only.
#include <cstdint>
#include <functional>
#include <string>

#include "net/ProxyData.h"

class CookieJar;
class DataConsumer;
class PostBody;

// Texts of the request head, each left out while empty.
struct WebfetchTexts {
    std::string proxyCredentials;  // "Proxy-Authorization: Basic "
    std::string hostOverride;      // replaces the URL's host in the head
    std::string credentials;       // "Authorization: Basic ", sent as stored
    std::string cookie;            // one "Cookie: " line
    std::string connectHost;       // connect here instead of the URL's host
    std::string from;
    std::string acceptLanguage;
    std::string referer;
    std::string contentType;
};

class Webfetch {
public:
    using HeaderCallback = std::function<void(const std::string& line)>;

    // The proxies come from the options' proxy-server text, else from the system.
    explicit Webfetch(const std::string& optionsProxyServer = {});

    void SetUserAgent(const std::string& userAgent) { userAgent_ = userAgent; }
    void SetDataConsumer(DataConsumer* consumer) { consumer_ = consumer; }
    void SetCookieJar(CookieJar* jar) { cookieJar_ = jar; }
    void SetHeaderCallback(HeaderCallback callback) { headerCallback_ = std::move(callback); }
    // Seconds each connect, send and receive may wait.
    void SetTimeout(int seconds) { timeoutSeconds_ = seconds; }
    void SetFollowRedirects(bool follow) { followRedirects_ = follow; }
    // The most body bytes taken; a longer reply fails with what came so far.
    void SetMaxBody(size_t bytes) { maxBody_ = bytes; }

    // One request (method as HttpMethod); the result code and the HTTP status stay.
    // Results: 0 the exchange ran, 1 a host does not resolve, 2 a bad or unsupported URL,
    // 3 a host name too long, 4 and 5 the SOCKS or HTTP proxy's host does not resolve,
    // 6 the connect failed, 99 no socket, a failed SOCKS exchange, a time-out or a reply
    // that broke a bound.
    void Open(int method, const std::string& url, const PostBody* body = nullptr);

    int32_t Result() const { return result_; }
    int32_t HttpStatus() const { return httpStatus_; }

    WebfetchTexts& Texts() { return texts_; }
    const WebfetchTexts& Texts() const { return texts_; }
    const std::string& UserAgent() const { return userAgent_; }
    int Timeout() const { return timeoutSeconds_; }
    SocksProxyData& Socks() { return socks_; }
    HTTPProxyData& Http() { return http_; }
    CookieJar* Jar() const { return cookieJar_; }
    DataConsumer* Consumer() const { return consumer_; }
    size_t MaxBody() const { return maxBody_; }

    // Every header line passes here: the callback first, then the handler's parser.
    void HeaderLine(class Protocol_Handler& handler, const std::string& line);

private:
    void OpenWithin(int method, const std::string& url, const PostBody* body, int redirectsLeft);

    SocksProxyData socks_;
    HTTPProxyData http_;
    WebfetchTexts texts_;
    CookieJar* cookieJar_ = nullptr;
    bool followRedirects_ = false;
    int32_t result_ = 0;
    int timeoutSeconds_ = 60;
    std::string userAgent_ = "webfetch/5.1.1";
    HeaderCallback headerCallback_;
    DataConsumer* consumer_ = nullptr;
    int32_t httpStatus_ = 0;
    size_t maxBody_;
};
