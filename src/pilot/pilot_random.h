// The pilot's own chance: aim errors and reaction jitter. It never draws
// from the match's generator, so a computer player leaves the match's
// random sequence as it would be with a person at the keys.
#pragma once
#include <cstdint>

struct PilotRandom {
    uint64_t state = 0;
};

// Different for each player of the same match, and the same for the same seed.
PilotRandom makePilotRandom(uint32_t matchSeed, int player);
// Uniform in [lo, hi).
double pilotUniform(PilotRandom& r, double lo, double hi);
