#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <memory>
#include <set>

#include "SessionPeers.h"
#include "core/StringStream.h"
#include "game/Player.h"
#include "modes/PlayerFigure.h"
#include "net/MessageCode.h"
#include "net/MessageWriter.h"
#include "net/SquadExchange.h"
#include "platform/net/NetLimits.h"
#include "support/LogLines.h"
#include "support/TempFolder.h"
#include "support/UnitTablesTest.h"
#include "support/VornTestWorld.h"
#include "world/LaunchPoint.h"
#include "world/ObjectKind.h"

using namespace net_test;

namespace {

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.networker.SetPort(0);
        ASSERT_TRUE(server.networker.StartServer());
        server.networker.SetState(SessionState::ServerWaiting);
        port = server.networker.ListeningPort();
    }

    void Join(Program& client) {
        client.networker.SetPort(port);
        client.networker.SetHost("127.0.0.1");
        ASSERT_TRUE(client.networker.StartClient());
        client.networker.SetState(SessionState::ClientEntering);
        ASSERT_TRUE(client.networker.Connect());
    }

    void StepAll() {
        server.Step();
        for (Program* client : clients) client->Step();
    }

    bool RunUntil(const std::function<bool()>& done) {
        return PumpUntil(done, [&] { StepAll(); });
    }

    void JoinBoth() {
        Join(alice);
        Join(bob);
        ASSERT_TRUE(RunUntil([&] {
            return server.networker.Players().size() == 3 && alice.networker.Players().size() == 3 &&
                   bob.networker.Players().size() == 3;
        }));
    }

    // From the set-up screen to the battle: scenario, squads with their unit files, world.
    void PlayToBattle() {
        server.host.settings.launchDelay = 1;
        server.networker.ProceedToSetup();
        server.networker.SendGameSetup(server.host.settings);
        server.networker.SendScenario("terrain text");
        ASSERT_TRUE(RunUntil([&] { return bob.networker.State() == SessionState::ClientSquadSelection; }));
        alice.host.squadsToSend = {{"Unit Scout", "Unit Carrier"}, {{"Member Scout"}, {"Member Carrier"}}};
        alice.networker.SendSquads();
        server.networker.SendSquads();
        server.host.world = "the world";
        ASSERT_TRUE(RunUntil([&] { return bob.networker.State() == SessionState::ClientPlaying; }));
        server.host.started = true;
    }

    // From here on every program reads the milliseconds the test moves on by hand,
    // starting where the steady clock stands.
    void UseTestClock() {
        clockMs = static_cast<uint64_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
                .count());
        for (Program* program : {&server, &alice, &bob}) program->networker.SetClock([this] { return clockMs; });
    }

    Program server{"host"};
    Program alice{"alice"};
    Program bob{"bob"};
    std::vector<Program*> clients{&alice, &bob};
    uint16_t port = 0;
    uint64_t clockMs = 0;
};

TEST_F(SessionTest, AWholeSessionFromJoiningToTheResults) {
    JoinBoth();
    EXPECT_EQ(alice.networker.State(), SessionState::ClientWaiting);
    EXPECT_NE(alice.networker.LocalAddress().port, 0);
    EXPECT_EQ(bob.networker.FindPlayer(alice.networker.LocalAddress())->name, "alice");
    EXPECT_EQ(alice.networker.StatusText(), "bob entered the game.");

    alice.networker.SendChatToServer("hello\x01 all");
    ASSERT_TRUE(RunUntil([&] { return !bob.host.chat.empty(); }));
    EXPECT_EQ(bob.host.chat.back(), "alice: hello? all");
    EXPECT_EQ(server.host.chat.back(), "alice: hello? all");

    PlayToBattle();
    EXPECT_EQ(alice.host.scenario, "terrain text");
    EXPECT_GE(alice.host.settingsApplied, 1);
    EXPECT_EQ(alice.host.squadBudget, server.host.settings.budget);
    // Bob never confirmed: the countdown's end sent his (empty) squads for him.
    ASSERT_EQ(server.host.stored.size(), 2u);
    const auto& sent = server.host.stored[0].first == "alice" ? server.host.stored[0] : server.host.stored[1];
    EXPECT_EQ(sent.second.unitFiles, alice.host.squadsToSend.unitFiles);
    EXPECT_EQ(sent.second.squads, alice.host.squadsToSend.squads);
    EXPECT_EQ(server.host.ownSquadsUsed, 1);
    EXPECT_EQ(bob.host.world, "the world");
    EXPECT_EQ(server.networker.State(), SessionState::ServerPlaying);
    // The joins are long past: the waiting screens no longer name them.
    EXPECT_EQ(alice.networker.StatusText(), "");
    EXPECT_EQ(server.networker.StatusText(), "");

    // Timed events arrive in order and wait for the client's late clock.
    for (int i = 0; i < 200; ++i) {
        NetworkEvent event;
        event.kind = NetworkEventKind::ScorchMark;
        event.time = 0.5f + 0.001f * static_cast<float>(i);
        event.float1 = static_cast<float>(i);
        server.networker.SendTimedEvent(event);
    }
    server.networker.FlushIfFull(true);
    ASSERT_TRUE(RunUntil([&] { return alice.networker.PendingEvents() == 200; }));
    EXPECT_TRUE(alice.host.applied.empty());
    alice.host.clock = 1.0f;
    alice.Step();
    ASSERT_EQ(alice.host.applied.size(), 200u);
    for (int i = 0; i < 200; ++i) EXPECT_EQ(alice.host.applied[static_cast<size_t>(i)].float1, static_cast<float>(i));

    // Bob leaves mid-battle: he stays listed, marked, until the results.
    bob.networker.StopClient();
    clients.pop_back();
    ASSERT_TRUE(RunUntil([&] { return alice.host.status.back() == "bob exited the game."; }));
    EXPECT_EQ(server.networker.Players().size(), 3u);

    NetworkEvent results;
    results.kind = NetworkEventKind::Results;
    results.time = 2.0f;
    results.results.push_back({alice.networker.LocalAddress(), 1, 3, 1, 0, 2, 4.5f});
    server.networker.SendTimedEvent(results);
    alice.host.clock = 2.0f;
    ASSERT_TRUE(RunUntil([&] { return alice.host.applied.size() == 201; }));
    EXPECT_EQ(alice.host.applied.back().results[0].kills, 3u);

    server.networker.SetState(SessionState::ServerResults);
    ASSERT_TRUE(RunUntil([&] { return server.networker.Players().size() == 2; }));
    server.networker.SendReplayRequest();
    ASSERT_TRUE(RunUntil([&] { return alice.networker.State() == SessionState::ClientSetup; }));
}

// Every program here introduces itself in the same colours; two also by a name taken or
// blank. Each joiner goes by a name and colour of his own, and every program agrees.
TEST_F(SessionTest, JoinersWhoLookLikeAPlayerPresentGoByTheirOwnNameAndColour) {
    Program twin{" Host "};
    Program blank{"   "};
    clients = {&alice, &twin, &blank};
    for (Program* client : clients) Join(*client);
    ASSERT_TRUE(RunUntil([&] {
        return std::all_of(clients.begin(), clients.end(),
                           [](Program* client) { return client->networker.Players().size() == 4; });
    }));
    std::vector<std::string> names;
    std::set<uint32_t> colours;
    for (const auto& player : server.networker.Players()) {
        names.push_back(player->name);
        colours.insert(player->colour1 & 0xFFFFFF);
        for (Program* client : clients) {
            const SessionPlayer* seen = client->networker.FindPlayer(player->address);
            ASSERT_NE(seen, nullptr);
            EXPECT_EQ(seen->name, player->name);
            EXPECT_EQ(seen->colour1, player->colour1);
            EXPECT_EQ(seen->colour2, 0xFF445566u);  // the trim is each player's own
        }
    }
    EXPECT_EQ(names, (std::vector<std::string>{"host", "alice", "Host 2", "Player 4"}));
    EXPECT_EQ(colours.size(), 4u);
    EXPECT_EQ(server.networker.LocalPlayer()->colour1, 0xFF112233u);  // the first keeps his
    EXPECT_EQ(blank.host.status.back(), "Player 4 entered the game.");
}

TEST_F(SessionTest, LateJoinersAreRefusedAndTheServerKeepsServing) {
    JoinBoth();
    server.networker.ProceedToSetup();
    Program late{"late"};
    Join(late);
    clients.push_back(&late);
    ASSERT_TRUE(RunUntil([&] { return !late.host.lost.empty(); }));
    EXPECT_EQ(late.host.lost, "ServerNotAllowingNewClients");
    EXPECT_EQ(late.networker.State(), SessionState::ClientDisconnected);
    clients.pop_back();
    alice.networker.SendChatToServer("still here");
    ASSERT_TRUE(RunUntil([&] { return !bob.host.chat.empty(); }));
}

// A player leaving the set-up: the others know who is left before they read what the
// server's game sends on the change, such as a budget the count of players bounds.
TEST_F(SessionTest, ClientsHaveTheNewListBeforeWhatTheServerSendsOnTheChange) {
    JoinBoth();
    server.networker.ProceedToSetup();
    server.host.onPlayersChanged = [&] {
        if (server.networker.Players().size() == 2) server.networker.SendGameSetup(server.host.settings);
    };
    size_t listed = 0;
    alice.host.onSettings = [&] { listed = alice.networker.Players().size(); };
    bob.networker.StopClient();
    clients = {&alice};
    ASSERT_TRUE(RunUntil([&] { return listed != 0; }));
    EXPECT_EQ(listed, 2u);
}

// Whatever listens at the address, a join that ends before the server's answer says why.
TEST(JoinEndTest, AJoinThatEndsBeforeTheAnswerSaysWhetherItWasRefusedLostOrNoGameServer) {
    MessageWriter address;
    address.PutU8(CodeByte(MessageCode::YourAddress));
    address.PutAddress({sock::LoopbackIp(), 1234});
    const struct {
        const char* what;
        std::vector<uint8_t> answer;  // sent, then the connection is closed
        const char* shown;
        SessionState after;
    } cases[] = {
        {"closed without a word", {}, "ServerNotAllowingNewClients", SessionState::ClientDisconnected},
        {"a web server", Bytes("HTTP/1.1 400 Bad Request\r\n\r\n"), "NotAGameServer", SessionState::ClientEntering},
        {"a frame cut off", {12, 0, 0, 0, 1, 2}, "NotAGameServer", SessionState::ClientEntering},
        {"a frame of no message", Frame({200, 1, 2}), "NotAGameServer", SessionState::ClientEntering},
        {"lost after the first answer", Frame(address.Bytes()), "ServerDisconnected", SessionState::ClientDisconnected},
    };
    for (const auto& c : cases) {
        sock::Socket listener;
        ASSERT_TRUE(listener.Listen(0, 4));
        Program client{"alice"};
        client.networker.SetCompression(false);
        client.networker.SetPort(listener.LocalPort());
        client.networker.SetHost("127.0.0.1");
        ASSERT_TRUE(client.networker.StartClient());
        client.networker.SetState(SessionState::ClientEntering);
        ASSERT_TRUE(client.networker.Connect());
        std::unique_ptr<sock::Socket> peer;
        sock::Ipv4Address from;
        ASSERT_TRUE(PumpUntil([&] { return (peer = listener.Accept(from)) != nullptr; }, [&] { client.Step(); }));
        ASSERT_TRUE(
            PumpUntil([&] { return client.networker.State() == SessionState::ClientJoined; }, [&] { client.Step(); }));
        peer->SetNonBlocking(false);
        RawSend(*peer, c.answer);
        peer->ShutdownSend();
        ASSERT_TRUE(PumpUntil([&] { return !client.host.lost.empty(); }, [&] { client.Step(); })) << c.what;
        EXPECT_EQ(client.host.lost, c.shown) << c.what;
        EXPECT_EQ(client.networker.State(), c.after) << c.what;
        EXPECT_FALSE(client.networker.IsClientRunning()) << c.what;
    }
}

TEST_F(SessionTest, FiguresWalkInOnJoiningOutOnLeavingAndStandIdleForTheSetUp) {
    JoinBoth();
    SessionPlayer* left = server.networker.FindPlayer(bob.networker.LocalAddress());
    ASSERT_NE(left, nullptr);
    Player& stays = *server.networker.FindPlayer(alice.networker.LocalAddress())->record;
    EXPECT_EQ(GetPlayerFigure(stays).pose, PlayerFigure::kWalkIn);
    bob.networker.StopClient();
    clients.pop_back();
    ASSERT_TRUE(RunUntil([&] { return left->disconnected; }));
    EXPECT_EQ(GetPlayerFigure(*left->record).pose, PlayerFigure::kWalkOut);
    server.networker.PoseAllFigures();
    EXPECT_EQ(GetPlayerFigure(stays).pose, PlayerFigure::kIdle);
}

TEST_F(SessionTest, TimeSyncHoldsTheClientBackOnlyWhenItsLeadShrank) {
    JoinBoth();
    PlayToBattle();
    for (const auto& [clientClock, expected] : {std::pair{9.9f, 0.9f}, {9.7f, 0.0f}, {10.5f, 1.5f}}) {
        alice.host.correction = -1.0f;
        alice.host.clock = clientClock;
        server.host.clock = 10.0f;
        ASSERT_TRUE(RunUntil([&] { return alice.host.correction >= 0.0f; }));
        EXPECT_NEAR(alice.host.correction, expected, 1e-4f);
    }
}

TEST_F(SessionTest, PlayersOnABusyMachineAreNotTakenForGone) {
    JoinBoth();
    UseTestClock();
    for (Program* program : {&server, &alice, &bob}) program->host.frameTime = 0.001f;
    // Well past the silence limit, one keep-alive interval at a time: each round every
    // program must hear the others again although its frames add up to almost nothing.
    const uint64_t rounds = sock::kPeerSilenceLimitMs / VornsNetworker::kKeepAliveMs + 2;
    for (uint64_t round = 0; round < rounds; ++round) {
        clockMs += VornsNetworker::kKeepAliveMs;
        const uint64_t heardByServer = server.networker.BytesReceivedRaw();
        const uint64_t heardByAlice = alice.networker.BytesReceivedRaw();
        const uint64_t heardByBob = bob.networker.BytesReceivedRaw();
        ASSERT_TRUE(RunUntil([&] {
            return server.networker.BytesReceivedRaw() >= heardByServer + 2 &&
                   alice.networker.BytesReceivedRaw() > heardByAlice && bob.networker.BytesReceivedRaw() > heardByBob;
        })) << "round "
            << round;
    }
    EXPECT_EQ(server.networker.Players().size(), 3u);
    for (const auto& player : server.networker.Players()) EXPECT_FALSE(player->disconnected) << player->name;
    EXPECT_EQ(alice.host.lost, "");
    EXPECT_EQ(bob.host.lost, "");
    alice.networker.SendChatToServer("still here");
    ASSERT_TRUE(RunUntil([&] { return !bob.host.chat.empty(); }));
}

// A serving game that stores the squads sent and places every player's on its field, as
// the network game does.
class PlacingHost : public RecordingHost {
public:
    bool StoreSquads(SessionPlayer& sender, const SquadPayload& payload) override {
        return SquadExchange::Store(sender, payload);
    }
    std::string BuildWorldText() override { return SquadExchange::BuildWorld(*session); }
    VornsNetworker* session = nullptr;
};

class LaunchSessionTest : public units_test::UnitTablesTest {
protected:
    void SetUp() override {
        previous = std::filesystem::current_path();
        std::filesystem::current_path(folder.Path());
        arena = world_test::OpenArena(game);
        host.session = &server;
        server.SetLocalPlayer(&hostRecord, "host", 0xFF112233, 0xFF445566);
        server.SetPort(0);
        ASSERT_TRUE(server.StartServer());
        server.SetState(SessionState::ServerWaiting);
    }
    void TearDown() override {
        server.StopServer();
        hostRecord.squads[0].DestroyMembers();
        world_test::CloseArena(*arena);
        std::filesystem::current_path(previous);
    }
    Vorn* Unit(const char* name) {
        Vorn* unit = arena->NewVorn(0);
        unit->BuildBody(0);
        unit->name = name;
        return unit;
    }
    std::string UnitText(const char* name, bool whole) { return UnitWireText(*arena, name, whole); }
    bool RunUntil(const std::function<bool()>& done) {
        return PumpUntil(done, [&] {
            server.Update();
            server.FlushIfFull(true);
            for (Program* client : {&alice, &bob}) client->Step();
        });
    }

    platform_test::TempFolder folder;
    std::filesystem::path previous;
    UnitGame game;
    std::unique_ptr<Arena> arena;
    Player hostRecord;
    PlacingHost host;
    VornsNetworker server{host};
    Program alice{"alice"};
    Program bob{"bob"};
};

// A field with no dry ground takes no member: each player is told its own members' names,
// the serving player on its screen and a client by the server, and nobody another's.
TEST_F(LaunchSessionTest, EachPlayerIsToldTheNamesOfItsOwnMembersTheFieldHadNoRoomFor) {
    for (Program* client : {&alice, &bob}) {
        client->networker.SetPort(server.ListeningPort());
        client->networker.SetHost("127.0.0.1");
        ASSERT_TRUE(client->networker.StartClient());
        client->networker.SetState(SessionState::ClientEntering);
        ASSERT_TRUE(client->networker.Connect());
    }
    ASSERT_TRUE(RunUntil([&] { return server.Players().size() == 3 && bob.networker.Players().size() == 3; }));
    // Lava but for an island of one point at each launch point.
    Terrain& terrain = arena->GetTerrain();
    for (int i = 0; i < terrain.Width(); ++i) {
        for (int j = 0; j < terrain.Height(); ++j)
            terrain.CellAt(i, j).type = i == j && (i == 4 || i == 12) ? kTerrainGrass : kTerrainLava;
    }
    for (const Vector2& spot : {Vector2(40.0f, 40.0f), Vector2(120.0f, 120.0f)}) {
        LaunchPoint* point = arena->NewLaunchPoint();
        point->SetPoint(spot);
        arena->launchPoints.Append(point);
    }
    constexpr int kMembers = 8;
    for (int i = 0; i < kMembers; ++i) {
        Vorn* unit = Unit("Tank");
        unit->position = Vector3(float(i % 3) * 4.0f, float(i / 3) * 4.0f, 0.0f);
        hostRecord.squads[0].Add(unit);
    }
    std::vector<std::string> sent;
    for (int i = 0; i < kMembers; ++i) sent.push_back(UnitText(i % 2 == 0 ? "Scout" : "Brawler", false));
    host.settings.launchDelay = 1;
    server.ProceedToSetup();
    server.SendGameSetup(host.settings);
    server.SendScenario("terrain text");
    ASSERT_TRUE(RunUntil([&] { return bob.networker.State() == SessionState::ClientSquadSelection; }));
    alice.host.squadsToSend = {{UnitText("Scout", true), UnitText("Brawler", true)}, {sent}};
    alice.networker.SendSquads();
    // Names that come before the world are out of step: read and dropped.
    MessageWriter early;
    early.PutU8(CodeByte(MessageCode::MembersLeftOut));
    early.PutU32(1);
    early.PutText("Early");
    const auto heard = alice.networker.BytesReceivedRaw();
    server.Broadcast(early.Bytes().data(), early.Size());
    ASSERT_TRUE(RunUntil([&] { return alice.networker.BytesReceivedRaw() > heard; }));
    EXPECT_TRUE(alice.networker.MembersLeftOut().empty());
    server.SendSquads();
    ASSERT_TRUE(RunUntil([&] { return bob.networker.State() == SessionState::ClientPlaying; }));

    const std::vector<std::string>& own = server.MembersLeftOut();
    const std::vector<std::string>& alices = alice.networker.MembersLeftOut();
    EXPECT_FALSE(own.empty());
    EXPECT_FALSE(alices.empty());
    EXPECT_EQ(size_t(arena->CountObjectsOfKind(kKindVorn)) + own.size() + alices.size(), size_t(2 * kMembers));
    for (const std::string& name : own) EXPECT_EQ(name, "Tank");
    for (const std::string& name : alices) EXPECT_TRUE(name == "Scout" || name == "Brawler") << name;
    EXPECT_TRUE(bob.networker.MembersLeftOut().empty());
    EXPECT_EQ(alice.networker.ProtocolErrors(), 0u);
    SquadExchange::DeleteNetworkUnitFiles();
}

// A raw peer that speaks the wire format directly.
class HostilePeerTest : public SessionTest {
protected:
    std::unique_ptr<sock::Socket> Raw() {
        auto socket = RawConnect(port);
        EXPECT_NE(socket, nullptr);
        return socket;
    }
    // Plain (uncompressed) frames: the server's compression is off for these tests.
    void SetUp() override {
        SessionTest::SetUp();
        for (Program* program : {&server, &alice, &bob}) program->networker.SetCompression(false);
    }
    bool ClosedByServer(sock::Socket& socket) {
        std::vector<uint8_t> received;
        bool closed = false;
        RunUntil([&] {
            closed = closed || RawReadUntilClosed(socket, received, 5);
            return closed;
        });
        return closed;
    }
};

void ExpectOpaqueAndNoneAlike(const std::vector<std::unique_ptr<SessionPlayer>>& players) {
    for (size_t i = 0; i < players.size(); ++i) {
        EXPECT_EQ(players[i]->colour1 >> 24, 0xFFu) << players[i]->name;
        EXPECT_EQ(players[i]->colour2 >> 24, 0xFFu) << players[i]->name;
        for (size_t j = 0; j < i; ++j)
            EXPECT_FALSE(ColoursLookAlike(players[i]->colour1, players[j]->colour1))
                << players[i]->name << " and " << players[j]->name;
    }
}

std::vector<uint8_t> ClientInfo(const std::string& name, uint32_t colour1 = 1) {
    MessageWriter out;
    out.PutU8(CodeByte(MessageCode::ClientInfo));
    out.PutText(name);
    out.PutU32(colour1);
    out.PutU32(2);
    return out.Bytes();
}

TEST_F(HostilePeerTest, UnreadableMessagesCloseOnlyTheirSender) {
    Join(alice);
    clients = {&alice};
    ASSERT_TRUE(RunUntil([&] { return server.networker.Players().size() == 2; }));

    std::vector<std::vector<uint8_t>> bad = {
        {CodeByte(MessageCode::ClientInfo), 0xFF, 0xFF, 0xFF, 0x7F},    // a name longer than the frame
        {200},                                                          // an unknown code
        {CodeByte(MessageCode::ClientSquads), 0xFF, 0xFF, 0xFF, 0xFF},  // four billion unit files
    };
    MessageWriter nan;
    nan.PutU8(CodeByte(MessageCode::TimeSync));  // misrouted, and not a number
    nan.PutF32(std::numeric_limits<float>::quiet_NaN());
    bad.push_back(nan.Bytes());
    platform_test::LogLines log;
    for (const auto& payload : bad) {
        auto peer = Raw();
        RawSend(*peer, Frame(payload));
        EXPECT_TRUE(ClosedByServer(*peer)) << int(payload[0]);
    }
    EXPECT_EQ(server.networker.ProtocolErrors(), bad.size());
    // The log writes each address one way, as the player list does.
    EXPECT_TRUE(log.HasLineWith({"an unknown code", "from 127.0.0.1:"})) << log.Text();
    EXPECT_EQ(server.networker.Players().size(), 2u);
    alice.networker.SendChatToServer("served on");
    ASSERT_TRUE(RunUntil([&] { return !alice.host.chat.empty(); }));
}

TEST_F(HostilePeerTest, MisroutedAndEarlyMessagesAreReadAndIgnored) {
    auto peer = Raw();
    MessageWriter frame;
    frame.PutU8(CodeByte(MessageCode::KeepAlive));
    frame.PutU8(CodeByte(MessageCode::ChatToServer));  // before introducing itself
    frame.PutText("who am I");
    frame.PutU8(CodeByte(MessageCode::World));  // a server's message: read to the end
    frame.PutText("not a world");
    RawSend(*peer, Frame(frame.Bytes()));
    MessageWriter early;
    early.PutU8(CodeByte(MessageCode::WorldAck));
    early.PutU8(CodeByte(MessageCode::SignalRequest));
    early.PutAddress({1, 2});
    early.PutU32(0);
    early.PutU8(1);
    const auto info = ClientInfo("../../evil\nname that is much longer than thirty-two bytes");
    early.PutBytes(info.data(), info.size());
    early.PutU8(CodeByte(MessageCode::SetupAck));  // wrong state: ignored
    early.PutU8(CodeByte(MessageCode::ChatToServer));
    early.PutText("now I am");
    RawSend(*peer, Frame(early.Bytes()));
    ASSERT_TRUE(RunUntil([&] { return server.networker.Players().size() == 2 && !server.host.chat.empty(); }));
    // The line from before the introduction reached nobody.
    EXPECT_EQ(server.host.chat, std::vector<std::string>{"../../evil?name that is much lon: now I am"});
    EXPECT_TRUE(server.host.signals.empty());
    EXPECT_EQ(server.networker.Players()[1]->name, "../../evil?name that is much lon");
    EXPECT_FALSE(server.networker.Players()[1]->setupAcknowledged);
    EXPECT_EQ(server.networker.ProtocolErrors(), 0u);
}

// Peers a program can send what the customise sliders cannot: a colour one step from the
// host's, one see-through, a name of letters the font has no glyph for, in black beside
// the host's dark blue. Each goes by a colour like nobody's, opaque, and a name that shows.
TEST_F(HostilePeerTest, LookAlikeSeeThroughAndUndrawableJoinersGetAColourAndNameOfTheirOwn) {
    const struct {
        std::string name;
        uint32_t colour;
    } joiners[] = {{"Near", 0xFF122233}, {"Ghost", 0x0000FF00}, {"\xE9\xE8", 0xFF000000}};
    std::vector<std::unique_ptr<sock::Socket>> peers;
    for (const auto& joiner : joiners) {
        peers.push_back(Raw());
        RawSend(*peers.back(), Frame(ClientInfo(joiner.name, joiner.colour)));
        ASSERT_TRUE(RunUntil([&] { return server.networker.Players().size() == peers.size() + 1; }));
    }
    const auto& players = server.networker.Players();
    EXPECT_EQ(players[1]->name, "Near");
    EXPECT_EQ(players[2]->colour1, 0xFF00FF00u) << "a colour nobody wears stays the joiner's own";
    EXPECT_EQ(players[3]->name, "Player 4");
    EXPECT_EQ(server.host.status.back(), "Player 4 entered the game.");
    ExpectOpaqueAndNoneAlike(players);
}

// The host in a new profile's purple and five joiners keeping colours of their own cover
// every spare colour: a sixth in the fifth's green still gets a colour like nobody's.
TEST_F(HostilePeerTest, AJoinerGetsAColourLikeNobodysWhenThePlayersCoverEverySpareOne) {
    server.networker.SetLocalPlayer(nullptr, "host", 0xFFA064C8, 0xFF445566);
    const uint32_t colours[] = {0xFF28BEE6, 0xFFF0B41E, 0xFFBE4B32, 0xFFD291B4, 0xFF28C850, 0xFF28C850};
    std::vector<std::unique_ptr<sock::Socket>> peers;
    for (const uint32_t colour : colours) {
        peers.push_back(Raw());
        RawSend(*peers.back(), Frame(ClientInfo("P" + std::to_string(peers.size()), colour)));
        ASSERT_TRUE(RunUntil([&] { return server.networker.Players().size() == peers.size() + 1; }));
    }
    const auto& players = server.networker.Players();
    for (size_t i = 0; i < 5; ++i) EXPECT_EQ(players[i + 1]->colour1, colours[i]) << players[i + 1]->name;
    ExpectOpaqueAndNoneAlike(players);
}

TEST_F(HostilePeerTest, ConnectionsThatNeverIntroduceThemselvesCannotKeepPlayersOut) {
    // The fixture's clock: the server reads it until it is destroyed, after this body.
    clockMs = 1000;
    server.networker.SetClock([this] { return clockMs; });
    std::vector<std::unique_ptr<sock::Socket>> silent;
    MessageWriter keepAlive;
    keepAlive.PutU8(CodeByte(MessageCode::KeepAlive));
    for (int i = 0; i < sock::kMaxServerConnections; ++i) {
        silent.push_back(Raw());
        RawSend(*silent.back(), Frame(keepAlive.Bytes()));
    }
    ASSERT_TRUE(RunUntil([&] { return server.networker.BytesReceivedRaw() == silent.size(); }));
    // Every slot is held: a player takes the slot of the connection silent longest.
    Join(alice);
    clients = {&alice};
    ASSERT_TRUE(RunUntil([&] { return server.networker.Players().size() == 2; }));
    EXPECT_TRUE(ClosedByServer(*silent[0]));
    // The rest lose theirs once the introduction limit has passed, talking or not.
    clockMs += sock::kIntroductionLimitMs - 1;
    for (size_t i = 1; i < silent.size(); ++i) RawSend(*silent[i], Frame(keepAlive.Bytes()));
    server.Step();
    clockMs += 1;
    for (size_t i = 1; i < silent.size(); ++i) EXPECT_TRUE(ClosedByServer(*silent[i])) << i;
    Join(bob);
    clients = {&alice, &bob};
    ASSERT_TRUE(RunUntil([&] { return server.networker.Players().size() == 3; }));
}

TEST_F(HostilePeerTest, ASignalRequestSetsOnlyTheSendersOwnSignal) {
    Join(alice);
    clients = {&alice};
    ASSERT_TRUE(RunUntil([&] { return server.networker.Players().size() == 2; }));
    alice.networker.SendSignalRequest(1, true);
    ASSERT_TRUE(RunUntil([&] { return !server.host.signals.empty(); }));
    EXPECT_EQ(server.host.signals[0], "alice 2 on");
}

TEST_F(HostilePeerTest, AHostileServerCannotFloodCrashOrSteerAClient) {
    Join(alice);
    clients = {&alice};
    ASSERT_TRUE(RunUntil([&] { return alice.networker.State() == SessionState::ClientWaiting; }));
    MessageWriter list;  // a player list that claims more players than a session holds
    list.PutU8(CodeByte(MessageCode::PlayerList));
    list.PutU32(1000);
    server.networker.Broadcast(list.Bytes().data(), list.Size());
    MessageWriter action;  // an action kind out of range, then a line that must not be read
    action.PutU8(CodeByte(MessageCode::VornAction));
    action.PutF32(1.0f);
    action.PutU32(16);
    action.PutU8(CodeByte(MessageCode::StatusLine));
    action.PutText("never shown");
    server.networker.Broadcast(action.Bytes().data(), action.Size());
    MessageWriter names;  // more names left out than every squad holds
    names.PutU8(CodeByte(MessageCode::MembersLeftOut));
    names.PutU32(VornsNetworker::kMaxMembersLeftOut + 1);
    for (uint32_t i = 0; i <= VornsNetworker::kMaxMembersLeftOut; ++i) names.PutText("Scout");
    server.networker.Broadcast(names.Bytes().data(), names.Size());
    ASSERT_TRUE(RunUntil([&] { return alice.networker.ProtocolErrors() == 3; }));
    EXPECT_EQ(alice.networker.Players().size(), 2u);
    EXPECT_EQ(alice.host.status.size(), 1u);  // only "alice entered the game."

    // Messages of later steps of the session, to a client waiting in the lobby: each is
    // read and dropped, and what comes after them is still heard.
    platform_test::LogLines log;
    const size_t statesBefore = alice.host.states.size();
    const sock::Ipv4Address address = alice.networker.LocalAddress();
    MessageWriter noise;
    noise.PutU8(CodeByte(MessageCode::YourAddress));
    noise.PutAddress({0x0E07A58A, 42092});
    for (const MessageCode code : {MessageCode::ReplayGame, MessageCode::StartGame, MessageCode::BackToWaiting})
        noise.PutU8(CodeByte(code));
    noise.PutU8(CodeByte(MessageCode::SquadSelection));
    noise.PutU32(2500);
    noise.PutU32(4);
    noise.PutU8(CodeByte(MessageCode::Countdown));
    noise.PutU32(0);
    noise.PutU8(CodeByte(MessageCode::TimeSync));
    noise.PutF32(5.0f);
    noise.PutU8(CodeByte(MessageCode::MembersLeftOut));
    noise.PutU32(1);
    noise.PutText("Scout");
    noise.PutU8(CodeByte(MessageCode::Scenario));  // it takes the rest of the frame
    noise.PutText("a terrain");
    server.networker.Broadcast(noise.Bytes().data(), noise.Size());
    server.networker.SendStatusLine("still waiting");
    ASSERT_TRUE(RunUntil([&] { return alice.host.status.back() == "still waiting"; }));
    EXPECT_EQ(alice.networker.State(), SessionState::ClientWaiting);
    EXPECT_EQ(alice.host.states.size(), statesBefore);
    EXPECT_EQ(alice.networker.LocalAddress(), address);
    EXPECT_EQ(alice.host.battlesStarted + alice.host.squadBudget, 0);
    EXPECT_EQ(alice.host.correction, -1.0f);
    EXPECT_EQ(alice.host.scenario, "");
    EXPECT_TRUE(alice.networker.MembersLeftOut().empty());
    EXPECT_EQ(alice.networker.ProtocolErrors(), 3u);
    EXPECT_TRUE(log.HasLineWith({"message(s) from", "that do not fit state 11", "dropped"})) << log.Text();
}

}  // namespace
