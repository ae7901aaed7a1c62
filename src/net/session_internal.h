// What the session's source files share; the game uses session.h only.
#pragma once
#include <string>
#include "net/packet_codec.h"
#include "net/session.h"

constexpr int32_t NO_FRAME = 0x7FFFFFFF;

// The record of frame f, emptied first when it held another frame or epoch.
NetFrameRecord& recordFor(NetSession& s, int32_t f);
// The record of frame f as it is; nullptr when it holds nothing for f.
const NetFrameRecord* recordOf(const NetSession& s, int32_t f);

void pushEvent(NetSession& s, const NetEvent& event);
void pushFrameEvent(NetSession& s, NetEventType type, int32_t frame);
void endSession(NetSession& s, NetEndReason reason, const std::string& text);
// Sends s.controlPacket on the reliable channel.
void sendControl(NetSession& s);

// Starts the frames of an epoch at frame: both sides' first inputDelay
// inputs are empty, nothing is predicted, nothing waits.
void beginEpoch(NetSession& s, int32_t frame);
void sendInputs(NetSession& s, int64_t nowMs);
void receiveInputs(NetSession& s, const InputPacket& p, int64_t nowMs);
// A stop at stopFrame is due: pause once the peer holds our inputs, or mend.
void settleStop(NetSession& s);

// Compares the peer's checksum of a confirmed frame with ours.
void compareChecksum(NetSession& s, int32_t frame, uint64_t peerChecksum);
void storeConfirmedChecksum(NetSession& s, int32_t frame, uint64_t checksum);
// Host: sends the state to mend a desync once it stands still.
void sendStateIfStopped(NetSession& s);
void receiveState(NetSession& s, const StatePacket& p);
// Joiner: takes the host's state held in stateBytes once every frame before it is confirmed.
void takeHeldState(NetSession& s);
void receiveMendDone(NetSession& s, const EpochFrame& mark);
void enterPause(NetSession& s);
void resumeIfBothReady(NetSession& s);
