// One frame of the match: the whole of what happens between two pictures.
#pragma once
#include "sim/match_state.h"
#include "sim/step_events.h"

// Steps the match by one frame of dtMs, the frame's tick being nowMs (the
// clock its animations run on), with both players' controls: orbits, both
// flight steps, shield bubbles, both weapon steps, shield regeneration,
// planet contact, ramming, the shot pass (which retires ended impacts), then
// ended explosions and the display timers. Returns what happened, for the
// presentation.
StepEvents stepMatch(MatchState& m, const MatchContent& c, const ControlState& controls, int dtMs, int32_t nowMs);
