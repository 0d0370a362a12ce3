// Framed messages over loopback: one client sends batches of messages to one server,
// with and without compression. Reports messages and payload bytes per second.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "net/Networker.h"

namespace {

class CountingNetworker : public Networker {
public:
    CountingNetworker() { SetDrainBudget(50); }
    void Receive(const uint8_t*, size_t, uint32_t, uint16_t) override { ++received; }
    int64_t received = 0;
};

// A message that looks like a batch of timed events: ids, stamps and positions that
// repeat in form but not in value.
std::vector<uint8_t> EventBatch(size_t size) {
    std::vector<uint8_t> batch(size);
    for (size_t i = 0; i + 16 <= size; i += 16) {
        const uint32_t id = static_cast<uint32_t>(i / 16);
        const float stamp = 12.5f + static_cast<float>(id) * 0.01f;
        const float x = static_cast<float>(id % 37) * 3.25f;
        const float y = static_cast<float>(id % 11) * 7.5f;
        std::memcpy(&batch[i], &id, 4);
        std::memcpy(&batch[i + 4], &stamp, 4);
        std::memcpy(&batch[i + 8], &x, 4);
        std::memcpy(&batch[i + 12], &y, 4);
    }
    return batch;
}

void BM_LoopbackMessages(benchmark::State& state) {
    const size_t size = static_cast<size_t>(state.range(0));
    const bool compress = state.range(1) != 0;
    constexpr int kBatch = 64;
    CountingNetworker server;
    CountingNetworker client;
    server.SetCompression(compress);
    client.SetCompression(compress);
    server.SetPort(0);
    if (!server.StartServer(8)) {
        state.SkipWithError("no server");
        return;
    }
    client.SetPort(server.ListeningPort());
    client.SetHost("127.0.0.1");
    if (!client.StartClient() || !client.Connect()) {
        state.SkipWithError("no connection");
        return;
    }
    const std::vector<uint8_t> message = EventBatch(size);
    int64_t expected = 0;
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) client.SendTo(message.data(), message.size(), 0);
        expected += kBatch;
        while (server.received < expected) {
            client.FlushSends();
            client.Update();
            server.Update();
        }
    }
    state.SetItemsProcessed(expected);
    state.SetBytesProcessed(expected * static_cast<int64_t>(size));
    state.counters["wire_bytes_per_message"] =
        static_cast<double>(client.BytesSentPacked()) / static_cast<double>(std::max<int64_t>(expected, 1)) + 4.0;
}

}  // namespace

BENCHMARK(BM_LoopbackMessages)
    ->ArgNames({"bytes", "zlib"})
    ->Args({128, 0})
    ->Args({128, 1})
    ->Args({1280, 0})
    ->Args({1280, 1})
    ->Args({65536, 0})
    ->Args({65536, 1});

namespace {

// One battle frame on a server with eight joined clients: the frame's timed events go out
// as a few batches of about 1280 bytes, then the server handles its network events. The
// clients read theirs outside the measured time.
void BM_ServerFrameWithEightClients(benchmark::State& state) {
    const bool compress = state.range(0) != 0;
    constexpr int kClients = 8;
    constexpr int kBatchesPerFrame = 4;
    CountingNetworker server;
    server.SetCompression(compress);
    server.SetPort(0);
    if (!server.StartServer(kClients)) {
        state.SkipWithError("no server");
        return;
    }
    std::vector<std::unique_ptr<CountingNetworker>> clients;
    for (int i = 0; i < kClients; ++i) {
        auto client = std::make_unique<CountingNetworker>();
        client->SetCompression(compress);
        client->SetPort(server.ListeningPort());
        client->SetHost("127.0.0.1");
        if (!client->StartClient() || !client->Connect()) {
            state.SkipWithError("no connection");
            return;
        }
        clients.push_back(std::move(client));
    }
    for (int i = 0; i < 100; ++i) server.Update();  // take every connect event
    const std::vector<uint8_t> batch = EventBatch(1280);
    for (auto _ : state) {
        for (int b = 0; b < kBatchesPerFrame; ++b) server.Broadcast(batch.data(), batch.size());
        server.FlushSends();
        server.Update();
        state.PauseTiming();
        for (auto& client : clients) client->Update();
        state.ResumeTiming();
    }
    state.counters["frames_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_ServerFrameWithEightClients)->ArgNames({"zlib"})->Arg(0)->Arg(1);
