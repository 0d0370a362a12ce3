#pragma once
// The joining side of the web lobby: fetches the list of published servers, measures how
// quickly each accepts a connection on the game port, and orders them best first. The
// server list box shows Rows() and hands the row the player chooses to PickRow; its
// window, drawing and the set-up screen it fills live with the UI.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "net/LobbySettings.h"
#include "platform/net/NetLimits.h"
#include "platform/net/TCPSocketClient.h"

struct LobbyServer {
    std::string name;
    std::string address;  // a host name or a dotted address
    int32_t players = 0;
    bool playing = false;
    int32_t ping = 0;  // milliseconds, 0..500; 500 means no answer
    float probeStart = 0.0f;
    float probeEnd = -1.0f;  // -1 while the probe runs
    bool answered = false;   // the server accepted the probe's connection
    std::unique_ptr<sock::TCPSocketClient> probe;
};

class LobbyServerList {
public:
    static constexpr int32_t kNoAnswerPing = 500;

    explicit LobbyServerList(LobbySettings settings) : settings_(std::move(settings)) {}

    // Fetches the list, probes every server and rebuilds the rows. A failed request or
    // any reply but 200 gives an empty list.
    void RefreshServerList();

    // The reply's servers, one a line: name, address, players, "1" when playing; lines
    // with fewer fields are skipped, fields after the fourth ignored.
    static std::vector<LobbyServer> ParseList(const std::string& text);
    // Servers not playing first, then lower ping, more players, name, address.
    static void Sort(std::vector<LobbyServer>& servers);
    static std::string RowText(const LobbyServer& server);

    // Probes the servers given by dotted address on the probe port, at most
    // kMaxLobbyProbes at a time and kLobbyProbingSeconds in all, and sets their pings.
    void Probe(std::vector<LobbyServer>& servers) const;

    const std::vector<std::string>& Rows() const { return rows_; }
    const std::vector<LobbyServer>& Servers() const { return servers_; }
    // What choosing a row puts in the set-up screen's address: "name:address", the name
    // without ':' or blanks so that the address is what follows the last ':'. Empty for
    // no row.
    std::string PickRow(int row) const;

    // The port the probes try (the game port unless a test says otherwise).
    void SetProbePort(uint16_t port) { probePort_ = port; }

private:
    LobbySettings settings_;
    std::vector<LobbyServer> servers_;
    std::vector<std::string> rows_;
    uint16_t probePort_ = sock::kGamePort;
};
