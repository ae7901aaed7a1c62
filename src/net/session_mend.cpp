// Desyncs: both sides compare the checksums of frames both confirmed; on a
// difference both stop at one frame, the host sends its whole state and the
// joiner takes it. Also the pause's barrier, which a mend may end in.
#include <algorithm>
#include "net/session_internal.h"

namespace {

constexpr int32_t HISTORY_MASK = NET_HISTORY_FRAMES - 1;

// Both sides stand at frame: the match goes on from there, or stays paused.
void finishMend(NetSession& s, bool paused)
{
    s.desyncOpen = false;
    s.compareFrom = s.frame;
    pushFrameEvent(s, NetEventType::Mended, s.frame);
    if (!paused) {
        ++s.epoch;
        beginEpoch(s, s.frame);
        pushFrameEvent(s, NetEventType::Resumed, s.frame);
    } else if (s.phase != NetPhase::Paused) {
        enterPause(s);
    }
}

} // namespace

void storeConfirmedChecksum(NetSession& s, int32_t frame, uint64_t checksum)
{
    s.confirmedChecksums[frame & HISTORY_MASK] = {frame, checksum};
}

void compareChecksum(NetSession& s, int32_t frame, uint64_t peerChecksum)
{
    const NetChecksumRecord& ours = s.confirmedChecksums[frame & HISTORY_MASK];
    if (frame < s.compareFrom || ours.frame != frame || ours.checksum == peerChecksum || s.desyncOpen)
        return;
    s.desyncOpen = true;
    ++s.desyncs;
    NetEvent e;
    e.type = NetEventType::DesyncFound;
    e.frame = frame;
    e.localChecksum = ours.checksum;
    e.peerChecksum = peerChecksum;
    pushEvent(s, e);
    if (s.settings.role == NetRole::Host) {
        s.mendWanted = true;
        sendStateIfStopped(s);
    }
}

void sendStateIfStopped(NetSession& s)
{
    const bool stopped = s.phase == NetPhase::Paused || s.phase == NetPhase::Mending;
    if (s.settings.role != NetRole::Host || !stopped || (!s.mendWanted && s.phase != NetPhase::Mending))
        return;
    if (s.phase == NetPhase::Mending && s.mendSentFrame == s.frame)
        return;
    s.mendWanted = false;
    s.mendSentFrame = s.frame;
    const size_t size = s.game.writeState(s.game.context, s.stateBytes.data(), s.stateBytes.size());
    if (size == 0 || size > s.stateBytes.size()) {
        endSession(s, NetEndReason::ProtocolError, "the match state could not be written to mend the desync");
        return;
    }
    StatePacket p;
    p.epoch = s.epoch;
    p.frame = s.frame;
    p.paused = s.phase == NetPhase::Paused || s.stopPauses;
    p.state = {s.stateBytes.data(), size};
    encodeState(p, s.controlPacket);
    sendControl(s);
}

void receiveState(NetSession& s, const StatePacket& p)
{
    const bool live = s.phase == NetPhase::Running || s.phase == NetPhase::Paused || s.phase == NetPhase::Mending;
    if (s.settings.role != NetRole::Joiner || !live || p.epoch != s.epoch)
        return;
    if (p.state.size > s.stateBytes.size()) {
        endSession(s, NetEndReason::ProtocolError, "the host's match state could not be taken");
        return;
    }
    // A state sent before the host's inputs of the frames ahead of it came
    // (a short round trip) waits for them: they are stepped and confirmed first.
    std::copy(p.state.bytes, p.state.bytes + p.state.size, s.stateBytes.begin());
    s.heldStateFrame = p.frame;
    s.heldStatePaused = p.paused;
    s.heldStateSize = p.state.size;
    takeHeldState(s);
}

void takeHeldState(NetSession& s)
{
    if (s.heldStateFrame < 0 || s.confirmed < s.heldStateFrame - 1)
        return;
    const int32_t frame = s.heldStateFrame;
    const bool paused = s.heldStatePaused;
    s.heldStateFrame = -1;
    if (!s.game.readState(s.game.context, s.stateBytes.data(), s.heldStateSize)) {
        endSession(s, NetEndReason::ProtocolError, "the host's match state could not be taken");
        return;
    }
    // The host's state replaces ours at its frame, whatever we had stepped.
    s.frame = s.steppedUpTo = frame;
    s.confirmed = frame - 1;
    s.firstWrong = NO_FRAME;
    s.stopFrame = frame;
    s.stopPauses = paused;
    s.stopMends = true;
    encodeMark(PacketType::MendDone, {s.epoch, frame}, s.controlPacket);
    sendControl(s);
    finishMend(s, paused);
}

void receiveMendDone(NetSession& s, const EpochFrame& mark)
{
    if (s.settings.role != NetRole::Host || mark.epoch != s.epoch || mark.frame != s.mendSentFrame ||
        mark.frame != s.frame)
        return;
    if (s.phase == NetPhase::Mending)
        finishMend(s, s.stopPauses);
    else if (s.phase == NetPhase::Paused)
        finishMend(s, true);
}

void resumeIfBothReady(NetSession& s)
{
    if (s.phase != NetPhase::Paused || !s.localReady || !s.peerReady || s.peerReadyEpoch != s.epoch)
        return;
    ++s.epoch;
    beginEpoch(s, s.frame);
    // A desync found while paused whose mend did not land goes again.
    if (s.desyncOpen && s.settings.role == NetRole::Host)
        s.mendWanted = true;
    pushFrameEvent(s, NetEventType::Resumed, s.frame);
}
