// A rollback session between two machines. The game hands it a few
// callbacks (save, load, step, checksum); the session never reads the match.
//
// Driving it, once per frame of the game:
//   - feed it what the link received (receivePacket; the ENet transport's
//     serviceEnetTransport does that), then
//   - advanceSession with the local player's input: it rolls back and steps
//     again where the peer's inputs proved a guess wrong, and steps the next
//     frame unless the peer is too far behind; the game then draws its state,
//   - read the events (pollEvent) and wait framePeriodMs before the next frame.
// While a menu is open (Paused) the game calls pumpSession instead, carries its
// menu changes with sendMessage, and calls readyToResume when its player
// goes on; the match goes on when both sides are ready (the Resumed event).
//
// Frames count from 0: frame f is stepped from the state "at f" with both
// players' inputs for f. Player 0 is the host's, player 1 the joiner's.
// A NetSession holds its history in place (about 100 KB): make it once, on
// the heap or in static storage, and start it with startSession.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>
#include "net/link_quality.h"
#include "net/net_limits.h"
#include "net/net_link.h"
#include "net/packet_codec.h"
#include "net/time_sync.h"

enum class NetRole : uint8_t { Host, Joiner };

struct NetConfirmedFrame {
    int32_t frame = 0;
    uint32_t inputs[2] = {}; // by player
    uint64_t checksum = 0;   // of the state after the frame
    bool pauses = false;     // the frame ends in a pause
};

// The game's side. Every function is given context first.
struct NetGame {
    void* context = nullptr;
    // Keep the current state in slot 0 .. NET_SAVE_SLOTS - 1, or make it the one kept there.
    void (*saveState)(void* context, int32_t slot) = nullptr;
    void (*loadState)(void* context, int32_t slot) = nullptr;
    // Steps the current state by one frame from both players' inputs; true when
    // that frame ends in a pause (either input asked for the menu, or the
    // match is lost). again: the frame was stepped before, on other inputs.
    bool (*stepFrame)(void* context, const uint32_t inputs[2], int32_t frame, bool again) = nullptr;
    uint64_t (*checksum)(void* context) = nullptr;
    // A frame both sides now hold for good, in order: record it, count it.
    void (*confirmFrame)(void* context, const NetConfirmedFrame& frame) = nullptr;
    // The whole current state as bytes (at most capacity; 0 when it cannot),
    // and the current state replaced by such bytes. readState gets the peer's
    // bytes: it must check them as it would a file, and refuse (false) any
    // that are not a whole valid state, leaving the current one as it was.
    size_t (*writeState)(void* context, uint8_t* bytes, size_t capacity) = nullptr;
    bool (*readState)(void* context, const uint8_t* bytes, size_t size) = nullptr;
    // Host only: its mask table, sent when the joiner's mask checksum differs.
    void (*writeMaskTable)(void* context, std::vector<uint8_t>& bytes) = nullptr;
};

// What this side brings to the handshake.
struct NetSettings {
    NetRole role = NetRole::Host;
    std::string gameVersion;                     // must equal the peer's
    int32_t frameMs = NET_DEFAULT_FRAME_MS;      // the host's holds
    int32_t inputDelay = NET_DEFAULT_INPUT_DELAY; // frames; the larger of both sides' holds
    uint64_t seedHalf = 0;                       // this side's part of the match seed: drawSeedHalf()
    uint64_t maskChecksum = 0;
    std::string name;                            // at most NET_MAX_NAME_BYTES
    std::vector<uint8_t> choices;                // this side's own choices, at most NET_MAX_CHOICES_BYTES
    uint32_t heldMask = 0xFFFFFFFFu;             // input bits a guess repeats; the others it clears
    size_t maxStateBytes = 1u << 20;             // room for writeState
};

// What both sides settled on, once Started.
struct NetAgreement {
    int32_t frameMs = 0;
    int32_t inputDelay = 0;
    uint64_t seed = 0;
    int32_t localPlayer = 0; // 0 host, 1 joiner
    std::string peerName;
    std::vector<uint8_t> peerChoices;
    std::vector<uint8_t> maskTable; // joiner: the host's masks, play with these; empty when they agree
};

enum class NetPhase : uint8_t {
    Idle,        // not connected yet
    Handshaking,
    Running,
    Paused,      // a menu is open on both sides at the same frame
    Mending,     // the host's state is on its way after a desync
    Ended,
};

enum class NetEndReason : uint8_t {
    None,
    LocalLeft,       // leaveSession
    PeerLeft,        // the peer left the match
    PeerSilent,      // nothing from the peer for NET_PEER_SILENCE_MS
    PeerGone,        // the link reports the peer disconnected
    ConnectFailed,   // nobody answered, or the address is wrong
    Refused,         // the host is in another match
    VersionMismatch, // protocol or game version
    ProtocolError,   // the peer broke the protocol, or the game's state could not be sent or taken
};

enum class NetEventType : uint8_t {
    Started,      // the handshake is done: read sessionAgreement
    WaitingBegan, // no frame for NET_WAITING_SHOWN_MS: show "Waiting for NAME"
    WaitingEnded,
    Paused,       // frame: where both stand; inputs: those of frame - 1, which paused
    Resumed,      // frame: going on from there; apply both sides' menu changes now
    Message,      // bytes: the peer's message, in the order sent
    DesyncFound,  // frame: the states after it differ; the two checksums
    Mended,       // frame: the host's state is the match now (drop any confirmed frame from there on)
    Ended,        // reason, and text for the player
};

struct NetEvent {
    NetEventType type = NetEventType::Started;
    int32_t frame = -1;
    uint32_t inputs[2] = {};
    uint64_t localChecksum = 0;
    uint64_t peerChecksum = 0;
    NetEndReason reason = NetEndReason::None;
    size_t size = 0; // of bytes used
    uint8_t bytes[NET_MAX_MESSAGE_BYTES] = {}; // the message, or the end text
};

// Figures for the overlay and the closing line.
struct NetStats {
    int32_t pingMs = 0;
    int32_t inputDelay = 0;
    int32_t rollbacksLastSecond = 0;
    int32_t deepestRollbackLastSecond = 0;
    double lossPercent = 0.0;          // of the peer's input packets, last second
    int32_t sentPerSecond = 0;         // bytes of our packets
    int32_t receivedPerSecond = 0;
    int32_t wireSentPerSecond = -1;    // UDP payload with the transport's headers; -1 unknown
    int32_t wireReceivedPerSecond = -1;
    int32_t framesAhead = 0;           // predicted frames now
    int64_t framesConfirmed = 0;
    int64_t rollbacks = 0;
    int32_t deepestRollback = 0;
    int64_t packetsLost = 0;
    int64_t malformedPackets = 0;
    int64_t desyncs = 0;
};

// One frame's inputs and what stepping it said; indexed by frame modulo NET_HISTORY_FRAMES.
struct NetFrameRecord {
    int32_t frame = -1;      // which frame this holds; anything else: nothing known
    uint32_t epoch = 0;
    bool localKnown = false;
    bool remoteKnown = false;
    uint32_t local = 0;
    uint32_t remote = 0;
    uint32_t remoteUsed = 0; // the peer's input the frame was last stepped with
    uint64_t checksum = 0;   // after the last step of it
    bool pauses = false;     // the last step of it ended in a pause
    bool mend = false;       // the host marked it: both stop after it for its state
};

struct NetChecksumRecord {
    int32_t frame = -1;
    uint64_t checksum = 0;
};

struct NetSession {
    NetSettings settings;
    NetGame game;
    NetLink link;
    NetPhase phase = NetPhase::Idle;
    NetAgreement agreed;
    NetEndReason endReason = NetEndReason::None;

    // Handshake.
    int64_t handshakeStartMs = 0;
    bool peerHelloSeen = false;
    uint64_t peerSeedHalf = 0;
    uint64_t peerMaskChecksum = 0;
    int32_t peerInputDelay = 0;

    // Frames. An epoch starts at every resume: inputs of older epochs are stale.
    uint32_t epoch = 0;
    int32_t epochStart = 0;    // first frame of this epoch
    int32_t frame = 0;         // the state the game holds is the one at this frame
    int32_t steppedUpTo = 0;   // frames below this were stepped at least once
    int32_t confirmed = -1;    // newest frame both inputs are known for and stepped with
    int32_t localKnown = -1;   // newest frame with our input
    int32_t remoteKnown = -1;  // newest frame with the peer's input, all before it known too
    int32_t peerAck = -1;      // newest of our inputs the peer holds, all before it too
    int32_t peerConfirmed = -1;
    int32_t firstWrong = 0;    // earliest frame to step again; frame or more: none
    uint32_t pendingInput = 0; // local input not yet given a frame: latest held bits, every edge since
    NetFrameRecord records[NET_HISTORY_FRAMES];
    NetChecksumRecord confirmedChecksums[NET_HISTORY_FRAMES];

    // Stopping for a pause or a mend.
    int32_t stopFrame = -1;    // the frame both stop at; -1 none
    bool stopPauses = false;
    bool stopMends = false;
    bool localReady = false;
    bool peerReady = false;
    uint32_t peerReadyEpoch = 0;

    // Desyncs.
    int32_t compareFrom = 0;   // checksums of frames before this are not compared (a mend)
    bool desyncOpen = false;   // found and not mended yet
    bool mendWanted = false;   // host: mark the next input, or send the state when stopped
    int32_t mendSentFrame = -1;
    // Joiner: the host's state, in stateBytes until every frame before it is
    // confirmed here too, so that no confirmed frame goes missing.
    int32_t heldStateFrame = -1; // -1: none held
    bool heldStatePaused = false;
    size_t heldStateSize = 0;

    // Time.
    TimeSync sync;
    LinkQuality quality;
    int64_t lastReceiveMs = 0;
    int64_t lastInputSendMs = -1000000;
    int64_t waitingSinceMs = -1;
    bool waitingShown = false;
    uint32_t inputSequence = 0;
    int32_t wireSentPerSecond = -1;
    int32_t wireReceivedPerSecond = -1;
    int64_t malformedPackets = 0;
    int64_t desyncs = 0;
    int64_t framesConfirmed = 0;

    NetEvent events[NET_EVENT_QUEUE];
    int32_t eventHead = 0;
    int32_t eventCount = 0;

    uint8_t inputPacket[NET_INPUT_PACKET_ROOM] = {};
    std::vector<uint8_t> controlPacket;
    std::vector<uint8_t> stateBytes;
};

// Readies a session; no packet goes out before linkConnected.
void startSession(NetSession& s, const NetSettings& settings, const NetGame& game, const NetLink& link,
                  int64_t nowMs);
// The link reached the peer: the handshake begins.
void linkConnected(NetSession& s, int64_t nowMs);
// The link lost the peer or could not reach it; ends the session with why.
void linkLost(NetSession& s, NetEndReason reason, const std::string& why);
// One packet from the peer. Malformed ones are dropped and counted.
void receivePacket(NetSession& s, NetChannel channel, const uint8_t* bytes, size_t size, int64_t nowMs);

// One frame of the game while Running: true when a frame was stepped.
bool advanceSession(NetSession& s, uint32_t localInput, int64_t nowMs);
// Timeouts, keep-alive packets and statistics, for passes that step no frame.
void pumpSession(NetSession& s, int64_t nowMs);
// Milliseconds from this frame to the next: the agreed frame time, a little
// longer while this side runs ahead.
double framePeriodMs(const NetSession& s);

// A reliable message for the peer's game; false when too long or not connected.
bool sendMessage(NetSession& s, const uint8_t* bytes, size_t size);
// This side's player goes on from the pause.
void readyToResume(NetSession& s);
bool peerIsReady(const NetSession& s);
// Tells the peer we leave, and ends the session.
void leaveSession(NetSession& s);

// A seed half from this machine's own random source, never the match's.
uint64_t drawSeedHalf();
// The oldest event not read yet; false when there is none.
bool pollEvent(NetSession& s, NetEvent& event);
std::string eventText(const NetEvent& event);
const NetAgreement& sessionAgreement(const NetSession& s);
// Waiting for the peer long enough to say so.
bool sessionWaiting(const NetSession& s);
NetStats sessionStats(const NetSession& s);
// The figures on one line, for stderr at the end of a match.
std::string statsLine(const NetStats& stats);
