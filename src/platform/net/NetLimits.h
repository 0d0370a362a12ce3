#pragma once
// Every bound the network code puts on what a peer, the lobby or a proxy may make it do.
// Peers are untrusted: each length, count and size they send is checked against these
// before it drives an allocation or a loop.
#include <cstddef>
#include <cstdint>

namespace sock {

// The game's TCP port, for serving, joining and the lobby's probes.
constexpr uint16_t kGamePort = 29999;

// A frame's payload, and the uncompressed form of a compressed payload. The largest
// message, a whole world with its unit files, stays far below this.
constexpr size_t kMaxFrameBytes = 16u * 1024u * 1024u;
// Bytes one peer's compressed frames may unpack to within kInflateWindowMs: one message
// of the largest size passes, a stream of them drops the peer, so a few small frames
// cannot make us allocate and parse hundreds of megabytes.
constexpr size_t kMaxInflatedBytesPerWindow = kMaxFrameBytes;
constexpr uint32_t kInflateWindowMs = 10000;
// A buffer that grew past this for one large message is given back once the message is
// through, instead of being kept at its peak for the rest of the session.
constexpr size_t kKeptBufferBytes = 256u * 1024u;
// Unsent bytes a peer may leave behind before it counts as not reading and is dropped.
constexpr size_t kMaxPendingOutputBytes = 8u * 1024u * 1024u;
// Bytes read from one socket in one poll pass, so that one fast sender cannot keep the
// others (and the frame) waiting.
constexpr size_t kMaxReadPerPass = 256u * 1024u;

// A live peer sends at least a keep-alive every 60 s; silence three times as long means
// it is gone without a close.
constexpr uint32_t kPeerSilenceLimitMs = 180u * 1000u;
// A joining program says who it is in the same moment its connection comes up; a
// connection still silent about it after this long only holds a slot a real player could
// take, and is closed. Five seconds leave a slow or busy joiner many round trips while
// keeping a flood of silent connections from holding the eight slots for long.
constexpr uint32_t kIntroductionLimitMs = 5000;
// A refused or draining connection is closed after this even when the peer never reads.
constexpr uint32_t kClosingLimitMs = 3000;
// Budgets of the blocking steps: joining a server and draining before a stop.
constexpr uint32_t kConnectBudgetMs = 5000;
constexpr uint32_t kDrainBudgetMs = 3000;
// A joined program waits this long for the server to answer its introduction (its address
// and the player list) before it gives up. A game server answers in the frame the
// introduction arrives; fifteen seconds cover a server whose frame loop stalls for a while
// (loading, a busy machine), yet tell a player soon that the address answers but is no
// game server, or one that has hung.
constexpr uint32_t kJoinAnswerLimitMs = 15000;
// Time the frame loop gives to network events.
constexpr float kUpdateBudgetSeconds = 0.2f;

// Connections a server keeps: eight joined programs (nine players with the server).
constexpr int kMaxServerConnections = 8;
constexpr int kMaxNetworkPlayers = 9;
// Unit files in one exchange; peer names and chat or status lines, in bytes.
constexpr int kMaxUnitFilesPerExchange = 1000;
constexpr size_t kMaxPeerNameBytes = 32;
constexpr size_t kMaxChatLineBytes = 255;

// The lobby and its proxies: a reply body, the header block before it, host names.
constexpr size_t kMaxLobbyReplyBytes = 1024u * 1024u;
constexpr size_t kMaxHttpHeaderBytes = 64u * 1024u;
constexpr size_t kMaxHostNameChars = 255;
// Servers taken from one lobby list (a list row is at least four bytes, so a full reply
// could otherwise name a quarter of a million).
constexpr size_t kMaxLobbyServers = 1000;
// The lobby's server probes: how many at once, how long each, how long in all.
constexpr int kMaxLobbyProbes = 64;
constexpr float kLobbyProbeSeconds = 0.5f;
constexpr float kLobbyProbingSeconds = 10.0f;
// Time-out of each lobby exchange step (connect, send, receive), in seconds.
constexpr int kLobbyTimeoutSeconds = 5;

}  // namespace sock
