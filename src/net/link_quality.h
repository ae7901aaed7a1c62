// What the connection is like: round trip, packet loss, traffic and
// rollbacks, per second for the overlay and in total for the closing line.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr uint16_t NO_ECHO = 0xFFFF; // in echoHeldMs: nothing of ours received yet

struct LinkQuality {
    int32_t roundTripMs = 0; // smoothed; 0 until the first sample
    bool roundTripKnown = false;

    // The newest stamp the peer sent, to echo back with how long we held it.
    bool peerStampKnown = false;
    uint16_t peerStamp = 0;
    int64_t peerStampAtMs = 0;

    // Input packet sequence numbers seen: the highest and the 64 below it.
    bool sequenceSeen = false;
    uint32_t highestSequence = 0;
    uint64_t seenBelow = 0;      // bit i: highestSequence - i arrived
    uint32_t windowFirstSequence = 0;
    int32_t windowArrived = 0;   // distinct packets of this window's range

    int64_t windowStartMs = 0;
    int64_t windowSentBytes = 0;
    int64_t windowReceivedBytes = 0;
    int32_t windowRollbacks = 0;
    int32_t windowDeepest = 0;

    // The last whole window.
    double lossPercent = 0.0;
    int32_t sentPerSecond = 0;
    int32_t receivedPerSecond = 0;
    int32_t rollbacksPerSecond = 0;
    int32_t deepestPerSecond = 0;

    // The whole session.
    int64_t packetsSent = 0;
    int64_t packetsReceived = 0;
    int64_t packetsLost = 0;
    int64_t bytesSent = 0;
    int64_t bytesReceived = 0;
    int64_t rollbacks = 0;
    int32_t deepestRollback = 0;
};

// A new input packet: true when its sequence number had not been seen.
bool noteSequence(LinkQuality& q, uint32_t sequence);
// An echo of our stamp: one round trip sample.
void noteEcho(LinkQuality& q, uint16_t echoMs, uint16_t heldMs, int64_t nowMs);
void notePeerStamp(LinkQuality& q, uint16_t stamp, int64_t nowMs);
// The stamp to echo and how long it was held; heldMs is NO_ECHO without one.
void echoFor(const LinkQuality& q, int64_t nowMs, uint16_t& echoMs, uint16_t& heldMs);
void noteSent(LinkQuality& q, size_t bytes);
void noteReceived(LinkQuality& q, size_t bytes);
void noteRollback(LinkQuality& q, int32_t depth);
// Closes the window once it is NET_STATS_WINDOW_MS old.
void rollStatsWindow(LinkQuality& q, int64_t nowMs);
