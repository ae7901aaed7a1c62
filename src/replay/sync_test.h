// The cheapest proof that a match can be rolled back: a recording played so
// that at every frame the match is saved, stepped some frames ahead, restored
// and stepped over the same frames again, both passes giving the same
// checksums and events frame by frame.
#pragma once
#include <cstdint>
#include "replay/replay_reader.h"
#include "sim/match_state.h"

constexpr int MAX_ROLLBACK_FRAMES = 12; // how far a match between two machines steps back at most

struct SyncTestOutcome {
    bool passed = true;
    int64_t frames = 0;       // frames of the recording played
    int64_t failedFrame = -1; // the first frame whose second pass differed
};

// m holds the match set up from the recording's header, with every ship's
// masks in c. depth 0 steps 1 to MAX_ROLLBACK_FRAMES frames ahead in turn;
// any other depth always that many.
SyncTestOutcome syncTest(const Replay& replay, MatchState& m, const MatchContent& c, int depth);
