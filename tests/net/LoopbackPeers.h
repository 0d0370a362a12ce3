#pragma once
// Helpers of the network tests: a recording networker, a raw peer that writes exactly
// the bytes a test gives it, and pumping until something happens.
#include <arpa/inet.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "net/Networker.h"
#include "platform/net/FrameReader.h"
#include "platform/net/Ipv4Address.h"
#include "platform/net/Socket.h"

namespace net_test {

struct Recorded {
    enum Kind { Connect, Disconnect, Data } kind;
    uint32_t ip;
    uint16_t port;
    std::vector<uint8_t> data;
};

// Drains briefly: in one process the peer is not served while this one waits for it.
class RecordingNetworker : public Networker {
public:
    RecordingNetworker() { SetDrainBudget(50); }

    bool OnConnect(uint32_t ip, uint16_t port) override {
        events.push_back({Recorded::Connect, ip, port, {}});
        if (greeting.empty()) return accept;
        SendTo(greeting.data(), greeting.size(), FindConnection(ip, port));
        return accept;
    }
    void OnDisconnect(uint32_t ip, uint16_t port) override { events.push_back({Recorded::Disconnect, ip, port, {}}); }
    void Receive(const uint8_t* data, size_t length, uint32_t ip, uint16_t port) override {
        events.push_back({Recorded::Data, ip, port, std::vector<uint8_t>(data, data + length)});
    }

    int Count(Recorded::Kind kind) const {
        int count = 0;
        for (const Recorded& e : events) count += e.kind == kind;
        return count;
    }

    std::vector<Recorded> events;
    bool accept = true;
    std::vector<uint8_t> greeting;  // sent to each peer in OnConnect
};

// Runs the step until the condition holds or a few seconds pass; true when it held.
inline bool PumpUntil(const std::function<bool()>& done, const std::function<void()>& step,
                      std::chrono::milliseconds limit = std::chrono::milliseconds(5000)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        step();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

inline std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// A blocking raw connection to a loopback port.
inline std::unique_ptr<sock::Socket> RawConnect(uint16_t port) {
    auto socket = std::make_unique<sock::Socket>();
    if (!socket->Create() || socket->Connect({sock::LoopbackIp(), port}) != sock::ConnectStatus::Connected) {
        return nullptr;
    }
    return socket;
}

inline void RawSend(sock::Socket& socket, const std::vector<uint8_t>& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        size_t moved = 0;
        if (socket.SendSome(bytes.data() + sent, bytes.size() - sent, moved) != sock::IoStatus::Done) return;
        sent += moved;
    }
}

inline std::vector<uint8_t> Frame(const std::vector<uint8_t>& payload) {
    std::vector<uint8_t> frame(4);
    sock::PutFrameLength(frame.data(), static_cast<uint32_t>(payload.size()));
    frame.insert(frame.end(), payload.begin(), payload.end());
    return frame;
}

// Reads what arrives within the time; stops early at the peer's close. True when the
// peer closed.
inline bool RawReadUntilClosed(sock::Socket& socket, std::vector<uint8_t>& received, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
        if (!socket.Wait(sock::Readiness::Readable, 20)) continue;
        uint8_t buffer[4096];
        size_t got = 0;
        const sock::IoStatus status = socket.ReceiveSome(buffer, sizeof buffer, got);
        received.insert(received.end(), buffer, buffer + got);
        if (status == sock::IoStatus::Closed || status == sock::IoStatus::Failed) return true;
    }
    return false;
}

}  // namespace net_test
