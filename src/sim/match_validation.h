// Whether a match state that came from elsewhere (another machine's bytes)
// can be stepped and drawn with this content: every index and count it holds
// in range, every flag a flag, every number finite and every place within
// reach of the arena. A state made by this program's own steps always passes.
#pragma once
#include "sim/match_state.h"

// Farthest from the origin a position may lie, either axis: far beyond any
// ship flown back to the arena, and well inside what a pixel int can hold.
constexpr double MAX_COORDINATE_PX = 1.0e6;

// True when m may be used with c; otherwise false, with what is wrong in one
// phrase in why. Reads the flags' bytes as bytes, so any bit pattern may be
// checked safely.
bool validMatchState(const MatchState& m, const MatchContent& c, const char*& why);
