#include <gtest/gtest.h>

#include <sys/socket.h>

#include "LoopbackPeers.h"
#include "net/PayloadCompression.h"
#include "platform/net/NetLimits.h"
#include "support/ResidentMemory.h"

using namespace net_test;

namespace {

class NetworkerTest : public ::testing::Test {
protected:
    void StartServer(int connections = 8) {
        server.SetPort(0);
        ASSERT_TRUE(server.StartServer(connections));
        port = server.ListeningPort();
        ASSERT_NE(port, 0);
    }

    void StartClient(RecordingNetworker& client) {
        client.SetPort(port);
        client.SetHost("127.0.0.1");
        ASSERT_TRUE(client.StartClient());
        ASSERT_TRUE(client.Connect());
    }

    bool ServeUntil(const std::function<bool()>& done) {
        return PumpUntil(done, [&] {
            server.Update();
            server.FlushSends();
        });
    }

    RecordingNetworker server;
    uint16_t port = 0;
};

}  // namespace

TEST_F(NetworkerTest, MessagesTravelBothWaysInOrderWithAndWithoutCompression) {
    for (bool compress : {true, false}) {
        SCOPED_TRACE(compress);
        RecordingNetworker localServer;
        RecordingNetworker client;
        localServer.SetCompression(compress);
        client.SetCompression(compress);
        localServer.SetPort(0);
        ASSERT_TRUE(localServer.StartServer(8));
        client.SetPort(localServer.ListeningPort());
        client.SetHost("localhost");
        ASSERT_TRUE(client.StartClient());
        ASSERT_TRUE(client.Connect());

        std::vector<uint8_t> big(300 * 1024);
        for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>(i * 31 + i / 1000);
        for (const auto& message : {Bytes("one"), std::vector<uint8_t>{}, big, Bytes("last")}) {
            ASSERT_EQ(client.SendTo(message.data(), message.size(), 0), 0);
        }
        auto step = [&] {
            localServer.Update();
            client.Update();
            localServer.FlushSends();
            client.FlushSends();
        };
        ASSERT_TRUE(PumpUntil([&] { return localServer.Count(Recorded::Data) == 4; }, step));
        EXPECT_EQ(localServer.events.front().kind, Recorded::Connect);
        EXPECT_EQ(localServer.events[2].data, std::vector<uint8_t>{});
        EXPECT_EQ(localServer.events[3].data, big);
        EXPECT_EQ(localServer.events[4].data, Bytes("last"));
        EXPECT_EQ(client.BytesSentRaw(), big.size() + 7);
        EXPECT_EQ(localServer.BytesReceivedRaw(), big.size() + 7);
        EXPECT_EQ(compress, localServer.BytesReceivedPacked() < big.size());

        localServer.Broadcast(Bytes("to all").data(), 6);
        ASSERT_TRUE(PumpUntil([&] { return client.Count(Recorded::Data) == 1; }, step));
        EXPECT_EQ(client.events.back().data, Bytes("to all"));

        client.StopClient();
        ASSERT_TRUE(PumpUntil([&] { return localServer.Count(Recorded::Disconnect) == 1; }, step));
    }
}

TEST_F(NetworkerTest, FramesSentJustBeforeACloseAreDeliveredBeforeTheDisconnect) {
    server.SetCompression(false);
    StartServer();
    auto peer = RawConnect(port);
    ASSERT_TRUE(peer);
    std::vector<uint8_t> bytes = Frame(Bytes("a"));
    const auto second = Frame(Bytes("bb"));
    bytes.insert(bytes.end(), second.begin(), second.end());
    RawSend(*peer, bytes);
    peer->Close();
    ASSERT_TRUE(ServeUntil([&] { return server.Count(Recorded::Disconnect) == 1; }));
    ASSERT_EQ(server.events.size(), 4u);
    EXPECT_EQ(server.events[1].data, Bytes("a"));
    EXPECT_EQ(server.events[2].data, Bytes("bb"));
    EXPECT_EQ(server.events[3].kind, Recorded::Disconnect);
}

TEST_F(NetworkerTest, HostileFramesDropOnlyTheirSenderAndTheServerServesOn) {
    StartServer();
    RecordingNetworker good;
    StartClient(good);
    ASSERT_TRUE(ServeUntil([&] { return server.Count(Recorded::Connect) == 1; }));

    std::vector<uint8_t> bomb;
    std::vector<uint8_t> zeros(1 << 20, 0);
    ASSERT_TRUE(CompressPayload(zeros.data(), zeros.size(), bomb));
    sock::PutFrameLength(bomb.data(), 16);  // announces 16 bytes, unpacks to a mebibyte
    std::vector<uint8_t> oversize(4);
    sock::PutFrameLength(oversize.data(), 0xFFFFFFF0u);
    const std::vector<std::vector<uint8_t>> hostile = {
        oversize,
        Frame({1, 2}),  // too short for the compressed header
        Frame(bomb),
        {0x10, 0x00, 0x00, 0x00, 'x'},  // truncated: the peer closes mid-frame
    };
    int expectedDisconnects = 0;
    for (const auto& bytes : hostile) {
        auto peer = RawConnect(port);
        ASSERT_TRUE(peer);
        RawSend(*peer, bytes);
        if (&bytes == &hostile.back()) peer->Close();
        ++expectedDisconnects;
        ASSERT_TRUE(ServeUntil([&] { return server.Count(Recorded::Disconnect) == expectedDisconnects; }));
        std::vector<uint8_t> ignored;
        if (peer->IsOpen()) {
            EXPECT_TRUE(RawReadUntilClosed(*peer, ignored, 2000)) << "the server closed it";
        }
    }
    EXPECT_EQ(server.Count(Recorded::Data), 0);

    ASSERT_EQ(good.SendTo(Bytes("still here").data(), 10, 0), 0);
    ASSERT_TRUE(ServeUntil([&] { return server.Count(Recorded::Data) == 1; }));
    EXPECT_EQ(server.events.back().data, Bytes("still here"));
}

TEST_F(NetworkerTest, FramesThatUnpackPastTheBoundDropTheirPeerAndLeaveNothingHeld) {
    StartServer();
    std::vector<uint8_t> bomb;  // a few kilobytes that unpack to the largest message
    {
        const std::vector<uint8_t> zeros(sock::kMaxFrameBytes, 0);
        ASSERT_TRUE(CompressPayload(zeros.data(), zeros.size(), bomb));
    }
    const size_t before = HeapInUse();
    auto peer = RawConnect(port);
    ASSERT_TRUE(peer);
    for (int i = 0; i < 10; ++i) RawSend(*peer, Frame(bomb));
    ASSERT_TRUE(ServeUntil([&] { return server.Count(Recorded::Disconnect) == 1; }));
    EXPECT_EQ(server.Count(Recorded::Data), 1);
    server.events.clear();
    server.events.shrink_to_fit();
    const size_t after = HeapInUse();
    EXPECT_LT(after, before + 1024 * 1024) << "holds " << (after - before) / 1024 << " KB more";
}

TEST_F(NetworkerTest, APeerThatStopsReadingIsDroppedOnceItsBacklogPassesTheCap) {
    server.SetCompression(false);
    StartServer();
    auto peer = RawConnect(port);  // never reads
    ASSERT_TRUE(peer);
    ASSERT_TRUE(ServeUntil([&] { return server.Count(Recorded::Connect) == 1; }));
    std::vector<uint8_t> chunk(256 * 1024, 7);
    int sends = 0;
    while (server.SendTo(chunk.data(), chunk.size(), 0) == 0) {
        ASSERT_LT(++sends, 200) << "the backlog never hit the cap";
    }
    EXPECT_GT(static_cast<size_t>(sends) * chunk.size(), sock::kMaxPendingOutputBytes);
    ASSERT_TRUE(ServeUntil([&] { return server.Count(Recorded::Disconnect) == 1; }));
}

TEST_F(NetworkerTest, FramesHeldForASlowPeerLeaveWholeAndInOrder) {
    server.SetCompression(false);
    StartServer();
    auto peer = std::make_unique<sock::Socket>();
    ASSERT_TRUE(peer->Create());
    const int small = 4096;
    ::setsockopt(peer->Handle(), SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    ASSERT_EQ(peer->Connect({sock::LoopbackIp(), port}), sock::ConnectStatus::Connected);
    ASSERT_TRUE(ServeUntil([&] { return server.Count(Recorded::Connect) == 1; }));
    // More than the socket buffers take (yet under the backlog cap), so much of it waits
    // in our output, cut at arbitrary points by partial sends.
    std::vector<uint8_t> expected;
    for (uint8_t n = 0; n < 24; ++n) {
        std::vector<uint8_t> message(250000 + n * 777, n);
        ASSERT_EQ(server.SendTo(message.data(), message.size(), 0), 0);
        const auto frame = Frame(message);
        expected.insert(expected.end(), frame.begin(), frame.end());
    }
    ASSERT_GT(server.PendingOutput(0), 0u);
    std::vector<uint8_t> received;
    ASSERT_TRUE(ServeUntil([&] {
        RawReadUntilClosed(*peer, received, 1);
        return received.size() >= expected.size();
    }));
    EXPECT_TRUE(received == expected);
}

TEST_F(NetworkerTest, APeerSilentForThreeMinutesCountsAsGone) {
    uint64_t fakeMs = 1000;
    server.SetClock([&] { return fakeMs; });
    StartServer();
    auto peer = RawConnect(port);  // connects, then says nothing and never closes
    ASSERT_TRUE(peer);
    ASSERT_TRUE(ServeUntil([&] { return server.Count(Recorded::Connect) == 1; }));
    fakeMs += sock::kPeerSilenceLimitMs;
    server.Update();
    EXPECT_EQ(server.Count(Recorded::Disconnect), 0) << "exactly at the limit it is still alive";
    fakeMs += 1;
    ASSERT_TRUE(ServeUntil([&] { return server.Count(Recorded::Disconnect) == 1; }));
}

TEST_F(NetworkerTest, RefusedPeersGetWhatWasSentThenAClose) {
    server.accept = false;
    server.greeting = Bytes("go away");
    server.SetCompression(false);
    StartServer();
    auto peer = RawConnect(port);
    ASSERT_TRUE(peer);
    std::vector<uint8_t> received;
    bool closed = false;
    ASSERT_TRUE(ServeUntil([&] {
        closed = closed || RawReadUntilClosed(*peer, received, 1);
        return closed;
    }));
    EXPECT_EQ(received, Frame(Bytes("go away")));
    peer->Close();
    ASSERT_TRUE(ServeUntil([&] { return server.Count(Recorded::Disconnect) == 1; }));

    // A refused peer that never closes its end is closed after the closing limit.
    uint64_t fakeMs = 0;
    server.SetClock([&] { return fakeMs; });
    auto stubborn = RawConnect(port);
    ASSERT_TRUE(ServeUntil([&] { return server.Count(Recorded::Connect) == 2; }));
    fakeMs += sock::kClosingLimitMs;
    ASSERT_TRUE(ServeUntil([&] { return server.Count(Recorded::Disconnect) == 2; }));
}

TEST_F(NetworkerTest, ANinthClientIsAcceptedAndClosedAtOnce) {
    StartServer(8);
    std::vector<std::unique_ptr<sock::Socket>> peers;
    for (int i = 0; i < 8; ++i) peers.push_back(RawConnect(port));
    ASSERT_TRUE(ServeUntil([&] { return server.Count(Recorded::Connect) == 8; }));
    auto ninth = RawConnect(port);
    ASSERT_TRUE(ninth);
    std::vector<uint8_t> received;
    bool closed = false;
    ASSERT_TRUE(ServeUntil([&] { return closed = closed || RawReadUntilClosed(*ninth, received, 1); }));
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(server.Count(Recorded::Connect), 8);
    // The eight others are still served.
    for (int i = 0; i < 8; ++i) EXPECT_EQ(server.StateOf(i), Networker::ConnectionState::Connected);
}

TEST_F(NetworkerTest, StartAndConnectFailuresAreReported) {
    StartServer();
    RecordingNetworker second;
    second.SetPort(port);
    EXPECT_FALSE(second.StartServer(8)) << "the port is taken";
    EXPECT_FALSE(second.IsServerRunning());

    RecordingNetworker client;
    ASSERT_TRUE(client.StartClient());
    client.SetHost("name.that.does.not.resolve.invalid");
    client.SetPort(port);
    EXPECT_FALSE(client.Connect());
    EXPECT_TRUE(client.HostNotFound());
    // A port nobody listens on: the refusal comes back at once, not after the budget.
    sock::Socket probe;
    ASSERT_TRUE(probe.Listen(0, 1));
    const uint16_t deadPort = probe.LocalPort();
    probe.Close();
    client.SetHost("127.0.0.1");
    client.SetPort(deadPort);
    EXPECT_FALSE(client.Connect());
    EXPECT_FALSE(client.HostNotFound()) << "found, but nobody answered";
    EXPECT_EQ(client.StateOf(0), Networker::ConnectionState::Free);
    client.SetPort(port);
    EXPECT_TRUE(client.Connect()) << "the record was freed for another try";
    RecordingNetworker named;
    ASSERT_TRUE(named.StartClient());
    named.SetHost("localhost");
    named.SetPort(port);
    EXPECT_TRUE(named.Connect()) << "a host name is looked up too";
}
