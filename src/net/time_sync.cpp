#include "net/time_sync.h"

#include <algorithm>
#include "net/net_limits.h"

namespace {
// Weight of a new estimate in the average: about 30 frames' memory.
constexpr double LEAD_SMOOTHING = 1.0 / 30.0;
}

void resetTimeSync(TimeSync& t, double frameMs)
{
    t = TimeSync{};
    t.frameMs = frameMs;
}

void notePeerFrame(TimeSync& t, int32_t peerFrame, double peerLeadFrames, int64_t nowMs)
{
    t.peerSeen = true;
    t.peerFrame = peerFrame;
    t.peerFrameAtMs = nowMs;
    t.peerLead = peerLeadFrames;
}

double updateLead(TimeSync& t, int32_t localFrame, int32_t roundTripMs, int64_t nowMs)
{
    if (!t.peerSeen)
        return 0.0;
    const double agedMs = static_cast<double>(nowMs - t.peerFrameAtMs) + roundTripMs / 2.0;
    const double lead = localFrame - (t.peerFrame + agedMs / t.frameMs);
    t.smoothedLead += (lead - t.smoothedLead) * LEAD_SMOOTHING;
    return lead;
}

double pacedFrameMs(const TimeSync& t)
{
    const double ahead = (t.smoothedLead - t.peerLead) / 2.0;
    if (!t.peerSeen || ahead <= NET_LEAD_DEADBAND_FRAMES)
        return t.frameMs;
    const double slowdown = std::min(NET_MAX_SLOWDOWN, (ahead - NET_LEAD_DEADBAND_FRAMES) * NET_SLOWDOWN_PER_FRAME);
    return t.frameMs * (1.0 + slowdown);
}
