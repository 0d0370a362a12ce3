#pragma once
#include "platform/net/Socket.h"

namespace sock {

// A socket that is created as an IPv4 TCP socket at once; a client connects it.
class TCPSocketClient : public Socket {
public:
    TCPSocketClient() { Create(); }
};

}  // namespace sock
