#pragma once
#include "platform/net/Socket.h"

namespace sock {

// A socket that is created as an IPv4 TCP socket at once; the server listens on it.
class TCPSocketServer : public Socket {
public:
    TCPSocketServer() { Create(); }
};

}  // namespace sock
