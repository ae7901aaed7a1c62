#include "sim/random.h"

// A 32-bit linear congruential generator whose upper bits give the 15-bit
// draws the game's formulas are written for.
static uint32_t randomState = 1;

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

void seedRandom(uint32_t seed)
{
    randomState = scrambled(seed);
    randomDraw();
    randomDraw();
}

uint32_t randomPosition() { return randomState; }

int randomDraw()
{
    randomState = randomState * 1103515245u + 12345u;
    return static_cast<int>((randomState >> 16) & RANDOM_MAX);
}

double randomReal(double a, double b) { return a + (b - a) * (randomDraw() / 32767.0); }

int randomBelow(int n) { return static_cast<int>(randomDraw() / 32768.0 * n); }

int randomInt(int lo, int hi) { return lo + randomBelow(hi - lo + 1); }

double pickInRange(double lo, double hi) { return lo == hi ? lo : randomReal(lo, hi); }

int pickIntInRange(int lo, int hi) { return lo == hi ? lo : static_cast<int>(randomReal(lo, hi)); }
