#pragma once
// A loopback server of the tests' own that plays the lobby's web host, an HTTP proxy or a
// SOCKS4 proxy in front of one: each connection's request is recorded and answered with
// the reply the test chose, from a thread of its own.
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/net/Socket.h"

namespace net_test {

class StandInServer {
public:
    // The reply for a recorded request head; the connection closes after it unless
    // keepOpenMs says how long to hold it first.
    using Responder = std::function<std::string(const std::string& head)>;

    explicit StandInServer(Responder responder) : responder_(std::move(responder)) {
        listener_.Listen(0, 16);
        port_ = listener_.LocalPort();
        thread_ = std::thread([this] { Run(); });
    }
    ~StandInServer() {
        stop_ = true;
        thread_.join();
    }

    uint16_t Port() const { return port_; }
    // With a value, each connection first gets a SOCKS4 exchange answered with it.
    void SetSocksResult(int result) { socksResult_ = result; }
    void SetKeepOpenMs(int ms) { keepOpenMs_ = ms; }
    void SetSilent(bool silent) { silent_ = silent; }

    std::vector<std::string> Heads() {
        std::lock_guard lock(mutex_);
        return heads_;
    }
    std::vector<uint8_t> SocksRequest() {
        std::lock_guard lock(mutex_);
        return socksRequest_;
    }

private:
    void Run() {
        while (!stop_) {
            if (!listener_.Wait(sock::Readiness::Readable, 20)) continue;
            sock::Ipv4Address peer;
            auto connection = listener_.Accept(peer);
            if (!connection) continue;
            connection->SetNonBlocking(false);
            Serve(*connection);
        }
    }

    bool ReadUntil(sock::Socket& socket, std::string& text, const std::function<bool()>& done) {
        while (!done()) {
            if (!socket.Wait(sock::Readiness::Readable, 2000)) return false;
            char c;
            size_t got = 0;
            if (socket.ReceiveSome(&c, 1, got) != sock::IoStatus::Done) return false;
            text += c;
        }
        return true;
    }

    void Serve(sock::Socket& socket) {
        if (socksResult_ >= 0) {
            std::string request;
            if (!ReadUntil(socket, request, [&] { return request.size() > 8 && request.back() == '\0'; })) return;
            {
                std::lock_guard lock(mutex_);
                socksRequest_.assign(request.begin(), request.end());
            }
            const uint8_t reply[8] = {0, static_cast<uint8_t>(socksResult_), 0, 0, 0, 0, 0, 0};
            Send(socket, std::string(reinterpret_cast<const char*>(reply), 8));
            if (socksResult_ != 90) return;
        }
        std::string head;
        if (!ReadUntil(socket, head,
                       [&] { return head.size() >= 4 && head.compare(head.size() - 4, 4, "\r\n\r\n") == 0; })) {
            return;
        }
        {
            std::lock_guard lock(mutex_);
            heads_.push_back(head);
        }
        if (!silent_) Send(socket, responder_(head));
        Hold();
    }

    // Keeps the connection open for keepOpenMs, or until the server stops.
    void Hold() {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(keepOpenMs_);
        while (!stop_ && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    static void Send(sock::Socket& socket, const std::string& bytes) {
        size_t sent = 0;
        while (sent < bytes.size()) {
            size_t moved = 0;
            if (socket.SendSome(bytes.data() + sent, bytes.size() - sent, moved) != sock::IoStatus::Done) return;
            sent += moved;
        }
    }

    Responder responder_;
    sock::Socket listener_;
    uint16_t port_ = 0;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<int> socksResult_{-1};
    std::atomic<int> keepOpenMs_{0};
    std::atomic<bool> silent_{false};
    std::mutex mutex_;
    std::vector<std::string> heads_;
    std::vector<uint8_t> socksRequest_;
};

}  // namespace net_test
