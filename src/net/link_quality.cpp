#include "net/link_quality.h"

#include <algorithm>
#include <cstddef>
#include "net/net_limits.h"

namespace {
constexpr int SEQUENCE_MEMORY = 64;
constexpr uint16_t MAX_HELD_MS = NO_ECHO - 1;
}

bool noteSequence(LinkQuality& q, uint32_t sequence)
{
    if (!q.sequenceSeen) {
        q.sequenceSeen = true;
        q.highestSequence = sequence;
        q.seenBelow = 1;
        q.windowFirstSequence = sequence;
        q.windowArrived = 1;
        return true;
    }
    if (sequence > q.highestSequence) {
        const uint32_t gap = sequence - q.highestSequence;
        q.seenBelow = gap >= SEQUENCE_MEMORY ? 1 : (q.seenBelow << gap) | 1;
        q.highestSequence = sequence;
        ++q.windowArrived;
        return true;
    }
    const uint32_t below = q.highestSequence - sequence;
    if (below >= SEQUENCE_MEMORY || (q.seenBelow >> below) & 1)
        return false;
    q.seenBelow |= uint64_t{1} << below;
    if (sequence >= q.windowFirstSequence)
        ++q.windowArrived;
    return true;
}

void noteEcho(LinkQuality& q, uint16_t echoMs, uint16_t heldMs, int64_t nowMs)
{
    if (heldMs == NO_ECHO)
        return;
    const uint16_t now16 = static_cast<uint16_t>(nowMs);
    const int32_t sample = static_cast<uint16_t>(now16 - echoMs - heldMs);
    // A sample past the silence limit is a stamp from long ago, not a round trip.
    if (sample > NET_PEER_SILENCE_MS)
        return;
    q.roundTripMs = q.roundTripKnown ? (q.roundTripMs * 7 + sample + 4) / 8 : sample;
    q.roundTripKnown = true;
}

void notePeerStamp(LinkQuality& q, uint16_t stamp, int64_t nowMs)
{
    q.peerStampKnown = true;
    q.peerStamp = stamp;
    q.peerStampAtMs = nowMs;
}

void echoFor(const LinkQuality& q, int64_t nowMs, uint16_t& echoMs, uint16_t& heldMs)
{
    echoMs = q.peerStamp;
    heldMs = NO_ECHO;
    if (q.peerStampKnown && nowMs - q.peerStampAtMs <= MAX_HELD_MS)
        heldMs = static_cast<uint16_t>(nowMs - q.peerStampAtMs);
}

void noteSent(LinkQuality& q, size_t bytes)
{
    ++q.packetsSent;
    q.bytesSent += static_cast<int64_t>(bytes);
    q.windowSentBytes += static_cast<int64_t>(bytes);
}

void noteReceived(LinkQuality& q, size_t bytes)
{
    ++q.packetsReceived;
    q.bytesReceived += static_cast<int64_t>(bytes);
    q.windowReceivedBytes += static_cast<int64_t>(bytes);
}

void noteRollback(LinkQuality& q, int32_t depth)
{
    ++q.rollbacks;
    ++q.windowRollbacks;
    q.windowDeepest = std::max(q.windowDeepest, depth);
    q.deepestRollback = std::max(q.deepestRollback, depth);
}

void rollStatsWindow(LinkQuality& q, int64_t nowMs)
{
    const int64_t spanMs = nowMs - q.windowStartMs;
    if (spanMs < NET_STATS_WINDOW_MS)
        return;
    const int64_t expected = q.sequenceSeen ? int64_t{q.highestSequence} - q.windowFirstSequence + 1 : 0;
    const int64_t lost = std::max<int64_t>(0, expected - q.windowArrived);
    q.lossPercent = expected > 0 ? 100.0 * static_cast<double>(lost) / static_cast<double>(expected) : 0.0;
    q.packetsLost += lost;
    q.sentPerSecond = static_cast<int32_t>(q.windowSentBytes * 1000 / spanMs);
    q.receivedPerSecond = static_cast<int32_t>(q.windowReceivedBytes * 1000 / spanMs);
    q.rollbacksPerSecond = q.windowRollbacks;
    q.deepestPerSecond = q.windowDeepest;
    q.windowStartMs = nowMs;
    q.windowSentBytes = q.windowReceivedBytes = 0;
    q.windowRollbacks = q.windowDeepest = 0;
    q.windowFirstSequence = q.highestSequence + 1;
    q.windowArrived = 0;
}
