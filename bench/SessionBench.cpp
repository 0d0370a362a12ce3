// The session protocol during a battle of two sides of fifty units over loopback: the
// server's timed events of each frame go out in batches and a client queues and applies
// them. Reports timed messages and wire bytes per second per client, with and without
// compression, and the server's time per frame with eight clients joined.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "IdleSessionHost.h"
#include "net/VornsNetworker.h"

namespace {

using CountingHost = IdleSessionHost;

struct Peer {
    Peer() : networker(host) { networker.SetDrainBudget(50); }
    CountingHost host;
    VornsNetworker networker;
};

// One frame of a 2 x 50 battle: about a tenth of the units begin an action, a few take
// damage, one blast leaves a scorch mark, and now and then a unit breaks into debris.
int SendBattleFrame(VornsNetworker& server, int frame, float time) {
    int sent = 0;
    NetworkEvent event;
    for (int unit = 0; unit < 100; ++unit) {
        if ((unit + frame) % 10 != 0) continue;
        event.Reset();
        event.kind = NetworkEventKind::VornAction;
        event.time = time;
        event.objectId = static_cast<uint32_t>(unit);
        event.actionKind = unit % 2 == 0 ? 0 : 10;
        event.vectorA = {static_cast<float>(unit), static_cast<float>(frame % 160), 0.5f};
        event.vectorB = {static_cast<float>(unit + 3), 12.0f, 0.0f};
        if (event.actionKind == 10) event.listA = {{1, 2, 3}, {4, 5, 6}};
        server.SendTimedEvent(event);
        ++sent;
    }
    for (int hit = 0; hit < 3; ++hit) {
        event.Reset();
        event.kind = NetworkEventKind::DamageBlast;
        event.time = time;
        event.value = static_cast<uint32_t>((frame * 7 + hit) % 100);
        event.float2 = 4.5f;
        server.SendTimedEvent(event);
        ++sent;
    }
    event.Reset();
    event.kind = NetworkEventKind::ScorchMark;
    event.time = time;
    event.vectorA = {static_cast<float>(frame % 160), 40.0f, 0.0f};
    event.float1 = 2.0f;
    server.SendTimedEvent(event);
    ++sent;
    if (frame % 25 == 0) {
        event.Reset();
        event.kind = NetworkEventKind::Debris;
        event.time = time;
        event.listA.assign(12, Vector3(1, 2, 3));
        event.listB.assign(12, Vector3(0, 0, 4));
        server.SendTimedEvent(event);
        ++sent;
    }
    server.FlushIfFull(true);
    return sent;
}

// Joins, waits until the server has listed the client, then both play.
bool JoinPlaying(Peer& server, Peer& client) {
    client.networker.SetCompression(server.networker.Compression());
    client.networker.SetPort(server.networker.ListeningPort());
    client.networker.SetHost("127.0.0.1");
    if (!client.networker.StartClient() || !client.networker.Connect()) return false;
    const size_t listed = server.networker.Players().size() + 1;
    for (int pass = 0; pass < 100000 && server.networker.Players().size() < listed; ++pass) {
        server.networker.Update();
        client.networker.Update();
    }
    if (server.networker.Players().size() < listed) return false;
    client.networker.SetState(SessionState::ClientPlaying);
    client.host.clock = 1e6f;  // every event is due at once
    return true;
}

void BM_SessionBattleMessages(benchmark::State& state) {
    Peer server;
    Peer client;
    server.networker.SetCompression(state.range(0) != 0);
    server.networker.SetPort(0);
    if (!server.networker.StartServer()) {
        state.SkipWithError("no server");
        return;
    }
    server.networker.SetState(SessionState::ServerWaiting);
    if (!JoinPlaying(server, client)) {
        state.SkipWithError("no session");
        return;
    }
    server.networker.SetState(SessionState::ServerPlaying);
    int64_t sent = 0;
    int frame = 0;
    for (auto _ : state) {
        sent += SendBattleFrame(server.networker, frame, client.host.clock - 1.0f);
        ++frame;
        while (client.host.applied < sent) {
            server.networker.Update();
            client.networker.Update();
        }
    }
    state.SetItemsProcessed(sent);
    state.counters["frames"] = frame;
    state.counters["messages_per_frame"] = static_cast<double>(sent) / std::max(frame, 1);
    state.counters["wire_bytes_per_battle_second"] =
        static_cast<double>(server.networker.BytesSentPacked()) / (std::max(frame, 1) * 0.02);
}

BENCHMARK(BM_SessionBattleMessages)->ArgNames({"zlib"})->Arg(0)->Arg(1);

void BM_SessionServerFrameEightClients(benchmark::State& state) {
    Peer server;
    server.networker.SetCompression(state.range(0) != 0);
    server.networker.SetPort(0);
    if (!server.networker.StartServer()) {
        state.SkipWithError("no server");
        return;
    }
    server.networker.SetState(SessionState::ServerWaiting);
    std::vector<std::unique_ptr<Peer>> clients;
    for (int i = 0; i < 8; ++i) {
        clients.push_back(std::make_unique<Peer>());
        if (!JoinPlaying(server, *clients.back())) {
            state.SkipWithError("no session");
            return;
        }
    }
    server.networker.SetState(SessionState::ServerPlaying);
    int frame = 0;
    for (auto _ : state) {
        SendBattleFrame(server.networker, frame++, 1.0f);
        server.networker.Update();
        state.PauseTiming();
        for (auto& client : clients) client->networker.Update();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_SessionServerFrameEightClients)->ArgNames({"zlib"})->Arg(0)->Arg(1);

}  // namespace
