#pragma once
// One connection of the HTTP client to one host: choosing where to connect (directly, or
// through the HTTP or SOCKS proxy of the owning Webfetch), the SOCKS exchange, and the
// stream over the socket. The protocol itself is a subclass's.
#include <cstdint>
#include <memory>
#include <string>

#include "net/NetIOStream.h"
#include "platform/net/Socket.h"

class PostBody;
class Webfetch;

class Protocol_Handler {
public:
    Protocol_Handler(Webfetch& owner, const std::string& host, int32_t port);
    virtual ~Protocol_Handler();
    Protocol_Handler(const Protocol_Handler&) = delete;
    Protocol_Handler& operator=(const Protocol_Handler&) = delete;

    // Connects to the host text (a ':' in it sets the port), through a proxy when one is
    // on; 0, or a result code of Webfetch::Open.
    int Connect(const std::string& hostText);
    // Makes the stream over the socket: 0, or -1 without a socket.
    virtual int OpenStream();
    virtual void Perform(int method, const std::string& path, const PostBody* body) = 0;
    virtual void ParseHeaderLine(const std::string& line) = 0;

    void CloseSocket() { socket_.Close(); }
    int32_t Status() const { return status_; }
    NetIOStream* Stream() { return stream_.get(); }

    // The SOCKS version 4 CONNECT on a connected socket: 0 when the proxy granted it,
    // else a negative code that can never read as success: -300 a receive error, -301 a
    // malformed reply, -303 the proxy closed early, -1000 - result for a refusal.
    static int SocksConnect(sock::Socket& socket, const sock::Ipv4Address& target, const std::string& userId,
                            int timeoutSeconds);

protected:
    Webfetch& owner_;
    std::string host_;
    int32_t port_;
    int32_t status_ = 0;
    sock::Socket socket_;
    std::unique_ptr<NetIOStream> stream_;

private:
    int ChooseAddress(sock::Ipv4Address& target, sock::Ipv4Address& connectTo);
};
