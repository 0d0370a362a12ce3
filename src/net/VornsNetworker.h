#pragma once
// The game's session protocol over the framed transport. The server is the authority:
// it keeps the player list, sends the set-up, gathers every player's squads, sends the
// starting world and then every change of the battle, stamped with its clock; the
// clients replay those changes when their own, deliberately late, clock reaches them.
//
// Everything a peer sends is untrusted: a message that cannot be read drops the rest of
// its frame, and on the server closes that client; the others go on being served.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "net/MessageReader.h"
#include "net/MessageWriter.h"
#include "net/NetworkEventSchedule.h"
#include "net/NetworkSessionHost.h"
#include "net/Networker.h"
#include "net/SessionPlayer.h"
#include "net/SessionState.h"

class VornsNetworker : public Networker {
public:
    // A batch goes out once it passes this many bytes (less when uncompressed).
    static constexpr size_t kBatchBytesCompressed = 1280;
    static constexpr size_t kBatchBytesPlain = 1024;
    // A keep-alive goes out after this many seconds of frames, or of the clock (a busy
    // machine's frames are short while the clock, and the peer's patience, run on).
    static constexpr float kKeepAliveSeconds = 60.0f;
    static constexpr uint64_t kKeepAliveMs = 60000;
    static constexpr float kTimeSyncSeconds = 1.0f;
    static constexpr float kLingerSeconds = 2.0f;
    // A client's clock runs this far behind the server's.
    static constexpr float kClientLagSeconds = 1.0f;
    static constexpr float kLeadToCorrect = 0.25f;
    static constexpr uint32_t kMaxSquadMembers = 1000;
    // The names of a player's members a launch left out: at most every member of every
    // squad, each name as long as a unit file's.
    static constexpr uint32_t kMaxMembersLeftOut = NetworkMatchSettings::kMaxSquads * kMaxSquadMembers;
    static constexpr size_t kMaxUnitNameBytes = 64;
    static constexpr const char* kBlankNameStem = "Player";

    explicit VornsNetworker(NetworkSessionHost& host);
    ~VornsNetworker() override;

    // The local player's name and colours, sent when joining and listed when serving.
    void SetLocalPlayer(Player* record, const std::string& name, uint32_t colour1, uint32_t colour2);

    bool StartClient() override;
    void StopClient() override;
    // Serves on the configured port with room for eight peers; the local player becomes
    // the server's player {0, port}.
    bool StartServer();
    void StopServer() override;
    bool OnConnect(uint32_t ip, uint16_t port) override;
    void OnDisconnect(uint32_t ip, uint16_t port) override;
    // With every slot taken, the connection that has waited longest without saying who it
    // is makes room for a newcomer.
    int ConnectionToYield() override;
    void Receive(const uint8_t* data, size_t length, uint32_t ip, uint16_t port) override;
    // Starts joining without waiting; false when the connect could not even begin. Once
    // the connection is up the local player is introduced. A connection not taken within
    // kConnectBudgetMs, or refused, is given up through the host's ConnectFailed; a server
    // that does not answer the introduction within kJoinAnswerLimitMs through
    // JoinGivenUp("ServerDidNotAnswer"). Either way the client stops and is back at the
    // join screen.
    bool Connect() override;
    // Connecting, or connected and waiting for the server's answer.
    bool Joining() const;
    // Milliseconds until the current step of a join (the connection, then the answer) is
    // given up; 0 when not joining.
    uint64_t JoinAnswerLeftMs() const;
    // Once per frame: the transport, the keep-alive and the session's state step.
    void Update();

    // Stores the state and lets the game open its screens.
    void SetState(SessionState state);
    SessionState State() const { return state_; }

    // --- the outgoing batch
    void PutByte(uint8_t value) { out_.PutU8(value); }
    MessageWriter& Out() { return out_; }
    void Flush();
    void FlushIfFull(bool force);

    // --- what the screens and the game ask for
    // Server: the waiting screen proceeds to the set-up.
    void ProceedToSetup();
    // Server: the set-up screen starts the game with the chosen terrain.
    void SendScenario(const std::string& terrainText);
    void SendGameSetup(const NetworkMatchSettings& settings);
    void SendOpenSetup();
    void SendBackToWaiting();
    void SendReplayRequest();
    void SendChatToServer(const std::string& line);
    // Server: a line typed here or received from a client, shown here and sent to all.
    void SendChatLine(const sock::Ipv4Address& speaker, const std::string& line);
    // Server: a status line shown here and on every client.
    void SendStatusLine(const std::string& line);
    // The squads are confirmed, or the countdown ran out.
    void SendSquads();
    void SendSignalRequest(uint32_t which, bool on);
    // Server: a timed battle event for every client; Signal and Results go at once.
    void SendTimedEvent(const NetworkEvent& event);
    // Server, while the world is built: the members of the player's squads the launch
    // found no room for. Once the world is out each player is told its own alone: the
    // serving player here, a client by a message to it (which it shows once its world
    // is built).
    void NoteMembersLeftOut(const SessionPlayer& player, const std::vector<std::string>& names);
    // The local player's members the last launch left out.
    const std::vector<std::string>& MembersLeftOut() const { return membersLeftOut_; }

    // Server: drops the disconnected players whose linger time ran out (all of them when
    // forced), then tells everyone the new list.
    void RemoveDisconnected(bool force);
    // Client: the due events of the frame are applied.
    void ApplyDueEvents();
    void DiscardPending() { schedule_.DiscardPending(); }

    const std::vector<std::unique_ptr<SessionPlayer>>& Players() const { return players_; }
    SessionPlayer* FindPlayer(const sock::Ipv4Address& address) const;
    SessionPlayer* LocalPlayer() const;
    const sock::Ipv4Address& LocalAddress() const { return localAddress_; }
    // "(" address ")" per player, or the server's text for the server.
    std::vector<std::string> PlayerLabels(const std::string& leftParen, const std::string& rightParen,
                                          const std::string& serverText) const;
    bool AllPlayers(bool SessionPlayer::*flag) const;
    // The set-up screen opens: every figure stands idle.
    void PoseAllFigures();
    // The battlefield takes the replay's scenario; with no replay named (nothing names
    // one yet) it is only cleared.
    void StartReplay();

    const std::string& StatusText() const { return statusText_; }
    float Countdown() const { return countdown_; }
    bool CountdownRunning() const { return countdownRunning_; }
    void HideCountdown() { countdownRunning_ = false; }
    uint64_t BytesFlushed() const { return bytesFlushed_; }
    uint64_t MessagesSent() const { return messagesSent_; }
    size_t PendingEvents() const { return schedule_.PendingCount(); }
    // Frames dropped because a peer's message could not be read.
    uint32_t ProtocolErrors() const { return protocolErrors_; }

private:
    struct Sender {
        int connection = -1;
        sock::Ipv4Address address;
        SessionPlayer* player = nullptr;
        // Client: messages of the frame dropped for not fitting the session's state.
        uint32_t outOfStep = 0;
        uint8_t firstOutOfStep = 0;
    };

    bool IsServer() const { return IsServerRunning(); }
    void ResetSession();
    SessionPlayer& AddPlayer(const sock::Ipv4Address& address);
    std::unique_ptr<Player> FreshRecord();
    // A leaving peer's record, kept for the next peer's textures.
    void RetireRecord(std::unique_ptr<Player> record);
    void RemovePlayerAt(size_t index);
    // Every player goes, each peer's record taking its figure along.
    void ForgetPlayers();
    void PoseFigure(SessionPlayer& player, int32_t pose);
    // What a joiner goes by in this game: his own name and colour unless blank (nothing the
    // font draws) or already taken by a player present, then "Player <place>", "<name> 2",
    // or a colour like nobody's. Colours are made opaque.
    std::string NameForJoiner(const std::string& wanted) const;
    uint32_t ColourForJoiner(uint32_t wanted) const;
    void TakeServerIdentity(const SessionPlayer& local);
    void AfterListChanged();

    // One message: false ends the frame (an error, or a refused client).
    bool HandleMessage(uint8_t code, MessageReader& in, Sender& sender);
    bool HandleServerMessage(uint8_t code, MessageReader& in, Sender& sender);
    bool HandleClientMessage(uint8_t code, MessageReader& in);
    bool HandleClientInfo(MessageReader& in, Sender& sender);
    bool HandleChatToServer(MessageReader& in, const Sender& sender);
    bool HandleClientSquads(MessageReader& in, const Sender& sender);
    bool HandleSignalRequest(MessageReader& in, const Sender& sender);
    bool HandlePlayerList(MessageReader& in);
    bool HandlePlayerFlags(MessageReader& in);
    bool HandleGameSetup(MessageReader& in);
    bool HandleChatLine(MessageReader& in);
    bool HandleCountdown(MessageReader& in);
    bool HandleTimedEvent(uint8_t code, MessageReader& in);
    bool HandleMembersLeftOut(MessageReader& in);
    // Server: after the world, every player with members left out is told their names.
    void TellMembersLeftOut();
    // Reads and discards a known message meant for the other role.
    bool SkipMessage(uint8_t code, MessageReader& in, Sender& sender);
    void ProtocolError(const Sender& sender, const char* what, uint8_t code);

    void SendKeepAliveWhenDue(float frameTime);
    void ServerStep(float frameTime);
    void ForgetStranger(const sock::Ipv4Address& address);
    bool JoinEnded();
    void CloseSilentStrangers();
    void ClientStep(float frameTime);
    void StepCountdown(float frameTime);
    void SendPlayerList();
    void SendPlayerFlags();
    void SendYourAddress(int connection, const sock::Ipv4Address& address);
    void SendCode(uint8_t code);
    void ShowLine(const sock::Ipv4Address& speaker, const std::string& line);

    NetworkSessionHost& host_;
    SessionState state_ = SessionState::Idle;
    std::vector<std::unique_ptr<SessionPlayer>> players_;
    std::vector<std::unique_ptr<Player>> spareRecords_;
    // Server: connections that have not introduced themselves yet, and since when.
    std::vector<std::pair<sock::Ipv4Address, uint64_t>> strangers_;
    sock::Ipv4Address localAddress_;
    Player* localRecord_ = nullptr;
    std::string localName_;
    uint32_t localColour1_ = 0xFFFFFFFF;
    uint32_t localColour2_ = 0xFFFFFFFF;
    MessageWriter out_;
    MessageWriter unicast_;  // messages for one connection, kept out of the shared batch
    NetworkEventSchedule schedule_;
    NetworkEvent scratchEvent_;
    std::string statusText_;
    // Server: the names noted for each player while the world was built.
    std::vector<std::pair<sock::Ipv4Address, std::vector<std::string>>> leftOutByPlayer_;
    std::vector<std::string> membersLeftOut_;
    // A client's: the world has come and the battle has not started yet, the one time the
    // names of members left out belong to.
    bool worldHeld_ = false;
    std::string replayName_;
    float syncTimer_ = 0.0f;
    float keepAliveTimer_ = 0.0f;
    uint64_t keepAliveSentMs_ = 0;
    uint64_t joinedAtMs_ = 0;  // when the current step of a join began
    bool connecting_ = false;  // a connect begun, not yet up
    float countdown_ = 0.0f;
    bool countdownRunning_ = false;
    int32_t lastCountdownSent_ = -1;
    uint64_t bytesFlushed_ = 0;
    uint64_t messagesSent_ = 0;
    uint32_t protocolErrors_ = 0;
};

// Two players' colours look alike: near one another as colours, or as the lifted shades
// their names are written in. Alpha does not count: every colour is drawn opaque.
bool ColoursLookAlike(uint32_t a, uint32_t b);
// Names and lines from peers: at most maxBytes, control bytes shown as '?'.
std::string CleanPeerText(const std::string& text, size_t maxBytes);
