#pragma once
// The HTTP/1.1 exchange of the client: the request head, the header block and the body
// (plain, by Content-Length, chunked, or up to the close), handed to the data consumer.
#include <cstdint>
#include <string>

#include "net/Protocol_Handler.h"

class DataConsumer;

enum class HttpMethod : int { Get = 0, Post, Delete, Head, Put, Propfind, Propdel, Report };

class HTTP_Handler : public Protocol_Handler {
public:
    // How a reply ended.
    enum class ReplyEnd { Complete, Failed };

    using Protocol_Handler::Protocol_Handler;

    void Perform(int method, const std::string& path, const PostBody* body) override;
    void ParseHeaderLine(const std::string& line) override;

    // The request head as it goes on the wire.
    std::string BuildRequestHead(int method, const std::string& path, const PostBody* body) const;
    // Reads one reply from the stream and hands its body to the consumer, at most
    // maxBody bytes. Failed: the stream failed or timed out, or the reply broke a bound.
    ReplyEnd ReadReply(NetIOStream& stream, int method, DataConsumer& consumer, size_t maxBody);

    bool Chunked() const { return chunked_; }
    int64_t ContentLength() const { return contentLength_; }
    const std::string& Reason() const { return reason_; }
    const std::string& Location() const { return location_; }
    bool Completed() const { return completed_; }

private:
    void ResetReply();
    // How the header block ended: at its blank line, with the stream, or past its bound.
    enum class HeadersEnd { Blank, StreamEnded, TooLong };
    HeadersEnd ReadHeaders(NetIOStream& stream, int method, DataConsumer& consumer);
    ReplyEnd ReadBody(NetIOStream& stream, DataConsumer& consumer, size_t maxBody);
    // The next chunk's size, skipping blank lines; 0 at the last chunk or the stream's
    // end, -1 for a size over the body limit.
    int64_t ReadChunkSize(NetIOStream& stream, size_t maxBody);

    bool chunked_ = false;
    int64_t contentLength_ = -1;  // -1 when not given
    std::string reason_;
    std::string location_;
    bool completed_ = false;
};
