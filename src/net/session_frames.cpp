// The frames of a session: inputs in and out, guesses, rollbacks, confirmed
// frames and the stop before a pause or a mend.
#include <algorithm>
#include <cassert>
#include <cmath>
#include "net/session_internal.h"

namespace {

constexpr int32_t HISTORY_MASK = NET_HISTORY_FRAMES - 1;
static_assert((NET_HISTORY_FRAMES & HISTORY_MASK) == 0, "the history is a power of two");
// Our inputs the peer may lack, or its inputs ahead of our confirmed frame,
// before we stop making or taking more: far inside the history.
constexpr int32_t MAX_FRAMES_OPEN = NET_HISTORY_FRAMES / 2;

int32_t slotOf(int32_t f) { return f % NET_SAVE_SLOTS; }

// The peer's input for frame f: known, or guessed from its last known one.
uint32_t peerInputFor(const NetSession& s, int32_t f)
{
    if (f <= s.remoteKnown)
        return recordOf(s, f)->remote;
    const NetFrameRecord* last = recordOf(s, s.remoteKnown);
    return last ? last->remote & s.settings.heldMask : 0;
}

// The session stands still after a frame that paused or carries the host's mend mark.
bool holdsAfter(const NetSession& s, int32_t f)
{
    const NetFrameRecord* r = f >= s.epochStart ? recordOf(s, f) : nullptr;
    return r && (r->pauses || r->mend);
}

void stepOne(NetSession& s, bool save)
{
    const int32_t f = s.frame;
    NetFrameRecord& r = recordFor(s, f);
    r.remoteUsed = peerInputFor(s, f);
    uint32_t inputs[2];
    inputs[s.agreed.localPlayer] = r.local;
    inputs[1 - s.agreed.localPlayer] = r.remoteUsed;
    if (save)
        s.game.saveState(s.game.context, slotOf(f));
    r.pauses = s.game.stepFrame(s.game.context, inputs, f, f < s.steppedUpTo);
    r.checksum = s.game.checksum(s.game.context);
    s.frame = f + 1;
    s.steppedUpTo = std::max(s.steppedUpTo, s.frame);
}

bool canStep(const NetSession& s)
{
    if (s.stopFrame >= 0 || holdsAfter(s, s.frame - 1))
        return false;
    if (s.frame - s.remoteKnown > NET_MAX_ROLLBACK_FRAMES)
        return false;
    return s.frame + s.agreed.inputDelay - s.peerAck <= MAX_FRAMES_OPEN;
}

// The pending input becomes ours for the frame inputDelay ahead, unless a
// rollback took us back to frames whose inputs were given already.
void assignLocalInput(NetSession& s)
{
    const int32_t f = s.frame + s.agreed.inputDelay;
    if (f <= s.localKnown)
        return;
    NetFrameRecord& r = recordFor(s, f);
    r.local = s.pendingInput;
    if (s.mendWanted && s.settings.role == NetRole::Host) {
        r.mend = true;
        s.mendWanted = false;
        s.mendSentFrame = f;
    }
    s.localKnown = f;
    s.pendingInput = 0;
}

// Back to the earliest frame a guess got wrong, and forward again to where we
// were, unless a frame on the way now pauses.
void rollBack(NetSession& s)
{
    const int32_t from = s.firstWrong;
    s.firstWrong = NO_FRAME;
    if (from >= s.frame)
        return;
    const int32_t end = s.frame;
    assert(end - from <= NET_MAX_ROLLBACK_FRAMES);
    s.game.loadState(s.game.context, slotOf(from));
    s.frame = from;
    while (s.frame < end && !holdsAfter(s, s.frame - 1))
        stepOne(s, s.frame != from);
    noteRollback(s.quality, end - from);
}

void confirmFrames(NetSession& s)
{
    const int32_t last = std::min(s.frame - 1, s.remoteKnown);
    while (s.stopFrame < 0 && s.confirmed < last) {
        const int32_t f = s.confirmed + 1;
        const NetFrameRecord& r = *recordOf(s, f);
        NetConfirmedFrame c;
        c.frame = f;
        c.inputs[s.agreed.localPlayer] = r.local;
        c.inputs[1 - s.agreed.localPlayer] = r.remote;
        c.checksum = r.checksum;
        c.pauses = r.pauses;
        s.game.confirmFrame(s.game.context, c);
        storeConfirmedChecksum(s, f, r.checksum);
        s.confirmed = f;
        ++s.framesConfirmed;
        if (r.pauses || r.mend) {
            s.stopFrame = f + 1;
            s.stopPauses = r.pauses;
            s.stopMends = r.mend;
        }
    }
    if (s.stopFrame >= 0)
        settleStop(s);
    takeHeldState(s);
}

void noteWaiting(NetSession& s, bool stepped, int64_t nowMs)
{
    if (stepped || s.phase != NetPhase::Running) {
        s.waitingSinceMs = -1;
        if (s.waitingShown)
            pushFrameEvent(s, NetEventType::WaitingEnded, s.frame);
        s.waitingShown = false;
        return;
    }
    if (s.waitingSinceMs < 0)
        s.waitingSinceMs = nowMs;
    if (!s.waitingShown && nowMs - s.waitingSinceMs >= NET_WAITING_SHOWN_MS) {
        s.waitingShown = true;
        pushFrameEvent(s, NetEventType::WaitingBegan, s.frame);
    }
}

void takePeerInputs(NetSession& s, const InputPacket& p)
{
    for (int32_t i = 0; i < p.count; ++i) {
        const int32_t f = p.firstFrame + i;
        if (f <= s.remoteKnown)
            continue;
        // A gap: the missing inputs come again in the next packet.
        if (f != s.remoteKnown + 1 || f - s.confirmed > MAX_FRAMES_OPEN)
            break;
        NetFrameRecord& r = recordFor(s, f);
        r.remote = p.inputs[i];
        s.remoteKnown = f;
        if (f < s.frame && r.remoteUsed != r.remote)
            s.firstWrong = std::min(s.firstWrong, f);
        if (f == p.mendFrame && s.settings.role == NetRole::Joiner) {
            r.mend = true;
            if (f + 1 < s.frame)
                s.firstWrong = std::min(s.firstWrong, f + 1);
        }
    }
}

bool connected(const NetSession& s)
{
    return s.phase == NetPhase::Running || s.phase == NetPhase::Paused || s.phase == NetPhase::Mending;
}

void checkTimers(NetSession& s, int64_t nowMs)
{
    rollStatsWindow(s.quality, nowMs);
    if (s.phase == NetPhase::Handshaking && nowMs - s.handshakeStartMs > NET_HANDSHAKE_TIMEOUT_MS)
        endSession(s, NetEndReason::PeerSilent, "the other side did not finish the handshake within 10 s");
    if (connected(s) && nowMs - s.lastReceiveMs > NET_PEER_SILENCE_MS)
        endSession(s, NetEndReason::PeerSilent, s.agreed.peerName + " has not answered for 10 s");
}

} // namespace

NetFrameRecord& recordFor(NetSession& s, int32_t f)
{
    NetFrameRecord& r = s.records[f & HISTORY_MASK];
    if (r.frame != f || r.epoch != s.epoch) {
        r = NetFrameRecord{};
        r.frame = f;
        r.epoch = s.epoch;
    }
    return r;
}

const NetFrameRecord* recordOf(const NetSession& s, int32_t f)
{
    const NetFrameRecord& r = s.records[f & HISTORY_MASK];
    return f >= 0 && r.frame == f && r.epoch == s.epoch ? &r : nullptr;
}

void beginEpoch(NetSession& s, int32_t frame)
{
    s.epochStart = s.frame = s.steppedUpTo = frame;
    s.confirmed = s.peerConfirmed = frame - 1;
    s.stopFrame = -1;
    s.stopPauses = s.stopMends = false;
    s.localReady = s.peerReady = false;
    s.firstWrong = NO_FRAME;
    s.pendingInput = 0;
    for (int32_t f = frame; f < frame + s.agreed.inputDelay; ++f)
        recordFor(s, f);
    s.localKnown = s.remoteKnown = s.peerAck = frame + s.agreed.inputDelay - 1;
    s.waitingSinceMs = -1;
    s.heldStateFrame = -1;
    resetTimeSync(s.sync, s.agreed.frameMs);
    s.phase = NetPhase::Running;
}

void sendInputs(NetSession& s, int64_t nowMs)
{
    InputPacket p;
    p.epoch = s.epoch;
    p.sequence = s.inputSequence++;
    p.sentMs = static_cast<uint16_t>(nowMs);
    echoFor(s.quality, nowMs, p.echoMs, p.echoHeldMs);
    p.frame = s.frame;
    const double lead = std::round(s.sync.smoothedLead * 4.0);
    p.leadQuarters = static_cast<int32_t>(std::clamp<double>(lead, -NET_MAX_LEAD_QUARTERS, NET_MAX_LEAD_QUARTERS));
    p.ackFrame = s.remoteKnown;
    const int32_t both = std::min(s.confirmed, s.peerConfirmed);
    const NetChecksumRecord& sum = s.confirmedChecksums[both & HISTORY_MASK];
    if (both >= s.compareFrom && sum.frame == both) {
        p.checksumFrame = both;
        p.checksum = sum.checksum;
    }
    p.firstFrame = s.peerAck + 1;
    p.count = std::clamp(s.localKnown - s.peerAck, 0, NET_MAX_INPUTS_PER_PACKET);
    for (int32_t i = 0; i < p.count; ++i) {
        const NetFrameRecord* r = recordOf(s, p.firstFrame + i);
        assert(r);
        p.inputs[i] = r->local;
        if (r->mend)
            p.mendFrame = p.firstFrame + i;
    }
    const size_t size = encodeInputs(p, s.inputPacket);
    s.link.send(s.link.context, NetChannel::Inputs, s.inputPacket, size);
    noteSent(s.quality, size);
    s.lastInputSendMs = nowMs;
}

void receiveInputs(NetSession& s, const InputPacket& p, int64_t nowMs)
{
    if (!connected(s) || p.epoch != s.epoch || !noteSequence(s.quality, p.sequence))
        return;
    if (p.sequence == s.quality.highestSequence) {
        noteEcho(s.quality, p.echoMs, p.echoHeldMs, nowMs);
        notePeerStamp(s.quality, p.sentMs, nowMs);
        notePeerFrame(s.sync, p.frame, p.leadQuarters / 4.0, nowMs);
        s.peerConfirmed = std::max(s.peerConfirmed, std::min(p.frame - 1, p.ackFrame));
    }
    s.peerAck = std::max(s.peerAck, std::min(p.ackFrame, s.localKnown));
    if (p.checksumFrame >= 0)
        compareChecksum(s, p.checksumFrame, p.checksum);
    takePeerInputs(s, p);
    if (s.stopFrame >= 0)
        settleStop(s);
}

void settleStop(NetSession& s)
{
    if (s.phase != NetPhase::Running)
        return;
    if (s.stopMends) {
        s.phase = NetPhase::Mending;
        noteWaiting(s, false, 0);
        sendStateIfStopped(s);
    } else if (s.peerAck >= s.stopFrame - 1) {
        enterPause(s);
    }
}

void enterPause(NetSession& s)
{
    s.phase = NetPhase::Paused;
    noteWaiting(s, false, 0);
    NetEvent e;
    e.type = NetEventType::Paused;
    e.frame = s.frame;
    if (const NetFrameRecord* r = recordOf(s, s.frame - 1)) {
        e.inputs[s.agreed.localPlayer] = r->local;
        e.inputs[1 - s.agreed.localPlayer] = r->remote;
    }
    pushEvent(s, e);
    sendStateIfStopped(s);
}

bool advanceSession(NetSession& s, uint32_t localInput, int64_t nowMs)
{
    checkTimers(s, nowMs);
    if (s.phase != NetPhase::Running) {
        pumpSession(s, nowMs);
        return false;
    }
    s.pendingInput = (s.pendingInput & ~s.settings.heldMask) | localInput;
    rollBack(s);
    confirmFrames(s);
    bool stepped = false;
    if (s.phase == NetPhase::Running && canStep(s)) {
        assignLocalInput(s);
        stepOne(s, true);
        stepped = true;
        confirmFrames(s);
    }
    updateLead(s.sync, s.frame, s.quality.roundTripMs, nowMs);
    noteWaiting(s, stepped, nowMs);
    if (connected(s))
        sendInputs(s, nowMs);
    return stepped;
}

void pumpSession(NetSession& s, int64_t nowMs)
{
    checkTimers(s, nowMs);
    if (connected(s) && nowMs - s.lastInputSendMs >= NET_KEEPALIVE_MS)
        sendInputs(s, nowMs);
}

double framePeriodMs(const NetSession& s)
{
    return s.phase == NetPhase::Running ? pacedFrameMs(s.sync) : s.agreed.frameMs;
}
