#pragma once
// The framed transport between one serving program and the programs that join it. It
// owns a table of connections, polls them from the frame loop (no threads), optionally
// compresses every payload, counts bytes, and tells its subclass of three events: a
// connection came up, a connection went down, a frame arrived.
//
// Calling order: StartServer or StartClient, [Connect], then once per frame Update and
// FlushSends around the sends, finally StopServer or StopClient.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/net/Ipv4Address.h"
#include "platform/net/Socket.h"

class Networker {
public:
    enum class ConnectionState { Free, Connecting, Connected, Closing };
    enum class EventKind { Connect, Disconnect, Data };

    struct Event {
        EventKind kind = EventKind::Data;
        int connection = -1;
        sock::Ipv4Address peer;
        std::vector<uint8_t> payload;
    };

    // Milliseconds of the clock that judges a peer's silence.
    using Clock = std::function<uint64_t()>;

    Networker();
    virtual ~Networker();
    Networker(const Networker&) = delete;
    Networker& operator=(const Networker&) = delete;

    virtual bool StartClient();
    virtual void StopClient();
    // Listens on every local address at the configured port; false (and no session) when
    // the port is unset or the bind or listen fails; ServeError then tells why.
    virtual bool StartServer(int maxConnections);
    // The system's error (an errno) of the last StartServer that failed to listen; 0 after
    // a start that worked or failed for another reason.
    int ServeError() const { return serveError_; }
    virtual void StopServer();
    // Flushes and closes every connection, waiting at most kDrainBudgetMs in all; events
    // that arrive meanwhile are dropped.
    virtual void Drain();
    // A connection came up; false refuses it: what was sent to it is flushed, then it is
    // closed (within kClosingLimitMs).
    virtual bool OnConnect(uint32_t ip, uint16_t port);
    virtual void OnDisconnect(uint32_t ip, uint16_t port);
    virtual void Receive(const uint8_t* data, size_t length, uint32_t ip, uint16_t port);
    // A peer arrived while every connection is in use: the connection that should make
    // room for it (closed, and the newcomer takes its place once its disconnect is
    // reported), or -1 to turn the newcomer away. Only a connection MayYield accepts.
    virtual int ConnectionToYield();
    // Client only: resolves the host and joins, waiting at most kConnectBudgetMs.
    virtual bool Connect();
    // Client only: starts joining without waiting. A host name is looked up on a worker
    // thread meanwhile (a dotted address at once). False when a dotted address cannot be
    // connected to at once. Otherwise the connection comes up later through OnConnect, or
    // fails (the name has no address, the connect is refused) and its record is freed
    // (ConnectInProgress turns false without an OnConnect).
    bool BeginConnect();
    // A connect was begun and its outcome is not reported yet.
    bool ConnectInProgress() const;
    // A connection whose host name is still being looked up.
    bool LookingUp() const;
    // The last connect was given up because its host name is known to no name service.
    bool HostNotFound() const { return hostNotFound_; }

    // Why a connection ended, as far as this end can tell.
    enum class CloseCause {
        PeerClosed,      // an orderly close by the peer
        Failed,          // reset, a failed read or send, or silent too long
        NotOurProtocol,  // bytes that are no frames of ours (a length over the limit, a
                         // frame cut off by the close, a payload that does not unpack)
        ClosedHere,      // CloseConnection, e.g. for a message that cannot be read
    };
    struct DisconnectInfo {
        CloseCause cause = CloseCause::PeerClosed;
        uint64_t framesReceived = 0;
    };
    // The connection whose OnDisconnect is running: how it ended and how many frames it
    // brought.
    const DisconnectInfo& LastDisconnect() const { return lastDisconnect_; }

    void SetPort(int32_t port) { port_ = port; }
    int32_t Port() const { return port_; }
    // The port the server really listens on (the configured one, or the one the system
    // chose for port 0).
    uint16_t ListeningPort() const;
    void SetHost(const std::string& host) { host_ = host; }
    // How host names are looked up (the system's lookup unless set); it runs on a worker
    // thread and may outlive this networker.
    void SetResolver(sock::Ipv4Lookup::Resolver resolver) { resolver_ = std::move(resolver); }
    const std::string& Host() const { return host_; }
    void SetCompression(bool on) { compress_ = on; }
    bool Compression() const { return compress_; }
    void SetClock(Clock clock) { clock_ = std::move(clock); }
    // How long Drain waits for peers to close (kDrainBudgetMs unless set).
    void SetDrainBudget(uint32_t budgetMs) { drainBudgetMs_ = budgetMs; }

    bool IsClientRunning() const { return clientRunning_; }
    bool IsServerRunning() const { return serverRunning_; }

    // Appends one message for one connection and writes what the socket takes now.
    // -1 when the connection cannot send or the message is over the limit.
    int32_t SendTo(const uint8_t* data, size_t length, int connection);
    // The same message to every connected peer, compressed once.
    void Broadcast(const uint8_t* data, size_t length);
    // One non-blocking pass that hands queued bytes to the sockets; the rest goes out as
    // the sockets turn writable during Update.
    void FlushSends();
    // Handles network events for at most kUpdateBudgetSeconds.
    void Update();
    // Ends a connection at once (a protocol error): queued frames are dropped and the
    // disconnect is reported by the next Update.
    void CloseConnection(int connection);

    int FindConnection(uint32_t ip, uint16_t port) const;
    int ConnectionCount() const { return static_cast<int>(table_.size()); }
    ConnectionState StateOf(int connection) const;
    size_t PendingOutput(int connection) const;

    uint64_t BytesSentRaw() const { return bytesSentRaw_; }
    uint64_t BytesSentPacked() const { return bytesSentPacked_; }
    uint64_t BytesReceivedRaw() const { return bytesReceivedRaw_; }
    uint64_t BytesReceivedPacked() const { return bytesReceivedPacked_; }

    static std::string FormatAddress(uint32_t ip, uint16_t port, char separator);

protected:
    // Takes the next event, serving the sockets for at most budgetMs (0: one pass
    // without waiting). False when nothing happened in time.
    bool Poll(Event& event, uint32_t budgetMs);
    uint64_t Now() const { return clock_(); }
    // A connection that is up, has nothing received still to report and is not already
    // making room for another.
    bool MayYield(int connection) const;

private:
    struct Connection {
        sock::Ipv4Address address;
        ConnectionState state = ConnectionState::Free;
        // Connecting: the host's address, while it is still being looked up.
        std::unique_ptr<sock::Ipv4Lookup> lookup;
        std::unique_ptr<sock::Socket> socket;
        std::deque<std::vector<uint8_t>> receiveQueue;
        bool connectPending = false;  // the connect event is still to be reported
        bool gone = false;            // closed: report the disconnect once the queue is empty
        bool sendShut = false;
        // A newcomer waiting for this connection's slot; it takes the slot once this
        // connection's disconnect is reported.
        std::unique_ptr<sock::Socket> successor;
        sock::Ipv4Address successorAddress;
        uint64_t lastHeardMs = 0;
        uint64_t closingSinceMs = 0;
        uint64_t framesReceived = 0;
        CloseCause cause = CloseCause::PeerClosed;
        // What its compressed frames unpacked to since the window began.
        uint64_t inflateWindowStartMs = 0;
        size_t inflatedInWindow = 0;
    };

    void StartSession(int connections);
    void EndSession();
    bool TakeReadyEvent(Event& event);
    void ServeSockets(int waitMs);
    void ServeConnection(int index, short revents);
    // The slot of the connection begun, or -1 when none could be.
    int StartConnect();
    // Starts the socket's connect once the lookup of the host is done; false when the
    // connection was given up (the name has no address, the connect failed at once).
    bool ConnectWhenLookedUp(Connection& connection);
    void GiveUpConnect(Connection& connection, int error);
    void MarkConnected(Connection& connection);
    void ServeConnecting(Connection& connection, short revents);
    void ReadFrames(Connection& connection);
    void CheckClosing(Connection& connection);
    void AcceptPending();
    void TakeSlot(Connection& record, const sock::Ipv4Address& peer, std::unique_ptr<sock::Socket> socket);
    bool QueueOn(Connection& connection, const std::vector<uint8_t>& packed);
    void MarkGone(Connection& connection, CloseCause cause);
    void CloseConnection(int connection, CloseCause cause);
    void BeginClosing(Connection& connection);
    void Dispatch(Event& event);
    // Whether the connection may unpack another `length` bytes now; counts them if so.
    bool MayInflate(int connection, size_t length);
    // The payload in its wire form (compressed when on); false when over the limit.
    bool Pack(const uint8_t* data, size_t length, std::vector<uint8_t>& packed);

    bool clientRunning_ = false;
    bool serverRunning_ = false;
    int32_t port_ = -1;
    int serveError_ = 0;
    std::string host_;
    bool hostNotFound_ = false;
    sock::Ipv4Lookup::Resolver resolver_ = sock::ResolveIpv4;
    bool compress_ = true;
    Clock clock_;
    uint32_t drainBudgetMs_;
    std::vector<Connection> table_;
    std::unique_ptr<sock::Socket> listener_;
    DisconnectInfo lastDisconnect_;
    std::vector<uint8_t> packBuffer_;
    // A large buffer was let go: the heap's free memory goes back to the system after the
    // update.
    bool largeBufferFreed_ = false;
    uint64_t bytesSentRaw_ = 0;
    uint64_t bytesSentPacked_ = 0;
    uint64_t bytesReceivedRaw_ = 0;
    uint64_t bytesReceivedPacked_ = 0;
};
