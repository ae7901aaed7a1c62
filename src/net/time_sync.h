// Keeping two sides at the same frame: each estimates how far it runs ahead
// of the other and the side ahead stretches its frames a little, so that
// neither stalls to let the other catch up.
#pragma once
#include <cstdint>

struct TimeSync {
    double frameMs = 16.0;     // the agreed frame time
    bool peerSeen = false;
    int32_t peerFrame = 0;     // the peer's frame as last reported
    int64_t peerFrameAtMs = 0; // when that report came
    double peerLead = 0.0;     // the peer's own estimate of its lead over us, frames
    double smoothedLead = 0.0; // ours over the peer, frames, averaged over a few dozen frames
};

void resetTimeSync(TimeSync& t, double frameMs);
void notePeerFrame(TimeSync& t, int32_t peerFrame, double peerLeadFrames, int64_t nowMs);
// Our lead over the peer now, in frames: our frame less the frame the peer
// has most likely reached (its last report, aged by half a round trip and
// the time since). Also folds it into smoothedLead.
double updateLead(TimeSync& t, int32_t localFrame, int32_t roundTripMs, int64_t nowMs);
// Milliseconds until the next frame: the frame time, stretched by up to
// NET_MAX_SLOWDOWN while we run ahead (half the difference of both sides'
// estimates, which cancels what both get wrong about the round trip).
double pacedFrameMs(const TimeSync& t);
