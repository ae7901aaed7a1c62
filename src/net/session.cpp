// The session's life: start, handshake, packets in, messages, the pause's
// barrier, leaving, events and figures.
#include "net/session.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include "net/session_internal.h"

namespace {

ByteSpan spanOf(const std::string& text)
{
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

std::string textOf(ByteSpan span)
{
    return std::string(reinterpret_cast<const char*>(span.bytes), span.size);
}

// Both halves count: neither side alone picks the match.
uint64_t mixSeeds(uint64_t hostHalf, uint64_t joinerHalf)
{
    uint64_t z = hostHalf ^ (joinerHalf * 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

void sendHello(NetSession& s)
{
    HelloPacket h;
    h.protocolVersion = NET_PROTOCOL_VERSION;
    h.gameVersion = spanOf(s.settings.gameVersion);
    h.role = s.settings.role == NetRole::Host ? 0 : 1;
    h.frameMs = s.settings.frameMs;
    h.inputDelay = s.settings.inputDelay;
    h.seedHalf = s.settings.seedHalf;
    h.maskChecksum = s.settings.maskChecksum;
    h.name = spanOf(s.settings.name);
    h.choices = {s.settings.choices.data(), s.settings.choices.size()};
    encodeHello(h, s.controlPacket);
    sendControl(s);
}

void startFrames(NetSession& s)
{
    s.epoch = 0;
    beginEpoch(s, 0);
    pushFrameEvent(s, NetEventType::Started, 0);
}

// The peer's hello: versions first, so that a mismatch says what differs.
void receiveHello(NetSession& s, const HelloPacket& h)
{
    const std::string version = textOf(h.gameVersion);
    if (h.protocolVersion != NET_PROTOCOL_VERSION || version != s.settings.gameVersion) {
        char text[NET_MAX_REASON_BYTES];
        std::snprintf(text, sizeof text, "the other side runs version %s (protocol %u), this one %s (protocol %u)",
                      version.c_str(), h.protocolVersion, s.settings.gameVersion.c_str(), NET_PROTOCOL_VERSION);
        endSession(s, NetEndReason::VersionMismatch, text);
        return;
    }
    const uint8_t expectedRole = s.settings.role == NetRole::Host ? 1 : 0;
    if (s.peerHelloSeen || h.role != expectedRole) {
        endSession(s, NetEndReason::ProtocolError, "the other side is not a joiner for this host");
        return;
    }
    s.peerHelloSeen = true;
    s.agreed.peerName = textOf(h.name);
    s.agreed.peerChoices.assign(h.choices.bytes, h.choices.bytes + h.choices.size);
    s.peerSeedHalf = h.seedHalf;
    s.peerMaskChecksum = h.maskChecksum;
    s.peerInputDelay = h.inputDelay;
    if (s.settings.role != NetRole::Host)
        return;
    // The host settles: its frame time, the longer delay, a seed of both halves.
    s.agreed.frameMs = s.settings.frameMs;
    s.agreed.inputDelay = std::max(s.settings.inputDelay, h.inputDelay);
    s.agreed.seed = mixSeeds(s.settings.seedHalf, h.seedHalf);
    if (h.maskChecksum != s.settings.maskChecksum) {
        std::vector<uint8_t> masks;
        if (s.game.writeMaskTable)
            s.game.writeMaskTable(s.game.context, masks);
        encodeBlob(PacketType::MaskTable, {masks.data(), masks.size()}, s.controlPacket);
        sendControl(s);
    }
    encodeStart({s.agreed.frameMs, s.agreed.inputDelay, s.agreed.seed}, s.controlPacket);
    sendControl(s);
    startFrames(s);
}

void receiveStart(NetSession& s, const StartPacket& p)
{
    const bool masksDiffer = s.peerMaskChecksum != s.settings.maskChecksum;
    if (s.settings.role != NetRole::Joiner || !s.peerHelloSeen || (masksDiffer && s.agreed.maskTable.empty())) {
        endSession(s, NetEndReason::ProtocolError, "the host started the match out of turn");
        return;
    }
    s.agreed.frameMs = p.frameMs;
    s.agreed.inputDelay = p.inputDelay;
    s.agreed.seed = p.seed;
    startFrames(s);
}

void receiveMaskTable(NetSession& s, ByteSpan table)
{
    if (s.settings.role != NetRole::Joiner || !s.peerHelloSeen || table.size == 0) {
        endSession(s, NetEndReason::ProtocolError, "a mask table came out of turn");
        return;
    }
    s.agreed.maskTable.assign(table.bytes, table.bytes + table.size);
}

void receiveMessage(NetSession& s, ByteSpan blob)
{
    NetEvent e;
    e.type = NetEventType::Message;
    e.frame = s.frame;
    e.size = blob.size;
    std::copy(blob.bytes, blob.bytes + blob.size, e.bytes);
    pushEvent(s, e);
}

void receiveReady(NetSession& s, uint32_t epoch)
{
    s.peerReady = true;
    s.peerReadyEpoch = epoch;
    resumeIfBothReady(s);
}

// What each packet type may do in each phase; anything else is ignored.
void dispatchReliable(NetSession& s, const Packet& p)
{
    const bool handshaking = s.phase == NetPhase::Handshaking;
    if (p.type == PacketType::Hello && handshaking)
        receiveHello(s, p.hello);
    else if (p.type == PacketType::MaskTable && handshaking)
        receiveMaskTable(s, p.blob);
    else if (p.type == PacketType::Start && handshaking)
        receiveStart(s, p.start);
    else if (p.type == PacketType::Message && !handshaking)
        receiveMessage(s, p.blob);
    else if (p.type == PacketType::Ready && !handshaking)
        receiveReady(s, p.mark.epoch);
    else if (p.type == PacketType::State)
        receiveState(s, p.state);
    else if (p.type == PacketType::MendDone)
        receiveMendDone(s, p.mark);
    else if (p.type == PacketType::Leave)
        endSession(s, NetEndReason::PeerLeft,
                   (s.agreed.peerName.empty() ? std::string("the other player") : s.agreed.peerName) + " left the match");
    else if (p.type == PacketType::Refusal)
        endSession(s, NetEndReason::Refused, "the host refused: " + textOf(p.blob));
}

} // namespace

void pushEvent(NetSession& s, const NetEvent& event)
{
    if (s.eventCount == NET_EVENT_QUEUE) {
        // The game reads every pass; a full queue means a peer flooding it.
        s.eventCount = 0;
        s.eventHead = 0;
        endSession(s, NetEndReason::ProtocolError, "the other side sent more than the game could read");
        return;
    }
    s.events[(s.eventHead + s.eventCount) % NET_EVENT_QUEUE] = event;
    ++s.eventCount;
}

void pushFrameEvent(NetSession& s, NetEventType type, int32_t frame)
{
    NetEvent e;
    e.type = type;
    e.frame = frame;
    pushEvent(s, e);
}

void endSession(NetSession& s, NetEndReason reason, const std::string& text)
{
    if (s.phase == NetPhase::Ended)
        return;
    s.phase = NetPhase::Ended;
    s.endReason = reason;
    NetEvent e;
    e.type = NetEventType::Ended;
    e.frame = s.frame;
    e.reason = reason;
    e.size = std::min(text.size(), NET_MAX_REASON_BYTES);
    std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(e.size), e.bytes);
    pushEvent(s, e);
}

void sendControl(NetSession& s)
{
    s.link.send(s.link.context, NetChannel::Reliable, s.controlPacket.data(), s.controlPacket.size());
    noteSent(s.quality, s.controlPacket.size());
}

void startSession(NetSession& s, const NetSettings& settings, const NetGame& game, const NetLink& link,
                  int64_t nowMs)
{
    s = NetSession{};
    s.settings = settings;
    s.settings.name.resize(std::min(settings.name.size(), NET_MAX_NAME_BYTES));
    s.settings.choices.resize(std::min(settings.choices.size(), NET_MAX_CHOICES_BYTES));
    s.settings.inputDelay = std::clamp(settings.inputDelay, 0, NET_MAX_INPUT_DELAY);
    s.settings.frameMs = std::clamp(settings.frameMs, NET_MIN_FRAME_MS, NET_MAX_FRAME_MS);
    s.game = game;
    s.link = link;
    s.agreed.localPlayer = settings.role == NetRole::Host ? 0 : 1;
    s.agreed.frameMs = s.settings.frameMs;
    s.quality.windowStartMs = nowMs;
    s.lastReceiveMs = nowMs;
    s.firstWrong = NO_FRAME;
    s.controlPacket.reserve(NET_MAX_CONTROL_PACKET_BYTES);
    s.stateBytes.resize(settings.maxStateBytes);
}

void linkConnected(NetSession& s, int64_t nowMs)
{
    if (s.phase != NetPhase::Idle)
        return;
    s.phase = NetPhase::Handshaking;
    s.handshakeStartMs = nowMs;
    s.lastReceiveMs = nowMs;
    sendHello(s);
}

void linkLost(NetSession& s, NetEndReason reason, const std::string& why)
{
    endSession(s, reason, why);
}

void receivePacket(NetSession& s, NetChannel channel, const uint8_t* bytes, size_t size, int64_t nowMs)
{
    if (s.phase == NetPhase::Idle || s.phase == NetPhase::Ended)
        return;
    Packet p;
    const bool inputChannel = channel == NetChannel::Inputs;
    if (!decodePacket(bytes, size, p) || inputChannel != (p.type == PacketType::Inputs)) {
        ++s.malformedPackets;
        return;
    }
    s.lastReceiveMs = nowMs;
    noteReceived(s.quality, size);
    if (inputChannel)
        receiveInputs(s, p.inputs, nowMs);
    else
        dispatchReliable(s, p);
}

bool sendMessage(NetSession& s, const uint8_t* bytes, size_t size)
{
    const bool live = s.phase == NetPhase::Running || s.phase == NetPhase::Paused || s.phase == NetPhase::Mending;
    if (!live || size > NET_MAX_MESSAGE_BYTES)
        return false;
    encodeBlob(PacketType::Message, {bytes, size}, s.controlPacket);
    sendControl(s);
    return true;
}

void readyToResume(NetSession& s)
{
    if (s.phase != NetPhase::Paused || s.localReady)
        return;
    s.localReady = true;
    encodeMark(PacketType::Ready, {s.epoch, 0}, s.controlPacket);
    sendControl(s);
    resumeIfBothReady(s);
}

bool peerIsReady(const NetSession& s)
{
    return s.peerReady && s.peerReadyEpoch == s.epoch;
}

void leaveSession(NetSession& s)
{
    if (s.phase == NetPhase::Ended)
        return;
    if (s.phase != NetPhase::Idle) {
        encodeLeave(s.controlPacket);
        sendControl(s);
    }
    endSession(s, NetEndReason::LocalLeft, "you left the match");
}

bool pollEvent(NetSession& s, NetEvent& event)
{
    if (s.eventCount == 0)
        return false;
    event = s.events[s.eventHead];
    s.eventHead = (s.eventHead + 1) % NET_EVENT_QUEUE;
    --s.eventCount;
    return true;
}

std::string eventText(const NetEvent& event)
{
    return std::string(reinterpret_cast<const char*>(event.bytes), event.size);
}

uint64_t drawSeedHalf()
{
    std::random_device device;
    const uint64_t clock = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    return (uint64_t{device()} << 32 ^ device()) ^ clock * 0x9E3779B97F4A7C15ull;
}

const NetAgreement& sessionAgreement(const NetSession& s) { return s.agreed; }

bool sessionWaiting(const NetSession& s) { return s.waitingShown; }

NetStats sessionStats(const NetSession& s)
{
    const LinkQuality& q = s.quality;
    NetStats t;
    t.pingMs = q.roundTripMs;
    t.inputDelay = s.agreed.inputDelay;
    t.rollbacksLastSecond = q.rollbacksPerSecond;
    t.deepestRollbackLastSecond = q.deepestPerSecond;
    t.lossPercent = q.lossPercent;
    t.sentPerSecond = q.sentPerSecond;
    t.receivedPerSecond = q.receivedPerSecond;
    t.wireSentPerSecond = s.wireSentPerSecond;
    t.wireReceivedPerSecond = s.wireReceivedPerSecond;
    t.framesAhead = std::max(0, s.frame - 1 - s.remoteKnown);
    t.framesConfirmed = s.framesConfirmed;
    t.rollbacks = q.rollbacks;
    t.deepestRollback = q.deepestRollback;
    t.packetsLost = q.packetsLost;
    t.malformedPackets = s.malformedPackets;
    t.desyncs = s.desyncs;
    return t;
}

std::string statsLine(const NetStats& t)
{
    char line[320];
    const int32_t sent = t.wireSentPerSecond >= 0 ? t.wireSentPerSecond : t.sentPerSecond;
    const int32_t received = t.wireReceivedPerSecond >= 0 ? t.wireReceivedPerSecond : t.receivedPerSecond;
    std::snprintf(line, sizeof line,
                  "network: ping %d ms, input delay %d, rollbacks %lld (deepest %d), loss %.1f %% "
                  "(%lld packets), %d B/s out, %d B/s in, %lld frames confirmed, %lld desyncs, "
                  "%lld malformed packets",
                  t.pingMs, t.inputDelay, static_cast<long long>(t.rollbacks), t.deepestRollback, t.lossPercent,
                  static_cast<long long>(t.packetsLost), sent, received, static_cast<long long>(t.framesConfirmed),
                  static_cast<long long>(t.desyncs), static_cast<long long>(t.malformedPackets));
    return line;
}
