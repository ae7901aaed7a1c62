// One line of JSON per frame: time, shots in use and both players' state.
#pragma once
#include <cstdint>
#include <cstdio>
#include "sim/match_state.h"

void writeFrameReport(std::FILE* out, int64_t frame, int64_t timeMs, const MatchState& m);
