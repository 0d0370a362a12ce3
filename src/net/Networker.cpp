#include "net/Networker.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "core/Debugger.h"
#include "net/PayloadCompression.h"
#include "platform/net/NetLimits.h"
#include "platform/net/TCPSocketClient.h"
#include "platform/net/TCPSocketServer.h"
#include "platform/sys/Process.h"

namespace {

uint64_t SteadyMs() {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void Log(const std::string& text) { Debugger::Instance().Line(text); }

// Longest single wait inside a budget, so that closing and silence limits are looked at
// while nothing arrives.
constexpr int kMaxWaitSliceMs = 50;
// Connections taken from the listen backlog in one pass.
constexpr int kMaxAcceptsPerPass = 16;

}  // namespace

Networker::Networker() : clock_(SteadyMs), drainBudgetMs_(sock::kDrainBudgetMs) {}

Networker::~Networker() {
    if (serverRunning_) Networker::StopServer();
    if (clientRunning_) Networker::StopClient();
}

bool Networker::StartClient() {
    if (clientRunning_ || serverRunning_) return false;
    StartSession(1);
    clientRunning_ = true;
    return true;
}

void Networker::StopClient() {
    if (!clientRunning_) return;
    Drain();
    EndSession();
    clientRunning_ = false;
}

bool Networker::StartServer(int maxConnections) {
    serveError_ = 0;
    if (clientRunning_ || serverRunning_) return false;
    if (port_ < 0 || port_ > 65535) {
        Log("Networker: no port to serve on");
        return false;
    }
    const int connections = std::clamp(maxConnections, 1, sock::kMaxServerConnections);
    listener_ = std::make_unique<sock::TCPSocketServer>();
    if (!listener_->SetNonBlocking(true) || !listener_->Listen(static_cast<uint16_t>(port_), connections)) {
        serveError_ = listener_->ListenError();
        Log("Networker: unable to listen on port " + std::to_string(port_) + ": " +
            (serveError_ != 0 ? std::strerror(serveError_) : "no socket"));
        listener_.reset();
        return false;
    }
    StartSession(connections);
    serverRunning_ = true;
    return true;
}

void Networker::StopServer() {
    if (!serverRunning_) return;
    Drain();
    EndSession();
    serverRunning_ = false;
}

void Networker::StartSession(int connections) {
    table_.clear();
    table_.resize(static_cast<size_t>(connections));
    bytesSentRaw_ = bytesSentPacked_ = bytesReceivedRaw_ = bytesReceivedPacked_ = 0;
}

void Networker::EndSession() {
    table_.clear();
    listener_.reset();
}

uint16_t Networker::ListeningPort() const { return listener_ ? listener_->LocalPort() : 0; }

bool Networker::OnConnect(uint32_t, uint16_t) { return true; }
void Networker::OnDisconnect(uint32_t, uint16_t) {}
void Networker::Receive(const uint8_t*, size_t, uint32_t, uint16_t) {}
int Networker::ConnectionToYield() { return -1; }

bool Networker::MayYield(int connection) const {
    if (connection < 0 || connection >= ConnectionCount()) return false;
    const Connection& record = table_[static_cast<size_t>(connection)];
    return record.state == ConnectionState::Connected && !record.gone && !record.connectPending &&
           record.successor == nullptr && record.receiveQueue.empty();
}

bool Networker::BeginConnect() { return StartConnect() >= 0; }

int Networker::StartConnect() {
    hostNotFound_ = false;
    if (!clientRunning_ || port_ < 0 || port_ > 65535) return -1;
    const auto free = std::find_if(table_.begin(), table_.end(),
                                   [](const Connection& c) { return c.state == ConnectionState::Free; });
    if (free == table_.end()) return -1;
    Connection& connection = *free;
    connection.address = {0, static_cast<uint16_t>(port_)};
    connection.state = ConnectionState::Connecting;
    connection.lookup = std::make_unique<sock::Ipv4Lookup>(host_, resolver_);
    if (!ConnectWhenLookedUp(connection)) return -1;
    return static_cast<int>(free - table_.begin());
}

bool Networker::ConnectWhenLookedUp(Connection& connection) {
    if (!connection.lookup->Done()) return true;
    const auto ip = connection.lookup->Result();
    connection.lookup.reset();
    if (!ip) {
        Log("Networker: " + host_ + " is not an address that can be joined");
        hostNotFound_ = true;
        connection = Connection{};
        return false;
    }
    connection.address.ip = *ip;
    connection.socket = std::make_unique<sock::TCPSocketClient>();
    connection.socket->SetNonBlocking(true);
    const sock::ConnectStatus status = connection.socket->Connect(connection.address);
    if (status == sock::ConnectStatus::Failed) {
        GiveUpConnect(connection, errno);
        return false;
    }
    if (status == sock::ConnectStatus::Connected) MarkConnected(connection);
    return true;
}

void Networker::GiveUpConnect(Connection& connection, int error) {
    Log("Networker: could not connect to " + FormatAddress(connection.address.ip, connection.address.port, '.') +
        ": " + std::strerror(error));
    connection = Connection{};
}

void Networker::MarkConnected(Connection& connection) {
    connection.state = ConnectionState::Connected;
    connection.connectPending = true;
    connection.lastHeardMs = Now();
}

bool Networker::ConnectInProgress() const {
    return clientRunning_ && std::any_of(table_.begin(), table_.end(), [](const Connection& c) {
               return c.state == ConnectionState::Connecting || (c.state == ConnectionState::Connected && c.connectPending);
           });
}

bool Networker::LookingUp() const {
    return clientRunning_ && std::any_of(table_.begin(), table_.end(), [](const Connection& c) {
               return c.state == ConnectionState::Connecting && c.lookup != nullptr;
           });
}

bool Networker::Connect() {
    const int index = StartConnect();
    if (index < 0) return false;
    const uint64_t deadline = SteadyMs() + sock::kConnectBudgetMs;
    for (uint64_t now = SteadyMs(); now < deadline && table_[index].state != ConnectionState::Free; now = SteadyMs()) {
        Event event;
        if (!Poll(event, static_cast<uint32_t>(std::min<uint64_t>(deadline - now, kMaxWaitSliceMs)))) continue;
        if (event.kind == EventKind::Connect && event.connection == index) return true;
    }
    if (table_[index].state == ConnectionState::Connecting) table_[index] = Connection{};
    return false;
}

void Networker::Drain() {
    const uint64_t deadline = SteadyMs() + drainBudgetMs_;
    for (;;) {
        bool inUse = false;
        for (Connection& connection : table_) {
            if (connection.state == ConnectionState::Free) continue;
            inUse = true;
            if (connection.state == ConnectionState::Connecting)
                connection = Connection{};
            else if (connection.state == ConnectionState::Connected && !connection.gone)
                BeginClosing(connection);
        }
        const uint64_t now = SteadyMs();
        if (!inUse || now >= deadline) break;
        Event event;
        Poll(event, static_cast<uint32_t>(std::min<uint64_t>(deadline - now, kMaxWaitSliceMs)));
    }
    for (Connection& connection : table_) connection = Connection{};
}

bool Networker::Poll(Event& event, uint32_t budgetMs) {
    const uint64_t start = SteadyMs();
    for (;;) {
        if (TakeReadyEvent(event)) return true;
        if (budgetMs == 0) {
            ServeSockets(0);
            return TakeReadyEvent(event);
        }
        const uint64_t elapsed = SteadyMs() - start;
        if (elapsed >= budgetMs) return false;
        ServeSockets(static_cast<int>(std::min<uint64_t>(budgetMs - elapsed, kMaxWaitSliceMs)));
    }
}

bool Networker::TakeReadyEvent(Event& event) {
    for (size_t i = 0; i < table_.size(); ++i) {
        Connection& connection = table_[i];
        if (connection.state == ConnectionState::Free) continue;
        event.connection = static_cast<int>(i);
        event.peer = connection.address;
        if (connection.connectPending) {
            connection.connectPending = false;
            event.kind = EventKind::Connect;
            event.payload.clear();
            return true;
        }
        if (!connection.receiveQueue.empty() && connection.state != ConnectionState::Connecting) {
            event.kind = EventKind::Data;
            event.payload = std::move(connection.receiveQueue.front());
            connection.receiveQueue.pop_front();
            return true;
        }
        if (connection.gone) {
            event.kind = EventKind::Disconnect;
            event.payload.clear();
            lastDisconnect_ = {connection.cause, connection.framesReceived};
            std::unique_ptr<sock::Socket> successor = std::move(connection.successor);
            const sock::Ipv4Address successorAddress = connection.successorAddress;
            connection = Connection{};
            if (successor != nullptr) TakeSlot(connection, successorAddress, std::move(successor));
            return true;
        }
    }
    return false;
}

void Networker::ServeSockets(int waitMs) {
    for (Connection& connection : table_) {
        if (connection.state == ConnectionState::Connecting && connection.lookup) ConnectWhenLookedUp(connection);
    }
    std::vector<pollfd> entries;
    std::vector<int> owners;  // -1 for the listening socket
    if (listener_ && listener_->IsOpen()) {
        entries.push_back({listener_->Handle(), POLLIN, 0});
        owners.push_back(-1);
    }
    for (size_t i = 0; i < table_.size(); ++i) {
        const Connection& connection = table_[i];
        if (connection.state == ConnectionState::Free || connection.gone || !connection.socket) continue;
        short events = POLLIN;
        if (connection.state == ConnectionState::Connecting)
            events = POLLOUT;
        else if (connection.socket->PendingOutput() > 0)
            events |= POLLOUT;
        entries.push_back({connection.socket->Handle(), events, 0});
        owners.push_back(static_cast<int>(i));
    }
    const int ready = ::poll(entries.data(), entries.size(), waitMs);
    if (ready < 0 && errno != EINTR) Log("Networker: poll failed");
    for (size_t e = 0; ready > 0 && e < entries.size(); ++e) {
        if (entries[e].revents == 0) continue;
        if (owners[e] < 0)
            AcceptPending();
        else
            ServeConnection(owners[e], entries[e].revents);
    }
    const uint64_t now = Now();
    for (Connection& connection : table_) {
        if (connection.gone ||
            (connection.state != ConnectionState::Connected && connection.state != ConnectionState::Closing)) {
            continue;
        }
        if (now - connection.lastHeardMs > sock::kPeerSilenceLimitMs) {
            Log("Networker: peer " + FormatAddress(connection.address.ip, connection.address.port, '.') +
                " silent too long, dropped");
            MarkGone(connection, CloseCause::Failed);
            continue;
        }
        CheckClosing(connection);
    }
}

void Networker::ServeConnection(int index, short revents) {
    Connection& connection = table_[static_cast<size_t>(index)];
    if (connection.state == ConnectionState::Connecting) {
        ServeConnecting(connection, revents);
        return;
    }
    if (revents & (POLLIN | POLLHUP | POLLERR)) ReadFrames(connection);
    if (connection.gone || !(revents & POLLOUT)) return;
    if (connection.socket->FlushOutput() == sock::IoStatus::Failed) MarkGone(connection, CloseCause::Failed);
}

void Networker::ServeConnecting(Connection& connection, short revents) {
    if (!(revents & (POLLOUT | POLLERR | POLLHUP))) return;
    if (const int error = connection.socket->ConnectError(); error != 0) {
        GiveUpConnect(connection, error);
        return;
    }
    MarkConnected(connection);
}

void Networker::ReadFrames(Connection& connection) {
    size_t received = 0;
    const sock::IoStatus status = connection.socket->ReceiveAvailable(sock::kMaxReadPerPass, received);
    if (received > 0) connection.lastHeardMs = Now();
    for (;;) {
        std::vector<uint8_t> payload;
        const sock::FrameStatus frame = connection.socket->NextFrame(payload);
        if (frame == sock::FrameStatus::Incomplete) break;
        if (frame == sock::FrameStatus::TooLarge) {
            Log("Networker: frame over the size limit from " +
                FormatAddress(connection.address.ip, connection.address.port, '.'));
            MarkGone(connection, CloseCause::NotOurProtocol);
            return;
        }
        connection.receiveQueue.push_back(std::move(payload));
        ++connection.framesReceived;
    }
    if (status == sock::IoStatus::Failed) MarkGone(connection, CloseCause::Failed);
    // A frame cut off by an orderly close was never a frame of ours.
    if (status == sock::IoStatus::Closed)
        MarkGone(connection, connection.socket->HeldInput() > 0 ? CloseCause::NotOurProtocol : CloseCause::PeerClosed);
}

// A refused or draining connection first sends what it holds, then its sending side is
// shut; it ends when the peer closes, or after kClosingLimitMs whatever the peer does.
void Networker::CheckClosing(Connection& connection) {
    if (connection.state != ConnectionState::Closing) return;
    if (!connection.sendShut && connection.socket->PendingOutput() == 0) {
        connection.socket->ShutdownSend();
        connection.sendShut = true;
    }
    if (Now() - connection.closingSinceMs >= sock::kClosingLimitMs) MarkGone(connection, CloseCause::ClosedHere);
}

void Networker::AcceptPending() {
    for (int i = 0; i < kMaxAcceptsPerPass; ++i) {
        sock::Ipv4Address peer;
        std::unique_ptr<sock::Socket> socket = listener_->Accept(peer);
        if (!socket) return;
        const auto free = std::find_if(table_.begin(), table_.end(),
                                       [](const Connection& c) { return c.state == ConnectionState::Free; });
        if (free != table_.end()) {
            TakeSlot(*free, peer, std::move(socket));
            continue;
        }
        const int yielding = ConnectionToYield();
        if (MayYield(yielding)) {
            Connection& record = table_[static_cast<size_t>(yielding)];
            record.receiveQueue.clear();
            MarkGone(record, CloseCause::ClosedHere);
            record.successor = std::move(socket);
            record.successorAddress = peer;
            continue;
        }
        // Closing at once tells the joining program that the server is full, instead
        // of leaving it unanswered in the backlog.
        Log("Networker: no free connection for " + FormatAddress(peer.ip, peer.port, '.'));
    }
}

void Networker::TakeSlot(Connection& record, const sock::Ipv4Address& peer, std::unique_ptr<sock::Socket> socket) {
    record.address = peer;
    record.socket = std::move(socket);
    record.state = ConnectionState::Connected;
    record.connectPending = true;
    record.lastHeardMs = Now();
}

void Networker::MarkGone(Connection& connection, CloseCause cause) {
    // What was found in the stream tells more than how it then closed.
    if (!connection.gone || cause == CloseCause::NotOurProtocol || cause == CloseCause::ClosedHere)
        connection.cause = cause;
    connection.gone = true;
    if (!connection.socket) return;
    largeBufferFreed_ |= connection.socket->BufferCapacity() > sock::kKeptBufferBytes;
    connection.socket->Close();
}

void Networker::BeginClosing(Connection& connection) {
    connection.state = ConnectionState::Closing;
    connection.closingSinceMs = Now();
    if (connection.socket->FlushOutput() == sock::IoStatus::Failed) MarkGone(connection, CloseCause::Failed);
}

void Networker::CloseConnection(int connection) { CloseConnection(connection, CloseCause::ClosedHere); }

void Networker::CloseConnection(int connection, CloseCause cause) {
    if (connection < 0 || connection >= ConnectionCount()) return;
    Connection& record = table_[static_cast<size_t>(connection)];
    if (record.state == ConnectionState::Free) return;
    record.receiveQueue.clear();
    if (record.state == ConnectionState::Connecting) {
        record = Connection{};
        return;
    }
    MarkGone(record, cause);
}

void Networker::Update() {
    if (!clientRunning_ && !serverRunning_) return;
    const uint64_t start = SteadyMs();
    Event event;
    while (Poll(event, 0)) {
        Dispatch(event);
        largeBufferFreed_ |= event.payload.size() > sock::kKeptBufferBytes;
        if (static_cast<float>(SteadyMs() - start) >= sock::kUpdateBudgetSeconds * 1000.0f) break;
    }
    event = Event{};
    if (largeBufferFreed_) {
        largeBufferFreed_ = false;
        sys::ReturnFreedMemory();
    }
}

bool Networker::MayInflate(int connection, size_t length) {
    if (connection < 0 || connection >= ConnectionCount()) return false;
    Connection& record = table_[static_cast<size_t>(connection)];
    const uint64_t now = Now();
    if (record.inflatedInWindow == 0 || now - record.inflateWindowStartMs >= sock::kInflateWindowMs) {
        record.inflateWindowStartMs = now;
        record.inflatedInWindow = 0;
    }
    if (length > sock::kMaxInflatedBytesPerWindow - record.inflatedInWindow) return false;
    record.inflatedInWindow += length;
    return true;
}

void Networker::Dispatch(Event& event) {
    const uint32_t ip = event.peer.ip;
    const uint16_t port = event.peer.port;
    switch (event.kind) {
        case EventKind::Connect:
            // The handler may have stopped the session or closed the connection itself.
            if (!OnConnect(ip, port) && event.connection < ConnectionCount()) {
                Connection& record = table_[static_cast<size_t>(event.connection)];
                if (record.state == ConnectionState::Connected && !record.gone) BeginClosing(record);
            }
            return;
        case EventKind::Disconnect:
            if (clientRunning_)
                OnDisconnect(0, static_cast<uint16_t>(port_));
            else
                OnDisconnect(ip, port);
            return;
        case EventKind::Data:
            bytesReceivedPacked_ += event.payload.size();
            if (!compress_) {
                bytesReceivedRaw_ += event.payload.size();
                Receive(event.payload.data(), event.payload.size(), ip, port);
                return;
            }
            if (event.payload.size() >= 4 &&
                !MayInflate(event.connection, sock::GetFrameLength(event.payload.data()))) {
                Log("Networker: frames from " + FormatAddress(ip, port, '.') + " unpack to more than " +
                    std::to_string(sock::kMaxInflatedBytesPerWindow) + " bytes in " +
                    std::to_string(sock::kInflateWindowMs / 1000) + " s; dropped");
                CloseConnection(event.connection, CloseCause::NotOurProtocol);
                return;
            }
            if (!UncompressPayload(event.payload.data(), event.payload.size(), packBuffer_)) {
                Log("Networker: bad compressed frame from " + FormatAddress(ip, port, '.'));
                CloseConnection(event.connection, CloseCause::NotOurProtocol);
                return;
            }
            bytesReceivedRaw_ += packBuffer_.size();
            Receive(packBuffer_.data(), packBuffer_.size(), ip, port);
            // One large message does not keep its size for the rest of the session.
            if (packBuffer_.capacity() > sock::kKeptBufferBytes) {
                std::vector<uint8_t>().swap(packBuffer_);
                largeBufferFreed_ = true;
            }
            return;
    }
}

bool Networker::Pack(const uint8_t* data, size_t length, std::vector<uint8_t>& packed) {
    if (length > sock::kMaxFrameBytes) {
        Log("Networker: message of " + std::to_string(length) + " bytes is over the limit, not sent");
        return false;
    }
    bytesSentRaw_ += length;
    if (!compress_) {
        packed.assign(data, data + length);
    } else if (!CompressPayload(data, length, packed)) {
        Log("Networker: compression failed, message not sent");
        return false;
    }
    bytesSentPacked_ += packed.size();
    return true;
}

bool Networker::QueueOn(Connection& connection, const std::vector<uint8_t>& packed) {
    // A peer with this much still unsent is not reading; holding more for it would let
    // one stalled client fill the server's memory.
    if (connection.socket->PendingOutput() > sock::kMaxPendingOutputBytes) {
        Log("Networker: peer " + FormatAddress(connection.address.ip, connection.address.port, '.') +
            " is not reading, dropped");
        MarkGone(connection, CloseCause::Failed);
        return false;
    }
    if (!connection.socket->QueueFrame(packed.data(), packed.size())) return false;
    if (connection.socket->FlushOutput() == sock::IoStatus::Failed) {
        MarkGone(connection, CloseCause::Failed);
        return false;
    }
    return true;
}

namespace {

bool CanSend(const Networker::ConnectionState state, bool gone, bool sendShut, bool hasSocket) {
    if (gone || sendShut || !hasSocket) return false;
    return state == Networker::ConnectionState::Connected || state == Networker::ConnectionState::Closing;
}

}  // namespace

int32_t Networker::SendTo(const uint8_t* data, size_t length, int connection) {
    if (connection < 0 || connection >= ConnectionCount()) return -1;
    Connection& record = table_[static_cast<size_t>(connection)];
    if (!CanSend(record.state, record.gone, record.sendShut, record.socket != nullptr)) return -1;
    std::vector<uint8_t> packed;
    if (!Pack(data, length, packed)) return -1;
    return QueueOn(record, packed) ? 0 : -1;
}

void Networker::Broadcast(const uint8_t* data, size_t length) {
    std::vector<uint8_t> packed;
    bool packedOnce = false;
    for (Connection& record : table_) {
        if (record.state != ConnectionState::Connected || record.gone || !record.socket) continue;
        if (!packedOnce && !Pack(data, length, packed)) return;
        packedOnce = true;
        QueueOn(record, packed);
    }
}

void Networker::FlushSends() {
    for (Connection& record : table_) {
        if (record.gone || !record.socket || record.state == ConnectionState::Connecting) continue;
        if (record.socket->PendingOutput() == 0) continue;
        if (record.socket->FlushOutput() == sock::IoStatus::Failed) MarkGone(record, CloseCause::Failed);
    }
}

int Networker::FindConnection(uint32_t ip, uint16_t port) const {
    for (size_t i = 0; i < table_.size(); ++i) {
        const Connection& record = table_[i];
        if (record.state != ConnectionState::Free && record.address.ip == ip && record.address.port == port) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

Networker::ConnectionState Networker::StateOf(int connection) const {
    if (connection < 0 || connection >= ConnectionCount()) return ConnectionState::Free;
    return table_[static_cast<size_t>(connection)].state;
}

size_t Networker::PendingOutput(int connection) const {
    if (connection < 0 || connection >= ConnectionCount()) return 0;
    const Connection& record = table_[static_cast<size_t>(connection)];
    return record.socket ? record.socket->PendingOutput() : 0;
}

std::string Networker::FormatAddress(uint32_t ip, uint16_t port, char separator) {
    return sock::FormatAddress(ip, port, separator);
}
