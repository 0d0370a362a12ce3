#include "net/LobbyServerList.h"

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cmath>

#include "core/Debugger.h"
#include "net/HTTP_Handler.h"
#include "net/StringDataConsumer.h"
#include "net/Webfetch.h"

namespace {

constexpr int32_t kStatusOk = 200;
// The longest a probing pass sleeps while every started probe is still pending.
constexpr int kProbeWaitMs = 5;

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

// A decimal with an optional sign, saturating; 0 when there are no digits.
int32_t ParseCount(const std::string& text) {
    size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative || (!text.empty() && text[0] == '+')) i = 1;
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min<int64_t>(value * 10 + (text[i] - '0'), INT32_MAX);
    }
    return static_cast<int32_t>(negative ? -value : value);
}

float Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<float>(std::chrono::steady_clock::now() - since).count();
}

void EndProbe(LobbyServer& server, float end, bool answered) {
    server.probeEnd = end;
    server.answered = answered;
    if (server.probe) server.probe->ShutdownBoth();
    server.probe.reset();
}

}  // namespace

void LobbyServerList::RefreshServerList() {
    servers_.clear();
    rows_.clear();
    Webfetch fetch(settings_.proxyServer);
    StringDataConsumer reply;
    fetch.SetUserAgent("");
    fetch.SetDataConsumer(&reply);
    fetch.SetTimeout(sock::kLobbyTimeoutSeconds);
    fetch.Open(static_cast<int>(HttpMethod::Get), "http://" + settings_.host + "/Vorns/LobbyList.php?Action=List");
    // An error page of the lobby or of a proxy may well hold commas: only a whole 200
    // reply is a list.
    if (fetch.Result() != 0 || fetch.HttpStatus() != kStatusOk) {
        Debugger::Instance().Line("Lobby: no server list (result " + std::to_string(fetch.Result()) + ", status " +
                                  std::to_string(fetch.HttpStatus()) + ")");
        return;
    }
    servers_ = ParseList(reply.Text());
    Probe(servers_);
    Sort(servers_);
    for (const LobbyServer& server : servers_) rows_.push_back(RowText(server));
}

std::vector<LobbyServer> LobbyServerList::ParseList(const std::string& text) {
    std::vector<LobbyServer> servers;
    for (std::string line : Split(text, '\n')) {
        if (servers.size() == sock::kMaxLobbyServers) break;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::vector<std::string> fields = Split(line, ',');
        if (fields.size() < 4) continue;
        LobbyServer& server = servers.emplace_back();
        server.name = fields[0];
        server.address = fields[1];
        server.players = ParseCount(fields[2]);
        server.playing = fields[3] == "1";
    }
    return servers;
}

void LobbyServerList::Sort(std::vector<LobbyServer>& servers) {
    std::sort(servers.begin(), servers.end(), [](const LobbyServer& a, const LobbyServer& b) {
        if (a.playing != b.playing) return !a.playing;
        if (a.ping != b.ping) return a.ping < b.ping;
        if (a.players != b.players) return a.players > b.players;
        if (a.name != b.name) return a.name < b.name;
        return a.address < b.address;
    });
}

std::string LobbyServerList::RowText(const LobbyServer& server) {
    return server.name + ":" + server.address + " (" + (server.playing ? "No" : "Yes") + ", " +
           (server.ping < kNoAnswerPing ? std::to_string(server.ping) : std::string("???")) + ", " +
           std::to_string(server.players) + "/8)";
}

std::string LobbyServerList::PickRow(int row) const {
    if (row < 0 || row >= static_cast<int>(servers_.size())) return {};
    const LobbyServer& server = servers_[static_cast<size_t>(row)];
    std::string name = server.name;
    for (char& c : name) {
        if (c == ':' || static_cast<unsigned char>(c) <= ' ') c = '_';
    }
    return name + ":" + server.address;
}

// Name lookups block, which would break the bound on the probing time: servers listed by
// host name are not probed and keep the no-answer ping.
void LobbyServerList::Probe(std::vector<LobbyServer>& servers) const {
    const auto start = std::chrono::steady_clock::now();
    size_t next = 0;
    size_t finished = 0;
    int running = 0;
    while (Seconds(start) < sock::kLobbyProbingSeconds && finished < servers.size()) {
        if (next < servers.size() && running < sock::kMaxLobbyProbes) {
            LobbyServer& server = servers[next++];
            server.probeStart = Seconds(start);
            const auto ip = sock::ParseDottedIpv4(server.address);
            sock::ConnectStatus status = sock::ConnectStatus::Failed;
            if (ip) {
                server.probe = std::make_unique<sock::TCPSocketClient>();
                server.probe->SetNonBlocking(true);
                status = server.probe->Connect({*ip, probePort_});
            }
            if (status == sock::ConnectStatus::InProgress) {
                ++running;
            } else {
                const bool answered = status == sock::ConnectStatus::Connected;
                EndProbe(server, answered ? Seconds(start) : server.probeStart + sock::kLobbyProbeSeconds, answered);
                ++finished;
            }
        }
        std::vector<pollfd> entries;
        std::vector<LobbyServer*> owners;
        for (size_t i = 0; i < next; ++i) {
            if (!servers[i].probe) continue;
            entries.push_back({servers[i].probe->Handle(), POLLOUT, 0});
            owners.push_back(&servers[i]);
        }
        if (entries.empty()) continue;
        const bool moreToStart = next < servers.size() && running < sock::kMaxLobbyProbes;
        const int ready = ::poll(entries.data(), entries.size(), moreToStart ? 0 : kProbeWaitMs);
        const float now = Seconds(start);
        for (size_t e = 0; e < entries.size(); ++e) {
            LobbyServer& server = *owners[e];
            const short revents = ready < 0 ? POLLERR : entries[e].revents;
            if (revents == 0 && now - server.probeStart <= sock::kLobbyProbeSeconds) continue;
            const bool answered = (revents & POLLOUT) && server.probe->ConnectError() == 0;
            EndProbe(server, answered ? now : server.probeStart + sock::kLobbyProbeSeconds, answered);
            --running;
            ++finished;
        }
    }
    for (LobbyServer& server : servers) {
        if (server.probe || server.probeEnd < 0.0f) {
            EndProbe(server, server.probeStart + sock::kLobbyProbeSeconds, false);
        }
        // A probe that got no answer shows as such whatever the float sum of its end.
        const double ms = std::floor((static_cast<double>(server.probeEnd) - server.probeStart) * 1000.0);
        server.ping = !server.answered || ms >= kNoAnswerPing ? kNoAnswerPing : static_cast<int32_t>(std::max(ms, 0.0));
    }
}
