#include "pilot/pilot_random.h"

// SplitMix64: small, fast, and good enough for aim jitter.
static uint64_t nextBits(PilotRandom& r)
{
    r.state += 0x9E3779B97F4A7C15ull;
    uint64_t z = r.state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

PilotRandom makePilotRandom(uint32_t matchSeed, int player)
{
    PilotRandom r;
    r.state = (uint64_t{matchSeed} << 8) ^ static_cast<uint64_t>(player + 1) * 0xD1B54A32D192ED03ull;
    nextBits(r);
    return r;
}

double pilotUniform(PilotRandom& r, double lo, double hi)
{
    constexpr double TWO_TO_MINUS_53 = 1.0 / 9007199254740992.0;
    const double unit = static_cast<double>(nextBits(r) >> 11) * TWO_TO_MINUS_53;
    return lo + (hi - lo) * unit;
}
