#include "net/HTTP_Handler.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "net/CookieJar.h"
#include "net/DataConsumer.h"
#include "net/PostBody.h"
#include "net/PrintingDataConsumer.h"
#include "net/Webfetch.h"
#include "platform/net/NetLimits.h"

namespace {

// Header lines are read up to this many bytes with their line feed.
constexpr size_t kMaxHeaderLine = 8191;
constexpr size_t kBodyRead = 8193;
constexpr int kMaxEmptyReads = 3;
constexpr int32_t kStatusContinue = 100;
constexpr int32_t kStatusOk = 200;

bool StartsWithNoCase(const std::string& text, const char* prefix) {
    const size_t length = std::strlen(prefix);
    if (text.size() < length) return false;
    for (size_t i = 0; i < length; ++i) {
        const auto a = static_cast<unsigned char>(text[i]);
        const auto b = static_cast<unsigned char>(prefix[i]);
        if (std::tolower(a) != std::tolower(b)) return false;
    }
    return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A line without its line feed and one carriage return before it.
std::string WithoutLineEnd(std::string line) {
    if (!line.empty() && line.back() == '\n') line.pop_back();
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

// Decimal digits at the start, saturating at `limit`; -1 when there are none.
int64_t LeadingDecimal(const std::string& text, size_t start, int64_t limit) {
    int64_t value = -1;
    for (size_t i = start; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min(limit, std::max<int64_t>(value, 0) * 10 + (text[i] - '0'));
    }
    return value;
}

const char* MethodWord(int method, bool hasBody) {
    switch (static_cast<HttpMethod>(method)) {
        case HttpMethod::Delete: return "DELETE ";
        case HttpMethod::Head: return "HEAD ";
        case HttpMethod::Put: return "PUT ";
        default: break;
    }
    if (static_cast<HttpMethod>(method) == HttpMethod::Post || hasBody) return "POST ";
    switch (static_cast<HttpMethod>(method)) {
        case HttpMethod::Propfind: return "PROPFIND ";
        case HttpMethod::Propdel: return "PROPDEL ";
        case HttpMethod::Report: return "REPORT ";
        default: return "GET ";
    }
}

bool CookieMatches(const Cookie& cookie, const std::string& host) {
    if (cookie.domain == host || cookie.domain == "*") return true;
    return !cookie.domain.empty() && cookie.domain[0] == '.' && host.size() > cookie.domain.size() &&
           host.compare(host.size() - cookie.domain.size(), cookie.domain.size(), cookie.domain) == 0;
}

}  // namespace

std::string HTTP_Handler::BuildRequestHead(int method, const std::string& path, const PostBody* body) const {
    const WebfetchTexts& texts = owner_.Texts();
    const std::string& host = texts.hostOverride.empty() ? host_ : texts.hostOverride;
    std::string head = MethodWord(method, body != nullptr);
    if (owner_.Http().Enabled()) head += "http://" + host + ":" + std::to_string(port_);
    head += path + " HTTP/1.1\r\n";
    head += "Host: " + host + "\r\n";
    if (!texts.credentials.empty()) head += "Authorization: Basic " + texts.credentials + "\r\n";
    if (!texts.proxyCredentials.empty()) head += "Proxy-Authorization: Basic " + texts.proxyCredentials + "\r\n";
    if (!texts.cookie.empty()) head += "Cookie: " + texts.cookie + "\n";
    if (const CookieJar* jar = owner_.Jar()) {
        for (const Cookie& cookie : jar->Cookies()) {
            if (CookieMatches(cookie, host_)) head += "Cookie: " + cookie.name + "=" + cookie.value + "\n";
        }
    }
    if (!texts.from.empty()) head += "From: " + texts.from + "\r\n";
    if (!texts.referer.empty()) head += "Referer: " + texts.referer + "\r\n";
    head += "User-Agent: " + owner_.UserAgent() + "\r\n";
    if (!texts.acceptLanguage.empty()) head += "Accept-Language: " + texts.acceptLanguage + "\r\n";
    if (body != nullptr) {
        head += "Content-Length: " + std::to_string(body->Size()) + "\r\n";
        const std::optional<std::string> type =
            !texts.contentType.empty() ? std::optional<std::string>(texts.contentType) : body->ContentType();
        if (!type)
            head += "Content-Type: application/x-www-form-urlencoded\r\n";
        else if (!type->empty())
            head += "Content-Type: " + *type + "\r\n";
    }
    return head + "\r\n";
}

void HTTP_Handler::Perform(int method, const std::string& path, const PostBody* body) {
    stream_->SetTimeout(owner_.Timeout());
    PrintingDataConsumer printer;
    DataConsumer& consumer = owner_.Consumer() ? *owner_.Consumer() : printer;
    const std::string target = path.empty() ? "/" : path;
    consumer.Begin(target);
    const std::string head = BuildRequestHead(method, target, body);
    if (stream_->Write(head.data(), head.size()) < 0 || (body != nullptr && !body->WriteTo(*stream_))) {
        ResetReply();
        consumer.End();
        return;
    }
    ReadReply(*stream_, method, consumer, owner_.MaxBody());
    CloseSocket();
}

void HTTP_Handler::ResetReply() {
    status_ = 0;
    chunked_ = false;
    contentLength_ = -1;
    reason_.clear();
    location_.clear();
    completed_ = false;
}

HTTP_Handler::ReplyEnd HTTP_Handler::ReadReply(NetIOStream& stream, int method, DataConsumer& consumer,
                                               size_t maxBody) {
    ResetReply();
    const HeadersEnd headers = ReadHeaders(stream, method, consumer);
    if (chunked_) contentLength_ = -1;
    if (status_ != kStatusOk) {
        std::fprintf(stderr, "HTTP Status: %d", status_);
        if (!reason_.empty()) std::fprintf(stderr, " %s", reason_.c_str());
        std::fprintf(stderr, "\n");
    }
    if (!location_.empty()) std::fprintf(stderr, "Redirect to %s\n", location_.c_str());
    // A server that closes inside the header block has sent a reply with no body; only a
    // header block past its bound (or a failed stream, below) fails the exchange.
    ReplyEnd end = headers == HeadersEnd::TooLong ? ReplyEnd::Failed : ReplyEnd::Complete;
    if (headers == HeadersEnd::Blank && static_cast<HttpMethod>(method) != HttpMethod::Head) {
        end = ReadBody(stream, consumer, maxBody);
    }
    consumer.End();
    if (stream.Failed()) end = ReplyEnd::Failed;
    completed_ = end == ReplyEnd::Complete;
    return end;
}

HTTP_Handler::HeadersEnd HTTP_Handler::ReadHeaders(NetIOStream& stream, int method, DataConsumer& consumer) {
    size_t headerBytes = 0;
    std::string line;
    while (stream.ReadLine(line, kMaxHeaderLine) >= 0) {
        headerBytes += line.size();
        if (headerBytes > sock::kMaxHttpHeaderBytes) return HeadersEnd::TooLong;
        owner_.HeaderLine(*this, line);
        if (line == "\n" || line == "\r\n") {
            if (status_ != kStatusContinue) return HeadersEnd::Blank;
            chunked_ = false;
            contentLength_ = -1;
            continue;
        }
        if (static_cast<HttpMethod>(method) == HttpMethod::Head) consumer.Data(line.data(), line.size());
    }
    return HeadersEnd::StreamEnded;
}

int64_t HTTP_Handler::ReadChunkSize(NetIOStream& stream, size_t maxBody) {
    std::string line;
    for (;;) {
        if (stream.ReadLine(line, kMaxHeaderLine) < 0) return 0;
        line = WithoutLineEnd(line);
        if (!line.empty()) break;
    }
    int64_t size = 0;
    for (char c : line) {
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0) break;
        size = size * 16 + digit;
        if (size > static_cast<int64_t>(maxBody)) return -1;
    }
    return size;
}

HTTP_Handler::ReplyEnd HTTP_Handler::ReadBody(NetIOStream& stream, DataConsumer& consumer, size_t maxBody) {
    const auto limit = static_cast<int64_t>(maxBody);
    int64_t total = 0;
    int64_t chunkLeft = -1;
    int emptyReads = 0;
    char buffer[kBodyRead];
    for (;;) {
        if (contentLength_ >= 0 && total >= contentLength_) return ReplyEnd::Complete;
        if (chunked_ && chunkLeft < 1) {
            chunkLeft = ReadChunkSize(stream, maxBody);
            if (chunkLeft < 0) return ReplyEnd::Failed;
            if (chunkLeft == 0) return ReplyEnd::Complete;
        }
        int64_t want = kBodyRead;
        if (chunked_) want = std::min(want, chunkLeft);
        if (contentLength_ >= 0) want = std::min(want, contentLength_ - total);
        const int got = stream.Read(buffer, static_cast<size_t>(want));
        if (got < 0) return contentLength_ >= 0 || chunked_ ? ReplyEnd::Failed : ReplyEnd::Complete;
        if (got == 0) {
            if (++emptyReads == kMaxEmptyReads) return ReplyEnd::Failed;
            continue;
        }
        if (total + got > limit) {
            consumer.Data(buffer, static_cast<size_t>(limit - total));
            return ReplyEnd::Failed;
        }
        consumer.Data(buffer, static_cast<size_t>(got));
        emptyReads = 0;
        if (chunkLeft > 0) chunkLeft -= got;
        total += got;
    }
}

void HTTP_Handler::ParseHeaderLine(const std::string& line) {
    if (StartsWithNoCase(line, "HTTP/")) {
        size_t i = 0;
        while (i < line.size() && !IsBlank(line[i]) && line[i] != '\r' && line[i] != '\n') ++i;
        while (i < line.size() && IsBlank(line[i])) ++i;
        const int64_t status = LeadingDecimal(line, i, 999999);
        status_ = static_cast<int32_t>(std::max<int64_t>(status, 0));
        while (i < line.size() && line[i] >= '0' && line[i] <= '9') ++i;
        while (i < line.size() && IsBlank(line[i])) ++i;
        reason_ = line.substr(i, line.find_first_of("\r\n", i) - i);
    } else if (StartsWithNoCase(line, "Content-Length: ")) {
        // Kept apart from "not given": a length of 0 is an empty body, not "read to close".
        contentLength_ = LeadingDecimal(line, 16, INT64_C(1) << 40);
    } else if (StartsWithNoCase(line, "Transfer-Encoding: chunked")) {
        chunked_ = true;
    } else if (StartsWithNoCase(line, "set-cookie: ")) {
        if (CookieJar* jar = owner_.Jar()) jar->SetCookie(WithoutLineEnd(line.substr(12)), host_);
    } else if (StartsWithNoCase(line, "location: ")) {
        std::string location = line.substr(10);
        while (!location.empty() && std::isspace(static_cast<unsigned char>(location.back()))) location.pop_back();
        location_ = location;
    }
}
