#include "sim/random.h"

// A 32-bit linear congruential generator whose upper bits give the 15-bit
// draws the game's formulas are written for.

// Seeds one second apart would otherwise start with nearly equal draws.
static uint32_t scrambled(uint32_t seed)
{
    seed ^= seed >> 16;
    seed *= 0x7feb352du;
    seed ^= seed >> 15;
    seed *= 0x846ca68bu;
    seed ^= seed >> 16;
    return seed;
}

void seedRandom(Random& r, uint32_t seed)
{
    r.state = scrambled(seed);
    randomDraw(r);
    randomDraw(r);
}

int randomDraw(Random& r)
{
    r.state = r.state * 1103515245u + 12345u;
    return static_cast<int>((r.state >> 16) & RANDOM_MAX);
}

double randomReal(Random& r, double a, double b) { return a + (b - a) * (randomDraw(r) / 32767.0); }

int randomBelow(Random& r, int n) { return static_cast<int>(randomDraw(r) / 32768.0 * n); }

int randomInt(Random& r, int lo, int hi) { return lo + randomBelow(r, hi - lo + 1); }

double pickInRange(Random& r, double lo, double hi) { return lo == hi ? lo : randomReal(r, lo, hi); }

int pickIntInRange(Random& r, int lo, int hi) { return lo == hi ? lo : static_cast<int>(randomReal(r, lo, hi)); }
