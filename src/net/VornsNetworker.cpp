#include "net/VornsNetworker.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <initializer_list>
#include <iterator>

#include "core/Color.h"
#include "core/Debugger.h"
#include "engine/Font.h"
#include "modes/PlayerFigure.h"
#include "net/MessageCode.h"
#include "net/NetworkEventCodec.h"
#include "platform/net/NetLimits.h"
#include "world/Arena.h"

namespace {

constexpr size_t kPlayerEntryBytes = 6 + 4 + 4 + 4;
constexpr size_t kFlagEntryBytes = 6 + 1;
constexpr size_t kTextBytes = 4;
constexpr uint32_t kOpaque = 0xFF000000;
const sock::Ipv4Address kServerAddress{0, sock::kGamePort};

void Log(const std::string& text) { Debugger::Instance().Line(text); }

bool IsServerCode(uint8_t code) {
    switch (static_cast<MessageCode>(code)) {
        case MessageCode::ClientInfo:
        case MessageCode::ChatToServer:
        case MessageCode::ClientSquads:
        case MessageCode::SetupAck:
        case MessageCode::WorldAck:
        case MessageCode::SignalRequest: return true;
        default: return false;
    }
}

bool HasNoFields(uint8_t code) {
    switch (static_cast<MessageCode>(code)) {
        case MessageCode::ReplayGame:
        case MessageCode::OpenSetup:
        case MessageCode::BackToWaiting:
        case MessageCode::SetupAck:
        case MessageCode::WorldAck:
        case MessageCode::StartGame:
        case MessageCode::KeepAlive: return true;
        default: return false;
    }
}

// Whether a message of the server's can come while the client is in the state, as the
// session goes from joining through the set-up, the squads and the battle to the results.
// The player list, chat and status lines come at any time; timed battle events are left
// to their own test.
bool FitsClientState(uint8_t code, SessionState state) {
    using S = SessionState;
    const auto in = [state](std::initializer_list<S> states) {
        return std::find(states.begin(), states.end(), state) != states.end();
    };
    switch (static_cast<MessageCode>(code)) {
        // The list of an earlier joiner can come before this client's own answer.
        case MessageCode::YourAddress: return in({S::ClientJoined, S::ClientWaiting});
        // A replay set up on the server's results screen can overtake this client's own
        // end of the battle.
        case MessageCode::ReplayGame: return in({S::ClientPlaying, S::ClientResults});
        case MessageCode::OpenSetup:
        case MessageCode::GameSetup:
            return in({S::ClientWaiting, S::ClientSetup, S::ClientScenarioLoaded, S::ClientSquadSelection,
                       S::ClientSquadsSent});
        case MessageCode::BackToWaiting:
        case MessageCode::Scenario: return state == S::ClientSetup;
        case MessageCode::SquadSelection: return state == S::ClientScenarioLoaded;
        case MessageCode::PlayerFlags:
        case MessageCode::Countdown: return in({S::ClientSquadSelection, S::ClientSquadsSent});
        case MessageCode::World:
        case MessageCode::MembersLeftOut:
        case MessageCode::StartGame: return state == S::ClientSquadsSent;
        case MessageCode::TimeSync: return state == S::ClientPlaying;
        default: return true;
    }
}

struct PlayerEntry {
    sock::Ipv4Address address;
    std::string name;
    uint32_t colour1 = 0;
    uint32_t colour2 = 0;
};

std::vector<PlayerEntry> ReadPlayerList(MessageReader& in) {
    std::vector<PlayerEntry> entries;
    const uint32_t count = in.ReadU32();
    if (count > static_cast<uint32_t>(sock::kMaxNetworkPlayers) || !in.CanHold(count, kPlayerEntryBytes)) {
        in.Fail();
        return entries;
    }
    entries.resize(count);
    for (PlayerEntry& entry : entries) {
        entry.address = in.ReadAddress();
        entry.name = CleanPeerText(in.ReadText(sock::kMaxPeerNameBytes), sock::kMaxPeerNameBytes);
        // Every colour is drawn opaque, whatever a server's list says.
        entry.colour1 = in.ReadU32() | kOpaque;
        entry.colour2 = in.ReadU32() | kOpaque;
    }
    return entries;
}

std::vector<std::pair<sock::Ipv4Address, bool>> ReadPlayerFlags(MessageReader& in) {
    std::vector<std::pair<sock::Ipv4Address, bool>> flags;
    const uint32_t count = in.ReadU32();
    if (count > static_cast<uint32_t>(sock::kMaxNetworkPlayers) || !in.CanHold(count, kFlagEntryBytes)) {
        in.Fail();
        return flags;
    }
    flags.resize(count);
    for (auto& [address, ready] : flags) {
        address = in.ReadAddress();
        ready = in.ReadU8() != 0;
    }
    return flags;
}

NetworkMatchSettings ReadSettings(MessageReader& in) {
    NetworkMatchSettings settings;
    settings.scenario = in.ReadText(NetworkMatchSettings::kMaxScenarioBytes);
    settings.budget = static_cast<int32_t>(std::min<uint32_t>(in.ReadU32(), INT32_MAX));
    settings.squadCount = in.ReadU32();
    settings.launchDelay = in.ReadU32();
    settings.meteorDelay = in.ReadU32();
    settings.rules = in.ReadU32();
    settings.soccerGoalCount = in.ReadU32();
    settings.soccerBallCount = in.ReadU32();
    settings.soccerNetCount = in.ReadU32();
    settings.gameTimer = in.ReadU32();
    settings.vipCount = in.ReadU32();
    settings.weaponsAllowed = in.ReadU8();
    settings.boostCount = in.ReadU32();
    return settings;
}

bool ReadTexts(MessageReader& in, uint32_t limit, std::vector<std::string>& texts) {
    const uint32_t count = in.ReadU32();
    if (count > limit || !in.CanHold(count, kTextBytes)) {
        in.Fail();
        return false;
    }
    texts.resize(count);
    for (std::string& text : texts) text = in.ReadText(sock::kMaxFrameBytes);
    return !in.Failed();
}

// The names of members left out, each cut to a unit file name's length and shown as
// peer text; none when the count is past the cap or the frame cannot hold it.
std::vector<std::string> ReadMemberNames(MessageReader& in) {
    std::vector<std::string> names;
    if (!ReadTexts(in, VornsNetworker::kMaxMembersLeftOut, names)) return {};
    for (std::string& name : names)
        name = CleanPeerText(name, VornsNetworker::kMaxUnitNameBytes);
    return names;
}

SquadPayload ReadSquadPayload(MessageReader& in) {
    SquadPayload payload;
    if (!ReadTexts(in, static_cast<uint32_t>(sock::kMaxUnitFilesPerExchange), payload.unitFiles)) return payload;
    const uint32_t squads = in.ReadU32();
    if (squads > NetworkMatchSettings::kMaxSquads || !in.CanHold(squads, kTextBytes)) {
        in.Fail();
        return payload;
    }
    payload.squads.resize(squads);
    for (auto& members : payload.squads) {
        if (!ReadTexts(in, VornsNetworker::kMaxSquadMembers, members)) break;
    }
    return payload;
}

// How far apart two colours look: the distance of their red, green and blue weighted by
// the mean red ("redmean"), squared and times 256 to stay in integers. Alpha aside.
constexpr int64_t SeenDistanceSquared(uint32_t a, uint32_t b) {
    const int64_t r1 = (a >> 16) & 0xFF, g1 = (a >> 8) & 0xFF, b1 = a & 0xFF;
    const int64_t r2 = (b >> 16) & 0xFF, g2 = (b >> 8) & 0xFF, b2 = b & 0xFF;
    const int64_t meanRed = (r1 + r2) / 2;
    return (512 + meanRed) * (r1 - r2) * (r1 - r2) + 1024 * (g1 - g2) * (g1 - g2) +
           (767 - meanRed) * (b1 - b2) * (b1 - b2);
}

// Colours nearer than this pass for one another: a step or two on the sliders, or two
// purples a player tells apart only side by side (on a scale where black to white is 765).
constexpr int64_t kLookAlikeDistance = 100;
constexpr int64_t kLookAlikeSquared = kLookAlikeDistance * kLookAlikeDistance * 256;

// A joiner whose colour looks like one another player already wears is given the first
// of these that looks like nobody's: far apart from one another and from a new
// profile's purple, and enough for every player a server takes.
constexpr uint32_t kNewProfilePurple = 0xFFA064C8;
constexpr uint32_t kSessionColours[] = {0xFFF08C14, 0xFF1EA0F0, 0xFFF0DC28, 0xFF28C850, 0xFFE63232,
                                        0xFF32DCDC, 0xFFF06EB4, 0xFF966432, 0xFFB4B4B4};
static_assert(std::size(kSessionColours) >= sock::kMaxNetworkPlayers);

constexpr bool SessionColoursStandApart() {
    for (size_t i = 0; i < std::size(kSessionColours); ++i) {
        if (SeenDistanceSquared(kSessionColours[i], kNewProfilePurple) < kLookAlikeSquared) return false;
        for (size_t j = i + 1; j < std::size(kSessionColours); ++j) {
            if (SeenDistanceSquared(kSessionColours[i], kSessionColours[j]) < kLookAlikeSquared) return false;
        }
    }
    return true;
}
static_assert(SessionColoursStandApart());

// What a player's name and chat lines are written in: the colour, lifted when dark.
uint32_t TextShade(uint32_t colour) { return ReadableTextColour(Color(colour), Color(kOpaque)).argb; }

// Two dark colours far enough apart may still be written in the same grey.
int64_t ShownDistanceSquared(uint32_t a, uint32_t b) {
    return std::min(SeenDistanceSquared(a, b), SeenDistanceSquared(TextShade(a), TextShade(b)));
}

// Steps of red, green and blue for the shades a joiner is given when every spare colour
// looks like a player's: fine enough that nine players always leave one free.
constexpr uint32_t kShadeStep = 17;

// Only what the font draws: a name of letters it has no glyph for would show as nothing.
std::string Drawable(const std::string& text) {
    std::string drawable;
    for (const char c : text) {
        if (Font::IsPrintable(static_cast<unsigned char>(c))) drawable += c;
    }
    return drawable;
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

void PutTexts(MessageWriter& out, const std::vector<std::string>& texts) {
    out.PutU32(static_cast<uint32_t>(texts.size()));
    for (const std::string& text : texts) out.PutText(text);
}

}  // namespace

bool ColoursLookAlike(uint32_t a, uint32_t b) { return ShownDistanceSquared(a, b) < kLookAlikeSquared; }

std::string CleanPeerText(const std::string& text, size_t maxBytes) {
    std::string clean = text.substr(0, maxBytes);
    for (char& c : clean) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) c = '?';
    }
    return clean;
}

VornsNetworker::VornsNetworker(NetworkSessionHost& host) : host_(host) { ResetSession(); }

VornsNetworker::~VornsNetworker() {
    if (IsClientRunning()) Networker::StopClient();
    if (IsServerRunning()) Networker::StopServer();
    ForgetPlayers();
}

void VornsNetworker::SetLocalPlayer(Player* record, const std::string& name, uint32_t colour1, uint32_t colour2) {
    localRecord_ = record;
    localName_ = CleanPeerText(name, sock::kMaxPeerNameBytes);
    localColour1_ = colour1 | kOpaque;
    localColour2_ = colour2 | kOpaque;
    if (SessionPlayer* local = LocalPlayer()) {
        local->record = record;
        local->name = localName_;
        local->colour1 = localColour1_;
        local->colour2 = localColour2_;
    }
}

void VornsNetworker::ResetSession() {
    ForgetPlayers();
    auto local = std::make_unique<SessionPlayer>();
    local->local = true;
    local->address = localAddress_;
    local->name = localName_;
    local->colour1 = localColour1_;
    local->colour2 = localColour2_;
    local->record = localRecord_;
    if (localRecord_ != nullptr) localRecord_->networkName = String();
    players_.push_back(std::move(local));
    out_.Clear();
    unicast_.Clear();
    schedule_.DiscardPending();
    statusText_.clear();
    leftOutByPlayer_.clear();
    membersLeftOut_.clear();
    syncTimer_ = keepAliveTimer_ = countdown_ = 0.0f;
    keepAliveSentMs_ = Now();
    countdownRunning_ = false;
    lastCountdownSent_ = -1;
}

bool VornsNetworker::StartClient() {
    localAddress_ = {};
    ResetSession();
    PoseFigure(*LocalPlayer(), PlayerFigure::kWalkIn);
    return Networker::StartClient();
}

void VornsNetworker::StopClient() {
    connecting_ = false;
    Networker::StopClient();
    schedule_.DiscardPending();
}

bool VornsNetworker::StartServer() {
    localAddress_ = kServerAddress;
    ResetSession();
    strangers_.clear();
    if (!Networker::StartServer(sock::kMaxServerConnections)) return false;
    PoseFigure(*LocalPlayer(), PlayerFigure::kWalkIn);
    return true;
}

void VornsNetworker::StopServer() {
    Networker::StopServer();
    host_.UpdateLobby();
}

bool VornsNetworker::Connect() {
    if (connecting_ || !BeginConnect()) return false;
    connecting_ = true;
    joinedAtMs_ = Now();
    return true;
}

bool VornsNetworker::Joining() const {
    return IsClientRunning() && (connecting_ || state_ == SessionState::ClientJoined);
}

uint64_t VornsNetworker::JoinAnswerLeftMs() const {
    if (!Joining()) return 0;
    const uint64_t limit = connecting_ ? sock::kConnectBudgetMs : sock::kJoinAnswerLimitMs;
    const uint64_t waited = Now() - joinedAtMs_;
    return waited >= limit ? 0 : limit - waited;
}

bool VornsNetworker::OnConnect(uint32_t ip, uint16_t port) {
    if (!IsServer()) {
        if (!connecting_) return true;
        connecting_ = false;
        out_.PutU8(CodeByte(MessageCode::ClientInfo));
        out_.PutText(localName_);
        out_.PutU32(localColour1_);
        out_.PutU32(localColour2_);
        Flush();
        joinedAtMs_ = Now();
        SetState(SessionState::ClientJoined);
        return true;
    }
    if (state_ != SessionState::ServerWaiting) return false;
    strangers_.emplace_back(sock::Ipv4Address{ip, port}, Now());
    return true;
}

void VornsNetworker::ForgetStranger(const sock::Ipv4Address& address) {
    std::erase_if(strangers_, [&address](const auto& stranger) { return stranger.first == address; });
}

int VornsNetworker::ConnectionToYield() {
    for (auto stranger = strangers_.begin(); stranger != strangers_.end(); ++stranger) {
        const int connection = FindConnection(stranger->first.ip, stranger->first.port);
        if (!MayYield(connection)) continue;
        Log("Network: " + FormatAddress(stranger->first.ip, stranger->first.port, '.') +
            " has not said who it is; its slot goes to a newcomer");
        strangers_.erase(stranger);
        return connection;
    }
    return -1;
}

void VornsNetworker::CloseSilentStrangers() {
    const uint64_t now = Now();
    for (const auto& [address, since] : strangers_) {
        if (now - since < sock::kIntroductionLimitMs) continue;
        Log("Network: " + FormatAddress(address.ip, address.port, '.') + " never said who it is; closed");
        const int connection = FindConnection(address.ip, address.port);
        if (connection >= 0) CloseConnection(connection);
    }
    std::erase_if(strangers_,
                  [now](const auto& stranger) { return now - stranger.second >= sock::kIntroductionLimitMs; });
}

void VornsNetworker::OnDisconnect(uint32_t ip, uint16_t port) {
    ForgetStranger({ip, port});
    if (!IsServer()) {
        if (!IsClientRunning()) return;
        if (state_ == SessionState::ClientJoined && JoinEnded()) return;
        host_.SessionLost("ServerDisconnected");
        StopClient();
        SetState(SessionState::ClientDisconnected);
        return;
    }
    SessionPlayer* player = FindPlayer({ip, port});
    if (player == nullptr || player->local || player->disconnected) return;
    SendStatusLine(player->name + " exited the game.");
    host_.PlaySound("DoorClose.ogg");
    player->disconnected = true;
    if (state_ == SessionState::ServerPlaying) {
        player->linger = 0.0f;
    } else {
        player->ready = true;
        player->worldAcknowledged = true;
        player->linger = kLingerSeconds;
        PoseFigure(*player, PlayerFigure::kWalkOut);
    }
    host_.PlayersChanged();
}

// The connection closed before the server answered the introduction. A game server that
// does not take the player closes without a word; bytes that are no frames of the game's
// mean the address is some other service, and the player is back at the join screen to
// correct it. False when the server had answered, and the connection was then lost.
bool VornsNetworker::JoinEnded() {
    const DisconnectInfo& ended = LastDisconnect();
    const bool foreign = ended.cause == CloseCause::NotOurProtocol || ended.cause == CloseCause::ClosedHere;
    if (!foreign && ended.framesReceived > 0) return false;
    if (!foreign) {
        Log("Network: " + Host() + " closed the connection without answering; it is not taking new players");
        host_.SessionLost("ServerNotAllowingNewClients");
        StopClient();
        SetState(SessionState::ClientDisconnected);
        return true;
    }
    Log("Network: " + Host() + " answered in a way no game server does; joining given up");
    StopClient();
    SetState(SessionState::ClientEntering);
    host_.JoinGivenUp("NotAGameServer");
    return true;
}

void VornsNetworker::SetState(SessionState state) {
    state_ = state;
    worldHeld_ = false;
    if (state == SessionState::ServerResults || state == SessionState::ClientResults) schedule_.DiscardPending();
    host_.EnterState(state);
}

// --- players

SessionPlayer* VornsNetworker::FindPlayer(const sock::Ipv4Address& address) const {
    for (const auto& player : players_) {
        if (player->address == address) return player.get();
    }
    return nullptr;
}

SessionPlayer* VornsNetworker::LocalPlayer() const {
    for (const auto& player : players_) {
        if (player->local) return player.get();
    }
    return nullptr;
}

// A peer's record is a fresh profile. The renderer keeps every texture for the program's
// life, and the pictures of a player's units are kept by the address of its record: a
// record of one that left comes back as the next peer's, cleared but at the same address
// and with its textures, so that a visitor repaints them instead of making new ones.
std::unique_ptr<Player> VornsNetworker::FreshRecord() {
    if (spareRecords_.empty()) return std::make_unique<Player>();
    std::unique_ptr<Player> record = std::move(spareRecords_.back());
    spareRecords_.pop_back();
    Player fresh;
    fresh.beaconTexture = record->beaconTexture;
    fresh.goalTexture = record->goalTexture;
    fresh.patternIconTexture = record->patternIconTexture;
    fresh.chassisPartTextures = record->chassisPartTextures;
    const bool current = record->texturesCurrent.IsSet();
    *record = fresh;
    if (current)
        record->texturesCurrent.Set();
    else
        record->texturesCurrent.Clear();
    return record;
}

void VornsNetworker::RetireRecord(std::unique_ptr<Player> record) {
    if (record == nullptr) return;
    ReleasePlayerFigure(*record);
    // Squads a peer sent for a battle that never began.
    record->ClearSquads();
    // The figure's unit goes back to the arena's pool; outside a battle nothing else
    // flushes the pool, and every visitor would take a new unit.
    if (gArena != nullptr) gArena->FlushObjectPools();
    spareRecords_.push_back(std::move(record));
}

SessionPlayer& VornsNetworker::AddPlayer(const sock::Ipv4Address& address) {
    auto player = std::make_unique<SessionPlayer>();
    player->address = address;
    player->owned = FreshRecord();
    // The small, medium and large chassis of the set: their painted parts take its colours.
    for (int32_t size = 0; size < Player::kSizeClassCount; ++size) player->owned->chassisChoices[size] = size;
    player->record = player->owned.get();
    players_.push_back(std::move(player));
    return *players_.back();
}

void VornsNetworker::RemovePlayerAt(size_t index) {
    RetireRecord(std::move(players_[index]->owned));
    players_.erase(players_.begin() + static_cast<long>(index));
}

void VornsNetworker::ForgetPlayers() {
    for (const auto& player : players_) RetireRecord(std::move(player->owned));
    players_.clear();
}

std::string VornsNetworker::NameForJoiner(const std::string& wanted) const {
    const auto taken = [this](const std::string& name) {
        return std::any_of(players_.begin(), players_.end(),
                           [&name](const auto& player) { return SameName(player->name, name); });
    };
    std::string base = Trimmed(Drawable(wanted));
    // A blank name is numbered by the joiner's place in the list.
    size_t number = players_.size() + 1;
    if (base.empty()) {
        base = kBlankNameStem;
    } else if (!taken(base)) {
        return base;
    } else {
        number = 2;
    }
    for (;; ++number) {
        const std::string suffix = " " + std::to_string(number);
        const std::string name = base.substr(0, sock::kMaxPeerNameBytes - suffix.size()) + suffix;
        if (!taken(name)) return name;
    }
}

uint32_t VornsNetworker::ColourForJoiner(uint32_t wanted) const {
    // How near the colour comes to the nearest player's.
    const auto nearest = [this](uint32_t colour) {
        int64_t least = INT64_MAX;
        for (const auto& player : players_) least = std::min(least, ShownDistanceSquared(player->colour1, colour));
        return least;
    };
    const uint32_t opaque = wanted | kOpaque;
    if (nearest(opaque) >= kLookAlikeSquared) return opaque;
    uint32_t farthest = kSessionColours[0];
    int64_t farthestDistance = -1;
    for (const uint32_t colour : kSessionColours) {
        const int64_t distance = nearest(colour);
        if (distance >= kLookAlikeSquared) return colour;
        if (distance > farthestDistance) {
            farthest = colour;
            farthestDistance = distance;
        }
    }
    // Present players' own colours lie near every spare one: of finer shades, the one least
    // like any of them.
    std::vector<std::pair<uint32_t, uint32_t>> worn;  // each player's colour and text shade
    for (const auto& player : players_) worn.emplace_back(player->colour1, TextShade(player->colour1));
    const auto least = [&worn](uint32_t colour, bool shade) {
        int64_t distance = INT64_MAX;
        for (const auto& [own, ownShade] : worn)
            distance = std::min(distance, SeenDistanceSquared(colour, shade ? ownShade : own));
        return distance;
    };
    for (uint32_t red = 0; red <= 255; red += kShadeStep) {
        for (uint32_t green = 0; green <= 255; green += kShadeStep) {
            for (uint32_t blue = 0; blue <= 255; blue += kShadeStep) {
                const uint32_t colour = kOpaque | red << 16 | green << 8 | blue;
                // The shown distance is at most the colours' own: the text shades are
                // compared only when the colour may still win.
                const int64_t own = least(colour, false);
                if (own <= farthestDistance) continue;
                const int64_t distance = std::min(own, least(TextShade(colour), true));
                if (distance <= farthestDistance) continue;
                farthest = colour;
                farthestDistance = distance;
            }
        }
    }
    return farthest;
}

void VornsNetworker::PoseFigure(SessionPlayer& player, int32_t pose) {
    if (player.record != nullptr) GetPlayerFigure(*player.record).SetPose(pose);
}

void VornsNetworker::StartReplay() {
    if (gArena == nullptr) return;
    const std::string scenario = replayName_.substr(0, replayName_.rfind('.'));
    // No name to load: what loading would do before it reads a file, without reporting a
    // refused name.
    if (scenario.empty()) {
        gArena->ClearBattlefield(true);
        return;
    }
    gArena->LoadScenario(String(scenario.c_str()));
}

void VornsNetworker::PoseAllFigures() {
    for (const auto& player : players_) PoseFigure(*player, PlayerFigure::kIdle);
}

bool VornsNetworker::AllPlayers(bool SessionPlayer::*flag) const {
    return std::all_of(players_.begin(), players_.end(), [flag](const auto& player) { return (*player).*flag; });
}

void VornsNetworker::RemoveDisconnected(bool force) {
    const float frameTime = host_.FrameTime();
    bool removed = false;
    for (size_t i = players_.size(); i-- > 0;) {
        SessionPlayer& player = *players_[i];
        if (!player.disconnected || player.local) continue;
        player.linger -= frameTime;
        if (!force && player.linger > 0.0f) continue;
        RemovePlayerAt(i);
        removed = true;
    }
    if (removed) AfterListChanged();
}

void VornsNetworker::AfterListChanged() {
    // The list goes first: what the game sends on the change (a budget the count of
    // players bounds) is read by clients that know who is left.
    SendPlayerList();
    host_.PlayersChanged();
    host_.UpdateLobby();
}

std::vector<std::string> VornsNetworker::PlayerLabels(const std::string& leftParen, const std::string& rightParen,
                                                      const std::string& serverText) const {
    std::vector<std::string> labels;
    for (const auto& player : players_) {
        const std::string address =
            player->address.ip == 0 ? serverText : FormatAddress(player->address.ip, player->address.port, '.');
        labels.push_back(leftParen + address + rightParen);
    }
    return labels;
}

// --- the outgoing batch

void VornsNetworker::Flush() {
    if (out_.Empty()) return;
    Broadcast(out_.Bytes().data(), out_.Size());
    bytesFlushed_ += out_.Size();
    FlushSends();
    out_.Clear();
}

void VornsNetworker::FlushIfFull(bool force) {
    if (out_.Empty()) return;
    const size_t limit = Compression() ? kBatchBytesCompressed : kBatchBytesPlain;
    if (force || out_.Size() > limit) Flush();
}

void VornsNetworker::SendCode(uint8_t code) {
    out_.PutU8(code);
    Flush();
}

void VornsNetworker::SendYourAddress(int connection, const sock::Ipv4Address& address) {
    unicast_.Clear();
    unicast_.PutU8(CodeByte(MessageCode::YourAddress));
    unicast_.PutAddress(address);
    SendTo(unicast_.Bytes().data(), unicast_.Size(), connection);
    FlushSends();
    unicast_.Clear();
}

void VornsNetworker::NoteMembersLeftOut(const SessionPlayer& player, const std::vector<std::string>& names) {
    if (names.empty()) return;
    for (auto& [address, noted] : leftOutByPlayer_) {
        if (address != player.address) continue;
        noted.insert(noted.end(), names.begin(), names.end());
        return;
    }
    leftOutByPlayer_.emplace_back(player.address, names);
}

// Each in its own frame, after the world's: a program that does not know the message
// drops only it.
void VornsNetworker::TellMembersLeftOut() {
    for (auto& [address, names] : leftOutByPlayer_) {
        const SessionPlayer* player = FindPlayer(address);
        if (player == nullptr || player->disconnected) continue;
        if (names.size() > kMaxMembersLeftOut) names.resize(kMaxMembersLeftOut);
        if (player->local) {
            membersLeftOut_ = names;
            host_.ShowMembersLeftOut(membersLeftOut_);
            continue;
        }
        const int connection = FindConnection(address.ip, address.port);
        if (connection < 0) continue;
        unicast_.Clear();
        unicast_.PutU8(CodeByte(MessageCode::MembersLeftOut));
        unicast_.PutU32(static_cast<uint32_t>(names.size()));
        for (const std::string& name : names) unicast_.PutText(name.substr(0, kMaxUnitNameBytes));
        SendTo(unicast_.Bytes().data(), unicast_.Size(), connection);
        bytesFlushed_ += unicast_.Size();
        unicast_.Clear();
    }
    FlushSends();
    leftOutByPlayer_.clear();
}

bool VornsNetworker::HandleMembersLeftOut(MessageReader& in) {
    std::vector<std::string> names = ReadMemberNames(in);
    if (in.Failed() || !worldHeld_) return true;
    membersLeftOut_ = std::move(names);
    if (!membersLeftOut_.empty()) host_.ShowMembersLeftOut(membersLeftOut_);
    return true;
}

void VornsNetworker::SendPlayerList() {
    out_.PutU8(CodeByte(MessageCode::PlayerList));
    out_.PutU32(static_cast<uint32_t>(players_.size()));
    for (const auto& player : players_) {
        out_.PutAddress(player->address);
        out_.PutText(player->name);
        out_.PutU32(player->colour1);
        out_.PutU32(player->colour2);
    }
    Flush();
}

void VornsNetworker::SendPlayerFlags() {
    out_.PutU8(CodeByte(MessageCode::PlayerFlags));
    out_.PutU32(static_cast<uint32_t>(players_.size()));
    for (const auto& player : players_) {
        out_.PutAddress(player->address);
        out_.PutU8(player->ready ? 1 : 0);
    }
    Flush();
}

void VornsNetworker::SendGameSetup(const NetworkMatchSettings& settings) {
    if (!IsServer()) return;
    out_.PutU8(CodeByte(MessageCode::GameSetup));
    out_.PutText(settings.scenario);
    out_.PutU32(static_cast<uint32_t>(settings.budget));
    out_.PutU32(settings.squadCount);
    out_.PutU32(settings.launchDelay);
    out_.PutU32(settings.meteorDelay);
    out_.PutU32(settings.rules);
    out_.PutU32(settings.soccerGoalCount);
    out_.PutU32(settings.soccerBallCount);
    out_.PutU32(settings.soccerNetCount);
    out_.PutU32(settings.gameTimer);
    out_.PutU32(settings.vipCount);
    out_.PutU8(settings.weaponsAllowed);
    out_.PutU32(settings.boostCount);
    Flush();
}

void VornsNetworker::ProceedToSetup() {
    SetState(SessionState::ServerSetup);
    host_.UpdateLobby();
    SendOpenSetup();
}

void VornsNetworker::SendScenario(const std::string& terrainText) {
    for (const auto& player : players_) {
        player->setupAcknowledged = player->local || player->disconnected;
        player->ready = player->disconnected;
        player->worldAcknowledged = player->disconnected;
    }
    out_.PutU8(CodeByte(MessageCode::Scenario));
    out_.PutBytes(terrainText.data(), terrainText.size());
    Flush();
    SetState(SessionState::ServerWaitSetupAck);
}

void VornsNetworker::SendOpenSetup() { SendCode(CodeByte(MessageCode::OpenSetup)); }

void VornsNetworker::SendBackToWaiting() {
    SendCode(CodeByte(MessageCode::BackToWaiting));
    SetState(SessionState::ServerWaiting);
    host_.UpdateLobby();
}

void VornsNetworker::SendReplayRequest() {
    SendCode(CodeByte(MessageCode::ReplayGame));
    SetState(SessionState::ServerSetup);
}

void VornsNetworker::SendChatToServer(const std::string& line) {
    out_.PutU8(CodeByte(MessageCode::ChatToServer));
    out_.PutText(CleanPeerText(line, sock::kMaxChatLineBytes));
    Flush();
}

void VornsNetworker::ShowLine(const sock::Ipv4Address& speaker, const std::string& line) {
    const SessionPlayer* player = FindPlayer(speaker);
    if (player == nullptr) {
        host_.ShowChat(std::string(), 0xFFFFFFFF, line);
        return;
    }
    host_.ShowChat(player->name, player->colour1, line);
}

void VornsNetworker::SendChatLine(const sock::Ipv4Address& speaker, const std::string& line) {
    const std::string clean = CleanPeerText(line, sock::kMaxChatLineBytes);
    ShowLine(speaker, clean);
    out_.PutU8(CodeByte(MessageCode::ChatLine));
    out_.PutAddress(speaker);
    out_.PutText(clean);
    Flush();
}

void VornsNetworker::SendStatusLine(const std::string& line) {
    statusText_ = CleanPeerText(line, sock::kMaxChatLineBytes);
    host_.ShowStatus(statusText_);
    out_.PutU8(CodeByte(MessageCode::StatusLine));
    out_.PutText(statusText_);
    Flush();
}

void VornsNetworker::SendSquads() {
    SessionPlayer* local = LocalPlayer();
    if (IsServer()) {
        host_.UseOwnSquads(*local);
        local->ready = true;
        return;
    }
    SquadPayload payload;
    host_.CollectSquads(payload);
    out_.PutU8(CodeByte(MessageCode::ClientSquads));
    PutTexts(out_, payload.unitFiles);
    out_.PutU32(static_cast<uint32_t>(payload.squads.size()));
    for (const auto& members : payload.squads) PutTexts(out_, members);
    Flush();
    SetState(SessionState::ClientSquadsSent);
}

void VornsNetworker::SendSignalRequest(uint32_t which, bool on) {
    out_.PutU8(CodeByte(MessageCode::SignalRequest));
    out_.PutAddress(localAddress_);
    out_.PutU32(which);
    out_.PutU8(on ? 1 : 0);
    Flush();
}

void VornsNetworker::SendTimedEvent(const NetworkEvent& event) {
    if (!IsServer() || !NetworkEventCodec::Write(event, out_)) return;
    ++messagesSent_;
    const bool urgent = event.kind == NetworkEventKind::Results ||
                        (event.kind >= NetworkEventKind::Signal1On && event.kind <= NetworkEventKind::Signal2Off);
    if (urgent)
        Flush();
    else
        FlushIfFull(false);
}

// --- the per-frame step

void VornsNetworker::Update() {
    if (!IsClientRunning() && !IsServerRunning()) return;
    Networker::Update();
    if (!IsClientRunning() && !IsServerRunning()) return;
    const float frameTime = host_.FrameTime();
    SendKeepAliveWhenDue(frameTime);
    if (IsServer())
        ServerStep(frameTime);
    else
        ClientStep(frameTime);
}

void VornsNetworker::SendKeepAliveWhenDue(float frameTime) {
    keepAliveTimer_ += frameTime;
    const uint64_t now = Now();
    if (keepAliveTimer_ <= kKeepAliveSeconds && now - keepAliveSentMs_ < kKeepAliveMs) return;
    keepAliveTimer_ = 0.0f;
    keepAliveSentMs_ = now;
    SendCode(CodeByte(MessageCode::KeepAlive));
}

void VornsNetworker::ServerStep(float frameTime) {
    CloseSilentStrangers();
    switch (state_) {
        case SessionState::ServerWaiting:
        case SessionState::ServerResults: RemoveDisconnected(false); return;
        case SessionState::ServerSetup: RemoveDisconnected(true); return;
        case SessionState::ServerWaitSetupAck: {
            RemoveDisconnected(false);
            if (!AllPlayers(&SessionPlayer::setupAcknowledged)) return;
            const NetworkMatchSettings& settings = host_.MatchSettings();
            out_.PutU8(CodeByte(MessageCode::SquadSelection));
            out_.PutU32(static_cast<uint32_t>(settings.budget));
            out_.PutU32(settings.squadCount);
            Flush();
            // The waiting screen after the squads shows what happens from here on, not
            // who joined long ago.
            statusText_.clear();
            host_.OpenSquadSelection(settings.budget, settings.squadCount);
            SetState(SessionState::ServerSquadSelection);
            return;
        }
        case SessionState::ServerSquadSelection:
            RemoveDisconnected(true);
            if (std::none_of(players_.begin(), players_.end(), [](const auto& p) { return p->ready; })) return;
            countdown_ = static_cast<float>(host_.MatchSettings().launchDelay);
            lastCountdownSent_ = -1;
            SetState(SessionState::ServerCountdown);
            return;
        case SessionState::ServerCountdown: StepCountdown(frameTime); return;
        case SessionState::ServerWaitSquads: {
            if (!AllPlayers(&SessionPlayer::ready)) return;
            countdown_ = 0.0f;
            SetState(SessionState::ServerWaitWorldAck);
            for (const auto& player : players_) player->worldAcknowledged = player->local || player->disconnected;
            leftOutByPlayer_.clear();
            membersLeftOut_.clear();
            const std::string world = host_.BuildWorldText();
            out_.PutU8(CodeByte(MessageCode::World));
            out_.PutBytes(world.data(), world.size());
            Flush();
            TellMembersLeftOut();
            return;
        }
        case SessionState::ServerWaitWorldAck:
            if (!AllPlayers(&SessionPlayer::worldAcknowledged)) return;
            host_.StartBattle();
            SetState(SessionState::ServerPlaying);
            syncTimer_ = 0.0f;
            SendCode(CodeByte(MessageCode::StartGame));
            return;
        case SessionState::ServerPlaying:
            syncTimer_ += frameTime;
            if (syncTimer_ <= kTimeSyncSeconds) return;
            syncTimer_ = 0.0f;
            out_.PutU8(CodeByte(MessageCode::TimeSync));
            out_.PutF32(host_.GameClock());
            return;
        default: return;
    }
}

void VornsNetworker::StepCountdown(float frameTime) {
    countdown_ = std::max(0.0f, countdown_ - frameTime);
    const auto whole = static_cast<int32_t>(countdown_);
    if (whole != lastCountdownSent_) {
        lastCountdownSent_ = whole;
        out_.PutU8(CodeByte(MessageCode::Countdown));
        out_.PutU32(static_cast<uint32_t>(whole));
        Flush();
        host_.CountdownTick(static_cast<uint32_t>(whole));
    }
    countdownRunning_ = true;
    if (!AllPlayers(&SessionPlayer::ready) && countdown_ > 0.0f) return;
    if (!LocalPlayer()->ready) SendSquads();
    countdownRunning_ = false;
    SetState(SessionState::ServerWaitSquads);
}

void VornsNetworker::ClientStep(float frameTime) {
    if (connecting_) {
        if (ConnectInProgress() && JoinAnswerLeftMs() > 0) return;
        connecting_ = false;
        const std::string limit = std::to_string(sock::kConnectBudgetMs / 1000) + " s; joining given up";
        if (LookingUp())
            Log("Network: the name " + Host() + " was not looked up within " + limit);
        else if (ConnectInProgress())
            Log("Network: " + Host() + " did not take the connection within " + limit);
        StopClient();
        SetState(SessionState::ClientEntering);
        host_.ConnectFailed(Host(), Port());
        return;
    }
    if (state_ == SessionState::ClientJoined && JoinAnswerLeftMs() == 0) {
        Log("Network: " + Host() + " did not answer within " + std::to_string(sock::kJoinAnswerLimitMs / 1000) +
            " s; joining given up");
        // Closed first: a peer that never answers would not answer the close either.
        for (int connection = 0; connection < ConnectionCount(); ++connection) CloseConnection(connection);
        StopClient();
        SetState(SessionState::ClientEntering);
        host_.JoinGivenUp("ServerDidNotAnswer");
        return;
    }
    if (state_ != SessionState::ClientPlaying) return;
    schedule_.MoveDueEvents(host_.GameClock(), frameTime);
    ApplyDueEvents();
}

void VornsNetworker::ApplyDueEvents() { schedule_.ApplyDueEvents(host_); }

// --- receiving

void VornsNetworker::Receive(const uint8_t* data, size_t length, uint32_t ip, uint16_t port) {
    Sender sender;
    sender.address = {ip, port};
    if (IsServer()) {
        sender.connection = FindConnection(ip, port);
        sender.player = FindPlayer(sender.address);
        if (sender.player != nullptr && sender.player->local) sender.player = nullptr;
    }
    MessageReader in(data, length);
    while (!in.AtEnd()) {
        const uint8_t code = in.ReadU8();
        if (!HandleMessage(code, in, sender)) break;
        if (in.Failed()) {
            ProtocolError(sender, "a message that cannot be read", code);
            break;
        }
    }
    if (sender.outOfStep == 0) return;
    Log("Network: " + std::to_string(sender.outOfStep) + " message(s) from " +
        FormatAddress(sender.address.ip, sender.address.port, '.') + " that do not fit state " +
        std::to_string(static_cast<uint32_t>(state_)) + " (first code " + std::to_string(sender.firstOutOfStep) +
        ") dropped");
}

void VornsNetworker::ProtocolError(const Sender& sender, const char* what, uint8_t code) {
    ++protocolErrors_;
    Log(std::string("Network: ") + what + " (code " + std::to_string(code) + ") from " +
        FormatAddress(sender.address.ip, sender.address.port, '.') + "; the rest of the frame is dropped");
    if (IsServer() && sender.connection >= 0) CloseConnection(sender.connection);
    // A joining client's first answer that cannot be read is no game server's answer.
    if (!IsServer() && state_ == SessionState::ClientJoined)
        for (int connection = 0; connection < ConnectionCount(); ++connection) CloseConnection(connection);
}

bool VornsNetworker::HandleMessage(uint8_t code, MessageReader& in, Sender& sender) {
    if (code >= CodeByte(MessageCode::Count)) {
        ProtocolError(sender, "an unknown code", code);
        return false;
    }
    if (code == CodeByte(MessageCode::KeepAlive)) return true;
    if (IsServer() != IsServerCode(code)) return SkipMessage(code, in, sender);
    if (IsServer()) return HandleServerMessage(code, in, sender);
    if (NetworkEventCodec::IsTimedCode(code)) return HandleTimedEvent(code, in);
    const bool again = code == CodeByte(MessageCode::YourAddress) && localAddress_ != sock::Ipv4Address{};
    if (again || !FitsClientState(code, state_)) {
        if (sender.outOfStep++ == 0) sender.firstOutOfStep = code;
        return SkipMessage(code, in, sender);
    }
    return HandleClientMessage(code, in);
}

bool VornsNetworker::SkipMessage(uint8_t code, MessageReader& in, Sender&) {
    if (HasNoFields(code)) return true;
    if (NetworkEventCodec::IsTimedCode(code)) return NetworkEventCodec::Read(code, in, scratchEvent_);
    switch (static_cast<MessageCode>(code)) {
        case MessageCode::YourAddress: in.ReadAddress(); break;
        case MessageCode::SquadSelection:
            in.ReadU32();
            in.ReadU32();
            break;
        case MessageCode::PlayerList: ReadPlayerList(in); break;
        case MessageCode::GameSetup: ReadSettings(in); break;
        case MessageCode::ClientInfo:
            in.ReadText(sock::kMaxPeerNameBytes);
            in.ReadU32();
            in.ReadU32();
            break;
        case MessageCode::ChatToServer:
        case MessageCode::StatusLine: in.ReadText(sock::kMaxChatLineBytes); break;
        case MessageCode::ChatLine:
            in.ReadAddress();
            in.ReadText(sock::kMaxChatLineBytes);
            break;
        case MessageCode::PlayerFlags: ReadPlayerFlags(in); break;
        case MessageCode::ClientSquads: ReadSquadPayload(in); break;
        case MessageCode::Scenario:
        case MessageCode::World: in.ReadRest(); break;
        case MessageCode::MembersLeftOut: ReadMemberNames(in); break;
        case MessageCode::Countdown: in.ReadU32(); break;
        case MessageCode::TimeSync: in.ReadF32(); break;
        case MessageCode::SignalRequest:
            in.ReadAddress();
            in.ReadU32();
            in.ReadU8();
            break;
        default: in.Fail(); break;
    }
    return true;
}

bool VornsNetworker::HandleServerMessage(uint8_t code, MessageReader& in, Sender& sender) {
    switch (static_cast<MessageCode>(code)) {
        case MessageCode::ClientInfo: return HandleClientInfo(in, sender);
        case MessageCode::ChatToServer: return HandleChatToServer(in, sender);
        case MessageCode::ClientSquads: return HandleClientSquads(in, sender);
        case MessageCode::SignalRequest: return HandleSignalRequest(in, sender);
        case MessageCode::SetupAck:
            if (sender.player != nullptr && state_ == SessionState::ServerWaitSetupAck)
                sender.player->setupAcknowledged = true;
            return true;
        case MessageCode::WorldAck:
            if (sender.player != nullptr && state_ == SessionState::ServerWaitWorldAck)
                sender.player->worldAcknowledged = true;
            return true;
        default: return true;
    }
}

bool VornsNetworker::HandleClientInfo(MessageReader& in, Sender& sender) {
    const std::string name = CleanPeerText(in.ReadText(sock::kMaxPeerNameBytes), sock::kMaxPeerNameBytes);
    const uint32_t colour1 = in.ReadU32();
    const uint32_t colour2 = in.ReadU32();
    if (in.Failed()) return true;
    if (state_ != SessionState::ServerWaiting || sender.player != nullptr) {
        // Too late to join, or a second introduction: the connection goes.
        if (sender.connection >= 0) CloseConnection(sender.connection);
        return false;
    }
    RemoveDisconnected(true);
    ForgetStranger(sender.address);
    // The chat, the results and the battle's units tell players apart by name and colour
    // alone: a joiner who looks like someone present goes by others for this game.
    const std::string shownName = NameForJoiner(name);
    const uint32_t shownColour = ColourForJoiner(colour1);
    SessionPlayer& player = AddPlayer(sender.address);
    player.name = shownName;
    player.colour1 = shownColour;
    player.colour2 = colour2 | kOpaque;
    player.record->name = String(shownName.c_str());
    player.record->primaryColor = Color(shownColour);
    player.record->trimColor = Color(player.colour2);
    sender.player = &player;
    host_.UpdateLobby();
    PoseFigure(player, PlayerFigure::kWalkIn);
    host_.PlaySound("DoorOpen.ogg");
    SendYourAddress(sender.connection, sender.address);
    host_.PlayersChanged();
    SendPlayerList();
    SendStatusLine(shownName + " entered the game.");
    return true;
}

bool VornsNetworker::HandleChatToServer(MessageReader& in, const Sender& sender) {
    const std::string line = in.ReadText(sock::kMaxChatLineBytes);
    if (in.Failed()) return true;
    // Only a player in the list speaks: a line from a connection that never said who it
    // is could pass itself off as anyone.
    if (sender.player == nullptr) {
        Log("Network: a chat line from " + FormatAddress(sender.address.ip, sender.address.port, '.') +
            ", which has not joined, is dropped");
        return true;
    }
    SendChatLine(sender.address, line);
    return true;
}

bool VornsNetworker::HandleClientSquads(MessageReader& in, const Sender& sender) {
    const SquadPayload payload = ReadSquadPayload(in);
    if (in.Failed() || sender.player == nullptr) return true;
    const bool collecting = state_ == SessionState::ServerSquadSelection || state_ == SessionState::ServerCountdown ||
                            state_ == SessionState::ServerWaitSquads;
    if (!collecting || sender.player->ready) return true;
    if (!host_.StoreSquads(*sender.player, payload)) return true;
    sender.player->ready = true;
    sender.player->squadCount = static_cast<uint32_t>(payload.squads.size());
    SendPlayerFlags();
    return true;
}

bool VornsNetworker::HandleSignalRequest(MessageReader& in, const Sender& sender) {
    in.ReadAddress();  // the sender's own player is the one that signals
    const uint32_t which = in.ReadU32();
    const bool on = in.ReadU8() != 0;
    if (in.Failed() || sender.player == nullptr) return true;
    host_.SignalRequested(*sender.player, which, on);
    return true;
}

bool VornsNetworker::HandleClientMessage(uint8_t code, MessageReader& in) {
    switch (static_cast<MessageCode>(code)) {
        case MessageCode::YourAddress: {
            const sock::Ipv4Address address = in.ReadAddress();
            if (in.Failed()) return true;
            localAddress_ = address;
            LocalPlayer()->address = address;
            return true;
        }
        case MessageCode::SquadSelection: {
            const auto budget = static_cast<int32_t>(std::min<uint32_t>(in.ReadU32(), INT32_MAX));
            const uint32_t squads = in.ReadU32();
            if (in.Failed()) return true;
            state_ = SessionState::ClientSquadSelection;
            statusText_.clear();
            host_.OpenSquadSelection(budget, squads);
            host_.EnterState(state_);
            return true;
        }
        case MessageCode::PlayerList: return HandlePlayerList(in);
        case MessageCode::ReplayGame:
        case MessageCode::OpenSetup: SetState(SessionState::ClientSetup); return true;
        case MessageCode::BackToWaiting: SetState(SessionState::ClientWaiting); return true;
        case MessageCode::GameSetup: return HandleGameSetup(in);
        case MessageCode::ChatLine: return HandleChatLine(in);
        case MessageCode::StatusLine: {
            const std::string line = CleanPeerText(in.ReadText(sock::kMaxChatLineBytes), sock::kMaxChatLineBytes);
            if (in.Failed()) return true;
            statusText_ = line;
            host_.ShowStatus(line);
            return true;
        }
        case MessageCode::PlayerFlags: return HandlePlayerFlags(in);
        case MessageCode::Scenario: {
            const std::string text = in.ReadRest();
            host_.LoadScenarioText(text);
            SendCode(CodeByte(MessageCode::SetupAck));
            SetState(SessionState::ClientScenarioLoaded);
            return true;
        }
        case MessageCode::World: {
            const std::string text = in.ReadRest();
            membersLeftOut_.clear();
            host_.BuildWorld(text);
            worldHeld_ = true;
            SendCode(CodeByte(MessageCode::WorldAck));
            schedule_.DiscardPending();
            return true;
        }
        case MessageCode::StartGame:
            SetState(SessionState::ClientPlaying);
            host_.StartBattle();
            return true;
        case MessageCode::Countdown: return HandleCountdown(in);
        case MessageCode::MembersLeftOut: return HandleMembersLeftOut(in);
        case MessageCode::TimeSync: {
            const float serverTime = in.ReadF32();
            if (in.Failed()) return true;
            const float lead = serverTime - host_.GameClock();
            host_.SetClockCorrection(lead <= kLeadToCorrect ? kClientLagSeconds - lead : 0.0f);
            return true;
        }
        default: return true;
    }
}

bool VornsNetworker::HandlePlayerList(MessageReader& in) {
    const std::vector<PlayerEntry> entries = ReadPlayerList(in);
    if (in.Failed()) return true;
    bool changed = false;
    std::vector<const SessionPlayer*> seen;
    for (const PlayerEntry& entry : entries) {
        SessionPlayer* player = FindPlayer(entry.address);
        if (player == nullptr) {
            player = &AddPlayer(entry.address);
            changed = true;
        }
        changed |= player->colour1 != entry.colour1 || player->colour2 != entry.colour2;
        player->name = entry.name;
        player->colour1 = entry.colour1;
        player->colour2 = entry.colour2;
        if (player->local) {
            TakeServerIdentity(*player);
        } else if (player->record != nullptr) {
            player->record->name = String(entry.name.c_str());
            player->record->primaryColor = Color(entry.colour1);
            player->record->trimColor = Color(entry.colour2);
        }
        seen.push_back(player);
    }
    for (size_t i = players_.size(); i-- > 0;) {
        if (players_[i]->local || std::find(seen.begin(), seen.end(), players_[i].get()) != seen.end()) continue;
        RemovePlayerAt(i);
        changed = true;
    }
    if (changed) host_.PlayersChanged();
    if (state_ == SessionState::ClientJoined) SetState(SessionState::ClientWaiting);
    return true;
}

// The server may have given the local player another name or colour for this game: every
// screen here shows them, while the profile keeps its own (its name names its folders, and
// leaving the game loads its colours back).
void VornsNetworker::TakeServerIdentity(const SessionPlayer& local) {
    if (local.record == nullptr) return;
    Player& record = *local.record;
    record.networkName = String(local.name.c_str());
    if (record.primaryColor.argb == local.colour1 && record.trimColor.argb == local.colour2) return;
    record.primaryColor = Color(local.colour1);
    record.trimColor = Color(local.colour2);
    record.BuildColoredTextures();
    record.BuildWeaponButtonTextures();
}

bool VornsNetworker::HandlePlayerFlags(MessageReader& in) {
    const auto flags = ReadPlayerFlags(in);
    if (in.Failed()) return true;
    for (const auto& [address, ready] : flags) {
        if (SessionPlayer* player = FindPlayer(address)) player->ready = ready;
    }
    host_.PlayersChanged();
    return true;
}

bool VornsNetworker::HandleGameSetup(MessageReader& in) {
    const NetworkMatchSettings settings = ReadSettings(in);
    if (in.Failed()) return true;
    host_.ApplySettings(settings);
    host_.PlaySound("MouseUp.ogg");
    return true;
}

bool VornsNetworker::HandleChatLine(MessageReader& in) {
    const sock::Ipv4Address speaker = in.ReadAddress();
    const std::string line = CleanPeerText(in.ReadText(sock::kMaxChatLineBytes), sock::kMaxChatLineBytes);
    if (in.Failed()) return true;
    ShowLine(speaker, line);
    return true;
}

bool VornsNetworker::HandleCountdown(MessageReader& in) {
    const uint32_t seconds = std::min<uint32_t>(in.ReadU32(), NetworkMatchSettings::kMaxSeconds);
    if (in.Failed()) return true;
    const auto whole = static_cast<int32_t>(seconds);
    if (whole != static_cast<int32_t>(countdown_) || !countdownRunning_) host_.CountdownTick(seconds);
    countdown_ = static_cast<float>(seconds);
    countdownRunning_ = true;
    if (seconds != 0) return true;
    countdownRunning_ = false;
    if (state_ == SessionState::ClientSquadSelection) SendSquads();
    return true;
}

bool VornsNetworker::HandleTimedEvent(uint8_t code, MessageReader& in) {
    if (!NetworkEventCodec::Read(code, in, scratchEvent_)) return true;
    if (state_ != SessionState::ClientPlaying) return true;
    NetworkEvent* event = schedule_.Allocate();
    *event = scratchEvent_;
    schedule_.Queue(event, host_.GameClock());
    return true;
}
